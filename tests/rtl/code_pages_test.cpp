// Code pages: every page's defined and undefined bytes, lead bytes with and without their trail,
// round trips through UTF-16 and UTF-8, the character sets' pages, and strict and lenient UTF-8.
#include "vcl/CodePages.hpp"

#include "test_support.hpp"

using namespace vcl;

namespace {

constexpr char16_t None = 0xFFFD;

struct PageCase {
  int Page;
  const char* Defined;    // one character's bytes
  char16_t DefinedChar;
  const char* Undefined;  // one undefined character's bytes; empty when the page defines every byte
  char16_t UndefinedAs;   // what ToUtf16 makes of it
  unsigned char Lead;     // a lead byte; 0 in a single-byte page
};

const PageCase Pages[] = {
    {437, "\x80", 0x00C7, "", 0, 0},
    {874, "\xA1", 0x0E01, "\xDB", None, 0},
    {1250, "\x8A", 0x0160, "\x81", 0x0081, 0},
    {1251, "\xC0", 0x0410, "\x98", 0x0098, 0},
    {1252, "\x80", 0x20AC, "\x9D", 0x009D, 0},
    {1253, "\xC1", 0x0391, "\xAA", None, 0},  // from 0xA0 up no control character stands in
    {1254, "\xD0", 0x011E, "\x8E", 0x008E, 0},
    {1255, "\xE0", 0x05D0, "\xD9", None, 0},
    {1256, "\xC7", 0x0627, "", 0, 0},
    {1257, "\xE0", 0x0105, "\xA1", None, 0},
    {1258, "\xC3", 0x0102, "\x8A", 0x008A, 0},
    {10000, "\x80", 0x00C4, "", 0, 0},
    {932, "\x82\xA0", 0x3042, "\x85\x40", None, 0x82},
    {936, "\xD6\xD0", 0x4E2D, "\xA2\xA0", None, 0xD6},
    {949, "\xB0\xA1", 0xAC00, "\xC9\x41", None, 0xB0},
    {950, "\xA4\xA4", 0x4E2D, "\x81\x40", None, 0xA4},
};

std::u16string U(char16_t C) { return std::u16string(1, C); }

}  // namespace

TEST(CodePages, EveryPageDefinedAndUndefinedCharacters) {
  for (const PageCase& c : Pages) {
    SCOPED_TRACE(c.Page);
    const std::string defined = c.Defined, undefined = c.Undefined;
    EXPECT_TRUE(IsKnownCodePage(c.Page));
    EXPECT_EQ(IsDoubleByteCodePage(c.Page), c.Lead != 0);
    EXPECT_EQ(CharToUtf16(c.Page, defined), c.DefinedChar);
    EXPECT_EQ(ToUtf16(c.Page, "a" + defined + "b"), u"a" + U(c.DefinedChar) + u"b");
    EXPECT_EQ(FromUtf16(c.Page, U(c.DefinedChar)), defined);
    EXPECT_EQ(FirstUndefined(c.Page, "a" + defined), std::nullopt);
    if (undefined.empty()) {
      std::string all;
      for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
      EXPECT_EQ(FirstUndefined(c.Page, all), std::nullopt) << "the page defines every byte";
      continue;
    }
    EXPECT_EQ(CharToUtf16(c.Page, undefined), std::nullopt);
    EXPECT_EQ(FirstUndefined(c.Page, "ab" + defined + undefined), 2 + defined.size());
    EXPECT_EQ(ToUtf16(c.Page, undefined + "x"), U(c.UndefinedAs) + u"x");
    if (c.UndefinedAs != None) {
      EXPECT_EQ(FromUtf16(c.Page, U(c.UndefinedAs)), undefined) << "the stand-in goes back";
    }
  }
}

