// The comdlg32 parameter blocks each kind of common dialog is shown with, shared by the dialog
// components and the dialog recorder so that both show exactly the same dialogs.
#pragma once

#include <span>
#include <string>

#include "win/api.h"

namespace dialogs {

/// Where the application's main window goes: a captioned popup of size 0 at the middle of the
/// screen. The common dialogs open relative to it.
struct MainWindowPlacement {
  DWORD Style;
  int X, Y;
};
MainWindowPlacement MainWindowPlacementForScreen();

/// The parameter block of one kind of dialog (open, save, font, color, print, printsetup, find,
/// replace) with its buffers; not copyable, as the blocks point into it.
struct ComDlgParams {
  ComDlgParams(std::string AKind, HWND Owner);
  ComDlgParams(const ComDlgParams&) = delete;
  ComDlgParams& operator=(const ComDlgParams&) = delete;
  ~ComDlgParams();

  /// False for a kind that is none of the eight.
  bool Known() const { return FKnown; }
  /// Shows a modal kind and returns what comdlg32 returns (false on Cancel or failure).
  bool Run();
  /// Creates a modeless kind (find, replace); the dialog window, or nullptr on failure.
  HWND Create();
  /// True for the kinds that Create shows (modeless), false for those that Run shows.
  bool Modeless() const { return Find.lStructSize != 0; }
  /// Makes a file kind (open, save) start in Folder, which must outlive the dialog; the other
  /// kinds have no folder and keep none.
  void StartIn(const char* Folder) {
    if (Open.lStructSize) Open.lpstrInitialDir = Folder;
  }

  static constexpr int FileSize = 1024;
  static constexpr int FindSize = 256;

  std::string Kind;
  char File[FileSize] = {};
  OPENFILENAMEA Open{};
  LOGFONTA LogFont{};
  CHOOSEFONTA Font{};
  COLORREF CustomColors[16] = {};
  CHOOSECOLORA Color{};
  PRINTDLGA Print{};
  char FindWhat[FindSize] = {};
  char ReplaceWith[FindSize] = {};
  FINDREPLACEA Find{};

private:
  bool FKnown = true;
};

/// The comdlg32 flags of the elements of an option set: Flags holds the flag of each element,
/// by element (bit n of Options is element n).
DWORD FlagsOf(unsigned Options, std::span<const DWORD> Flags);
/// The elements whose flags are among Flags, the inverse of FlagsOf.
unsigned OptionsOf(DWORD Set, std::span<const DWORD> Flags);

/// Copies Value with its NUL into a fixed buffer of Size bytes. Raises EConvertError naming What
/// and the lengths when it does not fit, rather than cutting it.
void CopyInto(char* Buffer, std::size_t Size, const std::string& Value, const char* What);

}  // namespace dialogs
