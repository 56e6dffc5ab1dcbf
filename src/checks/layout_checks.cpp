// The checks of the dialog as the entries leave it: texts that do not fit their control in its
// font, controls that leave the dialog or overlap another, and mnemonics used twice, dropped or
// added. A layout fault is reported only when the entries cause it: a control that the dialog
// itself draws cut off or overlapping (comdlg32 stacks hidden controls on each other) is no fault
// of the translation. The same judgement of fit and places also runs on a dialog as it is shown,
// against the dialog shown untranslated (ShownFaults).
#include <algorithm>
#include <map>

#include "checks/checker.hpp"
#include "vcl/Classes.hpp"
#include "vcl/CodePages.hpp"
#include "win/control_kind.h"

namespace checks::detail {

TextRoom RoomOf(const ControlLayout& C) {
  TextRoom t;
  const int w = C.Rect.right - C.Rect.left, h = C.Rect.bottom - C.Rect.top;
  t.Draws = true;
  t.Height = h;
  switch (win::KindOfControl(C.ClassName, C.Style)) {
    case win::ControlKind::Label: {
      const win::LabelText how = win::LabelTextOf(C.Style);
      t.Wraps = how.Wraps;
      t.Prefix = how.Prefix;
      t.Width = w;
      return t;
    }
    case win::ControlKind::PushButton: t.Width = w - 8; break;  // frame and focus rectangle on both sides
    case win::ControlKind::GroupBox: t.Width = w - 16; break;   // the title between the corners
    case win::ControlKind::CheckBox:
    case win::ControlKind::RadioButton: t.Width = w - 16; break;  // the 13-pixel box and its gap, as Wine draws them
    default: return TextRoom{};  // pictures, owner-drawn buttons, and boxes whose text is content
  }
  t.Wraps = (C.Style & BS_MULTILINE) != 0;
  return t;
}

std::string WithoutPrefix(std::string_view Text, bool Prefix) {
  std::string out;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Prefix && Text[i] == '&' && i + 1 < Text.size()) ++i;
    out += Text[i];
  }
  return out;
}

char16_t Folded(char16_t C) {
  if ((C >= u'A' && C <= u'Z') || (C >= 0xC0 && C <= 0xDE && C != 0xD7) || (C >= 0x391 && C <= 0x3AB && C != 0x3A2) ||
      (C >= 0x410 && C <= 0x42F))
    return static_cast<char16_t>(C + 32);
  if (C >= 0x400 && C <= 0x40F) return static_cast<char16_t>(C + 80);
  return C;
}

std::optional<MnemonicAt> FindMnemonic(std::string_view Text, int Page) {
  for (std::size_t i = 0; i + 1 < Text.size(); i += vcl::CharLength(Page, Text, i)) {
    if (Text[i] != '&') continue;
    if (Text[i + 1] == '&') {
      ++i;
      continue;
    }
    const std::size_t length = vcl::CharLength(Page, Text, i + 1);
    const std::optional<char16_t> c = vcl::CharToUtf16(Page, Text.substr(i + 1, length));
    return MnemonicAt{i, length, Folded(c.value_or(u'\uFFFD'))};
  }
  return std::nullopt;
}

std::optional<char16_t> Mnemonic(std::string_view Text, int Page) {
  const std::optional<MnemonicAt> m = FindMnemonic(Text, Page);
  if (!m) return std::nullopt;
  return m->Letter;
}

std::string Letter(char16_t C, int Page) { return vcl::FromUtf16Char(Page, C).value_or("?"); }