TEST(CodePages, LeadBytesWithAndWithoutTheirTrail) {
  for (const PageCase& c : Pages) {
    SCOPED_TRACE(c.Page);
    const std::string lead(1, static_cast<char>(c.Lead));
    if (!c.Lead) {
      for (int b = 0; b < 256; ++b) EXPECT_FALSE(IsLeadByte(c.Page, static_cast<unsigned char>(b))) << b;
      EXPECT_EQ(CharCount(c.Page, "\x81\x82\x83"), 3u);
      continue;
    }
    EXPECT_TRUE(IsLeadByte(c.Page, c.Lead));
    EXPECT_FALSE(IsLeadByte(c.Page, 'A'));
    const std::string text = "a" + std::string(c.Defined) + "b";
    EXPECT_EQ(CharLength(c.Page, text, 1), 2u);
    EXPECT_EQ(CharLength(c.Page, text, 3), 1u);
    EXPECT_EQ(CharLength(c.Page, text, 4), 0u) << "the end";
    EXPECT_EQ(CharCount(c.Page, text), 3u);
    // Without its trail: at the end, or before a NUL, a lead byte is a character of its own.
    EXPECT_EQ(CharLength(c.Page, "x" + lead, 1), 1u);
    EXPECT_EQ(CharToUtf16(c.Page, lead), std::nullopt);
    EXPECT_EQ(FirstUndefined(c.Page, "ab" + lead), 2u);
    EXPECT_EQ(ToUtf16(c.Page, "a" + lead), u"a" + U(None));
    EXPECT_EQ(ToUtf16(c.Page, lead + std::string(1, '\0') + "z"), U(None) + std::u16string(1, u'\0') + u"z");
    // A trail that is no trail byte still makes one (undefined) character with its lead.
    EXPECT_EQ(CharCount(c.Page, lead + "\x01"), 1u);
    EXPECT_EQ(ToUtf16(c.Page, lead + "\x01" + "z"), U(None) + u"z");
  }
  // A trail byte that is an ASCII character belongs to its lead: 0x5C is no backslash here.
  EXPECT_EQ(ToUtf16(932, "\x81\x5C\\"), u"\u2015\\");
  EXPECT_EQ(CharCount(932, "\x81\x5C\\"), 2u);
  EXPECT_EQ(ToUtf16(936, "\x81\x40"), u"\u4E02");
  EXPECT_EQ(ToUtf16(936, "\x80"), u"\u20AC") << "936 has the euro sign as one byte";
  EXPECT_EQ(ToUtf16(932, "\xB1"), u"\uFF71") << "a half-width katakana is one byte";
}

TEST(CodePages, EveryCharacterRoundTripsThroughUtf16AndUtf8) {
  for (const PageCase& c : Pages) {
    SCOPED_TRACE(c.Page);
    // Every character of the page, one or two bytes, once.
    std::string all;
    for (int b = 1; b < 256; ++b) {
      if (!IsLeadByte(c.Page, static_cast<unsigned char>(b))) {
        all += static_cast<char>(b);
        continue;
      }
      for (int t = 0x40; t <= 0xFE; ++t) all += {static_cast<char>(b), static_cast<char>(t)};
    }
    const std::u16string units = ToUtf16(c.Page, all);
    std::u16string defined;
    std::size_t count = 0;
    for (const char16_t u : units)
      if (u != None) defined += u, ++count;
    EXPECT_GT(count, c.Lead ? 7000u : 200u);
    EXPECT_TRUE(CanEncode(c.Page, defined));
    EXPECT_FALSE(CanEncode(c.Page, U(None)));
    const std::string bytes = FromUtf16(c.Page, defined);
    EXPECT_EQ(ToUtf16(c.Page, bytes), defined) << "every character comes back";
    TUnconvertible problem;
    EXPECT_EQ(FromUtf8(c.Page, ToUtf8(c.Page, bytes), problem), bytes) << problem.Offset;
    EXPECT_EQ(ToUtf8(c.Page, bytes), Utf16ToUtf8(defined));
    if (!c.Lead && std::string(c.Undefined).empty()) {
      EXPECT_EQ(bytes, all) << "and every byte";
    }
  }
  // The bytes of 1252 all come back, the unassigned ones through their control characters.
  std::string ansi;
  for (int b = 0; b < 256; ++b) ansi += static_cast<char>(b);
  EXPECT_EQ(FromUtf16(1252, ToUtf16(1252, ansi)), ansi);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(ansi)), ansi);
}

