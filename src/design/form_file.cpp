// Reading a form file into a designed root component and writing it back in its format.
#include "design/FormFile.hpp"

#include <filesystem>

namespace design {

namespace {

std::string Bytes(const vcl::TMemoryStream& Stream) { return std::string(Stream.Bytes().begin(), Stream.Bytes().end()); }

void Fill(vcl::TMemoryStream& Stream, const std::string& Data) {
  Stream.WriteBuffer(Data.data(), static_cast<std::int64_t>(Data.size()));
  Stream.SetPosition(0);
}

void CheckSize(const std::string& FileName, std::uintmax_t Size, std::uintmax_t MaxSize) {
  if (Size > MaxSize)
    throw vcl::EFOpenError(FileName + ": is " + std::to_string(Size) + " bytes, more than the " + std::to_string(MaxSize >> 20) +
                           " MiB that Lumetra reads");
}

}  // namespace

void CheckInput(const std::string& FileName, std::uintmax_t MaxSize, bool MayBeMissing) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status status = fs::status(FileName, ec);
  const char* what = nullptr;
  switch (status.type()) {
    case fs::file_type::regular: break;
    case fs::file_type::not_found:
      if (MayBeMissing) return;
      what = "no such file";
      break;
    case fs::file_type::directory: what = "is a folder, not a file"; break;
    case fs::file_type::character: what = "is a character device, not a regular file"; break;
    case fs::file_type::block: what = "is a block device, not a regular file"; break;
    case fs::file_type::fifo: what = "is a FIFO, not a regular file"; break;
    case fs::file_type::socket: what = "is a socket, not a regular file"; break;
    default:
      if (ec) throw vcl::EFOpenError(FileName + ": " + ec.message());
      what = "is not a regular file";
  }
  if (what) throw vcl::EFOpenError(FileName + ": " + what);
  const std::uintmax_t size = fs::file_size(FileName, ec);
  if (!ec) CheckSize(FileName, size, MaxSize);
}

void CheckOutput(const std::string& FileName, std::uintmax_t Size, std::uintmax_t MaxSize) {
  if (Size > MaxSize)
    throw vcl::EFCreateError(FileName + ": would be " + std::to_string(Size) + " bytes, more than the " + std::to_string(MaxSize >> 20) +
                             " MiB that Lumetra reads; nothing is written");
}

TFormKind FormKindOf(const std::string& Bytes) {
  // UTF-16 would otherwise pass for a resource (FF FE) or for nothing at all.
  const auto b = [&](std::size_t i) { return i < Bytes.size() ? static_cast<unsigned char>(Bytes[i]) : 0x100u; };
  if ((b(0) == 0xFF && b(1) == 0xFE) || (b(0) == 0xFE && b(1) == 0xFF) || (b(0) && b(0) < 0x80 && b(1) == 0 && b(2) && b(3) == 0) ||
      (b(0) == 0 && b(1) && b(1) < 0x80 && b(2) == 0 && b(3)))
    return TFormKind::fkUtf16Text;
  vcl::TMemoryStream in;  // the format is told by the first bytes alone
  Fill(in, Bytes.substr(0, 4));
  switch (vcl::TestStreamFormat(in)) {
    case vcl::TStreamOriginalFormat::sofBinary: return TFormKind::fkBinary;
    case vcl::TStreamOriginalFormat::sofText:
    case vcl::TStreamOriginalFormat::sofUTF8Text: return TFormKind::fkText;
    case vcl::TStreamOriginalFormat::sofUnknown: break;
  }
  return TFormKind::fkNone;
}

bool IsTextForm(const std::string& Bytes) { return IsTextForm(FormKindOf(Bytes)); }

bool IsTextForm(TFormKind Kind) {
  switch (Kind) {
    case TFormKind::fkBinary: return false;
    case TFormKind::fkText: return true;
    case TFormKind::fkUtf16Text:
      throw vcl::EReadError("a text form in UTF-16 at offset 0: save it in the ANSI code page or in UTF-8, which forms are read in");
    case TFormKind::fkNone: break;
  }
  throw vcl::EReadError("neither a binary form (\"TPF0\") nor a text form (\"object ...\") at offset 0");
}

