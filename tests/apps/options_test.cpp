// The command line's one option parser: "--", --help, values, unknown options; and the texts
// every command gives for wrong usage through it.
#include "options.hpp"

#include <cstdio>

#include "captured_output.hpp"
#include "test_support.hpp"

namespace {

using lumetra_cli::Args;
using lumetra_cli::Option;
using lumetra_cli::Parsed;
using lumetra_cli::UsageError;

struct Taken {
  bool Add = false;
  std::optional<int> Locale;
  std::string Output;
};

Parsed Parse(const Args& Arguments, Taken& T) {
  return lumetra_cli::ParseOptions(Arguments, {lumetra_cli::Flag("--add", T.Add), lumetra_cli::LocaleOption(T.Locale),
                                               lumetra_cli::Value("--output", "-o", "a file name", T.Output)});
}

TEST(Options, TakeFlagsValuesAndAliasesAndKeepTheRestInOrder) {
  struct Case {
    const char* Name;
    Args Arguments;
    std::vector<std::string> Positional;
    bool Help, Add;
    std::optional<int> Locale;
    std::string Output;
  };
  const Case cases[] = {
      {"nothing", {}, {}, false, false, {}, ""},
      {"options among arguments", {"a", "--add", "b", "--locale", "-1", "c"}, {"a", "b", "c"}, false, true, -1, ""},
      {"alias", {"-o", "out.png", "f"}, {"f"}, false, false, {}, "out.png"},
      {"a value that looks like an option", {"--output", "--add"}, {}, false, false, {}, "--add"},
      {"the last value counts", {"--locale", "1", "--locale", "2"}, {}, false, false, 2, ""},
      {"\"--\" ends the options", {"--", "--add", "-o", "--help", "--"}, {"--add", "-o", "--help", "--"}, false, false, {}, ""},
      {"\"-\" alone and an empty argument are arguments", {"-", ""}, {"-", ""}, false, false, {}, ""},
      {"--help and -h", {"x", "--help"}, {"x"}, true, false, {}, ""},
      {"-h", {"-h", "--add"}, {}, true, true, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Taken t;
    const Parsed p = Parse(c.Arguments, t);
    EXPECT_EQ(p.Positional, c.Positional);
    EXPECT_EQ(p.Help, c.Help);
    EXPECT_EQ(t.Add, c.Add);
    EXPECT_EQ(t.Locale, c.Locale);
    EXPECT_EQ(t.Output, c.Output);
  }
}

TEST(Options, RefuseUnknownOptionsMissingValuesAndLocalesThatAreNoNumbers) {
  const struct {
    Args Arguments;
    const char* Message;
  } cases[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"-x.dfm"}, "unknown option '-x.dfm'"},
      {{"--Add"}, "unknown option '--Add'"},
      {{"--add=1"}, "unknown option '--add=1'"},
      {{"f", "--locale"}, "--locale needs a number"},
      {{"-o"}, "-o needs a file name"},
      {{"--output"}, "--output needs a file name"},
      {{"--locale", "12a"}, "--locale '12a' is not an integer"},
      {{"--locale", ""}, "--locale '' is not an integer"},
  };
  for (const auto& c : cases) {
    Taken t;
    EXPECT_THROW_MSG(Parse(c.Arguments, t), UsageError, c.Message);
  }
}

TEST(Options, HelpOrCheckPrintsHelpOrCountsTheArguments) {
  testing_support::CapturedOutput out(stdout);
  EXPECT_TRUE(lumetra_cli::HelpOrCheck({{"a", "b", "c"}, true}, 1, "usage: x\n")) << "help wins over the count";
  EXPECT_EQ(out.Text(), "usage: x\n");
  EXPECT_FALSE(lumetra_cli::HelpOrCheck({{"a"}, false}, 1, "usage: x\n"));
  EXPECT_THROW_MSG(lumetra_cli::HelpOrCheck({{}, false}, 1, "usage: x\n"), UsageError, "wrong arguments\n\nusage: x\n");
  EXPECT_THROW_MSG(lumetra_cli::HelpOrCheck({{"a", "b"}, false}, 1, "usage: x\n"), UsageError, "wrong arguments\n\nusage: x\n");
}

// Every command parses through the table: the same words for the same fault, and exit code 2.
TEST(Options, EveryCommandGivesTheSameTextsForWrongUsage) {
  const testing_support::ScratchDir dir;
  const std::string errors = dir.File("stderr.txt");
  const struct {
    Args Arguments;
    std::string FirstLine;
  } cases[] = {
      {{"check", "f.dfm", "--locale"}, "lumetra check: --locale needs a number"},
      {{"check", "f.dfm", "--class", "TOpenDialog"}, "lumetra check: unknown option '--class'"},
      {{"preview", "f.dfm", "--class"}, "lumetra preview: --class needs a class name"},
      {{"preview", "f.dfm", "-o"}, "lumetra preview: -o needs a file name"},
      {{"text", "save", "f.dfm", "t.txt", "--locale", "x"}, "lumetra text: --locale 'x' is not an integer"},
      {{"pseudo", "f.dfm", "t.txt", "--locale"}, "lumetra pseudo: --locale needs a number"},
      {{"form", "show", "f.dfm", "--resource"}, "lumetra form: unknown option '--resource'"},
      {{"form", "convert", "a", "b", "--add"}, "lumetra form: unknown option '--add'"},
      {{"form", "list"}, "lumetra form: form needs show or convert"},
      {{"capture", "--locale", "1", "f.dfm"}, "lumetra capture: unknown option '--locale'"},
      {{"edit", "f.dfm", "--rtl"}, "lumetra edit: unknown option '--rtl'"},
      {{"dict", "export", "f.dfm", "--po"}, "lumetra dict: --po needs a file name"},
      {{"dict", "import", "f.dfm", "--po", "f.po", "--lang", "de"}, "lumetra dict: unknown option '--lang'"},
      {{"dict", "export", "f.dfm", "--po", "f.po", "--lang"}, "lumetra dict: --lang needs a language such as de_DE"},
      // The demo said "unknown option" with exit code 1, and took an argument for an option.
      {{"demo", "--bogus"}, "lumetra demo: unknown option '--bogus'"},
      {{"demo", "--hold-dialogs"}, "lumetra demo: --hold-dialogs needs a folder"},
      {{"demo", "shots"}, "lumetra demo: wrong arguments"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Arguments));
    std::FILE* f = std::fopen(errors.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const int code = lumetra_cli::Run(c.Arguments, f);
    std::fclose(f);
    const std::string said = testing_support::ReadFile(errors);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(said.substr(0, said.find('\n')), c.FirstLine);
  }
}

}  // namespace
