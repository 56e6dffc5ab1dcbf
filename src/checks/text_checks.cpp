// The checks of what an entry says against what the dialog has: ids it lacks, originals that a
// fresh capture no longer shows, characters the code page of the class's texts lacks or the face
// of its controls has no glyph for, and words that mix look-alike letters of two scripts.
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

void CheckCodePage(Findings& F, const Parsed& P, int Page, int Charset) {
  // The symbol set's bytes are no characters.
  const std::string& v = P.Value;
  const std::string set = " (character set " + std::to_string(Charset) + ")";
  if (vcl::IsKnownCodePage(Page)) {
    if (const std::optional<std::size_t> undefined = vcl::FirstUndefined(Page, v)) {
      const auto b = static_cast<unsigned char>(v[*undefined]);
      const std::size_t length = vcl::CharLength(Page, v, *undefined);
      if (length == 1 && vcl::IsLeadByte(Page, b)) {
        // A lead byte without its trail: the last byte of a text, or one before a NUL.
        F.Report(P, Severity::Error, Fault::CodePage,
                 "the text ends in lead byte #" + std::to_string(b) + " of code page " + std::to_string(Page) + set +
                     " without the byte that completes its character (a double-byte character cut in two, or a lone lead byte)");
        return;
      }
      std::string bytes;
      for (std::size_t i = 0; i < length; ++i) bytes += "#" + std::to_string(static_cast<unsigned char>(v[*undefined + i]));
      F.Report(P, Severity::Error, Fault::CodePage,
               "character " + bytes + " cannot be shown: code page " + std::to_string(Page) + set + " has none");
      return;
    }
  }
  // Entries are read in the ANSI code page; a text saved as UTF-8 shows its bytes as pairs.
  for (std::size_t i = 0; i + 1 < v.size(); ++i) {
    const auto a = static_cast<unsigned char>(v[i]), b = static_cast<unsigned char>(v[i + 1]);
    if (a >= 0xC2 && a <= 0xDF && b >= 0x80 && b <= 0xBF && Page == 1252) {
      F.Report(P, Severity::Warning, Fault::LooksLikeUtf8, "the text looks like UTF-8 (bytes #" + std::to_string(a) + "#" + std::to_string(b) +
                                       "); entries are read in the ANSI code page and show such bytes as two characters");
      return;
    }
  }
}

