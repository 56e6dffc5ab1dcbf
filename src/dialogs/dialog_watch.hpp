// Watches the window of a running common dialog and hands its owner side the messages the
// class library promises (see the Notes of common_dialog.cpp).
#pragma once

#include <vector>

#include "vcl/Dialogs.hpp"

namespace vcl {

/// While it lives, thread hooks watch the top-level windows owned by the application's main
/// window. Modal: the first one activated is the dialog; once it has handled its activation the
/// main window is sent WM_WINDOWPOSCHANGED. Modeless: the first one created is the dialog; the
/// main window is sent WM_CREATE while it is being created and WM_KILLFOCUS (wParam = the
/// dialog) whenever it has been activated. The dialog component's Handle() follows the window.
class TDialogWatch {
public:
  TDialogWatch(TCommonDialog* Dialog, bool Modeless);
  ~TDialogWatch();
  TDialogWatch(const TDialogWatch&) = delete;
  TDialogWatch& operator=(const TDialogWatch&) = delete;

private:
  // What all watches share: the live ones, oldest first, and the two thread hooks they hold
  // while there is any.
  struct Shared {
    std::vector<TDialogWatch*> Watches;
    HHOOK CallHook = nullptr;
    HHOOK RetHook = nullptr;
  };
  static Shared& State();
  static LRESULT CALLBACK CallProc(int Code, WPARAM WParam, LPARAM LParam);
  static LRESULT CALLBACK RetProc(int Code, WPARAM WParam, LPARAM LParam);
  template <class F>
  static void ForEach(F Action);
  bool IsOwned(HWND Hwnd) const;
  void Sent(HWND Hwnd, UINT Msg, WPARAM WParam);
  void Returned(HWND Hwnd, UINT Msg, WPARAM WParam);
  void Deliver(UINT Msg, WPARAM WParam, LPARAM LParam);

  TCommonDialog* FDialog;
  HWND FOwner;
  bool FModeless;
  bool FOpened = false;
  HWND FWindow = nullptr;
};

}  // namespace vcl
