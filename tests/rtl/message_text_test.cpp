// Messages that quote files: escaped, cut with what was left out said, and bounded in number.
#include "vcl/SysUtils.hpp"

#include <cstdio>

#include "test_support.hpp"

using namespace vcl;

namespace {

// What a log printed, read back from its stream.
std::string Printed(std::FILE* F) {
  std::fflush(F);
  std::rewind(F);
  std::string out;
  for (int c; (c = std::fgetc(F)) != EOF;) out += static_cast<char>(c);
  return out;
}

}  // namespace

TEST(MessageText, EscapedShowsControlAndHighBytesAsCodes) {
  struct Case {
    std::string text, escaped, keepingBreaks;
  } cases[] = {
      {"plain text", "plain text", "plain text"},
      {"L\x1b[31m1", "L#27[31m1", "L#27[31m1"},
      {std::string("a\0b", 3), "a#0b", "a#0b"},
      {"one\ntwo\r", "one#10two#13", "one\ntwo#13"},
      {"caf\xE9\x7F", "caf#233#127", "caf#233#127"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Escaped(c.text), c.escaped);
    EXPECT_EQ(Escaped(c.text, true), c.keepingBreaks);
  }
}

TEST(MessageText, ExcerptCutsLongTextsAndSaysHowMuchWasLeftOut) {
  const std::string eighty(80, 'x');
  EXPECT_EQ(Excerpt(eighty), eighty);
  EXPECT_EQ(Excerpt(eighty + "y"), eighty + "... (1 byte more)");
  EXPECT_EQ(Excerpt(std::string(100'000'000, '\0')).size(), 80 + std::string("... (99999920 bytes more)").size());
  EXPECT_EQ(Excerpt("abcdef", 3), "abc... (3 bytes more)");
  EXPECT_EQ(Excerpt(""), "");
}

TEST(MessageText, LogEscapesCutsAndCountsWhatItDoesNotRepeat) {
  std::FILE* f = std::tmpfile();
  {
    MessageLog log(f, "tool \x1b");
    for (int i = 1; i <= MessagesOfAKind + 5; ++i) log.Print("skipped " + std::to_string(i), "warnings");
    log.Print("other", "faults");
    log.Print("error \x1b[2J");  // of no kind: never counted
    log.Print("usage:\n  tool", "", true);
    log.Print(std::string(MessageLength + 10, 'z'));
  }  // the log flushes as it goes
  const std::string printed = Printed(f);
  std::fclose(f);
  std::string expected;
  for (int i = 1; i <= MessagesOfAKind; ++i) expected += "tool #27: skipped " + std::to_string(i) + "\n";
  expected += "tool #27: other\ntool #27: error #27[2J\ntool #27: usage:\n  tool\n";
  expected += "tool #27: " + std::string(MessageLength, 'z') + "... (10 bytes more)\n";
  expected += "tool #27: 5 more warnings not shown\n";
  EXPECT_EQ(printed, expected);
}

TEST(MessageText, FlushStartsTheCountsAnew) {
  std::FILE* f = std::tmpfile();
  MessageLog log(f, "tool");
  for (int i = 0; i < MessagesOfAKind + 1; ++i) log.Print("a", "warnings");
  log.Flush();
  log.Print("b", "warnings");
  log.Flush();
  log.Flush();
  const std::string printed = Printed(f);
  std::fclose(f);
  std::string expected;
  for (int i = 0; i < MessagesOfAKind; ++i) expected += "tool: a\n";
  EXPECT_EQ(printed, expected + "tool: 1 more warnings not shown\ntool: b\n");
}
