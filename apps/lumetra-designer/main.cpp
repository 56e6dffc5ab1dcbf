// lumetra-designer PACKAGE [FORM [COMPONENT]]: the design host with a package loaded, a form
// open and one of its components selected.
#include <cstdio>

#include "designer_window.hpp"
#include "vcl/Classes.hpp"
#include "vcl/SysUtils.hpp"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: lumetra-designer PACKAGE [FORM [COMPONENT]]\n");
    return 2;
  }
  // Saving waits for another program that writes the same file; the user is told which.
  vcl::FileNotifications.OnLockWait = [](const std::string& FileName, const std::string& LockName) {
    std::fprintf(stderr, "lumetra-designer: %s\n", vcl::TFileNotifications::LockWaitText(FileName, LockName).c_str());
  };
  try {
    designer::DesignerWindow window(argv[1], argc >= 3 ? argv[2] : "");
    if (argc == 4) window.Select(argv[3]);
    window.Form()->ShowModal();
  } catch (const vcl::Exception& e) {
    std::fprintf(stderr, "lumetra-designer: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
