// The command line's form, text, dict and capture commands, run in-process on form files.
#include <filesystem>

#include "commands.hpp"
#include "form_file.hpp"
#include "test_support.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
using namespace lumetra_cli;

namespace {

const std::string TextForm =
    "object Form1: TForm1\n"
    "  Left = 100\n"
    "  object OpenDialog1: TOpenDialog\n"
    "    Filter = 'Text|*.txt'\n"
    "  end\n"
    "  object Button1: TButton\n"
    "    Caption = 'OK'\n"
    "  end\n"
    "  object Lumetra1: TLumetra\n"
    "    Locale = 1036\n"
    "    Translate = True\n"
    "    Translations.Strings = (\n"
    "      'TOpenDialog.Caption='#39'Ouvrir'#39)\n"
    "    Storage = (\n"
    "      'TOpenDialog.Caption='#39'Open'#39)\n"
    "  end\n"
    "end\n";

class Commands : public ::testing::Test {
protected:
  Commands() { WriteFile(FForm, TextForm); }
  std::vector<std::string> Entries() {
    FormFile form(FForm);
    std::vector<std::string> v;
    for (int i = 0; i < form.Translator()->Translations()->Count(); ++i) v.push_back(form.Translator()->Translations()->Strings(i));
    return v;
  }
  ScratchDir FDir;
  std::string FForm = FDir.File("form1.dfm");
};

using V = std::vector<std::string>;

}  // namespace

TEST_F(Commands, TextSaveAndLoadGoThroughTheTranslationFile) {
  const std::string lang = FDir.File("lang.txt");
  ASSERT_EQ(RunText({"save", FForm, lang}), 0);
  EXPECT_EQ(ReadFile(lang), "#0Form1.TOpenDialog.Caption%-1='Open'\r\n#0Form1.TOpenDialog.Caption%1036='Ouvrir'\r\n");
  ASSERT_EQ(RunText({"load", FForm, lang, "--locale", "-1"}), 0);
  EXPECT_EQ(Entries(), V{"TOpenDialog.Caption='Open'"});
  const std::string form = ReadFile(FForm);
  EXPECT_NE(form.find("    Locale = 1036\n"), std::string::npos) << "the form keeps its own locale";
  EXPECT_EQ(form.find('\r'), std::string::npos) << "a text form keeps its LF line ends";
  EXPECT_NE(form.find("  object Button1: TButton\n    Caption = 'OK'\n  end\n"), std::string::npos) << "nothing lost";
}

TEST_F(Commands, DictExportAndTranslate) {
  const std::string dict = FDir.File("fr.dic");
  ASSERT_EQ(RunDict({"export", FForm, dict}), 0);
  EXPECT_EQ(ReadFile(dict), "Open\tOuvrir\r\n");
  WriteFile(dict, "Open\tOuvrir un fichier\r\n");
  ASSERT_EQ(RunDict({"translate", FForm, dict}), 0);
  EXPECT_EQ(Entries(), V{"TOpenDialog.Caption='Ouvrir un fichier'"});
}

TEST_F(Commands, CaptureReplacesTheCapturedValuesOfEachDialogClass) {
  {
    FormFile form(FForm);  // a value the dialog no longer has, and one of another class
    form.Translator()->OrgProps()->Add("TOpenDialog.Caption[9999]='gone'");
    form.Translator()->OrgProps()->Add("TFontDialog.Caption='Font'");
    form.Save();
  }
  ASSERT_EQ(RunCapture({FForm}), 0);
  FormFile form(FForm);
  const vcl::TStrings& org = *form.Translator()->OrgProps();
  ASSERT_GT(org.Count(), 20);
  EXPECT_EQ(org.IndexOf("TOpenDialog.Caption[9999]='gone'"), -1);
  EXPECT_GE(org.IndexOf("TFontDialog.Caption='Font'"), 0) << "no font dialog on the form: its values stay";
  for (int i = 1; i < org.Count(); ++i)
    EXPECT_NE(Vek::EntryKey(org.Strings(i)), Vek::EntryKey(org.Strings(i - 1))) << "one value per key";
  EXPECT_GE(org.IndexOf("TOpenDialog.Caption[1090]='File &name:'"), 0);
}

TEST_F(Commands, FormsConvertBothWaysAndRealBinaryFormsComeBackTheSame) {
  const std::string binary = FDir.File("form1.bin"), text = FDir.File("back.dfm");
  ASSERT_EQ(RunForm({"convert", FForm, binary}), 0);
  ASSERT_EQ(RunForm({"convert", binary, text}), 0);
  std::string crlf;
  for (char c : TextForm) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(ReadFile(text), crlf);

  // A Delphi form resource with a translator-free form: show refuses it, convert keeps it.
  const std::string real = std::string(LUMETRA_TEST_DATA) + "/forms/maerlyn__old-delphi-codes___KOMPONENSEK_tporpheus_4_06_examples_Delphi_TxtEdit1.dfm";
  ASSERT_EQ(RunForm({"convert", real, text}), 0);
  ASSERT_EQ(RunForm({"convert", text, binary, "--resource"}), 0);
  EXPECT_EQ(ReadFile(binary), ReadFile(real));
  EXPECT_THROW_MSG(RunForm({"show", real}), vcl::Exception, real + ": the form holds no TLumetra");
}

TEST_F(Commands, ErrorsNameTheFileAndLeaveItWhole) {
  WriteFile(FForm, "object Form1: TForm1\n  Left = \nend\n");
  try {
    RunForm({"show", FForm});
    FAIL() << "no error";
  } catch (const vcl::Exception& e) {
    EXPECT_EQ(e.Message().rfind(FForm + ": ", 0), 0u) << e.Message();
    EXPECT_NE(e.Message().find("line"), std::string::npos) << e.Message();
  }
  EXPECT_THROW(RunText({"load", FForm}), UsageError);
  EXPECT_THROW(RunText({"load", FForm, "x", "--locale", "de"}), UsageError);
  EXPECT_THROW(RunDict({"translate", FForm, FDir.File("none.dic")}), vcl::Exception);

  WriteFile(FForm, TextForm);
  WriteFile(FDir.File("lang.txt"), "#0Form1.TOpenDialog.Caption%1036='Neu'\r\n");
  {
    testing_support::ReadOnlyFolder readOnly(FDir.Path());
    if (!readOnly.Effective()) GTEST_SKIP() << readOnly.WhyNot();
    EXPECT_THROW(RunText({"load", FForm, FDir.File("lang.txt")}), vcl::EFCreateError);
  }
  EXPECT_EQ(ReadFile(FForm), TextForm);
}
