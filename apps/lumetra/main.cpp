// lumetra: the command line of Lumetra (demo, and later forms, text files, dictionaries, capture).
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
    "  demo     show how entries are split and decoded, and the common dialogs with their controls\n"
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
    std::fprintf(stderr, "lumetra: unknown command '%s'\n\n%s", command.c_str(), Usage);
    return 2;
  } catch (const vcl::Exception& e) {
    std::fprintf(stderr, "lumetra %s: %s\n", command.c_str(), e.Message().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumetra %s: %s\n", command.c_str(), e.what());
    return 1;
  }
}
