// The dialog components on both window systems: entries per class, the owner-side messages
// while a dialog runs, closing dialogs from timers and hooks, and the modeless find dialog.
#include "vcl/Dialogs.hpp"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "dialog_messages.hpp"
#include "dialog_support.hpp"
#include "test_support.hpp"
#include "win/printer.h"
#include "win/recorded_dialogs.h"

using namespace vcl;

using namespace testing_support;

namespace {

struct Seen {
  UINT Msg;
  WPARAM WParam;
  HWND Active;
  std::string ActiveClass;
  HWND Handle;
  int ErasesSoFar;
};

std::vector<Seen> Log;
int Erases = 0;  // WM_CTLCOLORDLG seen by the procedure put in front of the dialog's own
WNDPROC DialogOwnProc = nullptr;
bool CloseOnIdle = true;

std::string ClassOf(HWND Hwnd) {
  char name[64] = "";
  GetClassNameA(Hwnd, name, sizeof name);
  return name;
}

LRESULT CALLBACK CountErases(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_CTLCOLORDLG) ++Erases;
  const WNDPROC own = DialogOwnProc;
  if (Msg == WM_NCDESTROY) SetWindowLongPtrA(Hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
  return CallWindowProcA(own, Hwnd, Msg, WParam, LParam);
}

// The test's replacement entry: records the owner-side messages, puts a procedure in front of
// the dialog's own on WM_WINDOWPOSCHANGED, closes the dialog on its first WM_ENTERIDLE, and
// then does the class library's own work.
bool TestHook(TCommonDialog* Self, TMessage& Msg) {
  if (Msg.Msg == WM_WINDOWPOSCHANGED || Msg.Msg == WM_ENTERIDLE || Msg.Msg == WM_CREATE || Msg.Msg == WM_KILLFOCUS) {
    const HWND active = GetActiveWindow();
    Log.push_back({Msg.Msg, Msg.WParam, active, ClassOf(active), Self->Handle(), Erases});
    if (Msg.Msg == WM_WINDOWPOSCHANGED && !DialogOwnProc)
      DialogOwnProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(active, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountErases)));
    if (Msg.Msg == WM_ENTERIDLE && CloseOnIdle) {
      CloseOnIdle = false;
      PostMessageA(reinterpret_cast<HWND>(Msg.LParam), WM_COMMAND, IDCANCEL, 0);
    }
  }
  return TCommonDialog::MessageHookEntry(Self, Msg);
}

bool FindHook(TCommonDialog* Self, TMessage& Msg) {
  TestHook(Self, Msg);
  return TFindDialog::MessageHookEntry(Self, Msg);
}

class Dialogs : public ::testing::Test {
protected:
  void SetUp() override {
    Log.clear();
    Erases = 0;
    DialogOwnProc = nullptr;
    CloseOnIdle = true;
  }
  // The logged messages that are among Only, in order (the owner also gets messages of its
  // own, such as WM_KILLFOCUS when a modal dialog disables it).
  static std::vector<Seen> Logged(const std::vector<UINT>& Only) {
    std::vector<Seen> out;
    std::copy_if(Log.begin(), Log.end(), std::back_inserter(out),
                 [&](const Seen& s) { return std::find(Only.begin(), Only.end(), s.Msg) != Only.end(); });
    return out;
  }
};

template <class T>
std::unique_ptr<TCommonDialog> Make() {
  auto d = std::make_unique<T>(nullptr);
  if constexpr (std::is_base_of_v<TOpenDialog, T>) d->SetOptions(d->Options() | ofNoChangeDir);
  return d;
}

}  // namespace

