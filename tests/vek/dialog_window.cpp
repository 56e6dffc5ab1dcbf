// The dialog window of the translator tests.
#include "dialog_window.hpp"

#include <map>

namespace vek_test {

std::vector<UINT>& OwnProcedureLog() {
  static std::vector<UINT> log;
  return log;
}
std::function<void(HWND, UINT, WPARAM)> OwnProcedureReaction;

namespace {

// A dialog-like window class that keeps the font it is given, as a dialog made from a template
// does; a bare window of the dialog class does not under Windows.
std::map<HWND, HFONT>& Fonts() {
  static std::map<HWND, HFONT> fonts;
  return fonts;
}

LRESULT CALLBACK TestDialogProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  OwnProcedureLog().push_back(Msg);
  if (OwnProcedureReaction) OwnProcedureReaction(Hwnd, Msg, WParam);
  switch (Msg) {
    case WM_SETFONT: Fonts()[Hwnd] = reinterpret_cast<HFONT>(WParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(Fonts()[Hwnd]);
    case WM_NCDESTROY: Fonts().erase(Hwnd); break;
    case WM_CLOSE: return 0;  // a dialog turns it into Cancel; it does not destroy itself
    default: break;
  }
  return DefWindowProcA(Hwnd, Msg, WParam, LParam);
}

const char* TestDialogClass() {
  static const char* const name = testing_support::RegisterTestWindowClass("LumetraTestDialog", &TestDialogProc);
  return name;
}

HWND Add(HWND Parent, const char* Class, const char* Text, int Id, int X, int Y, int W, int H) {
  return CreateWindowExA(0, Class, Text, WS_CHILD | WS_VISIBLE, X, Y, W, H, Parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), GetModuleHandleA(nullptr), nullptr);
}
}  // namespace

DialogWindow::DialogWindow() {
  FHandle = CreateWindowExA(0, TestDialogClass(), "Open", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 400, 300, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  LOGFONTA lf{};
  lf.lfHeight = -11;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = ANSI_CHARSET;
  std::string("MS Sans Serif").copy(lf.lfFaceName, LF_FACESIZE - 1);
  FFont = CreateFontIndirectA(&lf);
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), 0);
  Add(FHandle, "Static", "File &name:", stc3, 10, 10, 80, 20);
  Add(FHandle, "Edit", "", edt1, 100, 10, 150, 20);
  Add(FHandle, "Static", "Look &in:", 65535, 10, 40, 80, 20);
  Add(FHandle, "Button", "OK", IDOK, 300, 10, 75, 23);
  Add(FHandle, "Button", "&Help", psh1, 300, 40, 75, 23);
}

DialogWindow::~DialogWindow() {
  if (IsWindow(FHandle)) DestroyWindow(FHandle);
  DeleteObject(FFont);
}

HWND DialogWindow::Child(int N) const {
  HWND w = GetWindow(FHandle, GW_CHILD);
  for (int i = 1; w && i < N; ++i) w = GetWindow(w, GW_HWNDNEXT);
  return w;
}

std::string FaceOf(HWND Window) { return FontOf(Window).lfFaceName; }
int CharsetOf(HWND Window) {
  const LOGFONTA lf = FontOf(Window);
  return lf.lfFaceName[0] ? lf.lfCharSet : -1;
}

}  // namespace vek_test
