// Dialog class hooking: the registries, the hooks' interception rules and ComDlgProc.
#include "Vek.hpp"

#include <algorithm>
#include <memory>

#include "dialog_messages.hpp"
#include "dialog_window.hpp"
#include "test_support.hpp"
#include "vcl/Forms.hpp"

using namespace vek_test;
using Vek::TLumetra;
using namespace testing_support;
using vcl::TClass;

namespace {

static_assert(Vek::WithheldMessage == WM_USER + 300, "the table withholds the message ComDlgProc withholds");

vcl::TCodePointer HookEntryOf(TClass AClass) { return AClass->Entry(vcl::TCommonDialog::MessageHookSlot()); }
const auto CommonHook = reinterpret_cast<vcl::TCodePointer>(&Vek::TCommonDlgHook::MessageHook);
const auto FindHook = reinterpret_cast<vcl::TCodePointer>(&Vek::TFindDlgHook::MessageHook);

// Starts and ends each test with the interception state of a freshly started unit.
class Hooks : public TranslatorOnDialog {
protected:
  Hooks() {
    Vek::Interception.Reset();
    OwnProcedureLog().clear();
    OwnProcedureReaction = nullptr;
  }
  ~Hooks() override {
    Vek::Interception.Reset();
    OwnProcedureReaction = nullptr;
  }
  // Puts ComDlgProc in front of the test dialog, as a hook does.
  void Intercept() {
    Vek::OldWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(FDialog.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Vek::ComDlgProc)));
    Vek::Interception.Intercepted = FDialog.Handle();
    ASSERT_NE(Vek::OldWndProc, nullptr);
  }
  bool Received(UINT Msg) const {
    return std::find(OwnProcedureLog().begin(), OwnProcedureLog().end(), Msg) != OwnProcedureLog().end();
  }
};

}  // namespace

TEST_F(Hooks, RegistrationRefusesNilNonDialogsAndRepeats) {
  EXPECT_FALSE(Vek::RegisterDialogClass(nullptr));
  EXPECT_FALSE(Vek::RegisterDialogClass(vcl::TForm::StaticClass()));
  EXPECT_TRUE(Vek::RegisterDialogClass(vcl::TOpenDialog::StaticClass()));
  EXPECT_FALSE(Vek::RegisterDialogClass(vcl::TOpenDialog::StaticClass()));
  EXPECT_EQ(Vek::ClassRegs->Count(), 1);
  EXPECT_EQ(Vek::OrgDlgProc->Count(), 1);
  EXPECT_GT(Vek::Offset, 0);
  EXPECT_FALSE(Vek::UnRegisterDialogClass(vcl::TSaveDialog::StaticClass()));
}

TEST_F(Hooks, EachClassGetsItsHookAloneAndItsOwnEntryBack) {
  const TClass classes[] = {vcl::TOpenDialog::StaticClass(), vcl::TSaveDialog::StaticClass(),
                            TMyOpenDialog::StaticClass(), vcl::TFindDialog::StaticClass(),
                            vcl::TReplaceDialog::StaticClass()};
  std::vector<vcl::TCodePointer> own;
  for (TClass c : classes) own.push_back(HookEntryOf(c));

  ASSERT_TRUE(Vek::RegisterDialogClass(vcl::TOpenDialog::StaticClass()));
  ASSERT_TRUE(Vek::RegisterDialogClass(vcl::TFindDialog::StaticClass()));
  EXPECT_EQ(HookEntryOf(vcl::TOpenDialog::StaticClass()), CommonHook);
  EXPECT_EQ(HookEntryOf(vcl::TFindDialog::StaticClass()), FindHook);
  EXPECT_EQ(HookEntryOf(vcl::TSaveDialog::StaticClass()), own[1]);  // descendants are left alone
  EXPECT_EQ(HookEntryOf(TMyOpenDialog::StaticClass()), own[2]);
  EXPECT_EQ(HookEntryOf(vcl::TReplaceDialog::StaticClass()), own[4]);
  ASSERT_TRUE(Vek::RegisterDialogClass(vcl::TReplaceDialog::StaticClass()));
  EXPECT_EQ(HookEntryOf(vcl::TReplaceDialog::StaticClass()), FindHook);

  for (TClass c : classes) Vek::UnRegisterDialogClass(c);
  for (std::size_t i = 0; i < std::size(classes); ++i) EXPECT_EQ(HookEntryOf(classes[i]), own[i]) << i;
  EXPECT_EQ(Vek::ClassRegs->Count(), 0);
}

