// Two processes that rewrite one translation text file or dictionary at once lose no update.
#include "Vek.hpp"

#include "test_support.hpp"
#include "vcl/Forms.hpp"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

using testing_support::ReadFile;
using testing_support::ScratchDir;
using Vek::TLumetra;

namespace {

constexpr int Rounds = 25;

// Runs Write(0..Rounds-1) in a child process and Write(Rounds..2*Rounds-1) here, at once; each
// round writes something of its own into the file.
void InTwoProcesses(const std::function<void(int Round)>& Write) {
  const pid_t child = fork();
  if (child == 0) {
    int code = 0;
    try {
      for (int i = 0; i < Rounds; ++i) Write(i);
    } catch (const vcl::Exception&) {
      code = 1;
    }
    _exit(code);
  }
  for (int i = Rounds; i < 2 * Rounds; ++i) Write(i);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other writer failed";
}

class ConcurrentWriters : public ::testing::Test {
protected:
  ConcurrentWriters() { FForm->SetName("Form1"); }
  ~ConcurrentWriters() override { delete FForm; }
  // The one translated entry and its original, different in every round.
  void Round(int I) {
    FLmt->Translations()->Clear();
    FLmt->OrgProps()->Clear();
    FLmt->Translations()->SortInsert("TOpenDialog.Caption='t" + std::to_string(I) + "'", nullptr);
    FLmt->OrgProps()->SortInsert("TOpenDialog.Caption='o" + std::to_string(I) + "'", nullptr);
  }
  ScratchDir FDir;
  vcl::TForm* FForm = new vcl::TForm(vcl::Application);
  TLumetra* FLmt = new TLumetra(FForm);
};

}  // namespace

TEST_F(ConcurrentWriters, EveryLocaleSavedIntoOneTextFileIsThere) {
  const std::string file = FDir.File("lang.txt");
  InTwoProcesses([&](int I) {
    Round(I);
    FLmt->SetLocale(1000 + I);
    FLmt->SaveTo(file);
  });
  const std::string text = ReadFile(file);
  for (int i = 0; i < 2 * Rounds; ++i) {
    const std::string line = "#0Form1.TOpenDialog.Caption%" + std::to_string(1000 + i) + "='t" + std::to_string(i) + "'\r\n";
    EXPECT_NE(text.find(line), std::string::npos) << "lost: " << line;
  }
}

TEST_F(ConcurrentWriters, EveryPairExportedToOneDictionaryIsThere) {
  const std::string file = FDir.File("fr.dic");
  InTwoProcesses([&](int I) {
    Round(I);
    FLmt->TranslateTo(file);
  });
  const std::string text = ReadFile(file);
  for (int i = 0; i < 2 * Rounds; ++i) {
    const std::string line = "o" + std::to_string(i) + "\tt" + std::to_string(i) + "\r\n";
    EXPECT_NE(text.find(line), std::string::npos) << "lost: " << line;
  }
}
#endif
