// The command line's form, text, dict and capture commands, run in-process on form files.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "captured_output.hpp"
#include "commands.hpp"
#include "form_file.hpp"
#include "test_support.hpp"
#include "win/printer.h"

using testing_support::CapturedOutput;
using testing_support::HostileForm;
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
  // Runs the whole command line; answers its exit code, the files it named as written (its
  // "wrote" lines of stdout) and what it wrote to stderr.
  struct Ran {
    int Code;
    std::vector<std::string> Wrote;
    std::string Errors;
  };
  Ran LumetraWriting(const Args& Arguments) {
    testing_support::CapturedOutput captured(stdout);
    const auto [code, errors] = Lumetra(Arguments);
    const std::string out = captured.Text();
    Ran r{code, {}, errors};
    for (std::string_view line : vcl::SplitLines(out))
      if (line.starts_with("wrote ")) r.Wrote.emplace_back(line.substr(6));
    return r;
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
  // A line of another kind is named by its number, never shown: the file may be anyone's.
  EXPECT_EQ(Lumetra({"text", "load", FForm, lang}),
            std::make_pair(1, "lumetra text: " + lang +
                                  ", line 2: not a line of a translation text file (#0<owner>.<key>%<locale>=<value>); the file is "
                                  "refused and left as it is\n"));
  EXPECT_EQ(Lumetra({"for\x1bm"}).second.rfind("lumetra for#27m: unknown command\n", 0), 0u);

  // What form show prints comes from the file too.
  WriteFile(FForm, "object Form1: TForm1\n  object Lumetra1: TLumetra\n    Translations.Strings = (\n"
                   "      'TOpenDialog.Caption='#39#27'[2J'#0#127#39)\n  end\nend\n");
  testing_support::CapturedOutput captured(stdout);
  const int code = RunForm({"show", FForm});
  const std::string shown = captured.Text();
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

// ---- What the commands write, and what they refuse to write --------------------------------

TEST_F(Commands, EveryCommandThatWritesTheFormBackRefusesAnEntryThatWouldSmuggleALine) {
  const std::string keys = FDir.File("keys.txt");
  const std::string mine = "#0Form1.TOpenDialog.Caption[1090]%1036='Mine'\r\n";
  WriteFile(keys, mine);
  WriteFile(FDir.File("fr.po"), "msgctxt \"TOpenDialog.Caption[1090]\"\nmsgid \"File &name:\"\nmsgstr \"&Nom :\"\n");
  WriteFile(FDir.File("fr.dic"), "File &name:\t&Nom :\r\n");
  WriteFile(FDir.File("other.txt"), "#0Form1.TOpenDialog.Caption[1090]%1036='&Nom :'\r\n");
  const std::string form = HostileForm(keys);
  const std::string refusal = keys +
                              ": entry \"TOpenDialog.Caption[1091]\" holds a raw line feed (#10), which no line of the file may hold (entries "
                              "spell it #10 in literal form); nothing is written\n";
  const Args cases[] = {
      {"capture", FForm},
      {"dict", "import", FForm, "--po", FDir.File("fr.po")},
      {"dict", "translate", FForm, FDir.File("fr.dic")},
      {"text", "load", FForm, FDir.File("other.txt")},
  };
  for (const Args& c : cases) {
    SCOPED_TRACE(c[0] + " " + c[1]);
    WriteFile(FForm, form);
    const Ran r = LumetraWriting(c);
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Errors, "lumetra " + c[0] + ": " + refusal);
    EXPECT_EQ(r.Wrote, std::vector<std::string>{});
    EXPECT_EQ(ReadFile(keys), mine) << "the named file is unchanged";
    EXPECT_EQ(ReadFile(FForm), form);
  }
}

TEST_F(Commands, AFormWhoseFileNameNamesAFileOfAnotherKindIsRefusedAndTheFileLeftAsItIs) {
  const std::string keys = FDir.File("authorized_keys");
  const std::string theirs = "ssh-ed25519 AAAAC3Nza user@host\n";
  WriteFile(keys, theirs);
  const std::string form = HostileForm(keys);
  WriteFile(FForm, form);
  WriteFile(FDir.File("fr.dic"), "File &name:\t&Nom :\r\n");
  WriteFile(FDir.File("fr.po"), "msgctxt \"TOpenDialog.Caption[1090]\"\nmsgid \"File &name:\"\nmsgstr \"&Nom :\"\n");
  const std::string refusal = FForm + ": Error reading Lumetra1.Storage: " + keys +
                              ", line 1: not a line of a translation text file (#0<owner>.<key>%<locale>=<value>); the file is refused "
                              "and left as it is\n";
  const Args cases[] = {
      {"capture", FForm},
      {"dict", "import", FForm, "--po", FDir.File("fr.po")},
      {"dict", "translate", FForm, FDir.File("fr.dic")},
      {"text", "load", FForm, FDir.File("fr.dic")},
      {"text", "save", FForm, FDir.File("lang.txt")},
      {"pseudo", FForm, FDir.File("lang.txt")},
      {"form", "show", FForm},
      {"check", FForm},
  };
  for (const Args& c : cases) {
    SCOPED_TRACE(c[0] + " " + c[1]);
    const Ran r = LumetraWriting(c);
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Errors, "lumetra " + c[0] + ": " + refusal);
    EXPECT_EQ(r.Wrote, std::vector<std::string>{});
  }
  EXPECT_EQ(ReadFile(keys), theirs);
  EXPECT_EQ(ReadFile(FForm), form);
  EXPECT_FALSE(std::filesystem::exists(FDir.File("lang.txt")));
}

