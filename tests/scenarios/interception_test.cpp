// Scenarios on both window systems: a dialog class's hook intercepts the dialog window the way
// the translator does (a procedure in front of the dialog's own, installed from an owner-side
// message, removed on WM_CLOSE/WM_DESTROY) and changes or reads the dialog through it.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "test_support.hpp"
#include "vcl/Dialogs.hpp"

using namespace vcl;

namespace {

// The interception slot of these scenarios.
WNDPROC OldProc = nullptr;
HWND Intercepted = nullptr;
std::vector<std::string> Captured;
std::vector<HFONT> Fonts;
int Passes = 0;
enum class Mode { Translate, Capture } Action = Mode::Translate;

std::string TextOf(HWND Hwnd) {
  char buf[240];
  SendMessageA(Hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return buf;
}

void Translate(HWND Dialog) {
  ++Passes;
  SendMessageA(Dialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Ouvrir un fichier"));
  if (HWND label = GetDlgItem(Dialog, 1090)) {
    SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("&Dateiname:"));
    RECT r;
    GetWindowRect(label, &r);
    POINT p{r.left, r.top};
    ScreenToClient(Dialog, &p);
    MoveWindow(label, 20, p.y, r.right - r.left, r.bottom - r.top, FALSE);
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
  int position = 0;
  for (HWND c = GetWindow(Dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    ++position;
    const std::string text = TextOf(c);
    if (!text.empty()) Captured.push_back("Caption[" + std::to_string(GetDlgCtrlID(c)) + "]=" + text);
  }
  PostMessageA(Dialog, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK InterceptProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const LRESULT result = CallWindowProcA(OldProc, Hwnd, Msg, WParam, LParam);
  if ((Msg == WM_DESTROY || Msg == WM_CLOSE) && OldProc) {
    SetWindowLongPtrA(Hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldProc));
    OldProc = nullptr;
  } else if (Msg == WM_ACTIVATE || Msg == WM_CTLCOLORDLG) {
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

bool CommonHook(TCommonDialog* Self, TMessage& Msg) {
  const bool handled = TCommonDialog::MessageHookEntry(Self, Msg);
  if (Msg.Msg == WM_WINDOWPOSCHANGED) Intercept(GetActiveWindow());
  if (Msg.Msg == WM_ENTERIDLE && Self->Is<TColorDialog>() && !OldProc) {
    Intercept(GetActiveWindow());
    if (OldProc) SendMessageA(Intercepted, WM_ACTIVATE, 0, 0);
  }
  return handled;
}

bool FindHook(TCommonDialog* Self, TMessage& Msg) {
  const bool handled = TFindDialog::MessageHookEntry(Self, Msg);
  if (Msg.Msg == WM_KILLFOCUS) Intercept(reinterpret_cast<HWND>(Msg.WParam));
  return handled;
}

struct Registered {
  TClass Class;
  TCodePointer Saved;
  Registered(TClass AClass, TCommonDialog::TMessageHookEntry Entry)
      : Class(AClass), Saved(AClass->Entry(TCommonDialog::MessageHookSlot())) {
    Class->SetEntry(TCommonDialog::MessageHookSlot(), reinterpret_cast<TCodePointer>(Entry));
  }
  ~Registered() { Class->SetEntry(TCommonDialog::MessageHookSlot(), Saved); }
};

struct Shown {
  std::string Title, Label1090, LabelFont;
  LONG LabelLeft = -1;
};
Shown Read;
void CALLBACK ReadAndCancel(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  const HWND dialog = GetActiveWindow();
  Read.Title = TextOf(dialog);
  const HWND label = GetDlgItem(dialog, 1090);
  Read.Label1090 = TextOf(label);
  RECT r;
  GetWindowRect(label, &r);
  POINT p{r.left, r.top};
  ScreenToClient(dialog, &p);
  Read.LabelLeft = p.x;
  LOGFONTA lf{};
  if (GetObjectA(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), sizeof lf, &lf)) Read.LabelFont = lf.lfFaceName;
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

class Interception : public ::testing::Test {
protected:
  void SetUp() override {
    OldProc = nullptr;
    Intercepted = nullptr;
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
  Registered hook(TOpenDialog::StaticClass(), &CommonHook);
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
    EXPECT_EQ(Read.Label1090, c.Label);
    EXPECT_EQ(Read.LabelLeft, c.Left);
    EXPECT_EQ(Read.LabelFont, c.Font);
    EXPECT_EQ(OldProc, nullptr) << "the window got its own procedure back when it closed";
  }
}

TEST_F(Interception, TheColourDialogIsInterceptedOnIdleAndTranslatedAtOnce) {
  Registered hook(TColorDialog::StaticClass(), +[](TCommonDialog* Self, TMessage& Msg) {
    const bool handled = CommonHook(Self, Msg);
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
  Registered hook(TFindDialog::StaticClass(), &FindHook);
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
