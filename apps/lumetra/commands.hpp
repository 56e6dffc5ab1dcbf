// The subcommands of the lumetra command line.
#pragma once

#include <string>
#include <vector>

namespace lumetra_cli {

using Args = std::vector<std::string>;

/// `lumetra demo`: shows what the system does on built-in examples. Returns the exit code.
int RunDemo(const Args& args);

/// A text as the terminal shows it: quoted, line breaks and control characters escaped, and the
/// ANSI code page's letters in UTF-8.
std::string Visible(const std::string& s);

/// The dialog part of the demo: each kind shown, the open dialog before and after its
/// translation, and the capture of each kind. With a HoldFolder, the dialogs to be photographed
/// stay up from <name>.ready until <name>.done appears there.
void ShowDialogs(const std::string& HoldFolder);

}  // namespace lumetra_cli
