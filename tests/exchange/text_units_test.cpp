// The units of text of a translator's lists: which texts go out, and how translations come back
// into the entries; the language tags of locales.
#include "exchange/TextUnits.hpp"

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

