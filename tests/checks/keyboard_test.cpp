// The letters of keyboard layouts: the compiled table, and the table held to the system's own
// layouts wherever the system loads them.
#include <gtest/gtest.h>

#include "checks/keyboard.hpp"

TEST(Keyboard, TheTableHoldsLowerCaseLettersInOrder) {
  const std::vector<int> languages = checks::KeyboardTableLanguages();
  EXPECT_TRUE(std::is_sorted(languages.begin(), languages.end()));
  for (const int lang : {0x0405, 0x0407, 0x0408, 0x0409, 0x040A, 0x040C, 0x0410, 0x0413, 0x0415, 0x0419, 0x041D, 0x041F, 0x0422})
    EXPECT_NE(std::find(languages.begin(), languages.end(), lang), languages.end()) << std::hex << lang;
  for (const int lang : languages) {
    const checks::Keyboard k = *checks::KeyboardTable(lang);
    SCOPED_TRACE(lang);
    EXPECT_FALSE(k.AnyLetter);
    EXPECT_TRUE(std::is_sorted(k.Letters.begin(), k.Letters.end()));
    EXPECT_EQ(std::adjacent_find(k.Letters.begin(), k.Letters.end()), k.Letters.end());
    for (const char16_t c : k.Letters) {
      EXPECT_TRUE(checks::IsLetter(c)) << static_cast<int>(c);
      EXPECT_EQ(checks::LowerLetter(c), c) << static_cast<int>(c);
    }
  }
}

TEST(Keyboard, ALayoutTypesItsLettersInEitherCase) {
  const checks::Keyboard german = checks::KeyboardLetters(0x0407);
  for (const char16_t c : std::u16string(u"aZ\u00e4\u00c4\u00df\u00fc"))
    EXPECT_TRUE(german.Types(c)) << static_cast<int>(c);
  for (const char16_t c : std::u16string(u"\u00e9\u00f8\u0430\u03b1"))
    EXPECT_FALSE(german.Types(c)) << static_cast<int>(c);
  const checks::Keyboard russian = checks::KeyboardLetters(0x0419);
  EXPECT_TRUE(russian.Types(u'\u0401')) << "capital io";
  EXPECT_TRUE(russian.Types(u'\u042f'));
  EXPECT_FALSE(russian.Types(u'a')) << "no Latin letters on the Russian layout";
  const checks::Keyboard czech = checks::KeyboardLetters(0x0405);
  EXPECT_TRUE(czech.Types(u'\u010c') && czech.Types(u'\u016e')) << "capital c and u of Latin Extended-A";
  EXPECT_TRUE(checks::KeyboardLetters(0x041F).Types(u'\u0130')) << "Turkish capital dotted I is typed as i";
}

TEST(Keyboard, AnUnknownLanguageTypesLatinAndNoLocaleAnyLetter) {
  EXPECT_FALSE(checks::KeyboardTable(0x0401));
  const checks::Keyboard arabic = checks::KeyboardLetters(0x0401);
#ifndef _WIN32
  EXPECT_EQ(arabic.Letters, u"abcdefghijklmnopqrstuvwxyz");
#endif
  EXPECT_TRUE(arabic.Types(u'q'));
  const checks::Keyboard unknown = checks::KeyboardLetters(0);
  EXPECT_TRUE(unknown.AnyLetter);
  EXPECT_TRUE(unknown.Types(u'\u044f') && unknown.Types(u'\u00df'));
}

TEST(Keyboard, LowerLetterFoldsLatinGreekAndCyrillic) {
  const std::pair<char16_t, char16_t> pairs[] = {{u'A', u'a'}, {0xC4, 0xE4}, {0xDE, 0xFE}, {0x178, 0xFF}, {0x10C, 0x10D}, {0x141, 0x142},
                                                 {0x17D, 0x17E}, {0x391, 0x3B1}, {0x386, 0x3AC}, {0x38F, 0x3CE}, {0x401, 0x451},
                                                 {0x410, 0x430}, {0x490, 0x491}};
  for (const auto& [upper, lower] : pairs) {
    EXPECT_EQ(checks::LowerLetter(upper), lower) << static_cast<int>(upper);
    EXPECT_EQ(checks::LowerLetter(lower), lower) << static_cast<int>(lower);
  }
  EXPECT_EQ(checks::LowerLetter(0xD7), 0xD7) << "the multiplication sign";
  EXPECT_FALSE(checks::IsLetter(0xD7) || checks::IsLetter(u'1') || checks::IsLetter(u' ') || checks::IsLetter(u'&'));
}

// Where the system loads the layout of a language of the table, the letters VkKeyScanExW types on
// it are the table's. Wine 8 loads none (it answers every language with the layout in use), so
// under Wine this compares the languages of that layout only; the simulation has no layouts.
TEST(Keyboard, TheTableAgreesWithTheSystemsLayouts) {
  int compared = 0;
  for (const int lang : checks::KeyboardTableLanguages()) {
    const std::optional<checks::Keyboard> system = checks::SystemKeyboard(lang);
    if (!system) continue;
    ++compared;
    std::string table, own;
    const checks::Keyboard tabled = *checks::KeyboardTable(lang);
    for (const char16_t c : tabled.Letters) table += " " + std::to_string(c);
    for (const char16_t c : system->Letters) own += " " + std::to_string(c);
    EXPECT_EQ(table, own) << "language " << std::hex << lang;
  }
#ifdef _WIN32
  EXPECT_GT(compared, 0) << "the layout in use is of a language of the table";
#else
  EXPECT_EQ(compared, 0);
#endif
}
