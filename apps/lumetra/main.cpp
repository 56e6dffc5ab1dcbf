// lumetra: the command line of Lumetra: form files, translation text files, dictionaries,
// capture of dialogs, and the demo.
#include <cstdio>
#include <cstring>
#include <exception>

#include "commands.hpp"
#include "vcl/SysUtils.hpp"

namespace {

const char* const Usage =
    "usage: lumetra <command> [options]\n"
    "\n"
    "commands:\n"
    "  form     show a form's translator, or convert a form between binary and text\n"
    "  text     save the entries into a translation text file, or load them from one\n"
    "  dict     export the entries to a dictionary, or translate them from one\n"
    "  capture  capture the form's dialogs into the translator's captured values\n"
    "  demo     show how entries are split and decoded, the dialogs, translated and captured\n"
    "\n"
    "Run 'lumetra <command> --help' for the options of a command.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
    std::fputs(Usage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  const std::string command = argv[1];
  const lumetra_cli::Args args(argv + 2, argv + argc);
  try {
    if (command == "demo") return lumetra_cli::RunDemo(args);
    if (command == "form") return lumetra_cli::RunForm(args);
    if (command == "text") return lumetra_cli::RunText(args);
    if (command == "dict") return lumetra_cli::RunDict(args);
    if (command == "capture") return lumetra_cli::RunCapture(args);
    std::fprintf(stderr, "lumetra: unknown command '%s'\n\n%s", command.c_str(), Usage);
    return 2;
  } catch (const lumetra_cli::UsageError& e) {
    std::fprintf(stderr, "lumetra %s: %s\n", command.c_str(), e.Message().c_str());
    return 2;
  } catch (const vcl::Exception& e) {
    std::fprintf(stderr, "lumetra %s: %s\n", command.c_str(), e.Message().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumetra %s: %s\n", command.c_str(), e.what());
    return 1;
  }
}
