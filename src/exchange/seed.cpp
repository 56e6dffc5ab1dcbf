// A capture of a form's dialogs in the system's own translation, paired with the form's originals.
#include "exchange/Seed.hpp"

#include <map>

#include "vcl/CodePages.hpp"

namespace exchange {

TSeed SeedUnits(const vcl::TStrings& Originals, const vcl::TStrings& Shown, const vcl::TComponent* Form, const std::string& Language) {
  TSeed seed;
  // The translator-side pairing: the shown values stand as the entries of the originals.
  int withoutOriginal = 0;
  std::vector<TextUnit> units = ExportUnits(Shown, Originals, Form, withoutOriginal);
  std::map<std::string, std::string, std::less<>> originals;  // the first of a key, as a capture keeps it
  for (int i = 0; i < Originals.Count(); ++i) {
    const std::string& line = Originals.Strings(i);
    if (line.find('=') != std::string::npos) originals.emplace(Vek::EntryKey(line), line);
  }
  for (int i = 0; i < Shown.Count(); ++i) {
    const std::string& line = Shown.Strings(i);
    if (line.find('=') == std::string::npos || !Vek::IsTextKind(Vek::Entry::Split(line).Kind)) continue;
    if (!originals.contains(Vek::EntryKey(line)) && Vek::IsForTranslation(line, Form)) ++seed.WithoutOriginal;
  }
  for (TextUnit& u : units) {
    const auto original = originals.find(vcl::Utf8ToAnsi(u.Key));
    if (original == originals.end()) continue;
    const Vek::Entry e = Vek::Entry::Split(original->second);
    const bool text = Vek::IsTextKind(e.Kind), face = e.Kind == Vek::EntryKind::Font && e.Font == Vek::FontField::Name;
    // Sizes, positions and character sets are the checks' and fit's to judge; content is no text.
    if ((!text && !face) || (text && !Vek::IsForTranslation(original->second, Form))) continue;
    if (u.Target.empty()) {
      if (text && !u.Source.empty()) ++seed.NotShown;
      continue;
    }
    if (u.Target == u.Source) {
      if (text) ++seed.Untranslated;
      continue;
    }
    u.Fuzzy = true;
    u.Comment = "system translation, " + Language;
    seed.Units.push_back(std::move(u));
  }
  return seed;
}

std::vector<TextUnit> Accepted(std::vector<TextUnit> Units) {
  for (TextUnit& u : Units) u.Fuzzy = false;
  return Units;
}

}  // namespace exchange
