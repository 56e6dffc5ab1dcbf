// The checks of what an entry says against what the dialog has: ids it lacks, originals that a
// fresh capture no longer shows, and characters the code page of the font's character set lacks.
#include "checks/checker.hpp"
#include "vcl/CodePages.hpp"

namespace checks::detail {

namespace {

using Vek::EntryKind;
using Vek::FontField;

// The value a fresh capture writes for the entry's key, decoded; nothing when it has no such control.
std::optional<std::string> CurrentValue(const DialogLayout& Ref, const Vek::Entry& E) {
  const RECT& w = Ref.Window;
  switch (E.Kind) {
    case EntryKind::WindowCaption: return Ref.Title;
    case EntryKind::Font:
      if (E.Font == FontField::Name) return Ref.Font.Face;
      if (E.Font == FontField::Charset) return std::to_string(Ref.Font.Charset);
      return std::nullopt;
    case EntryKind::WindowWidth: return std::to_string(Vek::CapturedExtent(w.right - w.left));
    case EntryKind::WindowHeight: return std::to_string(Vek::CapturedExtent(w.bottom - w.top));
    default: break;
  }
  const ControlLayout* c = Ref.Find(*E.Id());
  if (!c) return std::nullopt;
  switch (E.Kind) {
    case EntryKind::ChildCaption: return c->Text;
    case EntryKind::ChildLeft: return std::to_string(c->Rect.left);
    case EntryKind::ChildTop: return std::to_string(c->Rect.top);
    case EntryKind::ChildWidth: return std::to_string(Vek::CapturedExtent(c->Rect.right - c->Rect.left));
    case EntryKind::ChildHeight: return std::to_string(Vek::CapturedExtent(c->Rect.bottom - c->Rect.top));
    default: return std::nullopt;
  }
}

}  // namespace

void ReportMissingControl(Findings& F, const Parsed& P, const DialogLayout& Ref, int Id) {
  // A control the captured values know but a fresh capture lacks has gone since the capture.
  const std::string idText = "[" + std::to_string(Id) + "]";
  const std::string prefix = std::string(P.E.ClassPart) + ".";
  for (const char* kind : {"Left", "Caption", "Width"}) {
    if (F.Originals.count(prefix + kind + idText)) {
      F.Report(P, Severity::Error, Fault::Stale, "stale: control " + std::to_string(Id) + " is gone from a fresh capture of " + Ref.ClassName);
      return;
    }
  }
  if (Id < 0)
    F.Report(P, Severity::Error, Fault::UnknownId, Ref.ClassName + " has no child " + std::to_string(-static_cast<long long>(Id)) + " (it has " +
                                   std::to_string(Ref.Controls.size()) + ")");
  else F.Report(P, Severity::Error, Fault::UnknownId, Ref.ClassName + " has no control with id " + std::to_string(Id));
}

void CheckStale(Findings& F, const DialogLayout& Ref, const Parsed& P) {
  const auto original = F.Originals.find(KeyOf(P));
  if (original == F.Originals.end()) return;
  // Content differs from machine to machine and from one showing to the next: no translation
  // goes stale by it.
  if (!Vek::IsForTranslation(Vek::EntryLine(original->first, original->second), F.Input.Form)) return;
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
  F.Report(P, Severity::Warning, Fault::Stale, "stale: the original was " + raw + ", a fresh capture of " + Ref.ClassName + " has " + Quoted(*now));
}

void CheckCodePage(Findings& F, const Parsed& P, int Charset) {
  // The default character sets stand for the ANSI code page that entries are written in. The
  // symbol set's bytes are no characters, and a double-byte text is not judged byte by byte.
  const int page = vcl::CodePageOfCharset(Charset, vcl::AnsiCodePage);
  const std::optional<std::size_t> undefined =
      vcl::IsKnownCodePage(page) && !vcl::IsDoubleByteCodePage(page) ? vcl::FirstUndefined(page, P.Value) : std::nullopt;
  if (undefined) {
    const auto b = static_cast<unsigned char>(P.Value[*undefined]);
    F.Report(P, Severity::Error, Fault::CodePage, "character #" + std::to_string(b) + " cannot be shown: code page " + std::to_string(page) +
                                   " (character set " + std::to_string(Charset) + ") has none");
    return;
  }
  // Entries are read in the ANSI code page; a text saved as UTF-8 shows its bytes as pairs.
  const std::string& v = P.Value;
  for (std::size_t i = 0; i + 1 < v.size(); ++i) {
    const auto a = static_cast<unsigned char>(v[i]), b = static_cast<unsigned char>(v[i + 1]);
    if (a >= 0xC2 && a <= 0xDF && b >= 0x80 && b <= 0xBF && page == 1252) {
      F.Report(P, Severity::Warning, Fault::LooksLikeUtf8, "the text looks like UTF-8 (bytes #" + std::to_string(a) + "#" + std::to_string(b) +
                                       "); entries are read in the ANSI code page and show such bytes as two characters");
      return;
    }
  }
}

}  // namespace checks::detail
