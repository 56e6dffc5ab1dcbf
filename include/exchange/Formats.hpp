// The file formats translations are exchanged in, one row each (dictionary, PO, XLIFF): the
// command line and the translations editor offer the same ones, read and written alike.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Vek.hpp"
#include "exchange/TextUnits.hpp"

namespace exchange {

/// What an export writes: a translator's entries and captured values (or the editor's working
/// copies of them), with the form whose dialog components tell texts from content.
struct TExportSource {
  const vcl::TStrings& Entries;
  const vcl::TStrings& Originals;
  const vcl::TComponent* Form = nullptr;
  std::string Project;   // the form's name (ANSI): a PO file's Project-Id-Version, an XLIFF file's original
  int Locale = 0;        // the translator's, which a PO header records
  std::string Language;  // as gettext names it ("de_DE"); empty: the language of Locale (LanguageTag)
  /// The keys (as the entries hold them) whose translations go out marked for review, as the
  /// editor's Translate took them; a translation written untranslated is not marked.
  std::vector<std::string> FuzzyKeys = {};
};

/// What an export wrote. A dictionary counts nothing: it keeps pairs of texts of every form.
struct TExportResult {
  std::size_t Units = 0;       // texts written
  std::size_t Translated = 0;  // of them, those with a translation
  int WithoutOriginal = 0;     // entries left out for want of a captured original
};

/// Told each warning of an export as it arises (a translation written untranslated, naming it).
using TWarning = std::function<void(const std::string& Text)>;

/// The translations read from a file, merged into Entries (whose captured values are Originals)
/// when called, in the character set Charset where given (lumetra dict import --charset), else in
/// that of the language the file names, else in each class's own; units marked for review only
/// with TakeFuzzy (a dictionary has none). See ImportUnits for what the result holds. Empty when
/// the file does not exist.
class TImport {
public:
  using TMerge =
      std::function<ImportResult(Vek::TSortList& Entries, const vcl::TStrings& Originals, std::optional<int> Charset, bool TakeFuzzy)>;
  TImport() = default;
  explicit TImport(TMerge Merge) : FMerge(std::move(Merge)) {}
  explicit operator bool() const { return static_cast<bool>(FMerge); }
  ImportResult operator()(Vek::TSortList& Entries, const vcl::TStrings& Originals, std::optional<int> Charset = std::nullopt,
                          bool TakeFuzzy = false) const {
    return FMerge(Entries, Originals, Charset, TakeFuzzy);
  }

private:
  TMerge FMerge;
};

/// One exchange format.
struct TFormat {
  std::string_view Name;         // "dictionary", "PO", "XLIFF"
  std::string_view Description;  // what a file dialog's filter calls such a file
  std::vector<std::string_view> Extensions;  // without the dot, the usual one first
  std::string_view Option;       // the command line's option before such a file; empty: the file is named alone
  /// Whether this build reads and writes the format (XLIFF needs libxml2).
  bool (*Available)();
  /// Writes the file whole or not at all. Raises, before anything is written, what a writer of
  /// the format raises: vcl::EConvertError for a value that is no valid literal, EFCreateError for
  /// a file that would be larger than Vek::MaxListFileSize, EFOpenError for what is no regular file,
  /// vcl::Exception naming the file where the format is not Available.
  TExportResult (*Write)(const std::string& FileName, const TExportSource& Source, const TWarning& Warn);
  /// Reads the file (at most Vek::MaxListFileSize bytes). Raises vcl::EReadError naming the file
  /// and line for what the format does not allow, EFOpenError for what is no regular file or is
  /// too large, vcl::Exception naming the file where the format is not Available.
  TImport (*Read)(const std::string& FileName);
};

/// Every format, the dictionary first.
std::span<const TFormat> Formats();
/// The dictionary of texts and their translations (Vek::TranslateTo and TranslateFrom).
const TFormat& Dictionary();
/// The format of a file by its extension, without regard to case; the dictionary for any other
/// extension, as the editor has always taken every file for one.
const TFormat& FormatOfFile(std::string_view FileName);
/// The format the command line's option names ("--po"); nullptr for any other.
const TFormat* FormatOfOption(std::string_view Option);
/// The filter of a file dialog that offers the formats this build has, each with its extensions,
/// then all files: "Dictionary (*.txt)|*.txt|...|All files (*.*)|*.*".
std::string FileFilter();

/// Writes Units as a PO file FileName, replacing it whole, with the header of the form Project
/// (ANSI) in Language ("de_DE"; empty: "und") for the translator's Locale, as an export writes
/// one; Warn is told each translation written untranslated for its line breaks. Raises what an
/// export raises for FileName.
void WritePoUnits(const std::string& FileName, const std::string& Project, const std::string& Language, int Locale,
                  std::vector<TextUnit> Units, const TWarning& Warn = {});

}  // namespace exchange
