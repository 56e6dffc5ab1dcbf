// Code page 1252 <-> UTF-8: every byte both ways, and what cannot be converted named by position.
#include "exchange/CodePage.hpp"
#include "vcl/CodePages.hpp"

#include "test_support.hpp"

using namespace exchange;

TEST(CodePage, EveryByteComesBackUnchanged) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  Unconvertible problem;
  const std::optional<std::string> back = AnsiFromUtf8(vcl::AnsiToUtf8(all), problem);
  ASSERT_TRUE(back) << problem.Description;
  EXPECT_EQ(*back, all);
}

TEST(CodePage, TheBytesThatDifferFromLatin1) {
  struct Case {
    const char* ansi;
    const char* utf8;
  } cases[] = {
      {"\x80", "\u20AC"},             // euro sign
      {"\x96\x97", "\u2013\u2014"},   // en and em dash
      {"\x93q\x94", "\u201Cq\u201D"}, // typographic quotes
      {"\x8A\x9A\x8E\x9E", "\u0160\u0161\u017D\u017E"},
      {"\x9F", "\u0178"},
      {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},  // unassigned: as Windows maps them
      {"\xE9\xFF\xA0", "\u00E9\u00FF\u00A0"},                      // Latin-1 from 0xA0 up
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vcl::AnsiToUtf8(c.ansi), c.utf8) << c.utf8;
    Unconvertible problem;
    EXPECT_EQ(AnsiFromUtf8(c.utf8, problem), std::string(c.ansi)) << c.utf8;
  }
}

TEST(CodePage, WhatCannotBeHeldIsNamedWithItsPosition) {
  struct Case {
    std::string utf8;
    std::size_t character, offset;
    std::string description;
  } cases[] = {
      {"Ouvrir \u0151", 8, 7, "U+0151 LATIN SMALL LETTER O WITH DOUBLE ACUTE"},
      {"\u00E9t\u00E9\u202F:", 4, 5, "U+202F NARROW NO-BREAK SPACE"},  // counted in characters, not bytes
      {"\u4E2D", 1, 0, "U+4E2D, a CJK Unified Ideographs character"},
      {"a\u0080", 2, 1, "U+0080, a C1 Controls character"},  // 0x80 is the euro sign in 1252
      {"\U0001F600", 1, 0, "U+1F600, a Pictographs and Emoji character"},
      {"\xF0\x90\x80\x80", 1, 0, "U+10000"},
      // Not UTF-8: a lone lead byte, a lone continuation byte, overlong forms, a surrogate, a cut sequence.
      {"ab\xC3", 3, 2, "byte 0xC3 that is no UTF-8"},
      {"\x80", 1, 0, "byte 0x80 that is no UTF-8"},
      {"\xC0\x80", 1, 0, "byte 0xC0 that is no UTF-8"},
      {"\xE0\x80\xAF", 1, 0, "byte 0xE0 that is no UTF-8"},
      {"\xED\xA0\x80", 1, 0, "byte 0xED that is no UTF-8"},
      {"\xF4\x90\x80\x80", 1, 0, "byte 0xF4 that is no UTF-8"},
      {"x\xE2\x82", 2, 1, "byte 0xE2 that is no UTF-8"},
  };
  for (const Case& c : cases) {
    Unconvertible problem;
    EXPECT_FALSE(AnsiFromUtf8(c.utf8, problem)) << c.description;
    EXPECT_EQ(problem.Character, c.character) << c.description;
    EXPECT_EQ(problem.Offset, c.offset) << c.description;
    EXPECT_EQ(problem.Description, c.description);
  }
}
