// The subcommands of the lumetra command line.
#pragma once

#include <string>
#include <vector>

namespace lumetra_cli {

using Args = std::vector<std::string>;

/// `lumetra demo`: shows what the system does on built-in examples. Returns the exit code.
int RunDemo(const Args& args);

}  // namespace lumetra_cli