TEST_F(Dialogs, EveryModalKindHandsItsHookTheOwnerSideMessagesWhileTheDialogIsActive) {
  win::LocalPrinter printer;
  ASSERT_EQ(printer.Error(), "");
  const struct {
    TClass Class;
    std::unique_ptr<TCommonDialog> (*Create)();
  } kinds[] = {{TOpenDialog::StaticClass(), &Make<TOpenDialog>},   {TSaveDialog::StaticClass(), &Make<TSaveDialog>},
               {TFontDialog::StaticClass(), &Make<TFontDialog>},   {TColorDialog::StaticClass(), &Make<TColorDialog>},
               {TPrintDialog::StaticClass(), &Make<TPrintDialog>}, {TPrinterSetupDialog::StaticClass(), &Make<TPrinterSetupDialog>}};
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.Class->ClassName());
    SetUp();
    EntryGuard guard(kind.Class, &TestHook);
    auto dialog = kind.Create();
    EXPECT_FALSE(dialog->Execute()) << "closed with Cancel";
    EXPECT_EQ(dialog->Handle(), nullptr);
    const std::vector<UINT> order = OwnerSideOrder(FamilyOf(*dialog));
    const auto seen = Logged(order);
    std::vector<UINT> firstArrivals;
    for (const Seen& s : seen)
      if (std::find(firstArrivals.begin(), firstArrivals.end(), s.Msg) == firstArrivals.end()) firstArrivals.push_back(s.Msg);
    EXPECT_EQ(firstArrivals, order);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(Logged({WM_WINDOWPOSCHANGED}).size(), 1u);
    for (const Seen& s : seen) {
      EXPECT_EQ(s.ActiveClass, "#32770") << "message " << s.Msg;
      EXPECT_EQ(s.Active, s.Handle) << "the component knows its dialog window";
    }
    EXPECT_EQ(seen[0].ErasesSoFar, 0);
    EXPECT_GE(seen[1].ErasesSoFar, 1) << "the background is erased after WM_WINDOWPOSCHANGED, before WM_ENTERIDLE";
  }
}

TEST_F(Dialogs, ReplacingAnEntryChangesExactlyThatClass) {
  EntryGuard guard(TOpenDialog::StaticClass(), &TestHook);
  // The application's class is first used after its parent's entry was replaced.
  const struct {
    std::unique_ptr<TCommonDialog> Dialog;
    bool Hooked;
  } cases[] = {{Make<TOpenDialog>(), true}, {Make<TSaveDialog>(), false}, {Make<TMyOpenDialog>(), false}};
  EXPECT_EQ(TMyOpenDialog::StaticClass()->Entry(TCommonDialog::MessageHookSlot()),
            reinterpret_cast<TCodePointer>(&TCommonDialog::MessageHookEntry));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Dialog->ClassName());
    Log.clear();
    TMessage msg{WM_ENTERIDLE, MSGF_DIALOGBOX, 0, 0};
    CloseOnIdle = false;
    EXPECT_FALSE(c.Dialog->MessageHook(msg));
    EXPECT_EQ(Log.size(), c.Hooked ? 1u : 0u);
  }
}

namespace {
std::vector<std::string> TimerTexts;
std::string TimerTitle;
void CALLBACK ReadAndClose(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  const HWND dialog = GetActiveWindow();
  char text[240];
  GetWindowTextA(dialog, text, sizeof text);
  TimerTitle = text;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    SendMessageA(c, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    TimerTexts.push_back(text);
  }
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}
}  // namespace

TEST_F(Dialogs, ATimerReadsTheShownDialogsTextsAndClosesIt) {
  TOpenDialog dialog(nullptr);
  dialog.SetTitle("Pick a translation file");
  dialog.SetInitialDir("C:\\");
  dialog.SetOptions(dialog.Options() | ofNoChangeDir);
  TimerTexts.clear();
  ASSERT_NE(SetTimer(nullptr, 0, 50, &ReadAndClose), 0u);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(TimerTitle, "Pick a translation file");
  const win::RecordedDialog* rec = win::FindRecordedDialog("open");
  ASSERT_TRUE(rec);
  ASSERT_EQ(TimerTexts.size(), rec->Controls.size());
  for (std::size_t i = 0; i < TimerTexts.size(); ++i) EXPECT_EQ(TimerTexts[i], rec->Controls[i].Text) << "control " << i + 1;
}

