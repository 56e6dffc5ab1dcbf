// record-fonts: measures the faces that translations give dialogs (a Windows program, run under
// Wine) and writes <folder>/metrics.json: for each face and character set at each height the
// dialogs' font has on a screen of 96, 120, 144 and 192 dpi, the face it is realised as, the line
// height and the advance width of every byte 32-255.
// With --coverage it writes one font set's part of coverage.json instead: the characters each
// face Wine offers has glyphs for, and the face each description is realised as in every
// character set a translation may name.
//
// Usage: record-fonts <folder>
//        record-fonts --coverage <set name> <file>
//
// Notes:
// - The simulation measures translated texts with these tables, so that `lumetra check` on
//   Linux judges a text as Wine does with the pinned font set (cmake/wine-run).
// - Glyphs are hinted at each size, so a width at one height is not the width at another scaled:
//   "i" is 2 px at -11 but 4 px at -16, not 3. Each height a dialog's font takes is recorded.
// - Widths are read with GetCharWidth32A, which maps each byte through the code page of the
//   font's character set; a byte that code page leaves undefined still gets the width of the
//   glyph GDI falls back to.
// - Coverage is GetFontUnicodeRanges of the realised font: its ranges of the basic plane. Wine
//   lists the ranges of the other planes after them with their first character cut to 16 bits
//   (U+20729 as U+0729), so the list is taken up to the first range that does not ascend.
//   Which face a description is realised as depends on the character set asked for (Wine 8
//   realises "Noto Sans Arabic" at character set 1 as itself, at 0 as Liberation Sans, since the
//   Arabic face lacks the Latin-1 code page bit), so the realised face is recorded per set.
//   The faces recorded are those the descriptions of the recorder's lists are realised as.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialog_font.hpp"
#include "win/api.h"

