// The checks of translation entries, judged on the recorded dialogs with the recorded widths, and
// a translator's entries judged on the dialogs of its form.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "checks/checks.hpp"
#include "checks/translator_checks.hpp"
#include "recorded_layouts.hpp"
#include "commands.hpp"
#include "vcl/Dialogs.hpp"

using checks::Problem;
using checks::Fault;
using checks::Severity;

namespace {

using checks_testing::Recorded;

std::vector<Problem> CheckLines(const std::vector<std::string>& Lines, const std::vector<std::string>& Originals = {}) {
  checks::CheckInput in;
  in.File = "de.txt";
  int n = 0;
  for (const std::string& l : Lines) in.Entries.push_back({l, ++n});
  in.Originals = Originals;
  in.Reference = &Recorded;
  return checks::Check(in);
}

std::string All(const std::vector<Problem>& Problems) {
  std::string s;
  for (const Problem& p : Problems) s += checks::FormatProblem(p) + "\n";
  return s;
}

struct Case {
  const char* What;
  std::vector<std::string> Lines;
  std::vector<std::string> Originals;
  int Line;             // of the one problem reported
  Severity Level;
  checks::Fault Kind;   // of the first problem
  const char* Reason;   // a part of its reason: the figures it names
  std::size_t Count = 1;  // problems reported, all on that line
};

const Case Faults[] = {
    // Syntax the entry language rejects, or that does not do what it seems to.
    {"no class", {"Caption='x'"}, {}, 1, Severity::Error, Fault::Syntax, "no \".\""},
    {"no value", {"TOpenDialog.Caption"}, {}, 1, Severity::Error, Fault::Syntax, "no \"=\""},
    {"unknown property", {"TOpenDialog.Foo=1"}, {}, 1, Severity::Error, Fault::UnknownProperty, "unknown property 'Foo'"},
    {"id not decimal", {"TOpenDialog.Caption[12a]='x'"}, {}, 1, Severity::Error, Fault::Syntax, "control id '12a' is not a decimal integer"},
    {"no ]", {"TOpenDialog.Caption[1090='x'"}, {}, 1, Severity::Error, Fault::Syntax, "no \"]\""},
    {"bad literal", {"TOpenDialog.Caption='x'#"}, {}, 1, Severity::Error, Fault::Syntax, "no valid literal"},
    {"text after ]", {"TOpenDialog.Caption[1090]x='&Name:'"}, {}, 1, Severity::Warning, Fault::Syntax, "'x' after \"]\" is ignored"},
    {"other font field", {"TOpenDialog.Font.Style=1"}, {}, 1, Severity::Warning, Fault::UnknownProperty, "'Font.Style' is no font field"},
    {"empty value", {"TOpenDialog.Caption[1090]=''"}, {}, 1, Severity::Warning, Fault::EmptyValue, "empty value"},
    // Ids the dialog does not have.
    {"unknown id", {"TOpenDialog.Caption[4711]='x'"}, {}, 1, Severity::Error, Fault::UnknownId, "TOpenDialog has no control with id 4711"},
    {"ordinal beyond", {"TOpenDialog.Left[-40]=1"}, {}, 1, Severity::Error, Fault::UnknownId, "has no child 40 (it has 16)"},
    // Integers.
    {"word for a width", {"TOpenDialog.Width=wide"}, {}, 1, Severity::Error, Fault::NotAnInteger, "value 'wide' is not a decimal integer"},
    {"hexadecimal", {"TOpenDialog.Left[1090]=$10"}, {}, 1, Severity::Error, Fault::NotAnInteger, "value '$10' is not a decimal integer"},
    {"negative size", {"TOpenDialog.Height[1090]=-5"}, {}, 1, Severity::Error, Fault::BeyondScreen, "negative size -5; it is taken as 0"},
    {"DPI no screen has", {"TOpenDialog.PixelsPerInch=5000"}, {}, 1, Severity::Warning, Fault::BeyondScreen,
     "5000 pixels per inch is no screen's (48 to 960): the class's sizes and positions are taken as 96-dpi ones"},
    // Sizes and positions beyond what a screen holds, taken as the apply step takes them.
    {"window wider than a screen", {"TFindDialog.Width=2147483647"}, {}, 1, Severity::Error, Fault::BeyondScreen,
     "size 2147483647 is more than a screen holds (at most 32767 px); it is taken as 32767"},
    {"control beyond the screen", {"TFindDialog.Top[1]=-2147483648"}, {}, 1, Severity::Error, Fault::BeyondScreen,
     "position -2147483648 is beyond what a screen holds (-32767 to 32767 px); it is taken as -32767", 2},  // and leaves the dialog
    {"charset beyond a byte", {"TOpenDialog.Font.Charset=494"}, {}, 1, Severity::Warning, Fault::Charset, "taken as 238"},
    // Code pages.
    {"byte 1252 lacks", {"TOpenDialog.Caption[1090]='Datei&name\x81:'"}, {}, 1, Severity::Error, Fault::CodePage, "character #129 cannot be shown: code page 1252"},
    {"byte 1250 lacks", {"TOpenDialog.Caption[1090]='Soubor &n\x83:'", "TOpenDialog.Font.Charset=238"}, {}, 1, Severity::Error, Fault::CodePage,
     "character #131 cannot be shown: code page 1250 (character set 238)"},
    {"saved as UTF-8", {"TOpenDialog.Caption[1090]='Gr\xC3\xB6\xC3\x9F" "e des &Namens:'"}, {}, 1, Severity::Warning, Fault::LooksLikeUtf8, "looks like UTF-8"},
    {"lead byte cut off at the end", {"TOpenDialog.Font.Charset=128", "TOpenDialog.Caption[1090]='&\x83t\x83@\x83" "C\x83'"}, {}, 2, Severity::Error,
     Fault::CodePage, "the text ends in lead byte #131 of code page 932 (character set 128) without the byte that completes its character"},
    {"double-byte pair 932 lacks", {"TOpenDialog.Font.Charset=128", "TOpenDialog.Caption[1090]='&\x85\x40:'"}, {}, 2, Severity::Error,
     Fault::CodePage, "character #133#64 cannot be shown: code page 932 (character set 128) has none"},
    // Glyphs the realised face lacks: Noto Sans Thai has no "(" or Latin letters; "Arial" is realised as
    // Liberation Sans, which has no kana.
    {"a face without the glyphs", {"TOpenDialog.Font.Charset=222", "TOpenDialog.Font.Name='Noto Sans Thai'", "TOpenDialog.Caption[1090]='\xAA\xD7\xE8\xCD\xE1\xBF\xE9\xC1 (&N):'"}, {}, 3,
     Severity::Warning, Fault::Glyphs, "character '(' (U+0028) at character 10 has no glyph in Noto Sans Thai"},
    {"charset undone by the name", {"TOpenDialog.Font.Charset=128", "TOpenDialog.Font.Name='Arial'", "TOpenDialog.Caption[1090]='\x83t\x83@\x83" "C\x83\x8B\x96\xBC(&N):'"},
     {}, 3, Severity::Warning, Fault::Glyphs,
     "has no glyph in Liberation Sans, which the font 'Arial' of character set 1 is realised as: it shows as a box; TOpenDialog.Font.Name is "
     "applied after TOpenDialog.Font.Charset and gives the controls the dialog's own character set 1 again"},
    // Letters of one script among those of another.
    {"Latin look-alike word among Cyrillic ones", {"TFindDialog.Font.Charset=204", "TFindDialog.Caption[1041]='C &\xF3\xF7\xE5\xF2\xEE\xEC \xF0\xE5\xE3\xE8\xF1\xF2\xF0\xE0'"},
     {}, 2, Severity::Warning, Fault::MixedScript, "Latin letter 'C' (U+0043) at character 1 among Cyrillic letters"},
    {"Latin letter inside a Cyrillic word", {"TSaveDialog.Font.Charset=204", "TSaveDialog.Caption='\xD1o\xF5\xF0\xE0\xED\xE8\xF2\xFC'"}, {}, 2,
     Severity::Warning, Fault::MixedScript, "Latin letter 'o' (U+006F) at character 2 among Cyrillic letters"},
    {"Cyrillic letter inside a Latin word", {"TSaveDialog.Caption='Sa\xE2" "e'", "TSaveDialog.Font.Charset=204"}, {}, 1, Severity::Warning,
     Fault::MixedScript, "Cyrillic letter '\xE2' (U+0432) at character 3 among Latin letters"},
    // Reading orders.
    {"no reading order", {"TOpenDialog.BiDiMode=bdUpsideDown"}, {}, 1, Severity::Error, Fault::Syntax,
     "value 'bdUpsideDown' is no reading order (bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign or bdRightToLeftReadingOnly)"},
    // Texts that do not fit.
    {"label too long", {"TOpenDialog.Caption[1090]='Bitte geben Sie den &Namen der Datei ein:'"}, {}, 1, Severity::Error, Fault::Fit,
     "px wide in Liberation Sans 11 px, 3 lines of 12 px; control 1090 (84 x 24) has room for 84 px by 24 px"},
    {"label fits in two lines", {"TOpenDialog.Caption[1090]='Name der zu \xF6" "ffnenden Datei:'"}, {}, 1, Severity::Warning, Fault::MnemonicDropped,
     "drops the & mnemonic"},
    {"button made narrow", {"TOpenDialog.Width[1]=30"}, {}, 1, Severity::Error, Fault::Fit, "text '&Open' is 27 px wide in Liberation Sans 11 px; control 1 (30 x 21) has room for 22 px"},
    {"check box text", {"TFindDialog.Caption[1041]='Gro\xDF-/Kleinschreibung bei der Suche beachten (&K)'"}, {}, 1, Severity::Error, Fault::Fit,
     "has room for 194 px"},
    // Controls that overlap or leave the dialog.
    {"moved onto a neighbour", {"TOpenDialog.Left[1090]=200"}, {}, 1, Severity::Error, Fault::Overlap, "control 1090 (84 x 24 at 200,273) overlaps control 1148"},
    {"moved out", {"TOpenDialog.Left[2]=600"}, {}, 1, Severity::Error, Fault::Outside, "control 2 (81 x 21 at 600,297) leaves the dialog's client area (557 x 332)"},
    {"window made narrow", {"TFindDialog.Width=413"}, {}, 1, Severity::Error, Fault::Outside,
     "control 1 (90 x 21 at 318,9) leaves the dialog's client area (407 x 93)", 2},  // and Cancel below it
    // Mnemonics.
    {"same letter twice", {"TOpenDialog.Caption[1089]='Datei&name:'"}, {}, 1, Severity::Error, Fault::MnemonicClash, "mnemonic &n is also that of control 1090 'File &name:'"},
    {"(&N) in code page 932", {"TOpenDialog.Font.Charset=128", "TOpenDialog.Caption[1089]='\x8E\xED\x97\xDE(&N):'"}, {},
     2, Severity::Error, Fault::MnemonicClash, "mnemonic &n is also that of control 1090 'File &name:'"},
    {"moved out of a mirrored dialog", {"TOpenDialog.BiDiMode=bdRightToLeft", "TOpenDialog.Left[2]=600"}, {}, 2, Severity::Error, Fault::Outside,
     "control 2 (81 x 21 at -124,297) leaves the dialog's client area (557 x 332)"},
    {"dropped", {"TOpenDialog.Caption[1090]='Dateiname:'"}, {}, 1, Severity::Warning, Fault::MnemonicDropped, "drops the & mnemonic of the original 'File &name:'"},
    {"added", {"TOpenDialog.Caption[2]='&Abbrechen'"}, {}, 1, Severity::Warning, Fault::MnemonicAdded, "adds a & mnemonic that the original 'Cancel' does not have"},
    // Stale entries.
    {"original changed", {"TOpenDialog.Caption[1090]='Datei&name:'"}, {"TOpenDialog.Caption[1090]='File name:'"}, 1, Severity::Warning, Fault::Stale,
     "stale: the original was 'File name:', a fresh capture of TOpenDialog has 'File &name:'"},
    {"control gone", {"TOpenDialog.Caption[4711]='Weg'"}, {"TOpenDialog.Caption[4711]='Gone'"}, 1, Severity::Error, Fault::Stale,
     "stale: control 4711 is gone from a fresh capture of TOpenDialog"},
    // A class without a dialog to judge on.
    {"unknown class", {"TMyDialog.Caption='x'"}, {}, 1, Severity::Warning, Fault::NoDialog, "no dialog of class TMyDialog to check against"},
};

}  // namespace

