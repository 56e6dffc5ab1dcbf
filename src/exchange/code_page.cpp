// UTF-8 to a code page, with the characters the page lacks named by code, name or block.
#include "exchange/CodePage.hpp"

#include <array>
#include <cstdio>

#include "vcl/CodePages.hpp"

namespace exchange {

namespace {

struct Named {
  char32_t Code;
  const char* Name;
};
// Characters that translations into languages written with 1252's script need and 1252 lacks.
constexpr Named Names[] = {
    {0x0009, "CHARACTER TABULATION"},
    {0x0102, "LATIN CAPITAL LETTER A WITH BREVE"},
    {0x0103, "LATIN SMALL LETTER A WITH BREVE"},
    {0x0104, "LATIN CAPITAL LETTER A WITH OGONEK"},
    {0x0105, "LATIN SMALL LETTER A WITH OGONEK"},
    {0x0106, "LATIN CAPITAL LETTER C WITH ACUTE"},
    {0x0107, "LATIN SMALL LETTER C WITH ACUTE"},
    {0x010C, "LATIN CAPITAL LETTER C WITH CARON"},
    {0x010D, "LATIN SMALL LETTER C WITH CARON"},
    {0x011A, "LATIN CAPITAL LETTER E WITH CARON"},
    {0x011B, "LATIN SMALL LETTER E WITH CARON"},
    {0x0118, "LATIN CAPITAL LETTER E WITH OGONEK"},
    {0x0119, "LATIN SMALL LETTER E WITH OGONEK"},
    {0x011E, "LATIN CAPITAL LETTER G WITH BREVE"},
    {0x011F, "LATIN SMALL LETTER G WITH BREVE"},
    {0x0130, "LATIN CAPITAL LETTER I WITH DOT ABOVE"},
    {0x0131, "LATIN SMALL LETTER DOTLESS I"},
    {0x0141, "LATIN CAPITAL LETTER L WITH STROKE"},
    {0x0142, "LATIN SMALL LETTER L WITH STROKE"},
    {0x0143, "LATIN CAPITAL LETTER N WITH ACUTE"},
    {0x0144, "LATIN SMALL LETTER N WITH ACUTE"},
    {0x0150, "LATIN CAPITAL LETTER O WITH DOUBLE ACUTE"},
    {0x0151, "LATIN SMALL LETTER O WITH DOUBLE ACUTE"},
    {0x0158, "LATIN CAPITAL LETTER R WITH CARON"},
    {0x0159, "LATIN SMALL LETTER R WITH CARON"},
    {0x015A, "LATIN CAPITAL LETTER S WITH ACUTE"},
    {0x015B, "LATIN SMALL LETTER S WITH ACUTE"},
    {0x015E, "LATIN CAPITAL LETTER S WITH CEDILLA"},
    {0x015F, "LATIN SMALL LETTER S WITH CEDILLA"},
    {0x016E, "LATIN CAPITAL LETTER U WITH RING ABOVE"},
    {0x016F, "LATIN SMALL LETTER U WITH RING ABOVE"},
    {0x0170, "LATIN CAPITAL LETTER U WITH DOUBLE ACUTE"},
    {0x0171, "LATIN SMALL LETTER U WITH DOUBLE ACUTE"},
    {0x0179, "LATIN CAPITAL LETTER Z WITH ACUTE"},
    {0x017A, "LATIN SMALL LETTER Z WITH ACUTE"},
    {0x017B, "LATIN CAPITAL LETTER Z WITH DOT ABOVE"},
    {0x017C, "LATIN SMALL LETTER Z WITH DOT ABOVE"},
    {0x200B, "ZERO WIDTH SPACE"},
    {0x200E, "LEFT-TO-RIGHT MARK"},
    {0x200F, "RIGHT-TO-LEFT MARK"},
    {0x2011, "NON-BREAKING HYPHEN"},
    {0x2009, "THIN SPACE"},
    {0x202F, "NARROW NO-BREAK SPACE"},
    {0x2190, "LEFTWARDS ARROW"},
    {0x2192, "RIGHTWARDS ARROW"},
    {0x2212, "MINUS SIGN"},
    {0xFEFF, "ZERO WIDTH NO-BREAK SPACE"},
};

struct Block {
  char32_t First, Last;
  const char* Name;
};
constexpr Block Blocks[] = {
    {0x0000, 0x001F, "C0 Controls"},
    {0x0080, 0x009F, "C1 Controls"},
    {0x0100, 0x017F, "Latin Extended-A"},
    {0x0180, 0x024F, "Latin Extended-B"},
    {0x0250, 0x02AF, "IPA Extensions"},
    {0x02B0, 0x02FF, "Spacing Modifier Letters"},
    {0x0300, 0x036F, "Combining Diacritical Marks"},
    {0x0370, 0x03FF, "Greek and Coptic"},
    {0x0400, 0x04FF, "Cyrillic"},
    {0x0500, 0x052F, "Cyrillic Supplement"},
    {0x0530, 0x058F, "Armenian"},
    {0x0590, 0x05FF, "Hebrew"},
    {0x0600, 0x06FF, "Arabic"},
    {0x0900, 0x097F, "Devanagari"},
    {0x0E00, 0x0E7F, "Thai"},
    {0x10A0, 0x10FF, "Georgian"},
    {0x1100, 0x11FF, "Hangul Jamo"},
    {0x1E00, 0x1EFF, "Latin Extended Additional"},
    {0x1F00, 0x1FFF, "Greek Extended"},
    {0x2000, 0x206F, "General Punctuation"},
    {0x2070, 0x209F, "Superscripts and Subscripts"},
    {0x20A0, 0x20CF, "Currency Symbols"},
    {0x2100, 0x214F, "Letterlike Symbols"},
    {0x2150, 0x218F, "Number Forms"},
    {0x2190, 0x21FF, "Arrows"},
    {0x2200, 0x22FF, "Mathematical Operators"},
    {0x2300, 0x23FF, "Miscellaneous Technical"},
    {0x2500, 0x257F, "Box Drawing"},
    {0x25A0, 0x25FF, "Geometric Shapes"},
    {0x2600, 0x26FF, "Miscellaneous Symbols"},
    {0x2700, 0x27BF, "Dingbats"},
    {0x3000, 0x303F, "CJK Symbols and Punctuation"},
    {0x3040, 0x309F, "Hiragana"},
    {0x30A0, 0x30FF, "Katakana"},
    {0x4E00, 0x9FFF, "CJK Unified Ideographs"},
    {0xAC00, 0xD7AF, "Hangul Syllables"},
    {0xE000, 0xF8FF, "Private Use Area"},
    {0xFB00, 0xFB4F, "Alphabetic Presentation Forms"},
    {0xFE70, 0xFEFF, "Arabic Presentation Forms-B"},
    {0xFF00, 0xFFEF, "Halfwidth and Fullwidth Forms"},
    {0x1F300, 0x1FAFF, "Pictographs and Emoji"},
};

}  // namespace

std::string CharacterName(char32_t Code) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(Code));
  for (const Named& n : Names)
    if (n.Code == Code) return std::string(code) + " " + n.Name;
  for (const Block& b : Blocks)
    if (Code >= b.First && Code <= b.Last) return std::string(code) + ", a " + b.Name + " character";
  return code;
}

std::optional<std::string> TextFromUtf8(int Page, std::string_view Text, Unconvertible& Problem) {
  vcl::TUnconvertible at;
  std::optional<std::string> bytes = vcl::FromUtf8(Page, Text, at);
  if (!bytes) {
    char byte[48];
    std::snprintf(byte, sizeof byte, "byte 0x%02X that is no UTF-8", static_cast<unsigned char>(Text[at.Offset]));
    Problem = {at.Offset, at.Character, at.Code ? CharacterName(*at.Code) : std::string(byte)};
  }
  return bytes;
}

std::optional<std::string> AnsiFromUtf8(std::string_view Text, Unconvertible& Problem) {
  return TextFromUtf8(vcl::AnsiCodePage, Text, Problem);
}

}  // namespace exchange
