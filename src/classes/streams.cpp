// Streams: the abstract TStream, memory and file streams, whole-file reading and replacing.
//
// Notes on replacing a file (ReplaceFile, TFileLock):
// - The new content goes to a temporary file in the target's folder (so the rename stays on one
//   file system), flushed to the disk before the rename; on Linux the folder is flushed after
//   it, so that the new name survives a power cut too (best effort: some file systems refuse).
// - Temporaries are named ".<h>.lmt~<pid>-<n>": h is 8 hex digits of a hash (FNV-1a) of the
//   target's name, pid the writing process, n a counter. Short, so that a 255-byte name still
//   has one; recognisable, so that the next replacement of the same target removes those of a
//   writer that was killed. It does that holding the target's lock, which every writer of the
//   target holds while its temporary exists; it also checks that the writer's process is gone,
//   because another target's name may have the same hash.
// - The lock is not taken on the target itself: the rename puts a new file in its place, and a
//   writer waiting on the old file would then hold a lock that nobody else sees. It is taken on
//   a companion file ".<name>.lmt-lock" beside the target (".<h>.lmt-lock" when that name would
//   be too long). On Linux, flock; the holder removes the companion when it lets go, and a
//   waiter that then wakes up on a removed file takes the lock again on the new one. On Windows,
//   LockFileEx; the companion stays (hidden), since a file open in another process cannot be
//   removed reliably there. A waiter tries again and again rather than block, so that it can
//   tell the program, after a while, which file it waits for.
// - The companion is opened without following a link (O_NOFOLLOW; on Windows a reparse point is
//   opened itself), and one that is a link, no regular file, has several hard links or belongs
//   to another user is refused: in a folder others may write in, a companion planted there would
//   make us create or lock a file of their choosing. Windows: the owner is not compared.
// - A TReplaceBatch keeps the prepared temporaries, each with its target's lock, until Commit
//   renames them; a temporary whose name is taken already is refused, never opened.
// - Symbolic links are followed (chains too), so the link stays and its target is replaced.
// - Windows: MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH; no mode bits,
//   so the read-only attribute is what refuses a replacement, and the hidden, system and archive
//   attributes are copied. This file deals with the kernel's file calls, not with windows, so it
//   includes <windows.h> itself rather than through the window layer.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <chrono>
#include <map>
#include <span>

#include "vcl/Classes.hpp"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef ReplaceFile
#else
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

namespace {

#ifdef _WIN32
std::string LastError() {
  char* text = nullptr;
  const DWORD size = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, GetLastError(), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = size && text ? std::string(text, size) : "error " + std::to_string(GetLastError());
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' || message.back() == '.'))
    message.pop_back();
  return message;
}
const char* const FolderSeparators = "\\/:";
unsigned long CurrentProcess() { return GetCurrentProcessId(); }
#else
std::string LastError() { return std::strerror(errno); }
const char* const FolderSeparators = "/";
unsigned long CurrentProcess() { return static_cast<unsigned long>(::getpid()); }
#endif

[[noreturn]] void CannotCreate(const std::string& FileName, const std::string& Why) {
  throw EFCreateError("Cannot create file \"" + FileName + "\": " + Why);
}

[[noreturn]] void RefuseTakenTemporary(const std::string& FileName, const std::string& Temporary) {
  CannotCreate(FileName, "the name of its temporary \"" + Temporary + "\" is taken by a file this process did not make, which is left as it is");
}

[[noreturn]] void RefuseLock(const std::string& FileName, const std::string& LockName, const std::string& What) {
  CannotCreate(FileName, "its lock \"" + LockName + "\" " + What + ", not a lock file of ours, and is left as it is");
}

// The folder part with its separator ("" when there is none), and the name after it.
std::string FolderOf(const std::string& Path) {
  const auto pos = Path.find_last_of(FolderSeparators);
  return pos == std::string::npos ? std::string() : Path.substr(0, pos + 1);
}
std::string NameOf(const std::string& Path) { return Path.substr(FolderOf(Path).size()); }

// Hands Pieces to Write (which answers false to stop) in few calls: short pieces are gathered in
// a buffer, long ones go as they are.
template <class W>
void WriteInPieces(std::span<const std::string_view> Pieces, W Write) {
  constexpr std::size_t Long = 64 << 10, Buffered = 256 << 10;
  std::string buffer;
  for (const std::string_view piece : Pieces) {
    if (piece.size() >= Long) {
      if (!buffer.empty() && !Write(std::string_view(buffer))) return;
      buffer.clear();
      if (!Write(piece)) return;
      continue;
    }
    if (buffer.empty()) buffer.reserve(Buffered + Long);
    buffer.append(piece);
    if (buffer.size() >= Buffered) {
      if (!Write(std::string_view(buffer))) return;
      buffer.clear();
    }
  }
  if (!buffer.empty()) Write(std::string_view(buffer));
}

// 32-bit FNV-1a of a name, as 8 hex digits.
std::string NameHash(const std::string& Name) {
  std::uint32_t h = 2166136261u;
  for (const char c : Name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  char text[9];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(h));
  return text;
}

// Whether the process that wrote a temporary has ended (a process we may not inspect is alive).
bool ProcessGone(unsigned long Pid) {
#ifdef _WIN32
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(Pid));
  if (!process) return GetLastError() != ERROR_ACCESS_DENIED;
  const bool gone = WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
  CloseHandle(process);
  return gone;
#else
  return ::kill(static_cast<pid_t>(Pid), 0) != 0 && errno == ESRCH;
#endif
}

