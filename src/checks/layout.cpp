// Dialog layouts for the checks and the preview: from the recordings and from shown windows.
#include <cstring>

#include "checks/checks.hpp"
#include "win/window_info.h"

namespace checks {

namespace {

// Controls without a font of their own use the dialog's, which is what they are drawn with.
FontSpec FontOr(const win::RecordedFont& Font, const FontSpec& Dialog) {
  if (!Font.Face) return Dialog;
  return FontSpec{Font.Face, Font.Charset, Font.Height};
}

FontSpec FontOr(const std::optional<win::WindowFont>& Font, const FontSpec& Dialog) {
  if (!Font) return Dialog;
  return FontSpec{Font->Face, Font->Charset, Font->Height};
}

}  // namespace

const ControlLayout* DialogLayout::Find(int Id) const {
  if (Id < 0) {
    const auto n = static_cast<std::size_t>(-static_cast<long long>(Id));
    return n <= Controls.size() ? &Controls[n - 1] : nullptr;
  }
  for (const ControlLayout& c : Controls)
    if (c.Id == Id) return &c;
  return nullptr;
}

DialogLayout LayoutFromRecorded(const win::RecordedDialog& Dialog, std::string ClassName) {
  DialogLayout d;
  d.ClassName = std::move(ClassName);
  d.Title = Dialog.Title;
  d.Window = Dialog.Window;
  d.Client = Dialog.Client;
  // A window without a font of its own uses the system font, which the tables do not hold;
  // its controls are then measured as the dialog face.
  d.Font = FontOr(Dialog.Font, FontSpec{"MS Shell Dlg", 1, -11});
  for (const win::RecordedControl& c : Dialog.Controls)
    d.Controls.push_back({c.Position, c.Id, c.ClassName, c.Text, c.Rect, static_cast<std::uint32_t>(c.Style), FontOr(c.Font, d.Font)});
  return d;
}

DialogLayout LayoutFromWindow(HWND Dialog, std::string ClassName) {
  DialogLayout d;
  d.ClassName = std::move(ClassName);
  d.Title = win::WindowText(Dialog);
  GetWindowRect(Dialog, &d.Window);
  d.Client = win::ClientRectOnScreen(Dialog);
  d.Font = FontOr(win::FontOf(Dialog), FontSpec{"MS Shell Dlg", 1, -11});
  int position = 0;
  for (HWND c = GetWindow(Dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    d.Controls.push_back({++position, GetDlgCtrlID(c), win::ClassNameOf(c), win::WindowText(c), win::RectInClientOf(c, Dialog),
                          static_cast<std::uint32_t>(GetWindowLongPtrA(c, GWL_STYLE)), FontOr(win::FontOf(c), d.Font)});
  return d;
}

}  // namespace checks
