// Value literals: the conversion tables, decoding of foreign forms, errors and round trips.
#include "Vek.hpp"

#include <random>

#include "test_support.hpp"

using Vek::ConvertFromLiterals;
using Vek::ConvertToLiterals;

namespace {
std::string To(std::string s) {
  ConvertToLiterals(s);
  return s;
}
std::string From(std::string s) {
  ConvertFromLiterals(s);
  return s;
}
}  // namespace

TEST(Literals, PlainTextAndItsLiteralForm) {
  struct Case {
    std::string plain, literal;
  } cases[] = {
      {"Hello", "'Hello'"},  {"It's", "'It''s'"},     {"", "''"},
      {"A\r\nB", "'A'#13#10'B'"}, {"\tX", "#9'X'"},   {"X\r", "'X'#13"},
      {"\r\n", "#13#10"},    {"''", "''''''"},        {std::string("a\0b", 3), "'a'#0'b'"},
      {"\x7f\x80\xff", "'\x7f\x80\xff'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(To(c.plain), c.literal) << c.literal;
    EXPECT_EQ(From(c.literal), c.plain) << c.literal;
  }
}

TEST(Literals, EveryControlCharacterIsACodeAlone) {
  for (int code = 0; code < 32; ++code) {
    const std::string plain(1, static_cast<char>(code));
    EXPECT_EQ(To(plain), "#" + std::to_string(code));
    EXPECT_EQ(From(To(plain)), plain);
  }
}

TEST(Literals, DecodesFormsThatConversionDoesNotProduce) {
  struct Case {
    std::string literal, plain;
  } cases[] = {
      {"Arial", "Arial"},
      {"400", "400"},
      {"'abc' + 'def'", "abc + def"},
      {"#65#66", "AB"},
      {"'a#1'", "a#1"},
      {"'#13'", "#13"},
      {"#1234", "{4"},  // three digits at most: 123 then "4"
      {"#300", ","},    // modulo 256
      {"'abc", "abc"},  // a missing closing apostrophe is not an error
      {"Page #2", "Page \x02"},
      {"#065", "A"},
  };
  for (const Case& c : cases) EXPECT_EQ(From(c.literal), c.plain) << c.literal;
}

TEST(Literals, HashWithoutDigitsNamesTheLiteralAndLeavesItUnchanged) {
  std::string s = "'abc'#x";
  EXPECT_THROW_MSG(ConvertFromLiterals(s), vcl::EConvertError,
                   "''abc'#x' is not a valid literal: \"#\" at position 6 has no character code");
  EXPECT_EQ(s, "'abc'#x");
  EXPECT_THROW(From("#"), vcl::EConvertError);
}

TEST(Literals, RandomBytesSurviveTheRoundTrip) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 5000; ++round) {
    std::string text(rng() % 40, '\0');
    for (char& c : text) c = static_cast<char>(rng() % 256);
    if (round % 3 == 0)  // runs of the special characters, which random bytes rarely give
      for (char& c : text) c = "'#\r\n\0a"[rng() % 6];
    ASSERT_EQ(From(To(text)), text) << "round " << round;
  }
}

TEST(Literals, LongValuesConvertInOnePass) {
  // A quadratic implementation would take minutes here; this checks the result only.
  std::string text(1 << 20, '\'');
  for (std::size_t i = 0; i < text.size(); i += 3) text[i] = '\n';
  EXPECT_EQ(From(To(text)), text);
}
