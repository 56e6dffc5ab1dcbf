// The modal loop with input as the user gives it: Tab order, Enter and Esc, Alt mnemonics, focus
// moved by a click, list box multi-selection, a refused page change, results and exceptions.
#include <algorithm>
#include <memory>

#include "input.hpp"
#include "sample_form.hpp"
#include "test_support.hpp"

using namespace vcl;
using ui_test::Click;
using ui_test::Key;
using ui_test::RunModal;

namespace {

class Modal : public ::testing::Test {
protected:
  std::unique_ptr<TSampleForm> FForm = std::make_unique<TSampleForm>(Application);
  TWinControl* Focused() const { return dynamic_cast<TWinControl*>(TControl::FromHandle(GetFocus())); }
};

}  // namespace

TEST_F(Modal, ButtonsEnterAndEscEndTheLoopWithTheirResult) {
  struct Case {
    const char* What;
    std::function<void(TSampleForm&)> Act;
    TModalResult Result;
  } cases[] = {
      {"click on Cancel", [](TSampleForm& f) { Click(f.BtnCancel); }, mrCancel},
      {"click on OK", [](TSampleForm& f) { Click(f.BtnOK); }, mrOk},
      {"Enter in the edit: the default button", [](TSampleForm& f) { f.EdtName->SetFocus(), Key(VK_RETURN); }, mrOk},
      {"Esc: the cancel button", [](TSampleForm&) { Key(VK_ESCAPE); }, mrCancel},
      {"Enter on the focused Cancel button", [](TSampleForm& f) { f.BtnCancel->SetFocus(), Key(VK_RETURN); }, mrCancel},
      {"Alt+C: the button's mnemonic", [](TSampleForm&) { Key('C', ssAlt); }, mrCancel},
  };
  for (const Case& c : cases) {
    auto form = std::make_unique<TSampleForm>(Application);
    TSampleForm& f = *form;
    EXPECT_EQ(RunModal(f, {[&] { c.Act(f); }}), c.Result) << c.What;
    EXPECT_FALSE(IsWindowVisible(f.Handle())) << c.What;
    EXPECT_TRUE(IsWindowEnabled(Application->Handle())) << c.What << ": the owner is enabled again";
  }
}

TEST_F(Modal, TabAndShiftTabFollowTheTabOrderIntoThePage) {
  std::vector<TWinControl*> seen;
  auto note = [&] { seen.push_back(Focused()); };
  RunModal(*FForm, {note, [] { Key(VK_TAB); }, note, [] { Key(VK_TAB); }, note, [] { Key(VK_TAB); }, note,
                    [] { Key(VK_TAB); }, note, [] { Key(VK_TAB, ssShift); }, note, [this] { FForm->Close(); }});
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[0], FForm->BtnOK) << "tab order 0 has the focus first";
  EXPECT_EQ(seen[1], FForm->BtnCancel);
  EXPECT_EQ(seen[2], FForm->Notebook);
  EXPECT_EQ(seen[3], FForm->EdtName) << "then the controls of the page shown";
  EXPECT_EQ(seen[4], FForm->MemNotes);
  EXPECT_EQ(seen[5], FForm->EdtName) << "Shift+Tab goes back";
  EXPECT_EQ(FForm->Trace, (std::vector<std::string>{"FormCreate", "FormShow", "MemNotesExit"}));
}

TEST_F(Modal, AltMnemonicOfALabelFocusesItsControl) {
  TWinControl* focused = nullptr;
  RunModal(*FForm, {[] { Key('N', ssAlt); }, [&] { focused = Focused(); }, [this] { FForm->Close(); }});
  EXPECT_EQ(focused, FForm->EdtName);
}

TEST_F(Modal, AClickThatMovesTheFocusRunsTheMemosOnExitFirst) {
  RunModal(*FForm, {[this] { FForm->MemNotes->SetFocus(); }, [this] { Click(FForm->BtnOK); }});
  EXPECT_EQ(FForm->Trace, (std::vector<std::string>{"FormCreate", "FormShow", "MemNotesExit", "BtnOKClick 1"}));
  EXPECT_EQ(FForm->ModalResult(), mrOk);
}

TEST_F(Modal, ClicksWithCtrlSelectSeveralItems) {
  TListBox* list = FForm->LstItems;
  FForm->Notebook->SetPageIndex(1);
  RunModal(*FForm, {[&] { Click(list, 10, 8); }, [&] { Click(list, 10, 16 * 2 + 8, ssCtrl); },
                    [&] { Click(list, 10, 16 * 3 + 8, ssCtrl); }, [&] { Click(list, 10, 16 * 2 + 8, ssCtrl); },
                    [this] { FForm->Close(); }});
  EXPECT_TRUE(list->Selected(0));
  EXPECT_FALSE(list->Selected(1));
  EXPECT_FALSE(list->Selected(2)) << "the second Ctrl+click takes it out again";
  EXPECT_TRUE(list->Selected(3));
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_EQ(list->ItemIndex(), 2) << "the focus rectangle is on the last item clicked";
  EXPECT_EQ(std::count(FForm->Trace.begin(), FForm->Trace.end(), "LstItemsClick"), 4);
}

