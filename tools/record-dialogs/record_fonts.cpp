// record-fonts: measures the faces that translations give dialogs (a Windows program, run under
// Wine) and writes <folder>/metrics.json: for each face and character set at the dialogs' font
// height, the face it is realised as, the line height and the advance width of every byte 32-255.
//
// Usage: record-fonts <folder>
//
// Notes:
// - The simulation measures translated texts with these tables, so that `lumetra check` on
//   Linux judges a text as Wine does with the pinned font set (cmake/wine-run).
// - Widths are read with GetCharWidth32A, which maps each byte through the code page of the
//   font's character set; a byte that code page leaves undefined still gets the width of the
//   glyph GDI falls back to.
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "dialog_font.hpp"
#include "win/api.h"

namespace {

// The faces that dialogs are given by themselves and by translations that change Font.Name.
const char* const Faces[] = {"MS Shell Dlg", "MS Sans Serif", "Arial", "Tahoma", "Times New Roman", "Courier New", "System"};
// ANSI, default, and the single-byte character sets of Central Europe, Cyrillic, Greek, Turkish, Baltic.
const int Charsets[] = {0, 1, 238, 204, 161, 162, 186};
// The height of every recorded dialog's font (data/dialogs).
const int Height = -11;

std::string Measure(HDC Dc, const char* Face, int Charset) {
  LOGFONTA lf{};
  lf.lfHeight = Height;
  lf.lfCharSet = static_cast<BYTE>(Charset);
  std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", Face);
  const HFONT font = CreateFontIndirectA(&lf);
  if (!font) throw std::runtime_error(std::string("cannot make the font ") + Face);
  const HGDIOBJ old = SelectObject(Dc, font);
  TEXTMETRICA tm{};
  GetTextMetricsA(Dc, &tm);
  INT widths[256] = {};
  if (!GetCharWidth32A(Dc, 32, 255, widths + 32)) throw std::runtime_error(std::string("no widths for ") + Face);
  std::string list;
  for (int c = 32; c < 256; ++c) list += (c > 32 ? "," : "") + std::to_string(widths[c]);
  SelectObject(Dc, old);
  const std::string realised = testing_support::RealisedFace(font);
  DeleteObject(font);
  return "    {\"face\": \"" + std::string(Face) + "\", \"charset\": " + std::to_string(Charset) + ", \"realised_face\": \"" +
         realised + "\", \"line_height\": " + std::to_string(tm.tmHeight) + ", \"widths\": \"" + list + "\"}";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: record-fonts <folder>\n");
    return 2;
  }
  try {
    const HDC dc = GetDC(nullptr);
    std::string out = "{\n  \"height\": " + std::to_string(Height) + ",\n  \"fonts\": [\n";
    bool first = true;
    for (const char* face : Faces)
      for (const int charset : Charsets) {
        out += (first ? "" : ",\n") + Measure(dc, face, charset);
        first = false;
      }
    out += "\n  ]\n}\n";
    ReleaseDC(nullptr, dc);
    const std::string file = std::string(argv[1]) + "\\metrics.json";
    std::ofstream f(file, std::ios::binary | std::ios::trunc);
    f << out;
    if (!f.flush()) throw std::runtime_error("cannot write " + file);
    std::printf("recorded %s\n", file.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "record-fonts: %s\n", e.what());
    return 1;
  }
  return 0;
}
