// The Dictionary page: Translate, Export, Load and Save on the working copy, through the file
// dialogs, without touching the edited translator or its locale group; Translate and Export in
// the formats `lumetra dict` reads and writes.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "commands.hpp"
#include "editor_fixture.hpp"
#include "exchange/Formats.hpp"
#include "exchange/PoFile.hpp"
#include "exchange/XliffFile.hpp"
#include "form_file.hpp"

using namespace vcl;
using editor_test::Editor;
using VekEdit::TDlgEditor;

namespace {

class Dictionary : public Editor {
protected:
  Dictionary() {
    FLmt->SetLocale(7);
    FLmt->SetTranslate(true);
    FLmt->Translations()->SetText("TOpenDialog.Caption=''\r\nTOpenDialog.Width=566\r\n");
    FLmt->OrgProps()->SetText("TOpenDialog.Caption='Open'\r\nTOpenDialog.Width=566\r\n");
    FDialogs.OnExecute = [this](TCommonDialog& D) {
      auto& file = dynamic_cast<TOpenDialog&>(D);
      Seen.push_back({file.Title(), (file.Options() & ofOverwritePrompt) != 0});
      if (Choose.empty()) return false;
      file.SetFileName(Choose);
      return true;
    };
  }
  std::string Entry(const std::string& Key) const {
    const int i = TDlgEditor::GetPropIndex(Key, FEditor->TransList());
    return i < 0 ? "<none>" : FEditor->TransList().Get(i);
  }
  void TranslateCaption(const std::string& Text) {
    ClickKey("TOpenDialog.Caption");
    Type(Text);
  }
  struct Shown {
    std::string Title;
    bool OverwritePrompt;
    bool operator==(const Shown&) const = default;
  };
  std::vector<Shown> Seen;
  std::string Choose;  // the file the dialog answers with; empty: cancelled
};

}  // namespace

TEST_F(Dictionary, SaveThenLoadRestoresTheTranslationsWhateverTheLocale) {
  TDlgEditor& e = Open();
  TranslateCaption("Öffnen");
  Choose = FDir.File("form.txt");
  e.BtnSaveClick(e.BtnSave);
  TranslateCaption("Anders");
  e.BtnLoadClick(e.BtnLoad);
  EXPECT_EQ(Entry("TOpenDialog.Caption"), "TOpenDialog.Caption='Öffnen'");
  EXPECT_EQ(e.EdtTranslation->Text(), "Öffnen") << "shown at once";
  EXPECT_EQ(Seen, (std::vector<Shown>{{"Save current properties to an external textfile.", true},
                                      {"Load properties from an external textfile.", false}}));
  EXPECT_TRUE(FLmt->Translate()) << "the edited translator of locale 7 stays on";
  EXPECT_EQ(Vek::vekInstance, FLmt);
  EXPECT_NE(testing_support::ReadFile(Choose).find("%0="), std::string::npos) << "written with locale 0";

  // The file is the one the translator writes from the same lists with locale 0.
  auto* other = new Vek::TLumetra(FForm);
  other->Translations()->Assign(&e.TransList());
  other->OrgProps()->Assign(&e.OrgList());
  const std::string mine = FDir.File("mine.txt");
  e.BtnSaveClick(e.BtnSave);
  Choose = mine;
  e.BtnSaveClick(e.BtnSave);
  other->SaveTo(FDir.File("component.txt"));
  EXPECT_EQ(testing_support::ReadFile(mine), testing_support::ReadFile(FDir.File("component.txt")));
}

