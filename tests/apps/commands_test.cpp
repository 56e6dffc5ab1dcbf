// The command line's form, text, dict and capture commands, run in-process on form files.
#include <cstdio>
#include <filesystem>
#include <set>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "commands.hpp"
#include "form_file.hpp"
#include "test_support.hpp"
#include "win/printer.h"

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
  // Runs the whole command line; answers its exit code and what it wrote to stderr.
  std::pair<int, std::string> Lumetra(const Args& Arguments) {
    const std::string errors = FDir.File("stderr.txt");
    std::FILE* f = std::fopen(errors.c_str(), "wb");
    const int code = lumetra_cli::Run(Arguments, f);
    std::fclose(f);
    return {code, ReadFile(errors)};
  }
  ScratchDir FDir;
  std::string FForm = FDir.File("form1.dfm");
};

// TextForm with other line ends.
std::string WithLineEnds(const std::string& Text, const std::string& LineEnd) {
  std::string out;
  for (char c : Text) out += c == '\n' ? LineEnd : std::string(1, c);
  return out;
}

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
  EXPECT_EQ(ReadFile(FForm).find("Options"), std::string::npos) << "the dialog keeps its options, shown as it was";
}

// Real forms that hold no translator, one binary (a form resource) and one text: --add puts one
// on the form and captures; the form keeps its format and everything else it held.
TEST_F(Commands, CaptureAddsATranslatorToARealFormThatHoldsNone) {
  const win::LocalPrinter printer;  // the binary one has print dialogs, which need one under Wine
  const struct {
    const char* File;
    bool Text;
    std::vector<std::string> Classes;
  } cases[] = {
      {"maerlyn__old-delphi-codes___KOMPONENSEK_tporpheus_4_06_examples_Delphi_TxtEdit1.dfm", false,
       {"TOpenDialog", "TSaveDialog", "TFontDialog", "TPrintDialog", "TPrinterSetupDialog", "TFindDialog", "TReplaceDialog"}},
      {"MarcoDelphiBooks__MasteringDelphi7__14_IbxUpdSql_UpdateForm.dfm", true, {}},  // no dialogs: only the translator
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    const std::string real = std::string(LUMETRA_TEST_DATA) + "/forms/" + c.File;
    const std::string copy = FDir.File(c.File);
    WriteFile(copy, ReadFile(real));
    EXPECT_THROW_MSG(RunCapture({copy}), vcl::Exception, copy + ": the form holds no TLumetra");
    ASSERT_EQ(RunCapture({copy, "--add"}), 0);
    FormFile form(copy);
    EXPECT_EQ(form.IsText(), c.Text);
    Vek::TLumetra* t = form.Translator();
    EXPECT_EQ(t->Name(), "Lumetra1");
    EXPECT_EQ(t->Owner(), form.Root());
    std::set<std::string> captured;
    for (int i = 0; i < t->OrgProps()->Count(); ++i) captured.emplace(Vek::Entry::Split(t->OrgProps()->Strings(i)).ClassPart);
    EXPECT_EQ(captured, std::set<std::string>(c.Classes.begin(), c.Classes.end()));
    delete t;
    form.Save();
    EXPECT_EQ(ReadFile(copy), ReadFile(real)) << "the form lost nothing else";
  }
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

TEST_F(Commands, MessagesShowTheBytesOfAFileEscapedWithTheLine) {
  const std::string lang = FDir.File("lang.txt");
  const char bytes[] = "#0Form1.A%1036=1\r\n#0Form1.TOpenDialog.Caption%1\x1b[2J\0\xe9z=x\r\n";
  WriteFile(lang, std::string(bytes, sizeof bytes - 1));
  EXPECT_EQ(Lumetra({"text", "load", FForm, lang}),
            std::make_pair(1, "lumetra text: " + lang + ", line 2: '1#27[2J#0#233z' is not a valid integer value\n"));
  EXPECT_EQ(Lumetra({"for\x1bm"}).second.rfind("lumetra for#27m: unknown command\n", 0), 0u);

  // What form show prints comes from the file too.
  WriteFile(FForm, "object Form1: TForm1\n  object Lumetra1: TLumetra\n    Translations.Strings = (\n"
                   "      'TOpenDialog.Caption='#39#27'[2J'#0#127#39)\n  end\nend\n");
  testing::internal::CaptureStdout();
  const int code = RunForm({"show", FForm});
  std::fflush(stdout);
  const std::string shown = testing::internal::GetCapturedStdout();
  EXPECT_EQ(code, 0);
  EXPECT_NE(shown.find("  TOpenDialog.Caption='#27[2J#0#127'\n"), std::string::npos) << shown;
  EXPECT_EQ(shown.find('\x1b'), std::string::npos);
}

TEST_F(Commands, InputsThatAreNoRegularFileOrTooLargeAreRefusedBeforeReading) {
  namespace fs = std::filesystem;
  const std::string folder = FDir.File("adir"), bigForm = FDir.File("big.dfm"), bigDict = FDir.File("big.dic");
  fs::create_directory(folder);
  WriteFile(bigForm, "");
  fs::resize_file(bigForm, (64 << 20) + 1);  // sparse where the file system can
  WriteFile(bigDict, "");
  fs::resize_file(bigDict, (256 << 20) + 1);
  struct Case {
    Args Arguments;
    std::string Message;
  } cases[] = {
      {{"text", "load", FForm, folder}, "lumetra text: " + folder + ": is a folder, not a file\n"},
      {{"form", "show", folder}, "lumetra form: " + folder + ": is a folder, not a file\n"},
      {{"dict", "translate", FForm, FDir.File("none.dic")}, "lumetra dict: " + FDir.File("none.dic") + ": no such file\n"},
      {{"form", "show", bigForm}, "lumetra form: " + bigForm + ": is 67108865 bytes, more than the 64 MiB that Lumetra reads\n"},
      {{"dict", "export", FForm, bigDict}, "lumetra dict: " + bigDict + ": is 268435457 bytes, more than the 256 MiB that Lumetra reads\n"},
#ifndef _WIN32
      {{"form", "show", "/dev/zero"}, "lumetra form: /dev/zero: is a character device, not a regular file\n"},
      {{"text", "save", FForm, "/dev/full"}, "lumetra text: /dev/full: is a character device, not a regular file\n"},
      {{"form", "convert", FDir.File("fifo"), FDir.File("out.dfm")}, "lumetra form: " + FDir.File("fifo") + ": is a FIFO, not a regular file\n"},
#endif
  };
#ifndef _WIN32
  ASSERT_EQ(mkfifo(FDir.File("fifo").c_str(), 0644), 0);
#endif
  for (const Case& c : cases) EXPECT_EQ(Lumetra(c.Arguments), std::make_pair(1, c.Message));
  EXPECT_EQ(ReadFile(FForm), TextForm);
}

TEST_F(Commands, DoubleDashEndsTheOptions) {
  EXPECT_EQ(Lumetra({"form", "show", "-f.dfm"}), std::make_pair(2, std::string("lumetra form: unknown option '-f.dfm'\n")));
  EXPECT_EQ(Lumetra({"form", "show", "--", "-f.dfm"}), std::make_pair(1, std::string("lumetra form: -f.dfm: no such file\n")));
  EXPECT_EQ(Lumetra({"form", "show", "--", FForm, "--help"}).first, 2) << "--help is an argument there";
  EXPECT_EQ(Lumetra({"text", "save", "--locale", "1031", "--", FForm, FDir.File("lang.txt")}).first, 0);
  EXPECT_NE(ReadFile(FDir.File("lang.txt")).find("%1031="), std::string::npos);
}

TEST_F(Commands, TextFormsAreWrittenBackWithTheirOwnLineEnds) {
  for (const std::string lineEnd : {"\r", "\n", "\r\n"}) {
    WriteFile(FForm, WithLineEnds(TextForm, lineEnd));
    WriteFile(FDir.File("lang.txt"), "#0Form1.TOpenDialog.Caption%1036='Neu'\r\n");
    ASSERT_EQ(RunText({"load", FForm, FDir.File("lang.txt")}), 0);
    std::string expected = TextForm;
    expected.replace(expected.find("#39'Ouvrir'#39"), 14, "#39'Neu'#39");
    EXPECT_EQ(ReadFile(FForm), WithLineEnds(expected, lineEnd)) << Escaped(lineEnd);
  }
}

TEST_F(Commands, TextFormsInUtf16GetAClearError) {
  std::string le, be;
  for (char c : TextForm) le += std::string{c, '\0'}, be += std::string{'\0', c};
  const struct {
    std::string Bytes;
    std::string Message;
  } cases[] = {
      {"\xff\xfe" + le, "a text form in UTF-16 at offset 0: save it in the ANSI code page or in UTF-8, which forms are read in"},
      {"\xfe\xff" + be, "a text form in UTF-16 at offset 0: save it in the ANSI code page or in UTF-8, which forms are read in"},
      {le, "a text form in UTF-16 at offset 0: save it in the ANSI code page or in UTF-8, which forms are read in"},
      {be, "a text form in UTF-16 at offset 0: save it in the ANSI code page or in UTF-8, which forms are read in"},
      {"garbage", "neither a binary form (\"TPF0\") nor a text form (\"object ...\") at offset 0"},
  };
  for (const auto& c : cases) {
    WriteFile(FForm, c.Bytes);
    EXPECT_THROW_MSG(RunForm({"show", FForm}), vcl::Exception, FForm + ": " + c.Message);
  }
}
