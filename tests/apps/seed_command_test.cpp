// `lumetra seed`: a seed PO reviewed with the gettext tools and imported, and the command's faults.
// (The dialogs shown in other languages under Wine are the scenario seed_languages.)
#include <cstdlib>
#include <filesystem>

#include "commands.hpp"
#include "exchange/Formats.hpp"
#include "exchange/Seed.hpp"
#include "form_file.hpp"
#include "test_support.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
using namespace lumetra_cli;

namespace {

const std::string SeedForm =
    "object Form1: TForm1\n"
    "  object Lumetra1: TLumetra\n"
    "    Storage = (\n"
    "      'TFindDialog.Caption='#39'Find'#39\n"
    "      'TFindDialog.Caption[1]='#39'&Find Next'#39\n"
    "      'TFindDialog.Caption[2]='#39'Cancel'#39\n"
    "      'TFindDialog.Caption[1038]='#39'&Help'#39)\n"
    "  end\n"
    "  object FindDialog1: TFindDialog\n"
    "  end\n"
    "end\n";

struct Lines : vcl::TStringList {
  Lines(std::initializer_list<const char*> L) {
    for (const char* l : L) Add(l);
  }
};

int Shell(const std::string& Command) { return std::system((Command + " >/dev/null 2>&1").c_str()); }

bool HaveGettext() {
#ifdef _WIN32
  return false;  // Linux programs: not run from under Wine
#else
  return Shell("msgfmt --version && msgcat --version && msgattrib --version") == 0;
#endif
}

}  // namespace

// The translator takes two of the three seeded texts: after msgattrib and msgcat, the import
// translates exactly those two and leaves the fuzzy one out.
TEST(SeedCommand, AReviewedSeedTranslatesWhatIsNoLongerFuzzy) {
  if (!HaveGettext()) GTEST_SKIP() << "gettext is not installed; tools/setup.sh installs it";
  ScratchDir dir;
  const std::string form = dir.File("form1.dfm"), po = dir.File("de.po"), reviewed = dir.File("reviewed.po");
  WriteFile(form, SeedForm);
  {
    FormFile f(form);
    const Lines shown({"TFindDialog.Caption='Suchen'", "TFindDialog.Caption[1]='&Weitersuchen'", "TFindDialog.Caption[2]='Abbrechen'",
                       "TFindDialog.Caption[1038]='&Help'"});
    const exchange::TSeed seed = exchange::SeedUnits(*f.Translator()->OrgProps(), shown, f.Root(), "de_DE");
    ASSERT_EQ(seed.Units.size(), 3u);
    exchange::WritePoUnits(po, "Form1", "de_DE", 1031, seed.Units);
  }
  ASSERT_EQ(Shell("msgfmt --check -o /dev/null '" + po + "'"), 0);
  // Accepted in a PO tool: the title and Cancel lose their fuzzy flag, then msgcat rewraps.
  const std::string accepted = dir.File("accepted.po");
  ASSERT_EQ(Shell("msgattrib --clear-fuzzy --only-fuzzy -o '" + accepted + "' '" + po + "'"), 0);
  std::string text = ReadFile(accepted);
  for (const std::string key : {"TFindDialog.Caption[1]"}) {
    const std::size_t at = text.find("msgctxt \"" + key + "\"");
    ASSERT_NE(at, std::string::npos) << text;
    text.insert(at, "#, fuzzy\n");
  }
  WriteFile(accepted, text);
  ASSERT_EQ(Shell("msgcat --width=20 -o '" + reviewed + "' '" + accepted + "'"), 0);
  ASSERT_EQ(Shell("msgfmt --check -o /dev/null '" + reviewed + "'"), 0);

  ASSERT_EQ(lumetra_cli::Run({"dict", "import", form, "--po", reviewed}, stderr), 0);
  FormFile f(form);
  EXPECT_EQ(testing_support::LinesOf(*f.Translator()->Translations()),
            (std::vector<std::string>{"TFindDialog.Caption='Suchen'", "TFindDialog.Caption[2]='Abbrechen'"}));
}

TEST(SeedCommand, WrongUseAndAFormWithoutCapturesChangeNothing) {
  ScratchDir dir;
  const std::string form = dir.File("form1.dfm"), po = dir.File("de.po");
  WriteFile(form, SeedForm);
  const struct {
    Args Arguments;
    int Code;
  } cases[] = {
      {{"seed", form}, 2},
      {{"seed", form, "--lang", "de_DE"}, 2},                                        // nowhere to write
      {{"seed", form, "--lang", "de_DE", "--po", po, "--text", po, "--locale", "1"}, 2},
      {{"seed", form, "--lang", "de_DE", "--text", po}, 2},                         // no locale
      {{"seed", form, "--lang", "German", "--po", po}, 2},
      {{"seed", form, "--list", "--lang", "de", "--po", po}, 2},
  };
  for (const auto& c : cases) {
    std::FILE* errors = std::tmpfile();
    EXPECT_EQ(lumetra_cli::Run(c.Arguments, errors), c.Code) << c.Arguments.size();
    std::fclose(errors);
  }
  WriteFile(form, "object Form1: TForm1\n  object Lumetra1: TLumetra\n  end\nend\n");
  std::FILE* errors = std::tmpfile();
  EXPECT_EQ(lumetra_cli::Run({"seed", form, "--lang", "de_DE", "--po", po}, errors), 1);
  std::rewind(errors);
  char line[512] = {};
  ASSERT_NE(std::fgets(line, sizeof line, errors), nullptr);
  EXPECT_NE(std::string(line).find("the form has no captured texts: run 'lumetra capture' first"), std::string::npos) << line;
  std::fclose(errors);
  EXPECT_FALSE(std::filesystem::exists(po));
}

#ifndef _WIN32
// Without the Windows build there are no system dialogs to show: the command says what to build.
TEST(SeedCommand, WithoutTheWindowsBuildItSaysWhatToBuild) {
  ScratchDir dir;
  const std::string form = dir.File("form1.dfm");
  WriteFile(form, SeedForm);
  setenv("LUMETRA_WINDOWS_LUMETRA", dir.File("missing.exe").c_str(), 1);
  std::FILE* errors = std::tmpfile();
  EXPECT_EQ(lumetra_cli::Run({"seed", form, "--lang", "de_DE", "--po", dir.File("de.po")}, errors), 1);
  unsetenv("LUMETRA_WINDOWS_LUMETRA");
  std::rewind(errors);
  char line[512] = {};
  ASSERT_NE(std::fgets(line, sizeof line, errors), nullptr);
  EXPECT_NE(std::string(line).find("missing.exe is missing: build it with"), std::string::npos) << line;
  std::fclose(errors);
}
#endif
