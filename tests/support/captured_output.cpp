// Capturing stdout or stderr into a scratch file by redirecting the stream's descriptor.
#include "captured_output.hpp"

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace testing_support {

namespace {

#ifdef _WIN32
int Dup(int Fd) { return _dup(Fd); }
int Dup2(int From, int To) { return _dup2(From, To); }
int Close(int Fd) { return _close(Fd); }
int OpenForWriting(const std::string& Name) { return _open(Name.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, 0600); }
int FileNo(std::FILE* Stream) { return _fileno(Stream); }
#else
int Dup(int Fd) { return dup(Fd); }
int Dup2(int From, int To) { return dup2(From, To); }
int Close(int Fd) { return close(Fd); }
int OpenForWriting(const std::string& Name) { return open(Name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600); }
int FileNo(std::FILE* Stream) { return fileno(Stream); }
#endif

}  // namespace

CapturedOutput::CapturedOutput(std::FILE* Stream) : FStream(Stream), FFile(FDir.File("captured.txt")) {
  std::fflush(FStream);  // what was written before is not ours
  const int file = OpenForWriting(FFile);
  if (file < 0) {
    ADD_FAILURE() << "cannot capture output into " << FFile;
    return;
  }
  FSaved = Dup(FileNo(FStream));
  if (FSaved < 0 || Dup2(file, FileNo(FStream)) < 0) {
    ADD_FAILURE() << "cannot redirect the stream into " << FFile;
    if (FSaved >= 0) Close(FSaved);
    FSaved = -1;
  }
  Close(file);
}

CapturedOutput::~CapturedOutput() { GiveBack(); }

void CapturedOutput::GiveBack() {
  if (FSaved < 0) return;
  std::fflush(FStream);
  Dup2(FSaved, FileNo(FStream));
  Close(FSaved);
  FSaved = -1;
}

std::string CapturedOutput::Text() {
  if (FSaved < 0) return "";
  GiveBack();
  return ReadFile(FFile);
}

}  // namespace testing_support
