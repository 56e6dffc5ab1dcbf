// The Dialogs page: capturing the form's dialogs, the available keys, their hints, Include and
// Rescan.
#include "editor_fixture.hpp"

using namespace vcl;
using editor_test::Editor;
using VekEdit::TDlgEditor;

namespace {

// A dialog class outside the six families: registered by a capture, never shown.
class TOwnDialog : public TCommonDialog {
  VCL_DECLARE_CLASS
public:
  using TCommonDialog::TCommonDialog;
};

// A dialog whose showing fails.
class TFailingDialog : public TOpenDialog {
  VCL_DECLARE_CLASS
public:
  using TOpenDialog::TOpenDialog;
  bool Execute() override { throw EInvalidOperation("TFailingDialog cannot be shown"); }
};

VCL_IMPLEMENT_CLASS(TOwnDialog, vcl::TCommonDialog)
VCL_IMPLEMENT_CLASS(TFailingDialog, vcl::TOpenDialog)

class Dialogs : public Editor {
protected:
  int Count(const std::string& Prefix) const {
    int n = 0;
    for (int i = 0; i < FEditor->OrgList().Count(); ++i) n += FEditor->OrgList().Get(i).rfind(Prefix, 0) == 0;
    return n;
  }
  std::string Entry(const std::string& Key) const {
    const int i = TDlgEditor::GetPropIndex(Key, FEditor->TransList());
    return i < 0 ? "<none>" : FEditor->TransList().Get(i);
  }
};

}  // namespace

TEST_F(Dialogs, ShowingCapturesEachNewDialogClassOnce) {
  new TOpenDialog(FForm);
  new TFontDialog(FForm);
  new TOpenDialog(FForm);  // a second of one class is not shown
  FForm->SetDesigning(true);
  TDlgEditor& e = Open();
  EXPECT_EQ(testing_support::LinesOf(e.DlgClasses()), (std::vector<std::string>{"TOpenDialog", "TFontDialog"}));
  EXPECT_EQ(Count("TOpenDialog.Caption="), 1);
  EXPECT_EQ(Count("TFontDialog.Caption="), 1);
  EXPECT_NE(e.ListAvail->Items()->IndexOf("TOpenDialog.Caption"), -1);
  EXPECT_NE(e.ListAvail->Items()->IndexOf("TFontDialog.Width"), -1);
  EXPECT_TRUE(e.Modified());
  e.BtnOKClick(e.BtnOK);
  EXPECT_EQ(e.ModalResult(), mrOk);
  const std::vector<std::string> stored = testing_support::LinesOf(*FLmt->OrgProps());
  EXPECT_TRUE(std::is_sorted(stored.begin(), stored.end())) << "handed back in ordinal order";
  EXPECT_EQ(static_cast<int>(stored.size()), e.OrgList().Count());
  Close();

  // Stored by OK: the next show captures nothing.
  TDlgEditor& again = Open();
  EXPECT_FALSE(again.Modified());
  EXPECT_EQ(again.OrgList().Count(), static_cast<int>(stored.size()));
}

TEST_F(Dialogs, AClassThatCapturesNothingChangesNothing) {
  new TOwnDialog(FForm);
  FForm->SetDesigning(true);
  TDlgEditor& e = Open();
  EXPECT_EQ(testing_support::LinesOf(e.DlgClasses()), (std::vector<std::string>{"TOwnDialog"}));
  EXPECT_FALSE(e.Modified());
  e.BtnOKClick(e.BtnOK);
  EXPECT_EQ(e.ModalResult(), mrCancel);
}

