// Dialog layouts for the checks and the preview: the win layer's layout of a recording or of a
// shown window, with the fonts resolved to what the checks measure with.
#include "checks/checks.hpp"

namespace checks {

namespace {

// A window without a font of its own uses the system font, which the tables do not hold; its
// controls are then measured as the dialog face. Controls without a font of their own use the
// dialog's, which is what they are drawn with.
DialogLayout Resolved(win::DialogLayout&& Layout, std::string ClassName) {
  DialogLayout d{std::move(Layout), std::move(ClassName)};
  if (d.SystemFont) d.Font = FontSpec{"MS Shell Dlg", 1, -11};
  for (ControlLayout& c : d.Controls)
    if (c.SystemFont) c.Font = d.Font;
  return d;
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
  return Resolved(win::LayoutOf(Dialog), std::move(ClassName));
}

DialogLayout LayoutFromWindow(HWND Dialog, std::string ClassName) {
  return Resolved(win::ReadDialog(Dialog), std::move(ClassName));
}

}  // namespace checks
