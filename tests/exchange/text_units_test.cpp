// The units of text of a translator's lists: which texts go out, and how translations come back
// into the entries in the code page of each class; the language tags of locales and the
// character sets of languages.
#include "exchange/TextUnits.hpp"

#include <map>
#include <optional>

#include "test_support.hpp"

using namespace exchange;

namespace {

using V = std::vector<std::string>;

// The lists of a translator of locale 1036 (French) that captured the open dialog but never the
// print dialog: its entries as they come from a form, and its captured values.
class TextUnits : public ::testing::Test {
protected:
  TextUnits() {
    for (const char* l : {"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Width=600", "TPrintDialog.Caption='Imprimer'"}) FEntries.Add(l);
    for (const char* l : {"TOpenDialog.Caption='Open'", "TOpenDialog.Caption[1]='Caf\xE9'", "TOpenDialog.Caption[2]='Line one\r\nLine two'",
                          "TOpenDialog.Font.Name='MS Shell Dlg'", "TOpenDialog.Height=300", "TOpenDialog.Width=563"})
      FOriginals.Add(l);
  }
  Vek::TSortList FEntries;
  vcl::TStringList FOriginals;
};

TextUnit Unit(std::string Key, std::string Source, std::string Target, int Line = 1) {
  TextUnit u;
  u.Key = std::move(Key);
  u.Source = std::move(Source);
  u.Target = std::move(Target);
  u.Line = Line;
  u.TargetLines = {{0, Line}};
  return u;
}

}  // namespace

TEST_F(TextUnits, ExportTakesEveryCapturedTextAndTheTranslatedValues) {
  int withoutOriginal = 0;
  const std::vector<TextUnit> units = ExportUnits(FEntries, FOriginals, nullptr, withoutOriginal);
  EXPECT_EQ(withoutOriginal, 1);  // the print dialog was never captured
  struct Expected {
    const char *key, *source, *target, *note;
  } expected[] = {
      {"TOpenDialog.Caption", "Open", "Ouvrir", ""},
      {"TOpenDialog.Caption[1]", "Caf\xC3\xA9", "", ""},  // code page 1252 to UTF-8
      {"TOpenDialog.Caption[2]", "Line one\nLine two", "", ""},
      // Height and the font were captured but not translated: no text for a translator.
      {"TOpenDialog.Width", "563", "600", "width of the dialog in pixels: an integer"},
  };
  ASSERT_EQ(units.size(), std::size(expected));
  for (std::size_t i = 0; i < units.size(); ++i) {
    EXPECT_EQ(units[i].Key, expected[i].key);
    EXPECT_EQ(units[i].Source, expected[i].source);
    EXPECT_EQ(units[i].Target, expected[i].target);
    EXPECT_EQ(units[i].Note, expected[i].note);
  }
}

TEST_F(TextUnits, ImportTakesTranslationsInTheFormTheEntriesNeed) {
  const ImportResult r = ImportUnits(FEntries, FOriginals,
                                     {
                                         Unit("TOpenDialog.Caption", "Open", "Ouvrir"),                     // unchanged
                                         Unit("TOpenDialog.Caption[1]", "Caf\xC3\xA9", "L'\xC3\xA9t\xC3\xA9 #1"),  // quoted, 1252
                                         Unit("TOpenDialog.Caption[2]", "Line one\nLine two", "Un\nDeux"),  // CR LF as captured
                                         Unit("TOpenDialog.Height", "300", "320"),                          // a number stays plain
                                         Unit("TOpenDialog.Font.Name", "MS Shell Dlg", "Tahoma"),
                                     },
                                     "fr.po");
  EXPECT_EQ(r.Changed, 4);
  EXPECT_TRUE(r.Warnings.empty());
  EXPECT_TRUE(r.Faults.empty());
  EXPECT_EQ(testing_support::LinesOf(FEntries),
            (V{"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Caption[1]='L''\xE9t\xE9 #1'", "TOpenDialog.Caption[2]='Un'#13#10'Deux'",
               "TOpenDialog.Font.Name='Tahoma'", "TOpenDialog.Height=320", "TOpenDialog.Width=600", "TPrintDialog.Caption='Imprimer'"}));
}

