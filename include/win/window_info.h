// Reading one window through the window services only: text, class, rectangles and font (what
// win::ReadDialog reads of a dialog and of each of its children).
#pragma once

#include <optional>
#include <string>

#include "win/api.h"
#include "win/dialog_layout.h"

namespace win {

/// The window's whole text (WM_GETTEXTLENGTH, then WM_GETTEXT); empty for no window.
std::string WindowText(HWND Hwnd);
/// The window's class name; empty for no window.
std::string ClassNameOf(HWND Hwnd);
/// The window's outer rectangle in the client coordinates of Container.
RECT RectInClientOf(HWND Hwnd, HWND Container);
/// The window's client area in screen coordinates.
RECT ClientRectOnScreen(HWND Hwnd);

/// The font the window uses (WM_GETFONT read with GetObjectA); nullopt for the system font (no
/// font of its own) and for a font GetObjectA cannot read.
std::optional<DialogFont> FontOf(HWND Hwnd);

}  // namespace win