TextFit MeasureText(TextMeasure& M, const ControlLayout& C, const TextRoom& Room, int Page) {
  TextFit f;
  const std::string shown = WithoutPrefix(C.Text, Room.Prefix);
  // Each line of the text on its own; a label also wraps between words.
  f.Lines = 0;
  for (const std::string_view line : vcl::DrawnLines(shown)) {
    const TextMeasure::Extent whole = M.Measure(C.Font, Page, line);
    f.Face = whole.Face, f.LineHeight = whole.LineHeight, f.Width = std::max(f.Width, whole.Width);
    if (!Room.Wraps || whole.Width <= Room.Width) {
      ++f.Lines;
      if (whole.Width > Room.Width) f.Fits = false;
    } else {
      int used = 0;
      ++f.Lines;
      std::size_t w = 0;
      while (w < line.size()) {
        std::size_t e = line.find(' ', w);
        if (e == std::string::npos) e = line.size();
        const int word = M.Measure(C.Font, Page, line.substr(w, e - w)).Width;
        const int gap = used ? M.Measure(C.Font, Page, " ").Width : 0;
        if (word > Room.Width) f.Fits = false;
        if (used && used + gap + word > Room.Width) ++f.Lines, used = word;
        else used += gap + word;
        w = e + 1;
      }
    }
  }
  if (f.Lines * f.LineHeight > Room.Height && f.Lines > 1) f.Fits = false;
  return f;
}

const Parsed* CauseOfFit(const AppliedDialog& After, std::size_t I) {
  return After.Caption[I] ? After.Caption[I] : After.Geometry[I] ? After.Geometry[I] : After.Font;
}

std::optional<TextFit> UnfitText(TextMeasure& M, const AppliedDialog& After, const DialogLayout& Ref, std::size_t I) {
  const ControlLayout& a = After.Layout.Controls[I];
  const ControlLayout& b = Ref.Controls[I];
  if (!CauseOfFit(After, I) || !a.Visible() || a.Text.empty()) return std::nullopt;
  const TextRoom room = RoomOf(a);
  if (!room.Draws) return std::nullopt;
  const TextFit fit = MeasureText(M, a, room, After.Layout.CodePage);
  if (fit.Fits) return std::nullopt;
  if (!b.Text.empty() && !MeasureText(M, b, RoomOf(b), Ref.CodePage).Fits) return std::nullopt;  // the dialog's own text is cut off too
  return fit;
}

namespace {

void CheckFit(Findings& F, TextMeasure& M, const AppliedDialog& After, const DialogLayout& Ref, std::size_t I) {
  const std::optional<TextFit> unfit = UnfitText(M, After, Ref, I);
  if (!unfit) return;
  const TextFit& fit = *unfit;
  const ControlLayout& a = After.Layout.Controls[I];
  const TextRoom room = RoomOf(a);
  const Parsed* cause = CauseOfFit(After, I);
  std::string reason = "text " + Quoted(a.Text) + " is " + std::to_string(fit.Width) + " px wide in " + fit.Face + " " +
                       std::to_string(-a.Font.Height) + " px";
  if (fit.Lines > 1)
    reason += ", " + std::to_string(fit.Lines) + " lines of " + std::to_string(fit.LineHeight) + " px";
  reason += "; control " + std::to_string(a.Id) + " (" + Size(a.Rect) + ") has room for " + std::to_string(room.Width) + " px";
  if (room.Wraps) reason += " by " + std::to_string(room.Height) + " px";
  F.Report(*cause, Severity::Error, Fault::Fit, reason, a.Rect);
}

bool Inside(const RECT& R, const RECT& Box) {
  return R.left >= Box.left && R.top >= Box.top && R.right <= Box.right && R.bottom <= Box.bottom;
}
bool Meet(const RECT& A, const RECT& B) {
  return A.left < B.right && B.left < A.right && A.top < B.bottom && B.top < A.bottom && A.left < A.right && A.top < A.bottom &&
         B.left < B.right && B.top < B.bottom;
}

void CheckPlaces(Findings& F, const AppliedDialog& After, const DialogLayout& Ref) {
  const RECT clientBefore{0, 0, Ref.ClientWidth(), Ref.ClientHeight()};
  const RECT clientAfter{0, 0, After.Layout.ClientWidth(), After.Layout.ClientHeight()};
  const auto& a = After.Layout.Controls;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!a[i].Visible()) continue;
    const Parsed* moved = After.Geometry[i];
    if (!Inside(a[i].Rect, clientAfter) && Inside(Ref.Controls[i].Rect, clientBefore) && (moved || After.WindowSize))
      F.Report(moved ? *moved : *After.WindowSize, Severity::Error, Fault::Outside,
             "control " + std::to_string(a[i].Id) + " (" + Place(a[i].Rect) + ") leaves the dialog's client area (" +
                 Size(clientAfter) + ")",
             a[i].Rect);
    for (std::size_t j = i + 1; j < a.size(); ++j) {
      if (!a[j].Visible() || !Meet(a[i].Rect, a[j].Rect) || Meet(Ref.Controls[i].Rect, Ref.Controls[j].Rect)) continue;
      const std::size_t mover = After.Geometry[i] ? i : j, other = mover == i ? j : i;
      if (!After.Geometry[mover]) continue;
      F.Report(*After.Geometry[mover], Severity::Error, Fault::Overlap,
             "control " + std::to_string(a[mover].Id) + " (" + Place(a[mover].Rect) + ") overlaps control " +
                 std::to_string(a[other].Id) + " " + Quoted(a[other].Text) + " (" + Place(a[other].Rect) + ")",
             a[mover].Rect);
    }
  }
}