// The file a write to FileName changes: symbolic links followed, chains too. A name without
// a file part has neither a temporary nor a lock beside it.
std::string FollowLinks(const std::string& FileName) {
  if (NameOf(FileName).empty()) CannotCreate(FileName, std::strerror(FileName.empty() ? ENOENT : EISDIR));
  std::string path = FileName;
#ifndef _WIN32
  for (int hops = 0;; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    if (hops == 40) CannotCreate(FileName, std::strerror(ELOOP));
    std::string link(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0) CannotCreate(FileName, LastError());
    link.resize(static_cast<std::size_t>(n));
    path = !link.empty() && link[0] == '/' ? link : FolderOf(path) + link;
  }
#endif
  return path;
}

std::string LockNameOf(const std::string& Target) {
  const std::string name = NameOf(Target);
  return FolderOf(Target) + "." + (name.size() + 10 <= 255 ? name : NameHash(name)) + ".lmt-lock";
}

struct HeldLock {
  std::intptr_t Handle = 0;
  int Count = 0;
};

// The locks this process holds, by companion name, so that they nest.
std::map<std::string, HeldLock>& HeldLocks() {
  static std::map<std::string, HeldLock> held;
  return held;
}

#ifdef _WIN32
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Refuses what a new regular file must not take the place of.
void RefuseUnlessReplaceable(const std::string& FileName, const std::string& Target, DWORD Attributes) {
  if (Attributes & FILE_ATTRIBUTE_DIRECTORY) CannotCreate(FileName, std::strerror(EISDIR));
  if (Attributes & FILE_ATTRIBUTE_READONLY) CannotCreate(FileName, std::strerror(EACCES));
  HANDLE file = CreateFileA(Target.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;  // the rename then says what stands in the way
  BY_HANDLE_FILE_INFORMATION info{};
  const bool disk = GetFileType(file) == FILE_TYPE_DISK;
  const bool known = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  if (!disk) CannotCreate(FileName, "it is a device, not a regular file, and is left as it is");
  if (known && info.nNumberOfLinks > 1)
    CannotCreate(FileName, "it has " + std::to_string(info.nNumberOfLinks) + " hard links, which a new file would part, and is left as it is");
}

void WriteTemporary(const std::string& Temporary, std::span<const std::string_view> Pieces, const DWORD* OldAttributes,
                    const std::string& FileName) {
  const DWORD attributes = OldAttributes && (*OldAttributes & KeptAttributes) ? *OldAttributes & KeptAttributes : FILE_ATTRIBUTE_NORMAL;
  HANDLE file = CreateFileA(Temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE && (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS))
    RefuseTakenTemporary(FileName, Temporary);
  if (file == INVALID_HANDLE_VALUE) CannotCreate(FileName, LastError());
  std::string failure;
  WriteInPieces(Pieces, [&](std::string_view Bytes) {
    for (std::size_t done = 0; failure.empty() && done < Bytes.size();) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(Bytes.size() - done, 1u << 30));
      if (!WriteFile(file, Bytes.data() + done, chunk, &written, nullptr) || written == 0) failure = LastError();
      done += written;
    }
    return failure.empty();
  });
  if (failure.empty() && !FlushFileBuffers(file)) failure = LastError();
  CloseHandle(file);
  if (!failure.empty()) {
    DeleteFileA(Temporary.c_str());
    CannotCreate(FileName, failure);
  }
}