TEST_F(TextUnits, ImportSkipsWhatIsNotForThisFormAndStopsAtFaultsBeforeAnyChange) {
  const V before = testing_support::LinesOf(FEntries);
  TextUnit fuzzy = Unit("TOpenDialog.Caption", "Open", "Ouvrir ?");
  fuzzy.Fuzzy = true;
  TextUnit multiLine = Unit("TOpenDialog.Caption[2]", "Line one\nLine two", "Ligne un\nLigne \xC5\x91", 20);
  multiLine.TargetLines = {{0, 20}, {9, 21}};
  const ImportResult r = ImportUnits(FEntries, FOriginals,
                                     {
                                         fuzzy,
                                         Unit("TOpenDialog.Caption[1]", "Caf\xC3\xA9", ""),
                                         Unit("TOpenDialog.Caption[7]", "Gone", "Parti", 5),
                                         Unit("TOpenDialog.Caption", "Open file", "Ouvrir le fichier", 9),
                                         multiLine,
                                         Unit("TOpenDialog.Width", "563", "large", 30),
                                         Unit("TOpenDialog.Height", "300", "320", 40),  // good, but not taken alone
                                     },
                                     "fr.po");
  EXPECT_EQ(r.Fuzzy, 1);
  EXPECT_EQ(r.Untranslated, 1);
  EXPECT_EQ(r.Warnings,
            (V{"fr.po, line 5: TOpenDialog.Caption[7] is no captured property of the form; skipped",
               "fr.po, line 9: the captured original of TOpenDialog.Caption is no longer the text translated here; skipped "
               "(export again to translate it)"}));
  EXPECT_EQ(r.Faults, (V{"fr.po, line 21: translation of TOpenDialog.Caption[2], character 16: U+0151 LATIN SMALL LETTER O "
                         "WITH DOUBLE ACUTE is not in code page 1252",
                         "fr.po, line 30: TOpenDialog.Width needs an integer, not 'large'"}));
  EXPECT_EQ(r.Changed, 0);
  EXPECT_EQ(testing_support::LinesOf(FEntries), before);
}

TEST_F(TextUnits, FuzzyUnitsAreTakenOnlyWhenAskedAndNamedByKey) {
  auto fuzzy = [](TextUnit U) {
    U.Fuzzy = true;
    return U;
  };
  const std::vector<TextUnit> units = {
      fuzzy(Unit("TOpenDialog.Caption", "Open", "Ouvrir ?", 3)),
      fuzzy(Unit("TOpenDialog.Width", "563", "600", 7)),        // the entry holds it already: still to review
      fuzzy(Unit("TOpenDialog.Caption[1]", "Caf\xC3\xA9", "", 11)),  // nothing to take
      fuzzy(Unit("TOpenDialog.Caption[7]", "Gone", "Parti", 15)),  // not captured
      Unit("TOpenDialog.Height", "300", "320", 19),
  };
  const V before = testing_support::LinesOf(FEntries);
  ImportResult r = ImportUnits(FEntries, FOriginals, units, "fr.po");
  EXPECT_EQ(r.Fuzzy, 4);
  EXPECT_EQ(r.Untranslated, 0);
  EXPECT_EQ(r.Changed, 1);
  EXPECT_EQ(r.FuzzyKeys, V{});
  EXPECT_TRUE(r.Warnings.empty()) << "a fuzzy unit is left out before its key is looked at";
  EXPECT_EQ(FEntries.Get(0), "TOpenDialog.Caption='Ouvrir'");

  FEntries.Clear();
  for (const std::string& l : before) FEntries.Add(l);
  r = ImportUnits(FEntries, FOriginals, units, "fr.po", {"", std::nullopt, true});
  EXPECT_EQ(r.Fuzzy, 1) << "the untranslated one stays out and counts as fuzzy";
  EXPECT_EQ(r.Untranslated, 0);
  EXPECT_EQ(r.Changed, 2);
  EXPECT_EQ(r.FuzzyKeys, (V{"TOpenDialog.Caption", "TOpenDialog.Width"}));
  EXPECT_EQ(r.Warnings, V{"fr.po, line 15: TOpenDialog.Caption[7] is no captured property of the form; skipped"});
  EXPECT_EQ(testing_support::LinesOf(FEntries), (V{"TOpenDialog.Caption='Ouvrir ?'", "TOpenDialog.Height=320", "TOpenDialog.Width=600",
                                                   "TPrintDialog.Caption='Imprimer'"}));

  // A fault takes nothing, so no key was taken fuzzy either.
  r = ImportUnits(FEntries, FOriginals, {units[0], fuzzy(Unit("TOpenDialog.Height", "300", "tall", 23))}, "fr.po", {"", std::nullopt, true});
  EXPECT_EQ(r.Faults, V{"fr.po, line 23: TOpenDialog.Height needs an integer, not 'tall'"});
  EXPECT_EQ(r.FuzzyKeys, V{});
}

