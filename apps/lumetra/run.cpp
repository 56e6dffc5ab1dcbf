// The command line's dispatch to its commands, and how their errors reach the terminal.
#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "commands.hpp"
#include "vcl/Classes.hpp"

namespace lumetra_cli {

namespace {

// The commands, in the order the usage lists them.
struct Command {
  const char* Name;
  int (*Run)(const Args& args);
  const char* Summary;  // the usage's line for it
};

const Command Commands[] = {
    {"form", &RunForm, "show a form's translator, or convert a form between binary and text"},
    {"text", &RunText, "save the entries into a translation text file, or load them from one"},
    {"dict", &RunDict, "export the entries to a dictionary, PO or XLIFF file, or translate them from one"},
    {"capture", &RunCapture, "capture the form's dialogs into the translator's captured values"},
    {"edit", &RunEdit, "open the translations editor on the form's translator and write the form back"},
    {"check", &RunCheck, "report the entries that cannot apply or will look wrong in their dialogs"},
    {"fit", &RunFit, "write the sizes and positions that make translated texts fit their dialogs"},
    {"preview", &RunPreview, "draw one dialog translated, with the faults that check finds outlined"},
    {"seed", &RunSeed, "write the system's own translations of the form's dialogs into a PO or translation text file"},
    {"pseudo", &RunPseudo, "write pseudo-translations of the captured texts into a translation text file"},
    {"demo", &RunDemo, "show how entries are split and decoded, the dialogs, translated and captured"},
};

std::string Usage() {
  std::string usage = "usage: lumetra <command> [options] [--] [arguments]\n\ncommands:\n";
  for (const Command& c : Commands) {
    const std::string name = c.Name;
    usage += "  " + name + std::string(name.size() < 8 ? 9 - name.size() : 1, ' ') + c.Summary + "\n";
  }
  return usage +
         "\n"
         "Files are read whole: a form file may have at most 64 MiB, a translation text file or a\n"
         "dictionary 256 MiB; what is no regular file is refused. \"--\" ends the options.\n"
         "Run 'lumetra <command> --help' for the options of a command.\n";
}

vcl::MessageLog* Running = nullptr;  // the log of the command Run runs

// Makes Log the one Messages answers while the command runs.
class RunningLog {
public:
  explicit RunningLog(vcl::MessageLog& Log) : FBefore(Running) { Running = &Log; }
  ~RunningLog() { Running = FBefore; }
  RunningLog(const RunningLog&) = delete;
  RunningLog& operator=(const RunningLog&) = delete;

private:
  vcl::MessageLog* FBefore;
};

// While a command runs, every file it replaces is named on stdout as it is written, and a wait
// for another writer's lock is told on Errors.
class FileReports {
public:
  explicit FileReports(vcl::MessageLog& Log) : FSaved(vcl::FileNotifications) {
    vcl::FileNotifications.OnReplaced = [](const std::string& FileName) {
      const std::string line = "wrote " + Escaped(FileName) + "\n";
      std::fwrite(line.data(), 1, line.size(), stdout);
    };
    vcl::FileNotifications.OnLockWait = [&Log](const std::string& FileName, const std::string& LockName) {
      Log.Print(vcl::TFileNotifications::LockWaitText(FileName, LockName));
      Log.Flush();
    };
  }
  ~FileReports() { vcl::FileNotifications = FSaved; }
  FileReports(const FileReports&) = delete;
  FileReports& operator=(const FileReports&) = delete;

private:
  vcl::TFileNotifications FSaved;
};

}  // namespace

vcl::MessageLog& Messages() {
  static vcl::MessageLog outside(stderr, "lumetra");
  return Running ? *Running : outside;
}

int Run(const Args& Arguments, std::FILE* Errors) {
  if (Arguments.empty() || Arguments[0] == "--help" || Arguments[0] == "-h") {
    std::fputs(Usage().c_str(), Arguments.empty() ? Errors : stdout);
    return Arguments.empty() ? 2 : 0;
  }
  const std::string& command = Arguments[0];
  const Args args(Arguments.begin() + 1, Arguments.end());
  vcl::MessageLog log(Errors, "lumetra " + command);
  const RunningLog running(log);
  const FileReports reports(log);
  // What a command warned of is counted up before its error.
  const auto report = [&log](const std::string& Message, bool KeepLineBreaks) {
    log.Flush();
    log.Print(Message, std::string(), KeepLineBreaks);
  };
  try {
    for (const Command& c : Commands)
      if (command == c.Name) return c.Run(args);
    report("unknown command\n\n" + Usage(), true);
    return 2;
  } catch (const UsageError& e) {
    report(e.Message(), true);  // our own text, laid out in lines
    return 2;
  } catch (const vcl::Exception& e) {
    report(e.Message(), false);
    return 1;
  } catch (const std::bad_alloc&) {
    report("out of memory", false);
    return 1;
  } catch (const std::exception& e) {
    report(e.what(), false);
    return 1;
  }
}

}  // namespace lumetra_cli
