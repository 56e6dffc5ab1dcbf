// A small dialog window for translator tests: a window that keeps a font of its own, as a
// dialog does, and five direct children, built the same way under Windows and in the simulation.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Vek.hpp"
#include "dialog_support.hpp"
#include "vcl/Forms.hpp"
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

/// The fixture of the translator on the test dialog: a form with a translator, which go at the
/// end, beside the dialog window.
class TranslatorOnDialog : public ::testing::Test {
protected:
  ~TranslatorOnDialog() override { delete FForm; }
  DialogWindow FDialog;
  vcl::TForm* FForm = new vcl::TForm(vcl::Application);
  Vek::TLumetra* FLmt = new Vek::TLumetra(FForm);
};

/// The messages the test dialogs' own procedure received, oldest first, and what it does on
/// each before its default handling (nothing when empty).
std::vector<UINT>& OwnProcedureLog();
extern std::function<void(HWND, UINT, WPARAM)> OwnProcedureReaction;

using testing_support::FontOf;
using testing_support::PlaceOf;
using testing_support::TextOf;
/// The face name and character set of the font a window uses ("" and -1 for the system font).
std::string FaceOf(HWND Window);
int CharsetOf(HWND Window);

}  // namespace vek_test
