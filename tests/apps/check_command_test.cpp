// lumetra check and lumetra preview, run in-process on form files, text files and entry lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "captured_output.hpp"
#include "check_source.hpp"
#include "commands.hpp"
#include "test_support.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

namespace {

struct Result {
  int Code;
  std::string Out;
};

Result Lumetra(const lumetra_cli::Args& Arguments, const ScratchDir& Dir) {
  const std::string errors = Dir.File("stderr.txt");
  std::FILE* f = std::fopen(errors.c_str(), "wb");
  testing_support::CapturedOutput captured(stdout);
  const int code = lumetra_cli::Run(Arguments, f);
  std::string out = captured.Text();
  std::fclose(f);
  return {code, out};
}

int LineCount(const std::string& Text) { return static_cast<int>(std::count(Text.begin(), Text.end(), '\n')); }

// A text form whose translator holds one faulty entry a line, and one that is fine.
const std::string FaultyForm =
    "object Form1: TForm1\n"
    "  object OpenDialog1: TOpenDialog\n"
    "  end\n"
    "  object Lumetra1: TLumetra\n"
    "    Translations.Strings = (\n"
    "      'TOpenDialog.Caption[1089]='#39'&Inhalt:'#39\n"               // 6: the mnemonic of 1091
    "      'TOpenDialog.Caption[1090]='#39'Name der Datei, die ge'#246'ffnet &werden soll:'#39\n"  // 7: too long
    "      'TOpenDialog.Caption[4711]='#39'x'#39\n"                       // 8: no such control
    "      'TOpenDialog.Foo=1'\n"                                         // 9: no such property
    "      'TOpenDialog.Left[1]=600'\n"                                   // 10: leaves the dialog
    "      'TOpenDialog.Width=wide'\n"                                    // 11: no integer
    "      'TOpenDialog.Caption[2]='#39'Abbrechen'#39)\n"                 // 12: fine
    "    Storage = (\n"
    "      'TOpenDialog.Caption[2]='#39'Cancel'#39)\n"
    "  end\n"
    "end\n";

}  // namespace

TEST(CheckCommand, TheDemoTranslationsPass) {
  ScratchDir dir;
  std::string list;
  for (const char* e : lumetra_cli::GermanDemoEntries()) list += std::string(e) + "\r\n";
  WriteFile(dir.File("german.txt"), list);
  const Result r = Lumetra({"check", dir.File("german.txt")}, dir);
  EXPECT_EQ(r.Code, 0) << r.Out;
  EXPECT_EQ(r.Out, "");
}

TEST(CheckCommand, AFaultySetGivesOneLinePerFaultAndExitsWithOne) {
  ScratchDir dir;
  WriteFile(dir.File("form1.dfm"), FaultyForm);
  const Result r = Lumetra({"check", dir.File("form1.dfm")}, dir);
  EXPECT_EQ(r.Code, 1);
  ASSERT_EQ(LineCount(r.Out), 7) << "a fault a line, and the hint for the mnemonic\n" << r.Out;
  const std::string file = dir.File("form1.dfm");
  for (const char* expected : {":6: TOpenDialog.Caption[1089]: error: mnemonic &i is also that of control 1091 'Look &in:'",
                               ":6: TOpenDialog.Caption[1089]: hint: mnemonic &i is also that of control 1091 'Look &in:'; &t, the "
                               "original's, is free (proposed: TOpenDialog.Caption[1089]='Inhal&t:')",
                               ":7: TOpenDialog.Caption[1090]: error: text",
                               ":8: TOpenDialog.Caption[4711]: error: TOpenDialog has no control with id 4711",
                               ":9: TOpenDialog.Foo: error: unknown property", ":10: TOpenDialog.Left[1]: error: control 1 ",
                               ":11: TOpenDialog.Width: error: value 'wide'"})
    EXPECT_NE(r.Out.find(file + expected), std::string::npos) << expected << "\n" << r.Out;
}