// The character set asked for wins over a fuzzy Font.Charset of the file: that key was not taken.
TEST_F(TextUnits, AFuzzyCharsetThatTheSetAskedForReplacesIsNoFuzzyKey) {
  FOriginals.Add("TOpenDialog.Font.Charset=0");
  TextUnit charset = Unit("TOpenDialog.Font.Charset", "0", "238", 3);
  charset.Fuzzy = true;
  const ImportResult r = ImportUnits(FEntries, FOriginals, {charset}, "ru.po", {"", 204, true});
  EXPECT_EQ(r.FuzzyKeys, V{});
  EXPECT_EQ(FEntries.Get(Vek::FindEntry(FEntries, "TOpenDialog.Font.Charset")), "TOpenDialog.Font.Charset=204");
}

TEST_F(TextUnits, ContentGoesOutOnlyWithAnEntryOfItsOwn) {
  Vek::TSortList entries;
  entries.Add("TColorDialog.Caption[704]='0'");  // included by hand
  vcl::TStringList originals;
  for (const char* l : {"TColorDialog.Caption[703]='160'", "TColorDialog.Caption[704]='0'", "TColorDialog.Caption[726]='&Red:'",
                        "TOpenDialog.Caption[1137]=' (C:)'"})
    originals.Add(l);
  int withoutOriginal = 0;
  V keys;
  for (const TextUnit& u : ExportUnits(entries, originals, nullptr, withoutOriginal)) keys.push_back(u.Key);
  EXPECT_EQ(keys, (V{"TColorDialog.Caption[704]", "TColorDialog.Caption[726]"}));
}

TEST_F(TextUnits, ExportStopsAtAValueThatIsNoLiteral) {
  FEntries.Clear();
  FEntries.Add("TOpenDialog.Caption[1]=#");
  int withoutOriginal = 0;
  try {
    ExportUnits(FEntries, FOriginals, nullptr, withoutOriginal);
    ADD_FAILURE() << "no EConvertError";
  } catch (const vcl::EConvertError& e) {
    EXPECT_EQ(e.Message().rfind("Entry \"TOpenDialog.Caption[1]=#\": ", 0), 0u) << e.Message();
  }
}

TEST_F(TextUnits, ImportRefusesSizesBeyondAScreen) {
  const ImportResult r = ImportUnits(FEntries, FOriginals, {Unit("TOpenDialog.Height", "300", "2147483647", 3)}, "de.po");
  EXPECT_EQ(r.Faults, (V{"de.po, line 3: TOpenDialog.Height needs a size from 0 to 32767 (what a screen holds), not '2147483647'"}));
  EXPECT_EQ(r.Changed, 0);
}

TEST_F(TextUnits, LanguageTagsOfLocales) {
  struct Case {
    int locale;
    const char* tag;
  } cases[] = {{1036, "fr_FR"}, {3084, "fr_CA"}, {1031, "de_DE"}, {1049, "ru_RU"}, {2052, "zh_CN"}, {2070, "pt_PT"},
               {5132, "fr"},  // French of Luxembourg: not in the table, its language is
               {1281, "qps_ploc"}, {2559, "qps_plocm"}, {0, ""}, {-1, ""}, {0x0437, ""}, {0x10407, ""}};
  for (const Case& c : cases) EXPECT_EQ(LanguageTag(c.locale), c.tag) << c.locale;
}

TEST_F(TextUnits, ImportRefusesATranslationWhoseEntryValueWouldBeLongerThanAnEntryHolds) {
  const V before = testing_support::LinesOf(FEntries);
  const std::string fits(Vek::MaxValueLength - 2, 'a');  // with its quotes
  TextUnit apostrophes = Unit("TOpenDialog.Caption[1]", "Caf\xC3\xA9", std::string(Vek::MaxValueLength / 2, '\''), 7);
  apostrophes.TargetLines = {{0, 8}, {100, 9}};  // the msgstr's line, then its second piece; each ' is doubled
  const ImportResult r = ImportUnits(FEntries, FOriginals, {Unit("TOpenDialog.Caption", "Open", fits, 3), apostrophes}, "fr.po");
  EXPECT_EQ(r.Faults, V{"fr.po, line 8: translation of TOpenDialog.Caption[1] makes an entry value of 4096 characters, more "
                        "than the 4095 an entry holds"});
  EXPECT_EQ(testing_support::LinesOf(FEntries), before);
}


