// Simulated comdlg32: the common dialogs, built from the recordings of the real ones.
//
// Notes:
// - A dialog gets the recorded title, window rectangle, non-client frame (the difference between
//   the recorded window and client rectangles), font and style, and every recorded direct child
//   with its class, text, id, rectangle, font and style, in the recorded z-order. Classes the
//   simulation does not know (ComboBoxEx32, ToolbarWindow32, ...) behave as plain windows.
// - Fonts are created per dialog, one per distinct recorded font, and deleted with the dialog.
// - The modal kinds follow DialogBox: the owner is disabled, the dialog gets WM_INITDIALOG,
//   and the modal loop shows it when the queue first runs empty (WM_SHOWWINDOW, WM_NCACTIVATE,
//   WM_ACTIVATE, focus, WM_ERASEBKGND with WM_CTLCOLORDLG, WM_WINDOWPOSCHANGED, later WM_PAINT)
//   and sends the owner WM_ENTERIDLE whenever the queue runs empty. IDOK and IDCANCEL end the
//   dialog; WM_CLOSE turns into IDCANCEL; then the owner is enabled and activated and the dialog
//   destroyed.
// - Find and replace are modeless: shown at once, they report to their owner with the
//   registered message "commdlg_FindReplace" (FR_FINDNEXT, FR_REPLACE, FR_REPLACEALL, and
//   FR_DIALOGTERM before the window is destroyed on Cancel or WM_CLOSE).
// - OK of a file dialog takes the file-name box as typed (under the initial folder when it has
//   no folder of its own); with an empty box the dialog stays open, as the real one does.
#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

#include "state.hpp"
#include "win/recorded_dialogs.h"