TEST(Checks, EachFaultIsReportedOnceOnItsLine) {
  for (const Case& f : Faults) {
    SCOPED_TRACE(f.What);
    const std::vector<Problem> problems = CheckLines(f.Lines, f.Originals);
    ASSERT_EQ(problems.size(), f.Count) << All(problems);
    for (const Problem& p : problems) EXPECT_EQ(p.Line, f.Line);
    EXPECT_EQ(problems[0].Level, f.Level) << All(problems);
    EXPECT_EQ(checks::FaultName(problems[0].Kind), checks::FaultName(f.Kind)) << All(problems);
    EXPECT_NE(problems[0].Reason.find(f.Reason), std::string::npos) << All(problems);
    EXPECT_EQ(problems[0].Key, std::string(f.Lines[static_cast<std::size_t>(f.Line - 1)]).substr(0, f.Lines[static_cast<std::size_t>(f.Line - 1)].find('=')));
  }
}

TEST(Checks, EachKindOfFaultHasANameAndCanBeLeftOut) {
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < checks::FaultCount; ++i) {
    const auto kind = static_cast<Fault>(i);
    EXPECT_FALSE(checks::FaultName(kind).empty()) << i;
    EXPECT_EQ(checks::FaultNamed(checks::FaultName(kind)), kind) << i;
    names.insert(checks::FaultName(kind));
  }
  EXPECT_EQ(names.size(), checks::FaultCount);
  EXPECT_FALSE(checks::FaultNamed("Fit")) << "names are exact";

  checks::CheckInput in;
  in.Reference = &Recorded;
  in.Entries = {{"TOpenDialog.Foo=1", 1}, {"TOpenDialog.Width[1]=30", 2}, {"TOpenDialog.Caption[1090]='Dateiname:'", 3}};
  in.Reported.reset(static_cast<std::size_t>(Fault::UnknownProperty)).reset(static_cast<std::size_t>(Fault::MnemonicDropped));
  const std::vector<Problem> left = checks::Check(in);
  ASSERT_EQ(left.size(), 1u) << All(left);
  EXPECT_EQ(left[0].Kind, Fault::Fit);
}