TEST_F(Dialogs, CloseEndsTheModalLoop) {
  EntryGuard guard(TColorDialog::StaticClass(), +[](TCommonDialog* Self, TMessage& Msg) {
    if (Msg.Msg == WM_ENTERIDLE && Self->Handle()) PostMessageA(Self->Handle(), WM_CLOSE, 0, 0);
    return TCommonDialog::MessageHookEntry(Self, Msg);
  });
  TColorDialog dialog(nullptr);
  dialog.SetColor(static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), static_cast<TColor>(RGB(1, 2, 3))) << "Cancel keeps the colour";
  EXPECT_EQ(dialog.Handle(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(Application->Handle()));
}

TEST_F(Dialogs, AHookExceptionClosesTheDialogAndLeavesExecute) {
  EntryGuard guard(TFontDialog::StaticClass(), +[](TCommonDialog*, TMessage& Msg) -> bool {
    if (Msg.Msg == WM_WINDOWPOSCHANGED) throw std::runtime_error("hook failed");
    return false;
  });
  TFontDialog dialog(nullptr);
  try {
    dialog.Execute();
    ADD_FAILURE() << "Execute returned";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "hook failed");
  }
  EXPECT_EQ(dialog.Handle(), nullptr);
  EXPECT_EQ(Application->TakeHookException(), nullptr) << "raised once";
}

TEST_F(Dialogs, FindDialogHookSeesCreateAndKillFocusWithTheDialogWindow) {
  EntryGuard guard(TFindDialog::StaticClass(), &FindHook);
  auto dialog = std::make_unique<TFindDialog>(nullptr);
  dialog->SetFindText("needle");
  int closed = 0;
  dialog->OnClose = [&](TObject*) { ++closed; };
  ASSERT_TRUE(dialog->Execute()) << "a modeless dialog shows and returns at once";
  const HWND shown = dialog->Handle();
  ASSERT_TRUE(IsWindow(shown));
  EXPECT_EQ(ClassOf(shown), "#32770");
  char text[64] = "";
  GetWindowTextA(GetDlgItem(shown, edt1), text, sizeof text);
  EXPECT_STREQ(text, "needle");
  const auto seen = Logged(OwnerSideOrder(Family::Find));
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[0].Msg, OwnerSideOrder(Family::Find)[0]);
  const auto focus = std::find_if(seen.begin(), seen.end(), [&](const Seen& s) {
    return s.Msg == WM_KILLFOCUS && reinterpret_cast<HWND>(s.WParam) == shown;
  });
  ASSERT_NE(focus, seen.end()) << "WM_KILLFOCUS with wParam = the dialog window";
  EXPECT_EQ(focus->Active, shown);

  EXPECT_TRUE(dialog->Execute()) << "a second Execute brings the same dialog forward";
  EXPECT_EQ(dialog->Handle(), shown);
  EXPECT_EQ(Logged({WM_CREATE}).size(), 1u);

  dialog->CloseDialog();
  Application->ProcessMessages();
  EXPECT_FALSE(IsWindow(shown));
  EXPECT_EQ(dialog->Handle(), nullptr);
  EXPECT_EQ(closed, 1);

  Log.clear();
  ASSERT_TRUE(dialog->Execute());
  ASSERT_FALSE(Logged({WM_CREATE}).empty()) << "a new dialog is announced again";
  const HWND second = dialog->Handle();
  dialog.reset();
  EXPECT_FALSE(IsWindow(second)) << "the component closes its dialog when it is freed";
}

