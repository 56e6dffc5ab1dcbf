// Helpers shared by the sources of the controls layer.
#pragma once

#include <string>
#include <utility>

#include "win/api.h"

namespace vcl {

/// The window class of forms, panels and pages (the dialog background), registered on first use.
const char* ContainerWindowClass();
class TFont;
/// Width and height of Text in Font (lines at CR LF), as GetTextExtentPoint32A measures them: with
/// the real font on Windows, with the widths recorded under Wine in the simulation.
std::pair<int, int> TextExtent(TFont& Font, const std::string& Text);
/// Case-insensitive order of list boxes that sort, as the simulation sorts.
bool LessNoCase(const std::string& A, const std::string& B);
/// The text of a window.
std::string WindowText(HWND Hwnd);
/// The text of a window as UTF-16 (as the window holds it when it is a Unicode window).
std::u16string WindowTextW(HWND Hwnd);
/// The characters of a UTF-16 text as the W functions take them.
static_assert(sizeof(WCHAR) == sizeof(char16_t), "the W functions take UTF-16 code units");
inline LPCWSTR WideChars(const std::u16string& Text) { return reinterpret_cast<LPCWSTR>(Text.c_str()); }
/// The key of a WM_CHAR or WM_SYSCHAR of the layer's (Unicode) windows as the ANSI byte that
/// OnKeyPress and mnemonics take: its byte in the system's ANSI code page, "?" for a character
/// the page lacks. WideKey: the UTF-16 character of such a byte, for the window.
char AnsiKey(WPARAM Char);
WPARAM WideKey(char Key);

}  // namespace vcl
