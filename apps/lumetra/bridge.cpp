// `lumetra dict export|import --po|--xliff`: the translator's texts as PO or XLIFF units and back.
#include "bridge.hpp"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>

#include "code_page.hpp"
#include "commands.hpp"
#include "form_file.hpp"
#include "po_file.hpp"
#include "xliff_file.hpp"

namespace lumetra_cli {

namespace {

bool IsText(Vek::EntryKind K) { return K == Vek::EntryKind::WindowCaption || K == Vek::EntryKind::ChildCaption; }

bool NeedsInteger(const Vek::Entry& E) {
  return (E.Kind >= Vek::EntryKind::WindowWidth && E.Kind <= Vek::EntryKind::ChildHeight) ||
         (E.Kind == Vek::EntryKind::Font && E.Font == Vek::FontField::Charset);
}

// What a value that is no text stands for, for the translator who meets it in a tool.
std::string NoteOf(const Vek::Entry& E) {
  const std::string id = E.HasId ? " of control " + std::string(E.IdText) : "";
  switch (E.Kind) {
    case Vek::EntryKind::WindowCaption:
    case Vek::EntryKind::ChildCaption: return "";
    case Vek::EntryKind::WindowWidth: return "width of the dialog in pixels: an integer";
    case Vek::EntryKind::WindowHeight: return "height of the dialog in pixels: an integer";
    case Vek::EntryKind::ChildLeft: return "left edge" + id + " in pixels: an integer";
    case Vek::EntryKind::ChildTop: return "top edge" + id + " in pixels: an integer";
    case Vek::EntryKind::ChildWidth: return "width" + id + " in pixels: an integer";
    case Vek::EntryKind::ChildHeight: return "height" + id + " in pixels: an integer";
    case Vek::EntryKind::Font:
      return E.Font == Vek::FontField::Name      ? "font face name of the dialog's controls"
             : E.Font == Vek::FontField::Charset ? "character set of the dialog's font: an integer"
                                                 : "font property";
    case Vek::EntryKind::Ignored: break;
  }
  return "value of " + std::string(E.Property);
}

std::string LfBreaks(std::string Text) {
  std::string out;
  out.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size(); ++i)
    if (!(Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n')) out += Text[i];
  return out;
}

std::string CrLfBreaks(const std::string& Text) {
  std::string out;
  out.reserve(Text.size() + 8);
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '\n' && (i == 0 || Text[i - 1] != '\r')) out += '\r';
    out += Text[i];
  }
  return out;
}

// The lines by key: of captured values the first of a key counts (a capture keeps a key once),
// of entries the last (it is the one a dialog ends up showing).
std::map<std::string, std::string, std::less<>> ByKey(const vcl::TStrings& Lines, bool LastWins) {
  std::map<std::string, std::string, std::less<>> map;
  for (int i = 0; i < Lines.Count(); ++i) {
    const std::string& line = Lines.Strings(i);
    if (line.find('=') == std::string::npos) continue;
    const std::string key(Vek::EntryKey(line));
    if (LastWins) map[key] = line;
    else map.emplace(key, line);
  }
  return map;
}

std::string Decoded(const std::string& Line, const char* What) {
  std::string value(Vek::EntryValue(Line));
  try {
    Vek::ConvertFromLiterals(value);
  } catch (const vcl::EConvertError& e) {
    throw vcl::EConvertError(std::string(What) + " \"" + Line + "\": " + e.Message());
  }
  return value;
}

}  // namespace

int TextUnit::LineAt(std::size_t Offset) const {
  int line = Line;
  for (const auto& [start, l] : TargetLines)
    if (start <= Offset) line = l;
  return line;
}

std::string LanguageTag(int Locale) {
  switch (Locale) {  // Windows' pseudo-locales
    case 0x0501: return "qps-ploc";
    case 0x05FE: return "qps-ploca";
    case 0x09FF: return "qps-plocm";
    default: break;
  }
  static const std::map<int, const char*> primary = {
      {0x01, "ar"}, {0x02, "bg"}, {0x03, "ca"}, {0x04, "zh"}, {0x05, "cs"}, {0x06, "da"}, {0x07, "de"}, {0x08, "el"},
      {0x09, "en"}, {0x0A, "es"}, {0x0B, "fi"}, {0x0C, "fr"}, {0x0D, "he"}, {0x0E, "hu"}, {0x0F, "is"}, {0x10, "it"},
      {0x11, "ja"}, {0x12, "ko"}, {0x13, "nl"}, {0x14, "no"}, {0x15, "pl"}, {0x16, "pt"}, {0x18, "ro"}, {0x19, "ru"},
      {0x1A, "hr"}, {0x1B, "sk"}, {0x1D, "sv"}, {0x1E, "th"}, {0x1F, "tr"}, {0x22, "uk"}, {0x24, "sl"}, {0x25, "et"},
      {0x26, "lv"}, {0x27, "lt"}};
  if (Locale <= 0 || Locale > 0xFFFF) return "";
  const auto it = primary.find(Locale & 0x3FF);
  return it == primary.end() ? "" : it->second;
}