TEST(Checks, CleanEntriesReportNothing) {
  struct Clean {
    const char* What;
    std::vector<std::string> Lines;
  };
  const Clean clean[] = {
      {"syntax, ids, integers", {"TOpenDialog.Caption='\xD6" "ffnen'", "TOpenDialog.Left[-7]=98", "TOpenDialog.Font.Charset=0"}},
      {"the DPI of a capture", {"TOpenDialog.PixelsPerInch=144"}},
      {"distinct mnemonics that fit", {"TOpenDialog.Caption[1090]='Datei&name:'", "TOpenDialog.Caption[1089]='Datei&typ:'"}},
      {"original as fresh", {"TOpenDialog.Caption[1090]='&Dateiname:'", "TOpenDialog.Width[1]=82"}},
      {"a hidden button's long text", {"TOpenDialog.Caption[1038]='&Hilfe, lang, die niemand sieht'"}},
      {"a letter that code page 1250 has", {"TOpenDialog.Caption[1090]='Sou&bor\x8A:'", "TOpenDialog.Font.Charset=238"}},
      {"moved into a larger window", {"TOpenDialog.Width=700", "TOpenDialog.Left[1]=600", "TOpenDialog.Left[2]=600"}},
      {"a wider label still inside", {"TFindDialog.Caption[-1]='Such&en nach:'", "TFindDialog.Width[-1]=80"}},
      // A Font.Name after a Font.Charset matters only where its face lacks glyphs.
      {"a set undone where the face has the glyphs", {"TOpenDialog.Font.Charset=238", "TOpenDialog.Font.Name='Arial'",
                                                     "TOpenDialog.Caption[1090]='Sou&bor\x8A:'"}},
      {"a Japanese face with the glyphs", {"TOpenDialog.Font.Charset=128", "TOpenDialog.Font.Name='Noto Sans CJK JP'",
                                           "TOpenDialog.Caption[1090]='\x83t\x83@\x83" "C\x83\x8B\x96\xBC(&N):'"}},
      {"the dialog face in the Japanese set", {"TOpenDialog.Font.Charset=128", "TOpenDialog.Caption[1090]='\x83t\x83@\x83" "C\x83\x8B\x96\xBC(&N):'",
                                               "TOpenDialog.Caption[1089]='\x8E\xED\x97\xDE(&T):'"}},
      {"two-byte mnemonics that share a lead byte", {"TOpenDialog.Font.Charset=128", "TOpenDialog.Caption[1089]='&\x83t\x83@\x83" "C\x83\x8B:'",
                                                     "TOpenDialog.Caption[1090]='&\x83h\x83L\x83\x85\x83\x81\x83\x93\x83g:'"}},
      {"a Latin name among Cyrillic words", {"TFindDialog.Font.Charset=204", "TFindDialog.Caption[1041]='\xD3\xF7\xE5\xF2 &\xF0\xE5\xE3\xE8\xF1\xF2\xF0\xE0 Windows'"}},
      {"every reading order", {"TOpenDialog.BiDiMode=bdLeftToRight", "TSaveDialog.BiDiMode=bdRightToLeft", "TFindDialog.BiDiMode=bdRightToLeftNoAlign",
                               "TReplaceDialog.BiDiMode=bdRightToLeftReadingOnly"}},
  };
  for (const Clean& c : clean) {
    const auto problems = CheckLines(c.Lines, {"TOpenDialog.Caption[1090]='File &name:'", "TOpenDialog.Width[1]=82"});
    EXPECT_TRUE(problems.empty()) << c.What << "\n" << All(problems);
  }
}

