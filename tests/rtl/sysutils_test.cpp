// Number conversion, formatting and file-name helpers.
#include "vcl/SysUtils.hpp"

#include "test_support.hpp"

using namespace vcl;

TEST(SysUtils, IntToStrWritesDecimalWithMinus) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-3), "-3");
  EXPECT_EQ(IntToStr(2147483647), "2147483647");
  EXPECT_EQ(IntToStr(-2147483648LL), "-2147483648");
}

TEST(SysUtils, StrToIntAcceptsBlanksSignDecimalAndHex) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {
      {"0", 0},           {"42", 42},       {"  42", 42},     {"-7", -7},
      {"+7", 7},          {"$1F", 31},      {"$ff", 255},     {"-$10", -16},
      {"$FFFFFFFF", -1},  {"007", 7},       {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(SysUtils, StrToIntRejectsEverythingElseWithTheMessage) {
  for (const char* text : {"", " ", "-", "$", "12a", "4 2", "42 ", "0x10", "2147483648", "-2147483649",
                           "$100000000", "1e3", "\t1"})
    EXPECT_THROW_MSG(StrToInt(text), EConvertError, "'" + std::string(text) + "' is not a valid integer value");
  int v = 5;
  EXPECT_FALSE(TryStrToInt("x", v));
  EXPECT_EQ(v, 5);
}

TEST(SysUtils, FormatFillsDirectivesInOrder) {
  EXPECT_EQ(Format("%s has %d lines (%x)%%", {"a.txt", std::int64_t{12}, std::int64_t{255}}),
            "a.txt has 12 lines (ff)%");
  EXPECT_THROW(Format("%d", {"text"}), EConvertError);
  EXPECT_THROW(Format("%s %s", {"one"}), EConvertError);
  EXPECT_THROW(Format("50%", {}), EConvertError);
}

TEST(SysUtils, ExtractFilePathKeepsTheLastSeparator) {
  EXPECT_EQ(ExtractFilePath("C:\\app\\bin\\prog.exe"), "C:\\app\\bin\\");
  EXPECT_EQ(ExtractFilePath("C:prog.exe"), "C:");
  EXPECT_EQ(ExtractFilePath("/usr/bin/prog"), "/usr/bin/");
  EXPECT_EQ(ExtractFilePath("prog"), "");
}

TEST(SysUtils, FileExistsOnlyForRegularFiles) {
  testing_support::ScratchDir dir;
  const std::string file = dir.File("x.txt");
  EXPECT_FALSE(FileExists(file));
  testing_support::WriteFile(file, "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(dir.Path().string()));
  EXPECT_FALSE(FileExists(""));
}
