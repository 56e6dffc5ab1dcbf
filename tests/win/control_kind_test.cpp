// Telling the kinds of controls apart by window class and style.
#include <gtest/gtest.h>

#include "win/control_kind.h"

using win::ControlKind;

TEST(ControlKind, ClassAndStyleDecide) {
  const struct {
    const char* ClassName;
    DWORD Style;
    ControlKind Kind;
  } cases[] = {
      {"static", SS_LEFTNOWORDWRAP, ControlKind::Label},     {"Static", SS_ETCHEDFRAME, ControlKind::Other},
      {"Button", BS_DEFPUSHBUTTON, ControlKind::PushButton}, {"BUTTON", BS_AUTO3STATE | BS_MULTILINE, ControlKind::CheckBox},
      {"Button", BS_RADIOBUTTON, ControlKind::RadioButton},  {"Button", BS_TYPEMASK, ControlKind::Other},
      {"edit", ES_READONLY, ControlKind::Edit},              {"ComboBoxEx32", 0, ControlKind::ComboBox},
      {"SysListView32", 0, ControlKind::ListBox},            {"ToolbarWindow32", 0, ControlKind::Other},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(win::KindOfControl(c.ClassName, c.Style), c.Kind) << c.ClassName << " " << c.Style;
    EXPECT_EQ(win::ShowsContent(c.Kind), c.Kind >= ControlKind::Edit) << c.ClassName;
  }
}
