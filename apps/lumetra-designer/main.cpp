// lumetra-designer PACKAGE [FORM [COMPONENT]]: the design host with a package loaded, a form
// open and one of its components selected.
#include <cstdio>

#include "run.hpp"

int main(int argc, char** argv) { return designer::Run(std::vector<std::string>(argv + 1, argv + argc), stderr); }
