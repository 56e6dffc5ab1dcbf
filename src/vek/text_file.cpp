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
  HourGlass hourGlass;
  const std::string ownerName = OwnerName();
  const std::string owner = "#0" + ownerName;
  const std::string locale = vcl::IntToStr(FLocale);

  TSortList work;
  if (vcl::FileExists(AFileName)) work.LoadFromFile(AFileName);

  // Drop this owner's lines of this locale and its originals; keep the rest in place. One pass
  // into a new list rather than deleting line by line from the middle of a large file.
  TSortList kept;
  for (int i = 0; i < work.Count(); ++i) {
    const TextFileLine f = TextFileLine::Split(work.Strings(i));
    if (f.Owner == owner) {
      const int lineLocale = LineLocale(f, AFileName, i);
      if (lineLocale == FLocale || lineLocale == -1) continue;
    }
    kept.AddObject(work.Strings(i), work.Objects(i));
  }

  for (int i = 0; i < FTranslations->Count(); ++i) {
    const std::string& line = FTranslations->Strings(i);
    kept.SortInsert(TextFileLine::Format(ownerName, EntryKey(line), locale, EntryValue(line)), nullptr);
  }

  if (FTranslations->Count() > 0) {
    for (int i = 0; i < FOrgProps->Count(); ++i) {
      const std::string& original = FOrgProps->Strings(i);
      const std::string_view key = EntryKey(original);
      if (FindEntry(*FTranslations, key) >= 0)
        kept.SortInsert(TextFileLine::Format(ownerName, key, "-1", EntryValue(original)), nullptr);
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
    const TextFileLine f = TextFileLine::Split(work.Strings(i));
    if (f.Owner != owner) continue;
    if (LineLocale(f, AFileName, i) != FLocale) continue;
    const std::string key = f.Key(localeDigits);
    const int index = FindEntry(*FTranslations, key);
    if (index >= 0) FTranslations->Delete(index);
    FTranslations->SortInsert(EntryLine(key, f.Value), nullptr);
  }
  return true;
}

}  // namespace Vek