std::vector<TextUnit> ExportUnits(const Vek::TLumetra& Translator, int& WithoutOriginal) {
  const auto originals = ByKey(*Translator.OrgProps(), false);
  const auto entries = ByKey(*Translator.Translations(), true);  // the last entry of a key is what a dialog shows
  WithoutOriginal = 0;
  for (const auto& [key, line] : entries)
    if (!originals.contains(key)) ++WithoutOriginal;
  std::vector<TextUnit> units;
  for (const auto& [key, line] : originals) {
    const Vek::Entry e = Vek::Entry::Split(line);
    const auto entry = entries.find(key);
    if (!IsText(e.Kind) && entry == entries.end()) continue;  // sizes and fonts only once they are translated
    TextUnit u;
    u.Key = Utf8FromAnsi(key);
    u.Source = Utf8FromAnsi(LfBreaks(Decoded(line, "Captured value")));
    if (entry != entries.end()) u.Target = Utf8FromAnsi(LfBreaks(Decoded(entry->second, "Entry")));
    u.Note = NoteOf(e);
    units.push_back(std::move(u));
  }
  return units;
}

ImportResult ImportUnits(Vek::TLumetra& Translator, const std::vector<TextUnit>& Units, const std::string& FileName) {
  const auto originals = ByKey(*Translator.OrgProps(), false);
  ImportResult result;
  std::vector<std::pair<std::string, std::string>> changes;  // key, new entry line
  for (const TextUnit& u : Units) {
    const std::string at = FileName + ", line " + vcl::IntToStr(u.Line) + ": ";
    if (u.Fuzzy) {
      ++result.Fuzzy;
      continue;
    }
    if (u.Target.empty()) {
      ++result.Untranslated;
      continue;
    }
    Unconvertible problem;
    const std::optional<std::string> key = AnsiFromUtf8(u.Key, problem);
    const auto original = key ? originals.find(*key) : originals.end();
    if (original == originals.end()) {
      result.Warnings.push_back(at + u.Key + " is no captured property of the form; skipped");
      continue;
    }
    std::string originalText;
    try {
      originalText = Decoded(original->second, "Captured value");
    } catch (const vcl::EConvertError& e) {
      result.Warnings.push_back(at + e.Message() + "; skipped");
      continue;
    }
    if (Utf8FromAnsi(LfBreaks(originalText)) != LfBreaks(u.Source)) {  // a tool may have written CR LF
      result.Warnings.push_back(at + "the captured original of " + u.Key +
                                " is no longer the text translated here; skipped (export again to translate it)");
      continue;
    }
    const std::optional<std::string> target = AnsiFromUtf8(u.Target, problem);
    if (!target) {
      result.Faults.push_back(FileName + ", line " + vcl::IntToStr(u.LineAt(problem.Offset)) + ": translation of " + u.Key +
                              ", character " + vcl::IntToStr(static_cast<int>(problem.Character)) + ": " + problem.Description +
                              (problem.Description.starts_with("byte") ? "" : " is not in code page 1252"));
      continue;
    }
    std::string value = originalText.find("\r\n") != std::string::npos ? CrLfBreaks(*target) : *target;
    const Vek::Entry e = Vek::Entry::Split(original->second);
    if (NeedsInteger(e)) {
      if (!Vek::ParseDecimal(value)) {
        result.Faults.push_back(at + u.Key + " needs an integer, not '" + u.Target + "'");
        continue;
      }
    } else {
      Vek::ConvertToLiterals(value);  // texts and face names in literal form, so any character survives
    }
    const std::string line = Vek::EntryLine(*key, value);
    const int index = Vek::FindEntry(*Translator.Translations(), *key);
    if (index < 0 || Translator.Translations()->Strings(index) != line) changes.emplace_back(*key, line);
  }
  if (!result.Faults.empty()) return result;
  for (const auto& [key, line] : changes) {
    const int index = Vek::FindEntry(*Translator.Translations(), key);
    if (index >= 0) Translator.Translations()->Delete(index);
    Translator.Translations()->SortInsert(line, nullptr);
  }
  result.Changed = static_cast<int>(changes.size());
  return result;
}

// ---- The command ----------------------------------------------------------------------------

namespace {

const char* const BridgeHelp =
    "usage: lumetra dict export FORM --po FILE | --xliff FILE\n"
    "       lumetra dict import FORM --po FILE | --xliff FILE\n\n"
    "export  writes every captured text of the form's dialogs (and every other captured value that\n"
    "        has an entry) with its translation into a PO file or an XLIFF 1.2 file, replacing it.\n"
    "        Each message is keyed by the original text with the property key (dialog class and\n"
    "        property) as its context: msgctxt in PO, the trans-unit id in XLIFF.\n"
    "import  takes the translations of FILE into the entries and writes FORM back. Untranslated and\n"
    "        fuzzy messages (targets in a needs-review state) are left out; a message whose original\n"
    "        is no longer the captured text, or whose property was not captured, is skipped with a\n"
    "        warning. A translation that code page 1252 cannot hold stops the import before anything\n"
    "        changes, with file, line and character named.\n\n"
    "Entries hold code page 1252; PO and XLIFF files are UTF-8. FORM may have at most 64 MiB, FILE\n"
    "256 MiB. \"--\" ends the options.\n";

std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &now);
#else
  gmtime_r(&now, &utc);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M+0000", &utc);
  return text;
}

