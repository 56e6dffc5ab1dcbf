// Scenarios on both window systems: a dialog class's hook intercepts the dialog window by the
// rules of the shared table (a procedure in front of the dialog's own, installed on the
// family's owner-side message, removed on WM_CLOSE/WM_DESTROY) and changes or reads the dialog
// through it; the translator's hooks are tested against the same table.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dialog_messages.hpp"
#include "dialog_support.hpp"
#include "test_support.hpp"
#include "vcl/Dialogs.hpp"

using namespace vcl;
using namespace testing_support;

namespace {

// The interception slot of these scenarios.
WNDPROC OldProc = nullptr;
HWND Intercepted = nullptr;
bool Activated = false;
std::vector<std::string> Captured;
std::vector<HFONT> Fonts;
int Passes = 0;
enum class Mode { Translate, Capture } Action = Mode::Translate;

void Translate(HWND Dialog) {
  ++Passes;
  SendMessageA(Dialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Ouvrir un fichier"));
  if (HWND label = GetDlgItem(Dialog, stc3)) {
    SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("&Dateiname:"));
    const RECT place = PlaceOf(label);
    MoveWindow(label, 20, place.top, place.right, place.bottom, FALSE);
  }
  LOGFONTA lf{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Dialog, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  std::strcpy(lf.lfFaceName, "Arial");
  const HFONT font = CreateFontIndirectA(&lf);
  Fonts.push_back(font);
  for (HWND c = GetWindow(Dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
}

void Capture(HWND Dialog) {
  Captured.push_back("Caption=" + TextOf(Dialog));
  for (HWND c = GetWindow(Dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const std::string text = TextOf(c);
    if (!text.empty()) Captured.push_back("Caption[" + std::to_string(GetDlgCtrlID(c)) + "]=" + text);
  }
  PostMessageA(Dialog, WM_CLOSE, 0, 0);
}

// Does with each message what the table says.
LRESULT CALLBACK InterceptProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const DialogAction action = DialogActionOn(Msg, WParam);
  if (action == DialogAction::Withhold) return 1;
  const LRESULT result = CallWindowProcA(OldProc, Hwnd, Msg, WParam, LParam);
  if (action == DialogAction::Restore && OldProc) {
    SetWindowLongPtrA(Hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldProc));
    OldProc = nullptr;
  } else if (action == DialogAction::Translate) {
    if (Action == Mode::Translate) Translate(Hwnd);
    else Capture(Hwnd);
  }
  return result;
}

void Intercept(HWND Window) {
  if (OldProc || !Window || Window == Application->Handle()) return;
  OldProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InterceptProc)));
  if (OldProc) Intercepted = Window;
}

// The hook of every family: the class library's handling, then what the table says.
bool Hook(TCommonDialog* Self, TMessage& Msg) {
  const Family family = FamilyOf(*Self);
  const bool handled = family == Family::Find ? TFindDialog::MessageHookEntry(Self, Msg)
                                              : TCommonDialog::MessageHookEntry(Self, Msg);
  const OwnerSideRule* rule = OwnerSideRuleFor(family, Msg.Msg);
  if (!rule || !rule->Intercepts) return handled;
  Intercept(family == Family::Find ? reinterpret_cast<HWND>(Msg.WParam) : GetActiveWindow());
  if (rule->Activates && OldProc && !Activated) {
    Activated = true;
    SendMessageA(Intercepted, WM_ACTIVATE, 0, 0);
  }
  return handled;
}

struct Shown {
  std::string Title, Label, LabelFont;
  LONG LabelLeft = -1;
};
Shown Read;
void CALLBACK ReadAndCancel(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  const HWND dialog = GetActiveWindow();
  Read.Title = TextOf(dialog);
  const HWND label = GetDlgItem(dialog, stc3);
  Read.Label = TextOf(label);
  Read.LabelLeft = PlaceOf(label).left;
  Read.LabelFont = FontOf(label).lfFaceName;
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

class Interception : public ::testing::Test {
protected:
  void SetUp() override {
    OldProc = nullptr;
    Intercepted = nullptr;
    Activated = false;
    Captured.clear();
    Fonts.clear();
    Passes = 0;
    Read = Shown{};
  }
  void TearDown() override {
    for (HFONT f : Fonts) DeleteObject(f);
  }
};

}  // namespace

TEST_F(Interception, ARegisteredClassIsTranslatedBeforeItIsSeenAndAnotherIsNot) {
  EntryGuard hook(TOpenDialog::StaticClass(), &Hook);
  Action = Mode::Translate;
  const struct {
    std::unique_ptr<TOpenDialog> Dialog;
    const char* Title;
    const char* Label;
    LONG Left;
    const char* Font;
  } cases[] = {{std::make_unique<TOpenDialog>(nullptr), "Ouvrir un fichier", "&Dateiname:", 20, "Arial"},
               {std::make_unique<TSaveDialog>(nullptr), "Save As", "File &name:", 98, "MS Shell Dlg"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Dialog->ClassName());
    Passes = 0;
    Read = Shown{};
    c.Dialog->SetOptions(c.Dialog->Options() | ofNoChangeDir);
    ASSERT_NE(SetTimer(nullptr, 0, 50, &ReadAndCancel), 0u);
    EXPECT_FALSE(c.Dialog->Execute());
    EXPECT_EQ(Passes > 0, c.Dialog->ClassType() == TOpenDialog::StaticClass());
    EXPECT_EQ(Read.Title, c.Title);
    EXPECT_EQ(Read.Label, c.Label);
    EXPECT_EQ(Read.LabelLeft, c.Left);
    EXPECT_EQ(Read.LabelFont, c.Font);
    EXPECT_EQ(OldProc, nullptr) << "the window got its own procedure back when it closed";
  }
}

TEST_F(Interception, TheColourDialogIsInterceptedOnIdleAndTranslatedAtOnce) {
  EntryGuard hook(TColorDialog::StaticClass(), +[](TCommonDialog* Self, TMessage& Msg) {
    const bool handled = Hook(Self, Msg);
    if (Msg.Msg == WM_ENTERIDLE) PostMessageA(reinterpret_cast<HWND>(Msg.LParam), WM_COMMAND, IDCANCEL, 0);
    return handled;
  });
  Action = Mode::Translate;
  TColorDialog dialog(nullptr);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_GE(Passes, 1);
  EXPECT_EQ(OldProc, nullptr);
}

TEST_F(Interception, AFindDialogIsCapturedAndClosedThroughItsHook) {
  EntryGuard hook(TFindDialog::StaticClass(), &Hook);
  Action = Mode::Capture;
  TFindDialog dialog(nullptr);
  ASSERT_TRUE(dialog.Execute());
  Application->ProcessMessages();  // the posted WM_CLOSE closes the captured dialog
  EXPECT_EQ(dialog.Handle(), nullptr);
  EXPECT_EQ(OldProc, nullptr);
  ASSERT_FALSE(Captured.empty());
  EXPECT_EQ(Captured[0], "Caption=Find");
  EXPECT_NE(std::find(Captured.begin(), Captured.end(), "Caption[1]=&Find Next"), Captured.end());
}
