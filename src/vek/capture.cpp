// Capturing a dialog: showing it for an instant and describing its properties as entries.
#include <algorithm>
#include <cstring>
#include <set>

#include "Vek.hpp"
#include "vcl/CodePages.hpp"
#include "vcl/Forms.hpp"
#include "vcl/StandardDialogs.hpp"

namespace Vek {

namespace {

// A window's text as WM_GETTEXT gives it into a buffer of 240: at most 239 characters, read in
// UTF-16 and written in code page Page (the system's, or the one of the dialog's character set),
// "?" for a character the page lacks.
std::string WindowText(HWND W, int Page = vcl::SystemCodePage()) {
  WCHAR buffer[240];
  const LRESULT n = SendMessageW(W, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer));
  const auto length = static_cast<std::size_t>(std::clamp<LRESULT>(n, 0, std::size(buffer) - 1));
  return vcl::FromUtf16(Page, std::u16string_view(reinterpret_cast<const char16_t*>(buffer), length));
}

// While it lives, closes the message boxes that a dialog being shown puts up before itself, and
// keeps what the first one said. comdlg32 shows such a box (PrintDlg without a printer) owned by
// its dialog while that is still hidden, and the box would wait for a user: a box of the dialog
// class whose owner is a window the main window owns is one of these.
class TMessageCloser {
public:
  TMessageCloser() : FPrevious(Current) {
    Current = this;
    FHook = SetWindowsHookExA(WH_CALLWNDPROCRET, &Returned, nullptr, GetCurrentThreadId());
  }
  ~TMessageCloser() {
    if (FHook) UnhookWindowsHookEx(FHook);
    Current = FPrevious;
  }
  TMessageCloser(const TMessageCloser&) = delete;
  TMessageCloser& operator=(const TMessageCloser&) = delete;

  /// The title and texts of the first message closed ("" for none).
  const std::string& Message() const { return FMessage; }

private:
  static LRESULT CALLBACK Returned(int Code, WPARAM WParam, LPARAM LParam) {
    TMessageCloser* self = Current;
    if (Code == HC_ACTION && self) {
      const auto* ret = reinterpret_cast<const CWPRETSTRUCT*>(LParam);
      if (ret->message == WM_INITDIALOG) self->Look(ret->hwnd);
    }
    return CallNextHookEx(self ? self->FHook : nullptr, Code, WParam, LParam);
  }

  void Look(HWND Box) {
    char kind[16] = "";
    GetClassNameA(Box, kind, sizeof kind);
    const HWND mainWindow = vcl::Application->Handle();
    const HWND owner = GetWindow(Box, GW_OWNER);
    if (std::strcmp(kind, "#32770") != 0 || !owner || owner == mainWindow || GetWindow(owner, GW_OWNER) != mainWindow) return;
    if (FMessage.empty()) {
      FMessage = WindowText(Box);
      for (HWND c = GetWindow(Box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        GetClassNameA(c, kind, sizeof kind);
        const std::string text = WindowText(c);
        if (!text.empty() && std::strcmp(kind, "Static") == 0) FMessage += (FMessage.empty() ? "" : ": ") + text;
      }
      if (FMessage.empty()) FMessage = "a message without text";
    }
    // Cancel where the box has it, else OK.
    PostMessageA(Box, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(Box, WM_COMMAND, IDOK, 0);
  }

  static inline TMessageCloser* Current = nullptr;
  TMessageCloser* FPrevious;
  HHOOK FHook = nullptr;
  std::string FMessage;
};

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
  // The texts are written in the code page of the dialog's character set, as the Font.Charset
  // entry captured beside them says.
  const BYTE charset = GetFontCharset(reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0)));
  const int page = TextCodePage(charset);
  // Texts are written as literals: one with an apostrophe or a line break, written as it is,
  // would read back as another text ("d'impression" as "dimpression") or break the line. A text
  // without either is written between apostrophes, as it always was.
  std::string title = WindowText(hWnd, page);
  if (!title.empty()) ConvertToLiterals(title), list.Add(n + ".Caption=" + title);
  std::string face = GetFontName(reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0)));
  ConvertToLiterals(face);
  list.Add(n + ".Font.Name=" + face);
  list.Add(n + ".Font.Charset=" + vcl::IntToStr(charset));
  // Sizes and positions are pixels at the screen's DPI; at 96 they say so by having no entry.
  if (const int dpi = ScreenPixelsPerInch(hWnd); dpi != DefaultPixelsPerInch) list.Add(n + ".PixelsPerInch=" + vcl::IntToStr(dpi));
  RECT r{};
  GetWindowRect(hWnd, &r);
  list.Add(n + ".Width=" + vcl::IntToStr(CapturedExtent(r.right - r.left)));
  list.Add(n + ".Height=" + vcl::IntToStr(CapturedExtent(r.bottom - r.top)));

  int position = 0;
  for (HWND c = GetWindow(hWnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    ++position;
    std::string text = WindowText(c, page);
    int id = GetDlgCtrlID(c);
    if (id == 0 || id == -1 || id == 65535) id = -position;
    const std::string item = "[" + vcl::IntToStr(id) + "]=";
    if (!text.empty()) ConvertToLiterals(text), list.Add(n + ".Caption" + item + text);
    RECT cr{};
    GetWindowRect(c, &cr);
    list.Add(n + ".Width" + item + vcl::IntToStr(CapturedExtent(cr.right - cr.left)));
    list.Add(n + ".Height" + item + vcl::IntToStr(CapturedExtent(cr.bottom - cr.top)));
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
  if (dialog && vcl::StandardDialogOf(dialog->ClassType())) {
    const int before = List ? List->Count() : 0;
    TMessageCloser closer;
    dialog->Execute();
    vcl::Application->ProcessMessages();
    if (!closer.Message().empty()) {
      while (List && List->Count() > before) List->Delete(List->Count() - 1);
      throw ECaptureError(Dialog->ClassName() + ": not captured: it showed the message \"" + closer.Message() +
                          "\" instead of itself, which was closed");
    }
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
