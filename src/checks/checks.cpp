// The checks of translation entries: syntax, control ids, integers, code pages, texts that do
// not fit, controls that overlap or leave the dialog, mnemonics and stale originals.
//
// Notes:
// - A dialog is judged as the apply step leaves it: the entries of its class in ordinal order,
//   each Font entry starting again from the dialog's own font, sizes taken as MoveWindow takes
//   them (the outer extent), so that what the check reports is what the user will see.
// - Layout faults are reported only when the entries cause them: a control that the dialog
//   itself draws cut off or overlapping (comdlg32 stacks hidden controls on each other) is no
//   fault of the translation.
#include <algorithm>
#include <map>
#include <set>

#include "Vek.hpp"
#include "vcl/CodePages.hpp"
#include "checks/checks.hpp"
#include "win/control_kind.h"

namespace checks {

namespace {

using Vek::EntryKind;
using Vek::FontField;

std::string Quoted(std::string_view Text) { return "'" + std::string(Text) + "'"; }
std::string Size(const RECT& R) { return std::to_string(R.right - R.left) + " x " + std::to_string(R.bottom - R.top); }
std::string Place(const RECT& R) { return Size(R) + " at " + std::to_string(R.left) + "," + std::to_string(R.top); }

bool IsIntegerKind(const Vek::Entry& E) {
  switch (E.Kind) {
    case EntryKind::WindowWidth: case EntryKind::WindowHeight: case EntryKind::ChildLeft:
    case EntryKind::ChildTop: case EntryKind::ChildWidth: case EntryKind::ChildHeight: return true;
    case EntryKind::Font: return E.Font == FontField::Charset;
    default: return false;
  }
}

// An entry after its syntax checks.
struct Parsed {
  const SourceEntry* Source = nullptr;
  Vek::Entry E;
  std::string Value;  // decoded
  int Number = 0;     // integer kinds
  bool Usable = false;
};

class Checker {
public:
  explicit Checker(const CheckInput& Input) : FIn(Input) {
    if (!FIn.Measure) {
      FOwnMeasure = std::make_unique<RecordedMeasure>();
      FMeasure = FOwnMeasure.get();
    } else {
      FMeasure = FIn.Measure;
    }
  }

  CheckResult Run() {
    std::vector<Parsed> parsed;
    parsed.reserve(FIn.Entries.size());
    for (const SourceEntry& s : FIn.Entries) parsed.push_back(ParseEntry(s));
    std::map<std::string, std::vector<const Parsed*>, std::less<>> byClass;
    for (const Parsed& p : parsed)
      if (p.Usable) byClass[std::string(p.E.ClassPart)].push_back(&p);
    for (const std::string& line : FIn.Originals) {
      const Vek::Entry e = Vek::Entry::Split(std::string_view(line));
      if (e.HasClass) FOriginals[std::string(Vek::EntryKey(line))] = std::string(Vek::EntryValue(line));
    }
    for (auto& [className, entries] : byClass) {
      // The apply step walks the list in ordinal order of the whole line.
      std::stable_sort(entries.begin(), entries.end(), [](const Parsed* a, const Parsed* b) { return a->Source->Line < b->Source->Line; });
      const DialogLayout* ref = FIn.Reference ? FIn.Reference(className) : nullptr;
      if (!ref) {
        Report(*entries.front(), Severity::Warning, Fault::NoDialog,
               "no dialog of class " + className + " to check against (none on the form and no capture of it): its ids, "
               "texts and rectangles are not checked");
        continue;
      }
      CheckDialog(className, *ref, entries);
    }
    std::stable_sort(FProblems.begin(), FProblems.end(), [](const Problem& a, const Problem& b) { return a.Line < b.Line; });
    return {std::move(FProblems), std::move(FApplied)};
  }

  // The dialog after the entries, with for each control the entries that changed it.
  struct State {
    DialogLayout Layout;
    std::vector<const Parsed*> Caption, Geometry;  // per control
    const Parsed* WindowSize = nullptr;
    const Parsed* Font = nullptr;
  };

