// Simulated gdi32 fonts and text measuring, and the kernel32 services Lumetra uses.
#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "state.hpp"
#include "win/recorded_fonts.h"

using namespace win_sim;

namespace {

// The system font every device context starts with: a handle of its own, never deleted, and
// no entry of State::Fonts (so that LiveFontCount counts only what was created).
const HGDIOBJ SystemFont = reinterpret_cast<HGDIOBJ>(std::uintptr_t{0x0A000008});

// The device context hdc stands for; nullptr when GetDC gave none such.
HGDIOBJ* SelectedFont(HDC hdc) {
  auto& dcs = Sim().DeviceContexts;
  const auto it = dcs.find(reinterpret_cast<std::uintptr_t>(hdc));
  return it == dcs.end() ? nullptr : &it->second;
}

// The description of the font selected into a device context; the system font's for one
// deleted while selected.
LOGFONTA SelectedLogFont(HGDIOBJ Font) {
  const auto& fonts = Sim().Fonts;
  if (const auto it = fonts.find(reinterpret_cast<std::uintptr_t>(Font)); it != fonts.end()) return it->second;
  LOGFONTA lf{};
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = ANSI_CHARSET;
  std::strcpy(lf.lfFaceName, "System");
  return lf;
}

win::RecordedExtent Measured(const LOGFONTA& Font, std::string_view Text) {
  return win::MeasureRecorded(std::string_view(Font.lfFaceName, strnlen(Font.lfFaceName, LF_FACESIZE)), Font.lfCharSet,
                              Font.lfHeight, Text);
}

}  // namespace

HFONT CreateFontIndirectA(const LOGFONTA* lplf) {
  if (!lplf) {
    Sim().LastError = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  State& s = Sim();
  const std::uintptr_t id = s.NextFont;
  s.NextFont += 4;
  LOGFONTA copy = *lplf;
  copy.lfFaceName[LF_FACESIZE - 1] = '\0';
  s.Fonts[id] = copy;
  return reinterpret_cast<HFONT>(id);
}

int GetObjectA(HANDLE h, int c, LPVOID pv) {
  auto& fonts = Sim().Fonts;
  auto it = fonts.find(reinterpret_cast<std::uintptr_t>(h));
  if (it == fonts.end() || c < 0) return 0;
  if (!pv) return static_cast<int>(sizeof(LOGFONTA));
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(c), sizeof(LOGFONTA));
  std::memcpy(pv, &it->second, n);
  return static_cast<int>(n);
}

BOOL DeleteObject(HGDIOBJ ho) { return Sim().Fonts.erase(reinterpret_cast<std::uintptr_t>(ho)) ? TRUE : FALSE; }

HDC GetDC(HWND hWnd) {
  if (hWnd && !Find(hWnd)) {
    Sim().LastError = ERROR_INVALID_WINDOW_HANDLE;
    return nullptr;
  }
  State& s = Sim();
  const std::uintptr_t id = s.NextDeviceContext;
  s.NextDeviceContext += 4;
  s.DeviceContexts[id] = SystemFont;
  return reinterpret_cast<HDC>(id);
}

int ReleaseDC(HWND, HDC hDC) { return Sim().DeviceContexts.erase(reinterpret_cast<std::uintptr_t>(hDC)) ? 1 : 0; }

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  HGDIOBJ* selected = SelectedFont(hdc);
  if (!selected || (h != SystemFont && !Sim().Fonts.count(reinterpret_cast<std::uintptr_t>(h)))) return nullptr;
  return std::exchange(*selected, h);
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
  const HGDIOBJ* selected = SelectedFont(hdc);
  if (!selected || !psizl || c < 0 || (c > 0 && !lpString)) {
    Sim().LastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  const win::RecordedExtent e = Measured(SelectedLogFont(*selected), std::string_view(lpString, static_cast<std::size_t>(c)));
  *psizl = SIZE{e.Width, e.LineHeight};
  return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
  const HGDIOBJ* selected = SelectedFont(hdc);
  if (!selected || !lptm) return FALSE;
  const LOGFONTA lf = SelectedLogFont(*selected);
  *lptm = TEXTMETRICA{};
  lptm->tmHeight = Measured(lf, "").LineHeight;
  lptm->tmAveCharWidth = Measured(lf, "x").Width;
  for (int ch = 32; ch < 256; ++ch) {
    const char byte = static_cast<char>(ch);
    lptm->tmMaxCharWidth = std::max<LONG>(lptm->tmMaxCharWidth, Measured(lf, std::string_view(&byte, 1)).Width);
  }
  lptm->tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
  lptm->tmFirstChar = 32;
  lptm->tmLastChar = 255;
  lptm->tmDefaultChar = '?';
  lptm->tmBreakChar = ' ';
  lptm->tmItalic = lf.lfItalic;
  lptm->tmUnderlined = lf.lfUnderline;
  lptm->tmStruckOut = lf.lfStrikeOut;
  lptm->tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf.lfCharSet;
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  if (!SelectedFont(hdc)) return 0;
  return index == LOGPIXELSX || index == LOGPIXELSY ? Sim().PixelsPerInch : 0;
}

