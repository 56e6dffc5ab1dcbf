// lumetra: the command line of Lumetra: form files, translation text files, dictionaries,
// capture of dialogs, and the demo.
#include <cstdio>

#include "commands.hpp"

int main(int argc, char** argv) { return lumetra_cli::Run(lumetra_cli::Args(argv + 1, argv + argc), stderr); }
