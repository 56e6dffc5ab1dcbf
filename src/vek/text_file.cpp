// Translation text files: saving this owner's entries into a shared file and merging them back.
#include <algorithm>

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

// Whether the owner part of Line (the text before its first ".") is Owner: a test of its first
// bytes, which is all that most lines of a file shared by many forms need.
bool IsOwnersLine(std::string_view Line, std::string_view Owner) {
  return Owner.find('.') == std::string_view::npos && Line.starts_with(Owner) &&
         (Line.size() == Owner.size() || Line[Owner.size()] == '.');
}

// The locale of a line that IsTextFileLine accepted.
int LineLocale(std::string_view Line) {
  int locale = 0;
  vcl::TryStrToInt(TextFileLine::Split(Line).LocaleText, locale);
  return locale;
}

}  // namespace

bool IsTextFileLine(std::string_view Line) {
  if (!Line.starts_with("#0") || Line.find('\0') != std::string_view::npos) return false;
  const TextFileLine f = TextFileLine::Split(Line);
  int locale = 0;
  return f.Head.size() < Line.size() && f.Head.find('.') != std::string_view::npos && f.Head.find('%') != std::string_view::npos &&
         vcl::TryStrToInt(f.LocaleText, locale);
}

void CheckTextFileLines(const std::string& FileName, const std::vector<std::string_view>& Lines) {
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    if (Lines[i].empty() || IsTextFileLine(Lines[i])) continue;
    throw vcl::EReadError(FileName + ", line " + std::to_string(i + 1) +
                          ": not a line of a translation text file (#0<owner>.<key>%<locale>=<value>); the file is refused and left as it is");
  }
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
  std::vector<std::string_view> kept = vcl::SplitLines(bytes);
  CheckTextFileLines(AFileName, kept);  // a file of another kind is none of ours to rewrite
  RefuseRawCharacters(AFileName, "the owner name", OwnerName, OwnerName, RawLineBreaks, false);

  // Drop this owner's lines of this locale and its originals; keep the rest in place.
  std::size_t keptCount = 0;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (IsOwnersLine(kept[i], owner)) {
      const int lineLocale = LineLocale(kept[i]);
      if (lineLocale == Locale || lineLocale == -1) continue;
    }
    kept[keptCount++] = kept[i];
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
    for (std::string_view original : originals) {
      const std::string_view key = EntryKey(original);
      if (FindEntry(entries, key) >= 0) add("captured value", original, key, "-1");
    }
  }

  if (std::is_sorted(kept.begin(), kept.end())) {
    WriteListFile(AFileName, MergedText(kept, std::move(added)));
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
  CheckTextFileLines(AFileName, lines);  // before anything is merged: a file of another kind adds nothing
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!IsOwnersLine(lines[i], owner) || LineLocale(lines[i]) != Locale) continue;
    const TextFileLine f = TextFileLine::Split(lines[i]);
    const std::string key = f.Key(localeDigits);
    const int index = FindEntry(Translations, key);
    if (index >= 0) Translations.Delete(index);
    Translations.SortInsert(EntryLine(key, f.Value), nullptr);
  }
  return true;
}

}  // namespace Vek
