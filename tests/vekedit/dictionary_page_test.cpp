// The Dictionary page: Translate, Export, Load and Save on the working copy, through the file
// dialogs, without touching the edited translator or its locale group.
#include <filesystem>

#include "editor_fixture.hpp"

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
