// Reading the entries that `lumetra check` judges, with their lines.
#include "check_source.hpp"

#include <algorithm>
#include <filesystem>
#include <map>

#include "Vek.hpp"
#include "design/Components.hpp"
#include "commands.hpp"

namespace lumetra_cli {

CheckSource::CheckSource(const std::string& FileName, std::optional<int> Locale) {
  // Read once: a form is told by its first bytes; anything else is a translation text file or
  // a list of entries (a text form in UTF-16 too, which no form reader reads).
  design::TReadFile file = ReadInput(FileName, MaxListFileSize, [&FileName] { Progress(FileName, "reading"); });
  if (file.Kind == design::TFormKind::fkBinary || file.Kind == design::TFormKind::fkText) ReadForm(std::move(file), Locale);
  else ReadLines(FileName, file.Bytes, Locale, nullptr);
}

void CheckSource::ReadForm(design::TReadFile File, std::optional<int> Locale) {
  const std::string formName = File.FileName;
  const bool text = File.Kind == design::TFormKind::fkText;
  const std::string bytes = text ? File.Bytes : std::string();
  FForm = std::make_unique<FormFile>(std::move(File));
  Vek::TLumetra* t = FForm->Translator();
  // The lines of the entries in a text form, as the form reader met them.
  const std::vector<int> lines =
      text ? vcl::TextFormListLines(bytes, design::ComponentPath(FForm->Root(), t), "Translations.Strings") : std::vector<int>();
  if (!t->FileName().empty()) {
    // The entries live in the translation text file, where the form finds it.
    std::string file = t->FileName();
    if (!std::filesystem::exists(file)) file = t->GetAppDir() + t->FileName();
    if (!std::filesystem::exists(file)) throw vcl::EFOpenError(formName + ": its translation text file " + t->FileName() + " is missing");
    const std::string owner = "#0" + t->OwnerName();
    ReadLines(file, ReadInput(file, MaxListFileSize).Bytes, Locale ? Locale : t->Locale(), &owner);
    for (EntrySet& s : FSets) {
      s.TranslateEmpty = t->TranslateEmpty();
      if (s.Originals.empty())
        for (int i = 0; i < t->OrgProps()->Count(); ++i) s.Originals.push_back(t->OrgProps()->Strings(i));
    }
    return;
  }
  if (Locale && *Locale != t->Locale())
    throw UsageError(formName + " keeps the entries of locale " + std::to_string(t->Locale()) +
                     " only; --locale chooses among the locales of a translation text file");
  EntrySet s;
  s.File = formName;
  s.Locale = t->Locale();
  s.TranslateEmpty = t->TranslateEmpty();
  const vcl::TStrings& list = *t->Translations();
  const bool numbered = lines.size() == static_cast<std::size_t>(list.Count());
  for (int i = 0; i < list.Count(); ++i)
    s.Entries.push_back({list.Strings(i), numbered ? lines[static_cast<std::size_t>(i)] : i + 1});
  for (int i = 0; i < t->OrgProps()->Count(); ++i) s.Originals.push_back(t->OrgProps()->Strings(i));
  FSets.push_back(std::move(s));
}

void CheckSource::ReadLines(const std::string& FileName, const std::string& Bytes, std::optional<int> Locale, const std::string* Owner) {
  // One set per form and locale of a translation text file; a list of entries is one set. A
  // file with any line of a text file is one, and is refused as SaveTo and LoadFrom refuse it
  // when another line is not: such a file may be anyone's, and none of its lines is printed.
  const std::vector<std::string_view> lines = vcl::SplitLines(Bytes);
  const bool textFile = Owner || std::any_of(lines.begin(), lines.end(), [](std::string_view l) { return l.starts_with("#0"); });
  if (!textFile) {
    EntrySet plain;
    plain.File = FileName;
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (!lines[i].empty()) plain.Entries.push_back({std::string(lines[i]), static_cast<int>(i) + 1});
    if (!plain.Entries.empty()) FSets.push_back(std::move(plain));
    return;
  }
  Vek::CheckTextFileLines(FileName, lines);
  std::map<std::pair<std::string, int>, EntrySet> sets;
  std::map<std::string, std::vector<std::string>> originals;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const Vek::TextFileLine t = Vek::TextFileLine::Split(lines[i]);
    if (Owner && t.Owner != *Owner) continue;
    int locale = 0;
    vcl::TryStrToInt(t.LocaleText, locale);
    const std::string key = t.Key(std::string(t.LocaleText).size());
    const std::string entry = Vek::EntryLine(key, t.Value);
    if (locale == -1) {
      originals[std::string(t.Owner)].push_back(entry);
      continue;
    }
    if (Locale && locale != *Locale) continue;
    EntrySet& s = sets[{std::string(t.Owner), locale}];
    s.File = FileName;
    s.Locale = locale;
    s.Entries.push_back({entry, static_cast<int>(i) + 1});
  }
  for (auto& [ownerAndLocale, s] : sets) {
    s.Originals = originals[ownerAndLocale.first];
    s.Owner = ownerAndLocale.first;
    FSets.push_back(std::move(s));
  }
}

}  // namespace lumetra_cli
