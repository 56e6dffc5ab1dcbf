// Texts and code pages: the code page of a character set, and texts between the bytes of a
// Windows code page, UTF-16 and UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vcl {

// ---- Code pages ------------------------------------------------------------------------------

/// The ANSI code page: 1252, the one of the hosts forms come from. The class library's strings
/// and Lumetra's entries are its bytes on both window systems, so a form reads the same everywhere.
inline constexpr int AnsiCodePage = 1252;

/// The ANSI code page of the system this runs on: GetACP() on Windows, AnsiCodePage elsewhere.
int SystemCodePage();

/// The code page a character set's texts are shown in, by its low 8 bits: DefaultPage (the
/// system's ANSI code page) for 0, 1 and any set without one of its own; 0 for the symbol set
/// (2), whose texts are not characters. Never fails.
int CodePageOfCharset(int Charset, int DefaultPage = AnsiCodePage);

/// Whether there is a table of code page Page: 437, 874, 932, 936, 949, 950, 1250 to 1258 and 10000.
bool IsKnownCodePage(int Page);
/// Whether Page is one of the double-byte code pages (932, 936, 949, 950).
bool IsDoubleByteCodePage(int Page);
/// Whether Byte begins a two-byte character in code page Page; false in any other page.
bool IsLeadByte(int Page, unsigned char Byte);

/// How many bytes the character at Offset of Text has in code page Page: 2 for a lead byte with a
/// byte other than NUL after it (as Windows steps through texts), otherwise 1; 0 at the end.
std::size_t CharLength(int Page, std::string_view Text, std::size_t Offset);
/// How many characters Text has in code page Page, counted as CharLength steps.
std::size_t CharCount(int Page, std::string_view Text);
/// Text without a lead byte left alone at its end: a text cut at a byte count (or at a NUL)
/// in a double-byte code page may end in the first half of a character. Text itself otherwise.
std::string_view WholeCharacters(int Page, std::string_view Text);

/// The character of one character's bytes (CharLength of them) in code page Page; nothing when
/// the page leaves them undefined (a lead byte without its trail among them) or has no table.
/// Bytes below 0x80 are ASCII in every page.
std::optional<char16_t> CharToUtf16(int Page, std::string_view Char);
/// The offset of the first character of Text that code page Page leaves undefined, if any; in a
/// page without a table every byte from 0x80 up is.
std::optional<std::size_t> FirstUndefined(int Page, std::string_view Text);

/// The UTF-16 form of Text in code page Page. An undefined byte from 0x80 to 0x9F that is no lead
/// byte stands for the control character of its number, as Windows converts the five that 1252
/// leaves unassigned, so that such a text converts back unchanged; any other undefined character
/// (a lead byte without its trail too) becomes U+FFFD. Never fails.
std::u16string ToUtf16(int Page, std::string_view Text);
/// The UTF-8 form of Text in code page Page, with the characters ToUtf16 gives. Never fails.
std::string ToUtf8(int Page, std::string_view Text);

/// The bytes of C in code page Page (one or two); nothing when the page lacks it. Where several
/// byte sequences stand for C, the first in byte order is taken; the control characters that
/// ToUtf16 gives undefined bytes go back to them.
std::optional<std::string> FromUtf16Char(int Page, char16_t C);
/// The bytes of a UTF-16 text in code page Page: "?" for each character the page lacks (one for
/// a surrogate pair), as Windows converts without best fit. Never fails.
std::string FromUtf16(int Page, std::u16string_view Text);
/// Whether code page Page has every character of Text.
bool CanEncode(int Page, std::u16string_view Text);

/// The first character of a UTF-8 text that a code page cannot hold, or the first byte that
/// starts no well-formed UTF-8 sequence.
struct TUnconvertible {
  std::size_t Offset = 0;         ///< byte offset in the UTF-8 text
  std::size_t Character = 0;      ///< its position in characters, from 1
  std::optional<char32_t> Code;   ///< the character; nothing for a byte that is no UTF-8
};
/// The code page Page form of a well-formed UTF-8 text (as NextUtf8Char reads it); the first
/// character the page cannot hold, or the first byte that is no UTF-8, is reported in Problem
/// and nothing is returned.
std::optional<std::string> FromUtf8(int Page, std::string_view Text, TUnconvertible& Problem);

// ---- The ANSI code page ----------------------------------------------------------------------

/// The character a byte of the ANSI code page stands for, as ToUtf16 gives it. Never fails.
char16_t AnsiCharToUnicode(char C);
/// The byte of the ANSI code page for the character C; -1 when the code page lacks it.
int UnicodeToAnsiChar(char32_t C);
/// The UTF-8 form of a text in the ANSI code page; never fails.
std::string AnsiToUtf8(std::string_view S);
/// The ANSI bytes of UTF-8 text as FromUtf16 gives them; S unchanged when it is not UTF-8 (as
/// Utf8ToUtf16 reads it).
std::string Utf8ToAnsi(std::string_view S);

// ---- UTF-8 and UTF-16 ------------------------------------------------------------------------

/// Whether Byte begins a character of UTF-8 text, that is, is no continuation byte: counting these
/// counts the characters of well-formed UTF-8.
constexpr bool StartsUtf8Char(unsigned char Byte) { return (Byte & 0xC0) != 0x80; }
/// How many characters a UTF-8 text has, counted as StartsUtf8Char does.
std::size_t Utf8CharCount(std::string_view Text);

/// Strict UTF-8: the character at Offset of Text, Offset moved past it; nothing, and Offset
/// unchanged, for a byte that starts no well-formed sequence (overlong forms, surrogates, codes
/// above U+10FFFF and cut sequences included).
std::optional<char32_t> NextUtf8Char(std::string_view Text, std::size_t& Offset);
/// The UTF-8 form of a code point (a surrogate as its own three bytes), appended to Out.
void AppendUtf8(std::string& Out, char32_t C);

/// The UTF-8 form of UTF-16 text; a lone surrogate is encoded as its own code point. Never fails.
std::string Utf16ToUtf8(std::u16string_view S);
/// Lenient UTF-8: the UTF-16 form of S, accepting surrogates encoded on their own as
/// Utf16ToUtf8 writes them; false, with Out incomplete, when S is not UTF-8 otherwise.
bool Utf8ToUtf16(std::string_view S, std::u16string& Out);

}  // namespace vcl