void CheckMnemonics(Findings& F, const AppliedDialog& After, const DialogLayout& Ref) {
  const auto& a = After.Layout.Controls;
  const int page = After.Layout.CodePage;
  std::map<char16_t, std::vector<std::size_t>> byLetter;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const TextRoom room = RoomOf(a[i]);
    if (!room.Draws || !room.Prefix) continue;
    if (const Parsed* p = After.Caption[i]) {
      const std::optional<RECT> where = a[i].Visible() ? std::optional<RECT>(a[i].Rect) : std::nullopt;
      const bool had = Mnemonic(Ref.Controls[i].Text, Ref.CodePage).has_value();
      const bool has = Mnemonic(a[i].Text, page).has_value();
      if (had && !has) F.Report(*p, Severity::Warning, Fault::MnemonicDropped, "drops the & mnemonic of the original " + Quoted(Ref.Controls[i].Text), where);
      if (!had && has) F.Report(*p, Severity::Warning, Fault::MnemonicAdded, "adds a & mnemonic that the original " + Quoted(Ref.Controls[i].Text) + " does not have", where);
    }
    if (!a[i].Visible()) continue;
    if (const auto m = Mnemonic(a[i].Text, page)) byLetter[*m].push_back(i);
  }
  for (const auto& [letter, controls] : byLetter) {
    if (controls.size() < 2) continue;
    for (const std::size_t i : controls) {
      if (!After.Caption[i]) continue;
      std::string others;
      for (const std::size_t j : controls)
        if (j != i) others += (others.empty() ? "" : ", ") + std::to_string(a[j].Id) + " " + Quoted(a[j].Text);
      F.Report(*After.Caption[i], Severity::Error, Fault::MnemonicClash, "mnemonic &" + Letter(letter, page) + " is also that of control " + others,
             a[i].Rect);
    }
  }
}

}  // namespace

void CheckLayout(Findings& F, TextMeasure& Measure, const AppliedDialog& After, const DialogLayout& Ref) {
  for (std::size_t i = 0; i < Ref.Controls.size(); ++i) CheckFit(F, Measure, After, Ref, i);
  CheckPlaces(F, After, Ref);
  CheckMnemonics(F, After, Ref);
}

}  // namespace checks::detail

