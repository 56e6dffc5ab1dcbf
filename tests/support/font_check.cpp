// Linked into the Windows suites that compare dialogs with their recordings: before any test,
// checks that Wine realises the dialog font as the face the recordings were made with.
//
// Notes:
// - With another face every rectangle and the font dialog's list differ from the recordings,
//   and each test would fail on its own; one message naming both faces says why instead.
// - LUMETRA_RECORDED_FACE comes from data/dialogs (cmake/RecordedDialogs.cmake).
#include <gtest/gtest.h>

#include "dialog_font.hpp"

namespace {

class DialogFontCheck : public testing::Environment {
public:
  void SetUp() override {
    const std::string realised = testing_support::RealisedDialogFace();
    if (realised != LUMETRA_RECORDED_FACE)
      FAIL() << "The dialog font \"MS Shell Dlg\" is realised as \"" << realised << "\", but the recorded dialogs were made "
        << "with \"" LUMETRA_RECORDED_FACE "\": run the tests through cmake/wine-run, which shows Wine only the fonts "
        << "that tools/setup.sh installs, or record the dialogs again";
  }
};

const testing::Environment* const Check = testing::AddGlobalTestEnvironment(new DialogFontCheck);

}  // namespace
