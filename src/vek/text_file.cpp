// Translation text files: saving this owner's entries into a shared file and merging them back.
#include <algorithm>
#include <cstring>
#include <optional>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Vek.hpp"
#include "design/ToolIntf.hpp"
#include "list_files.hpp"
#include "sorted_lines.hpp"
#include "vcl/Forms.hpp"

namespace Vek {

namespace {

// Shows the hourglass for the life of the object and puts the previous cursor back.
class HourGlass {
public:
  HourGlass() : FSaved(vcl::Screen->Cursor()) { vcl::Screen->SetCursor(vcl::crHourGlass); }
  ~HourGlass() { vcl::Screen->SetCursor(FSaved); }
  HourGlass(const HourGlass&) = delete;
  HourGlass& operator=(const HourGlass&) = delete;

private:
  vcl::TCursor FSaved;
};

// What saving and loading look at in a line of a translation text file, found in one pass:
// files shared by many forms have a million lines, each read at every save.
struct LineParts {
  std::size_t Dot;  // the first "." (the owner part, "#0" and the owner name, is before it)
  int Locale;
};

// The locale text of a line as StrToInt reads it; the plain decimal numbers that lines hold are
// read here, everything else by StrToInt.
bool ReadLocale(std::string_view Text, int& Locale) {
  const bool negative = !Text.empty() && Text[0] == '-';
  const std::string_view digits = Text.substr(negative ? 1 : 0);
  if (digits.empty() || digits.size() > 9) return vcl::TryStrToInt(Text, Locale);
  int value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return vcl::TryStrToInt(Text, Locale);
    value = value * 10 + (c - '0');
  }
  Locale = negative ? -value : value;
  return true;
}

// The parts of Line when it is a line of a translation text file: "#0", a "." and a "%" before
// the first "=", the text after that "%" (up to "=", at most 255 characters) an integer as
// StrToInt reads it, and no NUL anywhere (unless MayHoldNul is false: the caller looked).
std::optional<LineParts> TextFileLineOf(std::string_view Line, bool MayHoldNul = true) {
  if (Line.size() < 2 || Line[0] != '#' || Line[1] != '0') return std::nullopt;
  if (MayHoldNul && std::memchr(Line.data(), '\0', Line.size())) return std::nullopt;
  // The first "=", and the first "." and "%": sixteen bytes at a time where the processor can.
  constexpr std::size_t none = std::string_view::npos;
  std::size_t equals = none, dot = none, percent = none, i = 0;
#if defined(__SSE2__)
  const __m128i equalsSign = _mm_set1_epi8('='), dotSign = _mm_set1_epi8('.'), percentSign = _mm_set1_epi8('%');
  for (; i + 16 <= Line.size(); i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Line.data() + i));
    const auto at = [&](__m128i Sign) { return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, Sign))); };
    if (const unsigned d = at(dotSign); d && dot == none) dot = i + static_cast<std::size_t>(__builtin_ctz(d));
    if (const unsigned p = at(percentSign); p && percent == none) percent = i + static_cast<std::size_t>(__builtin_ctz(p));
    if (const unsigned e = at(equalsSign); e) {
      equals = i + static_cast<std::size_t>(__builtin_ctz(e));
      break;
    }
  }
#endif
  for (; equals == none && i < Line.size(); ++i) {
    const char c = Line[i];
    if (c == '.' && dot == none) dot = i;
    else if (c == '%' && percent == none) percent = i;
    else if (c == '=') equals = i;
  }
  if (equals == none || dot == none || dot > equals || percent == none || percent > equals) return std::nullopt;
  int locale = 0;
  if (!ReadLocale(Line.substr(percent + 1, std::min<std::size_t>(equals - percent - 1, 255)), locale)) return std::nullopt;
  return LineParts{dot, locale};
}

[[noreturn]] void RefuseForeignLine(const std::string& FileName, std::size_t Index) {
  throw vcl::EReadError(FileName + ", line " + std::to_string(Index + 1) +
                        ": not a line of a translation text file (#0<owner>.<key>%<locale>=<value>); the file is refused and left as it is");
}

// Whether a line whose owner part ends at Dot is of Owner ("#0" and the owner name).
bool IsOwners(std::string_view Line, std::size_t Dot, std::string_view Owner) {
  return Dot == Owner.size() && Line.compare(0, Dot, Owner) == 0;
}

}  // namespace

bool IsTextFileLine(std::string_view Line) { return TextFileLineOf(Line).has_value(); }

void CheckTextFileLines(const std::string& FileName, const std::vector<std::string_view>& Lines) {
  for (std::size_t i = 0; i < Lines.size(); ++i)
    if (!Lines[i].empty() && !IsTextFileLine(Lines[i])) RefuseForeignLine(FileName, i);
}

std::string TLumetra::OwnerName() const {
  if (!Owner()) throw vcl::Exception(Name() + ": a translator without an owner has no name in translation files");
  if (!Owner()->Name().empty()) return Owner()->Name();
  return Owner()->ClassName().substr(1, 255);
}

std::string TLumetra::GetAppDir() const {
  std::string file;
  if ((ComponentState() & vcl::csDesigning) && design::ToolServices) file = design::ToolServices->GetProjectName();
  else file = vcl::Application->ExeName();
  return vcl::ExtractFilePath(file);
}

