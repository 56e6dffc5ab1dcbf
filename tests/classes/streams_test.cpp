// Memory and file streams: reads, writes, seeks and short reads; replacing and locking files.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>

#include "vcl/Classes.hpp"
#ifdef _WIN32
#include <process.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "test_support.hpp"

using namespace vcl;

TEST(Streams, MemoryStreamReadsWhatWasWrittenAndStopsAtTheEnd) {
  TMemoryStream m;
  m.WriteBuffer("abcdef", 6);
  EXPECT_EQ(m.Size(), 6);
  m.SetPosition(4);
  char buf[8] = {};
  EXPECT_EQ(m.Read(buf, 8), 2);
  EXPECT_EQ(std::string(buf, 2), "ef");
  m.SetPosition(5);
  EXPECT_THROW_MSG(m.ReadBuffer(buf, 2), EReadError, "Stream read error");
  m.Seek(-2, TSeekOrigin::soEnd);
  m.WriteBuffer("XYZ", 3);  // overwrites the tail and grows
  EXPECT_EQ(std::string(m.Bytes().begin(), m.Bytes().end()), "abcdXYZ");
}

TEST(Streams, FileStreamWritesAndReadsBack) {
  testing_support::ScratchDir dir;
  const std::string file = dir.File("s.bin");
  {
    TFileStream out(file, fmCreate);
    out.WriteBuffer("\x00\x01\xff", 3);
  }
  TFileStream in(file, fmOpenRead);
  EXPECT_EQ(in.Size(), 3);
  unsigned char b[3];
  in.ReadBuffer(b, 3);
  EXPECT_EQ(b[2], 0xff);
  EXPECT_EQ(in.Read(b, 1), 0);
  EXPECT_THROW(TFileStream(dir.File("none.bin"), fmOpenRead), EFOpenError);
}

// ---- Replacing a file ------------------------------------------------------------------------

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

// The names in a folder, sorted.
std::vector<std::string> Names(const fs::path& Folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The message of the EFCreateError that ReplaceFile raises, or "" when it raises none.
std::string ReplaceError(const std::string& FileName, const std::string& Bytes) {
  try {
    ReplaceFile(FileName, Bytes);
  } catch (const EFCreateError& e) {
    return e.Message();
  }
  return "";
}

#ifndef _WIN32
using testing_support::Unprivileged;

// Runs Body in a child process; answers its exit status as waitpid gives it.
int InChild(const std::function<int()>& Body) {
  const pid_t pid = fork();
  if (pid == 0) {
    int code = 2;
    try {
      code = Body();
    } catch (const Exception&) {
    }
    _exit(code);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}
#endif

}  // namespace

TEST(ReplaceFile, WritesANewFileAndReplacesAnOldOneLeavingNothingElse) {
  ScratchDir dir;
  const std::string file = dir.File("a.txt");
  ReplaceFile(file, std::string("one\0two", 7));
  EXPECT_EQ(ReadFile(file), std::string("one\0two", 7));
  ReplaceFile(file, "");
  EXPECT_EQ(ReadFile(file), "");
#ifdef _WIN32
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{".a.txt.lmt-lock", "a.txt"})) << "no temporary; the lock stays";
#else
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.txt"})) << "no temporary and no lock left behind";
#endif
}

TEST(ReplaceFile, ReadOnlyFileIsRefusedAndKept) {
  ScratchDir dir;
  const std::string file = dir.File("ro.txt");
  WriteFile(file, "old");
  fs::permissions(dir.Path(), fs::perms::all);  // a folder anyone may write in: only the file says no
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  {
#ifndef _WIN32
    Unprivileged nobody;
#endif
    EXPECT_EQ(ReplaceError(file, "new"), "Cannot create file \"" + file + "\": Permission denied");
  }
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(ReadFile(file), "old");
}

