// Measuring texts: with the widths recorded under Wine, or with the real font on Windows; and
// which bytes the code page of a character set shows.
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

// The bytes each single-byte Windows code page leaves undefined.
struct UndefinedBytes {
  int Page;
  const char* Bytes;
};
const UndefinedBytes Undefined[] = {
    {1250, "\x81\x83\x88\x90\x98"},
    {1251, "\x98"},
    {1252, "\x81\x8D\x8F\x90\x9D"},
    {1253, "\x81\x88\x8A\x8C\x8D\x8E\x8F\x90\x98\x9A\x9C\x9D\x9E\x9F\xAA\xD2\xFF"},
    {1254, "\x81\x8D\x8E\x8F\x90\x9D\x9E"},
    {1255, "\x81\x8A\x8C\x8D\x8E\x8F\x90\x9A\x9C\x9D\x9E\x9F\xCA\xD9\xDA\xDB\xDC\xDD\xDE\xDF\xFB\xFC\xFF"},
    {1257, "\x81\x83\x88\x8A\x8C\x90\x98\x9A\x9C\x9F\xA1\xA5"},
    {1258, "\x81\x8A\x8D\x8E\x8F\x90\x9A\x9D\x9E"},
    {874, "\x81\x82\x83\x84\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F\x90\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F\xDB\xDC\xDD\xDE\xFC\xFD\xFE\xFF"},
};

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

int CodePageOf(int Charset) {
  switch (Charset & 0xFF) {
    case 0: case 1: return 1252;  // the default set is the host's ANSI one, which entries are written in
    case 2: return 0;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return 1252;
  }
}

std::optional<unsigned char> UndefinedByte(std::string_view Text, int Page) {
  for (const UndefinedBytes& u : Undefined) {
    if (u.Page != Page) continue;
    for (const char c : Text)
      if (std::strchr(u.Bytes, c) && c != '\0') return static_cast<unsigned char>(c);
  }
  return std::nullopt;
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
