// A form file as a design host works on it: binary (with or without a resource header) or text,
// read into a root component in design state and written back in the format it was read in.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "design/ToolIntf.hpp"
#include "vcl/Classes.hpp"

namespace design {

/// The largest form file that is read: it is read whole into memory.
constexpr std::uintmax_t MaxFormFileSize = std::uintmax_t(64) << 20;

/// Checks, before anything is read, that FileName is a regular file of at most MaxSize bytes
/// (or missing, when MayBeMissing). Raises vcl::EFOpenError naming the file and what it is
/// instead: missing, a folder, a device or FIFO, too large.
void CheckInput(const std::string& FileName, std::uintmax_t MaxSize, bool MayBeMissing = false);

/// Refuses to write Size bytes to FileName when that is more than MaxSize, the most that is read
/// back: raises vcl::EFCreateError naming the file, the size it would have and the limit.
void CheckOutput(const std::string& FileName, std::uintmax_t Size, std::uintmax_t MaxSize);

/// What a file's bytes are, told by their content.
enum class TFormKind : std::uint8_t {
  fkBinary = 0,     // a binary form stream ("TPF0"), with or without a resource header
  fkText = 1,       // a text form ("object ..."), in the ANSI code page or UTF-8
  fkUtf16Text = 2,  // text in UTF-16, which the form reader does not read
  fkNone = 3,       // no form
};
/// The kind of a file's bytes. Never fails.
TFormKind FormKindOf(const std::string& Bytes);
/// Whether a form file's bytes are a text form (else a binary one). Raises vcl::EReadError
/// when they are neither, or a text form in UTF-16, which the form reader does not read.
bool IsTextForm(const std::string& Bytes);
/// As IsTextForm, for bytes of that kind.
bool IsTextForm(TFormKind Kind);

/// A file read whole for a command, once: its name, bytes and what they are.
struct TReadFile {
  std::string FileName;
  std::string Bytes;
  TFormKind Kind = TFormKind::fkNone;
};
/// Checks FileName as CheckInput does (at most MaxSize bytes), then calls BeforeRead when it is
/// given (a lock to take, a notice for the user), then reads the file whole and tells its kind.
/// Raises what CheckInput and BeforeRead raise, and vcl::EFOpenError naming the file when it
/// cannot be read.
TReadFile ReadInput(std::string FileName, std::uintmax_t MaxSize, const std::function<void()>& BeforeRead = {});

/// The binary form stream of a text form, with a resource header before it when asked.
/// Raises vcl::EReadError naming the line at fault.
std::string FormFromText(const std::string& Text, bool WithResource = false);
/// The text form of a binary form stream, with or without a resource header. Raises
/// vcl::EReadError naming the offset at fault.
std::string FormText(const std::string& Binary);

/// A form file open in a design host. While it lives, it is the host's ToolServices (the file
/// stands for the project) and its root component is in design state, as the form designer
/// reads a form.
class TFormFile : public TIToolServices {
public:
  /// Checks the file (CheckInput, at most MaxFormFileSize) and reads the form. With Locked, the
  /// file's vcl::TFileLock is held from before it is read until the object goes, so that no
  /// other writer changes it between reading and Save; Reading is called once the file passed
  /// the check and is locked, before it is read. Raises vcl::EFOpenError from the check or the
  /// read, vcl::EFCreateError naming the file when its lock cannot be taken, or vcl::Exception
  /// starting with the file name and then what is at fault (UTF-16, no form, the offset or line
  /// the reader stopped at).
  explicit TFormFile(std::string FileName, bool Locked = false, const std::function<void()>& Reading = {});
  /// The form of a file that was read already (ReadInput), unlocked. Raises vcl::EFOpenError
  /// naming the file when it has more than MaxFormFileSize bytes, and what the constructor
  /// above raises when it is no form.
  explicit TFormFile(TReadFile File);
  /// Frees the form, then gives ToolServices back to what it was before.
  ~TFormFile() override;
  TFormFile(const TFormFile&) = delete;
  TFormFile& operator=(const TFormFile&) = delete;

  const std::string& FileName() const { return FFileName; }
  vcl::TComponent* Root() const { return FRoot.get(); }
  bool IsText() const { return FText; }

  /// Writes the form over its file, whole or not at all (vcl::ReplaceFile), in the format it
  /// was read in: a binary one with the resource header it had, a text form as the text read
  /// had every part that is unchanged (vcl::ObjectBinaryToTextAs) and new lines ending as its
  /// first line did. The files its components write with it (a translator's text file)
  /// are replaced in one batch with it: all of them or none. Raises vcl::EFCreateError naming
  /// the file, also when the form would be larger than MaxFormFileSize, or what a component
  /// raised (vcl::EWriteError naming the component at fault); every file is then left as it
  /// was. A host that keeps more state about the form (whether it is modified) extends it.
  virtual void Save();

  /// The form file stands for the project: relative file names are taken from its folder.
  std::string GetProjectName() override { return FFileName; }

private:
  // A form file read, and its lock when it is held.
  struct TOpened {
    TReadFile File;
    std::unique_ptr<vcl::TFileLock> Lock;
  };
  static TOpened Open(std::string FileName, bool Locked, const std::function<void()>& Reading);
  explicit TFormFile(TOpened Opened);
  // Frees the form, then gives ToolServices back to what it was before.
  void GiveBack();

  std::string FFileName;
  std::unique_ptr<vcl::TFileLock> FLock;
  bool FText = false;
  std::string FLineBreak = "\r\n";  // of a text form: what its first line ends with
  std::string FOriginalText;       // of a text form: the text read
  std::unique_ptr<vcl::TComponent> FRoot;
  TIToolServices* FSavedHost = nullptr;
};

}  // namespace design