void RemoveStaleTemporaries(const std::string& Folder, const std::string& Prefix) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((Folder + Prefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    const unsigned long pid = std::strtoul(name.c_str() + Prefix.size(), nullptr, 10);
    if (name.compare(0, Prefix.size(), Prefix) == 0 && pid != CurrentProcess() && ProcessGone(pid))
      DeleteFileA((Folder + name).c_str());
  } while (FindNextFileA(search, &found));
  FindClose(search);
}
#else
const char* KindOf(mode_t Mode) {
  if (S_ISDIR(Mode)) return "a folder";
  if (S_ISLNK(Mode)) return "a symbolic link";
  if (S_ISFIFO(Mode)) return "a FIFO";
  if (S_ISCHR(Mode)) return "a character device";
  if (S_ISBLK(Mode)) return "a block device";
  if (S_ISSOCK(Mode)) return "a socket";
  return "no regular file";
}

// Refuses what a new regular file must not take the place of, and what a plain write could not
// change either.
void RefuseUnlessReplaceable(const std::string& FileName, const std::string& Target, const struct stat& Old) {
  if (S_ISDIR(Old.st_mode)) CannotCreate(FileName, std::strerror(EISDIR));
  if (!S_ISREG(Old.st_mode)) CannotCreate(FileName, std::string("it is ") + KindOf(Old.st_mode) + ", not a regular file, and is left as it is");
  if (Old.st_nlink > 1)
    CannotCreate(FileName, "it has " + std::to_string(Old.st_nlink) + " hard links, which a new file would part, and is left as it is");
  if (::faccessat(AT_FDCWD, Target.c_str(), W_OK, AT_EACCESS) != 0) CannotCreate(FileName, LastError());
}

// Writes the temporary with the old file's owner and mode, set before any byte is in it.
void WriteTemporary(const std::string& Temporary, std::span<const std::string_view> Pieces, const struct stat* Old,
                    const std::string& FileName) {
  const int fd = ::open(Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, Old ? 0600 : 0666);
  if (fd < 0 && errno == EEXIST) RefuseTakenTemporary(FileName, Temporary);
  if (fd < 0) CannotCreate(FileName, LastError());
  std::string failure;
  if (Old) {
    mode_t mode = Old->st_mode & 07777;
    if (::fchown(fd, Old->st_uid, Old->st_gid) != 0) {
      if (::fchown(fd, static_cast<uid_t>(-1), Old->st_gid) != 0) {
      }
      mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);  // not someone else's rights for our file
    }
    if (::fchmod(fd, mode) != 0) failure = LastError();
  }
  if (failure.empty()) {
    WriteInPieces(Pieces, [&](std::string_view Bytes) {
      for (std::size_t done = 0; failure.empty() && done < Bytes.size();) {
        const ssize_t n = ::write(fd, Bytes.data() + done, Bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) failure = n < 0 ? LastError() : std::strerror(EIO);
        else done += static_cast<std::size_t>(n);
      }
      return failure.empty();
    });
  }
  if (failure.empty() && ::fsync(fd) != 0) failure = LastError();
  if (::close(fd) != 0 && failure.empty()) failure = LastError();
  if (!failure.empty()) {
    ::unlink(Temporary.c_str());
    CannotCreate(FileName, failure);
  }
}

