// The fit: geometry entries that make translated texts fit their controls.
//
// Notes:
// - The layout is worked on in pixels of the DPI the class's entries are captured at (its
//   PixelsPerInch entry, else 96), on its template as laid out there; how much room a text needs
//   is measured at each DPI asked for, as the apply step will convert the entries there, and
//   taken back through the dialog's units, rounded up. The largest need of all DPIs wins.
// - A grown control pushes the controls that were after it on its row, and below it, as far as
//   they must go to keep the gap they had (at most MaxGap); a group box keeps its margin around
//   what it held, and moves what it holds with it; the dialog grows to keep its margin around
//   its controls. Hidden controls are left where they are: comdlg32 stacks them on each other.
// - One control's growth is kept only when the dialog stays within the work area at every DPI;
//   otherwise its text is reported and nothing is changed for it.
// - The apply model's rounding may leave a text a pixel short after a round, so the fit runs
//   again on its own entries until nothing changes (a few rounds at most).
#include "checks/fit.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "checks/checker.hpp"
#include "win/control_kind.h"

namespace checks {

namespace {

using detail::AppliedDialog;
using detail::Findings;
using detail::Parsed;

constexpr int MaxGap = 7;    // the most room kept between a pushed control and the one pushing it
constexpr int MaxRounds = 6;

// Value at the dialog's units Then as pixels at Now, rounded up: a room that is at least Value.
int AtLeast(int Value, int Now, int Then) {
  if (Now <= 0 || Then <= 0 || Now == Then) return Value;
  int v = Vek::Rescaled(Value, Then, Now);
  while (Vek::Rescaled(v, Now, Then) < Value) ++v;
  return v;
}

bool RowsMeet(const RECT& A, const RECT& B) { return A.top < B.bottom && B.top < A.bottom; }
bool ColumnsMeet(const RECT& A, const RECT& B) { return A.left < B.right && B.left < A.right; }
bool Holds(const RECT& Outer, const RECT& Inner) {
  return Inner.left >= Outer.left && Inner.top >= Outer.top && Inner.right <= Outer.right && Inner.bottom <= Outer.bottom;
}

// The controls of a dialog as the fit moves them, with where they were before it.
struct Boxes {
  std::vector<RECT> Now, Before;
  std::vector<bool> Shown;
  std::vector<std::vector<std::size_t>> Held;  // by a group box: the controls inside it before the fit
  int ClientWidth = 0, ClientHeight = 0;

  explicit Boxes(const DialogLayout& L) : ClientWidth(L.ClientWidth()), ClientHeight(L.ClientHeight()) {
    for (const ControlLayout& c : L.Controls) Now.push_back(c.Rect), Shown.push_back(c.Visible());
    Before = Now;
    Held.resize(Now.size());
    for (std::size_t g = 0; g < Now.size(); ++g) {
      if (!Shown[g] || win::KindOfControl(L.Controls[g].ClassName, L.Controls[g].Style) != win::ControlKind::GroupBox) continue;
      for (std::size_t c = 0; c < Now.size(); ++c)
        if (c != g && Shown[c] && Holds(Before[g], Before[c])) Held[g].push_back(c);
    }
  }

  bool Related(std::size_t A, std::size_t B) const {
    return std::find(Held[A].begin(), Held[A].end(), B) != Held[A].end() || std::find(Held[B].begin(), Held[B].end(), A) != Held[B].end();
  }

  void Move(std::size_t I, int Dx, int Dy) {
    const auto shift = [&](RECT& R) { R.left += Dx, R.right += Dx, R.top += Dy, R.bottom += Dy; };
    shift(Now[I]);
    for (const std::size_t c : Held[I]) shift(Now[c]);
  }

