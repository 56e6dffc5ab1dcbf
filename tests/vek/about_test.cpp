// The About box on both window systems, driven by a timer script with an injected clock: the
// text, the form as built, the OK button's wait after each activation, early closes, quitting.
#include <algorithm>
#include <memory>

#include "Vek.hpp"
#include "input.hpp"
#include "test_support.hpp"
#include "vcl/StdCtrls.hpp"

using namespace Vek;

namespace {

DWORD FakeNow = 0;
DWORD FakeClock() { return FakeNow; }

// The About box that is up: the modal form that is active.
vcl::TCustomForm* Box() { return dynamic_cast<vcl::TCustomForm*>(vcl::TControl::FromHandle(GetActiveWindow())); }
vcl::TButton* OkButton() { return Box()->Field<vcl::TButton>("Button"); }
vcl::TLabel* TextLabel() {
  for (int i = 0; i < Box()->ComponentCount(); ++i)
    if (auto* label = dynamic_cast<vcl::TLabel*>(Box()->Components(i))) return label;
  return nullptr;
}
// The clock moves on and the form takes its next look at it.
void Advance(DWORD Ms) {
  FakeNow += Ms;
  SendMessageA(Box()->Handle(), WM_TIMER, 1, 0);
}
void Activate() { SendMessageA(Box()->Handle(), WM_ACTIVATE, WA_ACTIVE, 0); }

class AboutBox : public ::testing::Test {
protected:
  void SetUp() override {
    FSavedClock = std::exchange(TimedMessageClock, &FakeClock);
    FakeNow = 100000;
    FForms = vcl::Application->ComponentCount();
  }
  void TearDown() override {
    TimedMessageClock = FSavedClock;
    EXPECT_EQ(vcl::Application->ComponentCount(), FForms) << "the box is freed";
  }
  // Shows the box and runs the steps; a last step ends it whatever the steps left.
  void Run(std::vector<std::function<void()>> Steps) {
    Steps.push_back([] {
      if (Box()) Advance(10000), OkButton()->Click();
    });
    ui_test::RunScript([] { ShowTimedMessage("About ...", AboutText()); }, std::move(Steps));
  }
  DWORD (*FSavedClock)() = nullptr;
  int FForms = 0;
};

}  // namespace

TEST(AboutText, FourLinesTheThirdEmpty) {
  const std::string text = AboutText();
  const auto lines = vcl::SplitLines(text);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Lumetra 2.1");
  EXPECT_NE(lines[1], "");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3].substr(0, 10), "Internet: ");
  EXPECT_GT(lines[3].size(), 10u);
  EXPECT_NE(text.back(), '\n') << "no line end after the fourth line";
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 3);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
}

TEST_F(AboutBox, IsBuiltAsListed) {
  Run({[] {
    vcl::TCustomForm* f = Box();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->ClassName(), "TForm");
    EXPECT_EQ(f->Owner(), vcl::Application);
    EXPECT_EQ(f->Caption(), "About ...");
    EXPECT_EQ(f->BorderIcons(), 0u);
    EXPECT_EQ(f->BorderStyle(), vcl::bsDialog);
    EXPECT_EQ(f->ClientWidth(), 360);
    EXPECT_EQ(f->ClientHeight(), 130);
    EXPECT_EQ(f->Position(), vcl::poScreenCenter);
    EXPECT_EQ(f->Font()->Name(), "Ariel");
    EXPECT_EQ(f->Font()->Size(), 10);
    vcl::TButton* b = OkButton();
    EXPECT_EQ(b->Parent(), f);
    EXPECT_EQ(b->Caption(), "OK");
    EXPECT_TRUE(b->Default());
    EXPECT_FALSE(b->Enabled());
    EXPECT_EQ(b->ModalResult(), vcl::mrOk);
    EXPECT_EQ(b->Left(), f->Width() / 2 - b->Width() / 2) << "centred on the outer width";
    EXPECT_EQ(b->Top(), 130 - (b->Height() + 5));
    EXPECT_EQ(b->Font()->Name(), "Ariel");
    vcl::TLabel* l = TextLabel();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Parent(), f);
    EXPECT_EQ(l->Caption(), AboutText());
    EXPECT_EQ(l->Font()->Name(), "Ariel") << "the form's font, made bold";
    EXPECT_EQ(l->Font()->Style(), vcl::fsBold);
    EXPECT_EQ(l->Left(), f->Width() / 2 - l->Width() / 2);
    EXPECT_EQ(l->Top(), 15);
    // As wide as its text in bold, so that the end of the longest line is not cut off.
    vcl::TLabel bold(nullptr);
    bold.SetParent(f);
    bold.Font()->SetStyle(vcl::fsBold);
    bold.SetCaption(AboutText());
    EXPECT_EQ(l->Width(), bold.Width());
    bold.SetParent(nullptr);
  }});
}

