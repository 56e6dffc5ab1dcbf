// The Dictionary page: Translate, Export, Load and Save on the working copy, through the file
// dialogs, without touching the edited translator or its locale group; Translate and Export in
// the formats `lumetra dict` reads and writes.
#include <cstdio>
#include <filesystem>

#include "commands.hpp"
#include "editor_fixture.hpp"
#include "exchange/Formats.hpp"
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

TEST_F(Dictionary, TranslateFromAPoFileSkipsFuzzyMessagesAndWarnsOfWhatIsNotCaptured) {
  const std::string po = FDir.File("fr.po");
  testing_support::WriteFile(po, PoHeader +
                                     "#, fuzzy\nmsgctxt \"TOpenDialog.Caption\"\nmsgid \"Open\"\nmsgstr \"Ouvrir ?\"\n\n"
                                     "msgctxt \"TOpenDialog.Width\"\nmsgid \"566\"\nmsgstr \"600\"\n\n"
                                     "msgctxt \"TOpenDialog.Caption[9]\"\nmsgid \"Gone\"\nmsgstr \"Parti\"\n");
  TDlgEditor& e = Open();
  Choose = po;
  FDialogs.Answers.push_back(mrOk);
  e.BtnTranslateClick(e.BtnTranslate);
  EXPECT_EQ(Entry("TOpenDialog.Caption"), "TOpenDialog.Caption=''") << "fuzzy: not taken";
  EXPECT_EQ(Entry("TOpenDialog.Width"), "TOpenDialog.Width=600");
  EXPECT_TRUE(e.Modified());
  ASSERT_EQ(FDialogs.Asked.size(), 2u);
  EXPECT_EQ(FDialogs.Asked[1], "MessageDlg " + po + ": skipped:\n" + po +
                                   ", line 13: TOpenDialog.Caption[9] is no captured property of the form; skipped");
  EXPECT_EQ(FLmt->Translations()->Get(1), "TOpenDialog.Width=566") << "the translator only on OK";
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