  State Apply(const DialogLayout& Ref, const std::vector<const Parsed*>& Entries, bool ReportMissing) {
    State s{Ref, std::vector<const Parsed*>(Ref.Controls.size()), std::vector<const Parsed*>(Ref.Controls.size())};
    const Parsed* charsetEntry = nullptr;
    for (const Parsed* p : Entries) {
      const Vek::Entry& e = p->E;
      const ControlLayout* found = e.IsChildKind() ? Ref.Find(*e.Id()) : nullptr;
      if (e.IsChildKind() && !found && ReportMissing) ReportMissingControl(*p, Ref, *e.Id());
      if (p->Value.empty() && !FIn.TranslateEmpty) continue;
      if (e.Kind == EntryKind::WindowCaption) {
        s.Layout.Title = p->Value;
        continue;
      }
      if (e.Kind == EntryKind::Font) {
        // Each Font entry starts again from the dialog's own font.
        FontSpec f = Ref.Font;
        if (e.Font == FontField::Name) f.Face = p->Value.substr(0, 31);
        if (e.Font == FontField::Charset) f.Charset = p->Number & 0xFF, charsetEntry = p;
        if (e.Font == FontField::Name && charsetEntry && ReportMissing && (charsetEntry->Number & 0xFF) != Ref.Font.Charset)
          Report(*charsetEntry, Severity::Warning, Fault::CharsetUndone,
                 "undone by " + Key(*p) + ", which is applied after it and gives the controls the dialog's own character set " +
                     std::to_string(Ref.Font.Charset) + " again");
        for (ControlLayout& c : s.Layout.Controls) c.Font = f;
        s.Font = p;
        continue;
      }
      if (e.Kind == EntryKind::WindowWidth || e.Kind == EntryKind::WindowHeight) {
        RECT& w = s.Layout.Window;
        RECT& c = s.Layout.Client;
        if (e.Kind == EntryKind::WindowWidth) c.right += p->Number - (w.right - w.left), w.right = w.left + p->Number;
        else c.bottom += p->Number - (w.bottom - w.top), w.bottom = w.top + p->Number;
        s.WindowSize = p;
        continue;
      }
      if (!found) continue;
      const auto index = static_cast<std::size_t>(found - Ref.Controls.data());
      ControlLayout& c = s.Layout.Controls[index];
      RECT& r = c.Rect;
      switch (e.Kind) {
        case EntryKind::ChildCaption: c.Text = p->Value, s.Caption[index] = p; break;
        case EntryKind::ChildLeft: r.right += p->Number - r.left, r.left = p->Number, s.Geometry[index] = p; break;
        case EntryKind::ChildTop: r.bottom += p->Number - r.top, r.top = p->Number, s.Geometry[index] = p; break;
        case EntryKind::ChildWidth: r.right = r.left + p->Number, s.Geometry[index] = p; break;
        case EntryKind::ChildHeight: r.bottom = r.top + p->Number, s.Geometry[index] = p; break;
        default: break;
      }
    }
    return s;
  }

  Parsed Parse(const SourceEntry& S);

private:
  const CheckInput& FIn;
  std::unique_ptr<RecordedMeasure> FOwnMeasure;
  TextMeasure* FMeasure;
  std::map<std::string, std::string, std::less<>> FOriginals;
  std::vector<Problem> FProblems;
  std::map<std::string, DialogLayout, std::less<>> FApplied;  // each judged class's dialog after its entries

  static std::string Key(const Parsed& P) { return std::string(Vek::EntryKey(P.Source->Line)); }

  void Report(const Parsed& P, Severity Level, Fault Kind, std::string Reason, std::optional<RECT> Where = std::nullopt) {
    if (!FIn.Reported.test(static_cast<std::size_t>(Kind))) return;
    FProblems.push_back({FIn.File, P.Source->LineNumber, Key(P), Level, Kind, std::move(Reason),
                         P.E.HasClass ? std::string(P.E.ClassPart) : std::string(), Where});
  }

