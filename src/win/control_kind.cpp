// Telling the kinds of controls apart by window class and style.
#include "win/control_kind.h"

#include "vcl/SysUtils.hpp"

namespace win {

namespace {

// The system's window classes, by the names GetClassNameA gives.
constexpr std::string_view StaticClass = "Static", ButtonClass = "Button", EditClass = "Edit", ComboBoxClass = "ComboBox",
                           ComboBoxExClass = "ComboBoxEx32", ListBoxClass = "ListBox", ListViewClass = "SysListView32";

ControlKind KindOfStatic(DWORD Style) {
  switch (Style & SS_TYPEMASK) {
    case SS_LEFT: case SS_CENTER: case SS_RIGHT: case SS_SIMPLE: case SS_LEFTNOWORDWRAP: return ControlKind::Label;
    default: return ControlKind::Other;  // icons, bitmaps, frames and rectangles
  }
}

ControlKind KindOfButton(DWORD Style) {
  switch (Style & BS_TYPEMASK) {
    case BS_PUSHBUTTON: case BS_DEFPUSHBUTTON: return ControlKind::PushButton;
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE: return ControlKind::CheckBox;
    case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: return ControlKind::RadioButton;
    case BS_GROUPBOX: return ControlKind::GroupBox;
    default: return ControlKind::Other;  // owner-drawn and user buttons draw what they like
  }
}

}  // namespace

ControlKind KindOfControl(std::string_view ClassName, DWORD Style) {
  if (vcl::SameText(ClassName, StaticClass)) return KindOfStatic(Style);
  if (vcl::SameText(ClassName, ButtonClass)) return KindOfButton(Style);
  if (vcl::SameText(ClassName, EditClass)) return ControlKind::Edit;
  if (vcl::SameText(ClassName, ComboBoxClass) || vcl::SameText(ClassName, ComboBoxExClass)) return ControlKind::ComboBox;
  if (vcl::SameText(ClassName, ListBoxClass) || vcl::SameText(ClassName, ListViewClass)) return ControlKind::ListBox;
  return ControlKind::Other;
}

LabelText LabelTextOf(DWORD Style) {
  LabelText t;
  t.Prefix = (Style & SS_NOPREFIX) == 0;
  switch (Style & SS_TYPEMASK) {
    case SS_CENTER: t.Align = LabelText::Alignment::Center; break;
    case SS_RIGHT: t.Align = LabelText::Alignment::Right; break;
    case SS_SIMPLE: case SS_LEFTNOWORDWRAP: t.Wraps = false; break;
    default: break;
  }
  return t;
}

bool DropsDown(DWORD ComboBoxStyle) { return (ComboBoxStyle & (CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST)) != CBS_SIMPLE; }

bool ShowsContent(ControlKind Kind) {
  return Kind == ControlKind::Edit || Kind == ControlKind::ComboBox || Kind == ControlKind::ListBox;
}

const RecordedControl* FindRecordedControl(const RecordedDialog& Dialog, int Id) {
  if (Id < 0) {
    const auto n = static_cast<std::size_t>(-static_cast<long long>(Id));
    return n <= Dialog.Controls.size() ? &Dialog.Controls[n - 1] : nullptr;
  }
  for (const RecordedControl& c : Dialog.Controls)
    if (c.Id == Id) return &c;
  return nullptr;
}

}  // namespace win
