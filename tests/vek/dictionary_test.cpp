// Dictionaries: TranslateTo, TranslateFrom and the field escaping.
#include "Vek.hpp"

#include "test_support.hpp"
#include "vcl/Forms.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
using Vek::TLumetra;

namespace {

using V = std::vector<std::string>;

class Dictionary : public ::testing::Test {
protected:
  ~Dictionary() override { delete FForm; }
  // Translations keep the given order (the editor's working copy may be unsorted).
  void Fill(const V& Translations, const V& Originals) {
    for (const auto& l : Translations) FLmt->Translations()->Add(l);
    for (const auto& l : Originals) FLmt->OrgProps()->SortInsert(l, nullptr);
  }
  ScratchDir FDir;
  std::string FFile = FDir.File("de.dic");
  vcl::TForm* FForm = new vcl::TForm(vcl::Application);
  TLumetra* FLmt = new TLumetra(FForm);
};

}  // namespace

TEST(DictionaryEscaping, WriteAndReadAreInverse) {
  struct Case {
    std::string plain, escaped;
  } cases[] = {
      {"a\\nb", "a\\\\nb"},  // a backslash before n is not a line break
      {"Line one\r\nLine two", "Line one\\r\\nLine two"},
      {"a\tb", "a\\tb"},
      {"plain", "plain"},
      {"\\", "\\\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TLumetra::WriteString(c.plain), c.escaped);
    EXPECT_EQ(TLumetra::ReadString(c.escaped), c.plain);
  }
  EXPECT_EQ(TLumetra::ReadString("a\\xb\\"), "a\\xb\\");  // unknown pairs and a last backslash stay
}

TEST_F(Dictionary, ExportWritesOriginalTranslationPairsInOrder) {
  Fill({"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Width=400", "TFontDialog.Caption='Police'"},
       {"TOpenDialog.Caption='Open'", "TOpenDialog.Width=563", "TFontDialog.Caption='Font'"});
  FLmt->TranslateTo(FFile);
  EXPECT_EQ(ReadFile(FFile), "563\t400\r\nFont\tPolice\r\nOpen\tOuvrir\r\n");
}

TEST_F(Dictionary, ExportEscapesMultiLineTexts) {
  Fill({"TOpenDialog.Caption='Ligne un'#13#10'Ligne deux'"}, {"TOpenDialog.Caption='Line one'#13#10'Line two'"});
  FLmt->TranslateTo(FFile);
  EXPECT_EQ(ReadFile(FFile), "Line one\\r\\nLine two\tLigne un\\r\\nLigne deux\r\n");
}

TEST_F(Dictionary, ExportUpdatesExistingLinesAndTidiesTheFile) {
  WriteFile(FFile, "Open\tAlt\nzz\tzz\r\nAbc\tdef\r\nzz\tzz\r\n");
  Fill({"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Title='No original'", "TZZ.Caption='Z'"},
       {"TOpenDialog.Caption='Open'"});
  FLmt->TranslateTo(FFile);
  EXPECT_EQ(ReadFile(FFile), "Abc\tdef\r\nOpen\tOuvrir\r\nzz\tzz\r\n");

  FLmt->OrgProps()->Clear();  // no originals: only rewritten
  WriteFile(FFile, "b\t1\r\na\t2\r\nb\t1\r\n");
  FLmt->TranslateTo(FFile);
  EXPECT_EQ(ReadFile(FFile), "a\t2\r\nb\t1\r\n");
}

TEST_F(Dictionary, ExportUpdatesOnlyTheFirstOfSeveralLinesOfOneOriginal) {
  WriteFile(FFile, "Open\tA\r\nOpen\tB\r\n");
  Fill({"TOpenDialog.Caption='Ouvrir'", "TFontDialog.Caption='Police'"},
       {"TOpenDialog.Caption='Open'", "TFontDialog.Caption='Font'"});
  FLmt->TranslateTo(FFile);
  // The replaced line now sorts after the next one, and the later insertion searches that list.
  EXPECT_EQ(ReadFile(FFile), "Font\tPolice\r\nOpen\tOuvrir\r\nOpen\tB\r\n");
}

TEST_F(Dictionary, ExportKeepsTheLaterOfTwoTranslationsOfOneText) {
  Fill({"TOpenDialog.Caption='Ouvrir'", "TSaveDialog.Caption='Ouvrir 2'"},
       {"TOpenDialog.Caption='Open'", "TSaveDialog.Caption='Open'"});
  FLmt->TranslateTo(FFile);
  EXPECT_EQ(ReadFile(FFile), "Open\tOuvrir 2\r\n");
}

TEST_F(Dictionary, ExportStopsAtAnInvalidLiteralBeforeWriting) {
  WriteFile(FFile, "old\tline\r\n");
  Fill({"TOpenDialog.Caption='Ouvrir'#"}, {"TOpenDialog.Caption='Open'"});
  try {
    FLmt->TranslateTo(FFile);
    FAIL() << "no EConvertError";
  } catch (const vcl::EConvertError& e) {
    EXPECT_NE(e.Message().find("TOpenDialog.Caption='Ouvrir'#"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(ReadFile(FFile), "old\tline\r\n");
}

TEST_F(Dictionary, ExportRefusesANulWhichNoFieldCanHoldBeforeWriting) {
  const struct {
    const char* What;
    std::string Before;
    V Translations, Originals;
    std::string Message;
  } cases[] = {
      {"a translation", "old\tline\r\n", {"TOpenDialog.Caption='a'#0'b'"}, {"TOpenDialog.Caption='Open'"},
       FFile + ": entry \"TOpenDialog.Caption\" holds a raw NUL (#0), which no line of the file may hold; nothing is written"},
      {"an original", "old\tline\r\n", {"TOpenDialog.Caption='Ouvrir'"}, {"TOpenDialog.Caption='Op'#0'en'"},
       FFile + ": captured value \"TOpenDialog.Caption\" holds a raw NUL (#0), which no line of the file may hold; nothing is written"},
      {"a line of the file", std::string("old\tline\r\nsecond\tli\0ne\r\n", 24), {"TOpenDialog.Caption='Ouvrir'"},
       {"TOpenDialog.Caption='Open'"},
       FFile + ", line 2: holds a NUL (#0), which no line of a dictionary holds; the file is refused and left as it is"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    FLmt->Translations()->Clear();
    FLmt->OrgProps()->Clear();
    WriteFile(FFile, c.Before);
    Fill(c.Translations, c.Originals);
    try {
      FLmt->TranslateTo(FFile);
      ADD_FAILURE() << "no error";
    } catch (const vcl::EStreamError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    EXPECT_EQ(ReadFile(FFile), c.Before);
  }
}

TEST_F(Dictionary, ApplyGivesALiteralWhenTheTranslationHoldsALineBreakOrNul) {
  // An unquoted value takes the translation as it is, unless a line of a text file could not hold it.
  WriteFile(FFile, std::string("563\t6\\n00\r\nFonts\tPo\0lices\r\nOpen\tplain\r\n", 38));
  Fill({"TOpenDialog.Width=563", "TFontDialog.Title=Fonts", "TOpenDialog.Caption=Open"},
       {"TOpenDialog.Width=563", "TFontDialog.Title=Fonts", "TOpenDialog.Caption=Open"});
  ASSERT_TRUE(FLmt->TranslateFrom(FFile));
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()),
            (V{"TOpenDialog.Width='6'#10'00'", "TFontDialog.Title='Po'#0'lices'", "TOpenDialog.Caption=plain"}));
}

TEST_F(Dictionary, ApplyKeepsTheFormOfEachValue) {
  WriteFile(FFile, "Open\tOuvrir\r\n563\t600\r\nFont\t\r\nFonts\t\r\nCancel\tAnnuler");  // no final line end
  Fill({"TOpenDialog.Caption='Open'", "TOpenDialog.Width=563", "TFontDialog.Caption='Font'",
        "TFontDialog.Title=Fonts", "TOpenDialog.Caption[2]=#9'Cancel'", "TOpenDialog.Caption[3]='Other'"},
       {"TOpenDialog.Caption='Open'", "TOpenDialog.Width=563", "TFontDialog.Caption='Font'", "TFontDialog.Title=Fonts",
        "TOpenDialog.Caption[2]='Cancel'", "TOpenDialog.Caption[3]='Other'"});
  ASSERT_TRUE(FLmt->TranslateFrom(FFile));
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()),
            (V{"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Width=600", "TFontDialog.Caption=''",
               "TFontDialog.Title=", "TOpenDialog.Caption[2]='Annuler'", "TOpenDialog.Caption[3]='Other'"}));
}

TEST_F(Dictionary, ApplyReadsEveryKindOfLineEndAndLetsLaterLinesWin) {
  for (const char* sep : {"\n", "\r", "\r\n"}) {
    FLmt->Translations()->Clear();
    FLmt->OrgProps()->Clear();
    WriteFile(FFile, std::string("Open\tFirst") + sep + "x" + sep + "Open\tSecond" + sep);
    Fill({"TOpenDialog.Caption='Open'"}, {"TOpenDialog.Caption='Open'"});
    ASSERT_TRUE(FLmt->TranslateFrom(FFile));
    EXPECT_EQ(FLmt->Translations()->Strings(0), "TOpenDialog.Caption='Second'");
  }
}

TEST_F(Dictionary, ApplyTranslatesEveryEntryOfOneOriginalAndMatchesExactly) {
  WriteFile(FFile, "Open\tOuvrir\r\n&Cancel\tAnnuler\r\nCancel\tAnnuler\r\n");
  // "Cancel" of the open and of the font dialog, one quoted and one not; "&Cancel" and "open"
  // differ from the originals and match nothing.
  Fill({"TOpenDialog.Caption='Open'", "TSaveDialog.Caption='Open'", "TOpenDialog.Caption[2]='Cancel'",
        "TFontDialog.Caption[2]=Cancel", "TFindDialog.Caption='open'", "TFindDialog.Caption[1]='&Cancel'"},
       {"TOpenDialog.Caption='Open'", "TSaveDialog.Caption='Open'", "TOpenDialog.Caption[2]='Cancel'",
        "TFontDialog.Caption[2]='Cancel'", "TFindDialog.Caption='open'", "TFindDialog.Caption[1]='&&Cancel'"});
  ASSERT_TRUE(FLmt->TranslateFrom(FFile));
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()),
            (V{"TOpenDialog.Caption='Ouvrir'", "TSaveDialog.Caption='Ouvrir'", "TOpenDialog.Caption[2]='Annuler'",
               "TFontDialog.Caption[2]=Annuler", "TFindDialog.Caption='open'", "TFindDialog.Caption[1]='&Cancel'"}));
}