TEST(Checks, TheDemoTranslationsAreClean) {
  std::vector<std::string> lines;
  for (const char* e : lumetra_cli::GermanDemoEntries()) lines.emplace_back(e);
  const auto problems = CheckLines(lines);
  EXPECT_TRUE(problems.empty()) << All(problems);
}

TEST(Checks, ProblemsComeInLineOrderWithFileLineKeyAndPlace) {
  const auto problems = CheckLines({"TOpenDialog.Caption[1090]='Dateiname:'", "TOpenDialog.Foo=1", "TOpenDialog.Width[1]=30"});
  ASSERT_EQ(problems.size(), 3u) << All(problems);
  EXPECT_EQ(checks::FormatProblem(problems[0]),
            "de.txt:1: TOpenDialog.Caption[1090]: warning: drops the & mnemonic of the original 'File &name:'");
  EXPECT_EQ(problems[1].Line, 2);
  EXPECT_FALSE(problems[1].Place) << "a syntax fault has no place in the dialog";
  ASSERT_TRUE(problems[2].Place);
  EXPECT_EQ(problems[2].Place->left, 465);
  EXPECT_EQ(problems[2].Place->right, 495);
  EXPECT_TRUE(checks::HasErrors(problems));
}

TEST(Checks, AWindowWithoutAFontOfItsOwnIsMeasuredInTheDialogsFont) {
  const win::RecordedControl controls[] = {
      {1, 100, "Static", "&Name:", {5, 5, 60, 18}, {nullptr, 0, 0}, WS_CHILD | WS_VISIBLE},
      {2, 101, "Button", "OK", {5, 30, 80, 53}, {"Arial", 238, -13}, WS_CHILD | WS_VISIBLE},
  };
  win::RecordedDialog rec{"made", "Made", {0, 0, 200, 100}, {3, 22, 197, 97}, {"Tahoma", 0, -12}, WS_POPUP, controls};
  checks::DialogLayout d = checks::LayoutFromRecorded(rec, "TMadeDialog");
  EXPECT_EQ(d.ClassName, "TMadeDialog");
  EXPECT_EQ(d.Controls[0].Font.Face, "Tahoma") << "the dialog's font";
  EXPECT_EQ(d.Controls[0].Font.Charset, 0);
  EXPECT_EQ(d.Controls[0].Font.Height, -12);
  EXPECT_TRUE(d.Controls[0].SystemFont) << "the marker stays: the window has no font of its own";
  EXPECT_EQ(d.Controls[1].Font.Face, "Arial") << "its own font";
  EXPECT_EQ(d.Controls[1].Font.Charset, 238);

  rec.Font = {nullptr, 0, 0};
  d = checks::LayoutFromRecorded(rec, "TMadeDialog");
  EXPECT_TRUE(d.SystemFont);
  EXPECT_EQ(d.Font.Face, "MS Shell Dlg") << "the system font, which the tables lack, is measured as the dialog face";
  EXPECT_EQ(d.Font.Charset, 1);
  EXPECT_EQ(d.Font.Height, -11);
  EXPECT_EQ(d.Controls[0].Font.Face, "MS Shell Dlg");
  EXPECT_EQ(d.Controls[1].Font.Face, "Arial");

  // The recorded open dialog has such a control.
  const checks::DialogLayout* open = Recorded("TOpenDialog");
  int resolved = 0;
  for (const checks::ControlLayout& c : open->Controls)
    if (c.SystemFont) {
      EXPECT_EQ(c.Font.Face, open->Font.Face);
      ++resolved;
    }
  EXPECT_GT(resolved, 0);
}

