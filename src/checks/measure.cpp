// Measuring texts: with the widths recorded under Wine, or with the real font on Windows.
#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

#include "checks/checks.hpp"
#include "checks/font_metrics.h"

namespace checks {

namespace {

bool SameFace(std::string_view A, std::string_view B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char a, char b) {
           return (a >= 'A' && a <= 'Z' ? a + 32 : a) == (b >= 'A' && b <= 'Z' ? b + 32 : b);
         });
}

const RecordedFontMetrics* Table(std::string_view Face, int Charset) {
  for (const RecordedFontMetrics& m : RecordedFonts())
    if (m.Charset == Charset && SameFace(m.Face, Face)) return &m;
  return nullptr;
}

}  // namespace

TextMeasure::Extent RecordedMeasure::Measure(const FontSpec& Font, std::string_view Text) {
  const RecordedFontMetrics* m = Table(Font.Face, Font.Charset);
  if (!m) m = Table(Font.Face, 0);
  if (!m) m = Table("MS Shell Dlg", Font.Charset);
  if (!m) m = Table("MS Shell Dlg", 0);
  if (!m) return Extent{};
  int width = 0;
  for (const unsigned char c : Text)
    if (c >= 32) width += m->Widths[c - 32];
  return Extent{width, m->LineHeight, m->RealisedFace};
}

#ifdef _WIN32
namespace {

// The real font: GDI measures with the face Windows (or Wine) realises for the description.
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
#else
std::unique_ptr<TextMeasure> NativeMeasure() { return std::make_unique<RecordedMeasure>(); }
#endif

}  // namespace checks