TEST_F(Dialogs, ReplaceDialogKeepsItsOwnEntryAndReportsItsTexts) {
  EntryGuard guard(TFindDialog::StaticClass(), &FindHook);
  TReplaceDialog dialog(nullptr);
  dialog.SetFindText("old");
  dialog.SetReplaceText("new");
  int replaced = 0;
  dialog.OnReplace = [&](TObject*) { ++replaced; };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_TRUE(Logged({WM_CREATE, WM_KILLFOCUS}).empty()) << "TFindDialog's entry does not reach TReplaceDialog";
  SetWindowTextA(GetDlgItem(dialog.Handle(), 1153), "newer");
  SendMessageA(dialog.Handle(), WM_COMMAND, psh1, 0);  // Replace
  Application->ProcessMessages();
  EXPECT_EQ(replaced, 1);
  EXPECT_EQ(dialog.ReplaceText(), "newer");
  EXPECT_EQ(dialog.FindText(), "old");
  dialog.CloseDialog();
  Application->ProcessMessages();
  EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(DialogClasses, AreRegisteredByNameWithTheirParentsAndTwoEntries) {
  const struct {
    const char* Name;
    const char* Parent;
  } cases[] = {{"TOpenDialog", "TCommonDialog"}, {"TSaveDialog", "TOpenDialog"},   {"TFontDialog", "TCommonDialog"},
               {"TColorDialog", "TCommonDialog"}, {"TPrintDialog", "TCommonDialog"}, {"TPrinterSetupDialog", "TCommonDialog"},
               {"TFindDialog", "TCommonDialog"},  {"TReplaceDialog", "TFindDialog"}};
  (void)Application->ExeName();  // the application object registers the classes
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TClass cls = GetClass(c.Name);
    ASSERT_TRUE(cls);
    EXPECT_EQ(cls->ClassParent()->ClassName(), c.Parent);
    std::unique_ptr<TComponent> made(cls->Create(nullptr));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->ClassName(), c.Name);
  }
  EXPECT_GT(TCommonDialog::MessageHookSlot(), 0) << "another entry comes before MessageHook";
  EXPECT_NE(TCommonDialog::ExecuteSlot(), TCommonDialog::MessageHookSlot());
  EXPECT_EQ(TFindDialog::StaticClass()->Entry(TCommonDialog::MessageHookSlot()),
            reinterpret_cast<TCodePointer>(&TFindDialog::MessageHookEntry));
}

TEST(DialogClasses, OverlongTextsAreRefusedWithTheirLength) {
  TOpenDialog dialog(nullptr);
  dialog.SetFileName(std::string(1024, 'a'));
  EXPECT_THROW_MSG(dialog.Execute(), EConvertError, "FileName is 1024 characters long; at most 1023 fit");
  TFindDialog find(nullptr);
  find.SetFindText(std::string(300, 'x'));
  EXPECT_THROW_MSG(find.Execute(), EConvertError, "FindText is 300 characters long; at most 255 fit");
  EXPECT_EQ(find.Handle(), nullptr);
}

TEST(Forms, AFormHasAWindowThatGoesWithIt) {
  auto* form = new TForm(Application);
  EXPECT_FALSE(form->HandleAllocated());
  const HWND window = form->Handle();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(form->Handle(), window);
  EXPECT_EQ(GetWindow(window, GW_OWNER), Application->Handle());
  delete form;
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(Dialogs, AFindHookExceptionLeavesExecuteAndTheDialogCloses) {
  EntryGuard guard(TFindDialog::StaticClass(), +[](TCommonDialog* Self, TMessage& Msg) -> bool {
    if (Msg.Msg == WM_KILLFOCUS) throw EConvertError("find hook failed");
    return TFindDialog::MessageHookEntry(Self, Msg);
  });
  TFindDialog dialog(nullptr);
  EXPECT_THROW_MSG(dialog.Execute(), EConvertError, "find hook failed");
  Application->ProcessMessages();  // the Cancel posted to the dialog closes it
  EXPECT_EQ(dialog.Handle(), nullptr);
  EXPECT_EQ(Application->TakeHookException(), nullptr);
}
