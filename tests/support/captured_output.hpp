// Capturing what the code under test prints on stdout or stderr.
#pragma once

#include <cstdio>
#include <string>

#include "test_support.hpp"

namespace testing_support {

/// What the process writes to Stream (stdout or stderr) while the capture lives, also through
/// other libraries and the C runtime: the stream's file descriptor goes to a scratch file. A
/// capture that cannot be set up fails the test and captures nothing.
class CapturedOutput {
public:
  explicit CapturedOutput(std::FILE* Stream);
  /// Gives the stream back when Text did not.
  ~CapturedOutput();
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

  /// Gives the stream back and answers what was written to it meanwhile; empty when called
  /// again.
  std::string Text();

private:
  void GiveBack();

  std::FILE* FStream;
  ScratchDir FDir;
  std::string FFile;
  int FSaved = -1;  // the stream's own descriptor while it is captured
};

}  // namespace testing_support
