// The translator's texts as units of original and translation, those units merged back into its
// entries, and the language tags of locales.
#include "exchange/TextUnits.hpp"

#include <algorithm>
#include <map>
#include <set>

#include "exchange/CodePage.hpp"
#include "vcl/CodePages.hpp"

namespace exchange {

namespace {

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
    case Vek::EntryKind::PixelsPerInch: return "pixels per inch the sizes and positions of the dialog were captured at: an integer";
    case Vek::EntryKind::BiDiMode: return "reading order of the dialog: bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign or bdRightToLeftReadingOnly";
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
    throw vcl::EConvertError(std::string(What) + " \"" + vcl::Excerpt(Line) + "\": " + e.Message());
  }
  return value;
}

// The code page of each dialog class's texts in one list (Vek::TextCodePage), asked once a class.
class ClassPages {
public:
  explicit ClassPages(const vcl::TStrings& Lines) : FLines(Lines) {}
  int Of(std::string_view ClassName) {
    const auto it = FPages.find(ClassName);
    if (it != FPages.end()) return it->second;
    return FPages.emplace(std::string(ClassName), Vek::TextCodePage(FLines, ClassName)).first->second;
  }

private:
  const vcl::TStrings& FLines;
  std::map<std::string, int, std::less<>> FPages;
};

// The character set a class's translations are taken in (none: the class has none) and its code page.
struct ClassCharset {
  int Page = 0;
  std::optional<int> Charset;
};

}  // namespace

int TextUnit::LineAt(std::size_t Offset) const {
  int line = Line;
  for (const auto& [start, l] : TargetLines)
    if (start <= Offset) line = l;
  return line;
}

std::string LanguageTag(int Locale) {
  switch (Locale) {  // Windows' pseudo-locales
    case 0x0501: return "qps_ploc";
    case 0x05FE: return "qps_ploca";
    case 0x09FF: return "qps_plocm";
    default: break;
  }
  if (Locale <= 0 || Locale > 0xFFFF) return "";
  // The locales of the languages written with the dialogs' code pages that applications meet most.
  static const std::map<int, const char*> locales = {
      {0x0401, "ar_SA"}, {0x0402, "bg_BG"}, {0x0403, "ca_ES"}, {0x0404, "zh_TW"}, {0x0405, "cs_CZ"}, {0x0406, "da_DK"},
      {0x0407, "de_DE"}, {0x0408, "el_GR"}, {0x0409, "en_US"}, {0x040A, "es_ES"}, {0x040B, "fi_FI"}, {0x040C, "fr_FR"},
      {0x040D, "he_IL"}, {0x040E, "hu_HU"}, {0x040F, "is_IS"}, {0x0410, "it_IT"}, {0x0411, "ja_JP"}, {0x0412, "ko_KR"},
      {0x0413, "nl_NL"}, {0x0414, "nb_NO"}, {0x0415, "pl_PL"}, {0x0416, "pt_BR"}, {0x0418, "ro_RO"}, {0x0419, "ru_RU"},
      {0x041A, "hr_HR"}, {0x041B, "sk_SK"}, {0x041C, "sq_AL"}, {0x041D, "sv_SE"}, {0x041E, "th_TH"}, {0x041F, "tr_TR"},
      {0x0421, "id_ID"}, {0x0422, "uk_UA"}, {0x0423, "be_BY"}, {0x0424, "sl_SI"}, {0x0425, "et_EE"}, {0x0426, "lv_LV"},
      {0x0427, "lt_LT"}, {0x0429, "fa_IR"}, {0x042A, "vi_VN"}, {0x042D, "eu_ES"}, {0x042F, "mk_MK"}, {0x0436, "af_ZA"},
      {0x0438, "fo_FO"}, {0x0439, "hi_IN"}, {0x043E, "ms_MY"}, {0x0456, "gl_ES"}, {0x0804, "zh_CN"}, {0x0807, "de_CH"},
      {0x0809, "en_GB"}, {0x080A, "es_MX"}, {0x080C, "fr_BE"}, {0x0810, "it_CH"}, {0x0813, "nl_BE"}, {0x0814, "nn_NO"},
      {0x0816, "pt_PT"}, {0x081D, "sv_FI"}, {0x0C04, "zh_HK"}, {0x0C07, "de_AT"}, {0x0C09, "en_AU"}, {0x0C0A, "es_ES"},
      {0x0C0C, "fr_CA"}, {0x1004, "zh_SG"}, {0x1007, "de_LU"}, {0x1009, "en_CA"}, {0x100C, "fr_CH"}, {0x1409, "en_NZ"},
      {0x1809, "en_IE"}, {0x2C0A, "es_AR"}};
  if (const auto it = locales.find(Locale); it != locales.end()) return it->second;
  // Another country of a known language: the language alone.
  static const std::map<int, const char*> primary = {
      {0x01, "ar"}, {0x02, "bg"}, {0x03, "ca"}, {0x04, "zh"}, {0x05, "cs"}, {0x06, "da"}, {0x07, "de"}, {0x08, "el"},
      {0x09, "en"}, {0x0A, "es"}, {0x0B, "fi"}, {0x0C, "fr"}, {0x0D, "he"}, {0x0E, "hu"}, {0x0F, "is"}, {0x10, "it"},
      {0x11, "ja"}, {0x12, "ko"}, {0x13, "nl"}, {0x14, "no"}, {0x15, "pl"}, {0x16, "pt"}, {0x18, "ro"}, {0x19, "ru"},
      {0x1A, "hr"}, {0x1B, "sk"}, {0x1D, "sv"}, {0x1E, "th"}, {0x1F, "tr"}, {0x22, "uk"}, {0x24, "sl"}, {0x25, "et"},
      {0x26, "lv"}, {0x27, "lt"}};
  const auto it = primary.find(Locale & 0x3FF);
  return it == primary.end() ? "" : it->second;
}

