// A dialog's layout from its recording and from a live window, and the comparison of the two
// that the dialog tests make; the same tests run under Wine and in the simulation.
#include <cstring>
#include <string>

#include "live_dialog.hpp"
#include "message_log.hpp"
#include "test_support.hpp"
#include "win/dialog_layout.h"
#include "win/window_info.h"

using namespace win_test;

namespace {

class DialogLayoutRead : public ::testing::Test {
  FreshLog FLog;
};

HWND CreateChild(HWND Parent, const char* Class, const char* Text, int Id, int X, int Y, int W, int H) {
  return CreateWindowExA(0, Class, Text, WS_CHILD | WS_VISIBLE, X, Y, W, H, Parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), GetModuleHandleA(nullptr), nullptr);
}

std::string FaceOf(const char* Face) { return Face ? Face : ""; }

}  // namespace

TEST(DialogLayout, ARecordingGivesEveryFieldAndMarksTheSystemFont) {
  int systemFonts = 0;
  for (const win::RecordedDialog& rec : win::RecordedDialogs()) {
    SCOPED_TRACE(rec.Kind);
    const win::DialogLayout d = win::LayoutOf(rec);
    EXPECT_EQ(d.Title, rec.Title);
    EXPECT_EQ(d.Window.right - d.Window.left, rec.Window.right - rec.Window.left);
    EXPECT_EQ(d.Client.top, rec.Client.top);
    EXPECT_EQ(d.Style, rec.Style);
    EXPECT_EQ(d.SystemFont, rec.Font.Face == nullptr);
    EXPECT_EQ(d.Font.Face, FaceOf(rec.Font.Face));
    ASSERT_EQ(d.Controls.size(), rec.Controls.size());
    for (std::size_t i = 0; i < rec.Controls.size(); ++i) {
      const win::RecordedControl& r = rec.Controls[i];
      const win::ControlLayout& c = d.Controls[i];
      SCOPED_TRACE("control " + std::to_string(r.Position));
      EXPECT_EQ(c.Position, r.Position);
      EXPECT_EQ(c.Id, r.Id);
      EXPECT_EQ(c.ClassName, r.ClassName);
      EXPECT_EQ(c.Text, r.Text);
      EXPECT_EQ(c.Rect.left, r.Rect.left);
      EXPECT_EQ(c.Rect.bottom, r.Rect.bottom);
      EXPECT_EQ(c.Style, r.Style);
      EXPECT_EQ(c.SystemFont, r.Font.Face == nullptr);
      EXPECT_EQ(c.Font.Face, FaceOf(r.Font.Face)) << "a window without a font of its own has no face";
      if (r.Font.Face) {
        EXPECT_EQ(c.Font.Charset, r.Font.Charset);
        EXPECT_EQ(c.Font.Height, r.Font.Height);
      }
      systemFonts += c.SystemFont;
    }
  }
  EXPECT_GT(systemFonts, 0) << "the recordings hold controls without a font of their own (open, print, ...)";
}

TEST_F(DialogLayoutRead, ReadsTheWindowAndItsDirectChildrenInZOrder) {
  WindowGuard top(CreateLogWindow(50, 60, 300, 200));
  const HWND label = CreateChild(top.get(), "Static", "&Name:", 100, 5, 7, 95, 20);
  const HWND button = CreateChild(top.get(), "Button", "OK", 1, 110, 150, 75, 23);
  CreateChild(button, "Static", "inner", 300, 1, 1, 10, 10);  // a grandchild is not one of the dialog's controls
  LOGFONTA lf{};
  lf.lfHeight = -13;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = 238;
  std::strcpy(lf.lfFaceName, "Arial");
  const HFONT font = CreateFontIndirectA(&lf);
  ASSERT_TRUE(font);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);

  const win::DialogLayout d = win::ReadDialog(top.get());
  EXPECT_EQ(d.Title, "Log");
  RECT window{};
  GetWindowRect(top.get(), &window);
  EXPECT_EQ(d.Window.left, window.left);
  EXPECT_EQ(d.Window.bottom, window.bottom);
  EXPECT_EQ(d.Client.left, win::ClientRectOnScreen(top.get()).left);
  EXPECT_EQ(d.Client.bottom, win::ClientRectOnScreen(top.get()).bottom);
  EXPECT_TRUE(d.Style & WS_CAPTION);
  EXPECT_TRUE(d.SystemFont) << "a plain window answers WM_GETFONT with 0";

  ASSERT_EQ(d.Controls.size(), 2u);
  const win::ControlLayout& a = d.Controls[0];
  EXPECT_EQ(a.Position, 1);
  EXPECT_EQ(a.Id, 100);
  EXPECT_EQ(a.ClassName, "Static");
  EXPECT_EQ(a.Text, "&Name:");
  EXPECT_EQ(a.Rect.left, 5);
  EXPECT_EQ(a.Rect.top, 7);
  EXPECT_EQ(a.Rect.right, 100);
  EXPECT_EQ(a.Rect.bottom, 27);
  EXPECT_TRUE(a.Visible());
  EXPECT_TRUE(a.Style & WS_CHILD);
  EXPECT_FALSE(a.SystemFont);
  EXPECT_EQ(a.Font.Face, "Arial");
  EXPECT_EQ(a.Font.Charset, 238);
  EXPECT_EQ(a.Font.Height, -13);

  const win::ControlLayout& b = d.Controls[1];
  EXPECT_EQ(b.Position, 2);
  EXPECT_EQ(b.Id, 1);
  EXPECT_EQ(b.ClassName, "Button");
  EXPECT_EQ(b.Rect.right, 185);
  EXPECT_TRUE(b.SystemFont);
  EXPECT_EQ(b.Font.Face, "");

  DestroyWindow(top.get());
  DeleteObject(font);
  const win::DialogLayout gone = win::ReadDialog(top.get());
  EXPECT_EQ(gone.Title, "");
  EXPECT_TRUE(gone.Controls.empty());
}

TEST(DialogLayout, DifferencesNameEachFieldThatDiffers) {
  const win::DialogLayout rec = win::LayoutOf(*win::FindRecordedDialog("find"));
  EXPECT_TRUE(Differences(rec, rec).empty());

  win::DialogLayout live = rec;
  live.Title = "Suchen";
  live.Controls[0].Text = "Su&chen nach:";
  live.Controls[1].SystemFont = true;
  live.Controls[2].Style ^= WS_DISABLED;
  const std::vector<std::string> found = Differences(live, rec);
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0], "title: live Suchen, recorded " + rec.Title);
  EXPECT_EQ(found[1], "control 1 text: live Su&chen nach:, recorded " + rec.Controls[0].Text);
  EXPECT_EQ(found[2].substr(0, 35), "control 2 font: live system font, r");
  EXPECT_EQ(found[3].substr(0, 16), "control 3 style:");

  win::DialogLayout more = rec;
  more.Controls.push_back(rec.Controls[0]);
  more.Controls.back().Id = 4242;
  EXPECT_EQ(Differences(more, rec), std::vector<std::string>{"control " + std::to_string(rec.Controls.size() + 1) + ": not recorded (id 4242)"});
  win::DialogLayout fewer = rec;
  fewer.Controls.pop_back();
  EXPECT_EQ(Differences(fewer, rec), std::vector<std::string>{"the live dialog has " + std::to_string(rec.Controls.size() - 1) +
                                                              " controls, the recording " + std::to_string(rec.Controls.size())});
}
