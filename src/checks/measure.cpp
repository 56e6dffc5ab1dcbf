// Measuring texts: with the widths recorded under Wine, or with the font the window system
// realises (the real one on Windows; the simulation answers from the same recorded widths).
#include <cstring>
#include <map>
#include <tuple>

#include "checks/checks.hpp"
#include "win/recorded_fonts.h"

namespace checks {

TextMeasure::Extent RecordedMeasure::Measure(const FontSpec& Font, std::string_view Text) {
  const win::RecordedExtent e = win::MeasureRecorded(Font.Face, Font.Charset, Font.Height, Text);
  return Extent{e.Width, e.LineHeight, e.Face};
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

  Extent Measure(const FontSpec& Font, std::string_view Text) override {
    HFONT& font = FFonts[{Font.Face, Font.Charset, Font.Height}];
    if (!font) {
      LOGFONTA lf{};
      lf.lfHeight = Font.Height;
      lf.lfCharSet = static_cast<BYTE>(Font.Charset);
      std::strncpy(lf.lfFaceName, Font.Face.c_str(), LF_FACESIZE - 1);
      font = CreateFontIndirectA(&lf);
    }
    const HGDIOBJ old = SelectObject(FDc, font);
    SIZE size{};
    GetTextExtentPoint32A(FDc, Text.data(), static_cast<int>(Text.size()), &size);
    TEXTMETRICA tm{};
    GetTextMetricsA(FDc, &tm);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(FDc, sizeof face, face);
    SelectObject(FDc, old);
    return Extent{static_cast<int>(size.cx), static_cast<int>(tm.tmHeight), face};
  }

private:
  HDC FDc;
  std::map<std::tuple<std::string, int, int>, HFONT> FFonts;
};

}  // namespace

std::unique_ptr<TextMeasure> NativeMeasure() { return std::make_unique<GdiMeasure>(); }

}  // namespace checks