TEST_F(AboutBox, AWideTextIsCentredOnTheOuterWidthAndCut) {
  const std::string wide(120, 'W');
  int left = 0, width = 0, outer = 0, client = 0;
  ui_test::RunScript([&] { ShowTimedMessage("Wide", wide); },
                     {[&] {
                       vcl::TLabel* l = TextLabel();
                       left = l->Left(), width = l->Width(), outer = Box()->Width(), client = Box()->ClientWidth();
                       Advance(TimedMessageDelay), OkButton()->Click();
                     }});
  EXPECT_GT(width, outer);
  EXPECT_LT(left, 0) << "the label starts left of the client area";
  EXPECT_EQ(left, outer / 2 - width / 2);
  EXPECT_EQ(client, 360) << "the form does not grow";
}

TEST_F(AboutBox, ButtonWaitsAfterEachActivation) {
  // Each row is one script step: clock movement, then what the button shows.
  const struct {
    const char* What;
    DWORD Advance;
    bool Reactivate;  // before the clock moves
    bool Enabled;
  } steps[] = {
      {"just shown", 0, false, false},
      {"1499 ms after activation", 1499, false, false},
      {"activated again at 1499 ms, 1000 ms later", 1000, true, false},
      {"1499 ms after the second activation", 499, false, false},
      {"1500 ms after the second activation", 1, false, true},
      {"activated once more: stays enabled", 0, true, true},
      {"and after the wait", 2000, false, true},
  };
  std::vector<std::function<void()>> script;
  for (const auto& s : steps)
    script.push_back([&s] {
      SCOPED_TRACE(s.What);
      if (s.Reactivate) Activate();
      Advance(s.Advance);
      EXPECT_EQ(OkButton()->Enabled(), s.Enabled);
    });
  Run(std::move(script));
}

TEST_F(AboutBox, EnterPressesOkOnlyAfterTheWait) {
  bool upAfterEarlyEnter = false, ranAfterLateEnter = false;
  Run({[] { PostMessageA(Box()->Handle(), WM_KEYDOWN, VK_RETURN, 0); },
       [&] {
         upAfterEarlyEnter = Box() && Box()->ModalResult() == vcl::mrNone;
         Advance(TimedMessageDelay);
         PostMessageA(Box()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
       },
       [&] { ranAfterLateEnter = true; }});
  EXPECT_TRUE(upAfterEarlyEnter);
  EXPECT_FALSE(ranAfterLateEnter) << "Enter on the enabled default button closes the box";
}

TEST_F(AboutBox, TheWaitCountsAcrossAWrapOfTheClock) {
  for (DWORD start : {0xFFFFFFFFu - 1000, 0xFFFFFFFFu, 0u}) {
    SCOPED_TRACE(start);
    FakeNow = start;
    bool before = true, after = false;
    Run({[&] { Advance(TimedMessageDelay - 1), before = OkButton()->Enabled(); },
         [&] { Advance(1), after = OkButton()->Enabled(); }});
    EXPECT_FALSE(before);
    EXPECT_TRUE(after);
  }
}

TEST_F(AboutBox, AnEarlyCloseKeepsTheBoxALateOneEndsIt) {
  HWND first = nullptr;
  bool keptAfterClose = false, stillDisabled = false, ranAfterLateClose = false;
  Run({[&] {
         first = Box()->Handle();
         Advance(1000);
         PostMessageA(first, WM_CLOSE, 0, 0);
       },
       [&] {
         keptAfterClose = Box() && Box()->Handle() == first && IsWindowVisible(first);
         stillDisabled = !OkButton()->Enabled();
         Activate();  // the button's wait starts again; a close is judged from the call's start
         Advance(TimedMessageDelay - 1000);
         PostMessageA(first, WM_CLOSE, 0, 0);
       },
       [&] { ranAfterLateClose = true; }});
  EXPECT_TRUE(keptAfterClose) << "the same box stays up";
  EXPECT_TRUE(stillDisabled);
  EXPECT_FALSE(ranAfterLateClose) << "1500 ms after the call began a close ends it, button enabled or not";
}

TEST_F(AboutBox, QuittingTheApplicationEndsTheCall) {
  Run({[] { PostQuitMessage(3); }});
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is left for the outer loop";
  EXPECT_EQ(msg.wParam, 3u);
}
