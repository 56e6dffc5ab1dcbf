// Scratch folders and whole-file helpers for tests.
#include "test_support.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#ifndef _WIN32
#include <unistd.h>
#endif
#include <random>
#include <sstream>

namespace testing_support {

ScratchDir::ScratchDir() {
  std::random_device rd;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "lumetra";
  FPath = std::filesystem::temp_directory_path() / ("lumetra-" + name + "-" + std::to_string(rd()));
  std::filesystem::create_directories(FPath);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(FPath, ec);
}

ReadOnlyFolder::ReadOnlyFolder(std::filesystem::path Folder) : FFolder(std::move(Folder)) {
  namespace fs = std::filesystem;
  // Readable by everyone, so that the old file can still be read without privileges.
  for (const auto& entry : fs::directory_iterator(FFolder))
    fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::add);
  fs::permissions(FFolder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
#ifndef _WIN32
  if (geteuid() == 0) FDroppedPrivileges = seteuid(65534) == 0;  // "nobody"
#endif
  const fs::path probe = FFolder / "probe";
  if (std::FILE* f = std::fopen(probe.string().c_str(), "wb")) {
    std::fclose(f);
    fs::remove(probe);
    FWhyNot = "this process can still create files in a read-only folder";
  }
}

ReadOnlyFolder::~ReadOnlyFolder() {
#ifndef _WIN32
  if (FDroppedPrivileges && seteuid(0) != 0) std::abort();
#endif
  std::error_code ec;
  std::filesystem::permissions(FFolder, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
}

Unprivileged::Unprivileged() {
#ifndef _WIN32
  if (geteuid() == 0) FDropped = seteuid(65534) == 0;
#endif
}

Unprivileged::~Unprivileged() {
#ifndef _WIN32
  if (FDropped && seteuid(0) != 0) std::abort();
#endif
}

std::string HostileForm(const std::string& FileName) {
  return "object Form1: TForm1\n"
         "  object OpenDialog1: TOpenDialog\n"
         "  end\n"
         "  object Lumetra1: TLumetra\n"
         "    FileName = '" + FileName + "'\n"
         "    Locale = 1036\n"
         "    Translations.Strings = (\n"
         "      'TOpenDialog.Caption[1091]='#39'x'#39#10'ssh-ed25519 AAAAC3Nza evil@attacker'#10'#')\n"
         "    Storage = (\n"
         "      'TOpenDialog.Caption[1090]='#39'File &name:'#39)\n"
         "  end\n"
         "end\n";
}

void WriteFile(const std::string& FileName, const std::string& Bytes) {
  std::ofstream out(FileName, std::ios::binary);
  out << Bytes;
  EXPECT_TRUE(out.good()) << "cannot write " << FileName;
}

std::string ReadFile(const std::string& FileName) {
  std::ifstream in(FileName, std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot read " << FileName;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> FormFileNames(const std::string& Folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Folder)) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".dfm" || ext == ".lfm") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string AsTestName(std::string Text) {
  for (char& c : Text)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return Text;
}

}  // namespace testing_support