TEST_F(Dialogs, AFailingCaptureKeepsTheEarlierOnesAndShowsTheError) {
  new TFontDialog(FForm);
  new TFailingDialog(FForm);
  FForm->SetDesigning(true);
  TDlgEditor& e = Open();
  EXPECT_GT(Count("TFontDialog."), 4);
  EXPECT_NE(e.ListAvail->Items()->IndexOf("TFontDialog.Caption"), -1) << "the editor opened all the same";
  EXPECT_TRUE(e.Modified());
  ASSERT_EQ(FDialogs.Asked.size(), 1u);
  EXPECT_EQ(FDialogs.Asked[0], "Error TFailingDialog cannot be shown");
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(Dialogs, IncludeMovesTheSelectedKeysWithTheirStartingValues) {
  for (const char* line : {"TOpenDialog.Caption='Open'", "TOpenDialog.Width=566", "TOpenDialog.Height[1091]=13",
                           "TOpenDialog.Font.Charset=1", "TOpenDialog.Left[1091]=42", "TOpenDialog.Caption[-3]=#9'x'"})
    FLmt->OrgProps()->Add(line);
  TDlgEditor& e = Open();
  EXPECT_EQ(e.LblSelected->Caption(), "0 Selected");
  EXPECT_FALSE(e.BtnIncludeProp->Enabled());
  SelectAvail({"TOpenDialog.Caption", "TOpenDialog.Width", "TOpenDialog.Height[1091]", "TOpenDialog.Font.Charset",
               "TOpenDialog.Left[1091]", "TOpenDialog.Caption[-3]"});
  EXPECT_EQ(e.LblSelected->Caption(), "6 Selected");
  EXPECT_TRUE(e.BtnIncludeProp->Enabled());
  e.BtnIncludePropClick(e.BtnIncludeProp);
  const struct {
    const char* Key;
    const char* Entry;
  } cases[] = {
      {"TOpenDialog.Caption", "TOpenDialog.Caption=''"},
      {"TOpenDialog.Caption[-3]", "TOpenDialog.Caption[-3]=''"},
      {"TOpenDialog.Width", "TOpenDialog.Width=565"},  // a captured size is one more than it sets
      {"TOpenDialog.Height[1091]", "TOpenDialog.Height[1091]=12"},
      {"TOpenDialog.Font.Charset", "TOpenDialog.Font.Charset=1"},
      {"TOpenDialog.Left[1091]", "TOpenDialog.Left[1091]=42"},
  };
  for (const auto& c : cases) EXPECT_EQ(Entry(c.Key), c.Entry);
  EXPECT_EQ(e.PropList->Items()->Count(), 6);
  EXPECT_EQ(e.ListAvail->Items()->Count(), 0);
  EXPECT_EQ(e.LblSelected->Caption(), "0 Selected");
  EXPECT_FALSE(e.BtnIncludeProp->Enabled());
  EXPECT_TRUE(e.Modified());
  // Included keys come back to the Dialogs page when removed, once.
  e.PropList->SelectAll();
  FDialogs.Answers.push_back(mrYes);
  e.BtnRemoveClick(e.BtnRemove);
  EXPECT_EQ(e.ListAvail->Items()->Count(), 6);
  e.RefreshPropList();
  EXPECT_EQ(e.ListAvail->Items()->Count(), 6);
}

TEST_F(Dialogs, IncludeWithNothingSelectedChangesNothing) {
  FLmt->OrgProps()->Add("TOpenDialog.Caption='Open'");
  TDlgEditor& e = Open();
  e.BtnIncludePropClick(e.BtnIncludeProp);
  EXPECT_EQ(e.TransList().Count(), 0);
  EXPECT_FALSE(e.Modified());
}

TEST_F(Dialogs, AKeyIsNeverListedTwice) {
  FLmt->OrgProps()->Add("TOpenDialog.Caption='Open'");
  FLmt->OrgProps()->Add("TOpenDialog.Width=566");
  TDlgEditor& e = Open();
  FDialogs.Inputs.push_back("TOpenDialog.Caption");
  e.BtnNewClick(e.BtnNew);
  EXPECT_EQ(Items(*e.ListAvail), (std::vector<std::string>{"TOpenDialog.Width"}));
  FDialogs.Inputs.push_back("topendialog.width");  // another spelling of an available key
  e.BtnNewClick(e.BtnNew);
  EXPECT_EQ(e.ListAvail->Items()->Count(), 0) << "the list items are compared without regard to case";
  e.RefreshPropList();
  EXPECT_EQ(e.ListAvail->Items()->Count(), 0);
  EXPECT_EQ(Items(*e.PropList), (std::vector<std::string>{"TOpenDialog.Caption", "topendialog.width"}));
  EXPECT_EQ(e.TransList().Count(), 2);
}

TEST_F(Dialogs, TheHintShowsTheCapturedValueOfTheItemUnderTheMouse) {
  FLmt->OrgProps()->Add("TOpenDialog.Caption='Open'");
  FLmt->OrgProps()->Add("TOpenDialog.Width=566");
  TDlgEditor& e = Open();
  const int h = e.ListAvail->ItemHeight();
  e.ListAvailMouseMove(e.ListAvail, 0, 5, h / 2);
  EXPECT_EQ(e.ListAvail->Hint(), "'Open'");
  e.ListAvailMouseMove(e.ListAvail, 0, 5, h + h / 2);
  EXPECT_EQ(e.ListAvail->Hint(), "566");
  e.ListAvailMouseMove(e.ListAvail, 0, 5, h * 5);
  EXPECT_EQ(e.ListAvail->Hint(), "566") << "below the last item the hint stays";
}

TEST_F(Dialogs, RescanCapturesAgainAndMarksAChangeOnlyWhenThereIsOne) {
  new TFontDialog(FForm);
  FForm->SetDesigning(true);
  TDlgEditor& first = Open();
  first.BtnOKClick(first.BtnOK);
  Close();
  FLmt->OrgProps()->SortInsert("TGoneDialog.Caption='Gone'", nullptr);
  TDlgEditor& e = Open();
  EXPECT_FALSE(e.Modified());
  EXPECT_NE(e.ListAvail->Items()->IndexOf("TGoneDialog.Caption"), -1);
  e.BtnRescanClick(e.BtnRescan);
  EXPECT_TRUE(e.Modified()) << "the captured values of a dialog no longer there went";
  EXPECT_EQ(e.ListAvail->Items()->IndexOf("TGoneDialog.Caption"), -1);
  EXPECT_EQ(testing_support::LinesOf(e.DlgClasses()), (std::vector<std::string>{"TFontDialog"}));
  Close();
  FLmt->OrgProps()->Delete(FLmt->OrgProps()->IndexOf("TGoneDialog.Caption='Gone'"));
  TDlgEditor& same = Open();
  same.BtnRescanClick(same.BtnRescan);
  EXPECT_FALSE(same.Modified()) << "the same captured values again";
}

TEST_F(Dialogs, ARunningApplicationsDialogsAreCapturedButNotTheEditorsOwn) {
  new TFontDialog(FForm);
  FForm->SetDesigning(false);
  FLmt->OrgProps()->Add("TFontDialog.Caption='Font'");  // known already: not shown again
  TDlgEditor& e = Open();
  EXPECT_EQ(testing_support::LinesOf(e.DlgClasses()), (std::vector<std::string>{"TFontDialog"}))
      << "no open or save dialog on the application's forms";
  EXPECT_FALSE(e.Modified());
}
