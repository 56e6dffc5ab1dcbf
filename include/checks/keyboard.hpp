// The letters a keyboard layout types: what a mnemonic may be when it must be typed with Alt.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace checks {

/// The letters a keyboard layout types without Ctrl or Alt (so also not with AltGr, which is
/// Ctrl+Alt), with or without Shift.
struct Keyboard {
  /// Every letter, of any script: the layout is not known.
  bool AnyLetter = false;
  /// The letters in lower case, ascending (when not AnyLetter).
  std::u16string Letters;

  /// Whether the layout types the letter C, in upper or lower case.
  bool Types(char16_t C) const;
};

/// A letter in lower case: Latin (with the Latin-1 and Latin Extended-A letters), Greek and
/// Cyrillic; any other character as it is.
char16_t LowerLetter(char16_t C);
/// Whether C is a letter of the Latin, Greek or Cyrillic script.
bool IsLetter(char16_t C);

/// The letters of the default keyboard layout of the language of Lcid (its LANGID, the low 16
/// bits; 0x0407 German, 0x0419 Russian, ...). On Windows the layout the system has for it (loaded
/// for the question, and unloaded again when the process did not have it, SystemKeyboard); else,
/// and in the simulation, the compiled table, KeyboardTable. A language neither knows types the Latin letters a to z; Lcid 0
/// (unknown) types any letter. Never fails.
Keyboard KeyboardLetters(int Lcid);
/// The letters of the window system's own layout for the language of Lcid, from VkKeyScanExW:
/// nothing in the simulation, and where the system loads no layout of that language.
std::optional<Keyboard> SystemKeyboard(int Lcid);
/// The compiled table's layout of the language of Lcid; nothing for a language it lacks.
std::optional<Keyboard> KeyboardTable(int Lcid);
/// The LANGIDs of the languages the compiled table holds, ascending.
std::vector<int> KeyboardTableLanguages();

}  // namespace checks
