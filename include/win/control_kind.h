// What kind of control a child window is, from its class name and style: the one place that tells
// labels, buttons and the boxes whose text is what the user types or picks apart.
#pragma once

#include <cstdint>
#include <string_view>

#include "win/api.h"
#include "win/recorded_dialogs.h"

namespace win {

enum class ControlKind : std::uint8_t {
  Other = 0,        // pictures, frames, owner-drawn buttons, toolbars, scroll bars, ...
  Label = 1,        // a static control that draws its text
  PushButton = 2,
  CheckBox = 3,
  RadioButton = 4,
  GroupBox = 5,
  Edit = 6,
  ComboBox = 7,
  ListBox = 8,      // list boxes and list views
};

/// The kind of a control of window class ClassName (compared without regard to case, as window
/// classes are) and style Style. Never fails: what it does not know is Other.
ControlKind KindOfControl(std::string_view ClassName, DWORD Style);

/// How a label (ControlKind::Label) sets its text: to the left, centred or to the right, in
/// lines wrapped at its width (SS_LEFT, SS_CENTER, SS_RIGHT) or on one line that is cut
/// (SS_SIMPLE, SS_LEFTNOWORDWRAP); "&" marks a mnemonic unless SS_NOPREFIX.
struct LabelText {
  enum class Alignment : std::uint8_t { Left, Center, Right };
  Alignment Align = Alignment::Left;
  bool Wraps = true;
  bool Prefix = true;
};
LabelText LabelTextOf(DWORD Style);

/// Whether a drop-down combo box (CBS_DROPDOWN, CBS_DROPDOWNLIST) of that style, whose window
/// holds its closed list too, rather than a simple one that shows its list beneath the field.
bool DropsDown(DWORD ComboBoxStyle);

/// Whether a control of that kind shows content (what the user types or picks, or what the
/// dialog fills in from the machine: folders, fonts, printers, numbers) rather than a label.
bool ShowsContent(ControlKind Kind);

/// The control of a recorded dialog that an id addresses as the apply step finds it: the first
/// with that id, or for a negative (ordinal) id -n the n-th child; nullptr when there is none.
const RecordedControl* FindRecordedControl(const RecordedDialog& Dialog, int Id);

}  // namespace win
