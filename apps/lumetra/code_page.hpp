// Texts between the single-byte ANSI code page 1252 of entries and the UTF-8 of PO and XLIFF files.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumetra_cli {

/// The UTF-8 form of a text in code page 1252. The five bytes that 1252 leaves unassigned
/// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+0081 ... U+009D, as Windows converts them, so that
/// every text comes back unchanged. Never fails.
std::string Utf8FromAnsi(std::string_view Text);

/// A character of a UTF-8 text that code page 1252 cannot hold, or a byte that is no UTF-8.
struct Unconvertible {
  std::size_t Offset = 0;     // byte offset in the UTF-8 text
  std::size_t Character = 0;  // its position in characters, from 1
  std::string Description;    // "U+0151 LATIN SMALL LETTER O WITH DOUBLE ACUTE", "byte 0xC3 that is no UTF-8"
};

/// The code page 1252 form of a UTF-8 text; the first character it cannot hold, or the first
/// byte that is no UTF-8, is reported in Problem and nothing is returned.
std::optional<std::string> AnsiFromUtf8(std::string_view Text, Unconvertible& Problem);

/// How a character is named in messages: "U+0151 LATIN SMALL LETTER O WITH DOUBLE ACUTE" for
/// the ones translators meet most, otherwise its code and Unicode block ("U+4E2D, a CJK Unified
/// Ideographs character").
std::string CharacterName(char32_t Code);

}  // namespace lumetra_cli
