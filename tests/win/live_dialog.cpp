// Comparing a shown dialog with its recording.
#include "live_dialog.hpp"

#include <cstring>

#include "dialogs/comdlg_params.hpp"
#include "message_log.hpp"
#include "win/window_info.h"

namespace win_test {

namespace {

std::string Str(const RECT& R) {
  return "[" + std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) + "," +
         std::to_string(R.bottom) + "]";
}

std::string FontText(const win::RecordedFont& F) {
  if (!F.Face) return "system font";
  return std::string(F.Face) + "/" + std::to_string(F.Charset) + "/" + std::to_string(F.Height);
}

std::string LiveFont(HWND Hwnd) {
  const auto font = win::FontOf(Hwnd);
  if (!font) return "system font";
  return font->Face + "/" + std::to_string(font->Charset) + "/" + std::to_string(font->Height);
}

void Check(std::vector<std::string>& Out, const std::string& What, const std::string& Live, const std::string& Recorded) {
  if (Live != Recorded) Out.push_back(What + ": live " + Live + ", recorded " + Recorded);
}

}  // namespace

std::vector<std::string> CompareWithRecording(HWND Dialog, const win::RecordedDialog& Rec) {
  std::vector<std::string> out;
  RECT window;
  GetWindowRect(Dialog, &window);
  Check(out, "title", win::WindowText(Dialog), Rec.Title);
  Check(out, "window", Str(window), Str(Rec.Window));
  Check(out, "client", Str(win::ClientRectOnScreen(Dialog)), Str(Rec.Client));
  Check(out, "font", LiveFont(Dialog), FontText(Rec.Font));
  std::size_t i = 0;
  for (HWND child = GetWindow(Dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++i) {
    const std::string at = "control " + std::to_string(i + 1);
    if (i >= Rec.Controls.size()) {
      out.push_back(at + ": not recorded (id " + std::to_string(GetDlgCtrlID(child)) + ")");
      continue;
    }
    const win::RecordedControl& c = Rec.Controls[i];
    Check(out, at + " id", std::to_string(GetDlgCtrlID(child)), std::to_string(c.Id));
    Check(out, at + " class", win::ClassNameOf(child), c.ClassName);
    Check(out, at + " text", win::WindowText(child), c.Text);
    Check(out, at + " rect", Str(win::RectInClientOf(child, Dialog)), Str(c.Rect));
    Check(out, at + " font", LiveFont(child), FontText(c.Font));
    Check(out, at + " style", std::to_string(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE))), std::to_string(c.Style));
  }
  if (i < Rec.Controls.size()) out.push_back("the live dialog has " + std::to_string(i) + " controls, the recording " +
                                             std::to_string(Rec.Controls.size()));
  return out;
}

HWND CreateDialogOwner() {
  const dialogs::MainWindowPlacement p = dialogs::MainWindowPlacementForScreen();
  return CreateWindowExA(0, LogWindowClass(), "Owner", p.Style, p.X, p.Y, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace win_test
