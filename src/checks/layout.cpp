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
  DialogLayout d = Resolved(win::ReadDialog(Dialog), std::move(ClassName));
  d.PixelsPerInch = Vek::ScreenPixelsPerInch(Dialog);
  return d;
}

POINT BaseUnitsOf(const FontSpec& Font, TextMeasure& Measure) {
  const TextMeasure::Extent e = Measure.Measure(Font, 1252, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return POINT{(e.Width / 26 + 1) / 2, e.LineHeight};
}

DialogLayout AtPixelsPerInch(const DialogLayout& Layout, int Dpi, TextMeasure& Measure) {
  const int from = Layout.PixelsPerInch;
  if (Dpi == from || !Vek::IsPixelsPerInch(Dpi)) return Layout;
  DialogLayout d = Layout;
  d.PixelsPerInch = Dpi;
  d.Font.Height = Vek::FontHeightAt(Layout.Font.Height, from, Dpi);
  POINT then = BaseUnitsOf(Layout.Font, Measure), now = BaseUnitsOf(d.Font, Measure);
  // A font the measure does not know scales with the DPI.
  if (then.x <= 0 || then.y <= 0 || now.x <= 0 || now.y <= 0) then = {from, from}, now = {Dpi, Dpi};
  // A template places each control at x with width cx in dialog units, each mapped on its own.
  const auto across = [&](LONG& Left, LONG& Right) {
    const int width = static_cast<int>(Right - Left);
    Left = Vek::Rescaled(static_cast<int>(Left), now.x, then.x);
    Right = Left + Vek::Rescaled(width, now.x, then.x);
  };
  const auto down = [&](LONG& Top, LONG& Bottom) {
    const int height = static_cast<int>(Bottom - Top);
    Top = Vek::Rescaled(static_cast<int>(Top), now.y, then.y);
    Bottom = Top + Vek::Rescaled(height, now.y, then.y);
  };
  for (ControlLayout& c : d.Controls) {
    across(c.Rect.left, c.Rect.right);
    down(c.Rect.top, c.Rect.bottom);
    c.Font.Height = Vek::FontHeightAt(c.Font.Height, from, Dpi);
  }
  // The client area keeps its place on the screen; the frame around it grows with the DPI.
  const RECT w = Layout.Window, c = Layout.Client;
  d.Client.right = c.left + Vek::Rescaled(Layout.ClientWidth(), now.x, then.x);
  d.Client.bottom = c.top + Vek::Rescaled(Layout.ClientHeight(), now.y, then.y);
  d.Window = RECT{c.left - Vek::Rescaled(static_cast<int>(c.left - w.left), Dpi, from),
                  c.top - Vek::Rescaled(static_cast<int>(c.top - w.top), Dpi, from),
                  d.Client.right + Vek::Rescaled(static_cast<int>(w.right - c.right), Dpi, from),
                  d.Client.bottom + Vek::Rescaled(static_cast<int>(w.bottom - c.bottom), Dpi, from)};
  return d;
}

}  // namespace checks
