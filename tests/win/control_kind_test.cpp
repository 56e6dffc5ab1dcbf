// Telling the kinds of controls apart by window class and style.
#include <gtest/gtest.h>

#include "vcl/SysUtils.hpp"
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

// A label's style decides where its lines stand and whether they wrap; the mnemonic flag stands
// apart from the type.
TEST(ControlKind, LabelStylesSetTheirText) {
  using Align = win::LabelText::Alignment;
  const struct {
    DWORD Style;
    Align Alignment;
    bool Wraps, Prefix;
  } cases[] = {
      {SS_LEFT, Align::Left, true, true},          {SS_CENTER | SS_NOPREFIX, Align::Center, true, false},
      {SS_RIGHT, Align::Right, true, true},        {SS_SIMPLE, Align::Left, false, true},
      {SS_LEFTNOWORDWRAP | SS_NOPREFIX, Align::Left, false, false},
  };
  for (const auto& c : cases) {
    const win::LabelText t = win::LabelTextOf(c.Style | WS_VISIBLE);
    EXPECT_EQ(t.Align, c.Alignment) << c.Style;
    EXPECT_EQ(t.Wraps, c.Wraps) << c.Style;
    EXPECT_EQ(t.Prefix, c.Prefix) << c.Style;
  }
  EXPECT_FALSE(win::DropsDown(CBS_SIMPLE | WS_VSCROLL));
  EXPECT_TRUE(win::DropsDown(CBS_DROPDOWN));
  EXPECT_TRUE(win::DropsDown(CBS_DROPDOWNLIST | WS_VSCROLL));
  EXPECT_TRUE(vcl::SameText("comboboxex32", "ComboBoxEx32"));
  EXPECT_FALSE(vcl::SameText("ComboBox", "ComboBoxEx32"));
}
