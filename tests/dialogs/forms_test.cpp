// The application object, the screen and the exit chain.
#include "vcl/Forms.hpp"

#include "test_support.hpp"

using namespace vcl;

namespace {
std::string Trace;
TProcedure SavedA = nullptr, SavedB = nullptr;
void ExitA() {
  Trace += "A";
  ExitProc = SavedA;
}
void ExitB() {
  Trace += "B";
  ExitProc = SavedB;
}
}  // namespace

TEST(Forms, ExitChainRunsEachProcedureOnceNewestFirst) {
  const TProcedure outer = ExitProc;
  ExitProc = nullptr;  // run only this test's chain
  SavedA = ExitProc;
  ExitProc = &ExitA;
  SavedB = ExitProc;
  ExitProc = &ExitB;
  Trace.clear();
  RunExitProcs();
  EXPECT_EQ(Trace, "BA");
  EXPECT_EQ(ExitProc, nullptr);
  RunExitProcs();
  EXPECT_EQ(Trace, "BA");
  ExitProc = outer;
}

TEST(Forms, ApplicationOwnsFormsAndDataModules) {
  auto* form = new TForm(Application);
  auto* module = new TDataModule(Application);
  const int n = Application->ComponentCount();
  EXPECT_EQ(Application->Components(n - 2), form);
  EXPECT_EQ(Application->Components(n - 1), module);
  delete form;
  delete module;
  EXPECT_EQ(Application->ComponentCount(), n - 2);
}

TEST(Forms, ExeNameIsTheRunningProgram) {
  const std::string exe = Application->ExeName();
  EXPECT_NE(exe.find("dialogs_tests"), std::string::npos) << exe;
  EXPECT_EQ(Screen->Cursor(), crDefault);
}
