// Texts and code pages: the character sets' code pages and the conversions between the bytes of
// a code page, UTF-16 and UTF-8.
#include "vcl/CodePages.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "code_page_tables.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vcl {

namespace {

using code_page_tables::FirstTrail;
using code_page_tables::LastTrail;
using code_page_tables::RowLength;
using code_page_tables::TTable;

constexpr char16_t Replacement = 0xFFFD;

// A code page as the conversions use it, made from its table on first use: the two-byte
// characters decoded and the way back from characters to bytes.
struct TPage {
  std::once_flag Once;
  const TTable* Table = nullptr;
  std::array<std::int16_t, 256> Row{};              // the row of each lead byte; -1 for other bytes
  std::u16string Double;                             // the rows, RowLength characters each
  std::unordered_map<char16_t, std::uint16_t> Bytes;  // from 0x80 up: a byte, or lead << 8 | trail

  void Build() {
    Row.fill(-1);
    std::int16_t rows = 0;
    for (const auto& range : Table->LeadBytes)
      for (int b = range[0]; range[0] != 0 && b <= range[1]; ++b) Row[static_cast<std::size_t>(b)] = rows++;
    Double.resize(static_cast<std::size_t>(rows) * RowLength);
    for (std::size_t i = 0; i < Double.size(); ++i) {
      const char* hex = Table->Rows[i / RowLength] + 4 * (i % RowLength);
      char16_t c = 0;
      for (int k = 0; k < 4; ++k) c = static_cast<char16_t>(c << 4 | (hex[k] <= '9' ? hex[k] - '0' : hex[k] - 'A' + 10));
      Double[i] = c;
    }
    // emplace keeps the first sequence of a character: single bytes, then pairs in byte order.
    for (int b = 0x80; b < 0x100; ++b) {
      if (const char16_t c = Table->High[b - 0x80]) Bytes.emplace(c, static_cast<std::uint16_t>(b));
      else if (b < 0xA0 && Row[static_cast<std::size_t>(b)] < 0) Bytes.emplace(static_cast<char16_t>(b), static_cast<std::uint16_t>(b));
    }
    for (int lead = 0; lead < 256; ++lead) {
      if (Row[static_cast<std::size_t>(lead)] < 0) continue;
      for (int trail = FirstTrail; trail <= LastTrail; ++trail)
        if (const char16_t c = Double[static_cast<std::size_t>(Row[static_cast<std::size_t>(lead)]) * RowLength + (trail - FirstTrail)])
          Bytes.emplace(c, static_cast<std::uint16_t>(lead << 8 | trail));
    }
  }

  bool IsLead(unsigned char B) const { return Row[B] >= 0; }

  std::optional<char16_t> Char(std::string_view C) const {
    const auto b = static_cast<unsigned char>(C[0]);
    if (C.size() == 1) {
      if (b < 0x80) return b;
      if (const char16_t c = Table->High[b - 0x80]) return c;
      return std::nullopt;
    }
    const auto trail = static_cast<unsigned char>(C[1]);
    if (C.size() != 2 || !IsLead(b) || trail < FirstTrail || trail > LastTrail) return std::nullopt;
    if (const char16_t c = Double[static_cast<std::size_t>(Row[b]) * RowLength + (trail - FirstTrail)]) return c;
    return std::nullopt;
  }
};

// The page of number Page, ready for use; nullptr when there is no table of it.
const TPage* Find(int Page) {
  static std::vector<TPage> pages = [] {
    std::vector<TPage> v(code_page_tables::Tables().size());
    for (std::size_t i = 0; i < v.size(); ++i) v[i].Table = &code_page_tables::Tables()[i];
    return v;
  }();
  for (TPage& p : pages) {
    if (p.Table->Page != Page) continue;
    std::call_once(p.Once, [&p] { p.Build(); });
    return &p;
  }
  return nullptr;
}

std::size_t CharLength(const TPage* P, std::string_view Text, std::size_t Offset) {
  if (Offset >= Text.size()) return 0;
  return P && P->IsLead(static_cast<unsigned char>(Text[Offset])) && Offset + 1 < Text.size() && Text[Offset + 1] != '\0' ? 2 : 1;
}

std::optional<char16_t> CharOf(const TPage* P, std::string_view C) {
  if (C.empty()) return std::nullopt;
  if (static_cast<unsigned char>(C[0]) < 0x80 && C.size() == 1) return static_cast<char16_t>(C[0]);
  return P ? P->Char(C) : std::nullopt;
}

// The character that ToUtf16 gives an undefined one.
char16_t Lenient(const TPage* P, std::string_view C) {
  const auto b = static_cast<unsigned char>(C[0]);
  return C.size() == 1 && b >= 0x80 && b < 0xA0 && P && !P->IsLead(b) ? static_cast<char16_t>(b) : Replacement;
}

std::optional<std::string> BytesOf(const TPage* P, char16_t C) {
  if (C < 0x80) return std::string(1, static_cast<char>(C));
  if (!P) return std::nullopt;
  const auto it = P->Bytes.find(C);
  if (it == P->Bytes.end()) return std::nullopt;
  if (it->second < 0x100) return std::string(1, static_cast<char>(it->second));
  return std::string{static_cast<char>(it->second >> 8), static_cast<char>(it->second & 0xFF)};
}

bool IsSurrogatePair(std::u16string_view S, std::size_t I) {
  return S[I] >= 0xD800 && S[I] < 0xDC00 && I + 1 < S.size() && S[I + 1] >= 0xDC00 && S[I + 1] < 0xE000;
}

}  // namespace

