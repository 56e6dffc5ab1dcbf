// Streams: the abstract TStream, memory and file streams, and whole-file reading.
#include <cerrno>
#include <filesystem>
#include <random>
#include <cstring>

#include "vcl/Classes.hpp"

namespace vcl {

VCL_IMPLEMENT_CLASS(TStream, TObject)
VCL_IMPLEMENT_CLASS(TMemoryStream, TStream)
VCL_IMPLEMENT_CLASS(TFileStream, TStream)

namespace {
std::string Reason() { return std::strerror(errno); }

std::int64_t FileSeek(std::FILE* f, std::int64_t Offset, TSeekOrigin Origin) {
  const int whence = Origin == TSeekOrigin::soBeginning ? SEEK_SET : Origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
#ifdef _WIN32
  if (_fseeki64(f, Offset, whence) != 0) return -1;
  return _ftelli64(f);
#else
  if (fseeko(f, Offset, whence) != 0) return -1;
  return ftello(f);
#endif
}
}  // namespace

std::int64_t TStream::Size() {
  const std::int64_t pos = Position();
  const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
  SetPosition(pos);
  return size;
}

void TStream::ReadBuffer(void* Buffer, std::int64_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count) {
  if (Count <= 0 || FPosition >= FData.size()) return 0;
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(Count), FData.size() - FPosition);
  std::memcpy(Buffer, FData.data() + FPosition, n);
  FPosition += n;
  return static_cast<std::int64_t>(n);
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count) {
  if (Count <= 0) return 0;
  const std::size_t n = static_cast<std::size_t>(Count);
  if (FPosition + n > FData.size()) FData.resize(FPosition + n);
  std::memcpy(FData.data() + FPosition, Buffer, n);
  FPosition += n;
  return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
  std::int64_t base = Origin == TSeekOrigin::soBeginning ? 0
                      : Origin == TSeekOrigin::soCurrent ? static_cast<std::int64_t>(FPosition)
                                                          : static_cast<std::int64_t>(FData.size());
  const std::int64_t pos = base + Offset;
  if (pos >= 0) FPosition = static_cast<std::size_t>(pos);
  return static_cast<std::int64_t>(FPosition);
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  const std::string bytes = ReadFileBytes(FileName);
  FData.assign(bytes.begin(), bytes.end());
  FPosition = 0;
}

void TMemoryStream::SaveToFile(const std::string& FileName) const {
  ReplaceFile(FileName, std::string_view(reinterpret_cast<const char*>(FData.data()), FData.size()));
}

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode) : FFileName(FileName) {
  const char* how = Mode == fmCreate ? "wb" : Mode == fmOpenRead ? "rb" : "r+b";
  FFile = std::fopen(FileName.c_str(), how);
  if (!FFile) {
    if (Mode == fmCreate) throw EFCreateError("Cannot create file \"" + FileName + "\": " + Reason());
    throw EFOpenError("Cannot open file \"" + FileName + "\": " + Reason());
  }
}

TFileStream::~TFileStream() {
  if (FFile) std::fclose(FFile);
}

std::int64_t TFileStream::Read(void* Buffer, std::int64_t Count) {
  if (Count <= 0) return 0;
  return static_cast<std::int64_t>(std::fread(Buffer, 1, static_cast<std::size_t>(Count), FFile));
}

std::int64_t TFileStream::Write(const void* Buffer, std::int64_t Count) {
  if (Count <= 0) return 0;
  const auto n = static_cast<std::int64_t>(std::fwrite(Buffer, 1, static_cast<std::size_t>(Count), FFile));
  // Report a full disk here rather than at close, where nobody could hear it.
  if (n == Count && std::fflush(FFile) != 0) return 0;
  return n;
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin) { return FileSeek(FFile, Offset, Origin); }

std::string ReadFileBytes(const std::string& FileName) {
  std::FILE* f = std::fopen(FileName.c_str(), "rb");
  if (!f) throw EFOpenError("Cannot open file \"" + FileName + "\": " + Reason());
  std::string bytes;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw EFOpenError("Cannot read file \"" + FileName + "\": " + Reason());
  return bytes;
}

void ReplaceFile(const std::string& FileName, std::string_view Bytes) {
  // Unique beside the target, so that the rename stays on one file system.
  static unsigned counter = 0;
  const std::string temporary = FileName + ".~" + std::to_string(std::random_device{}()) + std::to_string(++counter);
  std::error_code ec;
  try {
    TFileStream file(temporary, fmCreate);
    file.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
  } catch (const EStreamError&) {
    const std::string reason = Reason();
    std::filesystem::remove(temporary, ec);
    throw EFCreateError("Cannot create file \"" + FileName + "\": " + reason);
  }
  std::filesystem::rename(temporary, FileName, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    throw EFCreateError("Cannot create file \"" + FileName + "\": " + ec.message());
  }
}

}  // namespace vcl
