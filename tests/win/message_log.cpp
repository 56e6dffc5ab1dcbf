// The logging window class of the window-layer tests.
#include "message_log.hpp"

#include <algorithm>

namespace win_test {

std::vector<LoggedMessage> MessageLog::Only(UINT Msg) const {
  std::vector<LoggedMessage> out;
  std::copy_if(Messages.begin(), Messages.end(), std::back_inserter(out), [Msg](const LoggedMessage& m) { return m.Msg == Msg; });
  return out;
}

std::vector<UINT> MessageLog::Sequence(const std::vector<UINT>& Interesting) const {
  std::vector<UINT> out;
  for (const auto& m : Messages)
    if (std::find(Interesting.begin(), Interesting.end(), m.Msg) != Interesting.end()) out.push_back(m.Msg);
  return out;
}

MessageLog& Log() {
  static MessageLog log;
  return log;
}

namespace {
LRESULT CALLBACK LogProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  Log().Messages.push_back({Hwnd, Msg, WParam, LParam});
  LRESULT result = 0;
  if (Log().React && Log().React(Hwnd, Msg, WParam, LParam, result)) return result;
  return DefWindowProcA(Hwnd, Msg, WParam, LParam);
}
}  // namespace

const char* LogWindowClass() {
  static const char* const name = testing_support::RegisterTestWindowClass("LumetraLogWindow", &LogProc);
  return name;
}

HWND CreateLogWindow(int X, int Y, int Width, int Height, HWND Owner) {
  return CreateWindowExA(0, LogWindowClass(), "Log", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, X, Y, Width,
                         Height, Owner, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace win_test