TEST(ReplaceFile, WhatIsNoRegularFileIsRefusedWithTheReason) {
  ScratchDir dir;
  const std::string folder = dir.File("adir");
  fs::create_directory(folder);
  EXPECT_EQ(ReplaceError(folder, "x"), "Cannot create file \"" + folder + "\": Is a directory");
  EXPECT_EQ(ReplaceError(folder + "/", "x"), "Cannot create file \"" + folder + "/\": Is a directory");
  EXPECT_EQ(ReplaceError("", "x"), "Cannot create file \"\": No such file or directory");
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(fs::is_empty(folder));

  const std::string missing = dir.File("none/x.txt");
  EXPECT_EQ(ReplaceError(missing, "x").rfind("Cannot create file \"" + missing + "\": ", 0), 0u) << ReplaceError(missing, "x");

  const std::string file = dir.File("one.txt"), other = dir.File("two.txt");
  WriteFile(file, "shared");
  std::error_code ec;
  fs::create_hard_link(file, other, ec);
  if (ec) GTEST_SKIP() << "no hard links here: " << ec.message();
  for (const std::string& name : {file, other})
    EXPECT_EQ(ReplaceError(name, "new"),
              "Cannot create file \"" + name + "\": it has 2 hard links, which a new file would part, and is left as it is");
  EXPECT_EQ(ReadFile(other), "shared");
  WriteFile(file, "changed");
  EXPECT_EQ(ReadFile(other), "changed") << "still one file under two names";
}

#ifndef _WIN32
TEST(ReplaceFile, FifoAndDeviceAreLeftAsTheyAre) {
  ScratchDir dir;
  const std::string fifo = dir.File("fifo"), device = dir.File("null");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(ReplaceError(fifo, "x"), "Cannot create file \"" + fifo + "\": it is a FIFO, not a regular file, and is left as it is");
  EXPECT_TRUE(fs::is_fifo(fifo));
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "no device node without privileges";
  EXPECT_EQ(ReplaceError(device, "x"),
            "Cannot create file \"" + device + "\": it is a character device, not a regular file, and is left as it is");
  EXPECT_TRUE(fs::is_character_file(device));
}

TEST(ReplaceFile, KeepsModeAndOwner) {
  ScratchDir dir;
  const std::string file = dir.File("mode.txt");
  for (const fs::perms mode : {fs::perms(0600), fs::perms(0640), fs::perms(0755), fs::perms(0604)}) {
    WriteFile(file, "old");
    fs::permissions(file, mode);
    ReplaceFile(file, "new");
    EXPECT_EQ(fs::status(file).permissions(), mode);
    EXPECT_EQ(ReadFile(file), "new");
  }
  if (geteuid() != 0) GTEST_SKIP() << "only the superuser may give a file to another owner";
  ASSERT_EQ(chown(file.c_str(), 65534, 65534), 0);
  ReplaceFile(file, "newer");
  struct stat st {};
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
}

TEST(ReplaceFile, FollowsSymbolicLinksAndTheirChains) {
  ScratchDir dir;
  fs::create_directory(dir.Path() / "sub");
  const std::string target = dir.File("sub/target.txt");
  WriteFile(target, "old");
  const struct {
    const char* Link;
    const char* To;  // as the link holds it
  } links[] = {{"abs", nullptr}, {"rel", "sub/target.txt"}, {"sub/up", "../rel"}, {"chain", "sub/up"}};
  for (const auto& l : links) {
    fs::create_symlink(l.To ? fs::path(l.To) : fs::path(target), dir.Path() / l.Link);
    const std::string content = std::string("through ") + l.Link;
    ReplaceFile(dir.File(l.Link), content);
    EXPECT_TRUE(fs::is_symlink(dir.Path() / l.Link)) << l.Link;
    EXPECT_EQ(ReadFile(target), content) << l.Link;
  }
  EXPECT_EQ(Names(dir.Path() / "sub"), (std::vector<std::string>{"target.txt", "up"}));

  fs::create_symlink("new.txt", dir.Path() / "dangling");
  ReplaceFile(dir.File("dangling"), "made");
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "dangling"));
  EXPECT_EQ(ReadFile(dir.File("new.txt")), "made");

  fs::create_symlink("loop2", dir.Path() / "loop1");
  fs::create_symlink("loop1", dir.Path() / "loop2");
  EXPECT_EQ(ReplaceError(dir.File("loop1"), "x"), "Cannot create file \"" + dir.File("loop1") + "\": Too many levels of symbolic links");
}