TEST_F(Hooks, ResetBringsBackTheStateOfAFreshlyStartedUnit) {
  const vcl::TCodePointer own = HookEntryOf(vcl::TFontDialog::StaticClass());
  ASSERT_TRUE(Vek::RegisterDialogClass(vcl::TFontDialog::StaticClass()));
  const int offset = Vek::Offset;
  Intercept();
  const WNDPROC ownProcedure = Vek::OldWndProc;
  Vek::OwnerClassName = "TOpenDialog";
  FLmt->Translations()->Add("TOpenDialog.Font.Name='Arial'");
  SendMessageA(FDialog.Handle(), WM_CTLCOLORDLG, 0, 0);  // a pass makes a font for the dialog
  ASSERT_EQ(Vek::LiveDialogFontCount(), 1);
  Vek::DebugDlg = Vek::Closing = true;

  Vek::Interception.Reset();
  EXPECT_EQ(HookEntryOf(vcl::TFontDialog::StaticClass()), own);
  EXPECT_EQ(Vek::ClassRegs->Count(), 0);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(FDialog.Handle(), GWLP_WNDPROC)), ownProcedure);
  EXPECT_EQ(Vek::OldWndProc, nullptr);
  EXPECT_EQ(Vek::Interception.Intercepted, nullptr);
  EXPECT_EQ(Vek::LiveDialogFontCount(), 0);
  EXPECT_EQ(Vek::Interception.DestroyWatch, nullptr);
  EXPECT_EQ(Vek::OwnerClassName, "");
  EXPECT_FALSE(Vek::DebugDlg);
  EXPECT_FALSE(Vek::Closing);
  EXPECT_EQ(Vek::Offset, offset) << "the entry's position stays known";
}

TEST_F(Hooks, TheExitProcedureRestoresEveryClassAndTheChain) {
  const vcl::TCodePointer own = HookEntryOf(vcl::TColorDialog::StaticClass());
  ASSERT_TRUE(Vek::RegisterDialogClass(vcl::TColorDialog::StaticClass()));
  ASSERT_EQ(vcl::ExitProc, &Vek::RestoreDialogClasses);
  const vcl::TProcedure before = Vek::OldExitProc;

  vcl::RunExitProcs();  // what program end does
  EXPECT_EQ(HookEntryOf(vcl::TColorDialog::StaticClass()), own);
  EXPECT_EQ(vcl::ExitProc, before);
  EXPECT_EQ(Vek::ClassRegs, nullptr);
  EXPECT_FALSE(Vek::RegisterDialogClass(vcl::TColorDialog::StaticClass()));  // the unit has ended

  // Start the unit again for the tests that follow, as loading it does.
  Vek::ClassRegs = new vcl::TList;
  Vek::OrgDlgProc = new vcl::TList;
  Vek::OldExitProc = vcl::ExitProc;
  vcl::ExitProc = &Vek::RestoreDialogClasses;
}

