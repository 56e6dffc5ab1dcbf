// Reading and writing form files for the command line.
#include "form_file.hpp"

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

bool IsTextForm(const std::string& Bytes) {
  vcl::TMemoryStream in;
  Fill(in, Bytes);
  switch (vcl::TestStreamFormat(in)) {
    case vcl::TStreamOriginalFormat::sofBinary: return false;
    case vcl::TStreamOriginalFormat::sofText:
    case vcl::TStreamOriginalFormat::sofUTF8Text: return true;
    case vcl::TStreamOriginalFormat::sofUnknown: break;
  }
  throw vcl::EReadError("neither a binary form (\"TPF0\") nor a text form (\"object ...\")");
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
  if (!ec && size >= 4u << 20) std::fprintf(stderr, "lumetra: %s %s (%ju MB)...\n", Doing, FileName.c_str(), static_cast<std::uintmax_t>(size >> 20));
}

FormFile::FormFile(std::string FileName) : FFileName(std::move(FileName)) {
  try {
    Progress(FFileName, "reading");
    const std::string bytes = vcl::ReadFileBytes(FFileName);
    FText = IsTextForm(bytes);
    const std::string binary = FText ? FormFromText(bytes) : bytes;
    FLineFeeds = FText && bytes.find("\r\n") == std::string::npos && bytes.find('\n') != std::string::npos;

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

void FormFile::Save() {
  vcl::TMemoryStream stream;
  {
    vcl::TWriter writer(stream);
    writer.WriteRootComponent(FRoot.get());
  }
  std::string out = Bytes(stream);
  if (FText) {
    out = FormText(out);
    if (FLineFeeds) {
      std::string lf;
      lf.reserve(out.size());
      for (std::size_t i = 0; i < out.size(); ++i)
        if (!(out[i] == '\r' && i + 1 < out.size() && out[i + 1] == '\n')) lf += out[i];
      out.swap(lf);
    }
  }
  vcl::ReplaceFile(FFileName, out);
}

}  // namespace lumetra_cli