TEST(ReplaceFile, NamesOfTheLongestLengthWork) {
  ScratchDir dir;
  const std::string file = dir.File(std::string(255, 'n'));
  ReplaceFile(file, "first");
  ReplaceFile(file, "second");
  EXPECT_EQ(ReadFile(file), "second");
  EXPECT_EQ(Names(dir.Path()).size(), 1u);
}

TEST(ReplaceFile, NextReplacementRemovesTheTemporariesOfAKilledWriter) {
  ScratchDir dir;
  const std::string file = dir.File("big.txt");
  WriteFile(file, "old");
  // The child is killed by the file size limit in the middle of writing its temporary.
  const int status = InChild([&] {
    const rlimit limit{10, 10};
    setrlimit(RLIMIT_FSIZE, &limit);
    ReplaceFile(file, std::string(100, 'x'));
    return 0;
  });
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child was not killed";
  std::vector<std::string> names = Names(dir.Path());
  ASSERT_EQ(names.size(), 3u);  // ".<hash>.lmt~<pid>-<n>", ".big.txt.lmt-lock", "big.txt"
  const std::string stale = names[0];
  ASSERT_NE(stale.find(".lmt~"), std::string::npos) << stale;
  EXPECT_LE(stale.size(), 32u);
  EXPECT_EQ(names[1], ".big.txt.lmt-lock") << "the lock of a killed writer stays until the next one takes it";
  EXPECT_EQ(ReadFile(file), "old");

  // Temporaries of the same target by a live writer (init), and of another target, stay.
  const std::string prefix = stale.substr(0, stale.find('~') + 1);
  const std::string live = prefix + "1-1", other = ".00000000.lmt~" + stale.substr(prefix.size());
  WriteFile(dir.File(live), "");
  WriteFile(dir.File(other), "");
  ReplaceFile(file, "new");
  EXPECT_EQ(ReadFile(file), "new");
  std::vector<std::string> left{other, live, "big.txt"};
  std::sort(left.begin(), left.end());
  EXPECT_EQ(Names(dir.Path()), left);
}
#endif

namespace {

// One writer: rounds of read, add its letter, replace, each under the lock.
constexpr int AppendRounds = 40;
void Append(const std::string& File, char Who) {
  for (int i = 0; i < AppendRounds; ++i) {
    const TFileLock lock(File);
    const std::string text = FileExists(File) ? ReadFileBytes(File) : std::string();
    const TFileLock again(File);  // nested in the same process: no wait for itself
    ReplaceFile(File, text + Who);
  }
}

}  // namespace

TEST(FileLock, TwoProcessesThatAppendUnderTheLockLoseNothing) {
#ifdef _WIN32
  // The second writer is this program again, running only this test's writer part.
  if (const char* other = std::getenv("LUMETRA_LOCK_TEST_FILE")) {
    Append(other, 'a');
    return;
  }
#endif
  ScratchDir dir;
  const std::string file = dir.File("log.txt");
#ifdef _WIN32
  _putenv_s("LUMETRA_LOCK_TEST_FILE", file.c_str());
  const std::string self = testing::internal::GetArgvs()[0];
  const std::intptr_t child = _spawnl(_P_NOWAIT, self.c_str(), self.c_str(), "--gtest_filter=FileLock.TwoProcesses*", nullptr);
  _putenv_s("LUMETRA_LOCK_TEST_FILE", "");
  ASSERT_NE(child, -1) << "cannot start " << self;
  Append(file, 'b');
  int status = -1;
  _cwait(&status, child, 0);
  ASSERT_EQ(status, 0);
#else
  const pid_t pid = fork();
  if (pid == 0) {
    Append(file, 'a');
    _exit(0);
  }
  Append(file, 'b');
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
#endif
  const std::string text = ReadFile(file);
  EXPECT_EQ(std::count(text.begin(), text.end(), 'a'), AppendRounds);
  EXPECT_EQ(std::count(text.begin(), text.end(), 'b'), AppendRounds);
}