TEST(CheckCommand, OnlyAndDisableChooseTheKindsOfFaultReported) {
  ScratchDir dir;
  const std::string form = dir.File("form1.dfm");
  WriteFile(form, FaultyForm);
  Result r = Lumetra({"check", form, "--only", "unknown-id,not-an-integer"}, dir);
  EXPECT_EQ(r.Code, 1);
  ASSERT_EQ(LineCount(r.Out), 2) << r.Out;
  EXPECT_NE(r.Out.find(":8: "), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find(":11: "), std::string::npos) << r.Out;

  r = Lumetra({"check", form, "--disable", "mnemonic-clash,fit", "--disable", "unknown-id,syntax,unknown-property,outside,not-an-integer"}, dir);
  EXPECT_EQ(r.Code, 0) << "no error is left";
  EXPECT_EQ(r.Out, "");
  r = Lumetra({"check", form, "--only", "fit,outside", "--disable", "outside"}, dir);
  ASSERT_EQ(LineCount(r.Out), 1) << r.Out;
  EXPECT_NE(r.Out.find(":7: "), std::string::npos) << r.Out;

  r = Lumetra({"check", form, "--only", "fit,nonsense"}, dir);
  EXPECT_EQ(r.Code, 2);
  const std::string errors = ReadFile(dir.File("stderr.txt"));
  EXPECT_NE(errors.find("'nonsense' is no kind of fault (syntax, "), std::string::npos) << errors;
}

TEST(CheckCommand, InABinaryFormALineIsThePlaceInTheList) {
  ScratchDir dir;
  WriteFile(dir.File("form1.txt"), FaultyForm);
  ASSERT_EQ(Lumetra({"form", "convert", dir.File("form1.txt"), dir.File("form1.dfm")}, dir).Code, 0);
  const Result r = Lumetra({"check", dir.File("form1.dfm")}, dir);
  EXPECT_EQ(r.Code, 1);
  ASSERT_EQ(LineCount(r.Out), 7) << r.Out;
  EXPECT_EQ(r.Out.find(dir.File("form1.dfm") + ":1: TOpenDialog.Caption[1089]: error: mnemonic &i"), 0u) << r.Out;
  EXPECT_NE(r.Out.find(dir.File("form1.dfm") + ":1: TOpenDialog.Caption[1089]: hint: "), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find(dir.File("form1.dfm") + ":6: TOpenDialog.Width: error: value 'wide'"), std::string::npos) << r.Out;
}

