// `lumetra dict export|import --po|--xliff`: the translator's texts as PO or XLIFF units and back,
// through the table of exchange formats.
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "commands.hpp"
#include "exchange/Formats.hpp"
#include "form_file.hpp"
#include "options.hpp"

namespace lumetra_cli {

namespace {

const char* const BridgeHelp =
    "usage: lumetra dict export FORM --po FILE | --xliff FILE [--lang LL[_CC]]\n"
    "       lumetra dict import FORM --po FILE | --xliff FILE [--charset N]\n\n"
    "export  writes every captured text of the form's dialogs (and every other captured value that\n"
    "        has an entry) with its translation into a PO file or an XLIFF 1.2 file, replacing it.\n"
    "        Each message is keyed by the original text with the property key (dialog class and\n"
    "        property) as its context: msgctxt in PO, the trans-unit id in XLIFF. The contents of edit,\n"
    "        combo and list boxes and texts of digits only are not for translation: they are left out\n"
    "        unless they have an entry. The language is the translator's Locale (1031: de_DE) or\n"
    "        LL[_CC] of --lang. A translation that begins or ends in a line break where its original\n"
    "        does not (or the reverse) goes into a PO file untranslated, with a warning: msgfmt --check\n"
    "        refuses such a message.\n"
    "import  takes the translations of FILE into the entries and writes FORM back. Untranslated and\n"
    "        fuzzy messages (targets in a needs-review state) are left out; a message whose original\n"
    "        is no longer the captured text, or whose property was not captured, is skipped with a\n"
    "        warning. A dialog class whose character set is not the one the file's language (the PO\n"
    "        header's Language, XLIFF's target-language) is written in gets that set's Font.Charset\n"
    "        entry (Russian: 204, Japanese: 128, ...), added or replacing the one it has, and says so.\n"
    "        A translation that the code page cannot hold, one whose entry value would have more than\n"
    "        4095 characters, or a size or position beyond what a screen holds (-32767 to 32767) stops\n"
    "        the import before anything changes, with file, line and character or value named.\n"
    "        --charset N takes the translations in character set N (0 to 255) instead of the\n"
    "        language's, in the same way.\n\n"
    "Entries hold the texts of a dialog class in the code page of its Font.Charset entry (without\n"
    "one, the system's ANSI code page, 1252); PO and XLIFF files are UTF-8. FORM may have at most\n"
    "64 MiB, FILE 256 MiB. \"--\" ends the options.\n";

// The character set of --charset: 0 to 255, as the low 8 bits of a Font.Charset entry are one.
int CharsetOption(const std::string& Value) {
  int charset = -1;
  if (!vcl::TryStrToInt(Value, charset) || charset < 0 || charset > 255)
    throw UsageError("--charset '" + Value + "' is no character set from 0 to 255 (such as 204 or 128)");
  return charset;
}

// Kinds of the import's messages, counted apart when there are many.
const std::string Skipped = "warnings", CannotBeTaken = "translations that cannot be taken";

}  // namespace

bool IsBridgeCall(const Args& args) {
  if (!args.empty() && args[0] == "import") return true;
  for (const std::string& a : args) {
    if (a == "--") break;
    if (exchange::FormatOfOption(a)) return true;
  }
  return false;
}

int RunDictBridge(const Args& args) {
  const std::string verb = args.empty() ? "" : args[0];
  std::string lang;
  std::optional<int> charset;
  std::map<const exchange::TFormat*, std::string> files;  // the last file given to each format's option
  std::vector<Option> options;
  for (const exchange::TFormat& f : exchange::Formats())
    if (!f.Option.empty())
      options.push_back({std::string(f.Option), "", "a file name", [&files, &f](const std::string& V) { files[&f] = V; }});
  // --lang is for export alone, --charset for import.
  if (verb == "export")
    options.push_back({"--lang", "", "a language such as de_DE", [&lang](const std::string& V) { lang = LanguageOption(V); }});
  if (verb == "import")
    options.push_back({"--charset", "", "a character set such as 204", [&charset](const std::string& V) { charset = CharsetOption(V); }});
  const Parsed p = ParseOptions(AfterVerb(args), options);
  std::erase_if(files, [](const auto& F) { return F.second.empty(); });
  if (p.Help) return std::fputs(BridgeHelp, stdout), 0;
  const std::vector<std::string>& positional = p.Positional;
  if ((verb != "export" && verb != "import") || positional.size() != 1 || files.size() != 1)
    throw UsageError(std::string("wrong arguments: give FORM and one of --po FILE, --xliff FILE\n\n") + BridgeHelp);
  const exchange::TFormat* format = files.begin()->first;
  const std::string& file = files.begin()->second;
  const std::string& formName = positional[0];
  if (!format->Available())
    throw vcl::Exception(file + ": XLIFF needs libxml2, which this build of lumetra was made without; use --po");

  if (verb == "export") {
    FormFile form(formName);
    const Vek::TLumetra* t = form.Translator();
    const exchange::TExportResult result =
        format->Write(file, {*t->Translations(), *t->OrgProps(), t->Owner(), t->OwnerName(), t->Locale(), lang},
                      [](const std::string& Warning) { Messages().Print("warning: " + Warning, Skipped); });
    std::printf("%s: %zu texts (%d translated) written to %s\n", Escaped(formName).c_str(), result.Units,
                static_cast<int>(result.Translated), Escaped(file).c_str());
    if (result.Units == 0) Messages().Print(formName + ": the form has no captured texts: run 'lumetra capture' first");
    if (result.WithoutOriginal > 0)
      Messages().Print(formName + ": " + vcl::IntToStr(result.WithoutOriginal) +
                " entries have no captured original and are not in " + file + " (lumetra capture takes them)");
    return 0;
  }

  CheckInput(file, MaxListFileSize);
  Progress(file, "reading");
  const exchange::TImport import = format->Read(file);
  if (!import) throw vcl::EFOpenError(file + ": no such file");
  FormFile form(formName, FormFile::ToRewrite);
  const exchange::ImportResult result = import(*form.Translator()->Translations(), *form.Translator()->OrgProps(), charset);
  for (const std::string& w : result.Warnings) Messages().Print("warning: " + w, Skipped);
  Messages().Flush();
  if (!result.Faults.empty()) {
    for (const std::string& f : result.Faults) Messages().Print(f, CannotBeTaken);
    throw vcl::EConvertError(file + ": " + vcl::IntToStr(static_cast<int>(result.Faults.size())) +
                             " translations cannot be taken; " + formName + " is unchanged");
  }
  for (const std::string& c : result.Charsets) Messages().Print(c, "character sets");
  Messages().Flush();
  if (result.Changed > 0) form.Save();
  std::printf("%s: %d entries changed from %s (%d untranslated, %d fuzzy, %zu skipped)\n", Escaped(formName).c_str(),
              result.Changed, Escaped(file).c_str(), result.Untranslated, result.Fuzzy, result.Warnings.size());
  return 0;
}

}  // namespace lumetra_cli
