// A small dialog window for translator tests: a window that keeps a font of its own, as a
// dialog does, and five direct children, built the same way under Windows and in the simulation.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dialog_support.hpp"
#include "win/api.h"

namespace vek_test {

/// Children in z-order: 1 Static stc3 (1090) "File &name:", 2 Edit edt1 (1152), 3 Static 65535
/// "Look &in:", 4 Button IDOK "OK", 5 Button psh1 (1024) "&Help". The dialog is 400 x 300 at
/// (100, 100), titled "Open", with the font "MS Sans Serif", ANSI character set.
class DialogWindow {
public:
  DialogWindow();
  ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  HWND Handle() const { return FHandle; }
  HFONT OwnFont() const { return FFont; }
  /// The n-th direct child (from 1).
  HWND Child(int N) const;

private:
  HWND FHandle = nullptr;
  HFONT FFont = nullptr;
};

/// The messages the test dialogs' own procedure received, oldest first, and what it does on
/// each before its default handling (nothing when empty).
std::vector<UINT>& OwnProcedureLog();
extern std::function<void(HWND, UINT, WPARAM)> OwnProcedureReaction;

using testing_support::TextOf;
/// A child's rectangle: left and top in its parent's client coordinates, width and height.
RECT PlaceOf(HWND Child);
/// The face name and character set of the font a window uses ("" and -1 for the system font).
std::string FaceOf(HWND Window);
int CharsetOf(HWND Window);

}  // namespace vek_test
