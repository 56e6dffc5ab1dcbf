// A dialog layout from a recording and from a shown window.
#include "win/dialog_layout.h"

#include "win/window_info.h"

namespace win {

namespace {

void SetFont(const RecordedFont& Font, DialogFont& To, bool& SystemFont) {
  SystemFont = Font.Face == nullptr;
  if (!SystemFont) To = DialogFont{Font.Face, Font.Charset, Font.Height};
}

void SetFont(HWND Hwnd, DialogFont& To, bool& SystemFont) {
  const std::optional<DialogFont> font = FontOf(Hwnd);
  SystemFont = !font;
  if (font) To = *font;
}

}  // namespace

DialogLayout LayoutOf(const RecordedDialog& Dialog) {
  DialogLayout d;
  d.Title = Dialog.Title;
  d.Window = Dialog.Window;
  d.Client = Dialog.Client;
  SetFont(Dialog.Font, d.Font, d.SystemFont);
  d.Style = static_cast<std::uint32_t>(Dialog.Style);
  d.Controls.reserve(Dialog.Controls.size());
  for (const RecordedControl& r : Dialog.Controls) {
    ControlLayout& c = d.Controls.emplace_back();
    c.Position = r.Position;
    c.Id = r.Id;
    c.ClassName = r.ClassName;
    c.Text = r.Text;
    c.Rect = r.Rect;
    c.Style = static_cast<std::uint32_t>(r.Style);
    SetFont(r.Font, c.Font, c.SystemFont);
  }
  return d;
}

DialogLayout ReadDialog(HWND Dialog) {
  DialogLayout d;
  d.Title = WindowText(Dialog);
  GetWindowRect(Dialog, &d.Window);
  d.Client = ClientRectOnScreen(Dialog);
  SetFont(Dialog, d.Font, d.SystemFont);
  d.Style = static_cast<std::uint32_t>(GetWindowLongPtrA(Dialog, GWL_STYLE));
  int position = 0;
  for (HWND child = GetWindow(Dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    ControlLayout& c = d.Controls.emplace_back();
    c.Position = ++position;
    c.Id = GetDlgCtrlID(child);
    c.ClassName = ClassNameOf(child);
    c.Text = WindowText(child);
    c.Rect = RectInClientOf(child, Dialog);
    c.Style = static_cast<std::uint32_t>(GetWindowLongPtrA(child, GWL_STYLE));
    SetFont(child, c.Font, c.SystemFont);
  }
  return d;
}

}  // namespace win
