// The face Windows realises for the dialogs' font (Windows only: the recorder and the Wine suites).
#include "dialog_font.hpp"

#include <cstdint>
#include <vector>

namespace testing_support {

std::string RealisedFace(HFONT Font) {
  const HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return "";
  const HGDIOBJ old = SelectObject(dc, Font);
  std::string face;
  if (old) {
    // The outline metrics name the family of the file itself; GetTextFace may repeat the name asked for.
    if (const UINT size = GetOutlineTextMetricsA(dc, 0, nullptr); size > 0) {
      std::vector<char> buffer(size);
      auto* metrics = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer.data());
      if (GetOutlineTextMetricsA(dc, size, metrics))
        face = buffer.data() + reinterpret_cast<std::uintptr_t>(metrics->otmpFamilyName);
    }
    if (face.empty()) {
      char name[LF_FACESIZE] = "";
      if (GetTextFaceA(dc, LF_FACESIZE, name) > 0) face = name;
    }
    SelectObject(dc, old);
  }
  DeleteDC(dc);
  return face;
}

std::string RealisedDialogFace() {
  const HDC screen = GetDC(nullptr);
  LOGFONTA logFont{};
  logFont.lfHeight = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  logFont.lfWeight = FW_NORMAL;
  logFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(logFont.lfFaceName, "MS Shell Dlg", LF_FACESIZE);
  const HFONT font = CreateFontIndirectA(&logFont);
  const std::string face = RealisedFace(font);
  DeleteObject(font);
  return face;
}

}  // namespace testing_support
