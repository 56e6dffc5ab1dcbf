// Windows only: what the real comdlg32 does (under Wine) that the class library works with or
// around, and that the components show exactly the recorded dialogs.
#include "win/api.h"

#include <string>
#include <vector>

#include "live_dialog.hpp"
#include "message_log.hpp"
#include "test_support.hpp"
#include "vcl/Dialogs.hpp"
#include "win/printer.h"

using namespace vcl;

namespace {

std::string CurrentDir() {
  char buf[MAX_PATH];
  GetCurrentDirectoryA(sizeof buf, buf);
  return buf;
}

int OwnerPosChanged = 0;
bool CountPosChanged(void*, TMessage& Msg) {
  if (Msg.Msg == WM_WINDOWPOSCHANGED) ++OwnerPosChanged;
  if (Msg.Msg == WM_ENTERIDLE) PostMessageA(reinterpret_cast<HWND>(Msg.LParam), WM_COMMAND, IDCANCEL, 0);
  return false;
}

}  // namespace

TEST(Comdlg32, TheOwnerGetsWindowPosChangedOnlyFromTheClassLibrary) {
  // comdlg32 itself sends the owner none: a dialog shown directly leaves the count at 0.
  const TWindowHook hook{&CountPosChanged, nullptr};
  Application->HookMainWindow(hook);
  OwnerPosChanged = 0;
  CHOOSECOLORA cc{};
  COLORREF custom[16] = {};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = Application->Handle();
  cc.lpCustColors = custom;
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_EQ(OwnerPosChanged, 0);

  TColorDialog dialog(nullptr);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(OwnerPosChanged, 1) << "Execute hands the owner side exactly one";
  Application->UnhookMainWindow(hook);
}

namespace {
void CALLBACK CancelActive(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  PostMessageA(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0);
}
}  // namespace

TEST(Comdlg32, FileDialogsChangeTheCurrentFolderUnlessTold) {
  const std::string before = CurrentDir();
  const struct {
    TOpenOptions Extra;
    bool Changes;
  } cases[] = {{ofNoChangeDir, false}, {0, true}};
  for (const auto& c : cases) {
    SetCurrentDirectoryA(before.c_str());
    TOpenDialog dialog(nullptr);
    dialog.SetInitialDir("C:\\windows");
    dialog.SetOptions(dialog.Options() | c.Extra);
    ASSERT_NE(SetTimer(nullptr, 0, 50, &CancelActive), 0u);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(CurrentDir() != before, c.Changes) << "now in " << CurrentDir();
  }
  SetCurrentDirectoryA(before.c_str());
}

namespace {
std::vector<std::string> Differences;
const win::RecordedDialog* Expected = nullptr;
bool CompareOnIdle(void*, TMessage& Msg) {
  if (Msg.Msg == WM_ENTERIDLE && Expected) {
    const HWND dialog = reinterpret_cast<HWND>(Msg.LParam);
    for (const std::string& d : win_test::CompareWithRecording(dialog, *Expected))
      Differences.push_back(std::string(Expected->Kind) + ": " + d);
    Expected = nullptr;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }
  return false;
}
}  // namespace

TEST(Comdlg32, EveryComponentShowsItsRecordedDialog) {
  win::LocalPrinter printer;
  ASSERT_EQ(printer.Error(), "");
  Differences.clear();
  const struct {
    const char* Kind;
    TCommonDialog* Dialog;
  } cases[] = {{"open", new TOpenDialog(Application)},   {"save", new TSaveDialog(Application)},
               {"font", new TFontDialog(Application)},   {"color", new TColorDialog(Application)},
               {"print", new TPrintDialog(Application)}, {"printsetup", new TPrinterSetupDialog(Application)}};
  const TWindowHook hook{&CompareOnIdle, nullptr};
  for (const auto& c : cases) {
    Expected = win::FindRecordedDialog(c.Kind);
    ASSERT_TRUE(Expected);
    if (auto* open = dynamic_cast<TOpenDialog*>(c.Dialog)) open->SetInitialDir("C:\\");
    Application->HookMainWindow(hook);
    EXPECT_FALSE(c.Dialog->Execute()) << c.Kind;
    Application->UnhookMainWindow(hook);
    EXPECT_EQ(Expected, nullptr) << c.Kind << " was not compared";
    delete c.Dialog;
  }
  for (const std::string& d : Differences) ADD_FAILURE() << d;
}
