// Reading and writing form files for the command line.
#include "form_file.hpp"

#include "commands.hpp"

#include <cstdio>
#include <filesystem>

namespace lumetra_cli {

namespace {

std::string Bytes(const vcl::TMemoryStream& Stream) { return std::string(Stream.Bytes().begin(), Stream.Bytes().end()); }

void Fill(vcl::TMemoryStream& Stream, const std::string& Data) {
  Stream.WriteBuffer(Data.data(), static_cast<std::int64_t>(Data.size()));
  Stream.SetPosition(0);
}

Vek::TLumetra* FindTranslator(vcl::TComponent* Owner) {
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    if (auto* t = dynamic_cast<Vek::TLumetra*>(Owner->Components(i))) return t;
    if (Vek::TLumetra* t = FindTranslator(Owner->Components(i))) return t;
  }
  return nullptr;
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
  if (!ec && size > MaxSize)
    throw vcl::EFOpenError(FileName + ": is " + std::to_string(size) + " bytes, more than the " + std::to_string(MaxSize >> 20) +
                           " MiB that the command line reads");
}

bool IsTextForm(const std::string& Bytes) {
  // UTF-16 would otherwise pass for a resource (FF FE) or for nothing at all.
  const auto b = [&](std::size_t i) { return i < Bytes.size() ? static_cast<unsigned char>(Bytes[i]) : 0x100u; };
  if ((b(0) == 0xFF && b(1) == 0xFE) || (b(0) == 0xFE && b(1) == 0xFF) || (b(0) && b(0) < 0x80 && b(1) == 0 && b(2) && b(3) == 0) ||
      (b(0) == 0 && b(1) && b(1) < 0x80 && b(2) == 0 && b(3)))
    throw vcl::EReadError("a text form in UTF-16 at offset 0: save it in the ANSI code page or in UTF-8, which forms are read in");
  vcl::TMemoryStream in;
  Fill(in, Bytes);
  switch (vcl::TestStreamFormat(in)) {
    case vcl::TStreamOriginalFormat::sofBinary: return false;
    case vcl::TStreamOriginalFormat::sofText:
    case vcl::TStreamOriginalFormat::sofUTF8Text: return true;
    case vcl::TStreamOriginalFormat::sofUnknown: break;
  }
  throw vcl::EReadError("neither a binary form (\"TPF0\") nor a text form (\"object ...\") at offset 0");
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

void Progress(const std::string& FileName, const char* Doing) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(FileName, ec);
  if (!ec && size >= 4u << 20)
    std::fprintf(stderr, "lumetra: %s %s (%ju MB)...\n", Doing, Escaped(FileName).c_str(), static_cast<std::uintmax_t>(size >> 20));
}

FormFile::FormFile(std::string FileName) : FFileName(std::move(FileName)) {
  CheckInput(FFileName, MaxFormFileSize);
  try {
    Progress(FFileName, "reading");
    const std::string bytes = vcl::ReadFileBytes(FFileName);
    FText = IsTextForm(bytes);
    const std::string binary = FText ? FormFromText(bytes) : bytes;
    const std::size_t lineEnd = bytes.find_first_of("\r\n");
    if (FText && lineEnd != std::string::npos)
      FLineBreak = bytes.compare(lineEnd, 2, "\r\n") == 0 ? "\r\n" : bytes.substr(lineEnd, 1);

    // Read as the form designer does: the form designed, this file its project.
    FSavedHost = design::ToolServices;
    design::ToolServices = this;
    FRoot = std::make_unique<vcl::TUnknownComponent>(nullptr);
    FRoot->SetDesigning(true);
    vcl::TMemoryStream stream;
    Fill(stream, binary);
    vcl::TReader reader(stream);
    reader.ReadRootComponent(FRoot.get());
  } catch (const vcl::Exception& e) {
    design::ToolServices = FSavedHost;
    throw vcl::Exception(FFileName + ": " + e.Message());
  }
}

FormFile::~FormFile() {
  FRoot.reset();
  design::ToolServices = FSavedHost;
}

Vek::TLumetra* FormFile::Translator() const {
  if (Vek::TLumetra* t = FindTranslator(FRoot.get())) return t;
  throw vcl::Exception(FFileName + ": the form holds no TLumetra");
}

Vek::TLumetra* FormFile::AddTranslator() {
  if (Vek::TLumetra* t = FindTranslator(FRoot.get())) return t;
  // A translator sits on the form itself, named as the designer names a dropped component.
  std::string name;
  for (int n = 1; name.empty() || FRoot->FindComponent(name); ++n) name = "Lumetra" + std::to_string(n);
  auto* t = new Vek::TLumetra(FRoot.get());
  t->SetName(name);
  return t;
}

void FormFile::Save() {
  vcl::TMemoryStream stream;
  {
    vcl::TWriter writer(stream);
    writer.WriteRootComponent(FRoot.get());
  }
  std::string out = Bytes(stream);
  if (FText) {
    out = FormText(out);
    if (FLineBreak != "\r\n") {  // the text comes with CR LF line ends
      std::string kept;
      kept.reserve(out.size());
      for (std::size_t i = 0; i < out.size(); ++i) {
        if (out.compare(i, 2, "\r\n") != 0) kept += out[i];
        else kept += FLineBreak, ++i;
      }
      out.swap(kept);
    }
  }
  vcl::ReplaceFile(FFileName, out);
}

}  // namespace lumetra_cli