TEST_F(Dictionary, TranslateTakesTheDictionarysTextsAndMarksAChangeOnlyWhenThereIsOne) {
  TDlgEditor& e = Open();
  TranslateCaption("Öffnen");
  Choose = FDir.File("dictionary.txt");
  e.BtnExportClick(e.BtnExport);
  EXPECT_EQ(Seen.back(), (Shown{"Create or update a dictionary with translations", true}));
  EXPECT_NE(testing_support::ReadFile(Choose).find("Open\tÖffnen"), std::string::npos);
  Close();

  TDlgEditor& fresh = Open();
  ClickKey("TOpenDialog.Caption");
  fresh.BtnTranslateClick(fresh.BtnTranslate);
  EXPECT_EQ(Seen.back(), (Shown{"Translate properties using the selected dictionary", false}));
  EXPECT_EQ(Entry("TOpenDialog.Caption"), "TOpenDialog.Caption='Öffnen'");
  EXPECT_EQ(fresh.EdtTranslation->Text(), "Öffnen");
  EXPECT_TRUE(fresh.Modified());
  fresh.BtnOKClick(fresh.BtnOK);
  EXPECT_EQ(fresh.ModalResult(), mrOk);
  EXPECT_EQ(FLmt->Translations()->Get(0), "TOpenDialog.Caption='Öffnen'");
  Close();

  TDlgEditor& same = Open();
  same.BtnTranslateClick(same.BtnTranslate);
  EXPECT_FALSE(same.Modified()) << "the dictionary changed nothing";
  EXPECT_TRUE(FLmt->Translate());
}

TEST_F(Dictionary, ExportAndSaveAloneChangeNothing) {
  TDlgEditor& e = Open();
  Choose = FDir.File("out.txt");
  e.BtnExportClick(e.BtnExport);
  e.BtnSaveClick(e.BtnSave);
  EXPECT_TRUE(std::filesystem::exists(Choose));
  EXPECT_FALSE(e.Modified());
  e.BtnOKClick(e.BtnOK);
  EXPECT_EQ(e.ModalResult(), mrCancel);
}

TEST_F(Dictionary, ACancelledDialogOrAMissingFileChangesNothingSilently) {
  TDlgEditor& e = Open();
  for (const std::string& file : {std::string(), FDir.File("missing.txt")}) {
    Choose = file;
    e.BtnTranslateClick(e.BtnTranslate);
    e.BtnLoadClick(e.BtnLoad);
    e.BtnSaveClick(e.BtnSave);  // before the export: a dictionary is no translation text file to save into
    e.BtnExportClick(e.BtnExport);
    if (!file.empty()) std::filesystem::remove(file);
  }
  EXPECT_FALSE(e.Modified());
  EXPECT_EQ(Entry("TOpenDialog.Caption"), "TOpenDialog.Caption=''");
  for (const std::string& asked : FDialogs.Asked) EXPECT_EQ(asked.rfind("Execute ", 0), 0u) << asked;
}