  Parsed ParseEntry(const SourceEntry& S) {
    Parsed p;
    p.Source = &S;
    p.E = Vek::Entry::Split(std::string_view(S.Line));
    const Vek::Entry& e = p.E;
    if (!e.HasClass) return Report(p, Severity::Error, Fault::Syntax, "no \".\": the entry names no dialog class"), p;
    if (e.ClassPart.empty()) return Report(p, Severity::Error, Fault::Syntax, "empty class name before the \".\""), p;
    if (S.Line.find('=') == std::string::npos) return Report(p, Severity::Error, Fault::Syntax, "no \"=\": the entry has no value"), p;
    if (e.Kind == EntryKind::Ignored)
      return Report(p, Severity::Error, Fault::UnknownProperty,
                    "unknown property '" + std::string(e.Property) +
                        "' (Caption, Font.Name, Font.Charset, Width, Height, or Caption, Left, Top, Width, Height with [id])"),
             p;
    if (e.Kind == EntryKind::Font && e.Font == FontField::Other)
      Report(p, Severity::Warning, Fault::UnknownProperty, "'" + std::string(e.Property) + "' is no font field: it only gives the controls the dialog's own font again");
    if (e.IsChildKind()) {
      if (!e.HasId) return Report(p, Severity::Error, Fault::Syntax, "no \"]\" after the control id"), p;
      if (!e.Id()) return Report(p, Severity::Error, Fault::Syntax, "control id '" + std::string(e.IdText) + "' is not a decimal integer"), p;
      const std::size_t close = e.Property.find(']');
      if (close + 1 < e.Property.size())
        Report(p, Severity::Warning, Fault::Syntax, "'" + std::string(e.Property.substr(close + 1)) + "' after \"]\" is ignored");
    }
    try {
      p.Value = e.DecodedValue();
    } catch (const vcl::Exception& ex) {
      return Report(p, Severity::Error, Fault::Syntax, "the value is no valid literal: " + ex.Message()), p;
    }
    if (Vek::EntryValue(S.Line).size() < S.Line.size() - S.Line.find('=') - 1)
      Report(p, Severity::Warning, Fault::TooLong, "the value is longer than 4095 characters; the rest is ignored");
    if (p.Value.empty() && !FIn.TranslateEmpty) {
      Report(p, Severity::Warning, Fault::EmptyValue, "empty value: the entry is skipped (TranslateEmpty is off)");
      p.Usable = true;
      return p;
    }
    if (IsIntegerKind(e)) {
      const auto number = Vek::ParseDecimal(p.Value);
      if (!number) return Report(p, Severity::Error, Fault::NotAnInteger, "value " + Quoted(p.Value) + " is not a decimal integer"), p;
      p.Number = *number;
      // The apply step takes such a value as a screen holds it, and so does the judgement here.
      const int onScreen = Vek::OnScreen(e.Kind, p.Number);
      const std::string takenAs = "; it is taken as " + std::to_string(onScreen);
      if (Vek::IsSizeKind(e.Kind) && p.Number < 0)
        Report(p, Severity::Error, Fault::BeyondScreen, "negative size " + std::to_string(p.Number) + takenAs);
      else if (Vek::IsSizeKind(e.Kind) && onScreen != p.Number)
        Report(p, Severity::Error, Fault::BeyondScreen, "size " + std::to_string(p.Number) + " is more than a screen holds (at most " +
                                       std::to_string(Vek::ScreenLimit) + " px)" + takenAs);
      else if (onScreen != p.Number)
        Report(p, Severity::Error, Fault::BeyondScreen, "position " + std::to_string(p.Number) + " is beyond what a screen holds (" +
                                       std::to_string(-Vek::ScreenLimit) + " to " + std::to_string(Vek::ScreenLimit) + " px)" +
                                       takenAs);
      p.Number = onScreen;
      if (e.Kind == EntryKind::Font && (p.Number < 0 || p.Number > 255))
        Report(p, Severity::Warning, Fault::Charset, "character set " + std::to_string(p.Number) + " is taken as " + std::to_string(p.Number & 0xFF) +
                                         " (its low 8 bits)");
    }
    p.Usable = true;
    return p;
  }

