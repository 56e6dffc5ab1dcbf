// Capturing a dialog: showing it for an instant and describing its properties as entries.
#include <algorithm>
#include <cstring>
#include <set>

#include "Vek.hpp"
#include "vcl/Forms.hpp"

namespace Vek {

namespace {

// A window's text as WM_GETTEXT gives it into a buffer of 240: at most 239 characters.
std::string WindowText(HWND W) {
  char buffer[240];
  const LRESULT n = SendMessageA(W, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return std::string(buffer, static_cast<std::size_t>(std::clamp<LRESULT>(n, 0, sizeof buffer - 1)));
}

}  // namespace

std::string TLumetra::GetFontName(HFONT Font) {
  LOGFONTA lf{};
  if (!GetObjectA(Font, sizeof lf, &lf)) return "System";
  return std::string(lf.lfFaceName, strnlen(lf.lfFaceName, sizeof lf.lfFaceName));
}

BYTE TLumetra::GetFontCharset(HFONT Font) {
  LOGFONTA lf{};
  if (!GetObjectA(Font, sizeof lf, &lf)) return DEFAULT_CHARSET;
  return lf.lfCharSet;
}

void TLumetra::GetProps(HWND hWnd) {
  if (!CaptureList) return;
  const std::string& n = OwnerClassName;
  vcl::TStrings& list = *CaptureList;
  const std::string title = WindowText(hWnd);
  if (!title.empty()) list.Add(n + ".Caption='" + title + "'");
  std::string face = GetFontName(reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0)));
  ConvertToLiterals(face);
  list.Add(n + ".Font.Name=" + face);
  list.Add(n + ".Font.Charset=" +
           vcl::IntToStr(GetFontCharset(reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0)))));
  RECT r{};
  GetWindowRect(hWnd, &r);
  list.Add(n + ".Width=" + vcl::IntToStr(r.right - r.left + 1));
  list.Add(n + ".Height=" + vcl::IntToStr(r.bottom - r.top + 1));

  int position = 0;
  for (HWND c = GetWindow(hWnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    ++position;
    const std::string text = WindowText(c);
    int id = GetDlgCtrlID(c);
    if (id == 0 || id == -1 || id == 65535) id = -position;
    const std::string item = "[" + vcl::IntToStr(id) + "]=";
    if (!text.empty()) list.Add(n + ".Caption" + item + "'" + text + "'");
    RECT cr{};
    GetWindowRect(c, &cr);
    list.Add(n + ".Width" + item + vcl::IntToStr(cr.right - cr.left + 1));
    list.Add(n + ".Height" + item + vcl::IntToStr(cr.bottom - cr.top + 1));
    POINT p{cr.left, cr.top};
    ScreenToClient(hWnd, &p);
    list.Add(n + ".Left" + item + vcl::IntToStr(p.x));
    list.Add(n + ".Top" + item + vcl::IntToStr(p.y));
  }
}

void TLumetra::GetDlgProps(vcl::TObject* Dialog, vcl::TStrings* List) {
  CaptureList = List;
  const bool saved = FTranslate;
  DebugDlg = true;
  struct CleanUp {
    TLumetra* Self;
    bool Saved;
    ~CleanUp() {
      DebugDlg = false;
      Self->CaptureList = nullptr;
      Self->SetTranslate(Saved);
    }
  } cleanUp{this, saved};

  InternalTranslate(true);
  if (!Dialog) return;
  RegisterDialogClass(Dialog->ClassType());
  auto* dialog = dynamic_cast<vcl::TCommonDialog*>(Dialog);
  if (dialog && (dialog->Is<vcl::TFindDialog>() || dialog->Is<vcl::TOpenDialog>() || dialog->Is<vcl::TFontDialog>() ||
                 dialog->Is<vcl::TColorDialog>() || dialog->Is<vcl::TPrintDialog>() ||
                 dialog->Is<vcl::TPrinterSetupDialog>())) {
    dialog->Execute();
    vcl::Application->ProcessMessages();
  }
}

int MergeCapture(vcl::TStrings& Originals, const vcl::TStrings& Captured) {
  std::set<std::string, std::less<>> keys;
  for (int i = 0; i < Originals.Count(); ++i) keys.emplace(EntryKey(Originals.Strings(i)));
  auto* sorted = dynamic_cast<TSortList*>(&Originals);
  int added = 0;
  for (int i = 0; i < Captured.Count(); ++i) {
    const std::string& line = Captured.Strings(i);
    if (!keys.emplace(EntryKey(line)).second) continue;
    if (sorted) sorted->SortInsert(line, nullptr);
    else Originals.Add(line);
    ++added;
  }
  return added;
}

}  // namespace Vek