void SyncFolder(const std::string& Folder) {
  const int fd = ::open(Folder.empty() ? "." : Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // best effort: the rename is done, and some file systems refuse this
  ::close(fd);
}

void RemoveStaleTemporaries(const std::string& Folder, const std::string& Prefix) {
  DIR* dir = ::opendir(Folder.empty() ? "." : Folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.compare(0, Prefix.size(), Prefix) != 0) continue;
    const unsigned long pid = std::strtoul(name.c_str() + Prefix.size(), nullptr, 10);
    if (pid != CurrentProcess() && ProcessGone(pid)) ::unlink((Folder + name).c_str());
  }
  ::closedir(dir);
}
#endif

void Pause(int Milliseconds) {
#ifdef _WIN32
  Sleep(static_cast<DWORD>(Milliseconds));
#else
  const timespec pause{0, static_cast<long>(Milliseconds) * 1000000L};
  ::nanosleep(&pause, nullptr);
#endif
}

// Calls TryLock until it takes the lock, pausing between the tries; tells the program once when
// the wait has gone on for LockWaitNotice.
template <class TTry>
void WaitFor(const TTry& TryLock, const std::string& FileName, const std::string& LockName) {
  if (TryLock()) return;
  const auto start = std::chrono::steady_clock::now();
  bool told = false;
  for (int pause = 1; !TryLock(); pause = std::min(pause * 2, 50)) {
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    if (!told && waited.count() >= FileNotifications.LockWaitNotice) {
      told = true;
      if (FileNotifications.OnLockWait) FileNotifications.OnLockWait(FileName, LockName);
    }
    Pause(pause);
  }
}

// Takes the lock of the companion file LockName, waiting for another holder; returns its handle.
std::intptr_t AcquireLock(const std::string& LockName, const std::string& FileName) {
#ifdef _WIN32
  HANDLE file = CreateFileA(LockName.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) CannotCreate(FileName, "cannot open its lock \"" + LockName + "\": " + LastError());
  BY_HANDLE_FILE_INFORMATION info{};
  const char* refused = nullptr;
  std::string links;
  if (GetFileType(file) != FILE_TYPE_DISK) refused = "is a device";
  else if (!GetFileInformationByHandle(file, &info)) refused = "cannot be examined";
  else if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) refused = "is a link";
  else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) refused = "is a folder";
  else if (info.nNumberOfLinks > 1) links = "has " + std::to_string(info.nNumberOfLinks) + " hard links";
  if (refused || !links.empty()) {
    CloseHandle(file);
    RefuseLock(FileName, LockName, refused ? refused : links);
  }
  try {
    WaitFor(
        [&] {
          OVERLAPPED whole{};
          if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) return true;
          if (GetLastError() == ERROR_LOCK_VIOLATION || GetLastError() == ERROR_IO_PENDING) return false;
          CannotCreate(FileName, "cannot lock \"" + LockName + "\": " + LastError());
        },
        FileName, LockName);
  } catch (...) {
    CloseHandle(file);
    throw;
  }
  return reinterpret_cast<std::intptr_t>(file);
#else
  // What a companion must be before it is opened (a device is not even opened) and once it is.
  const auto refuseUnlessOurs = [&](const struct stat& St) {
    if (!S_ISREG(St.st_mode)) RefuseLock(FileName, LockName, std::string("is ") + KindOf(St.st_mode));
    if (St.st_nlink > 1) RefuseLock(FileName, LockName, "has " + std::to_string(St.st_nlink) + " hard links");
    if (St.st_uid != ::geteuid()) RefuseLock(FileName, LockName, "belongs to another user (" + std::to_string(St.st_uid) + ")");
  };
  for (;;) {
    struct stat found {};
    if (::lstat(LockName.c_str(), &found) == 0) refuseUnlessOurs(found);
    const int fd = ::open(LockName.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0 && errno == ELOOP) RefuseLock(FileName, LockName, "is a symbolic link");
    if (fd < 0) CannotCreate(FileName, "cannot open its lock \"" + LockName + "\": " + LastError());
    struct stat held {}, named {};
    try {
      if (::fstat(fd, &held) != 0) CannotCreate(FileName, "cannot examine its lock \"" + LockName + "\": " + LastError());
      refuseUnlessOurs(held);
      WaitFor(
          [&] {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
            if (errno == EWOULDBLOCK || errno == EINTR) return false;
            CannotCreate(FileName, "cannot lock \"" + LockName + "\": " + LastError());
          },
          FileName, LockName);
    } catch (...) {
      ::close(fd);
      throw;
    }
    if (::lstat(LockName.c_str(), &named) == 0 && held.st_dev == named.st_dev && held.st_ino == named.st_ino) return fd;
    ::close(fd);  // the holder we waited for removed it: lock the one that is there now
  }
