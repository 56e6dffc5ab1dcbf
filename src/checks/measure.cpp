// Measuring texts and finding the characters a font lacks: with the widths and glyphs recorded
// under Wine, or with the font the window system realises (the real one on Windows; the
// simulation answers from the same recordings). Texts are bytes in the code page of their class
// and are measured as their UTF-16 form, as the controls show them.
//
// Notes:
// - The W functions take wchar_t on Windows (two bytes there) and char16_t in the simulation.
#include <cstring>
#include <map>
#include <tuple>
#include <vector>

#include "checks/checks.hpp"
#include "vcl/CodePages.hpp"
#include "win/recorded_fonts.h"

namespace checks {

namespace {

// The byte offset in Text (code page Page) of the character that UTF-16 unit Unit of its
// ToUtf16 form comes from: each character gives one unit.
std::size_t ByteOffset(int Page, std::string_view Text, std::size_t Unit) {
  std::size_t offset = 0;
  for (std::size_t u = 0; u < Unit && offset < Text.size(); ++u) offset += vcl::CharLength(Page, Text, offset);
  return offset;
}

// Whether a character is one whose glyph is looked for: not a control character (the C1 ones
// stand for bytes a code page leaves undefined), and not the stand-in for a character the code
// page lacks: those the code page check reports.
bool Drawn(char16_t C) { return C >= 32 && !(C >= 0x7F && C <= 0x9F) && C != 0xFFFD; }

}  // namespace

TextMeasure::Extent TextMeasure::Measure(const FontSpec& Font, std::string_view Text) {
  return Measure(Font, Vek::TextCodePage(Font.Charset), Text);
}

TextMeasure::Glyphs TextMeasure::MissingGlyph(const FontSpec&, int, std::string_view) { return Glyphs{}; }

TextMeasure::Extent RecordedMeasure::Measure(const FontSpec& Font, int CodePage, std::string_view Text) {
  const win::RecordedExtent e = win::MeasureRecordedW(Font.Face, Font.Charset, Font.Height, vcl::ToUtf16(CodePage, Text));
  return Extent{e.Width, e.LineHeight, e.Face};
}

TextMeasure::Glyphs RecordedMeasure::MissingGlyph(const FontSpec& Font, int CodePage, std::string_view Text) {
  Glyphs g{std::string(win::RealisedFaceOf(Font.Face, Font.Charset)), std::nullopt};
  const std::u16string wide = vcl::ToUtf16(CodePage, Text);
  for (std::size_t i = 0; i < wide.size(); ++i)
    if (Drawn(wide[i]) && !win::HasRecordedGlyph(g.Face, wide[i]).value_or(true)) {
      g.Missing = ByteOffset(CodePage, Text, i);
      break;
    }
  return g;
}

namespace {

// GDI measures with the face the window system realises for the description.
class GdiMeasure : public TextMeasure {
public:
  GdiMeasure() : FDc(GetDC(nullptr)) {}
  ~GdiMeasure() override {
    for (auto& [key, font] : FFonts) DeleteObject(font);
    ReleaseDC(nullptr, FDc);
  }
  GdiMeasure(const GdiMeasure&) = delete;
  GdiMeasure& operator=(const GdiMeasure&) = delete;

  using TextMeasure::Measure;
  Extent Measure(const FontSpec& Font, int CodePage, std::string_view Text) override {
    const HGDIOBJ old = SelectObject(FDc, FontOf(Font));
    const std::u16string wide = vcl::ToUtf16(CodePage, Text);
    SIZE size{};
    GetTextExtentPoint32W(FDc, Wide(wide), static_cast<int>(wide.size()), &size);
    TEXTMETRICA tm{};
    GetTextMetricsA(FDc, &tm);
    const std::string face = Face();
    SelectObject(FDc, old);
    return Extent{static_cast<int>(size.cx), static_cast<int>(tm.tmHeight), face};
  }

  Glyphs MissingGlyph(const FontSpec& Font, int CodePage, std::string_view Text) override {
    const HGDIOBJ old = SelectObject(FDc, FontOf(Font));
    const std::u16string wide = vcl::ToUtf16(CodePage, Text);
    std::vector<WORD> glyphs(wide.size() + 1);
    Glyphs g{Face(), std::nullopt};
    if (!wide.empty() &&
        GetGlyphIndicesW(FDc, Wide(wide), static_cast<int>(wide.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR)
      for (std::size_t i = 0; i < wide.size(); ++i)
        if (Drawn(wide[i]) && glyphs[i] == 0xFFFF) {
          g.Missing = ByteOffset(CodePage, Text, i);
          break;
        }
    SelectObject(FDc, old);
    return g;
  }

private:
#ifdef _WIN32
  static const wchar_t* Wide(const std::u16string& Text) { return reinterpret_cast<const wchar_t*>(Text.c_str()); }
#else
  static const char16_t* Wide(const std::u16string& Text) { return Text.c_str(); }
#endif

  HFONT FontOf(const FontSpec& Font) {
    HFONT& font = FFonts[{Font.Face, Font.Charset, Font.Height}];
    if (!font) {
      LOGFONTA lf{};
      lf.lfHeight = Font.Height;
      lf.lfCharSet = static_cast<BYTE>(Font.Charset);
      std::strncpy(lf.lfFaceName, Font.Face.c_str(), LF_FACESIZE - 1);
      font = CreateFontIndirectA(&lf);
    }
    return font;
  }

  std::string Face() {
    char face[LF_FACESIZE] = {};
    GetTextFaceA(FDc, sizeof face, face);
    return face;
  }

  HDC FDc;
  std::map<std::tuple<std::string, int, int>, HFONT> FFonts;
};

}  // namespace

std::unique_ptr<TextMeasure> NativeMeasure() { return std::make_unique<GdiMeasure>(); }

}  // namespace checks
