// A form file as the command line works on it: binary (with or without a resource header) or
// text, read into components as a design host would, and written back in the same format.
#pragma once

#include <cstdint>
#include <string>

#include "Vek.hpp"
#include "design/FormFile.hpp"

namespace lumetra_cli {

/// A form file read for a command: the design layer's form file, and the form's translator.
class FormFile : public design::TFormFile {
public:
  /// Reads the form, telling the user when a large one takes a while. A command that writes the
  /// form back reads it Locked, so that no other writer changes it before Save. Raises what
  /// design::TFormFile raises: vcl::Exception naming the file (and the offset or line at fault)
  /// when it cannot be read (see CheckInput) or is no form, vcl::EFCreateError naming it when
  /// its lock cannot be taken.
  explicit FormFile(const std::string& FileName, bool Locked = false);
  /// The form of a file that was read already (design::ReadInput), unlocked. Raises what
  /// design::TFormFile raises for it.
  explicit FormFile(design::TReadFile File);
  /// The Locked of a command that writes the form back.
  static constexpr bool ToRewrite = true;

  /// The form's translator; raises vcl::Exception naming the file when it holds none.
  Vek::TLumetra* Translator() const;
  /// The form's translator, or a new one put on the form (named Lumetra1, or the first free
  /// LumetraN) when it holds none. Never fails for a form that was read.
  Vek::TLumetra* AddTranslator();
  // Save writes the form in the format it was read in; writing it also saves the translator's
  // text file, if it has one.
};

using design::CheckInput;
using design::CheckOutput;
using design::FormFromText;
using design::FormText;
using design::IsTextForm;
using design::ReadInput;
using design::MaxFormFileSize;
using Vek::MaxListFileSize;

/// Prints a line on stderr when a file is large enough for the user to wait on it.
void Progress(const std::string& FileName, const char* Doing);

}  // namespace lumetra_cli
