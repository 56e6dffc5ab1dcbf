// The translator's texts as units of original and translation keyed by property, as PO and XLIFF
// files hold them, and those units merged back into its entries.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Vek.hpp"

namespace exchange {

/// One property as a translation tool sees it. Texts are UTF-8 with LF line breaks in files and
/// in the code page of their dialog class (Vek::TextCodePage) as the entries hold them.
struct TextUnit {
  std::string Key;     // the property key, "TOpenDialog.Caption[1090]": the context
  std::string Source;  // the captured original
  std::string Target;  // the translation; empty when there is none
  std::string Note;    // what a value that is no text stands for; empty for texts
  std::string Comment; // a translator's comment: where the translation came from ("system translation, de_DE")
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

/// The character set a language is written in, by its tag as gettext or XML names it ("ru",
/// "ru_RU", "zh-Hant", "zh_TW", "sr@latin"), without regard to case: 204 for the Cyrillic
/// languages, 128 for Japanese, ...; nothing for the languages of code page 1252 and those the
/// table lacks. Never fails.
std::optional<int> CharsetOfLanguage(std::string_view Tag);

/// The units of a translator's Entries and captured values (Originals): every captured text for
/// translation (Vek::IsForTranslation, with the dialog components of Form), and every other
/// captured value that has an entry, in key order, with its translation. Entries whose property
/// was not captured have no original and are counted in WithoutOriginal. Texts are converted to
/// UTF-8 with LF line breaks, each in the code page of its class in its own list (originals in
/// that of Originals, translations in that of Entries). A translation holding bytes that are no
/// characters of its code page would not come back as it is: it goes out untranslated, with a
/// line in Warnings naming it when given. A value that is not a valid literal raises
/// EConvertError naming the key.
std::vector<TextUnit> ExportUnits(const vcl::TStrings& Entries, const vcl::TStrings& Originals, const vcl::TComponent* Form,
                                  int& WithoutOriginal, std::vector<std::string>* Warnings = nullptr);
/// The units of a translator's lists, with its owner's dialog components.
std::vector<TextUnit> ExportUnits(const Vek::TLumetra& Translator, int& WithoutOriginal);

/// What merging units into a translator did.
struct ImportResult {
  int Changed = 0;       // entries added or changed
  int Untranslated = 0;  // units without a translation
  int Fuzzy = 0;         // units marked for review and left out
  std::vector<std::string> Warnings;  // units skipped, one line each naming file and line
  std::vector<std::string> Faults;    // translations that cannot be taken; when any, nothing changed
  std::vector<std::string> Charsets;  // Font.Charset entries added or replaced, one line each naming the file
  std::vector<std::string> FuzzyKeys; // with ImportCharset::TakeFuzzy: the keys taken from units marked for review, in key order
};

/// The character set an import takes translations in, where it is not each class's own.
struct ImportCharset {
  std::string Language;        // the language the file names ("ja_JP"); empty: none
  std::optional<int> Charset;  // named by the user (lumetra dict import --charset): wins over Language's
  bool TakeFuzzy = false;      // take units marked for review like the others (the editor's Translate)
};

/// Merges the translations of Units (read from FileName) into Entries, whose captured values are
/// Originals. Units marked for review are left out unless Charset.TakeFuzzy; then a translated
/// one is taken as any other and its key is one of FuzzyKeys. A unit whose key was not captured, or whose original no longer is the captured one
/// (compared in the code page of its class in Originals), is skipped with a warning.
/// The translations of a dialog class are taken in the code page of its character set: that of
/// Charset.Charset, else that of Charset.Language (CharsetOfLanguage), else the class's own
/// Font.Charset as the file leaves it (its translation there, or the entry the class has). Where
/// Charset names a set whose code page is not the class's, the class gets a Font.Charset entry of
/// that set, added or replacing the one it has, with a line in Charsets.
/// A translation that the code page cannot hold, that is no integer where the property needs one,
/// or that is a size or position beyond what a screen holds (Vek::OnScreen) is a fault naming
/// file, line, key and character or value; when there is any fault, no entry changes. Never
/// raises for what the file holds.
ImportResult ImportUnits(Vek::TSortList& Entries, const vcl::TStrings& Originals, const std::vector<TextUnit>& Units,
                         const std::string& FileName, const ImportCharset& Charset = {});
/// Merges them into a translator's entries.
ImportResult ImportUnits(Vek::TLumetra& Translator, const std::vector<TextUnit>& Units, const std::string& FileName,
                         const ImportCharset& Charset = {});

}  // namespace exchange