TEST(CheckCommand, ATranslationTextFileIsCheckedPerFormAndLocaleAgainstItsOriginals) {
  ScratchDir dir;
  WriteFile(dir.File("lang.txt"),
            "#0Form1.TOpenDialog.Caption[1090]%-1='File name:'\r\n"
            "#0Form1.TOpenDialog.Caption[1090]%1031='Datei&name:'\r\n"
            "#0Form1.TOpenDialog.Caption[1090]%1036='&Nom :'\r\n"
            "#0Form1.TOpenDialog.Caption[1089]%1036='&Nature :'\r\n");
  Result r = Lumetra({"check", dir.File("lang.txt")}, dir);
  EXPECT_EQ(r.Code, 1);
  const std::string f = dir.File("lang.txt");
  EXPECT_NE(r.Out.find(f + ":2: TOpenDialog.Caption[1090]: warning: stale: the original was 'File name:'"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find(f + ":4: TOpenDialog.Caption[1089]: error: mnemonic &n is also that of control 1090 '&Nom :'"), std::string::npos) << r.Out;

  r = Lumetra({"check", dir.File("lang.txt"), "--locale", "1031"}, dir);
  EXPECT_EQ(LineCount(r.Out), 1) << "the stale original only\n" << r.Out;
}

// The hints for mnemonics take the letters of the keyboard of each set's locale, and leave the
// count of faults and the exit code as they are.
TEST(CheckCommand, MnemonicHintsTakeTheKeyboardOfTheLocale) {
  ScratchDir dir;
  const std::string file = dir.File("lang.txt");
  WriteFile(file,
            "#0Form1.TFindDialog.Font.Charset%1049=204\r\n"
            "#0Form1.TFindDialog.Caption[1041]%1049='Case \xF0\xE5\xE3\xE8\xF1\xF2\xF0'\r\n"
            "#0Form1.TFindDialog.Caption[1041]%1033='Case sensitive'\r\n");
  const Result r = Lumetra({"check", file}, dir);
  EXPECT_EQ(r.Code, 0) << "hints are no errors";
  EXPECT_NE(r.Out.find(file + ":2: TFindDialog.Caption[1041]: hint: the original 'Match &Case' has a mnemonic; &#240 is free "
                       "(proposed: TFindDialog.Caption[1041]='Case &#240#229#227#232#241#242#240')"),
            std::string::npos)
      << "no Latin letter on the Russian layout\n" << r.Out;
  EXPECT_NE(r.Out.find(file + ":3: TFindDialog.Caption[1041]: hint: the original 'Match &Case' has a mnemonic; &c, its letter, is free "
                       "(proposed: TFindDialog.Caption[1041]='&Case sensitive')"),
            std::string::npos)
      << r.Out;
  EXPECT_EQ(LineCount(r.Out), 4) << "two warnings and their hints\n" << r.Out;
}

// Ten locales in ten scripts, each in the code page of its Font.Charset entry, with the faces
// that have their glyphs: nothing to report, judged with the recorded widths and glyphs on both
// window systems (the Windows suites see Wine's default font set, without those faces).
TEST(CheckCommand, TheTenScriptsFileReportsNothing) {
  const std::string file = std::string(LUMETRA_TEST_DATA) + "/scripts/ten_scripts.txt";
  const lumetra_cli::CheckSource source(file, std::nullopt);
  ASSERT_EQ(source.Sets().size(), 10u);
  std::map<std::string, checks::DialogLayout> layouts;
  for (const lumetra_cli::EntrySet& set : source.Sets()) {
    checks::CheckInput in;
    in.File = set.File;
    in.Entries = set.Entries;
    in.Originals = set.Originals;
    in.Reference = [&layouts](const std::string& ClassName) -> const checks::DialogLayout* {
      const win::RecordedDialog* d = win::FindRecordedDialog(checks::RecordedKindOf(ClassName));
      return d ? &layouts.try_emplace(ClassName, checks::LayoutFromRecorded(*d, ClassName)).first->second : nullptr;
    };
    std::string all;
    for (const checks::Problem& p : checks::Check(in)) all += checks::FormatProblem(p) + "\n";
    EXPECT_EQ(all, "") << set.File;
  }
#ifndef _WIN32
  ScratchDir dir;
  const Result r = Lumetra({"check", file}, dir);
  EXPECT_EQ(r.Code, 0) << r.Out;
  EXPECT_EQ(r.Out, "") << "the simulation measures as the recordings do";
#endif
}

TEST(CheckCommand, ATextFileWithALineOfAnotherKindIsRefusedWithoutPrintingItsLines) {
  ScratchDir dir;
  const std::string lang = dir.File("lang.txt"), form = dir.File("form1.dfm");
  WriteFile(lang, "#0Form1.TOpenDialog.Caption[1090]%1036='&Nom :'\r\nssh-ed25519 AAAA evil@attacker\r\n");
  WriteFile(form, "object Form1: TForm1\n  object Lumetra1: TLumetra\n    FileName = '" + lang + "'\n    Locale = 1036\n  end\nend\n");
  const std::string refusal =
      lang + ", line 2: not a line of a translation text file (#0<owner>.<key>%<locale>=<value>); the file is refused and left as it is\n";
  for (const std::string& file : {lang, form}) {
    SCOPED_TRACE(file);
    const Result r = Lumetra({"check", file}, dir);
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(ReadFile(dir.File("stderr.txt")), "lumetra check: " + refusal);
  }
}

// A German open dialog whose file-name label is too long for its control: the width is the one
// the real font gives under Wine (GetTextExtentPoint32), and the same from the recorded widths.
TEST(CheckCommand, ATooLongFileNameLabelIsReportedWithItsWidthAndOutlined) {
  ScratchDir dir;
  WriteFile(dir.File("de.dfm"),
            "object Form1: TForm1\n"
            "  object OpenDialog1: TOpenDialog\n"
            "  end\n"
            "  object Lumetra1: TLumetra\n"
            "    Locale = 1031\n"
            "    Translations.Strings = (\n"
            "      'TOpenDialog.Caption[1089]='#39'Datei&typ:'#39\n"
            "      'TOpenDialog.Caption[1090]='#39'Name der zu '#246'ffnenden Datei (vollst'#228'ndig)&:'#39)\n"
            "  end\n"
            "end\n");
  const Result r = Lumetra({"check", dir.File("de.dfm")}, dir);
  EXPECT_EQ(r.Code, 1);
  EXPECT_EQ(r.Out, dir.File("de.dfm") +
                       ":8: TOpenDialog.Caption[1090]: error: text 'Name der zu #246ffnenden Datei (vollst#228ndig)&:' is 207 px wide "
                       "in Liberation Sans 11 px, 3 lines of 12 px; control 1090 (84 x 24) has room for 84 px by 24 px\n");
  const std::string png = dir.File("de.png");
  EXPECT_EQ(Lumetra({"preview", dir.File("de.dfm"), "--class", "TOpenDialog", "-o", png}, dir).Code, 0);
  EXPECT_EQ(ReadFile(png).substr(0, 4), "\x89PNG");
}

TEST(CheckCommand, AFormWithATranslationTextFileIsCheckedOnTheLinesOfThatFile) {
  ScratchDir dir;
  WriteFile(dir.File("form1.dfm"),
            "object Form1: TForm1\n"
            "  object Lumetra1: TLumetra\n"
            "    FileName = 'lang.txt'\n"
            "    Locale = 1036\n"
            "  end\n"
            "end\n");
  WriteFile(dir.File("lang.txt"),
            "#0Form2.TOpenDialog.Foo%1036=1\r\n"             // another form's
            "#0Form1.TOpenDialog.Caption[1090]%1036='&Nom :'\r\n"
            "#0Form1.TOpenDialog.Width[1090]%1036=large\r\n"
            "#0Form1.TOpenDialog.Height%1031=x\r\n");          // another locale's
  Result r = Lumetra({"check", dir.File("form1.dfm")}, dir);
  EXPECT_EQ(r.Code, 1);
  EXPECT_EQ(r.Out, dir.File("lang.txt") + ":3: TOpenDialog.Width[1090]: error: value 'large' is not a decimal integer\n");
  r = Lumetra({"check", dir.File("form1.dfm"), "--locale", "1031"}, dir);
  EXPECT_EQ(r.Out, dir.File("lang.txt") + ":4: TOpenDialog.Height: error: value 'x' is not a decimal integer\n");
}

TEST(CheckCommand, SizesAndPositionsBeyondAScreenAreErrorsNamingTheValues) {
  ScratchDir dir;
  const std::string f = dir.File("absurd.txt"), png = dir.File("find.png");
  WriteFile(f, "TFindDialog.Width=2147483647\r\nTOpenDialog.Left[1]=2147483647\r\nTOpenDialog.Height[1090]=-2147483648\r\n");
  const Result r = Lumetra({"check", f}, dir);
  EXPECT_EQ(r.Code, 1);
  for (const std::string expected :
       {":1: TFindDialog.Width: error: size 2147483647 is more than a screen holds (at most 32767 px); it is taken as 32767\n",
        ":2: TOpenDialog.Left[1]: error: position 2147483647 is beyond what a screen holds (-32767 to 32767 px); it is taken as 32767\n",
        ":3: TOpenDialog.Height[1090]: error: negative size -2147483648; it is taken as 0\n"})
    EXPECT_NE(r.Out.find(f + expected), std::string::npos) << expected << r.Out;
  // The picture of the find dialog 32767 px wide is bounded, and says so.
  testing_support::CapturedOutput errors(stderr);
  EXPECT_EQ(Lumetra({"preview", f, "--class", "TFindDialog", "-o", png}, dir).Code, 0);
  const std::string said = errors.Text();
  const std::string bytes = ReadFile(png);
  ASSERT_GT(bytes.size(), 24u) << said;
  EXPECT_LE((static_cast<unsigned char>(bytes[18]) << 8) | static_cast<unsigned char>(bytes[19]), 4096);  // IHDR width
#ifndef _WIN32
  EXPECT_NE(said.find("the dialog is 32767 x 118 px, more than a picture holds: " + png + " shows its top left 4096 x 118 px\n"),
            std::string::npos)
      << said;
#endif
}

TEST(CheckCommand, TheLinesOfATextFormsTranslations) {
  EXPECT_EQ(vcl::TextFormListLines(FaultyForm, "Lumetra1", "Translations.Strings"), (std::vector<int>{6, 7, 8, 9, 10, 11, 12}));
}

TEST(CheckCommand, WrongUsageAndMissingFiles) {
  ScratchDir dir;
  EXPECT_EQ(Lumetra({"check"}, dir).Code, 2);
  EXPECT_EQ(Lumetra({"check", "a", "b"}, dir).Code, 2);
  EXPECT_EQ(Lumetra({"check", "--locale", "x", "a"}, dir).Code, 2);
  EXPECT_EQ(Lumetra({"check", dir.File("missing.dfm")}, dir).Code, 1);
  EXPECT_NE(ReadFile(dir.File("stderr.txt")).find("missing.dfm: no such file"), std::string::npos);
  WriteFile(dir.File("form1.dfm"), FaultyForm);
  EXPECT_EQ(Lumetra({"check", dir.File("form1.dfm"), "--locale", "7"}, dir).Code, 2) << "a form keeps one locale";
  EXPECT_EQ(Lumetra({"preview", dir.File("form1.dfm"), "-o", dir.File("x.png")}, dir).Code, 2) << "no --class";
  EXPECT_EQ(Lumetra({"preview", dir.File("form1.dfm"), "--class", "TNoDialog", "-o", dir.File("x.png")}, dir).Code, 1);
}

TEST(CheckCommand, PreviewWritesAPictureOfTheTranslatedDialog) {
  ScratchDir dir;
  WriteFile(dir.File("form1.dfm"), FaultyForm);
  const std::string png = dir.File("open.png");
  const Result r = Lumetra({"preview", dir.File("form1.dfm"), "--class", "TOpenDialog", "-o", png}, dir);
  EXPECT_EQ(r.Code, 0) << ReadFile(dir.File("stderr.txt"));
  EXPECT_EQ(LineCount(r.Out), 7) << "the faults, printed as check prints them, and the file written\n" << r.Out;
  EXPECT_TRUE(r.Out.ends_with("\nwrote " + png + "\n")) << r.Out;
  const std::string bytes = ReadFile(png);
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
  // The picture has the dialog's outer size (IHDR: width and height, big-endian).
  const auto at = [&](std::size_t i) { return (static_cast<unsigned char>(bytes[i]) << 8) | static_cast<unsigned char>(bytes[i + 1]); };
  EXPECT_EQ(at(18), 565);
  EXPECT_EQ(at(22), 359);
}

#ifndef _WIN32
TEST(CheckCommand, PreviewWritesNoPictureIntoAFifo) {
  ScratchDir dir;
  WriteFile(dir.File("form1.dfm"), FaultyForm);
  const std::string fifo = dir.File("fifo.png");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const Result r = Lumetra({"preview", dir.File("form1.dfm"), "--class", "TOpenDialog", "-o", fifo}, dir);
  EXPECT_EQ(r.Code, 1);
  EXPECT_EQ(ReadFile(dir.File("stderr.txt")),
            "lumetra preview: Cannot create file \"" + fifo + "\": it is a FIFO, not a regular file, and is left as it is\n");
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}
#endif

// lumetra fit writes the sizes and positions into the file the entries came from: a list keeps
// its other lines where they were, --dry-run only prints, and a second fit has nothing to do.
TEST(FitCommand, AListIsFittedInPlaceAndAgainChangesNothing) {
  ScratchDir dir;
  const std::string list = dir.File("de.txt");
  const std::string before = "TFindDialog.Caption='Suchen'\r\nTFindDialog.Caption[1]='Weiter&suchen im Dokument'\r\n"
                             "TFindDialog.Caption[2]='Abbrechen'\r\n";
  WriteFile(list, before);
  Result r = Lumetra({"fit", list, "--dry-run", "--dpi", "96", "--dpi", "144"}, dir);
  EXPECT_EQ(r.Code, 0) << r.Out;
  EXPECT_NE(r.Out.find("TFindDialog.Width[1]="), std::string::npos) << r.Out;
  EXPECT_EQ(ReadFile(list), before) << "a dry run writes nothing";

  r = Lumetra({"fit", list, "--dpi", "96", "--dpi", "144"}, dir);
  EXPECT_EQ(r.Code, 0) << r.Out;
  const std::string after = ReadFile(list);
  EXPECT_EQ(after.rfind(before, 0), 0u) << "the lines that were there stay first:\n" << after;
  EXPECT_NE(after.find("\r\nTFindDialog.Width[1]="), std::string::npos) << after;
  for (const char* dpi : {"96", "144"}) EXPECT_EQ(Lumetra({"check", list, "--dpi", dpi}, dir).Out, "") << dpi;
  EXPECT_NE(Lumetra({"check", list, "--dpi", "192"}, dir).Code, 2) << "any DPI a screen has";

  r = Lumetra({"fit", list, "--dpi", "144", "--dpi", "96"}, dir);
  EXPECT_EQ(r.Code, 0);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(ReadFile(list), after);
}

// In a translation text file only the lines of the form and locale fitted change; the other
// locale and the originals stay as they were.
TEST(FitCommand, ATextFileChangesOnlyTheLinesOfTheLocaleFitted) {
  ScratchDir dir;
  const std::string file = dir.File("lang.txt");
  WriteFile(file,
            "#0Form1.TFindDialog.Caption[1]%-1='&Find Next'\r\n"
            "#0Form1.TFindDialog.Caption[1]%1031='Weiter&suchen im ganzen Dokument'\r\n"
            "#0Form1.TFindDialog.Caption[1]%1036='&Suivant dans tout le document entier'\r\n");
  const Result r = Lumetra({"fit", file, "--locale", "1031"}, dir);
  EXPECT_EQ(r.Code, 0) << r.Out;
  const std::string after = ReadFile(file);
  EXPECT_NE(after.find("#0Form1.TFindDialog.Width[1]%1031="), std::string::npos) << after;
  EXPECT_EQ(after.find("%1036=") , after.rfind("%1036=")) << after;
  EXPECT_EQ(after.find("Width[1]%1036"), std::string::npos) << after;
  EXPECT_NE(after.find("#0Form1.TFindDialog.Caption[1]%-1='&Find Next'"), std::string::npos) << after;
  EXPECT_EQ(Lumetra({"check", file, "--locale", "1031"}, dir).Out, "");
  EXPECT_EQ(Lumetra({"check", file, "--locale", "1036"}, dir).Code, 1) << "the French lines are not fitted";
}

// A form keeps its entries in itself: the fit goes back into the form, which reads again.
TEST(FitCommand, AFormGetsTheEntriesInItsTranslator) {
  ScratchDir dir;
  const std::string form = dir.File("form1.dfm");
  WriteFile(form,
            "object Form1: TForm1\n"
            "  object FindDialog1: TFindDialog\n"
            "  end\n"
            "  object Lumetra1: TLumetra\n"
            "    Translations.Strings = (\n"
            "      'TFindDialog.Caption[1]='#39'Weiter&suchen im ganzen Dokument'#39)\n"
            "  end\n"
            "end\n");
  ASSERT_EQ(Lumetra({"check", form}, dir).Code, 1);
  EXPECT_EQ(Lumetra({"fit", form}, dir).Code, 0);
  const Result r = Lumetra({"check", form}, dir);
  EXPECT_EQ(r.Code, 0) << r.Out;
  EXPECT_NE(ReadFile(form).find("'TFindDialog.Width[1]="), std::string::npos) << ReadFile(form);
}

// A text no work area holds is reported with exit code 1; the file gets what could be fitted.
TEST(FitCommand, WhatCannotFitIsReportedAndTheRestWritten) {
  ScratchDir dir;
  const std::string list = dir.File("de.txt");
  WriteFile(list, "TFindDialog.Caption[1]='" + std::string(180, 'W') + "'\nTFindDialog.Caption[2]='Abbrechen, bitte sofort'\n");
  Result r = Lumetra({"fit", list}, dir);
  EXPECT_EQ(r.Code, 1);
  EXPECT_NE(r.Out.find(list + ":1: TFindDialog.Caption[1]: error: text 'WWW"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("beyond a 1024 x 768 work area"), std::string::npos) << r.Out;
  EXPECT_NE(ReadFile(list).find("TFindDialog.Width[2]="), std::string::npos);
  EXPECT_EQ(ReadFile(list).find("TFindDialog.Width[1]="), std::string::npos);

  r = Lumetra({"fit", list, "--dpi", "20"}, dir);
  EXPECT_EQ(r.Code, 2);
  EXPECT_NE(ReadFile(dir.File("stderr.txt")).find("--dpi '20' is no screen's pixels per inch"), std::string::npos);
}

// fit --mnemonics gives the German and the Russian sets with clashes the letters check proposes:
// afterwards no mnemonic is at fault, and no text that fitted before is cut off.
TEST(FitCommand, MnemonicsLeaveNoClashInTheGermanAndRussianSets) {
  ScratchDir dir;
  for (const char* name : {"de.txt", "ru.txt"}) {
    SCOPED_TRACE(name);
    const std::string list = dir.File(name);
    WriteFile(list, ReadFile(std::string(LUMETRA_TEST_DATA) + "/mnemonics/" + name));
    const Result before = Lumetra({"check", list, "--only", "mnemonic-clash,mnemonic-dropped,mnemonic-added"}, dir);
    ASSERT_EQ(before.Code, 1) << "the set has clashes to solve";
    const Result fit = Lumetra({"fit", list, "--mnemonics"}, dir);
    EXPECT_EQ(fit.Code, 0) << fit.Out;
    const Result after = Lumetra({"check", list}, dir);
    EXPECT_EQ(after.Out.find("mnemonic"), std::string::npos) << after.Out;
    EXPECT_EQ(after.Out.find(": fit"), std::string::npos) << after.Out;
    EXPECT_EQ(after.Code, 0) << after.Out;
  }
}