void TLumetra::SaveTo(const std::string& AFileName) {
  Vek::SaveTo(AFileName, OwnerName(), FLocale, *FTranslations, *FOrgProps);
}

bool TLumetra::LoadFrom(const std::string& AFileName) {
  return Vek::LoadFrom(AFileName, OwnerName(), FLocale, *FTranslations);
}

void SaveTo(const std::string& AFileName, std::string_view OwnerName, int Locale, const vcl::TStrings& Translations,
            const vcl::TStrings& OrgProps) {
  const vcl::TFileLock lock(AFileName);  // over the whole read-merge-write: no writer loses an update
  HourGlass hourGlass;
  const std::string owner = "#0" + std::string(OwnerName);
  const std::string locale = vcl::IntToStr(Locale);

  // The file's lines as views of its bytes: a large file shared by many forms is read, filtered
  // and written again without a string per line.
  const std::string bytes = vcl::ReadFileIfExists(AFileName).value_or(std::string());
  RefuseRawCharacters(AFileName, "the owner name", OwnerName, OwnerName, RawLineBreaks, false);

  // Drop this owner's lines of this locale and its originals; keep the rest in place. A file of
  // another kind is none of ours to rewrite. One pass does both and sees whether the rest is in
  // order.
  std::vector<std::string_view> kept = vcl::SplitLines(bytes);
  const bool holdsNul = std::memchr(bytes.data(), '\0', bytes.size()) != nullptr;  // one look at the whole
  std::size_t keptCount = 0;
  bool sorted = true;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const std::string_view line = kept[i];
    if (!line.empty()) {
      const std::optional<LineParts> parts = TextFileLineOf(line, holdsNul);
      if (!parts) RefuseForeignLine(AFileName, i);
      if (IsOwners(line, parts->Dot, owner) && (parts->Locale == Locale || parts->Locale == -1)) continue;
    }
    if (keptCount > 0 && line < kept[keptCount - 1]) sorted = false;
    kept[keptCount++] = line;
  }
  kept.resize(keptCount);

  // Both lists taken in ordinal order: the editor's captured values are an unsorted list, and
  // its Save must write what the component writes once OK has sorted them in. A sorted list
  // (the component's own) gives its own order.
  const std::vector<std::string_view> entries = SortedUnique(Translations);
  const std::vector<std::string_view> originals = SortedUnique(OrgProps);

  // The entries, then the originals of the translated properties, in the order they go in.
  // A raw line break in one would make a line of its own, which nobody wrote as one.
  std::vector<std::string> added;
  added.reserve(entries.size() * 2);
  const auto add = [&](const char* What, std::string_view Line, std::string_view Key, std::string_view Tag) {
    const std::string_view value = EntryValue(Line);
    RefuseRawCharacters(AFileName, What, Key, Line.substr(0, Key.size() + 1 + value.size()), RawLineBreaks, true);
    added.push_back(TextFileLine::Format(OwnerName, Key, Tag, value));
  };
  for (std::string_view line : entries) add("entry", line, EntryKey(line), locale);
  if (!entries.empty()) {
    EntryFinder finder(entries);  // the originals come in order, so their search goes along the entries
    for (std::string_view original : originals) {
      const std::string_view key = EntryKey(original);
      if (finder.Find(key) >= 0) add("captured value", original, key, "-1");
    }
  }

  if (sorted) {
    WriteListFile(AFileName, MergedText(kept, std::vector<std::string_view>(added.begin(), added.end()), bytes));
  } else {
    // Lines out of order (not written by this unit): where SortInsert puts a line depends on
    // the order its binary search meets, so the list does it.
    TSortList list;
    for (std::string_view l : kept) list.Add(std::string(l));
    for (std::string& l : added) list.SortInsert(std::move(l), nullptr);
    WriteListFile(AFileName, list.Text());
  }
}

bool LoadFrom(const std::string& AFileName, std::string_view OwnerName, int Locale, TSortList& Translations) {
  const std::optional<std::string> bytes = vcl::ReadFileIfExists(AFileName);
  if (!bytes) return false;
  const std::string owner = "#0" + std::string(OwnerName);
  const std::size_t localeDigits = vcl::IntToStr(Locale).size();

  const std::vector<std::string_view> lines = vcl::SplitLines(*bytes);
  const bool holdsNul = std::memchr(bytes->data(), '\0', bytes->size()) != nullptr;
  // Every line is looked at before anything is merged: a file of another kind adds nothing.
  std::vector<std::size_t> mine;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const std::optional<LineParts> parts = TextFileLineOf(lines[i], holdsNul);
    if (!parts) RefuseForeignLine(AFileName, i);
    if (IsOwners(lines[i], parts->Dot, owner) && parts->Locale == Locale) mine.push_back(i);
  }
  for (const std::size_t i : mine) {
    const TextFileLine f = TextFileLine::Split(lines[i]);
    const std::string key = f.Key(localeDigits);
    const int index = FindEntry(Translations, key);
    if (index >= 0) Translations.Delete(index);
    Translations.SortInsert(EntryLine(key, f.Value), nullptr);
  }
  return true;
}

}  // namespace Vek
