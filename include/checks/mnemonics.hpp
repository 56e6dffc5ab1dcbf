// Letters for the mnemonics the checks find at fault: shared by two controls of a dialog, dropped
// by a translation or added by one. `lumetra check` prints them as hints.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "checks/checks.hpp"
#include "checks/keyboard.hpp"

namespace checks {

/// A new text for one entry whose mnemonic is at fault.
struct MnemonicProposal {
  std::string ClassName;
  int Line = 0;     ///< of the entry, as in the input
  std::string Key;  ///< the entry's property key
  Fault Kind = Fault::MnemonicClash;  ///< what is wrong: a clash, a dropped or an added mnemonic
  /// The whole entry line that replaces the entry (`Class.Caption[id]=` and the text as a
  /// literal); nothing when no letter is free.
  std::optional<std::string> Entry;
  std::string Reason;  ///< one line: why, and which letter
};

/// A letter for every mnemonic of the entries that two controls of a dialog share, that a
/// translation drops, or that it adds, in the order of their lines. The letter is one of the
/// text's own that the Keys layout types and that no other control of the dialog (translated or
/// left as the system shows it) has: the original's when it is free, else the first free one,
/// at the start of a word if one is. An added mnemonic is taken out; a text in a double-byte code
/// page gets the "(&N)" form with a Latin letter. Entries that do not parse or cannot apply are
/// left to the checks. Never fails.
std::vector<MnemonicProposal> ProposeMnemonics(const CheckInput& Input, const Keyboard& Keys);
/// The same on the keyboard of the input's locale (KeyboardLetters(Input.Locale)).
std::vector<MnemonicProposal> ProposeMnemonics(const CheckInput& Input);

/// `file:line: key: hint: reason (proposed: entry)`, with bytes a terminal might take for
/// commands escaped, as FormatProblem writes problems.
std::string FormatProposal(const std::string& File, const MnemonicProposal& P);

}  // namespace checks
