// The application object, the screen, forms, data modules and the exit-procedure chain.
#pragma once

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "vcl/Classes.hpp"
#include "vcl/Controls.hpp"
#include "win/api.h"

namespace vcl {

/// A window message as the class library passes it to hooks and handlers; Result is what the
/// window procedure answers.
struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

/// A hook on the application's main window: Code(Data, Message) sees every message first and
/// answers true when it handled it (Message.Result is then the answer).
struct TWindowHook {
  bool (*Code)(void* Data, TMessage& Message);
  void* Data;
  bool operator==(const TWindowHook&) const = default;
};

/// The screen: holds the cursor the application shows.
class TScreen : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
  /// The cursor the application shows over all its windows (crHourGlass while it is busy);
  /// crDefault: each window's own.
  TCursor Cursor() const { return ScreenCursor(); }
  void SetCursor(TCursor Value) { SetScreenCursor(Value); }
};

/// The application object: owns the forms and data modules (its Components).
class TApplication : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
  /// The full file name of the running executable.
  std::string ExeName() const;
  /// Overrides ExeName, for hosts whose program is not the application (tests, the IDE).
  void SetExeName(std::string Value) { FExeName = std::move(Value); }

  /// The application's main window, created on first use: a hidden captioned popup of size 0
  /// at the middle of the screen that owns the common dialogs. nullptr when it cannot be created.
  HWND Handle();
  /// Dispatches every message waiting in the thread's queue, then returns. An exception that a
  /// main-window hook raised meanwhile is raised here.
  void ProcessMessages();
  /// Puts Hook in front of the main window's own handling; the newest hook sees messages first.
  void HookMainWindow(TWindowHook Hook);
  /// Removes Hook (nothing when it is not there).
  void UnhookMainWindow(TWindowHook Hook);

  /// How long the mouse rests on a control before its hint shows, a shown hint stays, and the
  /// pause when it moves on to another hinted control (ms); whether hints show at all.
  int HintPause() const { return HintSettings().Pause; }
  void SetHintPause(int Value) { SetHint(&THintSettings::Pause, Value); }
  int HintHidePause() const { return HintSettings().HidePause; }
  void SetHintHidePause(int Value) { SetHint(&THintSettings::HidePause, Value); }
  int HintShortPause() const { return HintSettings().ShortPause; }
  void SetHintShortPause(int Value) { SetHint(&THintSettings::ShortPause, Value); }
  bool ShowHint() const { return HintSettings().Active; }
  void SetShowHint(bool Value) { SetHint(&THintSettings::Active, Value); }
  /// Takes down the hint that shows, or is about to.
  void CancelHint() { vcl::CancelHint(); }

  /// Keeps an exception a main-window hook raised, so that no exception crosses the window
  /// procedure; the first one is kept until TakeHookException.
  void KeepHookException(std::exception_ptr Error);
  /// The kept exception (nullptr when none), which is cleared.
  std::exception_ptr TakeHookException();
  /// Raises the kept exception, if any.
  void RaiseHookException();
  /// The one guard of window procedures, hooks and their callbacks, which no exception may
  /// cross: runs Action and answers true. An exception from Action is kept instead (see
  /// KeepHookException) and the answer is false; when Dialog names a window, that dialog is
  /// cancelled as well, so that its Execute returns and raises the exception (a find or replace
  /// dialog's: the next ProcessMessages). Dialog is read only after Action has run.
  template <class F>
  bool Guard(F&& Action, const HWND* Dialog = nullptr) noexcept {
    try {
      std::forward<F>(Action)();
      return true;
    } catch (...) {
      KeepHookException(std::current_exception());
      if (Dialog && *Dialog) PostMessageA(*Dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return false;
    }
  }

private:
  template <class T>
  static void SetHint(T THintSettings::*Field, T Value) {
    THintSettings settings = HintSettings();
    settings.*Field = Value;
    SetHintSettings(settings);
  }
  static LRESULT CALLBACK MainWndProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  std::string FExeName;
  HWND FHandle = nullptr;
  std::vector<TWindowHook> FWindowHooks;
  std::exception_ptr FHookException;
};

/// The global application and screen objects; they live for the whole process.
extern TApplication* const Application;
extern TScreen* const Screen;

/// A form: a window that owns the components placed on it; its window is created (hidden,
/// owned by the application's main window) on first use of Handle().
class TForm : public TCustomForm {
  VCL_DECLARE_CLASS
public:
  using TCustomForm::TCustomForm;
};

/// A data module: a windowless container of components.
class TDataModule : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
};

/// A procedure of the exit chain.
using TProcedure = void (*)();

/// The exit procedure to run at program end (or library unload); nullptr when none. A unit
/// that installs one keeps the previous value and puts it back when its procedure runs.
extern TProcedure ExitProc;

/// Runs the exit chain once: while ExitProc is set, clears it and calls what it held. Runs by
/// itself at program end; a library that can be unloaded calls it from its unload code.
void RunExitProcs();

}  // namespace vcl
