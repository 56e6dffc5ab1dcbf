// The state of the simulated window system: windows, classes, the message queue, timers,
// activation and focus, hooks, font objects and device contexts. One instance per process, one
// thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "win/api.h"

namespace win_sim {

/// The dialog procedure of a simulated common dialog: answers true when it handled the message.
using DialogHandler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;

/// Which form of text messages a window procedure takes: the window system's own procedures
/// take both; a procedure set or registered by a program takes the form it was set with.
enum class ProcForm { Both, Ansi, Unicode };

struct Window {
  HWND Handle = nullptr;
  std::string ClassName;
  WNDPROC Proc = nullptr;
  ProcForm Form = ProcForm::Both;
  std::u16string Text;  // UTF-16, as Windows keeps it
  DWORD Style = 0;
  DWORD ExStyle = 0;
  LONG_PTR Id = 0;
  LONG_PTR UserData = 0;
  HWND Parent = nullptr;  // the parent of a child window; nullptr for top-level windows
  HWND Owner = nullptr;   // the owner of a top-level window
  std::vector<HWND> Children;  // z-order, topmost first
  RECT Rect{};   // parent's client coordinates for a child, screen coordinates otherwise
  RECT Frame{};  // non-client widths: left, top (caption and border), right, bottom
  HFONT Font = nullptr;
  bool NeedsPaint = false;
  bool NeedsErase = false;
  bool Destroying = false;
  // Dialogs.
  bool IsDialog = false;
  DialogHandler Handler;
  bool DialogEnded = false;
  INT_PTR DialogResult = 0;
  HWND SavedFocus = nullptr;
  std::vector<HFONT> OwnedFonts;  // deleted with the window
};

struct WindowClass {
  WNDPROC Proc = nullptr;
  ProcForm Form = ProcForm::Ansi;  // RegisterClassA; the system's own classes take both
};

struct Timer {
  HWND Hwnd;
  UINT_PTR Id;
  UINT Elapse;
  TIMERPROC Proc;
  std::int64_t Due;
};

struct Hook {
  HHOOK Handle;
  int Kind;
  HOOKPROC Proc;
};

struct State {
  std::map<std::uintptr_t, std::unique_ptr<Window>> Windows;
  std::uintptr_t NextWindow = 0x10020;
  std::vector<HWND> TopLevel;  // z-order, topmost first
  std::map<std::string, WindowClass> Classes;
  std::deque<MSG> Queue;
  bool QuitPosted = false;
  int QuitCode = 0;
  std::vector<Timer> Timers;
  UINT_PTR NextTimerId = 0x7F01;
  HWND Active = nullptr;
  HWND Focus = nullptr;
  std::vector<Hook> Hooks;  // newest first
  std::uintptr_t NextHook = 0x30000;
  std::map<std::uintptr_t, LOGFONTA> Fonts;
  std::uintptr_t NextFont = 0x0A000010;
  std::map<std::uintptr_t, HGDIOBJ> DeviceContexts;  // each one's selected font
  std::uintptr_t NextDeviceContext = 0x0D000010;
  std::map<std::string, UINT> RegisteredMessages;
  UINT NextMessage = 0xC100;
  DWORD LastError = 0;
  // Whether the text parameter of the text message being handled is UTF-16 (sent with a W
  // function to a procedure that takes it so, or to one of the system's own).
  bool UnicodeText = false;
  // The form each procedure a program registered or set takes, for CallWindowProcA/W (on Windows
  // the value SetWindowLongPtr returns converts for the procedure it stands for).
  std::map<WNDPROC, ProcForm> ProgramProcs;
  std::int64_t ClockSkip = 0;  // milliseconds skipped while loops waited for timers
  DWORD CommDlgError = 0;
  bool Keys[256] = {};  // keys down, as the key messages taken from the queue left them
  HWND Capture = nullptr;
  HCURSOR Cursor = nullptr;
  int PixelsPerInch = 96;  // of the screen
};

State& Sim();
Window* Find(HWND Handle);
/// The milliseconds since the simulation started, including skipped waits.
std::int64_t Now();

/// Sends a message through the WH_CALLWNDPROC / WH_CALLWNDPROCRET hooks to the window's procedure;
/// Unicode tells whether a text parameter is UTF-16 (a W function sends it).
LRESULT Send(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam, bool Unicode = false);
/// Whether Msg carries a text that ANSI and Unicode windows take in different forms.
bool IsTextMessage(UINT Msg);
/// The form of text messages Proc takes: the one a program registered or set it with, else (the
/// window system's own) both.
ProcForm FormOf(WNDPROC Proc);
/// The top-level window that contains Hwnd (Hwnd itself for a top-level window).
HWND RootOf(HWND Hwnd);
bool IsDescendant(HWND Ancestor, HWND Hwnd);
/// Activates another window after Hwnd stops being able to be active: its owner when visible
/// and enabled, else the topmost visible and enabled top-level window, else none.
void ActivateOther(HWND Hwnd);
/// Key messages leave their key up or down for GetKeyState, as Windows does when a message is
/// taken from the queue; a key released for a window that went is released all the same.
void TrackKeys(const MSG& M);
/// Sends WM_ERASEBKGND now to a window that waits for it (as showing a window does).
void EraseNow(HWND Hwnd);

/// A dialog built from the recording of that kind, hidden, owned by Owner; nullptr when there is
/// no such recording.
HWND CreateRecordedDialog(const char* Kind, HWND Owner, DialogHandler Handler);
/// Runs the modal loop of a dialog until it ends or is destroyed; returns its result.
INT_PTR RunModal(HWND Dialog, HWND Owner);

}  // namespace win_sim
