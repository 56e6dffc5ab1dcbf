// The tables of the code pages that code_page_tables.cpp holds, as CodePages.cpp reads them.
#pragma once

#include <span>

namespace vcl::code_page_tables {

/// The trail bytes a row of a double-byte table covers.
inline constexpr unsigned char FirstTrail = 0x40, LastTrail = 0xFE;
inline constexpr int RowLength = LastTrail - FirstTrail + 1;

/// One code page: the characters of its bytes from 0x80 up and, in a double-byte page, of its
/// two-byte characters. 0 stands for no character.
struct TTable {
  int Page;
  const char16_t* High;            ///< bytes 0x80 to 0xFF; 0 for a lead byte and an undefined byte
  unsigned char LeadBytes[2][2];   ///< first and last byte of up to two ranges of lead bytes
  const char* const* Rows;         ///< per lead byte in order, RowLength characters as 4 hex digits
};

/// Every code page there is a table of.
std::span<const TTable> Tables();

}  // namespace vcl::code_page_tables
