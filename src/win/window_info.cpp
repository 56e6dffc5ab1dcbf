// Reading a window's text, class, rectangles and font.
#include "win/window_info.h"

#include <cstring>

namespace win {

std::string WindowText(HWND Hwnd) {
  const LRESULT length = SendMessageA(Hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::string buf(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, '\0');
  const LRESULT got = SendMessageA(Hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  return buf;
}

std::string ClassNameOf(HWND Hwnd) {
  char name[256];
  const int n = GetClassNameA(Hwnd, name, sizeof name);
  return std::string(name, static_cast<std::size_t>(n > 0 ? n : 0));
}

RECT RectInClientOf(HWND Hwnd, HWND Container) {
  RECT r{};
  GetWindowRect(Hwnd, &r);
  POINT a{r.left, r.top}, b{r.right, r.bottom};
  ScreenToClient(Container, &a);
  ScreenToClient(Container, &b);
  return RECT{a.x, a.y, b.x, b.y};
}

RECT ClientRectOnScreen(HWND Hwnd) {
  RECT client{};
  GetClientRect(Hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(Hwnd, &origin);
  return RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

std::optional<DialogFont> FontOf(HWND Hwnd) {
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(Hwnd, WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (!font || GetObjectA(font, sizeof lf, &lf) != sizeof lf) return std::nullopt;
  return DialogFont{std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)), lf.lfCharSet, lf.lfHeight};
}

}  // namespace win