// The model's result on a few entries; tests/scenarios/apply_model_test.cpp compares the model
// with the real pass on the shown dialogs.
TEST(Checks, TheAppliedDialogHoldsTheEntriesOfItsClass) {
  const checks::DialogLayout d = checks::Applied(*Recorded("TOpenDialog"),
                                                 {{"TOpenDialog.Caption='\xD6" "ffnen'", 1},
                                                  {"TOpenDialog.Width=600", 2},
                                                  {"TOpenDialog.Left[-7]=20", 3},
                                                  {"TOpenDialog.Font.Name='Arial'", 4},
                                                  {"TOpenDialog.Caption[1090]=''", 5},  // skipped: TranslateEmpty is off
                                                  {"TSaveDialog.Caption='Speichern'", 6}});
  EXPECT_EQ(d.Title, "\xD6" "ffnen");
  EXPECT_EQ(d.Window.right - d.Window.left, 600);
  EXPECT_EQ(d.ClientWidth(), 600 - 8) << "the frame stays";
  const checks::ControlLayout* label = d.Find(1090);
  EXPECT_EQ(label->Rect.left, 20);
  EXPECT_EQ(label->Rect.right, 20 + 84);
  EXPECT_EQ(label->Text, "File &name:");
  EXPECT_EQ(label->Font.Face, "Arial");
  EXPECT_EQ(label->Font.Charset, 1) << "the dialog's own character set";
}

TEST(Checks, OnePassJudgesAndGivesTheDialogsAsApplied) {
  checks::CheckInput in;
  in.File = "t.txt";
  in.Reference = &Recorded;
  in.TranslateEmpty = true;
  in.Entries = {{"TOpenDialog.Caption=''", 1}, {"TOpenDialog.Width=600", 2}, {"TFindDialog.Caption[1]='&Weiter'", 3},
                {"TNoSuchDialog.Caption='x'", 4}};
  const checks::CheckResult r = checks::CheckAndApply(in);
  EXPECT_EQ(r.Problems.size(), checks::Check(in).size());
  ASSERT_EQ(r.Applied.size(), 2u) << "a class without a dialog has no layout";
  const checks::DialogLayout& open = r.Applied.at("TOpenDialog");
  EXPECT_EQ(open.Title, "") << "TranslateEmpty blanks the title in the drawing as in the checks";
  EXPECT_EQ(open.Window.right - open.Window.left, 600);
  const checks::DialogLayout alone = checks::Applied(*Recorded("TOpenDialog"), in.Entries, true);
  EXPECT_EQ(open.Title, alone.Title);
  EXPECT_EQ(open.Window.right, alone.Window.right);
  EXPECT_EQ(r.Applied.at("TFindDialog").Find(1)->Text, "&Weiter");
}

TEST(Checks, AbsurdGeometryIsJudgedAsTheApplyStepLeavesIt) {
  const checks::DialogLayout d = checks::Applied(*Recorded("TFindDialog"), {{"TFindDialog.Left[1]=2147483647", 1},
                                                                             {"TFindDialog.Width[1]=2147483647", 2}});
  EXPECT_EQ(d.Find(1)->Rect.left, 32767);
  EXPECT_EQ(d.Find(1)->Rect.right, 65534) << "no sum overflows";
}

TEST(Checks, ContentNeverGoesStale) {
  const std::vector<std::string> entries = {"TOpenDialog.Caption[1137]='x'", "TColorDialog.Caption[703]='150'",
                                            "TOpenDialog.Caption[1091]='Suchen &in:'"};
  const auto problems = CheckLines(entries, {"TOpenDialog.Caption[1137]=' (D:)'", "TColorDialog.Caption[703]='150'",
                                             "TOpenDialog.Caption[1091]='Look in:'"});
  ASSERT_EQ(problems.size(), 1u) << All(problems);
  EXPECT_EQ(problems[0].Line, 3) << "only the label's original went stale";
  EXPECT_EQ(problems[0].Reason.rfind("stale:", 0), 0u);
}

TEST(Checks, RecordedWidthsMeasureTheDialogFace) {
  checks::RecordedMeasure m;
  const auto name = m.Measure({"MS Shell Dlg", 1, -11}, "File name:");
  EXPECT_EQ(name.Face, "Liberation Sans");
  EXPECT_EQ(name.LineHeight, 12);
  EXPECT_GT(name.Width, 40);
  EXPECT_LT(name.Width, 84) << "the recorded label holds it";
  EXPECT_EQ(m.Measure({"No Such Face", 1, -11}, "File name:").Width, name.Width) << "an unknown face is measured as the dialog face";
  EXPECT_EQ(m.Measure({"MS Shell Dlg", 1, -11}, "").Width, 0);
}

namespace {

// A dialog of one control of the given class and style, 100 x 26 at (10,10), in the dialog face.
checks::DialogLayout OneControl(const char* ClassName, std::uint32_t Style, const char* Text) {
  checks::DialogLayout d;
  d.ClassName = "TMyDialog";
  d.Window = {0, 0, 300, 200};
  d.Client = {3, 22, 297, 197};
  d.Font = {"MS Shell Dlg", 1, -11};
  d.Controls.push_back({1, 100, ClassName, Text, {10, 10, 110, 36}, Style | static_cast<std::uint32_t>(WS_VISIBLE), d.Font});
  return d;
}

}  // namespace

