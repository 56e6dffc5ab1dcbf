// The translator's texts as units of original and translation keyed by property, as PO and XLIFF
// files hold them, and those units merged back into its entries.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "Vek.hpp"

namespace exchange {

/// One property as a translation tool sees it. Texts are UTF-8 with LF line breaks in files and
/// code page 1252 as the entries hold them.
struct TextUnit {
  std::string Key;     // the property key, "TOpenDialog.Caption[1090]": the context
  std::string Source;  // the captured original
  std::string Target;  // the translation; empty when there is none
  std::string Note;    // what a value that is no text stands for; empty for texts
  bool Fuzzy = false;  // marked for review, so not taken; written back as marked
  int Line = 0;        // read only: the line the unit starts on
  /// Read only: where the target's text continues on a new line of the file, as (byte offset
  /// in Target, line); the first starts at offset 0.
  std::vector<std::pair<std::size_t, int>> TargetLines;

  /// The line of the file that holds the target's byte Offset.
  int LineAt(std::size_t Offset) const;
};

/// The language of a Windows locale id as gettext names it ("fr_FR" for 1036, "fr_CA" for
/// 3084, "qps_ploc" for 1281); for a locale this table lacks, its language alone ("fr" for
/// 5132); empty when the language too is unknown.
std::string LanguageTag(int Locale);

/// The units of a translator's Entries and captured values (Originals): every captured text for
/// translation (Vek::IsForTranslation, with the dialog components of Form), and every other
/// captured value that has an entry, in key order, with its translation. Entries whose property
/// was not captured have no original and are counted in WithoutOriginal. Texts are converted to
/// UTF-8 with LF line breaks. A value that is not a valid literal raises EConvertError naming the key.
std::vector<TextUnit> ExportUnits(const vcl::TStrings& Entries, const vcl::TStrings& Originals, const vcl::TComponent* Form,
                                  int& WithoutOriginal);
/// The units of a translator's lists, with its owner's dialog components.
std::vector<TextUnit> ExportUnits(const Vek::TLumetra& Translator, int& WithoutOriginal);

/// What merging units into a translator did.
struct ImportResult {
  int Changed = 0;       // entries added or changed
  int Untranslated = 0;  // units without a translation
  int Fuzzy = 0;         // units marked for review
  std::vector<std::string> Warnings;  // units skipped, one line each naming file and line
  std::vector<std::string> Faults;    // translations that cannot be taken; when any, nothing changed
};

/// Merges the translations of Units (read from FileName) into Entries, whose captured values are
/// Originals. A unit
/// whose key was not captured, or whose original no longer is the captured one, is skipped with
/// a warning. A translation that code page 1252 cannot hold, that is no integer where the
/// property needs one, or that is a size or position beyond what a screen holds (Vek::OnScreen)
/// is a fault naming file, line, key and character or value; when there is any
/// fault, no entry changes. Never raises for what the file holds.
ImportResult ImportUnits(Vek::TSortList& Entries, const vcl::TStrings& Originals, const std::vector<TextUnit>& Units,
                         const std::string& FileName);
/// Merges them into a translator's entries.
ImportResult ImportUnits(Vek::TLumetra& Translator, const std::vector<TextUnit>& Units, const std::string& FileName);

}  // namespace exchange
