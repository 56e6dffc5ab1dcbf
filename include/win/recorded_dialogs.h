// The common dialogs and the system metrics as recorded from Wine (data/dialogs/*.json), compiled in.
//
// The simulated window system builds its dialogs from these tables; the Windows tests compare
// the live dialogs with them. tools/record-dialogs writes the recordings.
#pragma once

#include <span>
#include <string_view>

#include "win/api.h"

namespace win {

/// A font as a window uses it; Face is nullptr for the system font (WM_GETFONT gives 0).
struct RecordedFont {
  const char* Face;
  int Charset;
  int Height;
};

/// One direct child of a dialog, in z-order.
struct RecordedControl {
  int Position;           ///< 1-based place in the GW_CHILD / GW_HWNDNEXT chain
  int Id;                 ///< as GetDlgCtrlID returns it
  const char* ClassName;  ///< as GetClassNameA returns it
  const char* Text;       ///< the whole window text
  RECT Rect;              ///< in the dialog's client coordinates
  RecordedFont Font;
  DWORD Style;
};

struct RecordedDialog {
  const char* Kind;  ///< the name of its recording: open, save, font, ... (vcl::StandardDialogs())
  const char* Title;
  RECT Window;  ///< screen coordinates
  RECT Client;  ///< the client area in screen coordinates (the frame lies between the two)
  RecordedFont Font;
  DWORD Style;
  std::span<const RecordedControl> Controls;
};

/// One system metric as GetSystemMetrics gave it with the dialogs.
struct RecordedMetric {
  const char* Name;  ///< SM_CXVSCROLL, ...
  int Index;
  int Value;
};

/// Every recorded system metric.
std::span<const RecordedMetric> RecordedMetrics();
/// The recorded value of the metric Index; 0 for one not recorded, as GetSystemMetrics answers
/// for an index it does not know.
int RecordedSystemMetric(int Index);

/// Every recorded dialog (every data/dialogs/<kind>.json but metrics.json), by kind in
/// alphabetical order.
std::span<const RecordedDialog> RecordedDialogs();
/// The recorded dialog of that kind, or nullptr when there is none.
const RecordedDialog* FindRecordedDialog(std::string_view Kind);

}  // namespace win