TEST_F(Dictionary, ApplyFindsEveryOriginalOfAnUnsortedFileWithEscapedTexts) {
  // Sorted texts first, then back to the start; two escaped originals in a row, the second
  // before the first.
  WriteFile(FFile, "Alpha\tA1\nOne\\tTwo\tO2\nLine\\nBreak\tL2\nZulu\tZ1\nBeta\tB1\n");
  Fill({"TFindDialog.Caption='Alpha'", "TFindDialog.Caption[1]='Beta'", "TFindDialog.Caption[2]='One'#9'Two'",
        "TFindDialog.Caption[3]='Line'#10'Break'", "TFindDialog.Caption[4]='Zulu'"},
       {"TFindDialog.Caption='Alpha'", "TFindDialog.Caption[1]='Beta'", "TFindDialog.Caption[2]='One'#9'Two'",
        "TFindDialog.Caption[3]='Line'#10'Break'", "TFindDialog.Caption[4]='Zulu'"});
  ASSERT_TRUE(FLmt->TranslateFrom(FFile));
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()),
            (V{"TFindDialog.Caption='A1'", "TFindDialog.Caption[1]='B1'", "TFindDialog.Caption[2]='O2'",
               "TFindDialog.Caption[3]='L2'", "TFindDialog.Caption[4]='Z1'"}));
}