void PrintLine(const std::string& Text) {
  const std::string line = "lumetra dict: " + Escaped(Text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace

bool IsBridgeCall(const Args& args) {
  if (!args.empty() && args[0] == "import") return true;
  for (const std::string& a : args) {
    if (a == "--") break;
    if (a == "--po" || a == "--xliff") return true;
  }
  return false;
}

int RunDictBridge(const Args& args) {
  const std::string verb = args.empty() ? "" : args[0];
  std::vector<std::string> positional;
  std::string po, xliff;
  bool help = false, options = true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!options) positional.push_back(a);
    else if (a == "--") options = false;
    else if (a == "--help" || a == "-h") help = true;
    else if (a == "--po" || a == "--xliff") {
      if (i + 1 == args.size()) throw UsageError(a + " needs a file name");
      (a == "--po" ? po : xliff) = args[++i];
    } else if (a.size() > 1 && a[0] == '-') throw UsageError("unknown option '" + a + "'");
    else positional.push_back(a);
  }
  if (help) return std::fputs(BridgeHelp, stdout), 0;
  if ((verb != "export" && verb != "import") || positional.size() != 1 || po.empty() == xliff.empty())
    throw UsageError(std::string("wrong arguments: give FORM and one of --po FILE, --xliff FILE\n\n") + BridgeHelp);
  const std::string& formName = positional[0];
  const std::string& file = po.empty() ? xliff : po;
  if (!xliff.empty() && !XliffAvailable())
    throw vcl::Exception(file + ": XLIFF needs libxml2, which this build of lumetra was made without; use --po");

  if (verb == "export") {
    FormFile form(formName);
    const Vek::TLumetra* t = form.Translator();
    CheckInput(file, MaxListFileSize, true);
    int withoutOriginal = 0;
    const std::vector<TextUnit> units = ExportUnits(*t, withoutOriginal);
    const std::string language = LanguageTag(t->Locale());
    std::string bytes;
    if (!po.empty()) {
      bytes = WritePo({"Project-Id-Version: " + Utf8FromAnsi(t->OwnerName()), "PO-Revision-Date: " + Now(), "Last-Translator: ",
                       "Language-Team: ", "Language: " + (language.empty() ? std::string("und") : language), "MIME-Version: 1.0",
                       "Content-Type: text/plain; charset=UTF-8", "Content-Transfer-Encoding: 8bit", "X-Generator: lumetra",
                       "X-Lumetra-Locale: " + vcl::IntToStr(t->Locale())},
                      units);
    } else {
      bytes = WriteXliff(Utf8FromAnsi(t->OwnerName()), language, units);
    }
    CheckOutput(file, bytes.size(), MaxListFileSize);
    vcl::ReplaceFile(file, bytes);
    const auto translated = std::count_if(units.begin(), units.end(), [](const TextUnit& u) { return !u.Target.empty(); });
    std::printf("%s: %zu texts (%d translated) written to %s\n", Escaped(formName).c_str(), units.size(),
                static_cast<int>(translated), Escaped(file).c_str());
    if (units.empty()) PrintLine(formName + ": the form has no captured texts: run 'lumetra capture' first");
    if (withoutOriginal > 0)
      PrintLine(formName + ": " + vcl::IntToStr(withoutOriginal) +
                " entries have no captured original and are not in " + file + " (lumetra capture takes them)");
    return 0;
  }

  CheckInput(file, MaxListFileSize);
  Progress(file, "reading");
  const std::string bytes = vcl::ReadFileBytes(file);
  const std::vector<TextUnit> units = po.empty() ? ReadXliff(bytes, file) : ReadPo(bytes, file);
  FormFile form(formName, FormFile::ToRewrite);
  const ImportResult result = ImportUnits(*form.Translator(), units, file);
  for (const std::string& w : result.Warnings) PrintLine("warning: " + w);
  if (!result.Faults.empty()) {
    for (const std::string& f : result.Faults) PrintLine(f);
    throw vcl::EConvertError(file + ": " + vcl::IntToStr(static_cast<int>(result.Faults.size())) +
                             " translations cannot be taken; " + formName + " is unchanged");
  }
  if (result.Changed > 0) form.Save();
  std::printf("%s: %d entries changed from %s (%d untranslated, %d fuzzy, %zu skipped)\n", Escaped(formName).c_str(),
              result.Changed, Escaped(file).c_str(), result.Untranslated, result.Fuzzy, result.Warnings.size());
  return 0;
}

}  // namespace lumetra_cli
