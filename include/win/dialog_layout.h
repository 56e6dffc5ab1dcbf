// A shown dialog as data: its window, its font and its direct children, made from a recording or
// read from a live window. The checks, the recorder, the demo and the Windows tests share it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "win/api.h"
#include "win/recorded_dialogs.h"

namespace win {

/// A font as a window uses it (its LOGFONT's face, character set and height).
struct DialogFont {
  std::string Face;
  int Charset = 1;
  int Height = -11;
};

/// One direct child of a dialog, in z-order.
struct ControlLayout {
  int Position = 0;  ///< 1-based place in the GW_CHILD / GW_HWNDNEXT chain
  int Id = 0;        ///< as GetDlgCtrlID reports it
  std::string ClassName, Text;
  RECT Rect{};  ///< in the dialog's client coordinates
  std::uint32_t Style = 0;
  DialogFont Font;
  /// The window has no font of its own (WM_GETFONT gives 0) and draws with the system font.
  /// LayoutOf and ReadDialog then leave Font empty; the checks resolve it to the dialog's font.
  bool SystemFont = false;
  bool Visible() const { return (Style & WS_VISIBLE) != 0; }
};

/// The dialog window and its direct children.
struct DialogLayout {
  std::string Title;
  RECT Window{};  ///< outer rectangle, screen coordinates
  RECT Client{};  ///< client area, screen coordinates (the frame lies between the two)
  DialogFont Font;
  bool SystemFont = false;  ///< as for a control: no font of its own, Font left empty
  std::uint32_t Style = 0;
  std::vector<ControlLayout> Controls;

  int ClientWidth() const { return Client.right - Client.left; }
  int ClientHeight() const { return Client.bottom - Client.top; }
};

/// The recorded dialog as a layout; never fails.
DialogLayout LayoutOf(const RecordedDialog& Dialog);
/// The shown dialog Dialog as a layout, read through the window services: text, rectangles,
/// font and style of the window and of each direct child. A window that is gone reads as empty.
DialogLayout ReadDialog(HWND Dialog);

}  // namespace win
