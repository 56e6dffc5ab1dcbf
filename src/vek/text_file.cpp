// Translation text files: saving this owner's entries into a shared file and merging them back.
#include <algorithm>

#include "Vek.hpp"
#include "design/ToolIntf.hpp"
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

// The line's locale as StrToInt reads it; a text that is not one names the file and the line.
int LineLocale(const TextFileLine& f, const std::string& fileName, int index) {
  int locale = 0;
  if (!vcl::TryStrToInt(f.LocaleText, locale))
    throw vcl::EConvertError(fileName + ", line " + vcl::IntToStr(index + 1) + ": '" + std::string(f.LocaleText) +
                             "' is not a valid integer value");
  return locale;
}

}  // namespace

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
  const std::string bytes = vcl::FileExists(AFileName) ? vcl::ReadFileBytes(AFileName) : std::string();
  std::vector<std::string_view> kept = vcl::SplitLines(bytes);

  // Drop this owner's lines of this locale and its originals; keep the rest in place.
  std::size_t keptCount = 0;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (IsOwnersLine(kept[i], owner)) {
      const int lineLocale = LineLocale(TextFileLine::Split(kept[i]), AFileName, static_cast<int>(i));
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
  std::vector<std::string> added;
  added.reserve(entries.size() * 2);
  for (std::string_view line : entries) added.push_back(TextFileLine::Format(OwnerName, EntryKey(line), locale, EntryValue(line)));
  if (!entries.empty()) {
    for (std::string_view original : originals) {
      const std::string_view key = EntryKey(original);
      if (FindEntry(entries, key) >= 0) added.push_back(TextFileLine::Format(OwnerName, key, "-1", EntryValue(original)));
    }
  }

  if (std::is_sorted(kept.begin(), kept.end())) {
    vcl::ReplaceFile(AFileName, MergedText(kept, std::move(added)));
  } else {
    // Lines out of order (not written by this unit): where SortInsert puts a line depends on
    // the order its binary search meets, so the list does it.
    TSortList list;
    for (std::string_view l : kept) list.Add(std::string(l));
    for (std::string& l : added) list.SortInsert(std::move(l), nullptr);
    list.SaveToFile(AFileName);
  }
}

bool LoadFrom(const std::string& AFileName, std::string_view OwnerName, int Locale, TSortList& Translations) {
  if (!vcl::FileExists(AFileName)) return false;
  const std::string owner = "#0" + std::string(OwnerName);
  const std::size_t localeDigits = vcl::IntToStr(Locale).size();

  const std::string bytes = vcl::ReadFileBytes(AFileName);
  const std::vector<std::string_view> lines = vcl::SplitLines(bytes);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!IsOwnersLine(lines[i], owner)) continue;
    const TextFileLine f = TextFileLine::Split(lines[i]);
    if (LineLocale(f, AFileName, static_cast<int>(i)) != Locale) continue;
    const std::string key = f.Key(localeDigits);
    const int index = FindEntry(Translations, key);
    if (index >= 0) Translations.Delete(index);
    Translations.SortInsert(EntryLine(key, f.Value), nullptr);
  }
  return true;
}

}  // namespace Vek
