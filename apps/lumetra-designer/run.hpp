// The design host's program as a function, so that tests run it in-process.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace designer {

/// The program: Arguments are PACKAGE [FORM [COMPONENT]]; the window is shown until closed.
/// Errors go to Errors as one line, escaped and bounded. Returns the exit code (1: an error,
/// 2: wrong usage).
int Run(const std::vector<std::string>& Arguments, std::FILE* Errors);

}  // namespace designer