TEST(Checks, WhatRoomEachKindOfControlLeavesItsText) {
  struct Case {
    const char* What;
    const char* ClassName;
    std::uint32_t Style;
    const char* Text;  // the translation of control 100
    bool Fits;
  } cases[] = {
      {"label, one line", "Static", 0, "Ein kurzer Text", true},
      {"label, wrapped in two lines of its 26 px", "Static", 0, "Ein Text, der umbricht", true},
      {"label, three lines do not", "Static", 0, "Ein Text, der in drei Zeilen umbricht, weil er lang ist", false},
      {"label, a word wider than it", "Static", 0, "Donaudampfschifffahrtsgesellschaft", false},
      {"label without wrapping", "Static", 0xC, "Ein Text, der umbricht", false},
      {"label, a line break of its own", "Static", 0, "Erste\r\nZweite", true},
      {"label, && is one ampersand", "Static", 0, "A&&B", true},
      {"push button, frame on both sides", "Button", 0, "Abbrechen und weiter", false},
      {"push button, short", "Button", 0, "&Weiter", true},
      {"check box, box and gap", "Button", 3, "Nur lesen", true},
      {"check box, too long", "Button", 3, "Schreibgesch\xFCtzt \xF6" "ffnen", false},
      {"edit: its text is content", "Edit", 0, "Ein sehr langer Inhalt, der nicht passt", true},
  };
  for (const Case& c : cases) {
    const checks::DialogLayout d = OneControl(c.ClassName, c.Style, "x");
    checks::CheckInput in;
    in.Entries = {{"TMyDialog.Caption[100]='" + std::string(c.Text) + "'", 1}};
    in.Reference = [&](const std::string&) { return &d; };
    const auto problems = checks::Check(in);
    bool cut = false;
    for (const Problem& p : problems) cut = cut || p.Reason.find("has room for") != std::string::npos;
    EXPECT_EQ(!cut, c.Fits) << c.What << "\n" << All(problems);
  }
}

TEST(Checks, AMnemonicIsTheLetterBehindASingleAmpersand) {
  struct Case {
    const char* Translation;
    bool Clash;  // with the recorded 'File &name:'
  } cases[] = {{"&N\xE4he", true}, {"A&&nder&z", false}, {"Name&&", false}, {"&", false}, {"Typ &N:", true}};
  for (const Case& c : cases) {
    const auto problems = CheckLines({"TOpenDialog.Caption[1089]='" + std::string(c.Translation) + "'"});
    bool clash = false;
    for (const Problem& p : problems) clash = clash || p.Reason.find("mnemonic &n is also") != std::string::npos;
    EXPECT_EQ(clash, c.Clash) << c.Translation << "\n" << All(problems);
  }
}

namespace {

// A form's own descendant of the open dialog, which no recording names.
class TShopOpenDialog : public vcl::TOpenDialog {
  VCL_DECLARE_CLASS
public:
  using vcl::TOpenDialog::TOpenDialog;
};
VCL_IMPLEMENT_CLASS(TShopOpenDialog, vcl::TOpenDialog)

}  // namespace

TEST(TranslatorChecks, EntriesAreJudgedOnTheDialogsOfTheirFormAtTheirPlaceInTheList) {
  vcl::TComponent form(nullptr);
  new TShopOpenDialog(&form);
  auto* translator = new Vek::TLumetra(&form);
  translator->SetTranslate(false);
  for (const char* line : {"TShopOpenDialog.Caption[1090]='Bitte geben Sie den &Namen der Datei ein:'", "TNoSuchDialog.Caption='x'",
                           "TShopOpenDialog.Caption[1089]='Datei&typ:'"})
    translator->Translations()->SortInsert(line, nullptr);
  translator->OrgProps()->Add("TShopOpenDialog.Caption[1090]='File name:'");  // made before the & was added

  std::vector<std::string> found;
  for (const design::TDesignProblem& p : checks::DesignCheck(translator))
    found.push_back(std::to_string(p.Line) + " " + p.Key + (p.Error ? " error: " : " warning: ") + p.Reason);
  ASSERT_EQ(found.size(), 3u) << ::testing::PrintToString(found);
  EXPECT_EQ(found[0].rfind("1 TNoSuchDialog.Caption warning: no dialog of class TNoSuchDialog", 0), 0u) << found[0];
  EXPECT_EQ(found[1], "3 TShopOpenDialog.Caption[1090] warning: stale: the original was 'File name:', a fresh capture of "
                      "TShopOpenDialog has 'File &name:'");
  EXPECT_EQ(found[2].rfind("3 TShopOpenDialog.Caption[1090] error: ", 0), 0u) << found[2];
  EXPECT_NE(found[2].find("control 1090 (84 x 24)"), std::string::npos) << "judged on the ancestor's dialog: " << found[2];

  EXPECT_TRUE(checks::DesignCheck(&form).empty()) << "no translator, nothing to judge";
  EXPECT_TRUE(checks::DesignCheck(nullptr).empty());
}

