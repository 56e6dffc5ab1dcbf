// What `lumetra check` and `lumetra preview` read: the entries of a form, of a translation text
// file or of a list, each with the line it stands on and the originals it was translated from.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "checks/checks.hpp"
#include "form_file.hpp"

namespace lumetra_cli {

/// The entries of one translator (one form and locale).
struct EntrySet {
  std::string File;
  std::vector<checks::SourceEntry> Entries;
  std::vector<std::string> Originals;
  bool TranslateEmpty = false;
  /// Of a translation text file's lines: the owner ("#0" and the form's name); empty for the
  /// entries of a form or of a list.
  std::string Owner;
  /// The locale (LCID) of the entries: that of the translation text file's lines or the form's
  /// translator; 0 for a list of entries.
  int Locale = 0;
};

class CheckSource {
public:
  /// Reads FileName: a form file (its translator's entries, or the lines of Locale of its
  /// translation text file), a translation text file (each form and locale, or only Locale),
  /// or a list of entries. Raises vcl::Exception naming the file when it cannot be read, or is
  /// a translation text file with a line of another kind (naming the line, not quoting it), and
  /// UsageError when Locale is not the one a form without a translation text file keeps.
  CheckSource(const std::string& FileName, std::optional<int> Locale);

  /// The form's components, for its dialogs of classes of its own; nullptr for other files.
  vcl::TComponent* Form() const { return FForm ? FForm->Root() : nullptr; }
  const std::vector<EntrySet>& Sets() const { return FSets; }

private:
  void ReadForm(design::TReadFile File, std::optional<int> Locale);
  void ReadLines(const std::string& FileName, const std::string& Bytes, std::optional<int> Locale, const std::string* Owner);

  std::unique_ptr<FormFile> FForm;
  std::vector<EntrySet> FSets;
};

}  // namespace lumetra_cli