  // Pushes and grows until every control keeps its gap to those it was before, and every group
  // box its margin around what it held. Answers false when the layout runs off any screen.
  bool Settle() {
    const std::size_t n = Now.size();
    for (int round = 0; round < 400; ++round) {
      bool changed = false;
      for (std::size_t a = 0; a < n; ++a) {
        if (!Shown[a]) continue;
        for (std::size_t b = 0; b < n; ++b) {
          if (a == b || !Shown[b] || Related(a, b)) continue;
          if (Before[b].left >= Before[a].right && RowsMeet(Before[a], Before[b])) {
            const int need = Now[a].right + std::min<int>(Before[b].left - Before[a].right, MaxGap) - Now[b].left;
            if (need > 0 && RowsMeet(Now[a], Now[b])) Move(b, need, 0), changed = true;
          } else if (Before[b].top >= Before[a].bottom && ColumnsMeet(Now[a], Now[b])) {
            const int need = Now[a].bottom + std::min<int>(Before[b].top - Before[a].bottom, MaxGap) - Now[b].top;
            if (need > 0) Move(b, 0, need), changed = true;
          }
        }
        for (const std::size_t c : Held[a]) {
          const int right = Now[c].right + std::min<int>(Before[a].right - Before[c].right, MaxGap) - Now[a].right;
          const int bottom = Now[c].bottom + std::min<int>(Before[a].bottom - Before[c].bottom, MaxGap) - Now[a].bottom;
          if (right > 0) Now[a].right += right, changed = true;
          if (bottom > 0) Now[a].bottom += bottom, changed = true;
        }
      }
      for (const RECT& r : Now)
        if (r.right > Vek::ScreenLimit || r.bottom > Vek::ScreenLimit) return false;
      if (!changed) return true;
    }
    return false;
  }

