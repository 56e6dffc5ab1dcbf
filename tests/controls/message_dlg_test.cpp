// MessageDlg, ShowMessage and InputQuery answered with keys as the user gives them.
#include "input.hpp"
#include "test_support.hpp"
#include "vcl/Dialogs.hpp"
#include "vcl/StdCtrls.hpp"

using namespace vcl;
using ui_test::Key;
using ui_test::RunScript;

namespace {

// The caption of the active form and the captions of its buttons, in order.
std::vector<std::string> ActiveBox() {
  std::vector<std::string> seen;
  auto* form = dynamic_cast<TCustomForm*>(TControl::FromHandle(GetActiveWindow()));
  if (!form) return seen;
  seen.push_back(form->Caption());
  for (TControl* c : form->Controls())
    if (c->Is<TButton>()) seen.push_back(c->Caption() + (static_cast<TButton*>(c)->Default() ? " default" : "") +
                                         (static_cast<TButton*>(c)->Cancel() ? " cancel" : ""));
  return seen;
}

}  // namespace

TEST(MessageDlg, ButtonsKeysAndAnswers) {
  struct Case {
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
    WORD Key;
    TShiftState Shift;
    TModalResult Answer;
    std::vector<std::string> Box;
  } cases[] = {
      {mtWarning, mbYes | mbNo, VK_RETURN, 0, mrYes, {"Warning", "&Yes default", "&No cancel"}},
      {mtWarning, mbYes | mbNo, VK_ESCAPE, 0, mrNo, {"Warning", "&Yes default", "&No cancel"}},
      {mtWarning, mbYes | mbNo, 'N', ssAlt, mrNo, {"Warning", "&Yes default", "&No cancel"}},
      {mtConfirmation, mbYesNoCancel, VK_ESCAPE, 0, mrCancel, {"Confirm", "&Yes default", "&No", "Cancel cancel"}},
      {mtError, mbOK, VK_ESCAPE, 0, mrOk, {"Error", "OK default cancel"}},
      {mtInformation, mbOKCancel, VK_TAB, 0, mrAbort, {"Information", "OK default", "Cancel cancel"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> box;
    TModalResult answer = mrNone;
    RunScript([&] { answer = MessageDlg("Do you want to discard the changes ?", c.Type, c.Buttons, 0); },
              {[&] { box = ActiveBox(); }, [&] { Key(c.Key, c.Shift); }});
    EXPECT_EQ(answer, c.Answer) << c.Box[0] << " key " << c.Key;
    EXPECT_EQ(box, c.Box);
  }
}

TEST(InputQuery, OKGivesTheTextAndCancelKeepsTheValue) {
  std::string value = "start";
  bool ok = false;
  RunScript([&] { ok = InputQuery("Add a property", "Please enter the property name", value); },
            {[] { Key('A'); }, [] { Key('B'); }, [] { Key(VK_RETURN); }});
  EXPECT_TRUE(ok);
  EXPECT_EQ(value, "ab") << "typing replaces the selected start text";
  RunScript([&] { ok = InputQuery("Add a property", "Please enter the property name", value); },
            {[] { Key('X'); }, [] { Key(VK_ESCAPE); }});
  EXPECT_FALSE(ok);
  EXPECT_EQ(value, "ab");
}