std::optional<int> CharsetOfLanguage(std::string_view Tag) {
  // Its parts in lower case: the language, then script and region ("zh-hant-tw"), then a
  // modifier ("sr@latin"); an encoding ("ru_RU.UTF-8") says nothing of the language.
  std::string tag;
  for (const char c : Tag.substr(0, Tag.find('.'))) tag += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c == '_' ? '-' : c);
  const std::size_t at = tag.find('@');
  const std::string modifier = at == std::string::npos ? "" : tag.substr(at + 1);
  tag = tag.substr(0, at);
  const std::string language = tag.substr(0, tag.find('-'));
  std::string script, region;
  for (std::size_t start = language.size(); start < tag.size();) {
    const std::size_t end = std::min(tag.find('-', start + 1), tag.size());
    const std::string part = tag.substr(start + 1, end - start - 1);
    if (part.size() == 4 && script.empty()) script = part;
    else if ((part.size() == 2 || part.size() == 3) && region.empty()) region = part;
    start = end;
  }
  if (language == "zh") {  // Chinese by its script, else by its country; Simplified where neither says
    if (script == "hant") return 136;
    if (script == "hans") return 134;
    return region == "tw" || region == "hk" || region == "mo" ? 136 : 134;
  }
  if (language == "sr" && (script == "latn" || modifier == "latin")) return 238;  // Serbian in Latin letters
  static const std::map<std::string, int, std::less<>> charsets = {
      {"ru", 204}, {"uk", 204}, {"bg", 204}, {"sr", 204}, {"be", 204}, {"mk", 204},
      {"el", 161},
      {"pl", 238}, {"cs", 238}, {"sk", 238}, {"hu", 238}, {"hr", 238}, {"sl", 238}, {"ro", 238}, {"sq", 238},
      {"tr", 162}, {"az", 162},
      {"he", 177}, {"iw", 177},  // iw: Hebrew's former code, which older tools still write
      {"ar", 178}, {"fa", 178}, {"ur", 178},
      {"et", 186}, {"lv", 186}, {"lt", 186},
      {"vi", 163}, {"th", 222}, {"ja", 128}, {"ko", 129}};
  const auto it = charsets.find(language);
  if (it == charsets.end()) return std::nullopt;
  return it->second;
}

std::vector<TextUnit> ExportUnits(const vcl::TStrings& Entries, const vcl::TStrings& Originals, const vcl::TComponent* Form,
                                  int& WithoutOriginal, std::vector<std::string>* Warnings) {
  const auto originals = ByKey(Originals, false);
  const auto entries = ByKey(Entries, true);  // the last entry of a key is what a dialog shows
  WithoutOriginal = 0;
  for (const auto& [key, line] : entries)
    if (!originals.contains(key)) ++WithoutOriginal;
  ClassPages originalPages(Originals), entryPages(Entries);
  std::vector<TextUnit> units;
  for (const auto& [key, line] : originals) {
    const Vek::Entry e = Vek::Entry::Split(line);
    const auto entry = entries.find(key);
    // Sizes and fonts only once they are translated, and so is content (Vek::IsForTranslation).
    if (entry == entries.end() && (!Vek::IsTextKind(e.Kind) || !Vek::IsForTranslation(line, Form))) continue;
    TextUnit u;
    u.Key = vcl::AnsiToUtf8(key);
    u.Source = vcl::ToUtf8(originalPages.Of(e.ClassPart), LfBreaks(Decoded(line, "Captured value")));
    if (entry != entries.end()) {
      const int page = entryPages.Of(e.ClassPart);
      const std::string target = LfBreaks(Decoded(entry->second, "Entry"));
      u.Target = vcl::ToUtf8(page, target);
      // Bytes that are no character of the page come out as U+FFFD and could never come back.
      vcl::TUnconvertible problem;
      if (vcl::FromUtf8(page, u.Target, problem) != target) {
        if (Warnings)
          Warnings->push_back(vcl::Excerpt(key) + ": the translation holds bytes that are no characters of code page " +
                              vcl::IntToStr(page) + ": written untranslated");
        u.Target.clear();
      }
    }
    u.Note = NoteOf(e);
    units.push_back(std::move(u));
  }
  return units;
}