TEST_F(Hooks, ComDlgProcDoesWhatTheTableSaysAfterTheDialogsOwnProcedure) {
  FLmt->Translations()->Add("TOpenDialog.Caption='Ouvrir'");
  for (const DialogMessageRule& rule : DialogMessageRules) {
    SCOPED_TRACE(::testing::Message() << "message " << rule.Msg << ", wParam " << rule.WParam);
    Vek::Interception.Reset();
    Vek::OwnerClassName = "TOpenDialog";
    SetWindowTextA(FDialog.Handle(), "Open");
    // The dialog's own procedure changes the title: a translation after it changes it again.
    OwnProcedureReaction = [&rule](HWND Hwnd, UINT Msg, WPARAM) {
      if (Msg == rule.Msg) SetWindowTextA(Hwnd, "Changed by the dialog");
    };
    Intercept();
    const WNDPROC own = Vek::OldWndProc;
    OwnProcedureLog().clear();
    const LRESULT answer = SendMessageA(FDialog.Handle(), rule.Msg, rule.WParam, 0);
    OwnProcedureReaction = nullptr;
    const bool restored = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(FDialog.Handle(), GWLP_WNDPROC)) == own;
    switch (rule.Action) {
      case DialogAction::PassOn:
        EXPECT_EQ(TextOf(FDialog.Handle()), "Changed by the dialog");
        EXPECT_FALSE(restored);
        break;
      case DialogAction::Translate:
        EXPECT_TRUE(Received(rule.Msg));
        EXPECT_EQ(TextOf(FDialog.Handle()), "Ouvrir");
        EXPECT_FALSE(restored);
        break;
      case DialogAction::Restore:
        EXPECT_EQ(TextOf(FDialog.Handle()), "Changed by the dialog");
        EXPECT_TRUE(restored);
        EXPECT_EQ(Vek::OldWndProc, nullptr);
        EXPECT_TRUE(Vek::Closing);
        break;
      case DialogAction::Withhold:
        EXPECT_EQ(answer, 1);
        EXPECT_FALSE(Received(rule.Msg));
        EXPECT_EQ(TextOf(FDialog.Handle()), "Open");
        break;
    }
  }
}

TEST_F(Hooks, TheHooksInterceptOnTheOwnerSideMessagesTheTableNames) {
  ShowWindow(FDialog.Handle(), SW_SHOWNA);
  const std::unique_ptr<vcl::TCommonDialog> dialogs[] = {std::make_unique<vcl::TOpenDialog>(FForm),
                                                         std::make_unique<vcl::TColorDialog>(FForm),
                                                         std::make_unique<vcl::TFindDialog>(FForm)};
  for (const auto& dialog : dialogs) {
    const auto hook = dialog->Is<vcl::TFindDialog>() ? &Vek::TFindDlgHook::MessageHook : &Vek::TCommonDlgHook::MessageHook;
    for (const OwnerSideRule& rule : OwnerSideRules) {
      if (rule.Of != FamilyOf(*dialog)) continue;
      SCOPED_TRACE(::testing::Message() << dialog->ClassName() << ", message " << rule.Msg);
      Vek::Interception.Reset();
      SetActiveWindow(FDialog.Handle());
      OwnProcedureLog().clear();
      vcl::TMessage msg{rule.Msg, reinterpret_cast<WPARAM>(FDialog.Handle()), 0, 0};
      hook(dialog.get(), msg);
      EXPECT_EQ(Vek::Interception.Intercepted == FDialog.Handle(), rule.Intercepts);
      if (!rule.Intercepts) continue;
      EXPECT_EQ(Vek::OwnerClassName, dialog->ClassName());
      if (rule.Activates) {
        EXPECT_TRUE(Received(WM_ACTIVATE));
      }
    }
  }
}

TEST_F(Hooks, ClosingGivesTheWindowItsOwnProcedureBackOnce) {
  Intercept();
  const WNDPROC own = Vek::OldWndProc;
  SendMessageA(FDialog.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Vek::OldWndProc, nullptr);
  EXPECT_TRUE(Vek::Closing);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(FDialog.Handle(), GWLP_WNDPROC)), own);
  EXPECT_TRUE(Received(WM_CLOSE));

  // A dialog whose own WM_CLOSE handling destroys it re-enters with WM_DESTROY first.
  Vek::Closing = false;
  Intercept();
  OwnProcedureReaction = [](HWND Hwnd, UINT Msg, WPARAM) {
    if (Msg == WM_CLOSE) DestroyWindow(Hwnd);
  };
  SendMessageA(FDialog.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(FDialog.Handle()));
  EXPECT_EQ(Vek::OldWndProc, nullptr);
  EXPECT_TRUE(Vek::Closing);
}

