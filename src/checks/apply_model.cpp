// The checks' model of the apply step: the dialog as a translator leaves it after the entries of
// its class, in ordinal order, each Font entry starting again from the dialog's own font, sizes
// taken as MoveWindow takes them (the outer extent). tests/scenarios/apply_model_test.cpp keeps it
// alike with the real pass on both window systems. The texts are in the code page of the class's
// Font.Charset entry (Vek::TextCodePage); a BiDiMode that mirrors the layout mirrors the
// rectangles last, as the window system mirrors the coordinates the entries give. Sizes and
// positions of entries captured at another DPI than the dialog's (the class's PixelsPerInch
// entry) go through the dialog's units, as the apply step converts them.
#include "checks/checker.hpp"
#include "vcl/Classes.hpp"

namespace checks::detail {

using Vek::EntryKind;
using Vek::FontField;

AppliedDialog ApplyEntries(const DialogLayout& Ref, const std::vector<const Parsed*>& Entries, Findings& F, bool ReportFaults,
                           TextMeasure& Measure) {
  AppliedDialog s{Ref, std::vector<const Parsed*>(Ref.Controls.size()), std::vector<const Parsed*>(Ref.Controls.size())};
  vcl::TStringList lines;
  for (const Parsed* p : Entries) lines.Add(p->Source->Line);
  const std::optional<int> charset = Vek::CharsetOf(lines, Ref.ClassName);
  s.Layout.CodePage = Vek::TextCodePage(charset);
  s.TextCharset = charset.value_or(Ref.Font.Charset);
  int entryDpi = Vek::DefaultPixelsPerInch;
  for (const Parsed* p : Entries)
    if (p->E.Kind == EntryKind::PixelsPerInch && Vek::IsPixelsPerInch(p->Number)) entryDpi = p->Number;
  const int dpi = Ref.PixelsPerInch;
  s.EntryPixelsPerInch = entryDpi;
  if (entryDpi != dpi) {
    FontSpec then = Ref.Font;
    then.Height = Vek::FontHeightAt(Ref.Font.Height, dpi, entryDpi);
    s.UnitsThen = BaseUnitsOf(then, Measure), s.UnitsNow = BaseUnitsOf(Ref.Font, Measure);
    if (s.UnitsThen.x <= 0 || s.UnitsThen.y <= 0 || s.UnitsNow.x <= 0 || s.UnitsNow.y <= 0)
      s.UnitsThen = {entryDpi, entryDpi}, s.UnitsNow = {dpi, dpi};
  }
  const Parsed* charsetEntry = nullptr;
  std::optional<Vek::BiDiMode> bidi;
  for (const Parsed* p : Entries) {
    const Vek::Entry& e = p->E;
    const bool across = e.Kind == EntryKind::WindowWidth || e.Kind == EntryKind::ChildLeft || e.Kind == EntryKind::ChildWidth;
    const int number = s.Scaled(p->Number, across);
    const ControlLayout* found = e.IsChildKind() ? Ref.Find(*e.Id()) : nullptr;
    if (e.IsChildKind() && !found && ReportFaults) ReportMissingControl(F, *p, Ref, *e.Id());
    if (p->Value.empty() && !F.Input.TranslateEmpty) continue;
    if (e.Kind == EntryKind::WindowCaption) {
      s.Layout.Title = p->Value;
      continue;
    }
    if (e.Kind == EntryKind::Font) {
      // Each Font entry starts again from the dialog's own font.
      FontSpec f = Ref.Font;
      if (e.Font == FontField::Name) f.Face = p->Value.substr(0, 31);
      if (e.Font == FontField::Charset) f.Charset = p->Number & 0xFF, charsetEntry = p;
      // The texts stay in the entry's code page; what the name undoes shows only where the font
      // the controls get back lacks glyphs, which the glyph check reports.
      if (e.Font == FontField::Name && charsetEntry && (charsetEntry->Number & 0xFF) != Ref.Font.Charset)
        s.UndoneCharset = charsetEntry, s.UndoingName = p;
      if (e.Font == FontField::Charset) s.UndoneCharset = s.UndoingName = nullptr;
      for (ControlLayout& c : s.Layout.Controls) c.Font = f;
      s.Font = p;
      continue;
    }
    if (e.Kind == EntryKind::BiDiMode) {
      bidi = Vek::ParseBiDiMode(p->Value);
      continue;
    }
    if (e.Kind == EntryKind::WindowWidth || e.Kind == EntryKind::WindowHeight) {
      RECT& w = s.Layout.Window;
      RECT& c = s.Layout.Client;
      // The frame keeps its size: only the client part of a size goes through the units.
      const int frame = e.Kind == EntryKind::WindowWidth ? (w.right - w.left) - (c.right - c.left) : (w.bottom - w.top) - (c.bottom - c.top);
      const int size = entryDpi == dpi ? p->Number : std::max(0, s.Scaled(p->Number - Vek::Rescaled(frame, entryDpi, dpi), across)) + frame;
      if (e.Kind == EntryKind::WindowWidth) c.right += size - (w.right - w.left), w.right = w.left + size;
      else c.bottom += size - (w.bottom - w.top), w.bottom = w.top + size;
      s.WindowSize = p;
      continue;
    }
    if (!found) continue;
    const auto index = static_cast<std::size_t>(found - Ref.Controls.data());
    ControlLayout& c = s.Layout.Controls[index];
    RECT& r = c.Rect;
    switch (e.Kind) {
      case EntryKind::ChildCaption: c.Text = p->Value, s.Caption[index] = p; break;
      case EntryKind::ChildLeft: r.right += number - r.left, r.left = number, s.Geometry[index] = p; break;
      case EntryKind::ChildTop: r.bottom += number - r.top, r.top = number, s.Geometry[index] = p; break;
      case EntryKind::ChildWidth: r.right = r.left + number, s.Geometry[index] = p; break;
      case EntryKind::ChildHeight: r.bottom = r.top + number, s.Geometry[index] = p; break;
      default: break;
    }
  }
  s.Layout.Mirrored = bidi == Vek::BiDiMode::RightToLeft || bidi == Vek::BiDiMode::RightToLeftNoAlign;
  if (s.Layout.Mirrored) {
    const int w = s.Layout.ClientWidth();
    for (ControlLayout& c : s.Layout.Controls) c.Rect = RECT{w - c.Rect.right, c.Rect.top, w - c.Rect.left, c.Rect.bottom};
  }
  return s;
}

}  // namespace checks::detail
