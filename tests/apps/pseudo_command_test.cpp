// `lumetra pseudo`: the command's text file, and the form left as it was.
#include "commands.hpp"
#include "test_support.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
using namespace lumetra_cli;

TEST(Pseudo, CommandWritesATextFileAndLeavesTheForm) {
  ScratchDir dir;
  const std::string form = dir.File("form1.dfm"), file = dir.File("pseudo.txt");
  const std::string text =
      "object Form1: TForm1\n"
      "  object Lumetra1: TLumetra\n"
      "    Locale = 1036\n"
      "    Translations.Strings = (\n"
      "      'TOpenDialog.Caption='#39'Ouvrir'#39)\n"
      "    Storage = (\n"
      "      'TOpenDialog.Caption='#39'Open'#39\n"
      "      'TOpenDialog.Left[1]=0'\n"
      "      'TOpenDialog.Width[1]=11')\n"
      "  end\n"
      "end\n";
  WriteFile(form, text);
  WriteFile(file, "#0Form2.TOpenDialog.Caption%1281='kept'\r\n");
  ASSERT_EQ(RunPseudo({form, file}), 0);
  EXPECT_EQ(ReadFile(file),
            "#0Form1.TOpenDialog.Caption%-1='Open'\r\n#0Form1.TOpenDialog.Caption%1281='[\xD6p\xE9\xF1 !]'\r\n"
            "#0Form2.TOpenDialog.Caption%1281='kept'\r\n");
  ASSERT_EQ(RunPseudo({form, file, "--rtl", "--locale", "7"}), 0);
  EXPECT_NE(ReadFile(file).find("#0Form1.TOpenDialog.BiDiMode%7=bdRightToLeft\r\n"), std::string::npos);
  EXPECT_EQ(ReadFile(file).find("Left[1]%7"), std::string::npos) << "no control is moved";
  EXPECT_EQ(ReadFile(form), text);
  EXPECT_THROW(RunPseudo({form}), UsageError);
  EXPECT_THROW(RunPseudo({form, file, "--locale", "x"}), UsageError);
}