TEST(TextUnitsCharsets, LanguagesNameTheCharacterSetTheyAreWrittenIn) {
  struct Case {
    const char* tag;
    std::optional<int> charset;
  } cases[] = {
      {"ru", 204}, {"ru_RU", 204}, {"uk-UA", 204}, {"RU_ru", 204}, {"ru_RU.UTF-8", 204}, {"sr_RS", 204}, {"mk", 204},
      {"sr@latin", 238}, {"sr-Latn-RS", 238},  // Serbian in Latin letters
      {"el_GR", 161}, {"pl", 238}, {"cs_CZ", 238}, {"sq", 238}, {"tr_TR", 162}, {"az", 162}, {"he_IL", 177}, {"iw", 177},
      {"ar_SA", 178}, {"fa", 178}, {"ur", 178}, {"lv", 186}, {"vi", 163}, {"th_TH", 222}, {"ja_JP", 128}, {"ja", 128}, {"ko", 129},
      {"zh_CN", 134}, {"zh-Hans", 134}, {"zh-SG", 134}, {"zh", 134}, {"zh_TW", 136}, {"zh-HK", 136}, {"zh-Hant", 136},
      {"zh-Hant-CN", 136},  // the script says more than the country
      {"de_DE", std::nullopt}, {"fr", std::nullopt}, {"en", std::nullopt}, {"pt_BR", std::nullopt}, {"", std::nullopt},
      {"und", std::nullopt}, {"qps_ploc", std::nullopt}, {"hi_IN", std::nullopt}, {"rus", std::nullopt}, {"-ru", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(CharsetOfLanguage(c.tag), c.charset) << c.tag;
}

// Texts of a class go out and come back in the code page of its Font.Charset entry.
TEST_F(TextUnits, ExportConvertsTheTextsOfEachClassInItsOwnCodePage) {
  FEntries.Clear();
  for (const char* l : {"TOpenDialog.Font.Charset=204", "TOpenDialog.Caption='\xCE\xF2\xEA\xF0\xFB\xF2\xFC'", "TFontDialog.Font.Charset=128",
                        "TFontDialog.Caption='\x83\x74\x83\x40\x83\x43\x83\x8B'", "TFontDialog.Caption[1]='ab\x83'"})
    FEntries.Add(l);
  for (const char* l : {"TOpenDialog.Font.Charset=1", "TFontDialog.Caption='Font'", "TFontDialog.Caption[1]='Caf\xE9'"}) FOriginals.Add(l);
  int withoutOriginal = 0;
  V warnings;
  const std::vector<TextUnit> units = ExportUnits(FEntries, FOriginals, nullptr, withoutOriginal, &warnings);
  std::map<std::string, std::pair<std::string, std::string>> byKey;
  for (const TextUnit& u : units) byKey[u.Key] = {u.Source, u.Target};
  using P = std::pair<std::string, std::string>;
  EXPECT_EQ(byKey["TOpenDialog.Caption"], (P{"Open", "\xD0\x9E\xD1\x82\xD0\xBA\xD1\x80\xD1\x8B\xD1\x82\xD1\x8C"}));  // 1251
  EXPECT_EQ(byKey["TOpenDialog.Caption[1]"], (P{"Caf\xC3\xA9", ""}));  // the captured original in its own list's page
  EXPECT_EQ(byKey["TOpenDialog.Font.Charset"], (P{"1", "204"}));
  EXPECT_EQ(byKey["TFontDialog.Caption"], (P{"Font", "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB"}));  // 932
  // A lead byte without its trail would come back as U+FFFD: left untranslated, and said so.
  EXPECT_EQ(byKey["TFontDialog.Caption[1]"], (P{"Caf\xC3\xA9", ""}));
  EXPECT_EQ(warnings, V{"TFontDialog.Caption[1]: the translation holds bytes that are no characters of code page 932: written untranslated"});
}

TEST_F(TextUnits, ImportGivesAClassTheCharacterSetOfTheFilesLanguageOrTheOneAskedFor) {
  const std::vector<TextUnit> japanese = {Unit("TOpenDialog.Caption", "Open", "\xE9\x96\x8B\xE3\x81\x8F", 3)};
  ImportResult r = ImportUnits(FEntries, FOriginals, japanese, "ja.po", {"ja_JP", std::nullopt});
  EXPECT_EQ(r.Faults, V{});
  EXPECT_EQ(r.Changed, 2);
  EXPECT_EQ(r.Charsets, V{"ja.po: TOpenDialog.Font.Charset=128 added: the file's language ja_JP is written in code page 932"});
  // The class it translates gets the set; the print dialog, which it does not, keeps none.
  EXPECT_EQ(testing_support::LinesOf(FEntries), (V{"TOpenDialog.Caption='\x8A\x4A\x82\xAD'", "TOpenDialog.Font.Charset=128",
                                                   "TOpenDialog.Width=600", "TPrintDialog.Caption='Imprimer'"}));

  // The set asked for wins over the language, and replaces the class's.
  const std::vector<TextUnit> russian = {Unit("TOpenDialog.Caption", "Open", "\xD0\x9E\xD1\x82\xD0\xBA\xD1\x80\xD1\x8B\xD1\x82\xD1\x8C", 3)};
  r = ImportUnits(FEntries, FOriginals, russian, "ru.po", {"ja", 204});
  EXPECT_EQ(r.Faults, V{});
  EXPECT_EQ(r.Charsets,
            V{"ru.po: TOpenDialog.Font.Charset=204 replaces 128 (code page 932): character set 204 (code page 1251) was asked for"});
  EXPECT_EQ(testing_support::LinesOf(FEntries), (V{"TOpenDialog.Caption='\xCE\xF2\xEA\xF0\xFB\xF2\xFC'", "TOpenDialog.Font.Charset=204",
                                                   "TOpenDialog.Width=600", "TPrintDialog.Caption='Imprimer'"}));

  // A language of the class's code page, or of 1252, changes no set.
  for (const char* language : {"ru_RU", "bg", "de_DE", ""}) {
    r = ImportUnits(FEntries, FOriginals, russian, "ru.po", {language, std::nullopt});
    EXPECT_EQ(r.Faults, V{}) << language;
    EXPECT_EQ(r.Charsets, V{}) << language;
    EXPECT_EQ(r.Changed, 0) << language;
  }
}

TEST_F(TextUnits, ImportTakesTheCharacterSetTheFileGivesAClassWhereNoLanguageSays) {
  FOriginals.Add("TOpenDialog.Font.Charset=1");
  const ImportResult r = ImportUnits(
      FEntries, FOriginals,
      {Unit("TOpenDialog.Caption", "Open", "\xD0\x9E\xD1\x82\xD0\xBA\xD1\x80\xD1\x8B\xD1\x82\xD1\x8C"), Unit("TOpenDialog.Font.Charset", "1", "204")},
      "ru.po");
  EXPECT_EQ(r.Faults, V{});
  EXPECT_EQ(r.Charsets, V{});  // the file's own translation, no set of the import's
  EXPECT_EQ(testing_support::LinesOf(FEntries), (V{"TOpenDialog.Caption='\xCE\xF2\xEA\xF0\xFB\xF2\xFC'", "TOpenDialog.Font.Charset=204",
                                                   "TOpenDialog.Width=600", "TPrintDialog.Caption='Imprimer'"}));
}

TEST_F(TextUnits, ACharacterTheCodePageLacksChangesNothingNotEvenTheCharacterSet) {
  FEntries.Add("TOpenDialog.Font.Charset=204");
  const V before = testing_support::LinesOf(FEntries);
  const TextUnit katakana = Unit("TOpenDialog.Caption", "Open", "\xD0\xA4\xE3\x83\x95", 7);  // Cyrillic, then Katakana
  ImportResult r = ImportUnits(FEntries, FOriginals, {katakana}, "ru.po", {"ru", std::nullopt});
  EXPECT_EQ(r.Faults,
            V{"ru.po, line 7: translation of TOpenDialog.Caption, character 2: U+30D5, a Katakana character is not in code page 1251 "
              "(character set 204)"});
  EXPECT_EQ(testing_support::LinesOf(FEntries), before);
  // The language would replace the set, but another unit of the file cannot be taken: neither happens.
  r = ImportUnits(FEntries, FOriginals, {Unit("TOpenDialog.Caption", "Open", "\xE3\x83\x95", 3), Unit("TOpenDialog.Width", "563", "wide", 9)},
                  "ja.po", {"ja", std::nullopt});
  EXPECT_EQ(r.Faults, V{"ja.po, line 9: TOpenDialog.Width needs an integer, not 'wide'"});
  EXPECT_EQ(r.Charsets, V{});
  EXPECT_EQ(r.Changed, 0);
  EXPECT_EQ(testing_support::LinesOf(FEntries), before);
}