TEST_F(Dictionary, AValueThatIsNoLiteralStopsExportWithItsErrorAndNoFile) {
  FLmt->Translations()->SetText("TOpenDialog.Caption=#\r\nTOpenDialog.Width=566\r\n");
  TDlgEditor& e = Open();
  Choose = FDir.File("dictionary.txt");
  e.BtnExportClick(e.BtnExport);
  ASSERT_EQ(FDialogs.Asked.size(), 2u);
  EXPECT_EQ(FDialogs.Asked[1].rfind("Error ", 0), 0u);
  EXPECT_NE(FDialogs.Asked[1].find("#"), std::string::npos) << FDialogs.Asked[1];
  EXPECT_FALSE(std::filesystem::exists(Choose));
  EXPECT_EQ(Entry("TOpenDialog.Caption"), "TOpenDialog.Caption=#");
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

// ---- The exchange formats: the same files as `lumetra dict` reads and writes -----------------

namespace {

// A form file with a translator that captured what the editor's translator did, and holds no
// translation: what the command line imports into.
std::string CapturedForm() {
  return "object Form1: TForm1\n"
         "  object Lumetra1: TLumetra\n"
         "    Locale = 7\n"
         "    Storage = (\n"
         "      'TOpenDialog.Caption='#39'Open'#39\n"
         "      'TOpenDialog.Width=566')\n"
         "  end\n"
         "end\n";
}

std::vector<std::string> EntriesOf(const std::string& Form) {
  lumetra_cli::FormFile form(Form);
  return testing_support::LinesOf(*form.Translator()->Translations());
}

const std::string PoHeader = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";

}  // namespace

TEST_F(Dictionary, TranslateAndExportOfferTheFormatsOfTheTableAndLoadAndSaveTextFiles) {
  TDlgEditor& e = Open();
  e.BtnTranslateClick(e.BtnTranslate);
  EXPECT_EQ(e.OpenDialog1->Filter(), exchange::FileFilter());
  e.BtnLoadClick(e.BtnLoad);
  EXPECT_EQ(e.OpenDialog1->Filter(), "Dictionary (*.txt)|*.txt|All files (*.*)|*.*");
  e.BtnExportClick(e.BtnExport);
  EXPECT_EQ(e.SaveDialog1->Filter(), exchange::FileFilter());
  EXPECT_NE(e.SaveDialog1->Filter().find("*.po"), std::string::npos);
}

TEST_F(Dictionary, ExportWritesPoAndXliffThatTheCommandLineReadsBack) {
  TDlgEditor& e = Open();
  TranslateCaption("\xD6" "ffnen");
  for (const std::string name : {"de.po", "de.xliff", "de.XLF"}) {
    if (name != "de.po" && !exchange::XliffAvailable()) continue;
    Choose = FDir.File(name);
    e.BtnExportClick(e.BtnExport);
    ASSERT_TRUE(std::filesystem::exists(Choose)) << name;
    const std::string form = FDir.File("form1.dfm");
    testing_support::WriteFile(form, CapturedForm());
    std::FILE* errors = std::tmpfile();
    ASSERT_EQ(lumetra_cli::Run({"dict", "import", form, name == "de.po" ? "--po" : "--xliff", Choose}, errors), 0) << name;
    std::fclose(errors);
    EXPECT_EQ(EntriesOf(form), (std::vector<std::string>{"TOpenDialog.Caption='\xD6" "ffnen'", "TOpenDialog.Width=566"})) << name;
  }
  EXPECT_EQ(FDialogs.Asked.size(), exchange::XliffAvailable() ? 3u : 1u) << "no message: nothing to warn of";
}

TEST_F(Dictionary, TranslateFromAPoFileTakesFuzzyMessagesAndWarnsOfWhatIsNotCaptured) {
  const std::string po = FDir.File("fr.po");
  testing_support::WriteFile(po, PoHeader +
                                     "#, fuzzy\nmsgctxt \"TOpenDialog.Caption\"\nmsgid \"Open\"\nmsgstr \"Ouvrir ?\"\n\n"
                                     "msgctxt \"TOpenDialog.Width\"\nmsgid \"566\"\nmsgstr \"600\"\n\n"
                                     "msgctxt \"TOpenDialog.Caption[9]\"\nmsgid \"Gone\"\nmsgstr \"Parti\"\n");
  TDlgEditor& e = Open();
  Choose = po;
  FDialogs.Answers.push_back(mrOk);
  e.BtnTranslateClick(e.BtnTranslate);
  EXPECT_EQ(Entry("TOpenDialog.Caption"), "TOpenDialog.Caption='Ouvrir ?'") << "fuzzy: taken for review";
  EXPECT_TRUE(e.IsFuzzy("TOpenDialog.Caption"));
  EXPECT_EQ(Entry("TOpenDialog.Width"), "TOpenDialog.Width=600");
  EXPECT_FALSE(e.IsFuzzy("TOpenDialog.Width"));
  EXPECT_TRUE(e.Modified());
  ASSERT_EQ(FDialogs.Asked.size(), 2u);
  EXPECT_EQ(FDialogs.Asked[1], "MessageDlg " + po + ": skipped:\n" + po +
                                   ", line 13: TOpenDialog.Caption[9] is no captured property of the form; skipped");
  EXPECT_EQ(FLmt->Translations()->Get(1), "TOpenDialog.Width=566") << "the translator only on OK";
}

// ---- Fuzzy messages: taken, marked in the key list until edited or accepted, exported marked ----

namespace {

// A PO file of texts the system's own dialogs show, three of them to review.
const std::string SeedPo =
    "msgid \"\"\nmsgstr \"Language: de_DE\\nContent-Type: text/plain; charset=UTF-8\\n\"\n\n"
    "# system translation, de_DE\n#, fuzzy\nmsgctxt \"TOpenDialog.Caption\"\nmsgid \"Open\"\nmsgstr \"\xC3\x96" "ffnen\"\n\n"
    "# system translation, de_DE\n#, fuzzy\nmsgctxt \"TOpenDialog.Caption[1]\"\nmsgid \"&Open\"\nmsgstr \"\xC3\x96" "&ffnen\"\n\n"
    "# system translation, de_DE\n#, fuzzy\nmsgctxt \"TOpenDialog.Caption[2]\"\nmsgid \"Cancel\"\nmsgstr \"Abbrechen\"\n\n"
    "msgctxt \"TOpenDialog.Caption[1090]\"\nmsgid \"File &name:\"\nmsgstr \"Datei&name:\"\n";

class Fuzzy : public Dictionary {
protected:
  Fuzzy() {
    FLmt->OrgProps()->SetText(
        "TOpenDialog.Caption='Open'\r\nTOpenDialog.Caption[1]='&Open'\r\nTOpenDialog.Caption[1090]='File &name:'\r\n"
        "TOpenDialog.Caption[2]='Cancel'\r\nTOpenDialog.Width=566\r\n");
    testing_support::WriteFile(FDir.File("seed.po"), SeedPo);
  }
  void TranslateFrom(const std::string& Name) {
    Choose = FDir.File(Name);
    FEditor->BtnTranslateClick(FEditor->BtnTranslate);
  }
  // PropList's items in the order of their texts (the list box orders them as its system does).
  std::vector<std::string> SortedItems() const {
    std::vector<std::string> items = Items(*FEditor->PropList);
    std::sort(items.begin(), items.end());
    return items;
  }
  // The keys of a PO file's messages marked fuzzy, and of all its messages.
  std::vector<std::string> FuzzyIn(const std::string& Name, std::size_t* Count = nullptr) const {
    std::vector<std::string> keys;
    const std::vector<exchange::TextUnit> units = exchange::ReadPo(testing_support::ReadFile(FDir.File(Name)), Name);
    for (const exchange::TextUnit& u : units)
      if (u.Fuzzy) keys.push_back(u.Key);
    if (Count) *Count = units.size();
    return keys;
  }
};

}  // namespace

TEST_F(Fuzzy, TranslatedMessagesAreMarkedUntilEditedOrAcceptedAndExportedAsTheyStand) {
  TDlgEditor& e = Open();
  TranslateFrom("seed.po");
  EXPECT_EQ(testing_support::LinesOf(e.TransList()),
            (std::vector<std::string>{"TOpenDialog.Caption='\xD6" "ffnen'", "TOpenDialog.Caption[1090]='Datei&name:'",
                                      "TOpenDialog.Caption[1]='\xD6&ffnen'", "TOpenDialog.Caption[2]='Abbrechen'", "TOpenDialog.Width=566"}));
  EXPECT_EQ(SortedItems(), (std::vector<std::string>{"TOpenDialog.Caption (fuzzy)", "TOpenDialog.Caption[1090]",
                                                     "TOpenDialog.Caption[1] (fuzzy)", "TOpenDialog.Caption[2] (fuzzy)",
                                                     "TOpenDialog.Width"}));
  EXPECT_EQ(FDialogs.Asked.size(), 1u) << "nothing to warn of";
  // Accept sits below the translation box, inside the page.
  EXPECT_EQ(e.BtnAccept->Parent(), e.EdtTranslation->Parent());
  EXPECT_GT(e.BtnAccept->Top(), e.EdtTranslation->Top() + e.EdtTranslation->Height());
  EXPECT_LE(e.BtnAccept->Top() + e.BtnAccept->Height(), e.BtnAccept->Parent()->Height());

  // Edited: the mark goes as the edit is stored, and the key stays current and selected.
  ClickKey("TOpenDialog.Caption[2] (fuzzy)");
  EXPECT_TRUE(e.BtnAccept->Enabled());
  Type("Abbruch");
  EXPECT_FALSE(e.IsFuzzy("TOpenDialog.Caption[2]"));
  const int edited = e.PropList->ItemIndex();
  ASSERT_GE(edited, 0);
  EXPECT_EQ(e.PropList->Items()->Get(edited), "TOpenDialog.Caption[2]");
  EXPECT_TRUE(e.PropList->Selected(edited));
  EXPECT_FALSE(e.BtnAccept->Enabled());
  EXPECT_EQ(Entry("TOpenDialog.Caption[2]"), "TOpenDialog.Caption[2]='Abbruch'");

  // Accepted as it stands: the entry keeps the file's text.
  ClickKey("TOpenDialog.Caption[1] (fuzzy)");
  e.BtnAcceptClick(e.BtnAccept);
  EXPECT_FALSE(e.IsFuzzy("TOpenDialog.Caption[1]"));
  EXPECT_EQ(Entry("TOpenDialog.Caption[1]"), "TOpenDialog.Caption[1]='\xD6&ffnen'");
  EXPECT_EQ(SortedItems(), (std::vector<std::string>{"TOpenDialog.Caption (fuzzy)", "TOpenDialog.Caption[1090]",
                                                     "TOpenDialog.Caption[1]", "TOpenDialog.Caption[2]", "TOpenDialog.Width"}));

  Choose = FDir.File("review.po");
  e.BtnExportClick(e.BtnExport);
  std::size_t count = 0;
  EXPECT_EQ(FuzzyIn("review.po", &count), std::vector<std::string>{"TOpenDialog.Caption"});
  EXPECT_EQ(count, 5u);

  // Taken back, the file marks again exactly the one left.
  TranslateFrom("review.po");
  EXPECT_EQ(SortedItems(), (std::vector<std::string>{"TOpenDialog.Caption (fuzzy)", "TOpenDialog.Caption[1090]",
                                                     "TOpenDialog.Caption[1]", "TOpenDialog.Caption[2]", "TOpenDialog.Width"}));
}

TEST_F(Fuzzy, EscapeMarksTheKeyAgainAndRemoveForgetsTheMark) {
  TDlgEditor& e = Open();
  TranslateFrom("seed.po");
  ClickKey("TOpenDialog.Caption (fuzzy)");
  Type("Datei \xF6" "ffnen");
  EXPECT_FALSE(e.IsFuzzy("TOpenDialog.Caption"));
  Key(VK_ESCAPE);
  EXPECT_TRUE(e.IsFuzzy("TOpenDialog.Caption")) << "back to the entry as it was, still to review";
  EXPECT_EQ(Entry("TOpenDialog.Caption"), "TOpenDialog.Caption='\xD6" "ffnen'");
  EXPECT_TRUE(e.BtnAccept->Enabled());

  // Removed and included again from the Dialogs page: a key of the translator's own, not fuzzy.
  FDialogs.Answers.push_back(mrYes);
  e.BtnRemoveClick(e.BtnRemove);
  EXPECT_FALSE(e.IsFuzzy("TOpenDialog.Caption"));
  SelectAvail({"TOpenDialog.Caption"});
  e.BtnIncludePropClick(e.BtnIncludeProp);
  EXPECT_EQ(e.PropList->Items()->IndexOf("TOpenDialog.Caption (fuzzy)"), -1);
  EXPECT_GE(e.PropList->Items()->IndexOf("TOpenDialog.Caption"), 0);
}

TEST_F(Fuzzy, AnotherFileReplacesTheMarksAndAFailedOneKeepsThem) {
  TDlgEditor& e = Open();
  Choose = FDir.File("before.txt");
  e.BtnSaveClick(e.BtnSave);
  TranslateFrom("seed.po");
  testing_support::WriteFile(FDir.File("broken.po"), PoHeader + "msgctxt \"TOpenDialog.Caption[2]\"\nmsgid \"Cancel\"\nmsgstr \"\xC5\x91\"\n");
  TranslateFrom("broken.po");
  EXPECT_TRUE(e.IsFuzzy("TOpenDialog.Caption")) << "a file that cannot be taken changes nothing";
  EXPECT_TRUE(e.IsFuzzy("TOpenDialog.Caption[2]"));

  // A file that changes no entry but marks other keys: its marks.
  testing_support::WriteFile(FDir.File("one.po"), PoHeader + "#, fuzzy\nmsgctxt \"TOpenDialog.Caption[1090]\"\nmsgid \"File &name:\"\n"
                                                             "msgstr \"Datei&name:\"\n");
  TranslateFrom("one.po");
  EXPECT_EQ(SortedItems(), (std::vector<std::string>{"TOpenDialog.Caption", "TOpenDialog.Caption[1090] (fuzzy)", "TOpenDialog.Caption[1]",
                                                     "TOpenDialog.Caption[2]", "TOpenDialog.Width"}));

  // A text file marks nothing.
  Choose = FDir.File("before.txt");
  e.BtnLoadClick(e.BtnLoad);
  EXPECT_FALSE(e.IsFuzzy("TOpenDialog.Caption[1090]"));

  // The marks are the editor's alone: OK hands back the entries without them.
  TranslateFrom("seed.po");
  e.BtnOKClick(e.BtnOK);
  for (const std::string& line : testing_support::LinesOf(*FLmt->Translations()))
    EXPECT_EQ(line.find("fuzzy"), std::string::npos) << line;
}

TEST_F(Dictionary, ATranslationThatCannotBeTakenChangesNothingAndNamesFileLineAndCharacter) {
  const std::string po = FDir.File("fr.po");
  testing_support::WriteFile(po, PoHeader + "msgctxt \"TOpenDialog.Width\"\nmsgid \"566\"\nmsgstr \"600\"\n\n"
                                            "msgctxt \"TOpenDialog.Caption\"\nmsgid \"Open\"\nmsgstr \"\xC5\x91\"\n");
  TDlgEditor& e = Open();
  Choose = po;
  e.BtnTranslateClick(e.BtnTranslate);
  ASSERT_EQ(FDialogs.Asked.size(), 2u);
  EXPECT_EQ(FDialogs.Asked[1], "Error " + po + ": 1 translations cannot be taken; the translations are unchanged:\n" + po +
                                   ", line 10: translation of TOpenDialog.Caption, character 1: U+0151 LATIN SMALL LETTER O WITH "
                                   "DOUBLE ACUTE is not in code page 1252");
  EXPECT_EQ(Entry("TOpenDialog.Width"), "TOpenDialog.Width=566");
  EXPECT_FALSE(e.Modified());
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(Dictionary, TranslateFromAFileInAnotherScriptGivesTheClassTheCharacterSetOfItsLanguage) {
  const std::string po = FDir.File("ja.po");
  testing_support::WriteFile(po, "msgid \"\"\nmsgstr \"Language: ja\\nContent-Type: text/plain; charset=UTF-8\\n\"\n\n"
                                 "msgctxt \"TOpenDialog.Caption\"\nmsgid \"Open\"\nmsgstr \"\xE9\x96\x8B\xE3\x81\x8F\"\n");
  TDlgEditor& e = Open();
  Choose = po;
  FDialogs.Answers.push_back(mrOk);
  e.BtnTranslateClick(e.BtnTranslate);
  EXPECT_EQ(Entry("TOpenDialog.Caption"), "TOpenDialog.Caption='\x8A\x4A\x82\xAD'");  // code page 932
  EXPECT_EQ(Entry("TOpenDialog.Font.Charset"), "TOpenDialog.Font.Charset=128");
  EXPECT_TRUE(e.Modified());
  ASSERT_EQ(FDialogs.Asked.size(), 2u);
  EXPECT_EQ(FDialogs.Asked[1],
            "MessageDlg Character sets:\n" + po + ": TOpenDialog.Font.Charset=128 added: the file's language ja is written in code page 932");
}
