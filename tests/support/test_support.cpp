// Scratch folders and whole-file helpers for tests.
#include "test_support.hpp"

#include <fstream>
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

}  // namespace testing_support