TEST_F(Commands, EveryCommandNamesTheFilesItWroteAndOnlyThose) {
  const std::string lang = FDir.File("lang.txt"), dict = FDir.File("fr.dic"), po = FDir.File("fr.po"), pseudo = FDir.File("qps.txt"),
                    binary = FDir.File("form1.bin"), withFile = FDir.File("form2.dfm");
  // A form whose translator keeps its entries in a text file beside it.
  std::string second = TextForm;
  second.replace(second.find("    Locale"), 0, "    FileName = 'form2.txt'\n");
  const struct {
    Args Arguments;
    std::vector<std::string> Wrote;
  } cases[] = {
      {{"text", "save", FForm, lang}, {lang}},
      {{"text", "load", FForm, lang}, {FForm}},
      {{"dict", "export", FForm, dict}, {dict}},
      {{"dict", "translate", FForm, dict}, {FForm}},
      {{"dict", "export", FForm, "--po", po}, {po}},
      {{"dict", "import", FForm, "--po", po}, {}},  // nothing changed: nothing written
      {{"capture", FForm}, {FForm}},
      {{"pseudo", FForm, pseudo}, {pseudo}},
      {{"form", "convert", FForm, binary}, {binary}},
      {{"form", "show", FForm}, {}},
      {{"text", "load", withFile, lang}, {FDir.File("form2.txt"), withFile}},
      {{"form", "show", FDir.File("none.dfm")}, {}},
  };
  WriteFile(withFile, second);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Arguments[0] + " " + c.Arguments[1]);
    const Ran r = LumetraWriting(c.Arguments);
    EXPECT_EQ(r.Code, c.Arguments.back().ends_with("none.dfm") ? 1 : 0) << r.Errors;
    EXPECT_EQ(r.Wrote, c.Wrote);
  }
}

TEST_F(Commands, AFailingCommandChangesNoFile) {
  namespace fs = std::filesystem;
  // The form keeps its entries in a text file beside it; the import changes both.
  std::string form = TextForm;
  form.replace(form.find("    Locale"), 0, "    FileName = 'lang.txt'\n");
  const std::string lang = FDir.File("lang.txt"), po = FDir.File("fr.po");
  const std::string langBefore = "#0Form1.TOpenDialog.Caption%-1='Open'\r\n#0Form1.TOpenDialog.Caption%1036='Ouvrir'\r\n";
  WriteFile(po, "msgctxt \"TOpenDialog.Caption\"\nmsgid \"Open\"\nmsgstr \"Ouvrir un fichier\"\n");
  // Permissions do not stop the superuser: the command runs as "nobody" then, in a folder anyone
  // may write in, so that only the file at fault says no.
  fs::permissions(FDir.Path(), fs::perms::all);
  for (const std::string& readOnly : {FForm, lang}) {
    SCOPED_TRACE(readOnly);
    WriteFile(FForm, form);
    WriteFile(lang, langBefore);
    fs::permissions(FForm, fs::perms(0666));
    fs::permissions(lang, fs::perms(0666));
    fs::permissions(readOnly, fs::perms(0444));
    Ran r{};
    {
      testing_support::Unprivileged nobody;
      r = LumetraWriting({"dict", "import", FForm, "--po", po});
    }
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Errors, "lumetra dict: Cannot create file \"" + readOnly + "\": Permission denied\n");
    EXPECT_EQ(r.Wrote, std::vector<std::string>{});
    EXPECT_EQ(ReadFile(FForm), form);
    EXPECT_EQ(ReadFile(lang), langBefore);
    fs::permissions(readOnly, fs::perms(0666));
  }
}