#endif
}

void ReleaseLock(std::intptr_t Handle, const std::string& LockName) {
#ifdef _WIN32
  (void)LockName;
  OVERLAPPED whole{};
  UnlockFileEx(reinterpret_cast<HANDLE>(Handle), 0, 1, 0, &whole);
  CloseHandle(reinterpret_cast<HANDLE>(Handle));
#else
  ::unlink(LockName.c_str());  // before letting go, so that no one locks a removed file for good
  ::close(static_cast<int>(Handle));
#endif
}

// A replacement prepared: its temporary written, its target's lock held until it is renamed.
struct Prepared {
  std::string FileName;  // as ReplaceFile was given it
  std::string Target;    // links followed
  std::string Temporary;
  std::string Prefix;  // of the target's temporaries, for the stale ones
  std::unique_ptr<TFileLock> Lock;
};

// The replacements of the active batches, in the order prepared, and how deep batches nest.
struct BatchState {
  std::vector<Prepared> Pending;
  int Depth = 0;
};
BatchState& Batch() {
  static BatchState batch;
  return batch;
}

// The latest replacement of FileName's target prepared in the active batch; nullptr for none.
const Prepared* PreparedFor(const std::string& FileName) {
  const std::vector<Prepared>& pending = Batch().Pending;
  if (pending.empty()) return nullptr;
  std::string target;
  try {
    target = FollowLinks(FileName);
  } catch (const EFCreateError&) {
    return nullptr;  // no file name: nothing is prepared for it
  }
  for (auto it = pending.rbegin(); it != pending.rend(); ++it)
    if (it->Target == target) return &*it;
  return nullptr;
}

void RemoveTemporary(const Prepared& P) {
#ifdef _WIN32
  DeleteFileA(P.Temporary.c_str());
#else
  ::unlink(P.Temporary.c_str());
#endif
}

// Checks the target, takes its lock and writes the temporary beside it.
void Prepare(const std::string& FileName, std::span<const std::string_view> Pieces) {
  const std::string target = FollowLinks(FileName);
  auto lock = std::make_unique<TFileLock>(FileName);
  const std::string folder = FolderOf(target);
  const std::string prefix = "." + NameHash(NameOf(target)) + ".lmt~";
  static unsigned counter = 0;
  const std::string temporary = folder + prefix + std::to_string(CurrentProcess()) + "-" + std::to_string(++counter);
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesA(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND) CannotCreate(FileName, LastError());
  if (exists) RefuseUnlessReplaceable(FileName, target, attributes);
  WriteTemporary(temporary, Pieces, exists ? &attributes : nullptr, FileName);
#else
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) CannotCreate(FileName, LastError());
  if (exists) RefuseUnlessReplaceable(FileName, target, old);
  WriteTemporary(temporary, Pieces, exists ? &old : nullptr, FileName);
#endif
  Batch().Pending.push_back({FileName, target, temporary, prefix, std::move(lock)});
}