TEST_F(Hooks, CaptureModeDescribesOnEveryActivationAndPostsOneClose) {
  vcl::TStringList list;
  FLmt->CaptureList = &list;
  Vek::DebugDlg = true;
  Vek::OwnerClassName = "TOpenDialog";
  Intercept();
  // WA_INACTIVE, as the hooks send it: an activation would also let Windows move the focus.
  SendMessageA(FDialog.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  const int once = list.Count();
  ASSERT_GT(once, 0);
  EXPECT_EQ(list.Strings(0), "TOpenDialog.Caption='Open'");
  SendMessageA(FDialog.Handle(), WM_CTLCOLORDLG, 0, 0);
  EXPECT_EQ(list.Count(), 2 * once);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, FDialog.Handle(), WM_CLOSE, WM_CLOSE, PM_REMOVE));
  FLmt->CaptureList = nullptr;
}

TEST_F(Hooks, WithoutATranslatorInChargeDialogsStayAsTheyAre) {
  Vek::OwnerClassName = "TOpenDialog";
  FLmt->Translations()->Add("TOpenDialog.Caption='Ouvrir'");
  Intercept();
  delete FForm;  // frees the translator in charge
  FForm = nullptr;
  ASSERT_EQ(Vek::vekInstance, nullptr);
  SendMessageA(FDialog.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  SendMessageA(FDialog.Handle(), WM_COMMAND, psh1, 0);
  EXPECT_EQ(TextOf(FDialog.Handle()), "Open");
}

TEST_F(Hooks, ASecondDialogIsNotInterceptedWhileOneIs) {
  vcl::TOpenDialog dialog(FForm);
  Intercept();
  const WNDPROC first = Vek::OldWndProc;
  vcl::TMessage msg{WM_WINDOWPOSCHANGED, 0, 0, 0};
  Vek::TCommonDlgHook::MessageHook(&dialog, msg);
  EXPECT_EQ(Vek::OldWndProc, first);
}

TEST_F(Hooks, AfterTheFindDialogClosedFocusChangesInterceptNothingUntilTheNextCreate) {
  vcl::TFindDialog dialog(FForm);
  Vek::Closing = true;
  vcl::TMessage killFocus{WM_KILLFOCUS, reinterpret_cast<WPARAM>(FDialog.Handle()), 0, 0};
  Vek::TFindDlgHook::MessageHook(&dialog, killFocus);
  EXPECT_EQ(Vek::OldWndProc, nullptr);
  vcl::TMessage create{WM_CREATE, 0, 0, 0};
  Vek::TFindDlgHook::MessageHook(&dialog, create);
  EXPECT_FALSE(Vek::Closing);
  Vek::TFindDlgHook::MessageHook(&dialog, killFocus);
  EXPECT_NE(Vek::OldWndProc, nullptr);
  EXPECT_EQ(Vek::OwnerClassName, "TFindDialog");
}

TEST_F(Hooks, LoadedRegistersTheDialogClassesOnTheForms) {
  new vcl::TOpenDialog(FForm);
  new TMyOpenDialog(FForm);
  new vcl::TFindDialog(FForm);
  FLmt->Loaded();
  EXPECT_EQ(HookEntryOf(vcl::TOpenDialog::StaticClass()), CommonHook);
  EXPECT_EQ(HookEntryOf(TMyOpenDialog::StaticClass()), CommonHook);
  EXPECT_EQ(HookEntryOf(vcl::TFindDialog::StaticClass()), FindHook);
  EXPECT_EQ(Vek::ClassRegs->Count(), 3);
}

TEST_F(Hooks, WhileDesigningOnlyTheTranslatorsOwnFormIsWalked) {
  auto* other = new vcl::TForm(vcl::Application);
  new vcl::TFontDialog(other);
  new vcl::TColorDialog(FForm);
  FForm->SetDesigning(true);
  Vek::RegisterDialogComponents();
  EXPECT_EQ(Vek::ClassRegs->Count(), 1);
  EXPECT_EQ(Vek::ClassRegs->Get(0), vcl::TColorDialog::StaticClass());
  delete other;
}
