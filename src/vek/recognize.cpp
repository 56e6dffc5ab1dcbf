// Naming the kind of a common dialog from its window alone: the window class and the ids, kinds
// and styles of its controls, never its texts, which may be in any language.
//
// Notes:
// - Every kind is told by controls that only it has among the common dialogs (the ids of
//   <dlgs.h> and the colour dialog's 7xx ids, each of the kind of control it is in comdlg32's
//   own templates). A program's own "#32770" dialog that borrows one or two of these ids (an
//   edit 1152 and IDOK, say) has not the whole set and is none.
// - The print dialog holds checkboxes, edits and radio buttons with the find and replace ids,
//   and the print-setup dialog the three combo boxes of the font dialog, so the kinds are tried
//   in an order where each one's set excludes those tried after it.
// - Open and save dialogs have the same template, in both styles (measured under Wine): the
//   save dialog differs only in texts. comdlg32 sets the explorer-style save dialog's OK button
//   to its string 1201 ("&Save"), and the old-style save dialog's template (SAVE_FILE) has as
//   its OK button the text of its string 1204 ("Save As"); both are loaded from the comdlg32
//   module of the process, which answers in the thread's language, the one the dialog was
//   made in (checked in English, German, Russian and Japanese). The simulation's dialogs are
//   the recordings, so there the recorded save dialog's OK button holds that text.
// - An explorer-style file dialog with a hook or an application template shows that template
//   as a child dialog of the file dialog; the child is recognised through its parent.
// - The old-style file dialog (GetOpenFileName without OFN_EXPLORER) under Wine, template
//   OPEN_FILE or SAVE_FILE: stc3 1090 label, edt1 1152 file name, lst1 1120 files (ListBox),
//   stc1 1088 folder, lst2 1121 folders (ListBox), stc2 1089 label, cmb1 1136 types, stc4 1091
//   label, cmb2 1137 drives, IDOK, IDCANCEL, pshHelp 1038, chx1 1040 read-only. The explorer
//   style has lst2's id on its shell view (SHELLDLL_DefView), no list box.
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "Vek.hpp"
#include "vcl/SysUtils.hpp"
#include "win/control_kind.h"
#include "win/recorded_dialogs.h"

