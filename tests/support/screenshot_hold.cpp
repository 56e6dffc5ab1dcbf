// Holding windows up for run-demo's screenshots: <name>.ready from us, <name>.done from run-demo.
#include "screenshot_hold.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#endif

namespace testing_support {

std::string HoldFolder() {
  const char* folder = std::getenv("LUMETRA_HOLD");
  return folder ? folder : "";
}

void HoldForScreenshot(const std::string& Name, const std::function<void()>& Pump) {
  const std::string hold = HoldFolder();
  if (hold.empty()) return;
#ifdef _WIN32
  RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
#endif
  Pump();
  const std::string ready = hold + "/" + Name + ".ready";
  std::FILE* f = std::fopen(ready.c_str(), "w");
  if (!f) throw std::runtime_error("cannot write " + ready);
  std::fclose(f);
  for (int i = 0; i < 6000 && !std::filesystem::exists(hold + "/" + Name + ".done"); ++i) {
    Pump();
#ifdef _WIN32
    Sleep(10);
#endif
  }
}

}  // namespace testing_support
