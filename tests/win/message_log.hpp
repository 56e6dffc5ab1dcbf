// A test window class whose procedure records what it receives, for tests that run unchanged
// against the real user32 and against the simulated window system.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dialog_support.hpp"
#include "win/api.h"

namespace win_test {

struct LoggedMessage {
  HWND Hwnd;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

/// The messages the logging windows received, oldest first, and an optional reaction that
/// runs before default handling; a reaction returning true answers the message with Result.
struct MessageLog {
  std::vector<LoggedMessage> Messages;
  std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT& Result)> React;

  /// The messages with number Msg, in order.
  std::vector<LoggedMessage> Only(UINT Msg) const;
  /// The numbers of the logged messages that are in Interesting, in order.
  std::vector<UINT> Sequence(const std::vector<UINT>& Interesting) const;
  void Clear() { Messages.clear(); }
};

/// The log every window of class LogWindowClass() writes to.
MessageLog& Log();

/// Empties the log and drops its reaction for a scope (a test fixture's member).
struct FreshLog {
  FreshLog() {
    Log().Clear();
    Log().React = nullptr;
  }
  ~FreshLog() { Log().React = nullptr; }
  FreshLog(const FreshLog&) = delete;
  FreshLog& operator=(const FreshLog&) = delete;
};
/// Registers (once) and names the logging window class.
const char* LogWindowClass();
/// A visible top-level logging window with a caption, at the given screen rectangle.
HWND CreateLogWindow(int X, int Y, int Width, int Height, HWND Owner = nullptr);

/// Destroys a window when the scope ends (if it still exists).
class WindowGuard {
public:
  explicit WindowGuard(HWND Hwnd) : FHwnd(Hwnd) {}
  ~WindowGuard() {
    if (IsWindow(FHwnd)) DestroyWindow(FHwnd);
  }
  WindowGuard(const WindowGuard&) = delete;
  WindowGuard& operator=(const WindowGuard&) = delete;
  HWND get() const { return FHwnd; }

private:
  HWND FHwnd;
};

using testing_support::TextOf;

/// Dispatches what is waiting in the queue (never waits).
void PumpPending();

}  // namespace win_test
