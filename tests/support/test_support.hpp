// Shared test helpers: exception-message checks and scratch folders.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

/// Expects `statement` to throw `type` whose Message() equals `message`.
#define EXPECT_THROW_MSG(statement, type, message)                                   \
  do {                                                                               \
    try {                                                                            \
      statement;                                                                     \
      ADD_FAILURE() << "Expected " #type " from " #statement;                        \
    } catch (const type& e) {                                                        \
      EXPECT_EQ(std::string(e.Message()), std::string(message)) << "from " #statement; \
    }                                                                                \
  } while (false)

namespace testing_support {

/// A fresh folder below the system's temporary folder, removed with its content at scope end.
class ScratchDir {
public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  /// The full name of a file in the folder, as the library's file functions take it.
  std::string File(const std::string& Name) const { return (FPath / Name).string(); }

private:
  std::filesystem::path FPath;
};

/// Makes a folder read-only for this process for its lifetime. A superuser is not stopped by
/// permissions, so on Linux the process then also acts as an unprivileged user meanwhile.
class ReadOnlyFolder {
public:
  explicit ReadOnlyFolder(std::filesystem::path Folder);
  ~ReadOnlyFolder();
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  /// Whether creating a file in the folder really fails now.
  bool Effective() const { return FWhyNot.empty(); }
  const std::string& WhyNot() const { return FWhyNot; }

private:
  std::filesystem::path FFolder;
  bool FDroppedPrivileges = false;
  std::string FWhyNot;
};

/// Acts as the unprivileged user "nobody" for its lifetime when the process is the superuser,
/// whom permissions do not stop; does nothing otherwise (and on Windows).
class Unprivileged {
public:
  Unprivileged();
  ~Unprivileged();
  Unprivileged(const Unprivileged&) = delete;
  Unprivileged& operator=(const Unprivileged&) = delete;

private:
  bool FDropped = false;
};

/// The lines of a string list (anything with Count() and Strings(i)), for comparisons.
template <class TList>
std::vector<std::string> LinesOf(const TList& List) {
  std::vector<std::string> lines;
  for (int i = 0; i < List.Count(); ++i) lines.push_back(List.Strings(i));
  return lines;
}

/// A text form from someone else: its translator's FileName names FileName, and one entry holds
/// raw line feeds that would put a line of the attacker's into that file. Its dialog is an open
/// dialog, whose file name label it captured ('File &name:', control 1090).
std::string HostileForm(const std::string& FileName);

/// Writes Bytes to the file exactly as given.
void WriteFile(const std::string& FileName, const std::string& Bytes);
/// The file's bytes; fails the test when it cannot be read.
std::string ReadFile(const std::string& FileName);

/// The names of the form files (.dfm, .lfm) in Folder, sorted: the real forms of the tests.
std::vector<std::string> FormFileNames(const std::string& Folder);
/// Text as the name of a test: every character but letters and digits becomes "_".
std::string AsTestName(std::string Text);

}  // namespace testing_support