std::vector<TextUnit> ExportUnits(const Vek::TLumetra& Translator, int& WithoutOriginal) {
  return ExportUnits(*Translator.Translations(), *Translator.OrgProps(), Translator.Owner(), WithoutOriginal);
}

ImportResult ImportUnits(Vek::TSortList& Entries, const vcl::TStrings& Originals, const std::vector<TextUnit>& Units,
                         const std::string& FileName, const ImportCharset& Charset) {
  const auto originals = ByKey(Originals, false);
  ClassPages originalPages(Originals);
  ImportResult result;
  // The units to take, with their entries' keys and captured lines.
  struct Taken {
    const TextUnit* Unit;
    std::string Key;
    const std::string* Original;
    std::string OriginalText;
  };
  std::vector<Taken> taken;
  for (const TextUnit& u : Units) {
    const std::string at = FileName + ", line " + vcl::IntToStr(u.Line) + ": ";
    const std::string key = vcl::Excerpt(u.Key);
    // A unit marked for review and left out counts as fuzzy, whether it has a translation or not.
    if (u.Fuzzy && (!Charset.TakeFuzzy || u.Target.empty())) {
      ++result.Fuzzy;
      continue;
    }
    if (u.Target.empty()) {
      ++result.Untranslated;
      continue;
    }
    Unconvertible problem;
    const std::optional<std::string> ansiKey = AnsiFromUtf8(u.Key, problem);
    const auto original = ansiKey ? originals.find(*ansiKey) : originals.end();
    if (original == originals.end()) {
      result.Warnings.push_back(at + key + " is no captured property of the form; skipped");
      continue;
    }
    std::string originalText;
    try {
      originalText = Decoded(original->second, "Captured value");
    } catch (const vcl::EConvertError& e) {
      result.Warnings.push_back(at + e.Message() + "; skipped");
      continue;
    }
    const int originalPage = originalPages.Of(Vek::Entry::Split(original->second).ClassPart);
    if (vcl::ToUtf8(originalPage, LfBreaks(originalText)) != LfBreaks(u.Source)) {  // a tool may have written CR LF
      result.Warnings.push_back(at + "the captured original of " + key +
                                " is no longer the text translated here; skipped (export again to translate it)");
      continue;
    }
    taken.push_back({&u, *ansiKey, &original->second, std::move(originalText)});
  }

  // The code page of each class the file translates, and the Font.Charset entries it needs.
  const std::optional<int> wanted = Charset.Charset ? Charset.Charset : CharsetOfLanguage(Charset.Language);
  std::map<std::string, std::string, std::less<>> changes;       // key, new entry line
  std::set<std::string, std::less<>> fuzzyKeys;                  // the keys taken from units marked for review
  std::set<std::string, std::less<>> charsetKeys;                // the Font.Charset entries that wanted decides
  std::map<std::string, ClassCharset, std::less<>> classes;      // the classes translated
  std::map<std::string, std::string, std::less<>> charsetLines;  // class: the file's own Font.Charset translation
  for (const Taken& t : taken) {
    const Vek::Entry e = Vek::Entry::Split(*t.Original);
    if (e.Kind == Vek::EntryKind::Font && e.Font == Vek::FontField::Charset)
      charsetLines[std::string(e.ClassPart)] = Vek::EntryLine(t.Key, t.Unit->Target);
    classes.emplace(std::string(e.ClassPart), ClassCharset());
  }
  for (auto& [dialogClass, charset] : classes) {
    // The class's set as the file leaves it: its own translation of Font.Charset, else the entry.
    vcl::TStringList fileCharset;
    const auto line = charsetLines.find(dialogClass);
    if (line != charsetLines.end()) fileCharset.Add(line->second);
    const std::optional<int> current = Vek::CharsetOf(line != charsetLines.end() ? fileCharset : Entries, dialogClass);
    if (!wanted || (current && Vek::TextCodePage(current) == Vek::TextCodePage(wanted))) {
      charset = {Vek::TextCodePage(current), current};
      continue;
    }
    charset = {Vek::TextCodePage(wanted), wanted};
    const std::string key = dialogClass + ".Font.Charset";
    const std::string entry = Vek::EntryLine(key, vcl::IntToStr(*wanted));
    const int index = Vek::FindEntry(Entries, key);
    if (index < 0 || Entries.Strings(index) != entry) changes[key] = entry;
    charsetKeys.insert(key);
    const std::string page = "code page " + vcl::IntToStr(charset.Page);
    result.Charsets.push_back(
        FileName + ": " + vcl::Excerpt(key) + "=" + vcl::IntToStr(*wanted) +
        (current ? " replaces " + vcl::IntToStr(*current) + " (code page " + vcl::IntToStr(Vek::TextCodePage(current)) + ")" : " added") +
        (Charset.Charset ? ": character set " + vcl::IntToStr(*wanted) + " (" + page + ") was asked for"
                         : ": the file's language " + vcl::Excerpt(Charset.Language) + " is written in " + page));
  }

  for (const Taken& t : taken) {
    const TextUnit& u = *t.Unit;
    const std::string at = FileName + ", line " + vcl::IntToStr(u.Line) + ": ";
    const std::string key = vcl::Excerpt(u.Key);
    const Vek::Entry e = Vek::Entry::Split(*t.Original);
    const ClassCharset& charset = classes.at(std::string(e.ClassPart));
    Unconvertible problem;
    const std::optional<std::string> target = TextFromUtf8(charset.Page, u.Target, problem);
    if (!target) {
      const std::string lacking = " is not in code page " + vcl::IntToStr(charset.Page) +
                                  (charset.Charset ? " (character set " + vcl::IntToStr(*charset.Charset) + ")" : "");
      result.Faults.push_back(FileName + ", line " + vcl::IntToStr(u.LineAt(problem.Offset)) + ": translation of " + key +
                              ", character " + vcl::IntToStr(static_cast<int>(problem.Character)) + ": " + problem.Description +
                              (problem.Description.starts_with("byte") ? "" : lacking));
      continue;
    }
    std::string value = t.OriginalText.find("\r\n") != std::string::npos ? CrLfBreaks(*target) : *target;
    if (Vek::TakesInteger(e)) {
      const std::optional<int> number = Vek::ParseDecimal(value);
      if (!number) {
        result.Faults.push_back(at + key + " needs an integer, not '" + vcl::Excerpt(u.Target) + "'");
        continue;
      }
      // The check reports a size or a position a screen cannot hold as an error: none is taken.
      if (Vek::OnScreen(e.Kind, *number) != *number) {
        const std::string limit = vcl::IntToStr(Vek::ScreenLimit);
        result.Faults.push_back(at + key + " needs " +
                                (Vek::IsSizeKind(e.Kind) ? "a size from 0 to " + limit : "a position from -" + limit + " to " + limit) +
                                " (what a screen holds), not '" + vcl::Excerpt(u.Target) + "'");
        continue;
      }
    } else {
      Vek::ConvertToLiterals(value);  // texts and face names in literal form, so any character survives
    }
    if (value.size() > Vek::MaxValueLength) {  // what every reader of entries would cut
      result.Faults.push_back(FileName + ", line " + vcl::IntToStr(u.LineAt(0)) + ": translation of " + key + " makes an entry value of " +
                              vcl::IntToStr(static_cast<std::int64_t>(value.size())) + " characters, more than the " +
                              vcl::IntToStr(static_cast<std::int64_t>(Vek::MaxValueLength)) + " an entry holds");
      continue;
    }
    if (charsetKeys.contains(t.Key)) continue;  // the set asked for wins over the file's own
    // Marked even where the entry already holds the text: the file still asks for its review.
    if (u.Fuzzy) fuzzyKeys.insert(t.Key);
    const std::string line = Vek::EntryLine(t.Key, value);
    const int index = Vek::FindEntry(Entries, t.Key);
    if (index < 0 || Entries.Strings(index) != line) changes[t.Key] = line;
  }
  if (!result.Faults.empty()) {
    result.Charsets.clear();
    return result;
  }
  for (const auto& [key, line] : changes) {
    const int index = Vek::FindEntry(Entries, key);
    if (index >= 0) Entries.Delete(index);
    Entries.SortInsert(line, nullptr);
  }
  result.Changed = static_cast<int>(changes.size());
  result.FuzzyKeys.assign(fuzzyKeys.begin(), fuzzyKeys.end());
  return result;
}

ImportResult ImportUnits(Vek::TLumetra& Translator, const std::vector<TextUnit>& Units, const std::string& FileName,
                         const ImportCharset& Charset) {
  return ImportUnits(*Translator.Translations(), *Translator.OrgProps(), Units, FileName, Charset);
}

}  // namespace exchange