// In a double-byte code page the letter behind "&" may take two bytes: it is the whole character,
// however many characters share its lead byte.
TEST(Checks, ATwoByteMnemonicIsItsWholeCharacter) {
  const std::vector<Problem> problems = CheckLines({"TOpenDialog.Font.Charset=128", "TOpenDialog.Caption[1089]='&\x83t\x83@\x83" "C\x83\x8B:'",
                                                    "TOpenDialog.Caption[1090]='&\x83t\x83@\x83" "C\x83\x8B\x96\xBC:'"});
  ASSERT_EQ(problems.size(), 2u) << All(problems);
  for (const Problem& p : problems) {
    EXPECT_EQ(p.Kind, Fault::MnemonicClash) << All(problems);
    EXPECT_NE(p.Reason.find("mnemonic &\x83t is also"), std::string::npos) << p.Reason;
  }
  EXPECT_EQ(problems[0].Line, 2);
  EXPECT_EQ(problems[1].Line, 3);
}

// bdRightToLeft and bdRightToLeftNoAlign mirror the layout: the entries place a control from the
// right edge, and the checks and the preview see it where the user does.
TEST(Checks, AMirroredDialogPlacesItsControlsFromTheRight) {
  const checks::DialogLayout& ref = *Recorded("TOpenDialog");
  const RECT button = ref.Find(1)->Rect;
  const int w = ref.ClientWidth();
  struct Case {
    const char* Mode;
    bool Mirrored;
  } cases[] = {{"bdLeftToRight", false}, {"bdRightToLeft", true}, {"bdRightToLeftNoAlign", true}, {"bdRightToLeftReadingOnly", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Mode);
    const checks::DialogLayout d = checks::Applied(ref, {{std::string("TOpenDialog.BiDiMode=") + c.Mode, 1}});
    EXPECT_EQ(d.Mirrored, c.Mirrored);
    const RECT r = d.Find(1)->Rect;
    EXPECT_EQ(r.left, c.Mirrored ? w - button.right : button.left);
    EXPECT_EQ(r.right - r.left, button.right - button.left);
    EXPECT_EQ(r.top, button.top) << "only x is mirrored";
  }
  // Positions and a new window width are applied first, then mirrored in the new client area.
  const checks::DialogLayout d = checks::Applied(ref, {{"TOpenDialog.BiDiMode=bdRightToLeft", 1}, {"TOpenDialog.Left[1]=10", 2},
                                                       {"TOpenDialog.Width=700", 3}});
  EXPECT_EQ(d.Find(1)->Rect.right, d.ClientWidth() - 10);
  EXPECT_EQ(d.ClientWidth(), w + 700 - (ref.Window.right - ref.Window.left));
  EXPECT_FALSE(checks::Applied(ref, {{"TOpenDialog.BiDiMode=bdSideways", 1}}).Mirrored) << "a value that is none changes nothing";
}

TEST(Checks, TheTextsOfAClassAreInTheCodePageOfItsCharsetEntry) {
  const checks::DialogLayout& ref = *Recorded("TOpenDialog");
  EXPECT_EQ(ref.CodePage, vcl::SystemCodePage());
  EXPECT_EQ(checks::Applied(ref, {{"TOpenDialog.Font.Charset=204", 1}}).CodePage, 1251);
  EXPECT_EQ(checks::Applied(ref, {{"TOpenDialog.Font.Charset=128", 1}, {"TOpenDialog.Font.Name='Arial'", 2}}).CodePage, 932)
      << "a later Font.Name gives the controls the dialog's set, not the texts another code page";
  EXPECT_EQ(checks::Applied(ref, {{"TSaveDialog.Font.Charset=128", 1}}).CodePage, vcl::SystemCodePage()) << "another class's entry";

  // Widths count characters: each kanji is an em wide, not two bytes' widths.
  checks::RecordedMeasure m;
  const checks::FontSpec font{"MS Shell Dlg", 128, -11};
  EXPECT_EQ(m.Measure(font, 932, "\x96\xBC\x96\xBC").Width, 2 * 11);
  EXPECT_EQ(m.Measure(font, 932, "(N):").Width, m.Measure({"MS Shell Dlg", 1, -11}, 1252, "(N):").Width);
  EXPECT_EQ(m.MissingGlyph({"Arial", 1, -11}, 932, "(\x96\xBC)").Missing, std::optional<std::size_t>(1)) << "the byte offset of the kanji";
  EXPECT_EQ(m.MissingGlyph({"Arial", 1, -11}, 932, "(\x96\xBC)").Face, "Liberation Sans");
  EXPECT_FALSE(m.MissingGlyph({"Noto Sans CJK JP", 1, -11}, 932, "(\x96\xBC)").Missing);
}

namespace {

checks::ControlLayout& ControlOf(checks::DialogLayout& D, int Id) {
  for (checks::ControlLayout& c : D.Controls)
    if (c.Id == Id) return c;
  ADD_FAILURE() << "no control " << Id;
  return D.Controls.front();
}

void Offset(RECT& R, int Dx, int Dy) { R = RECT{R.left + Dx, R.top + Dy, R.right + Dx, R.bottom + Dy}; }

std::vector<std::string> KeysAndKinds(const std::vector<Problem>& Problems) {
  std::vector<std::string> out;
  for (const Problem& p : Problems) out.push_back(p.Key + " " + std::string(checks::FaultName(p.Kind)));
  return out;
}

}  // namespace

