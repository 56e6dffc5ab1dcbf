// A form file as the command line works on it: binary (with or without a resource header) or
// text, read into components as a design host would, and written back in the same format.
#pragma once

#include <memory>
#include <string>

#include "Vek.hpp"
#include "design/ToolIntf.hpp"

namespace lumetra_cli {

class FormFile : public design::TIToolServices {
public:
  /// Reads the form. Raises vcl::Exception naming the file (and the offset or line at fault)
  /// when it cannot be read or is no form.
  explicit FormFile(std::string FileName);
  ~FormFile() override;
  FormFile(const FormFile&) = delete;
  FormFile& operator=(const FormFile&) = delete;

  vcl::TComponent* Root() const { return FRoot.get(); }
  bool IsText() const { return FText; }
  /// The form's translator; raises vcl::Exception naming the file when it holds none.
  Vek::TLumetra* Translator() const;
  /// Writes the form back over its file, whole or not at all, in the format it was read in
  /// (text keeps its line ends). Writing it also saves the translator's text file, if it has one.
  void Save();

  /// The form file stands for the project: a relative FileName is taken from its folder.
  std::string GetProjectName() override { return FFileName; }

private:
  std::string FFileName;
  bool FText = false;
  bool FLineFeeds = false;  // a text form with LF line ends
  std::unique_ptr<vcl::TComponent> FRoot;
  design::TIToolServices* FSavedHost = nullptr;
};

/// Whether a form file's bytes are a text form (else a binary one). Raises vcl::EReadError
/// when they are neither.
bool IsTextForm(const std::string& Bytes);
/// The binary form stream of a text form, with a resource header before it when asked.
std::string FormFromText(const std::string& Text, bool WithResource = false);
/// The text form of a binary form stream.
std::string FormText(const std::string& Binary);

/// Prints a line on stderr when a file is large enough for the user to wait on it.
void Progress(const std::string& FileName, const char* Doing);

}  // namespace lumetra_cli