// ---- Replacing several files together --------------------------------------------------------

namespace {

// Records the names FileNotifications reports replaced, for the life of the object.
class ReplacedNames {
public:
  ReplacedNames() {
    FileNotifications.OnReplaced = [this](const std::string& FileName) { FNames.push_back(FileName); };
  }
  ~ReplacedNames() { FileNotifications.OnReplaced = nullptr; }
  ReplacedNames(const ReplacedNames&) = delete;
  ReplacedNames& operator=(const ReplacedNames&) = delete;
  const std::vector<std::string>& Names() const { return FNames; }

private:
  std::vector<std::string> FNames;
};

}  // namespace

TEST(ReplaceBatch, RenamesNothingUntilCommitThenEveryFileInOrder) {
  ScratchDir dir;
  const std::string a = dir.File("a.txt"), b = dir.File("b.txt");
  WriteFile(a, "old a");
  ReplacedNames replaced;
  {
    TReplaceBatch batch;
    ReplaceFile(a, "first a");
    ReplaceFile(b, "new b");
    ReplaceFile(a, "new a");  // the later content of one file is the one it gets
    EXPECT_EQ(ReadFile(a), "old a");
    EXPECT_FALSE(fs::exists(b));
    EXPECT_EQ(ReadFileBytes(a), "new a") << "a reader in the batch sees what it will leave";
    EXPECT_EQ(ReadFileIfExists(b), std::optional<std::string>("new b"));
    EXPECT_TRUE(replaced.Names().empty());
    batch.Commit();
  }
  EXPECT_EQ(ReadFile(a), "new a");
  EXPECT_EQ(ReadFile(b), "new b");
  EXPECT_EQ(replaced.Names(), (std::vector<std::string>{b, a}));
  EXPECT_EQ(ReadFileIfExists(dir.File("none.txt")), std::nullopt);
#ifndef _WIN32
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.txt", "b.txt"})) << "no temporary and no lock left behind";
#endif
}

TEST(ReplaceBatch, AFailureBeforeCommitLeavesEveryFileAsItWas) {
  ScratchDir dir;
  const std::string a = dir.File("a.txt"), folder = dir.File("adir");
  WriteFile(a, "old a");
  fs::create_directory(folder);
  ReplacedNames replaced;
  try {
    TReplaceBatch batch;
    ReplaceFile(a, "new a");
    ReplaceFile(dir.File("b.txt"), "new b");
    ReplaceFile(folder, "x");  // refused: the ones before it go too
    batch.Commit();
    FAIL() << "no error";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"" + folder + "\": Is a directory");
  }
  EXPECT_EQ(ReadFile(a), "old a");
  EXPECT_TRUE(replaced.Names().empty());
#ifndef _WIN32
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.txt", "adir"})) << "the temporaries and locks are gone";
#endif
}

TEST(ReplaceBatch, AJoinedBatchLeavesTheRenamesToTheOuterOneAndDropsOnlyItsOwnPart) {
  ScratchDir dir;
  const std::string a = dir.File("a.txt"), b = dir.File("b.txt"), c = dir.File("c.txt");
  {
    TReplaceBatch outer;
    ReplaceFile(a, "a");
    {
      TReplaceBatch kept;
      ReplaceFile(b, "b");
      kept.Commit();
    }
    EXPECT_FALSE(fs::exists(b)) << "renamed with the outer batch";
    {
      TReplaceBatch dropped;
      ReplaceFile(c, "c");
    }
    outer.Commit();
  }
  EXPECT_EQ(ReadFile(a), "a");
  EXPECT_EQ(ReadFile(b), "b");
  EXPECT_FALSE(fs::exists(c));
}