namespace checks {

namespace {

// The control of the untranslated dialog that a control of the translated one is: the one in
// its place in the chain when it has the same id and class, else the first with its id.
const ControlLayout* Counterpart(const DialogLayout& Untranslated, const ControlLayout& C, std::size_t I) {
  if (I < Untranslated.Controls.size()) {
    const ControlLayout& u = Untranslated.Controls[I];
    if (u.Id == C.Id && u.ClassName == C.ClassName) return &u;
  }
  for (const ControlLayout& u : Untranslated.Controls)
    if (u.Id == C.Id && u.ClassName == C.ClassName) return &u;
  return nullptr;
}

bool SameRect(const RECT& A, const RECT& B) {
  return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}

Problem ShownProblem(const DialogLayout& D, const std::string& Property, const ControlLayout& C, Fault Kind, std::string Reason) {
  Problem p;
  p.Key = Property + "[" + std::to_string(C.Id) + "]";
  p.Level = Severity::Error;
  p.Kind = Kind;
  p.Reason = std::move(Reason);
  p.ClassName = D.ClassName;
  p.Place = C.Rect;
  return p;
}

}  // namespace

std::vector<Problem> ShownFaults(const DialogLayout& Untranslated, const DialogLayout& Translated, TextMeasure& Measure) {
  using namespace detail;
  std::vector<Problem> found;
  const auto& t = Translated.Controls;
  std::vector<const ControlLayout*> before(t.size());
  for (std::size_t i = 0; i < t.size(); ++i) before[i] = Counterpart(Untranslated, t[i], i);

  for (std::size_t i = 0; i < t.size(); ++i) {
    if (!t[i].Visible() || t[i].Text.empty()) continue;
    const TextRoom room = RoomOf(t[i]);
    if (!room.Draws) continue;
    const TextFit fit = detail::MeasureText(Measure, t[i], room, Translated.CodePage);
    if (fit.Fits) continue;
    const ControlLayout* b = before[i];
    if (b && !b->Text.empty() && !detail::MeasureText(Measure, *b, RoomOf(*b), Untranslated.CodePage).Fits) continue;  // cut off untranslated too
    std::string reason = "text " + Quoted(t[i].Text) + " is " + std::to_string(fit.Width) + " px wide in " + fit.Face + " " +
                         std::to_string(-t[i].Font.Height) + " px";
    if (fit.Lines > 1) reason += ", " + std::to_string(fit.Lines) + " lines of " + std::to_string(fit.LineHeight) + " px";
    reason += "; control " + std::to_string(t[i].Id) + " (" + Size(t[i].Rect) + ") has room for " + std::to_string(room.Width) + " px";
    if (room.Wraps) reason += " by " + std::to_string(room.Height) + " px";
    found.push_back(ShownProblem(Translated, "Caption", t[i], Fault::Fit, std::move(reason)));
  }

  const RECT clientBefore{0, 0, Untranslated.ClientWidth(), Untranslated.ClientHeight()};
  const RECT clientAfter{0, 0, Translated.ClientWidth(), Translated.ClientHeight()};
  const auto moved = [&](std::size_t I) { return !before[I] || !SameRect(before[I]->Rect, t[I].Rect); };
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (!t[i].Visible()) continue;
    if (!Inside(t[i].Rect, clientAfter) && before[i] && Inside(before[i]->Rect, clientBefore))
      found.push_back(ShownProblem(Translated, "Left", t[i], Fault::Outside,
                                   "control " + std::to_string(t[i].Id) + " (" + Place(t[i].Rect) + ") leaves the dialog's client area (" +
                                       Size(clientAfter) + ")"));
    for (std::size_t j = i + 1; j < t.size(); ++j) {
      if (!t[j].Visible() || !Meet(t[i].Rect, t[j].Rect)) continue;
      if (before[i] && before[j] && Meet(before[i]->Rect, before[j]->Rect)) continue;  // as the dialog lays them out
      const std::size_t mover = moved(i) || !moved(j) ? i : j, other = mover == i ? j : i;
      found.push_back(ShownProblem(Translated, "Left", t[mover], Fault::Overlap,
                                   "control " + std::to_string(t[mover].Id) + " (" + Place(t[mover].Rect) + ") overlaps control " +
                                       std::to_string(t[other].Id) + " " + Quoted(t[other].Text) + " (" + Place(t[other].Rect) + ")"));
    }
  }
  return found;
}

}  // namespace checks