  // The client area that keeps the dialog's margin around the shown controls the fit moved or
  // grew (one that was outside already is left to the checks).
  SIZE Client() const {
    int right0 = 0, bottom0 = 0, right = 0, bottom = 0;
    for (std::size_t i = 0; i < Now.size(); ++i) {
      if (!Shown[i]) continue;
      right0 = std::max<int>(right0, Before[i].right), bottom0 = std::max<int>(bottom0, Before[i].bottom);
      const RECT& was = Before[i];
      if (Now[i].left == was.left && Now[i].top == was.top && Now[i].right == was.right && Now[i].bottom == was.bottom) continue;
      right = std::max<int>(right, Now[i].right), bottom = std::max<int>(bottom, Now[i].bottom);
    }
    const int marginX = std::clamp(ClientWidth - right0, 0, 2 * MaxGap), marginY = std::clamp(ClientHeight - bottom0, 0, 2 * MaxGap);
    return SIZE{std::max(ClientWidth, right + marginX), std::max(ClientHeight, bottom + marginY)};
  }
};

// The dialog of one class at one DPI the texts must fit at.
struct AtDpi {
  int Dpi = 0;
  const DialogLayout* Ref = nullptr;
};

// What one text needs, in pixels of the DPI of the layout it was measured on: the outer width and
// height of its control.
SIZE Needed(TextMeasure& M, const ControlLayout& C, int Page, const detail::TextFit& Fit) {
  const detail::TextRoom room = detail::RoomOf(C);
  const int width = C.Rect.right - C.Rect.left, height = C.Rect.bottom - C.Rect.top;
  const int pad = width - room.Width;
  SIZE need{std::max(width, Fit.Width + pad), height};
  if (!room.Wraps) {
    if (Fit.Lines > 1) need.cy = std::max(height, Fit.Lines * Fit.LineHeight);
    return need;
  }
  // A wrapping text gets the narrowest width at which it takes no more lines than its height
  // holds; at its widest line it takes one line per line of its own.
  ControlLayout tried = C;
  const auto fitsAt = [&](int W) {
    tried.Rect.right = tried.Rect.left + W;
    return detail::MeasureText(M, tried, detail::RoomOf(tried), Page).Fits;
  };
  int low = width, high = static_cast<int>(need.cx);
  if (!fitsAt(high)) {
    need.cy = std::max(height, Fit.Lines * Fit.LineHeight);
    tried.Rect.bottom = tried.Rect.top + need.cy;
    const detail::TextFit widest = detail::MeasureText(M, tried, detail::RoomOf(tried), Page);
    need.cy = std::max<LONG>(need.cy, widest.Lines * widest.LineHeight);
    return need;
  }
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (fitsAt(mid)) high = mid;
    else low = mid + 1;
  }
  need.cx = high;
  return need;
}

// The usable entries of ClassName among Entries, in the ordinal order of their lines.
struct ClassPass {
  std::vector<SourceEntry> Lines;
  std::vector<Parsed> All;
  std::vector<const Parsed*> Usable;
};

void Parse(ClassPass& P, Findings& F) {
  P.All.clear(), P.Usable.clear();
  P.All.reserve(P.Lines.size());
  for (const SourceEntry& s : P.Lines) P.All.push_back(detail::ParseEntry(s, F));
  for (const Parsed& p : P.All)
    if (p.Usable) P.Usable.push_back(&p);
  std::stable_sort(P.Usable.begin(), P.Usable.end(), [](const Parsed* a, const Parsed* b) { return a->Source->Line < b->Source->Line; });
}

// The id an entry addresses control I of Ref by: its own when that finds it, else its place.
int AddressOf(const DialogLayout& Ref, std::size_t I) {
  const int id = Ref.Controls[I].Id;
  return id > 0 && Ref.Find(id) == &Ref.Controls[I] ? id : -static_cast<int>(I + 1);
}

void Unmirror(DialogLayout& L) {
  if (!L.Mirrored) return;
  const int w = L.ClientWidth();
  for (ControlLayout& c : L.Controls) c.Rect = RECT{w - c.Rect.right, c.Rect.top, w - c.Rect.left, c.Rect.bottom};
  L.Mirrored = false;
}

std::string Dimensions(int W, int H) { return std::to_string(W) + " x " + std::to_string(H); }

class ClassFit {
public:
  ClassFit(const FitInput& In, TextMeasure& M, const std::string& ClassName, std::vector<SourceEntry> Lines)
      : FIn(In), FMeasure(M), FClass(ClassName), FQuiet(In.Input), FFindings(FQuiet) {
    FQuiet.Reported.reset();
    FPass.Lines = std::move(Lines);
  }

  // Fits the class's entries; the changed and new lines go to Written, by key.
  void Run() {
    Parse(FPass, FFindings);
    int entryDpi = Vek::DefaultPixelsPerInch;
    for (const Parsed* p : FPass.Usable)
      if (p->E.Kind == Vek::EntryKind::PixelsPerInch && Vek::IsPixelsPerInch(p->Number)) entryDpi = p->Number;
    const DialogLayout* base = FIn.Reference(FClass, entryDpi);
    if (!base) return;
    std::vector<AtDpi> dpis;
    for (const int d : FIn.PixelsPerInch.empty() ? std::vector<int>{Vek::DefaultPixelsPerInch} : FIn.PixelsPerInch)
      if (const DialogLayout* r = FIn.Reference(FClass, d)) dpis.push_back({d, r});
    for (int round = 0; round < MaxRounds; ++round)
      if (!Round(*base, dpis)) break;
  }

  std::map<std::string, std::string> Written;  // key -> line
  std::vector<Problem> Unfitted;
  const std::vector<SourceEntry>& Lines() const { return FPass.Lines; }

private:
  struct Need {
    SIZE Size{0, 0};
    int LineNumber = 0;
    std::string Key, Text;
  };