// ---- Code pages ------------------------------------------------------------------------------

int SystemCodePage() {
#ifdef _WIN32
  return static_cast<int>(GetACP());
#else
  return AnsiCodePage;
#endif
}

int CodePageOfCharset(int Charset, int DefaultPage) {
  switch (Charset & 0xFF) {
    case 2: return 0;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return DefaultPage;  // 0 and 1 among them
  }
}

bool IsKnownCodePage(int Page) { return Find(Page) != nullptr; }

bool IsDoubleByteCodePage(int Page) {
  const TPage* p = Find(Page);
  return p && p->Table->Rows;
}

bool IsLeadByte(int Page, unsigned char Byte) {
  const TPage* p = Find(Page);
  return p && p->IsLead(Byte);
}

std::size_t CharLength(int Page, std::string_view Text, std::size_t Offset) { return CharLength(Find(Page), Text, Offset); }

std::size_t CharCount(int Page, std::string_view Text) {
  const TPage* p = Find(Page);
  std::size_t count = 0;
  for (std::size_t i = 0; i < Text.size(); i += CharLength(p, Text, i)) ++count;
  return count;
}

std::string_view WholeCharacters(int Page, std::string_view Text) {
  if (!IsDoubleByteCodePage(Page)) return Text;
  std::size_t i = 0, last = 0;
  while (i < Text.size()) {
    last = i;
    i += CharLength(Page, Text, i);
  }
  const bool split = !Text.empty() && last == Text.size() - 1 && IsLeadByte(Page, static_cast<unsigned char>(Text[last]));
  return split ? Text.substr(0, last) : Text;
}

std::optional<char16_t> CharToUtf16(int Page, std::string_view Char) { return CharOf(Find(Page), Char); }

std::optional<std::size_t> FirstUndefined(int Page, std::string_view Text) {
  const TPage* p = Find(Page);
  for (std::size_t i = 0, n; i < Text.size(); i += n) {
    n = CharLength(p, Text, i);
    if (!CharOf(p, Text.substr(i, n))) return i;
  }
  return std::nullopt;
}

std::u16string ToUtf16(int Page, std::string_view Text) {
  const TPage* p = Find(Page);
  std::u16string out;
  out.reserve(Text.size());
  for (std::size_t i = 0, n; i < Text.size(); i += n) {
    n = CharLength(p, Text, i);
    const std::string_view c = Text.substr(i, n);
    out += CharOf(p, c).value_or(Lenient(p, c));
  }
  return out;
}

std::string ToUtf8(int Page, std::string_view Text) { return Utf16ToUtf8(ToUtf16(Page, Text)); }

std::optional<std::string> FromUtf16Char(int Page, char16_t C) { return BytesOf(Find(Page), C); }

std::string FromUtf16(int Page, std::u16string_view Text) {
  const TPage* p = Find(Page);
  std::string out;
  out.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (const std::optional<std::string> bytes = BytesOf(p, Text[i])) {
      out += *bytes;
      continue;
    }
    if (IsSurrogatePair(Text, i)) ++i;  // one "?" for the pair
    out += '?';
  }
  return out;
}

bool CanEncode(int Page, std::u16string_view Text) {
  const TPage* p = Find(Page);
  return std::all_of(Text.begin(), Text.end(), [p](char16_t c) { return BytesOf(p, c).has_value(); });
}

std::optional<std::string> FromUtf8(int Page, std::string_view Text, TUnconvertible& Problem) {
  const TPage* p = Find(Page);
  std::string out;
  out.reserve(Text.size());
  std::size_t offset = 0;
  for (std::size_t character = 1; offset < Text.size(); ++character) {
    const std::size_t start = offset;
    const std::optional<char32_t> c = NextUtf8Char(Text, offset);
    std::optional<std::string> bytes;
    if (c && *c < 0x10000) bytes = BytesOf(p, static_cast<char16_t>(*c));
    if (!bytes) {
      Problem = {start, character, c};
      return std::nullopt;
    }
    out += *bytes;
  }
  return out;
}

