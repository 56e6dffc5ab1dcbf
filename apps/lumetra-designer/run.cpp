// The design host's program: its arguments, its window shown modally, and its errors reported.
#include "run.hpp"

#include <cstdio>

#include "designer_window.hpp"
#include "vcl/Classes.hpp"
#include "vcl/SysUtils.hpp"

namespace designer {

int Run(const std::vector<std::string>& Arguments, std::FILE* Errors) {
  if (Arguments.empty() || Arguments.size() > 3) {
    std::fputs("usage: lumetra-designer PACKAGE [FORM [COMPONENT]]\n", Errors);
    return 2;
  }
  vcl::MessageLog log(Errors, "lumetra-designer");
  // Saving waits for another program that writes the same file; the user is told which.
  const vcl::TFileNotifications saved = vcl::FileNotifications;
  vcl::FileNotifications.OnLockWait = [&log](const std::string& FileName, const std::string& LockName) {
    log.Print(vcl::TFileNotifications::LockWaitText(FileName, LockName));
    log.Flush();
  };
  struct Restore {
    const vcl::TFileNotifications& Saved;
    ~Restore() { vcl::FileNotifications = Saved; }
  } restore{saved};
  try {
    DesignerWindow window(Arguments[0], Arguments.size() >= 2 ? Arguments[1] : "");
    if (Arguments.size() == 3) window.Select(Arguments[2]);
    window.Form()->ShowModal();
  } catch (const vcl::Exception& e) {
    log.Print(e.Message());  // names and values from the form, escaped
    return 1;
  }
  return 0;
}

}  // namespace designer
