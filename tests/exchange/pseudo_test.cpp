// Pseudo-localisation: the texts, and right-to-left dialogs.
#include "exchange/Pseudo.hpp"

#include <map>

#include "checks/checks.hpp"
#include "test_support.hpp"
#include "vcl/StandardDialogs.hpp"

using namespace exchange;

namespace {

// Visible characters: a mnemonic "&" shows no character of its own.
std::size_t VisibleLength(std::string_view Text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < Text.size(); ++i, ++n)
    if (Text[i] == '&' && i + 1 < Text.size()) ++i;
  return n;
}

}  // namespace

TEST(Pseudo, TextsAreAccentedBracketedAndLonger) {
  struct Case {
    std::string text, pseudo;
  } cases[] = {
      {"Open", "[\xD6p\xE9\xF1 !]"},
      {"&Open", "[&Op\xE9\xF1 !]"},            // the mnemonic letter stays: the shortcut still works
      {"Save && Exit", "[S\xE5v\xE9 && \xC9x\xEEt !!!!]"},  // "&&" is a visible "&"; S has no form from C0 up
      {"File name:", "[F\xEEl\xE9 \xF1\xE5m\xE9: !!!]"},
      {"", ""},                                // nothing to translate
      {"a", "[\xE5 ]"},
      {"Line one\r\nLine 2\nx", "[L\xEE\xF1\xE9 \xF6\xF1\xE9 !!!\r\nL\xEE\xF1\xE9 2 !!\n" "x ]"},
      {"&", "[& ]"},                           // a last "&" is an ampersand
      {"Effects", "[\xC9" "ff\xE9\xE7ts !!]"},        // no accented f or s to follow the accented E
      {"Ao\xB0 Z", "[\xC5o\xB0 Z !]"},           // a letter before a byte from 80 to BF stays plain
  };
  for (const Case& c : cases) {
    const std::string pseudo = PseudoText(c.text);
    EXPECT_EQ(pseudo, c.pseudo) << c.text;
    if (c.text.empty() || c.text.back() == '&' || c.text.find('\n') != std::string::npos) continue;
    EXPECT_GE(VisibleLength(pseudo) - 2, (VisibleLength(c.text) * 14 + 9) / 10) << c.text;  // 40% longer, brackets aside
  }
}

TEST(Pseudo, EveryLetterIsOneThatCodePage1252Holds) {
  std::string letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters += {c, static_cast<char>(c + 32)};
  for (const char c : PseudoText(letters)) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_TRUE(b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D && (b >= 0x20)) << int(b);
  }
}

TEST(Pseudo, ContentIsLeftOutAndRightToLeftNamesEveryClassOnce) {
  vcl::TStringList captured;
  for (const char* l : {"TColorDialog.Caption[703]='160'", "TColorDialog.Caption[726]='&Red:'", "TOpenDialog.Caption[1137]=' (C:)'",
                        "TOpenDialog.Caption[1090]='7'", "TOpenDialog.Left[1]=10", "TOpenDialog.Width[1]=51",
                        "TOpenDialog.Left[3]=2147483647", "TColorDialog.Width=300"})
    captured.Add(l);
  // No control moves: positions, even absurd ones, are left to the dialog's reading order.
  EXPECT_EQ(PseudoEntries(captured, true),
            (std::vector<std::string>{"TColorDialog.Caption[726]='[&R\xE9\xF0: !]'", "TColorDialog.BiDiMode=bdRightToLeft",
                                      "TOpenDialog.BiDiMode=bdRightToLeft"}));
  EXPECT_EQ(PseudoEntries(captured, false), (std::vector<std::string>{"TColorDialog.Caption[726]='[&R\xE9\xF0: !]'"}));
}

// Every captured text of the recorded dialogs of the standard classes, pseudo-translated, and judged as
// 'lumetra check' judges them.
TEST(Pseudo, OutputOfTheRecordedDialogsGivesNoUtf8Warning) {
  vcl::TStringList captured;
  std::map<std::string, checks::DialogLayout> layouts;
  for (const vcl::TStandardDialog& standard : vcl::StandardDialogs()) {
    const std::string& name = standard.ClassName();
    const win::RecordedDialog* d = win::FindRecordedDialog(Vek::RecordedKindOf(name));
    ASSERT_TRUE(d) << name;
    layouts[name] = checks::LayoutFromRecorded(*d, name);
    captured.Add(std::string(name) + ".Caption='" + d->Title + "'");
    for (const win::RecordedControl& c : d->Controls) {
      // As a capture writes them: a control without an id of its own by its place.
      const int id = c.Id == 0 || c.Id == -1 || c.Id == 65535 ? -c.Position : c.Id;
      if (*c.Text) captured.Add(std::string(name) + ".Caption[" + std::to_string(id) + "]='" + c.Text + "'");
    }
  }
  checks::CheckInput in;
  in.File = "pseudo.txt";
  int line = 0;
  for (const std::string& e : PseudoEntries(captured, false)) in.Entries.push_back({e, ++line});
  ASSERT_GT(line, 100);
  for (int i = 0; i < captured.Count(); ++i) in.Originals.push_back(captured.Strings(i));
  in.Reference = [&](const std::string& ClassName) { return &layouts.at(ClassName); };
  for (const checks::Problem& p : checks::Check(in)) EXPECT_EQ(p.Reason.find("UTF-8"), std::string::npos) << checks::FormatProblem(p);
  for (const checks::SourceEntry& e : in.Entries)
    EXPECT_TRUE(e.Line.rfind("TColorDialog.Caption[703]", 0) != 0 && e.Line.rfind("TOpenDialog.Caption[1137]", 0) != 0) << e.Line;
}

TEST(Pseudo, EntriesCoverCapturedTextsAndLeaveOutInvalidLiterals) {
  vcl::TStringList captured;
  for (const char* l : {"TOpenDialog.Caption='Open'", "TOpenDialog.Width=563", "TOpenDialog.Font.Name='MS Shell Dlg'",
                        "TOpenDialog.Caption[1]='&Save'", "TOpenDialog.Left[1]=10", "TOpenDialog.Width[1]=51",
                        "TFontDialog.Caption[5]='It''s #1'", "TFontDialog.Caption[6]=#", "TFontDialog.Left[5]=7"})
    captured.Add(l);
  EXPECT_EQ(PseudoEntries(captured, false),
            (std::vector<std::string>{"TOpenDialog.Caption='[\xD6p\xE9\xF1 !]'", "TOpenDialog.Caption[1]='[&S\xE5v\xE9 !]'",
                                      "TFontDialog.Caption[5]='[\xCEt''s #1 !!]'"}));  // an invalid literal is left out
  // Each BiDiMode entry is one the entries take for what it says.
  const std::vector<std::string> rtl = PseudoEntries(captured, true);
  ASSERT_EQ(rtl.size(), 5u);
  for (const std::string& line : {rtl[3], rtl[4]}) {
    const Vek::Entry e = Vek::Entry::Split(line);
    EXPECT_EQ(e.Kind, Vek::EntryKind::BiDiMode) << line;
    EXPECT_EQ(Vek::ParseBiDiMode(e.Value), Vek::BiDiMode::RightToLeft) << line;
  }
}
