// Input for the tests that drive windows: keys and mouse clicks as the user gives them
// (SendInput on Windows, posted messages in the simulation), and modal forms driven by a timer
// script.
#pragma once

#include <functional>
#include <vector>

#include "vcl/Controls.hpp"

namespace ui_test {

/// Presses and releases Key with the shift keys held, for the window that has the focus.
void Key(WORD Key, vcl::TShiftState Shift = 0);
/// Clicks the left button at a point of Control's client area (its middle by default).
void Click(vcl::TControl* Control, int X = -1, int Y = -1, vcl::TShiftState Shift = 0);
/// Shows Form modally and runs one step per timer tick while it is up; when the steps are done
/// and the form is still open it ends with mrAbort. Returns what ShowModal returns.
vcl::TModalResult RunModal(vcl::TCustomForm& Form, std::vector<std::function<void()>> Steps);
/// As RunModal for whatever modal form Body shows (a message box): the steps act on the active
/// form.
void RunScript(const std::function<void()>& Body, std::vector<std::function<void()>> Steps);

}  // namespace ui_test
