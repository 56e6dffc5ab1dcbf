// Shared helpers of the tests that show windows and dialogs: a window's text, an application's
// own dialog class, and a MessageHook entry replaced for a scope.
#pragma once

#include <string>

#include "vcl/Dialogs.hpp"
#include "win/api.h"

namespace testing_support {

/// The window's text read with WM_GETTEXT into a buffer of Size characters (at most Size - 1).
std::string TextOf(HWND Window, int Size = 1024);
/// A child's place: left and top in its parent's client coordinates, then width and height.
RECT PlaceOf(HWND Child);
/// The description of the font a window uses; for the system font (or none) an empty face name
/// and character set 0xFF.
LOGFONTA FontOf(HWND Window);
/// Registers a window class of this program with the procedure Proc, once per name (a second
/// registration fails harmlessly), and answers Name.
const char* RegisterTestWindowClass(const char* Name, WNDPROC Proc);

/// An application's own descendant of the open dialog.
class TMyOpenDialog : public vcl::TOpenDialog {
  VCL_DECLARE_CLASS
public:
  using vcl::TOpenDialog::TOpenDialog;
};

/// Puts Entry into the MessageHook slot of Class alone for the scope, as a registration does.
class EntryGuard {
public:
  EntryGuard(vcl::TClass Class, vcl::TCommonDialog::TMessageHookEntry Entry);
  ~EntryGuard();
  EntryGuard(const EntryGuard&) = delete;
  EntryGuard& operator=(const EntryGuard&) = delete;

private:
  vcl::TClass FClass;
  vcl::TCodePointer FSaved;
};

}  // namespace testing_support