TEST_F(Commands, NoCommandWritesMoreThanIsReadBack) {
  // A form of 18 MB whose pseudo-translations would fill more than 256 MiB: every line of the
  // text file repeats the form's name, here as long as a name may be.
  const std::string name = "F" + std::string(254, 'n');
  std::string form = "object " + name + ": TForm1\n  object Lumetra1: TLumetra\n    Storage = (";
  for (int i = 0; i < 480000; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "\n      'A.Caption[%06d]='#39'a'#39", i);
    form += line;
  }
  form += ")\n  end\nend\n";
  WriteFile(FForm, form);
  const std::string lang = FDir.File("qps.txt");
  const Ran r = LumetraWriting({"pseudo", FForm, lang});
  EXPECT_EQ(r.Code, 1);
  EXPECT_TRUE(r.Errors.starts_with("lumetra pseudo: " + lang + ": would be ")) << r.Errors;
  EXPECT_TRUE(r.Errors.ends_with(" bytes, more than the 256 MiB that Lumetra reads; nothing is written\n")) << r.Errors;
  EXPECT_EQ(r.Wrote, std::vector<std::string>{});
  EXPECT_FALSE(std::filesystem::exists(lang));
}

#ifndef _WIN32
namespace {

// Runs the command line in a child process, its output gone; answers its exit status.
pid_t StartLumetra(const Args& Arguments, const std::string& Errors) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (!std::freopen("/dev/null", "w", stdout)) _exit(3);
    std::FILE* errors = std::fopen(Errors.c_str(), "wb");
    const int code = lumetra_cli::Run(Arguments, errors ? errors : stderr);
    std::fflush(nullptr);
    _exit(code);
  }
  return pid;
}

int Finished(pid_t Pid) {
  int status = 0;
  waitpid(Pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

}  // namespace

TEST_F(Commands, TwoWritersOfOneFormAtOnceLoseNoUpdate) {
  // Two captured texts, each translated by another writer.
  std::string form = TextForm;
  form.replace(form.find("'TOpenDialog.Caption='#39'Open'#39)"), std::string("'TOpenDialog.Caption='#39'Open'#39)").size(),
               "'TOpenDialog.Caption='#39'Open'#39\n      'TOpenDialog.Caption[1090]='#39'File &name:'#39)");
  const std::string a = FDir.File("a.po"), b = FDir.File("b.po"), lang = FDir.File("b.txt");
  WriteFile(a, "msgctxt \"TOpenDialog.Caption\"\nmsgid \"Open\"\nmsgstr \"Ouvrir un fichier\"\n");
  WriteFile(b, "msgctxt \"TOpenDialog.Caption[1090]\"\nmsgid \"File &name:\"\nmsgstr \"&Nom :\"\n");
  WriteFile(lang, "#0Form1.TOpenDialog.Caption[1090]%1036='&Nom :'\r\n");
  const struct {
    const char* What;
    Args Other;
  } rivals[] = {
      {"dict import against dict import", {"dict", "import", FForm, "--po", b}},
      {"dict import against text load", {"text", "load", FForm, lang}},
  };
  for (const auto& rival : rivals) {
    SCOPED_TRACE(rival.What);
    for (int trial = 0; trial < 20; ++trial) {
      WriteFile(FForm, form);
      const pid_t child = StartLumetra({"dict", "import", FForm, "--po", a}, FDir.File("child.txt"));
      int code = 0;
      {
        const testing_support::CapturedOutput quiet(stdout);  // the rival's "wrote" lines
        code = lumetra_cli::Run(rival.Other, stderr);
      }
      ASSERT_EQ(code, 0);
      ASSERT_EQ(Finished(child), 0) << ReadFile(FDir.File("child.txt"));
      EXPECT_EQ(Entries(), (std::vector<std::string>{"TOpenDialog.Caption='Ouvrir un fichier'", "TOpenDialog.Caption[1090]='&Nom :'"}))
          << "trial " << trial;
    }
  }
}

TEST_F(Commands, AWriterThatWaitsForAnotherSaysWhichFileAndWhy) {
  const std::string errors = FDir.File("stderr.txt"), lock = FDir.File(".form1.dfm.lmt-lock");
  int held[2];
  ASSERT_EQ(pipe(held), 0);
  const pid_t holder = fork();
  if (holder == 0) {  // holds the form's lock until the waiter has said that it waits
    {
      const vcl::TFileLock formLock(FForm);
      if (write(held[1], "h", 1) != 1) _exit(1);
      const auto told = [&] {
        std::ifstream in(errors);
        return std::string(std::istreambuf_iterator<char>(in), {}).find("waiting for") != std::string::npos;
      };
      for (int i = 0; i < 60000 && !told(); ++i) usleep(1000);
    }
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(held[0], &c, 1), 1);
  vcl::FileNotifications.LockWaitNotice = 0;
  const Ran r = LumetraWriting({"capture", FForm});
  vcl::FileNotifications.LockWaitNotice = 3000;
  EXPECT_EQ(Finished(holder), 0);
  EXPECT_EQ(r.Code, 0);
  EXPECT_EQ(r.Errors, "lumetra capture: waiting for " + FForm + ": another program is writing it (it holds the lock " + lock + ")\n");
  EXPECT_EQ(r.Wrote, std::vector<std::string>{FForm});
  close(held[0]);
  close(held[1]);
}
#endif
