// Seeds: what a system shows in another language paired with a form's originals, key by key.
#include "exchange/Seed.hpp"

#include "test_support.hpp"

using namespace exchange;

namespace {

// A list of the given lines.
struct Lines : vcl::TStringList {
  Lines(std::initializer_list<const char*> L) {
    for (const char* l : L) Add(l);
  }
};

const TextUnit* UnitOf(const TSeed& S, const std::string& Key) {
  for (const TextUnit& u : S.Units)
    if (u.Key == Key) return &u;
  return nullptr;
}

}  // namespace

// Texts the system translates become fuzzy units saying where they came from; texts it shows as
// the original are counted, and so are those it does not show; sizes, positions, character sets
// and content are never seeded, and a font face only where the language's dialog has another.
TEST(Seed, TranslatedTextsAndTheFaceBecomeFuzzyUnits) {
  const Lines originals({
      "TFindDialog.Caption='Find'", "TFindDialog.Caption[1]='&Find Next'", "TFindDialog.Caption[2]='Cancel'",
      "TFindDialog.Caption[1038]='&Help'", "TFindDialog.Caption[1152]='1234'", "TFindDialog.Caption[1072]='Direction'",
      "TFindDialog.Font.Charset=1", "TFindDialog.Font.Name='MS Shell Dlg'", "TFindDialog.Width=420",
      "TFontDialog.Font.Name='MS Shell Dlg'", "TFontDialog.Caption='Font'"});
  const Lines shown({
      "TFindDialog.Caption='Suchen'", "TFindDialog.Caption[1]='&Weitersuchen'", "TFindDialog.Caption[2]='Abbrechen'",
      "TFindDialog.Caption[1038]='&Help'",   // left in English by the system
      "TFindDialog.Caption[1152]='5678'",    // digits: content, not for translation
      "TFindDialog.Caption[1040]='Nu&r ganzes Wort'",  // a control the original has not captured
      "TFindDialog.Font.Charset=1", "TFindDialog.Font.Name='Tahoma'", "TFindDialog.Width=480",
      "TFontDialog.Font.Name='MS Shell Dlg'", "TFontDialog.Caption='Schriftart'"});
  const TSeed seed = SeedUnits(originals, shown, nullptr, "de_DE");

  std::vector<std::string> keys;
  for (const TextUnit& u : seed.Units) keys.push_back(u.Key);
  EXPECT_EQ(keys, (std::vector<std::string>{"TFindDialog.Caption", "TFindDialog.Caption[1]", "TFindDialog.Caption[2]",
                                            "TFindDialog.Font.Name", "TFontDialog.Caption"}));
  const TextUnit* next = UnitOf(seed, "TFindDialog.Caption[1]");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->Source, "&Find Next");
  EXPECT_EQ(next->Target, "&Weitersuchen");
  EXPECT_TRUE(next->Fuzzy);
  EXPECT_EQ(next->Comment, "system translation, de_DE");
  EXPECT_EQ(seed.Untranslated, 1);     // &Help
  EXPECT_EQ(seed.NotShown, 1);         // Direction
  EXPECT_EQ(seed.WithoutOriginal, 1);  // control 1040
}

// Each list is read in the code page of its class's character set: a Russian system's capture in
// 1251, originals in 1252.
TEST(Seed, EachListIsReadInItsClassesCodePage) {
  const Lines originals({"TFindDialog.Caption[1041]='Match &Case'", "TFindDialog.Caption[2]='Caf\xE9'", "TFindDialog.Caption[3]='It''s'"});
  const Lines shown({"TFindDialog.Font.Charset=204", "TFindDialog.Caption[1041]='C &\xF3\xF7\xE5\xF2\xEE\xEC'",
                                        "TFindDialog.Caption[2]='\xCE\xF2\xEC\xE5\xED\xE0'", "TFindDialog.Caption[3]='l''\xF3'#39"});
  const TSeed seed = SeedUnits(originals, shown, nullptr, "ru_RU");
  ASSERT_EQ(seed.Units.size(), 3u);
  EXPECT_EQ(seed.Units[2].Source, "It's");
  EXPECT_EQ(seed.Units[2].Target, "l'\xD1\x83'");
  EXPECT_EQ(seed.Units[0].Source, "Match &Case");
  EXPECT_EQ(seed.Units[0].Target, "C &\xD1\x83\xD1\x87\xD0\xB5\xD1\x82\xD0\xBE\xD0\xBC");  // «C &учетом»
  EXPECT_EQ(seed.Units[1].Source, "Caf\xC3\xA9");
  EXPECT_EQ(seed.Units[1].Target, "\xD0\x9E\xD1\x82\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB0");  // «Отмена»
  for (const TextUnit& u : Accepted(seed.Units)) EXPECT_FALSE(u.Fuzzy);
}
