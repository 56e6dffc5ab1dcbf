// The common dialogs and their modal loop: the shown dialog equals its recording (the real
// comdlg32 under Wine, the simulation elsewhere), and the loop delivers timers, idle
// notifications, activation, background painting and WM_CLOSE as the engine relies on.
#include <algorithm>
#include <cstring>

#include "dialogs/comdlg_params.hpp"
#include "live_dialog.hpp"
#include "message_log.hpp"
#include "test_support.hpp"
#include "win/printer.h"

using namespace win_test;

namespace {

class RecordedDialog : public ::testing::TestWithParam<const char*> {
  FreshLog FLog;
};

}  // namespace

TEST_P(RecordedDialog, ShownDialogEqualsItsRecording) {
  const std::string kind = GetParam();
  const win::RecordedDialog* rec = win::FindRecordedDialog(kind);
  ASSERT_TRUE(rec) << "no recording of " << kind;
  win::LocalPrinter printer;
  ASSERT_EQ(printer.Error(), "");
  WindowGuard owner(CreateDialogOwner());
  dialogs::ComDlgParams p(kind, owner.get());
  p.StartIn("C:\\");

  std::vector<std::string> differences;
  HWND seen = nullptr;
  if (p.Modeless()) {
    seen = p.Create();
    ASSERT_TRUE(seen);
    PumpPending();
    differences = CompareWithRecording(seen, *rec);
    PostMessageA(seen, WM_COMMAND, IDCANCEL, 0);
    PumpPending();
    EXPECT_FALSE(IsWindow(seen)) << "Cancel destroys a modeless dialog";
  } else {
    Log().React = [&](HWND, UINT Msg, WPARAM, LPARAM LParam, LRESULT&) {
      if (Msg == WM_ENTERIDLE && !seen) {
        seen = reinterpret_cast<HWND>(LParam);
        differences = CompareWithRecording(seen, *rec);
        PostMessageA(seen, WM_COMMAND, IDCANCEL, 0);
      }
      return false;
    };
    EXPECT_FALSE(p.Run()) << "Cancel";
    ASSERT_TRUE(seen) << "the owner got no WM_ENTERIDLE";
    EXPECT_FALSE(IsWindow(seen));
  }
  for (const std::string& d : differences) ADD_FAILURE() << kind << ": " << d;
}

namespace {

// Every recording is compared, whichever kinds data/dialogs holds.
std::vector<const char*> RecordedKinds() {
  std::vector<const char*> kinds;
  for (const win::RecordedDialog& d : win::RecordedDialogs()) kinds.push_back(d.Kind);
  return kinds;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(EveryKind, RecordedDialog, ::testing::ValuesIn(RecordedKinds()),
                         [](const ::testing::TestParamInfo<const char*>& Info) { return std::string(Info.param); });

namespace {

class ModalLoop : public ::testing::Test {
  FreshLog FLog;
};

int TimerTicks = 0;
HWND TimerSawActive = nullptr;
char TimerSawClass[64];
void CALLBACK CloseFromTimer(HWND, UINT, UINT_PTR Id, DWORD) {
  if (++TimerTicks < 3) return;  // let it fire more than once inside the loop
  KillTimer(nullptr, Id);
  TimerSawActive = GetActiveWindow();
  GetClassNameA(TimerSawActive, TimerSawClass, sizeof TimerSawClass);
  PostMessageA(TimerSawActive, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

TEST_F(ModalLoop, TimersFireInsideTheDialogsLoop) {
  WindowGuard owner(CreateDialogOwner());
  dialogs::ComDlgParams p("open", owner.get());
  p.Open.Flags |= OFN_NOCHANGEDIR;
  TimerTicks = 0;
  TimerSawActive = nullptr;
  TimerSawClass[0] = '\0';
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &CloseFromTimer);
  ASSERT_NE(timer, 0u);
  EXPECT_FALSE(p.Run());
  EXPECT_EQ(TimerTicks, 3);
  EXPECT_STREQ(TimerSawClass, "#32770") << "the timer ran while the dialog was the active window";
  EXPECT_FALSE(IsWindow(TimerSawActive));
}

TEST_F(ModalLoop, CloseEndsTheLoopAsCancel) {
  WindowGuard owner(CreateDialogOwner());
  dialogs::ComDlgParams p("color", owner.get());
  HWND dialog = nullptr;
  Log().React = [&](HWND, UINT Msg, WPARAM, LPARAM LParam, LRESULT&) {
    if (Msg == WM_ENTERIDLE && !dialog) {
      dialog = reinterpret_cast<HWND>(LParam);
      PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
    return false;
  };
  EXPECT_FALSE(p.Run());
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(IsWindowEnabled(owner.get())) << "the owner is enabled again";
}

namespace {
WNDPROC DialogOwnProc = nullptr;
std::vector<UINT>* DialogMessages = nullptr;
LRESULT CALLBACK WatchDialog(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  DialogMessages->push_back(Msg);
  return CallWindowProcA(DialogOwnProc, Hwnd, Msg, WParam, LParam);
}
}  // namespace

TEST_F(ModalLoop, TheDialogIsActiveAndIdleBeforeItsFirstEraseIsSeenAgain) {
  // The owner's WM_ENTERIDLE comes after the dialog was activated and erased; a procedure put in
  // front of the dialog's own then sees a later erase through WM_CTLCOLORDLG.
  WindowGuard owner(CreateDialogOwner());
  dialogs::ComDlgParams p("font", owner.get());
  std::vector<UINT> messages;
  DialogMessages = &messages;
  int idles = 0;
  char activeOnIdle[64] = "";
  Log().React = [&](HWND, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT&) {
    if (Msg != WM_ENTERIDLE) return false;
    const HWND dlg = reinterpret_cast<HWND>(LParam);
    EXPECT_EQ(WParam, static_cast<WPARAM>(MSGF_DIALOGBOX));
    if (++idles == 1) {
      GetClassNameA(GetActiveWindow(), activeOnIdle, sizeof activeOnIdle);
      DialogOwnProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(dlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchDialog)));
      InvalidateRect(dlg, nullptr, TRUE);
      UpdateWindow(dlg);
      SendMessageA(dlg, WM_ACTIVATE, WA_ACTIVE, 0);
      PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    }
    return false;
  };
  EXPECT_FALSE(p.Run());
  ASSERT_GE(idles, 1);
  EXPECT_STREQ(activeOnIdle, "#32770");
  EXPECT_NE(std::find(messages.begin(), messages.end(), static_cast<UINT>(WM_CTLCOLORDLG)), messages.end())
      << "erasing a dialog's background sends it WM_CTLCOLORDLG";
  EXPECT_NE(std::find(messages.begin(), messages.end(), static_cast<UINT>(WM_ACTIVATE)), messages.end());
  EXPECT_NE(std::find(messages.begin(), messages.end(), static_cast<UINT>(WM_DESTROY)), messages.end());
}