TEST_F(Modal, AHandlerRefusesAPageChangeByClick) {
  FForm->RefuseChange = true;
  RECT tab{};
  RunModal(*FForm, {[&] {
                      SendMessageA(FForm->Notebook->WindowHandle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
                      Click(FForm->Notebook, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
                    },
                    [this] { FForm->Close(); }});
  EXPECT_EQ(FForm->Notebook->PageIndex(), 0);
  EXPECT_EQ(SendMessageA(FForm->Notebook->WindowHandle(), TCM_GETCURSEL, 0, 0), 0) << "the tab goes back";
  EXPECT_TRUE(FForm->Notebook->Page(0)->Visible());
  EXPECT_EQ(FForm->Trace.back(), "NotebookChange 1");
}

TEST_F(Modal, AHandlersExceptionComesOutOfShowModal) {
  FForm->ThrowOnOK = true;
  EXPECT_THROW_MSG(RunModal(*FForm, {[this] { Click(FForm->BtnOK); }}), EConvertError, "Handler failed on purpose");
  EXPECT_FALSE(IsWindowVisible(FForm->Handle()));
  EXPECT_FALSE(FForm->Modal());
  EXPECT_TRUE(IsWindowEnabled(Application->Handle()));
  // The form can be shown again.
  FForm->ThrowOnOK = false;
  EXPECT_EQ(RunModal(*FForm, {[] { Key(VK_ESCAPE); }}), mrCancel);
}

TEST_F(Modal, KeyPreviewOnKeyDownOnKeyPressAndOnCloseQuerySeeFirst) {
  std::vector<std::string> seen;
  FForm->SetKeyPreview(true);
  FForm->SetOnKeyDown(TKeyEvent([&](TObject*, WORD& K, TShiftState) {
    if (K == VK_ESCAPE && seen.empty()) {
      seen.push_back("form took Esc");
      K = 0;
    }
  }));
  FForm->EdtName->SetOnKeyPress(TKeyPressEvent([&](TObject*, char& C) {
    if (C == 'a') C = 'z';
  }));
  int queries = 0;
  FForm->SetOnCloseQuery(TCloseQueryEvent([&](TObject*, bool& CanClose) { CanClose = ++queries > 1; }));
  FForm->SetOnClose(TCloseEvent([&](TObject*, TCloseAction&) { seen.push_back("OnClose"); }));
  bool openAfterEsc = false, openAfterRefusal = false;
  const TModalResult result = RunModal(
      *FForm, {[this] { FForm->EdtName->SetFocus(), FForm->EdtName->SetText(""); }, [] { Key('A'); },
               [] { Key(VK_ESCAPE); }, [&] { openAfterEsc = FForm->Modal() && FForm->ModalResult() == mrNone; },
               [] { Key(VK_ESCAPE); }, [&] { openAfterRefusal = FForm->ModalResult() == mrNone; },
               [] { Key(VK_ESCAPE); }});
  EXPECT_EQ(FForm->EdtName->Text(), "z") << "OnKeyPress changed the character";
  EXPECT_TRUE(openAfterEsc) << "the form's OnKeyDown took Esc before the cancel button";
  EXPECT_TRUE(openAfterRefusal) << "OnCloseQuery kept the form open";
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(seen, (std::vector<std::string>{"form took Esc", "OnClose"}));
}

TEST_F(Modal, CtrlTabTurnsTheNotebookPagesThroughOnChange) {
  std::vector<int> pages;
  auto note = [&] { pages.push_back(FForm->Notebook->PageIndex()); };
  RunModal(*FForm, {[this] { FForm->EdtName->SetFocus(), Key(VK_TAB, ssCtrl); }, note, [] { Key(VK_TAB, ssCtrl); }, note,
                    [] { Key(VK_TAB, ssCtrl | ssShift); }, note,
                    [this] { FForm->RefuseChange = true, Key(VK_TAB, ssCtrl | ssShift); }, note,
                    [this] { FForm->Close(); }});
  EXPECT_EQ(pages, (std::vector<int>{1, 0, 1, 1})) << "round the end both ways; a refusal keeps the page";
  const std::vector<std::string> changes(FForm->Trace.end() - 4, FForm->Trace.end());
  EXPECT_EQ(changes, (std::vector<std::string>{"NotebookChange 1", "NotebookChange 0", "NotebookChange 1",
                                               "NotebookChange 0"}));
  EXPECT_TRUE(FForm->Notebook->Page(1)->Visible());
}

TEST_F(Modal, ArrowsMoveBetweenRadioButtonsAndCheckThem) {
  auto* first = FForm->Field<TRadioButton>("RadFirst");
  auto* second = FForm->Field<TRadioButton>("RadSecond");
  struct Seen {
    TWinControl* Focus;
    bool FirstChecked, SecondChecked;
  };
  std::vector<Seen> seen;
  auto note = [&] { seen.push_back({Focused(), first->Checked(), second->Checked()}); };
  std::vector<int> groupIndex;
  RunModal(*FForm, {[&] { first->SetFocus(), Key(VK_DOWN); }, note, [] { Key(VK_RIGHT); }, note, [] { Key(VK_UP); }, note,
                    [this] { FForm->Notebook->SetPageIndex(1), FForm->GrpOrder->Button(1)->SetFocus(), Key(VK_UP); },
                    [&] { groupIndex.push_back(FForm->GrpOrder->ItemIndex()), Key(VK_LEFT); },
                    [&] { groupIndex.push_back(FForm->GrpOrder->ItemIndex()); }, [this] { FForm->Close(); }});
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].Focus, second);
  EXPECT_TRUE(seen[0].SecondChecked && !seen[0].FirstChecked) << "the button reached is checked";
  EXPECT_EQ(seen[1].Focus, first) << "round the end";
  EXPECT_TRUE(seen[1].FirstChecked && !seen[1].SecondChecked);
  EXPECT_EQ(seen[2].Focus, second);
  EXPECT_EQ(groupIndex, (std::vector<int>{0, 1})) << "a radio group's ItemIndex follows its buttons";
}
