// Texts from the UTF-8 of PO and XLIFF files into the code page of entries (a dialog class's,
// Vek::TextCodePage), with what cannot be converted named.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace exchange {

/// A character of a UTF-8 text that a code page cannot hold, or a byte that is no UTF-8.
struct Unconvertible {
  std::size_t Offset = 0;     // byte offset in the UTF-8 text
  std::size_t Character = 0;  // its position in characters, from 1
  std::string Description;    // "U+0151 LATIN SMALL LETTER O WITH DOUBLE ACUTE", "byte 0xC3 that is no UTF-8"
};

/// The code page Page form of a UTF-8 text (vcl::FromUtf8); the first character the page cannot
/// hold, or the first byte that is no UTF-8, is reported in Problem, named, and nothing is returned.
std::optional<std::string> TextFromUtf8(int Page, std::string_view Text, Unconvertible& Problem);
/// TextFromUtf8 in code page 1252.
std::optional<std::string> AnsiFromUtf8(std::string_view Text, Unconvertible& Problem);

/// How a character is named in messages: "U+0151 LATIN SMALL LETTER O WITH DOUBLE ACUTE" for
/// the ones translators meet most, otherwise its code and Unicode block ("U+4E2D, a CJK Unified
/// Ideographs character").
std::string CharacterName(char32_t Code);

}  // namespace exchange
