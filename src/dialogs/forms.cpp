// The application and screen objects, forms, data modules and the exit chain.
#include "vcl/Forms.hpp"

#include <cstdlib>

#include "win/api.h"
#ifndef _WIN32
#include <unistd.h>
#endif

namespace vcl {

VCL_IMPLEMENT_CLASS(TScreen, TComponent)
VCL_IMPLEMENT_CLASS(TApplication, TComponent)
VCL_IMPLEMENT_CLASS(TForm, TComponent)
VCL_IMPLEMENT_CLASS(TDataModule, TComponent)

TProcedure ExitProc = nullptr;

void RunExitProcs() {
  while (TProcedure p = ExitProc) {
    ExitProc = nullptr;
    p();
  }
}

namespace {

// Owned by nobody: they outlive every form and are never freed, as the process's own objects.
TApplication& TheApplication() {
  static TApplication* app = [] {
    std::atexit(&RunExitProcs);
    return new TApplication(nullptr);
  }();
  return *app;
}

TScreen& TheScreen() {
  static TScreen* screen = new TScreen(nullptr);
  return *screen;
}

}  // namespace

TApplication* const Application = &TheApplication();
TScreen* const Screen = &TheScreen();

std::string TApplication::ExeName() const {
  if (!FExeName.empty()) return FExeName;
#ifdef _WIN32
  char buf[MAX_PATH + 1];
  const DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return std::string(buf, n);
#else
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
#endif
}

}  // namespace vcl
