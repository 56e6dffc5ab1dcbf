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
  const vcl::TFileLock lock(AFileName);  // over the whole read-merge-write: no writer loses an update
  HourGlass hourGlass;
  const std::string ownerName = OwnerName();
  const std::string owner = "#0" + ownerName;
  const std::string locale = vcl::IntToStr(FLocale);

  // The file's lines as views of its bytes: a large file shared by many forms is read, filtered
  // and written again without a string per line.
  const std::string bytes = vcl::FileExists(AFileName) ? vcl::ReadFileBytes(AFileName) : std::string();
  std::vector<std::string_view> kept = vcl::SplitLines(bytes);

  // Drop this owner's lines of this locale and its originals; keep the rest in place.
  std::size_t keptCount = 0;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (IsOwnersLine(kept[i], owner)) {
      const int lineLocale = LineLocale(TextFileLine::Split(kept[i]), AFileName, static_cast<int>(i));
      if (lineLocale == FLocale || lineLocale == -1) continue;
    }
    kept[keptCount++] = kept[i];
  }
  kept.resize(keptCount);

  // The entries, then the originals of the translated properties, in the order they go in.
  std::vector<std::string> added;
  added.reserve(static_cast<std::size_t>(FTranslations->Count()) * 2);
  for (int i = 0; i < FTranslations->Count(); ++i) {
    const std::string& line = FTranslations->Strings(i);
    added.push_back(TextFileLine::Format(ownerName, EntryKey(line), locale, EntryValue(line)));
  }
  if (FTranslations->Count() > 0) {
    for (int i = 0; i < FOrgProps->Count(); ++i) {
      const std::string& original = FOrgProps->Strings(i);
      const std::string_view key = EntryKey(original);
      if (FindEntry(*FTranslations, key) >= 0) added.push_back(TextFileLine::Format(ownerName, key, "-1", EntryValue(original)));
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

bool TLumetra::LoadFrom(const std::string& AFileName) {
  if (!vcl::FileExists(AFileName)) return false;
  const std::string owner = "#0" + OwnerName();
  const std::size_t localeDigits = vcl::IntToStr(FLocale).size();

  const std::string bytes = vcl::ReadFileBytes(AFileName);
  const std::vector<std::string_view> lines = vcl::SplitLines(bytes);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!IsOwnersLine(lines[i], owner)) continue;
    const TextFileLine f = TextFileLine::Split(lines[i]);
    if (LineLocale(f, AFileName, static_cast<int>(i)) != FLocale) continue;
    const std::string key = f.Key(localeDigits);
    const int index = FindEntry(*FTranslations, key);
    if (index >= 0) FTranslations->Delete(index);
    FTranslations->SortInsert(EntryLine(key, f.Value), nullptr);
  }
  return true;
}

}  // namespace Vek