// ---- The ANSI code page ----------------------------------------------------------------------

char16_t AnsiCharToUnicode(char C) {
  static const TPage* const ansi = Find(AnsiCodePage);
  const std::string_view c(&C, 1);
  return CharOf(ansi, c).value_or(Lenient(ansi, c));
}

int UnicodeToAnsiChar(char32_t C) {
  static const TPage* const ansi = Find(AnsiCodePage);
  if (C >= 0x10000) return -1;
  const std::optional<std::string> b = BytesOf(ansi, static_cast<char16_t>(C));
  return b ? static_cast<unsigned char>((*b)[0]) : -1;
}

std::string AnsiToUtf8(std::string_view S) { return ToUtf8(AnsiCodePage, S); }

std::string Utf8ToAnsi(std::string_view S) {
  std::u16string units;
  return Utf8ToUtf16(S, units) ? FromUtf16(AnsiCodePage, units) : std::string(S);
}

// ---- UTF-8 and UTF-16 ------------------------------------------------------------------------

std::size_t Utf8CharCount(std::string_view Text) {
  return static_cast<std::size_t>(std::count_if(Text.begin(), Text.end(), [](char b) { return StartsUtf8Char(static_cast<unsigned char>(b)); }));
}

std::optional<char32_t> NextUtf8Char(std::string_view Text, std::size_t& Offset) {
  if (Offset >= Text.size()) return std::nullopt;
  const auto b0 = static_cast<unsigned char>(Text[Offset]);
  if (b0 < 0x80) return ++Offset, b0;
  const int length = b0 >= 0xC2 && b0 <= 0xDF ? 2 : b0 >= 0xE0 && b0 <= 0xEF ? 3 : b0 >= 0xF0 && b0 <= 0xF4 ? 4 : 0;
  if (length == 0 || Offset + static_cast<std::size_t>(length) > Text.size()) return std::nullopt;
  char32_t c = b0 & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    const auto b = static_cast<unsigned char>(Text[Offset + static_cast<std::size_t>(i)]);
    if (StartsUtf8Char(b)) return std::nullopt;
    c = (c << 6) | (b & 0x3F);
  }
  constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  Offset += static_cast<std::size_t>(length);
  return c;
}

void AppendUtf8(std::string& Out, char32_t C) {
  const auto put = [&Out](char32_t Byte) { Out += static_cast<char>(Byte); };
  if (C < 0x80) {
    put(C);
  } else if (C < 0x800) {
    put(0xC0 | C >> 6);
    put(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    put(0xE0 | C >> 12);
    put(0x80 | (C >> 6 & 0x3F));
    put(0x80 | (C & 0x3F));
  } else {
    put(0xF0 | C >> 18);
    put(0x80 | (C >> 12 & 0x3F));
    put(0x80 | (C >> 6 & 0x3F));
    put(0x80 | (C & 0x3F));
  }
}

std::string Utf16ToUtf8(std::u16string_view S) {
  std::string out;
  out.reserve(S.size());
  for (std::size_t i = 0; i < S.size(); ++i) {
    char32_t c = S[i];
    if (IsSurrogatePair(S, i)) c = 0x10000 + ((c - 0xD800) << 10) + (S[++i] - 0xDC00);
    AppendUtf8(out, c);
  }
  return out;
}

bool Utf8ToUtf16(std::string_view S, std::u16string& Out) {
  Out.clear();
  for (std::size_t i = 0; i < S.size();) {
    const auto lead = static_cast<std::uint8_t>(S[i]);
    std::size_t length;
    std::uint32_t c, least;
    if (lead < 0x80) length = 1, c = lead, least = 0;
    else if ((lead & 0xE0) == 0xC0) length = 2, c = lead & 0x1F, least = 0x80;
    else if ((lead & 0xF0) == 0xE0) length = 3, c = lead & 0x0F, least = 0x800;
    else if ((lead & 0xF8) == 0xF0) length = 4, c = lead & 0x07, least = 0x10000;
    else return false;
    if (i + length > S.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto b = static_cast<std::uint8_t>(S[i + k]);
      if (StartsUtf8Char(b)) return false;
      c = c << 6 | (b & 0x3F);
    }
    if (c < least || c > 0x10FFFF) return false;
    if (c >= 0x10000) {
      Out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      Out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      Out += static_cast<char16_t>(c);
    }
    i += length;
  }
  return true;
}

}  // namespace vcl