// A dialog as it is shown, against the same dialog shown untranslated: only what the
// translation caused counts.
TEST(ShownFaults, TheUntranslatedDialogShowsNoFault) {
  const checks::DialogLayout& find = *Recorded("TFindDialog");
  checks::RecordedMeasure measure;
  EXPECT_TRUE(checks::ShownFaults(find, find, measure).empty());
}

TEST(ShownFaults, AClippedTextIsAFitFaultOfItsCaption) {
  const checks::DialogLayout& find = *Recorded("TFindDialog");
  checks::RecordedMeasure measure;
  checks::DialogLayout shown = find;
  checks::ControlLayout& box = ControlOf(shown, chx1);
  box.Text = "Nur ganzes Wort suchen, auch in Klammern und Anf\xFChrungszeichen";
  const std::vector<Problem> p = checks::ShownFaults(find, shown, measure);
  ASSERT_EQ(KeysAndKinds(p), std::vector<std::string>{"Caption[1040] fit"});
  EXPECT_EQ(p[0].ClassName, "TFindDialog");
  EXPECT_EQ(p[0].Level, Severity::Error);
  ASSERT_TRUE(p[0].Place);
  EXPECT_EQ(p[0].Place->right, box.Rect.right);
  EXPECT_NE(p[0].Reason.find("has room for 194 px"), std::string::npos) << p[0].Reason;

  box.Style &= ~WS_VISIBLE;
  EXPECT_TRUE(checks::ShownFaults(find, shown, measure).empty()) << "a hidden control shows nothing";

  // Measured in the control's font: the same text at the 144-dpi height in a rectangle 1.5 times
  // as large still fits where the 96-dpi one does.
  checks::DialogLayout at96 = find, at144 = find;
  for (checks::DialogLayout* d : {&at96, &at144})
    ControlOf(*d, chx1).Text = "Nur ganzes Wort suchen";
  for (checks::ControlLayout& c : at144.Controls) {
    c.Rect = RECT{c.Rect.left * 3 / 2, c.Rect.top * 3 / 2, c.Rect.right * 3 / 2, c.Rect.bottom * 3 / 2};
    c.Font.Height = -16;
  }
  at144.Client.right = at144.Client.left + find.ClientWidth() * 3 / 2;
  at144.Client.bottom = at144.Client.top + find.ClientHeight() * 3 / 2;
  EXPECT_TRUE(checks::ShownFaults(find, at96, measure).empty());
  EXPECT_TRUE(checks::ShownFaults(at144, at144, measure).empty());
  checks::DialogLayout narrow = at144;
  ControlOf(narrow, chx1).Rect.right = ControlOf(narrow, chx1).Rect.left + 150;  // 150 px of that screen
  EXPECT_EQ(KeysAndKinds(checks::ShownFaults(at144, narrow, measure)), std::vector<std::string>{"Caption[1040] fit"});
}

TEST(ShownFaults, TextsTheDialogCutsOffItselfAreNoFault) {
  checks::DialogLayout find = *Recorded("TFindDialog");
  checks::RecordedMeasure measure;
  ControlOf(find, chx1).Rect.right = ControlOf(find, chx1).Rect.left + 40;
  checks::DialogLayout shown = find;
  ControlOf(shown, chx1).Text = "Nur ganzes Wort";
  EXPECT_TRUE(checks::ShownFaults(find, shown, measure).empty());
}

TEST(ShownFaults, AControlMovedOntoAnotherOverlapsIt) {
  const checks::DialogLayout& find = *Recorded("TFindDialog");
  checks::RecordedMeasure measure;
  checks::DialogLayout shown = find;
  checks::ControlLayout& box = ControlOf(shown, chx2);
  Offset(box.Rect, 0, -20);  // onto "Match Whole Word Only"
  const std::vector<Problem> p = checks::ShownFaults(find, shown, measure);
  ASSERT_EQ(KeysAndKinds(p), std::vector<std::string>{"Left[1041] overlap"}) << "named by the control that moved";
  EXPECT_NE(p[0].Reason.find("overlaps control 1040 'Match &Whole Word Only'"), std::string::npos) << p[0].Reason;
  ASSERT_TRUE(p[0].Place);
  EXPECT_EQ(p[0].Place->top, box.Rect.top);

  // The radio buttons inside their group box overlapped it untranslated already.
  shown = find;
  Offset(ControlOf(shown, rad1).Rect, 2, 0);
  EXPECT_TRUE(checks::ShownFaults(find, shown, measure).empty());
}

TEST(ShownFaults, AControlOutsideTheClientAreaLeavesTheDialog) {
  const checks::DialogLayout& find = *Recorded("TFindDialog");
  checks::RecordedMeasure measure;
  checks::DialogLayout shown = find;
  shown.Client.bottom = shown.Client.top + 70;  // the window too small for its bottom row
  const std::vector<Problem> p = checks::ShownFaults(find, shown, measure);
  EXPECT_EQ(KeysAndKinds(p), (std::vector<std::string>{"Left[1041] outside", "Left[1072] outside", "Left[1057] outside"}))
      << "the hidden Help button is no fault";
  for (const Problem& q : p) EXPECT_NE(q.Reason.find("client area (414 x 70)"), std::string::npos) << q.Reason;

  // A control outside untranslated already is the dialog's own doing.
  checks::DialogLayout wide = find;
  ControlOf(wide, IDOK).Rect.right = find.ClientWidth() + 30;
  checks::DialogLayout wideShown = wide;
  EXPECT_TRUE(checks::ShownFaults(wide, wideShown, measure).empty());
}