TReadFile ReadInput(std::string FileName, std::uintmax_t MaxSize, const std::function<void()>& BeforeRead) {
  CheckInput(FileName, MaxSize);
  if (BeforeRead) BeforeRead();
  TReadFile file{std::move(FileName), "", TFormKind::fkNone};
  file.Bytes = vcl::ReadFileBytes(file.FileName);
  file.Kind = FormKindOf(file.Bytes);
  return file;
}

std::string FormFromText(const std::string& Text, bool WithResource) {
  vcl::TMemoryStream in, out;
  Fill(in, Text);
  if (WithResource) vcl::ObjectTextToResource(in, out);
  else vcl::ObjectTextToBinary(in, out);
  return Bytes(out);
}

std::string FormText(const std::string& Binary) {
  vcl::TMemoryStream in, out;
  Fill(in, Binary);
  if (!Binary.empty() && static_cast<unsigned char>(Binary[0]) == 0xFF) vcl::ObjectResourceToText(in, out);
  else vcl::ObjectBinaryToText(in, out);
  return Bytes(out);
}

TFormFile::TOpened TFormFile::Open(std::string FileName, bool Locked, const std::function<void()>& Reading) {
  TOpened opened;
  opened.File = ReadInput(FileName, MaxFormFileSize, [&] {
    if (Locked) opened.Lock = std::make_unique<vcl::TFileLock>(FileName);
    if (Reading) Reading();
  });
  return opened;
}

TFormFile::TFormFile(std::string FileName, bool Locked, const std::function<void()>& Reading)
    : TFormFile(Open(std::move(FileName), Locked, Reading)) {}

TFormFile::TFormFile(TReadFile File) : TFormFile(TOpened{std::move(File), nullptr}) {}

TFormFile::TFormFile(TOpened Opened) : FFileName(std::move(Opened.File.FileName)), FLock(std::move(Opened.Lock)) {
  std::string& bytes = Opened.File.Bytes;
  CheckSize(FFileName, bytes.size(), MaxFormFileSize);
  FSavedHost = ToolServices;
  ToolServices = this;
  try {
    FText = IsTextForm(Opened.File.Kind);
    const std::size_t lineEnd = bytes.find_first_of("\r\n");
    if (FText && lineEnd != std::string::npos)
      FLineBreak = bytes.compare(lineEnd, 2, "\r\n") == 0 ? "\r\n" : bytes.substr(lineEnd, 1);
    // A binary form goes to the reader as it is: the reader keeps a resource header with the
    // root, and the writer puts it back, name and flags as they were.
    vcl::TMemoryStream stream;
    Fill(stream, FText ? FormFromText(bytes) : bytes);
    if (FText) FOriginalText = std::move(bytes);
    FRoot = std::make_unique<vcl::TUnknownComponent>(nullptr);
    FRoot->SetDesigning(true);
    vcl::TReader reader(stream);
    reader.ReadRootComponent(FRoot.get());
  } catch (const vcl::Exception& e) {
    GiveBack();
    throw vcl::Exception(FFileName + ": " + e.Message());
  } catch (...) {
    GiveBack();
    throw;
  }
}

void TFormFile::GiveBack() {
  FRoot.reset();  // its components may still ask for the project while they go
  ToolServices = FSavedHost;
}

TFormFile::~TFormFile() { GiveBack(); }

void TFormFile::Save() {
  vcl::TReplaceBatch batch;  // the form and what its components write with it: all or none
  vcl::TMemoryStream stream;
  {
    vcl::TWriter writer(stream);
    writer.WriteRootComponent(FRoot.get());
  }
  std::string out = Bytes(stream);
  if (FText) {
    // In the words of the text read wherever the form holds what it held.
    vcl::TMemoryStream text;
    stream.SetPosition(0);
    vcl::ObjectBinaryToTextAs(stream, text, FOriginalText, FLineBreak);
    out = Bytes(text);
  }
  CheckOutput(FFileName, out.size(), MaxFormFileSize);
  vcl::ReplaceFile(FFileName, out);
  batch.Commit();
}

}  // namespace design