  void ReportMissingControl(const Parsed& P, const DialogLayout& Ref, int Id) {
    // A control the captured values know but a fresh capture lacks has gone since the capture.
    const std::string idText = "[" + std::to_string(Id) + "]";
    const std::string prefix = std::string(P.E.ClassPart) + ".";
    for (const char* kind : {"Left", "Caption", "Width"}) {
      if (FOriginals.count(prefix + kind + idText)) {
        Report(P, Severity::Error, Fault::Stale, "stale: control " + std::to_string(Id) + " is gone from a fresh capture of " + Ref.ClassName);
        return;
      }
    }
    if (Id < 0)
      Report(P, Severity::Error, Fault::UnknownId, Ref.ClassName + " has no child " + std::to_string(-static_cast<long long>(Id)) + " (it has " +
                                     std::to_string(Ref.Controls.size()) + ")");
    else Report(P, Severity::Error, Fault::UnknownId, Ref.ClassName + " has no control with id " + std::to_string(Id));
  }

  // The value a fresh capture writes for the entry's key, decoded; nothing when it has no such control.
  static std::optional<std::string> CurrentValue(const DialogLayout& Ref, const Vek::Entry& E) {
    const RECT& w = Ref.Window;
    switch (E.Kind) {
      case EntryKind::WindowCaption: return Ref.Title;
      case EntryKind::Font:
        if (E.Font == FontField::Name) return Ref.Font.Face;
        if (E.Font == FontField::Charset) return std::to_string(Ref.Font.Charset);
        return std::nullopt;
      case EntryKind::WindowWidth: return std::to_string(w.right - w.left + 1);
      case EntryKind::WindowHeight: return std::to_string(w.bottom - w.top + 1);
      default: break;
    }
    const ControlLayout* c = Ref.Find(*E.Id());
    if (!c) return std::nullopt;
    switch (E.Kind) {
      case EntryKind::ChildCaption: return c->Text;
      case EntryKind::ChildLeft: return std::to_string(c->Rect.left);
      case EntryKind::ChildTop: return std::to_string(c->Rect.top);
      case EntryKind::ChildWidth: return std::to_string(c->Rect.right - c->Rect.left + 1);
      case EntryKind::ChildHeight: return std::to_string(c->Rect.bottom - c->Rect.top + 1);
      default: return std::nullopt;
    }
  }

  void CheckStale(const DialogLayout& Ref, const Parsed& P) {
    const auto original = FOriginals.find(Key(P));
    if (original == FOriginals.end()) return;
    // Content differs from machine to machine and from one showing to the next: no translation
    // goes stale by it.
    if (!Vek::IsForTranslation(Vek::EntryLine(original->first, original->second), FIn.Form)) return;
    const auto now = CurrentValue(Ref, P.E);
    if (!now) return;
    // The capture writes texts between quotes as they are, without doubling quotes in them.
    const std::string& raw = original->second;
    std::string decoded = raw;
    try {
      Vek::ConvertFromLiterals(decoded);
    } catch (const vcl::Exception&) {
    }
    if (decoded == *now || raw == "'" + *now + "'") return;
    Report(P, Severity::Warning, Fault::Stale, "stale: the original was " + raw + ", a fresh capture of " + Ref.ClassName + " has " + Quoted(*now));
  }