namespace Vek {

namespace {

using win::ControlKind;

// The ids the kinds are told by (<dlgs.h> names in the comments; the simulation defines few).
enum ControlId : int {
  OkButton = 1,               // IDOK
  ReplaceButton = 0x400,      // psh1
  ReplaceAllButton = 0x401,   // psh2
  FirstCheckBox = 0x410,      // chx1
  SecondCheckBox = 0x411,     // chx2
  FirstRadio = 0x420,         // rad1
  SecondRadio = 0x421,        // rad2
  ThirdRadio = 0x422,         // rad3
  FirstGroup = 0x430,         // grp1
  SecondGroup = 0x431,        // grp2
  FourthGroup = 0x433,        // grp4
  FileNameLabel = 0x442,      // stc3
  FileList = 0x460,           // lst1
  FolderList = 0x461,         // lst2
  FirstCombo = 0x470,         // cmb1
  SecondCombo = 0x471,        // cmb2
  ThirdCombo = 0x472,         // cmb3
  FourthCombo = 0x473,        // cmb4
  FileNameCombo = 0x47c,      // cmb13
  FirstEdit = 0x480,          // edt1
  SecondEdit = 0x481,         // edt2
  ThirdEdit = 0x482,          // edt3
  FourthEdit = 0x483,         // edt4 .. edt7: the page margins
  FifthEdit = 0x484,
  SixthEdit = 0x485,
  SeventhEdit = 0x486,
  ColorHue = 703,             // COLOR_HUE .. COLOR_BLUE: the colour dialog's edits
  ColorSat = 704,
  ColorLum = 705,
  ColorRed = 706,
  ColorGreen = 707,
  ColorBlue = 708,
  ColorAdd = 712,             // COLOR_ADD
  ColorMix = 719,             // COLOR_MIX
};

#ifdef _WIN32
// comdlg32's strings for the OK button of a save dialog (see Notes).
constexpr unsigned ExplorerSaveButtonString = 1201;
constexpr unsigned OldStyleSaveButtonString = 1204;
#endif

std::string ClassNameOf(HWND Window) {
  char name[64] = {};
  GetClassNameA(Window, name, sizeof name);
  return name;
}

bool IsDialogWindow(HWND Window) { return Window && vcl::SameText(ClassNameOf(Window), "#32770"); }

// The direct children of a dialog, by id and kind.
class Controls {
public:
  explicit Controls(HWND Dialog) {
    for (HWND c = GetWindow(Dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      FItems.push_back({GetDlgCtrlID(c), win::KindOfControl(ClassNameOf(c), static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE))), c});
  }
  /// The first child of that id and kind; nullptr when there is none.
  HWND Find(int Id, ControlKind Kind) const {
    const auto it = std::find_if(FItems.begin(), FItems.end(), [&](const Item& i) { return i.Id == Id && i.Kind == Kind; });
    return it == FItems.end() ? nullptr : it->Window;
  }
  bool Has(ControlKind Kind, std::initializer_list<int> Ids) const {
    return std::all_of(Ids.begin(), Ids.end(), [&](int id) { return Find(id, Kind) != nullptr; });
  }

private:
  struct Item {
    int Id;
    ControlKind Kind;
    HWND Window;
  };
  std::vector<Item> FItems;
};

// Whether the OK button of a file dialog holds comdlg32's text for the save dialog's.
bool HasSaveButton(const Controls& Children, bool Explorer) {
  const HWND ok = Children.Find(OkButton, ControlKind::PushButton);
  if (!ok) return false;
#ifdef _WIN32
  const HMODULE comdlg = GetModuleHandleW(L"comdlg32.dll");
  if (!comdlg) return false;
  wchar_t own[256] = {}, shown[256] = {};
  if (LoadStringW(comdlg, Explorer ? ExplorerSaveButtonString : OldStyleSaveButtonString, own, 256) <= 0) return false;
  GetWindowTextW(ok, shown, 256);
  return std::wstring(shown) == own;
#else
  (void)Explorer;
  const win::RecordedDialog* save = win::FindRecordedDialog("save");
  const win::RecordedControl* button = save ? win::FindRecordedControl(*save, OkButton) : nullptr;
  if (!button) return false;
  char shown[256] = {};
  GetWindowTextA(ok, shown, sizeof shown);
  return std::string(shown) == button->Text;
#endif
}

std::string KindOfDialogItself(HWND Dialog) {
  const Controls c(Dialog);
  using K = ControlKind;
  if (c.Has(K::Edit, {ColorHue, ColorSat, ColorLum, ColorRed, ColorGreen, ColorBlue}) &&
      c.Has(K::PushButton, {ColorAdd, ColorMix}))
    return "TColorDialog";
  const bool fileDialog = c.Has(K::ComboBox, {FirstCombo, SecondCombo}) && c.Has(K::ListBox, {FileList}) &&
                          c.Has(K::Label, {FileNameLabel});
  if (fileDialog && !c.Has(K::ListBox, {FolderList}) &&
      (c.Has(K::ComboBox, {FileNameCombo}) || c.Has(K::Edit, {FirstEdit})))
    return HasSaveButton(c, true) ? "TSaveDialog" : "TOpenDialog";
  if (fileDialog && c.Has(K::ListBox, {FolderList}) && c.Has(K::Edit, {FirstEdit}))
    return HasSaveButton(c, false) ? "TSaveDialog" : "TOpenDialog";
  if (c.Has(K::ComboBox, {FourthCombo}) && c.Has(K::Edit, {FirstEdit, SecondEdit, ThirdEdit}) &&
      c.Has(K::RadioButton, {FirstRadio, SecondRadio, ThirdRadio}) && c.Has(K::GroupBox, {FourthGroup}))
    return "TPrintDialog";
  if (c.Has(K::Edit, {FourthEdit, FifthEdit, SixthEdit, SeventhEdit}) && c.Has(K::ComboBox, {SecondCombo, ThirdCombo}) &&
      c.Has(K::RadioButton, {FirstRadio, SecondRadio}))
    return "TPageSetupDialog";
  if (c.Has(K::ComboBox, {FirstCombo, SecondCombo, ThirdCombo}) && c.Has(K::RadioButton, {FirstRadio, SecondRadio}) &&
      c.Has(K::GroupBox, {FirstGroup, SecondGroup}))
    return "TPrinterSetupDialog";
  if (c.Has(K::ComboBox, {FirstCombo, SecondCombo, ThirdCombo}) && c.Has(K::CheckBox, {FirstCheckBox, SecondCheckBox}) &&
      !c.Has(K::RadioButton, {FirstRadio}))
    return "TFontDialog";
  if (c.Has(K::Edit, {FirstEdit, SecondEdit}) && c.Has(K::CheckBox, {FirstCheckBox, SecondCheckBox}) &&
      c.Has(K::PushButton, {OkButton, ReplaceButton, ReplaceAllButton}))
    return "TReplaceDialog";
  if (c.Has(K::Edit, {FirstEdit}) && !c.Has(K::Edit, {SecondEdit}) && c.Has(K::CheckBox, {FirstCheckBox, SecondCheckBox}) &&
      c.Has(K::RadioButton, {FirstRadio, SecondRadio}) && c.Has(K::GroupBox, {FirstGroup}) && c.Has(K::PushButton, {OkButton}))
    return "TFindDialog";
  return "";
}

}  // namespace

std::string DialogKindOfWindow(HWND Dialog) {
  if (!IsDialogWindow(Dialog)) return "";
  std::string kind = KindOfDialogItself(Dialog);
  if (!kind.empty()) return kind;
  // A file dialog's hook or template child: the kind of the file dialog around it.
  if (!(GetWindowLongA(Dialog, GWL_STYLE) & WS_CHILD)) return "";
  const HWND parent = GetParent(Dialog);
  if (!IsDialogWindow(parent)) return "";
  kind = KindOfDialogItself(parent);
  return kind == "TOpenDialog" || kind == "TSaveDialog" ? kind : "";
}

}  // namespace Vek
