// Messages that quote files: excerpts that say what they left out, and logs that stop repeating.
#include "vcl/SysUtils.hpp"

#include <cstdio>

#include "test_support.hpp"

using namespace vcl;

TEST(MessageText, ExcerptCutsLongTextsAndSaysHowMuchWasLeftOut) {
  const std::string eighty(80, 'x');
  EXPECT_EQ(Excerpt(eighty), eighty);
  EXPECT_EQ(Excerpt(eighty + "y"), eighty + "... (1 byte more)");
  EXPECT_EQ(Excerpt("abcdef", 3), "abc... (3 bytes more)");
}

TEST(MessageText, LogEscapesCutsAndCountsWhatItDoesNotRepeat) {
  std::FILE* f = std::tmpfile();
  {
    MessageLog log(f, "tool \x1b");
    for (int i = 1; i <= MessagesOfAKind + 5; ++i) log.Print("skipped " + std::to_string(i), "warnings");
    log.Print("error \x1b[2J");  // of no kind: never counted
    log.Print("usage:\n  tool", "", true);
    log.Print(std::string(MessageLength + 10, 'z'));
  }  // flushed when it goes
  std::rewind(f);
  std::string printed;
  for (int c; (c = std::fgetc(f)) != EOF;) printed += static_cast<char>(c);
  std::fclose(f);
  std::string expected;
  for (int i = 1; i <= MessagesOfAKind; ++i) expected += "tool #27: skipped " + std::to_string(i) + "\n";
  expected += "tool #27: error #27[2J\ntool #27: usage:\n  tool\ntool #27: " + std::string(MessageLength, 'z') + "... (10 bytes more)\n";
  EXPECT_EQ(printed, expected + "tool #27: warnings: 5 more not shown\n");
}
