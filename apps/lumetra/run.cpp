// The command line's dispatch to its commands, and how their errors reach the terminal.
#include <cstdio>
#include <exception>
#include <new>

#include "commands.hpp"
#include "vcl/Classes.hpp"

namespace lumetra_cli {

namespace {

const char* const Usage =
    "usage: lumetra <command> [options] [--] [arguments]\n"
    "\n"
    "commands:\n"
    "  form     show a form's translator, or convert a form between binary and text\n"
    "  text     save the entries into a translation text file, or load them from one\n"
    "  dict     export the entries to a dictionary, PO or XLIFF file, or translate them from one\n"
    "  capture  capture the form's dialogs into the translator's captured values\n"
    "  edit     open the translations editor on the form's translator and write the form back\n"
    "  check    report the entries that cannot apply or will look wrong in their dialogs\n"
    "  preview  draw one dialog translated, with the faults that check finds outlined\n"
    "  pseudo   write pseudo-translations of the captured texts into a translation text file\n"
    "  demo     show how entries are split and decoded, the dialogs, translated and captured\n"
    "\n"
    "Files are read whole: a form file may have at most 64 MiB, a translation text file or a\n"
    "dictionary 256 MiB; what is no regular file is refused. \"--\" ends the options.\n"
    "Run 'lumetra <command> --help' for the options of a command.\n";

void Report(std::FILE* Errors, const std::string& Command, const std::string& Message, bool KeepLineBreaks) {
  const std::string line = "lumetra " + Escaped(Command) + ": " + Escaped(Message, KeepLineBreaks) + "\n";
  std::fwrite(line.data(), 1, line.size(), Errors);
}

// While a command runs, every file it replaces is named on stdout as it is written, and a wait
// for another writer's lock is told on Errors.
class FileReports {
public:
  FileReports(std::FILE* Errors, const std::string& Command) : FSaved(vcl::FileNotifications) {
    vcl::FileNotifications.OnReplaced = [](const std::string& FileName) {
      const std::string line = "wrote " + Escaped(FileName) + "\n";
      std::fwrite(line.data(), 1, line.size(), stdout);
    };
    vcl::FileNotifications.OnLockWait = [Errors, Command](const std::string& FileName, const std::string& LockName) {
      Report(Errors, Command, vcl::TFileNotifications::LockWaitText(FileName, LockName), false);
      std::fflush(Errors);
    };
  }
  ~FileReports() { vcl::FileNotifications = FSaved; }
  FileReports(const FileReports&) = delete;
  FileReports& operator=(const FileReports&) = delete;

private:
  vcl::TFileNotifications FSaved;
};

}  // namespace

std::string Escaped(std::string_view S, bool KeepLineBreaks) {
  std::string out;
  out.reserve(S.size());
  for (const char c : S) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && !(KeepLineBreaks && b == '\n')) || b >= 0x7F) out += "#" + std::to_string(b);
    else out += c;
  }
  return out;
}

int Run(const Args& Arguments, std::FILE* Errors) {
  if (Arguments.empty() || Arguments[0] == "--help" || Arguments[0] == "-h") {
    std::fputs(Usage, Arguments.empty() ? Errors : stdout);
    return Arguments.empty() ? 2 : 0;
  }
  const std::string& command = Arguments[0];
  const Args args(Arguments.begin() + 1, Arguments.end());
  const FileReports reports(Errors, command);
  try {
    if (command == "demo") return RunDemo(args);
    if (command == "form") return RunForm(args);
    if (command == "text") return RunText(args);
    if (command == "dict") return RunDict(args);
    if (command == "capture") return RunCapture(args);
    if (command == "edit") return RunEdit(args);
    if (command == "check") return RunCheck(args);
    if (command == "preview") return RunPreview(args);
    if (command == "pseudo") return RunPseudo(args);
    Report(Errors, command, std::string("unknown command\n\n") + Usage, true);
    return 2;
  } catch (const UsageError& e) {
    Report(Errors, command, e.Message(), true);  // our own text, laid out in lines
    return 2;
  } catch (const vcl::Exception& e) {
    Report(Errors, command, e.Message(), false);
    return 1;
  } catch (const std::bad_alloc&) {
    Report(Errors, command, "out of memory", false);
    return 1;
  } catch (const std::exception& e) {
    Report(Errors, command, e.what(), false);
    return 1;
  }
}

}  // namespace lumetra_cli
