// Shared helpers of the tests that show windows and dialogs.
#include "dialog_support.hpp"

namespace testing_support {

VCL_IMPLEMENT_CLASS(TMyOpenDialog, vcl::TOpenDialog)

std::string TextOf(HWND Window, int Size) {
  std::string buf(static_cast<std::size_t>(Size > 0 ? Size : 1), '\0');
  const LRESULT n = SendMessageA(Window, WM_GETTEXT, static_cast<WPARAM>(buf.size()), reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return buf;
}

RECT PlaceOf(HWND Child) {
  RECT r{};
  GetWindowRect(Child, &r);
  POINT p{r.left, r.top};
  ScreenToClient(GetParent(Child), &p);
  return RECT{p.x, p.y, r.right - r.left, r.bottom - r.top};
}

LOGFONTA FontOf(HWND Window) {
  LOGFONTA lf{};
  lf.lfCharSet = 0xFF;
  if (!GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Window, WM_GETFONT, 0, 0)), sizeof lf, &lf)) lf.lfFaceName[0] = 0;
  return lf;
}

const char* RegisterTestWindowClass(const char* Name, WNDPROC Proc) {
  WNDCLASSA c{};
  c.lpfnWndProc = Proc;
  c.hInstance = GetModuleHandleA(nullptr);
  c.lpszClassName = Name;
  RegisterClassA(&c);
  return Name;
}

EntryGuard::EntryGuard(vcl::TClass Class, vcl::TCommonDialog::TMessageHookEntry Entry)
    : FClass(Class), FSaved(Class->Entry(vcl::TCommonDialog::MessageHookSlot())) {
  FClass->SetEntry(vcl::TCommonDialog::MessageHookSlot(), reinterpret_cast<vcl::TCodePointer>(Entry));
}

EntryGuard::~EntryGuard() { FClass->SetEntry(vcl::TCommonDialog::MessageHookSlot(), FSaved); }

}  // namespace testing_support