  // One round: what every DPI needs, grown in the entries' pixels. Answers whether it changed
  // an entry.
  bool Round(const DialogLayout& Base, const std::vector<AtDpi>& Dpis) {
    std::map<std::size_t, Need> needs;
    std::vector<std::pair<SIZE, AppliedDialog>> atDpi;  // the frame at each DPI, and the dialog there
    for (const AtDpi& d : Dpis) {
      AppliedDialog a = detail::ApplyEntries(*d.Ref, FPass.Usable, FFindings, false, FMeasure);
      for (std::size_t i = 0; i < a.Layout.Controls.size(); ++i) {
        if (FGivenUp.count(i)) continue;
        const std::optional<detail::TextFit> unfit = detail::UnfitText(FMeasure, a, *d.Ref, i);
        if (!unfit) continue;
        const ControlLayout& c = a.Layout.Controls[i];
        const SIZE there = Needed(FMeasure, c, a.Layout.CodePage, *unfit);
        const SIZE here{AtLeast(static_cast<int>(there.cx), a.UnitsNow.x, a.UnitsThen.x),
                        AtLeast(static_cast<int>(there.cy), a.UnitsNow.y, a.UnitsThen.y)};
        Need& n = needs[i];
        n.Size.cx = std::max(n.Size.cx, here.cx), n.Size.cy = std::max(n.Size.cy, here.cy);
        const Parsed* cause = detail::CauseOfFit(a, i);
        n.LineNumber = cause->Source->LineNumber, n.Key = detail::KeyOf(*cause), n.Text = c.Text;
      }
      const SIZE frame{(a.Layout.Window.right - a.Layout.Window.left) - a.Layout.ClientWidth(),
                       (a.Layout.Window.bottom - a.Layout.Window.top) - a.Layout.ClientHeight()};
      atDpi.emplace_back(frame, std::move(a));
    }
    if (needs.empty()) return false;
    AppliedDialog here = detail::ApplyEntries(Base, FPass.Usable, FFindings, false, FMeasure);
    Unmirror(here.Layout);
    Boxes boxes(here.Layout);
    for (const auto& [i, need] : needs) {
      Boxes tried = boxes;
      const RECT r = tried.Now[i];
      tried.Now[i].right = r.left + std::max<int>(need.Size.cx, r.right - r.left);
      tried.Now[i].bottom = r.top + std::max<int>(need.Size.cy, r.bottom - r.top);
      const bool settled = tried.Settle();
      const SIZE client = tried.Client();
      std::string beyond;
      for (std::size_t d = 0; settled && beyond.empty() && d < atDpi.size(); ++d) {
        const auto& [frame, a] = atDpi[d];
        const int w = a.Scaled(static_cast<int>(client.cx), true) + static_cast<int>(frame.cx);
        const int h = a.Scaled(static_cast<int>(client.cy), false) + static_cast<int>(frame.cy);
        if (w > FIn.WorkWidth || h > FIn.WorkHeight)
          beyond = "the dialog would be " + Dimensions(w, h) + " px at " + std::to_string(Dpis[d].Dpi) + " dpi, beyond a " +
                   Dimensions(FIn.WorkWidth, FIn.WorkHeight) + " work area";
      }
      if (!settled) beyond = "its controls would be pushed off the screen";
      if (!beyond.empty()) {
        FGivenUp.insert(i);
        Unfitted.push_back({FIn.Input.File, need.LineNumber, need.Key, Severity::Error, Fault::Fit,
                            "text " + detail::Quoted(need.Text) + " is not fitted: " + beyond, FClass, here.Layout.Controls[i].Rect});
        continue;
      }
      boxes = std::move(tried);
    }
    return Write(Base, here, boxes);
  }

  // The key of an entry of Kind for control I: that of an entry that sets it already (by
  // whichever id it addresses the control), else the control's own id or place.
  std::string KeyFor(const DialogLayout& Base, std::size_t I, Vek::EntryKind Kind, const char* Property) const {
    for (const Parsed* p : FPass.Usable)
      if (p->E.Kind == Kind && p->E.Id() && Base.Find(*p->E.Id()) == &Base.Controls[I]) return detail::KeyOf(*p);
    return FClass + "." + Property + "[" + std::to_string(AddressOf(Base, I)) + "]";
  }