TEST(CodePages, WhatAPageLacks) {
  struct Case {
    int Page;
    std::u16string Text;
    std::string Bytes;
  } cases[] = {
      {1252, u"K\u00F6ln \u0151", "K\xF6ln ?"},
      {1252, u"\u0080", "?"},                      // 0x80 is the euro sign: U+0080 has no byte
      {1252, u"a\U0001F600b", "a?b"},              // one "?" for a surrogate pair
      {1252, std::u16string(1, 0xD800) + u"b", "?b"},  // and for a lone surrogate
      {1251, u"\u0416\u00F6", "\xC6?"},
      {932, u"\u3042\u4E2D\u0416", "\x82\xA0\x92\x86\x84\x47"},
      {949, u"\u3042\u00E9", "\xAA\xA2?"},
      {0, u"a\u00E9", "a?"},                       // the symbol set: no table, ASCII only
      {1361, u"\uAC00", "?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Page);
    EXPECT_EQ(FromUtf16(c.Page, c.Text), c.Bytes);
    EXPECT_EQ(CanEncode(c.Page, c.Text), c.Bytes.find('?') == std::string::npos);
  }
  EXPECT_FALSE(IsKnownCodePage(0));
  EXPECT_EQ(ToUtf16(0, "a\xE9"), u"a\uFFFD");
  EXPECT_EQ(FirstUndefined(1361, "ab\xB0\xA1"), 2u);
  EXPECT_EQ(UnicodeToAnsiChar(0x20AC), 0x80);
  EXPECT_EQ(UnicodeToAnsiChar(0x0081), 0x81);
  EXPECT_EQ(UnicodeToAnsiChar(0x0151), -1);
  EXPECT_EQ(UnicodeToAnsiChar(0x10000 + 0xE9), -1);
  EXPECT_EQ(AnsiCharToUnicode('\x8D'), 0x008D);
}

TEST(CodePages, CodePageOfEveryCharacterSet) {
  struct Case {
    int Charset, Page;
  } cases[] = {
      {0, 1252}, {1, 1252}, {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
      {204, 1251}, {222, 874}, {238, 1250}, {128, 932}, {129, 949}, {134, 936}, {136, 950},
      {2, 0}, {77, 10000}, {130, 1361}, {255, 437}, {99, 1252},
      {494, 1250},  // the low 8 bits: 494 is 256 + 238
  };
  for (const Case& c : cases) EXPECT_EQ(CodePageOfCharset(c.Charset), c.Page) << c.Charset;
  // The default sets, and those without a page of their own, take the system's page.
  EXPECT_EQ(CodePageOfCharset(0, 1251), 1251);
  EXPECT_EQ(CodePageOfCharset(1, 932), 932);
  EXPECT_EQ(CodePageOfCharset(99, 1251), 1251);
  EXPECT_EQ(CodePageOfCharset(204, 932), 1251);
}

TEST(CodePages, StrictUtf8RefusesWhatLenientUtf8Takes) {
  struct Case {
    std::string Utf8;
    std::optional<std::u16string> Lenient;  // nothing: not UTF-8 even so
    std::size_t StrictStop;                 // where strict decoding stops; npos: it reads it all
  } cases[] = {
      {"a\u00E9\u20AC\U0001F600", u"a\u00E9\u20AC\U0001F600", std::string::npos},
      {"", u"", std::string::npos},
      {"\xED\xA0\x80", std::u16string(1, 0xD800), 0},   // a surrogate on its own: as forms hold them
      {"a\xED\xB0\x80", u"a" + std::u16string(1, 0xDC00), 1},
      {"\xC0\x80", std::nullopt, 0},                    // overlong
      {"\xE0\x80\xAF", std::nullopt, 0},
      {"\xF4\x90\x80\x80", std::nullopt, 0},            // beyond U+10FFFF
      {"\xF8\x88\x80\x80\x80", std::nullopt, 0},
      {"ab\xC3", std::nullopt, 2},                      // cut
      {"x\xE2\x82y", std::nullopt, 1},
      {"\x80", std::nullopt, 0},                        // a continuation byte alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Utf8));
    std::u16string units;
    EXPECT_EQ(Utf8ToUtf16(c.Utf8, units), c.Lenient.has_value());
    if (c.Lenient) {
      EXPECT_EQ(units, *c.Lenient);
      EXPECT_EQ(Utf16ToUtf8(units), c.Utf8) << "written back as it was";
    }
    std::size_t offset = 0;
    while (offset < c.Utf8.size() && NextUtf8Char(c.Utf8, offset)) {
    }
    EXPECT_EQ(offset, c.StrictStop == std::string::npos ? c.Utf8.size() : c.StrictStop);
  }
  std::size_t at = 0;
  EXPECT_EQ(NextUtf8Char("\xF0\x9F\x98\x80", at), char32_t{0x1F600});
  EXPECT_EQ(at, 4u);
  EXPECT_EQ(Utf8CharCount("a\u00E9\u20AC\U0001F600"), 4u);
  EXPECT_EQ(Utf8ToAnsi("K\xC3\xB6ln \xC5\x91"), "K\xF6ln ?");
  EXPECT_EQ(Utf8ToAnsi("K\xF6ln"), "K\xF6ln") << "not UTF-8: the bytes as they are";
}

TEST(CodePages, FromUtf8NamesTheFirstCharacterItCannotHold) {
  struct Case {
    int Page;
    std::string Utf8;
    std::size_t Offset, Character;
    std::optional<char32_t> Code;
  } cases[] = {
      {1252, "Ouvrir \u0151", 7, 8, 0x0151},
      {1252, "\u00E9t\u00E9\u202F:", 5, 4, 0x202F},
      {1252, "a\U0001F600", 1, 2, 0x1F600},
      {1252, "ab\xC3", 2, 3, std::nullopt},
      {1251, "\u0416\u00E9", 2, 2, 0x00E9},
      {932, "\u3042\u20AC", 3, 2, 0x20AC},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Utf8);
    TUnconvertible problem;
    EXPECT_EQ(FromUtf8(c.Page, c.Utf8, problem), std::nullopt);
    EXPECT_EQ(problem.Offset, c.Offset);
    EXPECT_EQ(problem.Character, c.Character);
    EXPECT_EQ(problem.Code, c.Code);
  }
  TUnconvertible problem;
  EXPECT_EQ(FromUtf8(1251, "\u0421\u043B\u043E\u0432\u043E", problem), std::string("\xD1\xEB\xEE\xE2\xEE"));
}
