// Shared helpers of the tests that show windows and dialogs: a window's text, an application's
// own dialog class, and a MessageHook entry replaced for a scope.
#pragma once

#include <string>

#include "vcl/Dialogs.hpp"
#include "win/api.h"

namespace testing_support {

/// The window's text read with WM_GETTEXT into a buffer of Size characters (at most Size - 1).
std::string TextOf(HWND Window, int Size = 1024);

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