  bool Write(const DialogLayout& Base, const AppliedDialog& Here, const Boxes& B) {
    using Vek::EntryKind;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < B.Now.size(); ++i) {
      const RECT& was = Here.Layout.Controls[i].Rect;
      const RECT& now = B.Now[i];
      const auto put = [&](EntryKind Kind, const char* Property, LONG Value) {
        lines.push_back(KeyFor(Base, i, Kind, Property) + "=" + std::to_string(Value));
      };
      if (now.left != was.left) put(EntryKind::ChildLeft, "Left", now.left);
      if (now.top != was.top) put(EntryKind::ChildTop, "Top", now.top);
      if (now.right - now.left != was.right - was.left) put(EntryKind::ChildWidth, "Width", now.right - now.left);
      if (now.bottom - now.top != was.bottom - was.top) put(EntryKind::ChildHeight, "Height", now.bottom - now.top);
    }
    const SIZE client = B.Client();
    const RECT& w = Here.Layout.Window;
    if (client.cx != Here.Layout.ClientWidth())
      lines.push_back(FClass + ".Width=" + std::to_string(client.cx + (w.right - w.left) - Here.Layout.ClientWidth()));
    if (client.cy != Here.Layout.ClientHeight())
      lines.push_back(FClass + ".Height=" + std::to_string(client.cy + (w.bottom - w.top) - Here.Layout.ClientHeight()));
    if (lines.empty()) return false;
    for (const std::string& line : lines) {
      const std::string key(Vek::EntryKey(line));
      Written[key] = line;
      const auto same = std::find_if(FPass.Lines.begin(), FPass.Lines.end(), [&](const SourceEntry& e) { return Vek::EntryKey(e.Line) == key; });
      if (same != FPass.Lines.end()) same->Line = line;
      else FPass.Lines.push_back({line, 0});
    }
    Parse(FPass, FFindings);
    return true;
  }

  const FitInput& FIn;
  TextMeasure& FMeasure;
  std::string FClass;
  CheckInput FQuiet;
  Findings FFindings;
  ClassPass FPass;
  std::set<std::size_t> FGivenUp;
};

}  // namespace

FitResult FitEntries(const FitInput& Input) {
  FitResult result;
  RecordedMeasure recorded;
  TextMeasure& measure = Input.Input.Measure ? *Input.Input.Measure : recorded;
  // The classes in the order of their first entries.
  std::vector<std::string> classes;
  for (const SourceEntry& s : Input.Input.Entries) {
    const Vek::Entry e = Vek::Entry::Split(std::string_view(s.Line));
    if (e.HasClass && std::find(classes.begin(), classes.end(), e.ClassPart) == classes.end()) classes.emplace_back(e.ClassPart);
  }
  std::map<std::string, std::string> written;
  for (const std::string& c : classes) {
    std::vector<SourceEntry> lines;
    for (const SourceEntry& s : Input.Input.Entries)
      if (Vek::Entry::Split(std::string_view(s.Line)).AppliesTo(c)) lines.push_back(s);
    ClassFit fit(Input, measure, c, std::move(lines));
    fit.Run();
    for (auto& [key, line] : fit.Written) result.Written.push_back(line), written[key] = line;
    for (Problem& p : fit.Unfitted) result.Unfitted.push_back(std::move(p));
  }
  // The input's lines with the changed ones replaced on their line, then the new ones.
  std::set<std::string> placed;
  for (SourceEntry s : Input.Input.Entries) {
    const std::string key(Vek::EntryKey(s.Line));
    if (const auto w = written.find(key); w != written.end() && placed.insert(key).second) s.Line = w->second;
    result.Entries.push_back(std::move(s));
  }
  for (const std::string& line : result.Written)
    if (placed.insert(std::string(Vek::EntryKey(line))).second) result.Entries.push_back({line, 0});
  return result;
}

}  // namespace checks