  void CheckCodePage(const Parsed& P, int Charset) {
    // The default character sets stand for the ANSI code page that entries are written in. The
    // symbol set's bytes are no characters, and a double-byte text is not judged byte by byte.
    const int page = vcl::CodePageOfCharset(Charset, vcl::AnsiCodePage);
    const std::optional<std::size_t> undefined =
        vcl::IsKnownCodePage(page) && !vcl::IsDoubleByteCodePage(page) ? vcl::FirstUndefined(page, P.Value) : std::nullopt;
    if (undefined) {
      const auto b = static_cast<unsigned char>(P.Value[*undefined]);
      Report(P, Severity::Error, Fault::CodePage, "character #" + std::to_string(b) + " cannot be shown: code page " + std::to_string(page) +
                                     " (character set " + std::to_string(Charset) + ") has none");
      return;
    }
    // Entries are read in the ANSI code page; a text saved as UTF-8 shows its bytes as pairs.
    const std::string& v = P.Value;
    for (std::size_t i = 0; i + 1 < v.size(); ++i) {
      const auto a = static_cast<unsigned char>(v[i]), b = static_cast<unsigned char>(v[i + 1]);
      if (a >= 0xC2 && a <= 0xDF && b >= 0x80 && b <= 0xBF && page == 1252) {
        Report(P, Severity::Warning, Fault::LooksLikeUtf8, "the text looks like UTF-8 (bytes #" + std::to_string(a) + "#" + std::to_string(b) +
                                         "); entries are read in the ANSI code page and show such bytes as two characters");
        return;
      }
    }
  }

  // What a control draws of its text, and how much room it leaves for it.
  struct TextRoom {
    bool Draws = false;  // the text is a label the control draws
    bool Wraps = false;
    bool Prefix = true;  // & marks a mnemonic
    int Width = 0, Height = 0;
  };

