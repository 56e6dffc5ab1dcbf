// Comparing a shown dialog with its recording.
#include "live_dialog.hpp"

#include "dialogs/comdlg_params.hpp"
#include "message_log.hpp"

namespace win_test {

namespace {

std::string Str(const RECT& R) {
  return "[" + std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) + "," +
         std::to_string(R.bottom) + "]";
}

std::string FontText(const win::DialogFont& Font, bool SystemFont) {
  if (SystemFont) return "system font";
  return Font.Face + "/" + std::to_string(Font.Charset) + "/" + std::to_string(Font.Height);
}

void Check(std::vector<std::string>& Out, const std::string& What, const std::string& Live, const std::string& Recorded) {
  if (Live != Recorded) Out.push_back(What + ": live " + Live + ", recorded " + Recorded);
}

}  // namespace

std::vector<std::string> Differences(const win::DialogLayout& Live, const win::DialogLayout& Rec) {
  std::vector<std::string> out;
  Check(out, "title", Live.Title, Rec.Title);
  Check(out, "window", Str(Live.Window), Str(Rec.Window));
  Check(out, "client", Str(Live.Client), Str(Rec.Client));
  Check(out, "font", FontText(Live.Font, Live.SystemFont), FontText(Rec.Font, Rec.SystemFont));
  for (std::size_t i = 0; i < Live.Controls.size(); ++i) {
    const win::ControlLayout& l = Live.Controls[i];
    const std::string at = "control " + std::to_string(i + 1);
    if (i >= Rec.Controls.size()) {
      out.push_back(at + ": not recorded (id " + std::to_string(l.Id) + ")");
      continue;
    }
    const win::ControlLayout& c = Rec.Controls[i];
    Check(out, at + " id", std::to_string(l.Id), std::to_string(c.Id));
    Check(out, at + " class", l.ClassName, c.ClassName);
    Check(out, at + " text", l.Text, c.Text);
    Check(out, at + " rect", Str(l.Rect), Str(c.Rect));
    Check(out, at + " font", FontText(l.Font, l.SystemFont), FontText(c.Font, c.SystemFont));
    Check(out, at + " style", std::to_string(l.Style), std::to_string(c.Style));
  }
  if (Live.Controls.size() < Rec.Controls.size())
    out.push_back("the live dialog has " + std::to_string(Live.Controls.size()) + " controls, the recording " +
                  std::to_string(Rec.Controls.size()));
  return out;
}

std::vector<std::string> CompareWithRecording(HWND Dialog, const win::RecordedDialog& Rec) {
  return Differences(win::ReadDialog(Dialog), win::LayoutOf(Rec));
}

HWND CreateDialogOwner() {
  const dialogs::MainWindowPlacement p = dialogs::MainWindowPlacementForScreen();
  return CreateWindowExA(0, LogWindowClass(), "Owner", p.Style, p.X, p.Y, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace win_test
