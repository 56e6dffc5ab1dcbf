// The table of exchange formats: each format's file written from the lists and read back into them.
#include "exchange/Formats.hpp"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>
#include <set>

#include "design/FormFile.hpp"
#include "exchange/PoFile.hpp"
#include "exchange/XliffFile.hpp"
#include "vcl/CodePages.hpp"

namespace exchange {

namespace {

bool Always() { return true; }

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

std::string LanguageOf(const TExportSource& Source) { return Source.Language.empty() ? LanguageTag(Source.Locale) : Source.Language; }

// The units of the source, counted, for a file of units; Bytes makes the file's content.
template <class F>
TExportResult WriteUnits(const std::string& FileName, const TExportSource& Source, const TWarning& Warn, F&& Bytes) {
  design::CheckInput(FileName, Vek::MaxListFileSize, true);
  TExportResult result;
  std::vector<std::string> warnings;
  std::vector<TextUnit> units = ExportUnits(Source.Entries, Source.Originals, Source.Form, result.WithoutOriginal, &warnings);
  if (Warn)
    for (const std::string& w : warnings) Warn(w);
  if (!Source.FuzzyKeys.empty()) {
    std::set<std::string, std::less<>> fuzzy;
    for (const std::string& key : Source.FuzzyKeys) fuzzy.insert(vcl::AnsiToUtf8(key));  // as the units name them
    for (TextUnit& u : units) u.Fuzzy = !u.Target.empty() && fuzzy.contains(u.Key);
  }
  const std::string bytes = Bytes(units);
  design::CheckOutput(FileName, bytes.size(), Vek::MaxListFileSize);
  vcl::ReplaceFile(FileName, bytes);
  result.Units = units.size();
  result.Translated = static_cast<std::size_t>(std::count_if(units.begin(), units.end(), [](const TextUnit& u) { return !u.Target.empty(); }));
  return result;
}

// The units of a file read whole by Read (which names the file's language too), merged when the
// import is called.
template <class F>
TImport ReadUnits(const std::string& FileName, F&& Read) {
  design::CheckInput(FileName, Vek::MaxListFileSize, true);
  std::optional<std::string> bytes = vcl::ReadFileIfExists(FileName);
  if (!bytes) return {};
  std::string language;
  std::vector<TextUnit> units = Read(*bytes, FileName, &language);
  return TImport([units = std::move(units), FileName, language](Vek::TSortList& Entries, const vcl::TStrings& Originals,
                                                                std::optional<int> Charset, bool TakeFuzzy) {
    return ImportUnits(Entries, Originals, units, FileName, {language, Charset, TakeFuzzy});
  });
}

TExportResult WriteDictionary(const std::string& FileName, const TExportSource& Source, const TWarning&) {
  design::CheckInput(FileName, Vek::MaxListFileSize, true);
  Vek::TranslateTo(FileName, Source.Entries, Source.Originals);
  return {};
}

TImport ReadDictionary(const std::string& FileName) {
  std::error_code ec;
  if (!std::filesystem::exists(FileName, ec) && !ec) return {};
  design::CheckInput(FileName, Vek::MaxListFileSize);
  // A dictionary pairs the bytes of entries as they are: a character set changes nothing of them.
  return TImport([FileName](Vek::TSortList& Entries, const vcl::TStrings& Originals, std::optional<int>, bool) {
    const std::vector<std::string> before = [&] {
      std::vector<std::string> lines;
      for (int i = 0; i < Entries.Count(); ++i) lines.push_back(Entries.Strings(i));
      return lines;
    }();
    ImportResult result;
    if (!Vek::TranslateFrom(FileName, Entries, Originals)) return result;
    // A dictionary translates entries in their places: the changed ones are those that differ.
    for (int i = 0; i < Entries.Count(); ++i)
      if (static_cast<std::size_t>(i) >= before.size() || Entries.Strings(i) != before[static_cast<std::size_t>(i)]) ++result.Changed;
    return result;
  });
}

// A PO catalogue of Units; a translation that msgfmt --check would refuse for its line breaks
// goes in untranslated, with a warning.
std::string PoCatalogue(const std::string& Project, const std::string& Language, int Locale, std::vector<TextUnit>& Units,
                        const TWarning& Warn) {
  for (TextUnit& u : Units)
    if (const std::string mismatch = u.Target.empty() ? "" : LineBreakMismatch(u.Source, u.Target); !mismatch.empty()) {
      if (Warn) Warn(vcl::Excerpt(u.Key) + ": " + mismatch + ", which msgfmt --check refuses: written untranslated");
      u.Target.clear();
      u.Fuzzy = false;  // an untranslated message is no translation to review
    }
  return WritePo(PoHeaderFields(Project, Language, Locale, Now()), Units);
}

TExportResult WritePoFile(const std::string& FileName, const TExportSource& Source, const TWarning& Warn) {
  return WriteUnits(FileName, Source, Warn,
                    [&](std::vector<TextUnit>& Units) { return PoCatalogue(Source.Project, LanguageOf(Source), Source.Locale, Units, Warn); });
}

TImport ReadPoFile(const std::string& FileName) {
  return ReadUnits(FileName, [](std::string_view Bytes, const std::string& Name, std::string* Language) {
    return ReadPo(Bytes, Name, Language);
  });
}

void CheckXliff(const std::string& FileName) {
  if (!XliffAvailable()) throw vcl::Exception(FileName + ": XLIFF needs libxml2, which this build was made without");
}

TExportResult WriteXliffFile(const std::string& FileName, const TExportSource& Source, const TWarning& Warn) {
  CheckXliff(FileName);
  return WriteUnits(FileName, Source, Warn, [&](const std::vector<TextUnit>& Units) {
    std::string language = LanguageOf(Source);  // XML names languages with "-"
    std::replace(language.begin(), language.end(), '_', '-');
    return WriteXliff(vcl::AnsiToUtf8(Source.Project), language, Units);
  });
}

TImport ReadXliffFile(const std::string& FileName) {
  CheckXliff(FileName);
  return ReadUnits(FileName, [](std::string_view Bytes, const std::string& Name, std::string* Language) {
    return ReadXliff(Bytes, Name, Language);
  });
}

const std::vector<TFormat>& Table() {
  static const std::vector<TFormat> table = {
      {"dictionary", "Dictionary", {"txt"}, "", Always, WriteDictionary, ReadDictionary},
      {"PO", "PO file", {"po"}, "--po", Always, WritePoFile, ReadPoFile},
      {"XLIFF", "XLIFF 1.2 file", {"xliff", "xlf"}, "--xliff", XliffAvailable, WriteXliffFile, ReadXliffFile},
  };
  return table;
}

}  // namespace

std::span<const TFormat> Formats() { return Table(); }

void WritePoUnits(const std::string& FileName, const std::string& Project, const std::string& Language, int Locale,
                  std::vector<TextUnit> Units, const TWarning& Warn) {
  design::CheckInput(FileName, Vek::MaxListFileSize, true);
  const std::string bytes = PoCatalogue(Project, Language, Locale, Units, Warn);
  design::CheckOutput(FileName, bytes.size(), Vek::MaxListFileSize);
  vcl::ReplaceFile(FileName, bytes);
}

const TFormat& Dictionary() { return Table().front(); }

const TFormat& FormatOfFile(std::string_view FileName) {
  const std::size_t dot = FileName.find_last_of("./\\");
  if (dot == std::string_view::npos || FileName[dot] != '.') return Dictionary();
  const std::string_view extension = FileName.substr(dot + 1);
  for (const TFormat& f : Table())
    for (const std::string_view e : f.Extensions)
      if (vcl::SameText(e, extension)) return f;
  return Dictionary();
}

const TFormat* FormatOfOption(std::string_view Option) {
  for (const TFormat& f : Table())
    if (!f.Option.empty() && f.Option == Option) return &f;
  return nullptr;
}

std::string FileFilter() {
  std::string filter;
  for (const TFormat& f : Table()) {
    if (!f.Available()) continue;
    std::string patterns;
    for (const std::string_view e : f.Extensions) patterns += (patterns.empty() ? "*." : ";*.") + std::string(e);
    filter += std::string(f.Description) + " (" + patterns + ")|" + patterns + "|";
  }
  return filter + "All files (*.*)|*.*";
}

}  // namespace exchange
