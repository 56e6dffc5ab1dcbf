// Letters proposed for the mnemonics at fault, on the recorded dialogs: the proposals taken leave
// no mnemonic fault, and each rule of the choice in a table.
#include <gtest/gtest.h>

#include <map>

#include "checks/mnemonics.hpp"
#include "recorded_layouts.hpp"
#include "test_support.hpp"
#include "vcl/Classes.hpp"

using checks::Fault;
using checks::Keyboard;
using checks::MnemonicProposal;

namespace {

using checks_testing::Recorded;

checks::CheckInput InputOf(const std::vector<std::string>& Lines) {
  checks::CheckInput in;
  in.File = "entries.txt";
  int n = 0;
  for (const std::string& l : Lines) in.Entries.push_back({l, ++n});
  in.Reference = &Recorded;
  return in;
}

bool IsMnemonicFault(Fault Kind) { return Kind == Fault::MnemonicClash || Kind == Fault::MnemonicDropped || Kind == Fault::MnemonicAdded; }

std::string MnemonicFaults(const checks::CheckInput& In) {
  std::string faults;
  for (const checks::Problem& p : checks::Check(In))
    if (IsMnemonicFault(p.Kind)) faults += checks::FormatProblem(p) + "\n";
  return faults;
}

std::string All(const std::vector<MnemonicProposal>& Proposals) {
  std::string s;
  for (const MnemonicProposal& p : Proposals) s += checks::FormatProposal("entries.txt", p) + "\n";
  return s;
}

const Keyboard German = *checks::KeyboardTable(0x0407);
const Keyboard Russian = *checks::KeyboardTable(0x0419);
const Keyboard English = *checks::KeyboardTable(0x0409);

}  // namespace

