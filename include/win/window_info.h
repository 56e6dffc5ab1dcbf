// Reading a window as the recorder, the demo and the tests describe it: text, class, rectangles
// and font, through the window services only.
#pragma once

#include <optional>
#include <string>

#include "win/api.h"

namespace win {

/// The window's whole text (WM_GETTEXTLENGTH, then WM_GETTEXT); empty for no window.
std::string WindowText(HWND Hwnd);
/// The window's class name; empty for no window.
std::string ClassNameOf(HWND Hwnd);
/// The window's outer rectangle in the client coordinates of Container.
RECT RectInClientOf(HWND Hwnd, HWND Container);
/// The window's client area in screen coordinates.
RECT ClientRectOnScreen(HWND Hwnd);

struct WindowFont {
  std::string Face;
  int Charset;
  int Height;
};
/// The font the window uses (WM_GETFONT read with GetObjectA); nullopt for the system font.
std::optional<WindowFont> FontOf(HWND Hwnd);

}  // namespace win