// Puts the temporary in its target's place.
void Rename(const Prepared& P) {
#ifdef _WIN32
  if (!MoveFileExA(P.Temporary.c_str(), P.Target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    CannotCreate(P.FileName, LastError());
#else
  if (::rename(P.Temporary.c_str(), P.Target.c_str()) != 0) CannotCreate(P.FileName, LastError());
  SyncFolder(FolderOf(P.Target));
#endif
  RemoveStaleTemporaries(FolderOf(P.Target), P.Prefix);
}

}  // namespace

TFileLock::TFileLock(const std::string& FileName) : FLockName(LockNameOf(FollowLinks(FileName))) {
  auto& held = HeldLocks();
  auto it = held.try_emplace(FLockName).first;
  if (it->second.Count == 0) {
    try {
      it->second.Handle = AcquireLock(FLockName, FileName);
    } catch (...) {
      held.erase(it);
      throw;
    }
  }
  ++it->second.Count;
}

TFileLock::~TFileLock() {
  auto& held = HeldLocks();
  const auto it = held.find(FLockName);
  if (--it->second.Count > 0) return;
  ReleaseLock(it->second.Handle, FLockName);
  held.erase(it);
}

std::string ReadFileBytes(const std::string& FileName) {
  const Prepared* prepared = PreparedFor(FileName);
  const std::string& source = prepared ? prepared->Temporary : FileName;
  std::FILE* f = std::fopen(source.c_str(), "rb");
  if (!f) throw EFOpenError("Cannot open file \"" + FileName + "\": " + Reason());
  // One read of the size the file has (a large file is read whole, and copying it from chunks
  // costs as much as reading it), then whatever it grew by meanwhile or, for what has no size,
  // everything in chunks.
  std::string bytes;
  const std::int64_t size = FileSeek(f, 0, TSeekOrigin::soEnd);
  if (size > 0 && FileSeek(f, 0, TSeekOrigin::soBeginning) == 0) {
    bytes.resize(static_cast<std::size_t>(size));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  } else {
    std::clearerr(f);
  }
  char buf[65536];
  std::size_t n;
  while (!std::ferror(f) && (n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  // The reason of the failed read, not of what comes after it.
  const std::string failure = std::ferror(f) ? Reason() : std::string();
  std::fclose(f);
  if (!failure.empty()) throw EFOpenError("Cannot read file \"" + FileName + "\": " + failure);
  return bytes;
}

std::optional<std::string> ReadFileIfExists(const std::string& FileName) {
  if (!PreparedFor(FileName) && !FileExists(FileName)) return std::nullopt;
  return ReadFileBytes(FileName);
}

TFileNotifications FileNotifications;

std::string TFileNotifications::LockWaitText(const std::string& FileName, const std::string& LockName) {
  return "waiting for " + FileName + ": another program is writing it (it holds the lock " + LockName + ")";
}

void ReplaceFile(const std::string& FileName, std::span<const std::string_view> Pieces) {
  TReplaceBatch batch;  // on its own, or part of the batch that is active
  Prepare(FileName, Pieces);
  batch.Commit();
}

void ReplaceFile(const std::string& FileName, std::string_view Bytes) { ReplaceFile(FileName, std::span(&Bytes, 1)); }

TReplaceBatch::TReplaceBatch() : FStart(Batch().Pending.size()) { ++Batch().Depth; }

TReplaceBatch::~TReplaceBatch() {
  BatchState& batch = Batch();
  --batch.Depth;
  if (FCommitted) return;
  for (std::size_t i = batch.Pending.size(); i > FStart; --i) RemoveTemporary(batch.Pending[i - 1]);
  batch.Pending.resize(std::min(FStart, batch.Pending.size()));
}

void TReplaceBatch::Commit() {
  BatchState& batch = Batch();
  FCommitted = true;
  if (batch.Depth > 1) return;
  std::vector<Prepared> pending = std::move(batch.Pending);
  batch.Pending.clear();
  std::size_t i = 0;
  try {
    for (; i < pending.size(); ++i) {
      const Prepared& p = pending[i];
      const bool later = std::any_of(pending.begin() + static_cast<std::ptrdiff_t>(i) + 1, pending.end(),
                                     [&](const Prepared& q) { return q.Target == p.Target; });
      if (later) {
        RemoveTemporary(p);  // a later content of the same file replaces it
        continue;
      }
      Rename(p);
      if (FileNotifications.OnReplaced) FileNotifications.OnReplaced(p.FileName);
    }
  } catch (...) {
    for (; i < pending.size(); ++i) RemoveTemporary(pending[i]);
    throw;  // the locks go with the list
  }
}

}  // namespace vcl