#ifndef _WIN32
TEST(ReplaceFile, ATemporaryWhoseNameIsTakenIsRefusedNamingIt) {
  ScratchDir dir;
  const std::string file = dir.File("t.txt");
  WriteFile(file, "old");
  // The name the next temporary gets: the one a dropped batch showed, its counter one up.
  std::string seen;
  {
    TReplaceBatch batch;
    ReplaceFile(file, "dropped");
    for (const std::string& name : Names(dir.Path()))
      if (name.find(".lmt~") != std::string::npos) seen = name;
  }
  ASSERT_FALSE(seen.empty());
  const std::size_t dash = seen.rfind('-');
  const auto next = [&](int Ahead) { return seen.substr(0, dash + 1) + std::to_string(std::stoi(seen.substr(dash + 1)) + Ahead); };
  const std::string planted = dir.File(next(1)), link = dir.File(next(2));
  WriteFile(planted, "theirs");
  fs::create_symlink(dir.Path() / "made-through-the-link", link);
  for (const std::string& taken : {planted, link})
    EXPECT_EQ(ReplaceError(file, "new"), "Cannot create file \"" + file + "\": the name of its temporary \"" + taken +
                                             "\" is taken by a file this process did not make, which is left as it is");
  EXPECT_EQ(ReadFile(file), "old");
  EXPECT_EQ(ReadFile(planted), "theirs");
  EXPECT_FALSE(fs::exists(dir.Path() / "made-through-the-link"));
}

TEST(FileLock, ACompanionThatIsNoLockFileOfOursIsRefusedAndLeftAsItIs) {
  ScratchDir dir;
  const std::string file = dir.File("t.txt"), lock = dir.File(".t.txt.lmt-lock");
  const fs::path forbidden = dir.Path() / "root-only" / "x";  // must never be created
  fs::create_directory(dir.Path() / "root-only");
  WriteFile(dir.File("other.txt"), "");
  const struct {
    const char* What;
    std::function<bool()> Plant;  // false: cannot be planted here
    std::string Refusal;
  } cases[] = {
      {"a link to a file to be", [&] { fs::create_symlink(forbidden, lock); return true; }, "is a symbolic link"},
      {"a link to a file", [&] { fs::create_symlink(dir.File("other.txt"), lock); return true; }, "is a symbolic link"},
      {"a FIFO", [&] { return mkfifo(lock.c_str(), 0666) == 0; }, "is a FIFO"},
      {"a folder", [&] { return fs::create_directory(lock); }, "is a folder"},
      {"a hard link", [&] { std::error_code ec; fs::create_hard_link(dir.File("other.txt"), lock, ec); return !ec; }, "has 2 hard links"},
      {"another user's file",
       [&] {
         WriteFile(lock, "");
         return geteuid() == 0 && chown(lock.c_str(), 65534, 65534) == 0;
       },
       "belongs to another user (65534)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    WriteFile(file, "old");
    if (!c.Plant()) {
      std::cout << "skipped: cannot plant " << c.What << " here\n";
    } else {
      const fs::file_status planted = fs::symlink_status(lock);
      EXPECT_EQ(ReplaceError(file, "new"),
                "Cannot create file \"" + file + "\": its lock \"" + lock + "\" " + c.Refusal + ", not a lock file of ours, and is left as it is");
      EXPECT_EQ(ReadFile(file), "old");
      EXPECT_EQ(fs::symlink_status(lock).type(), planted.type()) << "still there";
      EXPECT_FALSE(fs::exists(forbidden));
    }
    fs::remove(lock);
  }
}
#endif
