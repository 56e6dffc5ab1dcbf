// The subcommands of the lumetra command line.
#pragma once

#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Vek.hpp"
#include "vcl/Dialogs.hpp"
#include "vcl/SysUtils.hpp"

namespace lumetra_cli {

using Args = std::vector<std::string>;

/// Wrong arguments: main prints the message and exits with 2.
class UsageError : public vcl::Exception {
public:
  using vcl::Exception::Exception;
};

/// The whole command line: Arguments are those after the program's name. Errors go to Errors
/// as one line naming the command, with Escaped text. Returns the exit code (2: wrong usage).
int Run(const Args& Arguments, std::FILE* Errors);

/// Text that may hold bytes from a file, as the terminal may show it (the class library's, which
/// the designer shares).
using vcl::Escaped;

/// The messages of the command that runs: errors and warnings on the stream Run was given, as
/// "lumetra <command>: ..." lines, escaped and bounded (see vcl::MessageLog). Outside Run, on
/// stderr as "lumetra: ...". Never fails.
vcl::MessageLog& Messages();

/// `lumetra form show|convert`, `text save|load`, `dict export|translate`, `capture`. Each
/// returns the exit code; errors are raised as exceptions that name the file at fault.
int RunForm(const Args& args);
int RunText(const Args& args);
int RunDict(const Args& args);
int RunCapture(const Args& args);
/// What showing a form's dialogs to capture them did.
struct CaptureResult {
  int Dialogs = 0;                  // dialog classes on the form
  std::vector<std::string> Missed;  // classes whose dialog could not be captured
};
/// Shows one dialog of each dialog class on the form Root for an instant, the current folder left
/// as it is, and captures it with Translator; Captured is told each class's values. A dialog
/// that shows a message instead of itself has that message printed, and its class is missed.
CaptureResult CaptureEachDialog(vcl::TComponent* Root, Vek::TLumetra& Translator,
                                const std::function<void(vcl::TCommonDialog&, const vcl::TStringList&)>& Captured);
/// Names joined with ", ".
std::string Listed(const std::vector<std::string>& Names);
/// `lumetra seed`: a form's dialogs as the system shows them in another language, paired with the
/// captured originals (seed_command.cpp).
int RunSeed(const Args& args);
/// `lumetra edit FORM [--add]`: the translations editor on the form's translator; FORM (and its
/// translation text file) written back only when the editor hands back a change.
int RunEdit(const Args& args);

/// `lumetra check` and `lumetra preview` (check_command.cpp). Each returns the exit code: check
/// answers 1 when it finds an error.
int RunCheck(const Args& args);
int RunPreview(const Args& args);

/// `lumetra fit FILE`: the sizes and positions that make the texts fit, written into FILE
/// (fit_command.cpp). Answers 1 when a text still does not fit.
int RunFit(const Args& args);

/// The demo's German entries for the open, font and find dialogs (texts in code page 1252).
std::span<const char* const> GermanDemoEntries();

/// `lumetra dict export|import FORM --po FILE | --xliff FILE`: the bridge to PO and XLIFF files.
/// IsBridgeCall tells the dict command's arguments that are for it.
bool IsBridgeCall(const Args& args);
int RunDictBridge(const Args& args);
/// `lumetra pseudo FORM FILE [--rtl] [--locale N]`: pseudo-translations into a text file.
int RunPseudo(const Args& args);

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