void SetScreenPixelsPerInch(int Dpi) { Sim().PixelsPerInch = Dpi; }

int GetTextFaceA(HDC hdc, int c, LPSTR lpName) {
  const HGDIOBJ* selected = SelectedFont(hdc);
  if (!selected) return 0;
  const LOGFONTA lf = SelectedLogFont(*selected);
  std::string_view face = win::RealisedFaceOf(std::string_view(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)), lf.lfCharSet);
  if (face.empty()) face = Measured(lf, "").Face;
  if (!lpName) return static_cast<int>(face.size()) + 1;
  if (c <= 0) return 0;
  const std::size_t n = std::min(face.size(), static_cast<std::size_t>(c) - 1);
  std::memcpy(lpName, face.data(), n);
  lpName[n] = '\0';
  return static_cast<int>(n);
}

BOOL GetTextExtentPoint32W(HDC hdc, const char16_t* lpString, int c, LPSIZE psizl) {
  const HGDIOBJ* selected = SelectedFont(hdc);
  if (!selected || !psizl || c < 0 || (c > 0 && !lpString)) {
    Sim().LastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  const LOGFONTA lf = SelectedLogFont(*selected);
  const win::RecordedExtent e = win::MeasureRecordedW(std::string_view(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)), lf.lfCharSet,
                                                      lf.lfHeight, std::u16string_view(lpString, static_cast<std::size_t>(c)));
  *psizl = SIZE{e.Width, e.LineHeight};
  return TRUE;
}

DWORD GetGlyphIndicesW(HDC hdc, const char16_t* lpstr, int c, WORD* pgi, DWORD fl) {
  const HGDIOBJ* selected = SelectedFont(hdc);
  if (!selected || c < 0 || (c > 0 && (!lpstr || !pgi))) {
    Sim().LastError = ERROR_INVALID_PARAMETER;
    return GDI_ERROR;
  }
  const LOGFONTA lf = SelectedLogFont(*selected);
  const std::string_view face = win::RealisedFaceOf(std::string_view(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)), lf.lfCharSet);
  for (int i = 0; i < c; ++i) {
    // A glyph is any index but the missing one; the character's own number serves.
    const bool has = win::HasRecordedGlyph(face, lpstr[i]).value_or(true);
    pgi[i] = has ? static_cast<WORD>(lpstr[i] == 0xFFFF ? 0xFFFE : lpstr[i]) : (fl & GGI_MARK_NONEXISTING_GLYPHS) ? 0xFFFF : 0;
  }
  return static_cast<DWORD>(c);
}

int win_sim::LiveFontCount() { return static_cast<int>(Sim().Fonts.size()); }

HMODULE GetModuleHandleA(LPCSTR) { return reinterpret_cast<HMODULE>(std::uintptr_t{0x400000}); }
DWORD GetCurrentThreadId() { return 1; }
DWORD GetTickCount() { return static_cast<DWORD>(Now()); }
DWORD GetLastError() { return Sim().LastError; }
void SetLastError(DWORD dwErrCode) { Sim().LastError = dwErrCode; }

// Class tables live in ordinary writable memory here; the call only reports a protection back.
BOOL VirtualProtect(LPVOID lpAddress, std::size_t dwSize, DWORD flNewProtect, PDWORD lpflOldProtect) {
  if (!lpAddress || !dwSize || !lpflOldProtect || !flNewProtect) {
    Sim().LastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  *lpflOldProtect = PAGE_READWRITE;
  return TRUE;
}

HGLOBAL GlobalFree(HGLOBAL) { return nullptr; }