namespace win_sim {

namespace {

constexpr int FileNameCombo = 1148;  // cmb13, the explorer dialog's file-name box
constexpr int FileNameEdit = edt1;  // also the find dialog's "Find What" box
constexpr int ReplaceEdit = 1153;    // edt2
constexpr int ReplaceButton = psh1;
constexpr int ReplaceAllButton = psh2;

HFONT FontFor(Window& Dialog, const win::RecordedFont& F,
              std::map<std::tuple<std::string, int, int>, HFONT>& Cache) {
  if (!F.Face) return nullptr;
  const auto key = std::make_tuple(std::string(F.Face), F.Charset, F.Height);
  if (auto it = Cache.find(key); it != Cache.end()) return it->second;
  LOGFONTA lf{};
  lf.lfHeight = F.Height;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = static_cast<BYTE>(F.Charset);
  std::strncpy(lf.lfFaceName, F.Face, LF_FACESIZE - 1);
  const HFONT font = CreateFontIndirectA(&lf);
  Dialog.OwnedFonts.push_back(font);
  return Cache[key] = font;
}

std::string TextOf(HWND Hwnd) {
  char buf[1024];
  GetWindowTextA(Hwnd, buf, sizeof buf);
  return buf;
}

BOOL Fail(DWORD Error) {
  Sim().CommDlgError = Error;
  return FALSE;
}

// Shows a modal dialog of the kind; Extra handles the dialog's own commands before IDOK/IDCANCEL.
INT_PTR ShowModal(const char* Kind, HWND Owner, LPCSTR Title, DialogHandler Extra) {
  DialogHandler handler = [Extra](HWND Dlg, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result) {
    if (Extra && Extra(Dlg, Msg, WParam, LParam, Result)) return true;
    if (Msg == WM_COMMAND && (LOWORD(WParam) == IDOK || LOWORD(WParam) == IDCANCEL)) {
      EndDialog(Dlg, LOWORD(WParam) == IDOK ? 1 : 0);
      Result = 0;
      return true;
    }
    return false;
  };
  const HWND dlg = CreateRecordedDialog(Kind, Owner, handler);
  if (!dlg) return -1;
  if (Title) SetWindowTextA(dlg, Title);
  const bool ownerWasEnabled = Owner && IsWindowEnabled(Owner);
  if (ownerWasEnabled) EnableWindow(Owner, FALSE);
  const INT_PTR result = RunModal(dlg, Owner);
  if (ownerWasEnabled) EnableWindow(Owner, TRUE);
  if (IsWindow(dlg)) DestroyWindow(dlg);
  return result;
}

BOOL FileDialog(const char* Kind, LPOPENFILENAMEA Ofn) {
  Sim().CommDlgError = 0;
  if (!Ofn || Ofn->lStructSize != sizeof(OPENFILENAMEA) || !Ofn->lpstrFile || Ofn->nMaxFile == 0)
    return Fail(CDERR_INITIALIZATION);
  DialogHandler okButton = [Ofn](HWND Dlg, UINT Msg, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (Msg != WM_COMMAND || LOWORD(WParam) != IDOK) return false;
    Result = 0;
    HWND box = GetDlgItem(Dlg, FileNameCombo);
    if (!box) box = GetDlgItem(Dlg, FileNameEdit);
    std::string name = box ? TextOf(box) : std::string();
    if (name.empty()) return true;
    if (Ofn->lpstrInitialDir && *Ofn->lpstrInitialDir && name.find_first_of("\\:/") == std::string::npos) {
      std::string dir = Ofn->lpstrInitialDir;
      if (dir.back() != '\\') dir += '\\';
      name = dir + name;
    }
    if (name.size() + 1 > Ofn->nMaxFile) {
      Sim().CommDlgError = FNERR_BUFFERTOOSMALL;
      EndDialog(Dlg, 0);
      return true;
    }
    std::memcpy(Ofn->lpstrFile, name.c_str(), name.size() + 1);
    const std::size_t slash = name.find_last_of("\\:/");
    Ofn->nFileOffset = static_cast<WORD>(slash == std::string::npos ? 0 : slash + 1);
    const std::size_t dot = name.find_last_of('.');
    Ofn->nFileExtension = static_cast<WORD>(dot == std::string::npos || dot < Ofn->nFileOffset ? 0 : dot + 1);
    EndDialog(Dlg, 1);
    return true;
  };
  const INT_PTR result = ShowModal(Kind, Ofn->hwndOwner, Ofn->lpstrTitle, okButton);
  if (result < 0) return Fail(CDERR_DIALOGFAILURE);
  return result > 0 ? TRUE : FALSE;
}

HWND FindReplace(const char* Kind, LPFINDREPLACEA Fr) {
  Sim().CommDlgError = 0;
  const bool replace = std::strcmp(Kind, "replace") == 0;
  if (!Fr || Fr->lStructSize != sizeof(FINDREPLACEA) || !Fr->lpstrFindWhat || Fr->wFindWhatLen == 0 ||
      (replace && (!Fr->lpstrReplaceWith || Fr->wReplaceWithLen == 0))) {
    Fail(CDERR_INITIALIZATION);
    return nullptr;
  }
  if (!IsWindow(Fr->hwndOwner)) {
    Fail(CDERR_DIALOGFAILURE);
    return nullptr;
  }
  const UINT findMsg = RegisterWindowMessageA(FINDMSGSTRINGA);
  DialogHandler handler = [Fr, findMsg](HWND Dlg, UINT Msg, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (Msg != WM_COMMAND) return false;
    const int id = LOWORD(WParam);
    DWORD what = 0;
    if (id == IDOK) what = FR_FINDNEXT;
    else if (id == ReplaceButton && Fr->lpstrReplaceWith) what = FR_REPLACE;
    else if (id == ReplaceAllButton && Fr->lpstrReplaceWith) what = FR_REPLACEALL;
    else if (id == IDCANCEL) what = FR_DIALOGTERM;
    else return false;
    Result = 0;
    auto copy = [Dlg](int Id, LPSTR To, WORD Size) {
      if (HWND box = GetDlgItem(Dlg, Id)) GetWindowTextA(box, To, Size);
    };
    if (what != FR_DIALOGTERM) {
      copy(FileNameEdit, Fr->lpstrFindWhat, Fr->wFindWhatLen);
      if (Fr->lpstrReplaceWith) copy(ReplaceEdit, Fr->lpstrReplaceWith, Fr->wReplaceWithLen);
    }
    Fr->Flags = (Fr->Flags & ~static_cast<DWORD>(FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM)) | what;
    SendMessageA(Fr->hwndOwner, findMsg, 0, reinterpret_cast<LPARAM>(Fr));
    if (what == FR_DIALOGTERM) DestroyWindow(Dlg);
    return true;
  };
  const HWND dlg = CreateRecordedDialog(Kind, Fr->hwndOwner, handler);
  if (!dlg) {
    Fail(CDERR_DIALOGFAILURE);
    return nullptr;
  }
  if (HWND box = GetDlgItem(dlg, FileNameEdit)) SetWindowTextA(box, Fr->lpstrFindWhat);
  if (Fr->lpstrReplaceWith)
    if (HWND box = GetDlgItem(dlg, ReplaceEdit)) SetWindowTextA(box, Fr->lpstrReplaceWith);
  ShowWindow(dlg, SW_SHOW);
  return dlg;
}

}  // namespace

HWND CreateRecordedDialog(const char* Kind, HWND Owner, DialogHandler Handler) {
  const win::RecordedDialog* rec = win::FindRecordedDialog(Kind);
  if (!rec) return nullptr;
  const RECT& w = rec->Window;
  const DWORD style = rec->Style & ~static_cast<DWORD>(WS_VISIBLE | WS_CHILD | WS_DISABLED);
  const HWND dlg = CreateWindowExA(0, "#32770", rec->Title, style, w.left, w.top, w.right - w.left, w.bottom - w.top,
                                   Owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  Window* d = Find(dlg);
  if (!d) return nullptr;
  const RECT& c = rec->Client;
  d->Frame = RECT{c.left - w.left, c.top - w.top, w.right - c.right, w.bottom - c.bottom};
  std::map<std::tuple<std::string, int, int>, HFONT> fonts;
  SendMessageA(dlg, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(*d, rec->Font, fonts)), 0);
  for (const win::RecordedControl& control : rec->Controls) {
    Sim().Classes.try_emplace(control.ClassName, WindowClass{&DefWindowProcA});
    const RECT& r = control.Rect;
    const HWND child = CreateWindowExA(0, control.ClassName, control.Text, control.Style | WS_CHILD, r.left, r.top,
                                       r.right - r.left, r.bottom - r.top, dlg,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.Id)),
                                       GetModuleHandleA(nullptr), nullptr);
    if (child && (d = Find(dlg)))
      SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(*d, control.Font, fonts)), 0);
  }
  if (!(d = Find(dlg))) return nullptr;
  d->Handler = std::move(Handler);
  HWND first = nullptr;
  for (HWND child = GetWindow(dlg, GW_CHILD); child && !first; child = GetWindow(child, GW_HWNDNEXT))
    if ((GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(child) && IsWindowEnabled(child)) first = child;
  Send(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), 0);
  return IsWindow(dlg) ? dlg : nullptr;
}

}  // namespace win_sim

