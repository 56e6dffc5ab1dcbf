// The handshake by which ./run-demo --windows photographs windows that a test program puts up.
#pragma once

#include <functional>
#include <string>

namespace testing_support {

/// The folder run-demo names in LUMETRA_HOLD (its screenshots' folder), or empty when the program
/// does not run for run-demo.
std::string HoldFolder();

/// When run-demo runs the program (HoldFolder is not empty): repaints every window, writes
/// <folder>/<Name>.ready and keeps the windows up, calling Pump (the messages of the windows
/// shown) until run-demo writes <folder>/<Name>.done, so that the picture is of a painted window
/// and never taken after a guessed delay. Gives up after a minute, so that a run-demo that died
/// leaves nothing hanging. Does nothing otherwise. Raises std::runtime_error when the .ready file
/// cannot be written.
void HoldForScreenshot(const std::string& Name, const std::function<void()>& Pump);

}  // namespace testing_support