namespace {

// The faces that dialogs are given by themselves and by translations that change Font.Name.
const char* const Faces[] = {"MS Shell Dlg", "MS Sans Serif", "Arial", "Tahoma", "Times New Roman", "Courier New", "System"};
// ANSI, default, and the single-byte character sets of Central Europe, Cyrillic, Greek, Turkish, Baltic.
const int Charsets[] = {0, 1, 238, 204, 161, 162, 186};
// The height of every recorded dialog's font (data/dialogs), at 96 dpi: that of 8 points.
const int Height = -11;
// The heights the dialogs' 8-point font has at 96, 120, 144 and 192 dpi (-MulDiv(8, dpi, 72)),
// and those of the 9-point font of East Asian dialogs.
const int Heights[] = {-11, -13, -16, -21, -12, -15, -18, -24};

std::string Measure(HDC Dc, const char* Face, int Charset, int AtHeight) {
  LOGFONTA lf{};
  lf.lfHeight = AtHeight;
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
  return "    {\"face\": \"" + std::string(Face) + "\", \"charset\": " + std::to_string(Charset) + ", \"height\": " +
         std::to_string(AtHeight) + ", \"realised_face\": \"" +
         realised + "\", \"line_height\": " + std::to_string(tm.tmHeight) + ", \"widths\": \"" + list + "\"}";
}

// Every character set a Font.Charset entry may give a dialog a code page of its own with, and
// the default ones.
const int CoverageCharsets[] = {0, 1, 238, 204, 161, 162, 186, 177, 178, 222, 128, 129, 134, 136};

// Faces a translation is likely to name for the scripts beyond Latin, Greek and Cyrillic.
const char* const ScriptFaces[] = {"Noto Sans",        "Noto Sans Hebrew", "Noto Sans Arabic", "Noto Sans Thai",
                                   "Noto Sans CJK JP", "Noto Sans CJK SC", "Noto Sans CJK TC", "Noto Sans CJK KR",
                                   "DejaVu Sans",      "Loma"};

HFONT MakeFont(const std::string& Face, int Charset) {
  LOGFONTA lf{};
  lf.lfHeight = Height;
  lf.lfCharSet = static_cast<BYTE>(Charset);
  std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", Face.c_str());
  const HFONT font = CreateFontIndirectA(&lf);
  if (!font) throw std::runtime_error("cannot make the font " + Face);
  return font;
}

// The UTF-16 ranges the font has glyphs for, as "first-last" in hexadecimal, separated by ",".
std::string Ranges(HDC Dc, HFONT Font) {
  const HGDIOBJ old = SelectObject(Dc, Font);
  const DWORD size = GetFontUnicodeRanges(Dc, nullptr);
  std::vector<char> buffer(size ? size : sizeof(GLYPHSET));
  auto* set = reinterpret_cast<GLYPHSET*>(buffer.data());
  if (!size || !GetFontUnicodeRanges(Dc, set)) throw std::runtime_error("no Unicode ranges");
  SelectObject(Dc, old);
  std::string list;
  char range[16];
  unsigned next = 0;  // the first character after the ranges so far
  for (DWORD i = 0; i < set->cRanges; ++i) {
    const unsigned first = set->ranges[i].wcLow, last = first + set->ranges[i].cGlyphs - 1;
    // The ranges beyond the basic plane come last, cut to 16 bits: they start below the others.
    if (first < next || last > 0xFFFF) break;
    next = last + 1;
    std::snprintf(range, sizeof range, "%X-%X", first, last);
    list += (i ? "," : "") + std::string(range);
  }
  return list;
}

// The faces a description of the recorder's lists is realised as, in every character set, and
// what each of those faces covers.
std::string Coverage(const std::string& SetName) {
  const HDC dc = GetDC(nullptr);
  std::vector<std::string> described(std::begin(Faces), std::end(Faces));
  described.insert(described.end(), std::begin(ScriptFaces), std::end(ScriptFaces));
  std::string realised;
  std::map<std::string, HFONT> realisedAs;  // a font of each face realised, for its ranges
  for (const std::string& face : described)
    for (const int charset : CoverageCharsets) {
      const HFONT font = MakeFont(face, charset);
      const std::string as = testing_support::RealisedFace(font);
      realised += std::string(realised.empty() ? "" : ",\n") + "      {\"face\": \"" + face + "\", \"charset\": " +
                  std::to_string(charset) + ", \"realised_face\": \"" + as + "\"}";
      HFONT& kept = realisedAs[as];
      if (kept) DeleteObject(font);
      else kept = font;
    }
  std::string faces;
  for (const auto& [face, font] : realisedAs) {
    faces += std::string(faces.empty() ? "" : ",\n") + "      {\"face\": \"" + face + "\", \"ranges\": \"" + Ranges(dc, font) + "\"}";
    DeleteObject(font);
  }
  ReleaseDC(nullptr, dc);
  return "    {\"set\": \"" + SetName + "\", \"faces\": [\n" + faces + "\n    ], \"realised\": [\n" + realised + "\n    ]}";
}

void WriteText(const std::string& File, const std::string& Text) {
  std::ofstream f(File, std::ios::binary | std::ios::trunc);
  f << Text;
  if (!f.flush()) throw std::runtime_error("cannot write " + File);
  std::printf("recorded %s\n", File.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--coverage") == 0) {
    try {
      WriteText(argv[3], Coverage(argv[2]) + "\n");
    } catch (const std::exception& e) {
      std::fprintf(stderr, "record-fonts: %s\n", e.what());
      return 1;
    }
    return 0;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: record-fonts <folder>\n       record-fonts --coverage <set name> <file>\n");
    return 2;
  }
  try {
    const HDC dc = GetDC(nullptr);
    std::string out = "{\n  \"height\": " + std::to_string(Height) + ",\n  \"fonts\": [\n";
    bool first = true;
    for (const int height : Heights)
      for (const char* face : Faces)
        for (const int charset : Charsets) {
          out += (first ? "" : ",\n") + Measure(dc, face, charset, height);
          first = false;
        }
    out += "\n  ]\n}\n";
    ReleaseDC(nullptr, dc);
    WriteText(std::string(argv[1]) + "\\metrics.json", out);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "record-fonts: %s\n", e.what());
    return 1;
  }
  return 0;
}
