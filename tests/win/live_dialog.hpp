// Reading a shown dialog's window tree and comparing it with its recording.
#pragma once

#include <string>
#include <vector>

#include "win/api.h"
#include "win/dialog_layout.h"
#include "win/recorded_dialogs.h"

namespace win_test {

/// Every difference between a live dialog's layout and a recorded one (title, window and client
/// rectangles, font, and per direct child in z-order: id, class, text, rectangle in client
/// coordinates, font, style), one line each; empty when they agree.
std::vector<std::string> Differences(const win::DialogLayout& Live, const win::DialogLayout& Recorded);
/// The differences between the shown dialog, as win::ReadDialog reads it, and the recording.
std::vector<std::string> CompareWithRecording(HWND Dialog, const win::RecordedDialog& Recording);

/// The owner the class library gives common dialogs: a hidden captioned popup at the middle of
/// the screen, of the logging window class.
HWND CreateDialogOwner();

}  // namespace win_test
