// A form file as the command line works on it: binary (with or without a resource header) or
// text, read into components as a design host would, and written back in the same format.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Vek.hpp"
#include "design/ToolIntf.hpp"

namespace lumetra_cli {

class FormFile : public design::TIToolServices {
public:
  /// Reads the form. Raises vcl::Exception naming the file (and the offset or line at fault)
  /// when it cannot be read (see CheckInput) or is no form.
  explicit FormFile(std::string FileName);
  ~FormFile() override;
  FormFile(const FormFile&) = delete;
  FormFile& operator=(const FormFile&) = delete;

  vcl::TComponent* Root() const { return FRoot.get(); }
  bool IsText() const { return FText; }
  /// The form's translator; raises vcl::Exception naming the file when it holds none.
  Vek::TLumetra* Translator() const;
  /// The form's translator, or a new one put on the form (named Lumetra1, or the first free
  /// LumetraN) when it holds none. Never fails for a form that was read.
  Vek::TLumetra* AddTranslator();
  /// Writes the form back over its file, whole or not at all, in the format it was read in
  /// (text keeps its line ends). Writing it also saves the translator's text file, if it has one.
  void Save();

  /// The form file stands for the project: a relative FileName is taken from its folder.
  std::string GetProjectName() override { return FFileName; }

private:
  std::string FFileName;
  bool FText = false;
  std::string FLineBreak = "\r\n";  // of a text form: what its first line ends with
  std::unique_ptr<vcl::TComponent> FRoot;
  design::TIToolServices* FSavedHost = nullptr;
};

/// The largest form file the command line reads, and the largest translation text file or
/// dictionary: each is read whole into memory.
constexpr std::uintmax_t MaxFormFileSize = std::uintmax_t(64) << 20;
constexpr std::uintmax_t MaxListFileSize = std::uintmax_t(256) << 20;

/// Checks, before anything is read, that FileName is a regular file of at most MaxSize bytes
/// (or missing, when MayBeMissing). Raises vcl::EFOpenError naming the file and what it is
/// instead: missing, a folder, a device or FIFO, too large.
void CheckInput(const std::string& FileName, std::uintmax_t MaxSize, bool MayBeMissing = false);

/// Whether a form file's bytes are a text form (else a binary one). Raises vcl::EReadError
/// when they are neither, or a text form in UTF-16, which the form reader does not read.
bool IsTextForm(const std::string& Bytes);
/// The binary form stream of a text form, with a resource header before it when asked.
std::string FormFromText(const std::string& Text, bool WithResource = false);
/// The text form of a binary form stream.
std::string FormText(const std::string& Binary);

/// Prints a line on stderr when a file is large enough for the user to wait on it.
void Progress(const std::string& FileName, const char* Doing);

}  // namespace lumetra_cli
