// The entry language's checks: class, property and id syntax, literals, values that must be
// integers and sizes and positions beyond what a screen holds, as the apply step takes them.
#include "checks/checker.hpp"

namespace checks::detail {

using Vek::EntryKind;
using Vek::FontField;

std::string KeyOf(const Parsed& P) { return std::string(Vek::EntryKey(P.Source->Line)); }
std::string Quoted(std::string_view Text) { return "'" + std::string(Text) + "'"; }
std::string Size(const RECT& R) { return std::to_string(R.right - R.left) + " x " + std::to_string(R.bottom - R.top); }
std::string Place(const RECT& R) { return Size(R) + " at " + std::to_string(R.left) + "," + std::to_string(R.top); }

void Findings::Report(const Parsed& P, Severity Level, Fault Kind, std::string Reason, std::optional<RECT> Where) {
  if (!Input.Reported.test(static_cast<std::size_t>(Kind))) return;
  Problems.push_back({Input.File, P.Source->LineNumber, KeyOf(P), Level, Kind, std::move(Reason),
                      P.E.HasClass ? std::string(P.E.ClassPart) : std::string(), Where});
}

Parsed ParseEntry(const SourceEntry& S, Findings& F) {
  Parsed p;
  p.Source = &S;
  p.E = Vek::Entry::Split(std::string_view(S.Line));
  const Vek::Entry& e = p.E;
  if (!e.HasClass) return F.Report(p, Severity::Error, Fault::Syntax, "no \".\": the entry names no dialog class"), p;
  if (e.ClassPart.empty()) return F.Report(p, Severity::Error, Fault::Syntax, "empty class name before the \".\""), p;
  if (S.Line.find('=') == std::string::npos) return F.Report(p, Severity::Error, Fault::Syntax, "no \"=\": the entry has no value"), p;
  if (e.Kind == EntryKind::Ignored)
    return F.Report(p, Severity::Error, Fault::UnknownProperty,
                  "unknown property '" + std::string(e.Property) +
                      "' (Caption, Font.Name, Font.Charset, Width, Height, BiDiMode, PixelsPerInch, or Caption, Left, Top, Width, Height with [id])"),
           p;
  if (e.Kind == EntryKind::Font && e.Font == FontField::Other)
    F.Report(p, Severity::Warning, Fault::UnknownProperty, "'" + std::string(e.Property) + "' is no font field: it only gives the controls the dialog's own font again");
  if (e.IsChildKind()) {
    if (!e.HasId) return F.Report(p, Severity::Error, Fault::Syntax, "no \"]\" after the control id"), p;
    if (!e.Id()) return F.Report(p, Severity::Error, Fault::Syntax, "control id '" + std::string(e.IdText) + "' is not a decimal integer"), p;
    const std::size_t close = e.Property.find(']');
    if (close + 1 < e.Property.size())
      F.Report(p, Severity::Warning, Fault::Syntax, "'" + std::string(e.Property.substr(close + 1)) + "' after \"]\" is ignored");
  }
  try {
    p.Value = e.DecodedValue();
  } catch (const vcl::Exception& ex) {
    return F.Report(p, Severity::Error, Fault::Syntax, "the value is no valid literal: " + ex.Message()), p;
  }
  if (Vek::EntryValue(S.Line).size() < S.Line.size() - S.Line.find('=') - 1)
    F.Report(p, Severity::Warning, Fault::TooLong, "the value is written in more than 4095 bytes; the rest is ignored");
  if (p.Value.empty() && !F.Input.TranslateEmpty) {
    F.Report(p, Severity::Warning, Fault::EmptyValue, "empty value: the entry is skipped (TranslateEmpty is off)");
    p.Usable = true;
    return p;
  }
  if (e.Kind == EntryKind::BiDiMode && !Vek::ParseBiDiMode(p.Value))
    return F.Report(p, Severity::Error, Fault::Syntax,
                    "value " + Quoted(p.Value) + " is no reading order (bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign or "
                    "bdRightToLeftReadingOnly)"),
           p;
  if (Vek::TakesInteger(e)) {
    const auto number = Vek::ParseDecimal(p.Value);
    if (!number) return F.Report(p, Severity::Error, Fault::NotAnInteger, "value " + Quoted(p.Value) + " is not a decimal integer"), p;
    p.Number = *number;
    // The apply step takes such a value as a screen holds it, and so does the judgement here.
    const int onScreen = Vek::OnScreen(e.Kind, p.Number);
    const std::string takenAs = "; it is taken as " + std::to_string(onScreen);
    if (Vek::IsSizeKind(e.Kind) && p.Number < 0)
      F.Report(p, Severity::Error, Fault::BeyondScreen, "negative size " + std::to_string(p.Number) + takenAs);
    else if (Vek::IsSizeKind(e.Kind) && onScreen != p.Number)
      F.Report(p, Severity::Error, Fault::BeyondScreen, "size " + std::to_string(p.Number) + " is more than a screen holds (at most " +
                                     std::to_string(Vek::ScreenLimit) + " px)" + takenAs);
    else if (onScreen != p.Number)
      F.Report(p, Severity::Error, Fault::BeyondScreen, "position " + std::to_string(p.Number) + " is beyond what a screen holds (" +
                                     std::to_string(-Vek::ScreenLimit) + " to " + std::to_string(Vek::ScreenLimit) + " px)" +
                                     takenAs);
    p.Number = onScreen;
    if (e.Kind == EntryKind::PixelsPerInch && !Vek::IsPixelsPerInch(p.Number))
      F.Report(p, Severity::Warning, Fault::BeyondScreen, std::to_string(p.Number) + " pixels per inch is no screen's (48 to 960): the class's sizes and positions are taken as 96-dpi ones");
    if (e.Kind == EntryKind::Font && (p.Number < 0 || p.Number > 255))
      F.Report(p, Severity::Warning, Fault::Charset, "character set " + std::to_string(p.Number) + " is taken as " + std::to_string(p.Number & 0xFF) +
                                       " (its low 8 bits)");
  }
  p.Usable = true;
  return p;
}

}  // namespace checks::detail