using namespace win_sim;

BOOL GetOpenFileNameA(LPOPENFILENAMEA lpofn) { return FileDialog("open", lpofn); }
BOOL GetSaveFileNameA(LPOPENFILENAMEA lpofn) { return FileDialog("save", lpofn); }

BOOL ChooseFontA(LPCHOOSEFONTA lpcf) {
  Sim().CommDlgError = 0;
  if (!lpcf || lpcf->lStructSize != sizeof(CHOOSEFONTA) || !lpcf->lpLogFont) return Fail(CDERR_INITIALIZATION);
  const INT_PTR result = ShowModal("font", lpcf->hwndOwner, nullptr, nullptr);
  return result < 0 ? Fail(CDERR_DIALOGFAILURE) : result > 0 ? TRUE : FALSE;
}

BOOL ChooseColorA(LPCHOOSECOLORA lpcc) {
  Sim().CommDlgError = 0;
  if (!lpcc || lpcc->lStructSize != sizeof(CHOOSECOLORA) || !lpcc->lpCustColors) return Fail(CDERR_INITIALIZATION);
  const INT_PTR result = ShowModal("color", lpcc->hwndOwner, nullptr, nullptr);
  return result < 0 ? Fail(CDERR_DIALOGFAILURE) : result > 0 ? TRUE : FALSE;
}

BOOL PrintDlgA(LPPRINTDLGA lppd) {
  Sim().CommDlgError = 0;
  if (!lppd || lppd->lStructSize != sizeof(PRINTDLGA)) return Fail(CDERR_INITIALIZATION);
  const INT_PTR result = ShowModal((lppd->Flags & PD_PRINTSETUP) ? "printsetup" : "print", lppd->hwndOwner, nullptr, nullptr);
  return result < 0 ? Fail(CDERR_DIALOGFAILURE) : result > 0 ? TRUE : FALSE;
}

HWND FindTextA(LPFINDREPLACEA lpfr) { return FindReplace("find", lpfr); }
HWND ReplaceTextA(LPFINDREPLACEA lpfr) { return FindReplace("replace", lpfr); }

DWORD CommDlgExtendedError() { return Sim().CommDlgError; }
