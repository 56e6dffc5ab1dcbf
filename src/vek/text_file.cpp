// Translation text files: saving this owner's entries into a shared file and merging them back.
#include "Vek.hpp"
#include "design/ToolIntf.hpp"
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

// The parts of a text-file line, found by the position of the first separators.
struct FileLine {
  std::string_view Owner;       // before the first "."
  std::string_view Head;        // before the first "="
  std::string_view LocaleText;  // after the first "%" of the head (the whole head without one)
};

FileLine SplitFileLine(std::string_view line) {
  FileLine f;
  f.Owner = line.substr(0, line.find('.'));
  f.Head = line.substr(0, line.find('='));
  const std::size_t percent = f.Head.find('%');
  f.LocaleText = (percent == std::string_view::npos ? f.Head : f.Head.substr(percent + 1)).substr(0, 255);
  return f;
}

// The line's locale as StrToInt reads it; a text that is not one names the file and the line.
int LineLocale(const FileLine& f, const std::string& fileName, int index) {
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
  const std::string owner = "#0" + OwnerName();
  const std::string locale = vcl::IntToStr(FLocale);

  TSortList work;
  if (vcl::FileExists(AFileName)) work.LoadFromFile(AFileName);

  // Drop this owner's lines of this locale and its originals; keep the rest in place. One pass
  // into a new list rather than deleting line by line from the middle of a large file.
  TSortList kept;
  for (int i = 0; i < work.Count(); ++i) {
    const FileLine f = SplitFileLine(work.Strings(i));
    if (f.Owner == owner) {
      const int lineLocale = LineLocale(f, AFileName, i);
      if (lineLocale == FLocale || lineLocale == -1) continue;
    }
    kept.AddObject(work.Strings(i), work.Objects(i));
  }

  for (int i = 0; i < FTranslations->Count(); ++i) {
    const std::string& line = FTranslations->Strings(i);
    kept.SortInsert(owner + "." + std::string(EntryKey(line)) + "%" + locale + "=" + std::string(EntryValue(line)),
                    nullptr);
  }

  if (FTranslations->Count() > 0) {
    for (int i = 0; i < FOrgProps->Count(); ++i) {
      const std::string& original = FOrgProps->Strings(i);
      const std::string key(EntryKey(original));
      int index = -1;
      FTranslations->SortFind(key + "=", index);
      if (index == FTranslations->Count()) index = FTranslations->Count() - 1;
      if (IsEntryFor(FTranslations->Strings(index), key))
        kept.SortInsert(owner + "." + key + "%-1=" + std::string(EntryValue(original)), nullptr);
    }
  }

  kept.SaveToFile(AFileName);
}

bool TLumetra::LoadFrom(const std::string& AFileName) {
  if (!vcl::FileExists(AFileName)) return false;
  const std::string owner = "#0" + OwnerName();
  const std::size_t localeDigits = vcl::IntToStr(FLocale).size();

  TSortList work;
  work.LoadFromFile(AFileName);
  for (int i = 0; i < work.Count(); ++i) {
    const std::string& line = work.Strings(i);
    const FileLine f = SplitFileLine(line);
    if (f.Owner != owner) continue;
    if (LineLocale(f, AFileName, i) != FLocale) continue;

    // The key: the head after its first ".", without the "%" and as many characters as the
    // decimal form of Locale has.
    std::string key(f.Head.substr(f.Head.find('.') == std::string_view::npos ? 0 : f.Head.find('.') + 1));
    const std::size_t percent = key.find('%');
    if (percent != std::string::npos) key.erase(percent, 1 + localeDigits);

    int index = -1;
    FTranslations->SortFind(key + "=", index);
    if (index < FTranslations->Count() && IsEntryFor(FTranslations->Strings(index), key)) FTranslations->Delete(index);
    FTranslations->SortInsert(key + "=" + std::string(EntryValue(line)), nullptr);
  }
  return true;
}

}  // namespace Vek
