// Simulated gdi32 fonts and the kernel32 services Lumetra uses.
#include <algorithm>
#include <cstring>

#include "state.hpp"

using namespace win_sim;

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