namespace {

enum class Script : std::uint8_t { Other, Latin, Greek, Cyrillic };

Script ScriptOf(char16_t C) {
  if ((C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z') || (C >= 0xC0 && C <= 0x24F && C != 0xD7 && C != 0xF7) ||
      (C >= 0x1E00 && C <= 0x1EFF))
    return Script::Latin;
  if ((C >= 0x370 && C <= 0x3FF && C != 0x37E && C != 0x387) || (C >= 0x1F00 && C <= 0x1FFF)) return Script::Greek;
  if (C >= 0x400 && C <= 0x52F) return Script::Cyrillic;
  return Script::Other;
}

std::string_view ScriptName(Script S) {
  switch (S) {
    case Script::Latin: return "Latin";
    case Script::Greek: return "Greek";
    case Script::Cyrillic: return "Cyrillic";
    default: return "other";
  }
}

// Latin letters that look like Cyrillic or Greek ones (and so are typed by mistake among them).
bool HasLookAlike(char16_t C) { return std::u16string_view(u"ABCEHIKMNOPTXYZabcehiknopuxy").find(C) != std::u16string_view::npos; }

std::string Hex(char16_t C) {
  static const char digits[] = "0123456789ABCDEF";
  std::string h = "U+";
  for (int shift = 12; shift >= 0; shift -= 4) h += digits[(C >> shift) & 0xF];
  return h;
}

}  // namespace

void CheckMixedScript(Findings& F, const Parsed& P, int Page) {
  const std::u16string text = vcl::ToUtf16(Page, P.Value);
  // The words: runs of letters, a mnemonic's "&" within them; each of one script or mixing them.
  struct Word {
    std::size_t Start = 0, End = 0;
    int Latin = 0, Other = 0;  // Latin letters, and Greek or Cyrillic ones
    Script OtherScript = Script::Other;
  };
  std::vector<Word> words;
  for (std::size_t i = 0; i < text.size();) {
    if (ScriptOf(text[i]) == Script::Other) {
      ++i;
      continue;
    }
    Word w{i, i};
    while (i < text.size() && (ScriptOf(text[i]) != Script::Other || (text[i] == u'&' && i + 1 < text.size() && ScriptOf(text[i + 1]) != Script::Other))) {
      const Script s = ScriptOf(text[i]);
      if (s == Script::Latin) ++w.Latin;
      else if (s != Script::Other) ++w.Other, w.OtherScript = s;
      ++i;
    }
    w.End = i;
    words.push_back(w);
  }
  auto report = [&](std::size_t At, Script In) {
    const char16_t c = text[At];
    const std::optional<std::string> bytes = vcl::FromUtf16Char(Page, c);
    F.Report(P, Severity::Warning, Fault::MixedScript,
             std::string(ScriptName(ScriptOf(c))) + " letter " + (bytes ? Quoted(*bytes) + " " : "") + "(" + Hex(c) + ") at character " +
                 std::to_string(At + 1) + " among " + std::string(ScriptName(In)) + " letters");
  };
  int otherWords = 0, latinWords = 0;
  Script textScript = Script::Other;
  for (const Word& w : words) {
    if (w.Latin && w.Other) {
      // The fewer letters are the odd ones; with as many of each, the Latin ones.
      const bool oddLatin = w.Latin <= w.Other;
      for (std::size_t i = w.Start; i < w.End; ++i)
        if ((ScriptOf(text[i]) == Script::Latin) == oddLatin && ScriptOf(text[i]) != Script::Other)
          return report(i, oddLatin ? w.OtherScript : Script::Latin);
    }
    if (w.Other) ++otherWords, textScript = w.OtherScript;
    else ++latinWords;
  }
  // A word of Latin look-alikes alone among Cyrillic or Greek words ("C" in "C &учетом регистра").
  if (otherWords >= 1 && latinWords == 1)
    for (const Word& w : words)
      if (!w.Other) {
        bool alike = true;
        for (std::size_t i = w.Start; i < w.End; ++i) alike = alike && (text[i] == u'&' || HasLookAlike(text[i]));
        if (alike && w.End - w.Start <= 2) return report(text[w.Start] == u'&' ? w.Start + 1 : w.Start, textScript);
      }
}

void CheckGlyphs(Findings& F, TextMeasure& Measure, const AppliedDialog& After) {
  const DialogLayout& d = After.Layout;
  for (std::size_t i = 0; i < d.Controls.size(); ++i) {
    const Parsed* p = After.Caption[i];
    const ControlLayout& c = d.Controls[i];
    if (!p || c.Text.empty()) continue;
    // "&" marks a mnemonic and is not drawn; "&&" draws one. From holds where each byte drawn
    // stands in the text, which the reason counts in.
    std::string shown;
    std::vector<std::size_t> from;
    for (std::size_t k = 0; k < c.Text.size(); ++k) {
      if (c.Text[k] == '&' && k + 1 < c.Text.size()) ++k;
      shown += c.Text[k], from.push_back(k);
    }
    const TextMeasure::Glyphs g = Measure.MissingGlyph(c.Font, d.CodePage, shown);
    if (!g.Missing) continue;
    const std::size_t length = vcl::CharLength(d.CodePage, shown, *g.Missing);
    const std::u16string wide = vcl::ToUtf16(d.CodePage, std::string_view(shown).substr(*g.Missing, length));
    const std::size_t position = vcl::CharCount(d.CodePage, std::string_view(c.Text).substr(0, from[*g.Missing])) + 1;
    std::string reason = "character " + Quoted(shown.substr(*g.Missing, length)) + (wide.empty() ? "" : " (" + Hex(wide[0]) + ")") +
                         " at character " + std::to_string(position) + " has no glyph in " + g.Face + ", which the font '" + c.Font.Face +
                         "' of character set " + std::to_string(c.Font.Charset) + " is realised as: it shows as a box";
    if (After.UndoneCharset && After.UndoingName)
      reason += "; " + KeyOf(*After.UndoingName) + " is applied after " + KeyOf(*After.UndoneCharset) +
                " and gives the controls the dialog's own character set " + std::to_string(c.Font.Charset) + " again";
    F.Report(*p, Severity::Warning, Fault::Glyphs, reason, c.Visible() ? std::optional<RECT>(c.Rect) : std::nullopt);
  }
}

}  // namespace checks::detail
