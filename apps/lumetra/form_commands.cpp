// The commands of the command line that work on form files: form, text, dict and capture.
#include <cstdio>
#include <set>

#include "commands.hpp"
#include "design/Components.hpp"
#include "exchange/Formats.hpp"
#include "form_file.hpp"
#include "options.hpp"
#include "vcl/Dialogs.hpp"

namespace lumetra_cli {

namespace {

void PrintList(const char* Title, const vcl::TStrings& List) {
  std::printf("\n%s (%d):\n", Title, List.Count());
  for (int i = 0; i < List.Count(); ++i) std::printf("  %s\n", Escaped(List.Strings(i)).c_str());
}

void PrintTree(const vcl::TComponent* Component, int Depth) {
  const auto* info = Component->StreamedInfo();
  const std::string className = info ? info->ClassName : Component->ClassName();
  std::printf("%*s%s: %s\n", 2 * Depth, "", Escaped(Component->Name()).c_str(), Escaped(className).c_str());
  for (int i = 0; i < Component->ComponentCount(); ++i) PrintTree(Component->Components(i), Depth + 1);
}

int FormShow(const Parsed& P) {
  FormFile form(P.Positional[0]);
  std::printf("%s (%s form)\n\nComponents:\n", Escaped(P.Positional[0]).c_str(), form.IsText() ? "text" : "binary");
  PrintTree(form.Root(), 1);
  const Vek::TLumetra* t = form.Translator();
  std::printf("\nTranslator %s:\n  FileName = '%s'\n  Locale = %d\n  Translate = %s\n  TranslateEmpty = %s\n",
              Escaped(t->Name()).c_str(), Escaped(t->FileName()).c_str(), t->Locale(), t->Translate() ? "True" : "False",
              t->TranslateEmpty() ? "True" : "False");
  PrintList("Entries", *t->Translations());
  PrintList("Captured values", *t->OrgProps());
  return 0;
}

int FormConvert(const Parsed& P, bool Resource) {
  const std::string& in = P.Positional[0];
  const std::string& out = P.Positional[1];
  const design::TReadFile file = ReadInput(in, MaxFormFileSize, [&in] { Progress(in, "converting"); });
  bool wasText = false;
  std::string result;
  try {
    wasText = IsTextForm(file.Kind);
    result = wasText ? FormFromText(file.Bytes, Resource) : FormText(file.Bytes);
  } catch (const vcl::Exception& e) {
    throw vcl::Exception(in + ": " + e.Message());
  }
  CheckOutput(out, result.size(), MaxFormFileSize);
  vcl::ReplaceFile(out, result);
  std::printf("%s: %s form written to %s\n", Escaped(in).c_str(), wasText ? "binary" : "text", Escaped(out).c_str());
  return 0;
}

const char* const FormHelp =
    "usage: lumetra form show FORM\n"
    "       lumetra form convert IN OUT [--resource]\n\n"
    "show     prints the form's components, its translator's properties, entries and captured values\n"
    "convert  writes the text form of a binary form, or the binary form of a text form (with a\n"
    "         resource header, as a .dfm file holds it, when --resource is given)\n\n"
    "FORM is a binary or a text form file; which one is told by its content. A form file may have\n"
    "at most 64 MiB; what is no regular file is refused. \"--\" ends the options.\n";

const char* const TextHelp =
    "usage: lumetra text save FORM FILE [--locale N]\n"
    "       lumetra text load FORM FILE [--locale N]\n\n"
    "save  writes the translator's entries into the translation text FILE, replacing the lines\n"
    "      of this form and locale and keeping every other line\n"
    "load  merges the lines of this form and locale from FILE into the entries and writes FORM back\n\n"
    "--locale N  uses locale N instead of the translator's Locale (-1: the original values)\n\n"
    "FORM may have at most 64 MiB, FILE 256 MiB; what is no regular file is refused. \"--\" ends\n"
    "the options.\n";

const char* const DictHelp =
    "usage: lumetra dict export FORM DICT\n"
    "       lumetra dict translate FORM DICT\n"
    "       lumetra dict export|import FORM --po FILE | --xliff FILE   (see 'lumetra dict import --help')\n\n"
    "export     adds the pairs of original and translated text of the translator's entries to\n"
    "           the dictionary DICT (created when missing), sorted and without repeated lines\n"
    "translate  translates every entry whose original text DICT holds, and writes FORM back\n\n"
    "FORM may have at most 64 MiB, DICT 256 MiB; what is no regular file is refused. \"--\" ends\n"
    "the options.\n";

const char* const CaptureHelp =
    "usage: lumetra capture FORM [--add]\n\n"
    "Shows one dialog of each dialog class on the form for an instant (in the simulated window\n"
    "system on Linux, the real ones on Windows), keeps what it holds as the translator's captured\n"
    "values, replacing those of that class, and writes FORM back. A dialog that shows a message\n"
    "instead of itself (a print dialog where no printer is installed) is reported, its message\n"
    "closed and its class's values kept; the others are captured, and the exit status is 1.\n"
    "FORM may have at most 64 MiB.\n\n"
    "--add  puts a translator (Lumetra1) on a form that holds none, then captures\n";

}  // namespace

int RunForm(const Args& args) {
  const std::string verb = args.empty() ? "" : args[0];
  if (verb == "--help" || verb == "-h") return std::fputs(FormHelp, stdout), 0;
  if (verb != "show" && verb != "convert") throw UsageError(std::string("form needs show or convert\n\n") + FormHelp);
  if (verb == "show") {
    const Parsed p = ParseOptions(AfterVerb(args), {});
    return HelpOrCheck(p, 1, FormHelp) ? 0 : FormShow(p);
  }
  bool resource = false;
  const Parsed p = ParseOptions(AfterVerb(args), {Flag("--resource", resource)});
  return HelpOrCheck(p, 2, FormHelp) ? 0 : FormConvert(p, resource);
}

int RunText(const Args& args) {
  const std::string verb = args.empty() ? "" : args[0];
  if (verb == "--help" || verb == "-h") return std::fputs(TextHelp, stdout), 0;
  if (verb != "save" && verb != "load") throw UsageError(std::string("text needs save or load\n\n") + TextHelp);
  std::optional<int> forLocale;
  const Parsed p = ParseOptions(AfterVerb(args), {LocaleOption(forLocale)});
  if (HelpOrCheck(p, 2, TextHelp)) return 0;
  FormFile form(p.Positional[0], verb == "load");
  Vek::TLumetra* t = form.Translator();
  const int formLocale = t->Locale();  // --locale is for this operation; the form keeps its own
  if (forLocale) t->SetLocale(*forLocale);
  const std::string& file = p.Positional[1];
  CheckInput(file, MaxListFileSize, verb == "save");
  Progress(file, verb == "save" ? "rewriting" : "reading");
  if (verb == "save") {
    t->SaveTo(file);
    std::printf("%s: %d entries of %s, locale %d, saved to %s\n", Escaped(p.Positional[0]).c_str(), t->Translations()->Count(),
                Escaped(t->OwnerName()).c_str(), t->Locale(), Escaped(file).c_str());
    return 0;
  }
  const int before = t->Translations()->Count();
  if (!t->LoadFrom(file)) throw vcl::EFOpenError(file + ": no such file");
  const int locale = t->Locale();
  t->SetLocale(formLocale);
  form.Save();
  std::printf("%s: entries %d -> %d from %s (locale %d)\n", Escaped(p.Positional[0]).c_str(), before, t->Translations()->Count(),
              Escaped(file).c_str(), locale);
  return 0;
}

int RunDict(const Args& args) {
  if (IsBridgeCall(args)) return RunDictBridge(args);
  const std::string verb = args.empty() ? "" : args[0];
  if (verb == "--help" || verb == "-h") return std::fputs(DictHelp, stdout), 0;
  if (verb != "export" && verb != "translate") throw UsageError(std::string("dict needs export or translate\n\n") + DictHelp);
  const Parsed p = ParseOptions(AfterVerb(args), {});
  if (HelpOrCheck(p, 2, DictHelp)) return 0;
  FormFile form(p.Positional[0], verb == "translate");
  Vek::TLumetra* t = form.Translator();
  const std::string& dict = p.Positional[1];
  CheckInput(dict, MaxListFileSize, verb == "export");
  Progress(dict, verb == "export" ? "rewriting" : "reading");
  const exchange::TFormat& dictionary = exchange::Dictionary();
  if (verb == "export") {
    dictionary.Write(dict, {*t->Translations(), *t->OrgProps(), t->Owner(), t->OwnerName(), t->Locale(), ""}, nullptr);
    return 0;
  }
  const exchange::TImport import = dictionary.Read(dict);
  if (!import) throw vcl::EFOpenError(dict + ": no such file");
  import(*t->Translations(), *t->OrgProps());
  form.Save();
  std::printf("%s: entries translated from %s\n", Escaped(p.Positional[0]).c_str(), Escaped(dict).c_str());
  return 0;
}

CaptureResult CaptureEachDialog(vcl::TComponent* Root, Vek::TLumetra& Translator,
                                const std::function<void(vcl::TCommonDialog&, const vcl::TStringList&)>& Captured) {
  // One dialog of each class, wherever on the form it is.
  std::vector<vcl::TCommonDialog*> dialogs;
  std::set<vcl::TClass> seen;
  for (vcl::TCommonDialog* d : design::ComponentsOf<vcl::TCommonDialog>(Root))
    if (seen.insert(d->ClassType()).second) dialogs.push_back(d);
  CaptureResult result;
  result.Dialogs = static_cast<int>(dialogs.size());
  for (vcl::TCommonDialog* dialog : dialogs) {
    vcl::TStringList captured;
    try {
      // The dialog is shown without changing the current folder; the form keeps its options.
      auto* file = dynamic_cast<vcl::TOpenDialog*>(dialog);
      const vcl::TOpenOptions options = file ? file->Options() : 0;
      struct Restore {
        vcl::TOpenDialog* File;
        vcl::TOpenOptions Options;
        ~Restore() {
          if (File) File->SetOptions(Options);
        }
      } restore{file, options};
      if (file) file->SetOptions(options | vcl::ofNoChangeDir);
      Translator.GetDlgProps(dialog, &captured);
    } catch (const Vek::ECaptureError& e) {
      // The others are captured all the same.
      std::printf("%s\n", Escaped(e.Message()).c_str());
      result.Missed.push_back(dialog->ClassName());
      continue;
    }
    Captured(*dialog, captured);
  }
  return result;
}

std::string Listed(const std::vector<std::string>& Names) {
  std::string list;
  for (const std::string& n : Names) list += (list.empty() ? "" : ", ") + n;
  return list;
}

int RunCapture(const Args& args) {
  bool add = false;
  const Parsed p = ParseOptions(args, {Flag("--add", add)});
  if (HelpOrCheck(p, 1, CaptureHelp)) return 0;
  FormFile form(p.Positional[0], FormFile::ToRewrite);
  Vek::TLumetra* t = add ? form.AddTranslator() : form.Translator();
  // A class's values are replaced by its capture; one that is not captured keeps those it had.
  const CaptureResult result = CaptureEachDialog(form.Root(), *t, [t](vcl::TCommonDialog& Dialog, const vcl::TStringList& Captured) {
    const std::string& name = Dialog.ClassName();
    for (int i = t->OrgProps()->Count() - 1; i >= 0; --i)
      if (Vek::Entry::Split(t->OrgProps()->Strings(i)).AppliesTo(name)) t->OrgProps()->Delete(i);
    std::printf("%s: %d values\n", Escaped(name).c_str(), Vek::MergeCapture(*t->OrgProps(), Captured));
  });
  if (result.Dialogs == 0) std::printf("%s: the form holds no dialog to capture\n", Escaped(p.Positional[0]).c_str());
  form.Save();
  if (!result.Missed.empty())
    throw vcl::Exception(p.Positional[0] + ": written with the values captured; not captured: " + Listed(result.Missed));
  return 0;
}

}  // namespace lumetra_cli