  static TextRoom RoomOf(const ControlLayout& C) {
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

  static std::string WithoutPrefix(std::string_view Text, bool Prefix) {
    std::string out;
    for (std::size_t i = 0; i < Text.size(); ++i) {
      if (Prefix && Text[i] == '&' && i + 1 < Text.size()) ++i;
      out += Text[i];
    }
    return out;
  }

  struct Fit {
    bool Fits = true;
    int Width = 0, Lines = 1, LineHeight = 0;
    std::string Face;
  };

  Fit Measure(const ControlLayout& C, const TextRoom& Room) {
    Fit f;
    const std::string shown = WithoutPrefix(C.Text, Room.Prefix);
    // Each line of the text on its own; a label also wraps between words.
    f.Lines = 0;
    for (const std::string_view line : vcl::DrawnLines(shown)) {
      const TextMeasure::Extent whole = FMeasure->Measure(C.Font, line);
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
          const int word = FMeasure->Measure(C.Font, line.substr(w, e - w)).Width;
          const int gap = used ? FMeasure->Measure(C.Font, " ").Width : 0;
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

  void CheckFit(const State& After, const DialogLayout& Ref, std::size_t I) {
    const ControlLayout& a = After.Layout.Controls[I];
    const ControlLayout& b = Ref.Controls[I];
    const Parsed* cause = After.Caption[I] ? After.Caption[I] : After.Geometry[I] ? After.Geometry[I] : After.Font;
    if (!cause || !a.Visible() || a.Text.empty()) return;
    const TextRoom room = RoomOf(a);
    if (!room.Draws) return;
    const Fit fit = Measure(a, room);
    if (fit.Fits) return;
    if (!b.Text.empty() && !Measure(b, RoomOf(b)).Fits) return;  // the dialog's own text is cut off too
    std::string reason = "text " + Quoted(a.Text) + " is " + std::to_string(fit.Width) + " px wide in " + fit.Face + " " +
                         std::to_string(-a.Font.Height) + " px";
    if (fit.Lines > 1)
      reason += ", " + std::to_string(fit.Lines) + " lines of " + std::to_string(fit.LineHeight) + " px";
    reason += "; control " + std::to_string(a.Id) + " (" + Size(a.Rect) + ") has room for " + std::to_string(room.Width) + " px";
    if (room.Wraps) reason += " by " + std::to_string(room.Height) + " px";
    Report(*cause, Severity::Error, Fault::Fit, reason, a.Rect);
  }

  static bool Inside(const RECT& R, const RECT& Box) {
    return R.left >= Box.left && R.top >= Box.top && R.right <= Box.right && R.bottom <= Box.bottom;
  }
  static bool Meet(const RECT& A, const RECT& B) {
    return A.left < B.right && B.left < A.right && A.top < B.bottom && B.top < A.bottom && A.left < A.right && A.top < A.bottom &&
           B.left < B.right && B.top < B.bottom;
  }

  void CheckPlaces(const State& After, const DialogLayout& Ref) {
    const RECT clientBefore{0, 0, Ref.ClientWidth(), Ref.ClientHeight()};
    const RECT clientAfter{0, 0, After.Layout.ClientWidth(), After.Layout.ClientHeight()};
    const auto& a = After.Layout.Controls;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (!a[i].Visible()) continue;
      const Parsed* moved = After.Geometry[i];
      if (!Inside(a[i].Rect, clientAfter) && Inside(Ref.Controls[i].Rect, clientBefore) && (moved || After.WindowSize))
        Report(moved ? *moved : *After.WindowSize, Severity::Error, Fault::Outside,
               "control " + std::to_string(a[i].Id) + " (" + Place(a[i].Rect) + ") leaves the dialog's client area (" +
                   Size(clientAfter) + ")",
               a[i].Rect);
      for (std::size_t j = i + 1; j < a.size(); ++j) {
        if (!a[j].Visible() || !Meet(a[i].Rect, a[j].Rect) || Meet(Ref.Controls[i].Rect, Ref.Controls[j].Rect)) continue;
        const std::size_t mover = After.Geometry[i] ? i : j, other = mover == i ? j : i;
        if (!After.Geometry[mover]) continue;
        Report(*After.Geometry[mover], Severity::Error, Fault::Overlap,
               "control " + std::to_string(a[mover].Id) + " (" + Place(a[mover].Rect) + ") overlaps control " +
                   std::to_string(a[other].Id) + " " + Quoted(a[other].Text) + " (" + Place(a[other].Rect) + ")",
               a[mover].Rect);
      }
    }
  }

  static std::optional<unsigned char> Mnemonic(std::string_view Text) {
    for (std::size_t i = 0; i + 1 < Text.size(); ++i) {
      if (Text[i] != '&') continue;
      if (Text[i + 1] == '&') {
        ++i;
        continue;
      }
      auto c = static_cast<unsigned char>(Text[i + 1]);
      if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c = static_cast<unsigned char>(c + 32);
      return c;
    }
    return std::nullopt;
  }

  void CheckMnemonics(const State& After, const DialogLayout& Ref) {
    const auto& a = After.Layout.Controls;
    std::map<unsigned char, std::vector<std::size_t>> byLetter;
    for (std::size_t i = 0; i < a.size(); ++i) {
      const TextRoom room = RoomOf(a[i]);
      if (!room.Draws || !room.Prefix) continue;
      if (const Parsed* p = After.Caption[i]) {
        const std::optional<RECT> where = a[i].Visible() ? std::optional<RECT>(a[i].Rect) : std::nullopt;
        const bool had = Mnemonic(Ref.Controls[i].Text).has_value(), has = Mnemonic(a[i].Text).has_value();
        if (had && !has) Report(*p, Severity::Warning, Fault::MnemonicDropped, "drops the & mnemonic of the original " + Quoted(Ref.Controls[i].Text), where);
        if (!had && has) Report(*p, Severity::Warning, Fault::MnemonicAdded, "adds a & mnemonic that the original " + Quoted(Ref.Controls[i].Text) + " does not have", where);
      }
      if (!a[i].Visible()) continue;
      if (const auto m = Mnemonic(a[i].Text)) byLetter[*m].push_back(i);
    }
    for (const auto& [letter, controls] : byLetter) {
      if (controls.size() < 2) continue;
      for (const std::size_t i : controls) {
        if (!After.Caption[i]) continue;
        std::string others;
        for (const std::size_t j : controls)
          if (j != i) others += (others.empty() ? "" : ", ") + std::to_string(a[j].Id) + " " + Quoted(a[j].Text);
        Report(*After.Caption[i], Severity::Error, Fault::MnemonicClash, "mnemonic &" + std::string(1, static_cast<char>(letter)) + " is also that of control " + others,
               a[i].Rect);
      }
    }
  }

  void CheckDialog(const std::string& ClassName, const DialogLayout& Ref, const std::vector<const Parsed*>& Entries) {
    State after = Apply(Ref, Entries, true);
    for (const Parsed* p : Entries) {
      CheckStale(Ref, *p);
      if (p->E.Kind == EntryKind::WindowCaption) CheckCodePage(*p, Ref.Font.Charset);
      if (p->E.Kind == EntryKind::ChildCaption)
        if (const ControlLayout* c = Ref.Find(*p->E.Id()))
          CheckCodePage(*p, after.Layout.Controls[static_cast<std::size_t>(c - Ref.Controls.data())].Font.Charset);
    }
    for (std::size_t i = 0; i < Ref.Controls.size(); ++i) CheckFit(after, Ref, i);
    CheckPlaces(after, Ref);
    CheckMnemonics(after, Ref);
    FApplied.insert_or_assign(ClassName, std::move(after.Layout));
  }
};

Parsed Checker::Parse(const SourceEntry& S) { return ParseEntry(S); }

}  // namespace

namespace {

constexpr std::string_view FaultNameTable[FaultCount] = {
    "syntax",  "unknown-property", "too-long", "empty",     "not-an-integer", "beyond-screen",  "charset",
    "charset-undone", "no-dialog", "unknown-id", "stale", "code-page",      "utf-8",          "fit",
    "outside", "overlap", "mnemonic-clash", "mnemonic-dropped", "mnemonic-added"};

// Control bytes a terminal might take for commands, as the entry language writes them.
std::string Escaped(std::string_view Text) {
  std::string shown;
  for (const char c : Text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) shown += "#" + std::to_string(b);
    else shown += c;
  }
  return shown;
}

}  // namespace

std::string_view FaultName(Fault Kind) { return FaultNameTable[static_cast<std::size_t>(Kind)]; }

std::optional<Fault> FaultNamed(std::string_view Name) {
  for (std::size_t i = 0; i < FaultCount; ++i)
    if (FaultNameTable[i] == Name) return static_cast<Fault>(i);
  return std::nullopt;
}

std::string FaultNames() {
  std::string names;
  for (const std::string_view n : FaultNameTable) names += (names.empty() ? "" : ", ") + std::string(n);
  return names;
}

std::string FormatFault(const Problem& P) {
  return Escaped(P.Key + ": " + (P.Level == Severity::Error ? "error" : "warning") + ": " + P.Reason);
}

std::string FormatProblem(const Problem& P) { return Escaped(P.File + ":" + std::to_string(P.Line) + ": ") + FormatFault(P); }

bool HasErrors(const std::vector<Problem>& Problems) {
  return std::any_of(Problems.begin(), Problems.end(), [](const Problem& p) { return p.Level == Severity::Error; });
}

std::vector<Problem> Check(const CheckInput& Input) { return Checker(Input).Run().Problems; }

CheckResult CheckAndApply(const CheckInput& Input) { return Checker(Input).Run(); }

DialogLayout Applied(const DialogLayout& Reference, const std::vector<SourceEntry>& Entries, bool TranslateEmpty) {
  CheckInput input;
  input.Entries = Entries;
  input.TranslateEmpty = TranslateEmpty;
  Checker checker(input);
  std::vector<Parsed> parsed;
  parsed.reserve(input.Entries.size());
  for (const SourceEntry& s : input.Entries) parsed.push_back(checker.Parse(s));
  std::vector<const Parsed*> mine;
  for (const Parsed& p : parsed)
    if (p.Usable && p.E.AppliesTo(Reference.ClassName)) mine.push_back(&p);
  std::stable_sort(mine.begin(), mine.end(), [](const Parsed* a, const Parsed* b) { return a->Source->Line < b->Source->Line; });
  return checker.Apply(Reference, mine, false).Layout;
}

}  // namespace checks
