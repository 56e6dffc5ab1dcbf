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

}  // namespace vcl
