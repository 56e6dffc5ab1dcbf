// lumetra-designer PACKAGE [FORM]: the design host with a package loaded and a form open.
#include <cstdio>

#include "designer_window.hpp"
#include "vcl/SysUtils.hpp"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: lumetra-designer PACKAGE [FORM]\n");
    return 2;
  }
  try {
    designer::DesignerWindow window(argv[1], argc == 3 ? argv[2] : "");
    window.Form()->ShowModal();
  } catch (const vcl::Exception& e) {
    std::fprintf(stderr, "lumetra-designer: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