TEST_F(Dictionary, BackslashNSurvivesTheRoundTrip) {
  Fill({"TOpenDialog.Caption='C:\\new'"}, {"TOpenDialog.Caption='C:\\name'"});
  FLmt->TranslateTo(FFile);
  EXPECT_EQ(ReadFile(FFile), "C:\\\\name\tC:\\\\new\r\n");
  FLmt->Translations()->Put(0, "TOpenDialog.Caption='C:\\name'");
  ASSERT_TRUE(FLmt->TranslateFrom(FFile));
  EXPECT_EQ(FLmt->Translations()->Strings(0), "TOpenDialog.Caption='C:\\new'");
}

TEST_F(Dictionary, ApplyOfAMissingFileChangesNothing) {
  Fill({"TOpenDialog.Caption='Open'"}, {"TOpenDialog.Caption='Open'"});
  EXPECT_FALSE(FLmt->TranslateFrom(FDir.File("none.dic")));
  EXPECT_EQ(FLmt->Translations()->Strings(0), "TOpenDialog.Caption='Open'");
}

// ---- The list forms: what the editor runs on its working copy ---------------------------------

TEST_F(Dictionary, ListFormsMatchTheTranslatorWithItsCapturesSorted) {
  const V translations = {"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Width=400", "TSaveDialog.Caption='Ouvrir 2'",
                          "TFontDialog.Caption[2]=Annuler"};
  // Unsorted, as the editor captured them; the open and the save dialog share "Open".
  const V originals = {"TSaveDialog.Caption='Open'", "TOpenDialog.Width=563", "TFontDialog.Caption[2]='Cancel'",
                       "TOpenDialog.Caption='Open'"};
  Fill(translations, originals);
  WriteFile(FFile, "Cancel\tAbbrechen\r\nzz\tzz\r\nAbc\tdef\r\n");
  const std::string viaList = FDir.File("list.dic");
  WriteFile(viaList, ReadFile(FFile));
  FLmt->TranslateTo(FFile);

  vcl::TStringList working, captured;
  for (const auto& l : translations) working.Add(l);
  for (const auto& l : originals) captured.Add(l);
  Vek::TranslateTo(viaList, working, captured);
  EXPECT_EQ(ReadFile(viaList), ReadFile(FFile));
  EXPECT_EQ(testing_support::LinesOf(working), translations);
  EXPECT_EQ(testing_support::LinesOf(captured), originals);

  // Back again: the dictionary now holds "Open" -> "Ouvrir 2" for both dialogs.
  WriteFile(FFile, "Open\tOffnen\r\n563\t600\r\nCancel\tAbbrechen\r\n");
  Vek::TSortList list;
  for (const auto& l : translations) list.Add(l);
  ASSERT_TRUE(FLmt->TranslateFrom(FFile));
  ASSERT_TRUE(Vek::TranslateFrom(FFile, list, captured));
  EXPECT_EQ(testing_support::LinesOf(list), testing_support::LinesOf(*FLmt->Translations()));
  EXPECT_EQ(testing_support::LinesOf(list),
            (V{"TOpenDialog.Caption='Offnen'", "TOpenDialog.Width=600", "TSaveDialog.Caption='Offnen'",
               "TFontDialog.Caption[2]=Abbrechen"}));
  EXPECT_FALSE(Vek::TranslateFrom(FDir.File("none.dic"), list, captured));
}

TEST_F(Dictionary, ApplyRefusesATranslationNoEntryCanHoldAndChangesNothing) {
  // The last line fits as it stands, but in the literal form of a quoted entry each ' doubles.
  const V entries = {"TOpenDialog.Caption='Open'", "TOpenDialog.Caption[2]='Cancel'"};
  Fill(entries, entries);
  for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
    WriteFile(FFile, std::string("Open\tOuvrir") + lineEnd + lineEnd + "Cancel\t" + std::string(Vek::MaxValueLength / 2, '\''));
    EXPECT_THROW_MSG(FLmt->TranslateFrom(FFile), vcl::EConvertError,
                     FFile + ", line 3: the translation of 'Cancel' makes an entry value of 4096 characters, more than the 4095 "
                             "an entry holds; nothing was translated");
    EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()), entries);
  }
}