// The German and Russian entries of the find and replace dialogs: every mnemonic fault has a
// proposal, and with the proposals in place of their entries none is left.
TEST(Mnemonics, TheProposalsTakenLeaveNoMnemonicFault) {
  const struct {
    const char* File;
    int Locale;
    const Keyboard& Keys;
    std::size_t Faults;
  } sets[] = {{"de.txt", 0x0407, German, 10}, {"ru.txt", 0x0419, Russian, 7}};
  for (const auto& set : sets) {
    SCOPED_TRACE(set.File);
    const std::string bytes = testing_support::ReadFile(std::string(LUMETRA_TEST_DATA) + "/mnemonics/" + set.File);
    std::vector<std::string> lines;
    for (const std::string_view l : vcl::SplitLines(bytes))
      if (!l.empty()) lines.emplace_back(l);
    checks::CheckInput in = InputOf(lines);
    in.Locale = set.Locale;
    const std::string before = MnemonicFaults(in);
    ASSERT_EQ(static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')), set.Faults) << before;
    const std::vector<MnemonicProposal> proposals = checks::ProposeMnemonics(in, set.Keys);
    ASSERT_FALSE(proposals.empty());
    for (const MnemonicProposal& p : proposals) {
      ASSERT_TRUE(p.Entry) << All(proposals);
      EXPECT_EQ(p.Key, std::string(Vek::EntryKey(*p.Entry)));
      EXPECT_NE(before.find(":" + std::to_string(p.Line) + ": " + p.Key + ": "), std::string::npos) << "a fault of its line\n" << All(proposals);
      in.Entries[static_cast<std::size_t>(p.Line - 1)].Line = *p.Entry;
    }
    EXPECT_EQ(MnemonicFaults(in), "") << All(proposals);
    EXPECT_TRUE(checks::ProposeMnemonics(in, set.Keys).empty());
  }
}

// Each rule of the choice: one entry (or a clash of two) and the entry or reason proposed.
TEST(Mnemonics, TheLetterChosen) {
  const struct {
    const char* What;
    std::vector<std::string> Lines;
    const Keyboard& Keys;
    const char* Proposed;  // the entry; nullptr when none
    const char* Reason;    // a part of the reason
  } cases[] = {
      {"the original's letter when the text has it free", {"TReplaceDialog.Caption[-3]='&Ersetzen durch:'", "TReplaceDialog.Caption[1024]='&Ersetzen'"},
       German, "TReplaceDialog.Caption[1024]='E&rsetzen'", "mnemonic &e is also that of control 65535 '&Ersetzen durch:'; &r, the original's, is free"},
      {"the control whose original has the letter keeps it", {"TFindDialog.Caption[1]='&Finden'", "TFindDialog.Caption[1041]='&Fall beibehalten'"},
       German, "TFindDialog.Caption[1041]='Fall &beibehalten'", "mnemonic &f is also that of control 1 '&Finden'; &b is free"},
      {"letters of the controls left untranslated are avoided: 'Fi&nd What:', '&Up'", {"TFindDialog.Caption[1057]='&Nach unten'"},
       German, "TFindDialog.Caption[1057]='N&ach unten'", "mnemonic &n is also that of control 65535 'Fi&nd What:'"},
      {"a word start first", {"TFindDialog.Caption[1041]='Wort/Gross'"}, German, "TFindDialog.Caption[1041]='Wort/&Gross'",
       "the original 'Match &Case' has a mnemonic; &g is free"},
      {"a letter of the layout", {"TFindDialog.Caption[1041]='\xDC" "berall'"}, German, "TFindDialog.Caption[1041]='&\xDC" "berall'", "&\xFC is free"},
      {"a letter not on the layout is passed over", {"TFindDialog.Caption[1041]='\xDC" "berall'"}, English, "TFindDialog.Caption[1041]='\xDC&" "berall'", "&b is free"},
      {"no Latin letter on a Russian layout", {"TFindDialog.Font.Charset=204", "TFindDialog.Caption[1041]='Case \xF0\xE5\xE3\xE8\xF1\xF2\xF0'"},
       Russian, "TFindDialog.Caption[1041]='Case &\xF0\xE5\xE3\xE8\xF1\xF2\xF0'", "&\xF0 is free"},
      {"an added mnemonic is taken out", {"TFindDialog.Caption[2]='&Abbrechen'"}, German, "TFindDialog.Caption[2]='Abbrechen'",
       "the original 'Cancel' has no mnemonic: the & is taken out"},
      {"a literal ampersand stays", {"TFindDialog.Caption[2]='&A && B'"}, German, "TFindDialog.Caption[2]='A && B'", "taken out"},
      {"no free letter", {"TFindDialog.Caption[1]='&Cu'"}, German, nullptr,
       "mnemonic &c is also that of control 1041 'Match &Case'; no other letter of '&Cu' is free and typed by the keyboard"},
      {"no letter for a dropped one", {"TFindDialog.Caption[1]='Cu 1'"}, German, nullptr, "no letter of 'Cu 1' is free"},
      {"a double-byte text keeps the bracket form with the original's letter",
       {"TFindDialog.Font.Charset=128", "TFindDialog.Caption[1]='\x8e\x9f\x82\xf0\x8c\x9f\x8d\xf5(&N)'"}, English,
       "TFindDialog.Caption[1]='\x8e\x9f\x82\xf0\x8c\x9f\x8d\xf5(&F)'", "&f, the original's, is free"},
      {"a double-byte text gets the bracket form before its colon", {"TFindDialog.Font.Charset=128", "TFindDialog.Caption[-1]='\x8c\x9f\x8d\xf5:'"},
       English, "TFindDialog.Caption[-1]='\x8c\x9f\x8d\xf5(&N):'", "has a mnemonic"},
      {"a text with control characters is written as a literal", {"TFindDialog.Caption[1041]='Gross'#9'klein'"}, German,
       "TFindDialog.Caption[1041]='&Gross'#9'klein'", "&g is free"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    const std::vector<MnemonicProposal> proposals = checks::ProposeMnemonics(InputOf(c.Lines), c.Keys);
    ASSERT_EQ(proposals.size(), 1u) << All(proposals);
    const MnemonicProposal& p = proposals.front();
    EXPECT_EQ(p.Line, static_cast<int>(c.Lines.size()));
    if (c.Proposed) EXPECT_EQ(p.Entry.value_or("(none)"), c.Proposed) << p.Reason;
    else EXPECT_FALSE(p.Entry) << *p.Entry;
    EXPECT_NE(p.Reason.find(c.Reason), std::string::npos) << p.Reason;
  }
}

TEST(Mnemonics, ProposalsFollowTheFaultsReported) {
  checks::CheckInput in = InputOf({"TFindDialog.Caption[1057]='&Nach unten'", "TFindDialog.Caption[2]='&Abbrechen'", "TFindDialog.Caption[1041]='Gross'"});
  EXPECT_EQ(checks::ProposeMnemonics(in, German).size(), 3u);
  in.Reported.reset(static_cast<std::size_t>(Fault::MnemonicClash));
  const std::vector<MnemonicProposal> left = checks::ProposeMnemonics(in, German);
  ASSERT_EQ(left.size(), 2u) << All(left);
  EXPECT_EQ(left[0].Kind, Fault::MnemonicAdded);
  EXPECT_EQ(left[1].Kind, Fault::MnemonicDropped);
  in.Reported = checks::FaultSet().set(static_cast<std::size_t>(Fault::Fit));
  EXPECT_TRUE(checks::ProposeMnemonics(in, German).empty());
}

TEST(Mnemonics, ClassesWithoutADialogAndBrokenEntriesGetNone) {
  EXPECT_TRUE(checks::ProposeMnemonics(InputOf({"TNoDialog.Caption[1]='&a'", "TFindDialog.Caption[4711]='&n'"}), German)
                  .empty());
}

TEST(Mnemonics, AProposalIsWrittenAsAHintWithTheEntry) {
  const std::vector<MnemonicProposal> proposals = checks::ProposeMnemonics(InputOf({"TFindDialog.Caption[2]='&Abbrechen'#27"}), German);
  ASSERT_EQ(proposals.size(), 1u);
  EXPECT_EQ(checks::FormatProposal("de.txt", proposals[0]),
            "de.txt:1: TFindDialog.Caption[2]: hint: the original 'Cancel' has no mnemonic: the & is taken out "
            "(proposed: TFindDialog.Caption[2]='Abbrechen'#27)");
}
