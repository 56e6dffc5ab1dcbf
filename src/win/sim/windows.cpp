// Simulated windows: classes, creation and destruction, the tree and z-order, geometry, text,
// default window and dialog procedures, activation, focus and painting.
//
// Notes:
// - New child windows go to the bottom of their parent's z-order, so GW_CHILD gives the child
//   created first, as dialog templates rely on; new top-level windows go to the top.
// - A top-level window gets a non-client frame from its style (caption 19, border 4, 3 or 1);
//   dialogs built from recordings take the recorded frame instead. Children have none.
// - Showing a window activates it (unless asked not to), then erases its background at once and
//   sends WM_WINDOWPOSCHANGED; WM_PAINT follows through the message loop. Activation sends
//   WM_NCACTIVATE and WM_ACTIVATE to the window losing it (still the active one then) and then to
//   the window taking it, and moves the focus into the new window when it is not there yet.
// - WM_ERASEBKGND of a dialog sends WM_CTLCOLORDLG to the dialog itself, so that a procedure
//   put in front of the dialog's own sees every erase.
#include <algorithm>
#include <chrono>
#include <cstring>

#include "state.hpp"
#include "vcl/CodePages.hpp"
#include "win/recorded_dialogs.h"

namespace win_sim {

State& Sim() {
  static State* const state = [] {
    auto* s = new State;  // never freed: exit procedures may still talk to windows
    for (const char* name : {"Button", "Static", "Edit", "ComboBox", "ListBox", "ScrollBar", WC_TABCONTROLA, TOOLTIPS_CLASSA})
      s->Classes[name] = WindowClass{ControlClassProc(name), ProcForm::Both};
    s->Classes["#32770"] = WindowClass{&DefDlgProcA, ProcForm::Both};
    return s;
  }();
  return *state;
}

Window* Find(HWND Handle) {
  if (!Handle) return nullptr;
  auto& windows = Sim().Windows;
  auto it = windows.find(reinterpret_cast<std::uintptr_t>(Handle));
  return it == windows.end() ? nullptr : it->second.get();
}

std::int64_t Now() {
  static const auto start = std::chrono::steady_clock::now();
  const auto real = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  return real.count() + Sim().ClockSkip;
}

namespace {

Window* Invalid() {
  Sim().LastError = ERROR_INVALID_WINDOW_HANDLE;
  return nullptr;
}

Window* Get(HWND Handle) {
  Window* w = Find(Handle);
  return w ? w : Invalid();
}

std::vector<HWND>& SiblingsOf(const Window& w) {
  if (Window* parent = Find(w.Parent)) return parent->Children;
  return Sim().TopLevel;
}

RECT FrameFor(DWORD Style, bool Child) {
  if (Child) return RECT{0, 0, 0, 0};
  const LONG border = (Style & WS_THICKFRAME) ? 4 : (Style & WS_DLGFRAME) ? 3 : (Style & WS_BORDER) ? 1 : 0;
  const LONG caption = (Style & WS_CAPTION) == WS_CAPTION ? 19 : 0;
  return RECT{border, border + caption, border, border};
}

bool Mirrored(const Window& w) { return (w.ExStyle & WS_EX_LAYOUTRTL) != 0; }

LONG ClientWidth(const Window& w) { return std::max<LONG>(w.Rect.right - w.Rect.left - w.Frame.left - w.Frame.right, 0); }

// The screen position of the left of a window's client area (its top-left corner).
POINT ClientOrigin(const Window& w) {
  POINT p{w.Rect.left + w.Frame.left, w.Rect.top + w.Frame.top};
  if (const Window* parent = Find(w.Parent)) {
    const POINT o = ClientOrigin(*parent);
    p.x += o.x;
    p.y += o.y;
  }
  return p;
}

bool Visible(HWND Hwnd) {
  for (const Window* w = Find(Hwnd); w; w = Find(w->Parent))
    if (!(w->Style & WS_VISIBLE)) return false;
  return Find(Hwnd) != nullptr;
}

void Invalidate(Window& w, bool Erase) {
  w.NeedsPaint = true;
  w.NeedsErase = w.NeedsErase || Erase;
  for (HWND c : w.Children)
    if (Window* child = Find(c)) Invalidate(*child, Erase);
}

void SendPosChanged(HWND Hwnd, UINT Flags) {
  const Window* w = Find(Hwnd);
  if (!w) return;
  WINDOWPOS pos{Hwnd, nullptr, w->Rect.left, w->Rect.top, w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top,
                Flags};
  Send(Hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

// Shows or hides without touching the activation; returns whether the window was visible.
bool SetVisible(HWND Hwnd, bool Show) {
  Window* w = Find(Hwnd);
  if (!w) return false;
  const bool was = (w->Style & WS_VISIBLE) != 0;
  if (was == Show) return was;
  Send(Hwnd, WM_SHOWWINDOW, Show ? TRUE : FALSE, 0);
  if (!(w = Find(Hwnd))) return was;
  if (Show) {
    w->Style |= WS_VISIBLE;
    Invalidate(*w, true);
  } else {
    w->Style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (Sim().Focus && IsDescendant(Hwnd, Sim().Focus)) Sim().Focus = nullptr;
    if (Window* parent = Find(w->Parent)) Invalidate(*parent, true);
  }
  return was;
}

HWND FirstTabStop(const Window& dlg) {
  for (HWND c : dlg.Children) {
    const Window* child = Find(c);
    if (child && (child->Style & WS_TABSTOP) && (child->Style & WS_VISIBLE) && !(child->Style & WS_DISABLED))
      return c;
  }
  return nullptr;
}

void DeleteOwnedFonts(Window& w) {
  for (HFONT f : w.OwnedFonts) DeleteObject(f);
  w.OwnedFonts.clear();
}

}  // namespace

HWND RootOf(HWND Hwnd) {
  const Window* w = Find(Hwnd);
  while (w && w->Parent) w = Find(w->Parent);
  return w ? w->Handle : nullptr;
}

bool IsDescendant(HWND Ancestor, HWND Hwnd) {
  for (const Window* w = Find(Hwnd); w; w = Find(w->Parent))
    if (w->Handle == Ancestor) return true;
  return false;
}

void ActivateOther(HWND Hwnd) {
  const Window* w = Find(Hwnd);
  HWND next = nullptr;
  auto candidate = [&](HWND h) { return h != Hwnd && Visible(h) && IsWindowEnabled(h); };
  if (w && w->Owner && candidate(w->Owner)) {
    next = w->Owner;
  } else {
    for (HWND h : Sim().TopLevel)
      if (candidate(h)) {
        next = h;
        break;
      }
  }
  SetActiveWindow(next);
}

void EraseNow(HWND Hwnd) {
  Window* w = Find(Hwnd);
  if (!w || !w->NeedsErase || !Visible(Hwnd)) return;
  w->NeedsErase = false;
  Send(Hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(Hwnd), 0);
}

}  // namespace win_sim

using namespace win_sim;

ATOM RegisterClassA(const WNDCLASSA* lpWndClass) {
  if (!lpWndClass || !lpWndClass->lpszClassName || !lpWndClass->lpfnWndProc) {
    Sim().LastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  auto& classes = Sim().Classes;
  if (classes.count(lpWndClass->lpszClassName)) return 0;
  classes[lpWndClass->lpszClassName].Proc = lpWndClass->lpfnWndProc;
  Sim().ProgramProcs.emplace(lpWndClass->lpfnWndProc, ProcForm::Ansi);
  return static_cast<ATOM>(0xC000 + classes.size());
}

BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
  return lpClassName && Sim().Classes.erase(lpClassName) ? TRUE : FALSE;
}

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
  State& s = Sim();
  auto cls = lpClassName ? s.Classes.find(lpClassName) : s.Classes.end();
  if (cls == s.Classes.end()) {
    s.LastError = ERROR_CANNOT_FIND_WND_CLASS;
    return nullptr;
  }
  const bool child = (dwStyle & WS_CHILD) != 0;
  if (child && !Find(hWndParent)) {
    s.LastError = ERROR_INVALID_WINDOW_HANDLE;
    return nullptr;
  }
  auto w = std::make_unique<Window>();
  w->Handle = reinterpret_cast<HWND>(s.NextWindow);
  s.NextWindow += 4;
  w->ClassName = cls->first;
  w->Proc = cls->second.Proc;
  w->Form = cls->second.Form;
  w->Style = dwStyle & ~static_cast<DWORD>(WS_VISIBLE);
  w->ExStyle = dwExStyle;
  w->IsDialog = w->ClassName == "#32770";
  if (child) {
    w->Parent = hWndParent;
    w->Id = reinterpret_cast<LONG_PTR>(hMenu);
  } else {
    w->Owner = RootOf(hWndParent);
  }
  if (X == CW_USEDEFAULT) X = Y = 26;
  if (nWidth == CW_USEDEFAULT) nWidth = 640, nHeight = 480;
  w->Rect = RECT{X, Y, X + nWidth, Y + nHeight};
  w->Frame = FrameFor(dwStyle, child);
  const HWND hwnd = w->Handle;
  s.Windows.emplace(reinterpret_cast<std::uintptr_t>(hwnd), std::move(w));
  if (child) {
    Find(hWndParent)->Children.push_back(hwnd);
  } else {
    s.TopLevel.insert(s.TopLevel.begin(), hwnd);
  }

  CREATESTRUCTA cs{lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, Y, X, static_cast<LONG>(dwStyle),
                   lpWindowName, lpClassName, dwExStyle};
  if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
      Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!Find(hwnd)) return nullptr;
  if (dwStyle & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

BOOL DestroyWindow(HWND hWnd) {
  Window* w = Get(hWnd);
  if (!w || w->Destroying) return FALSE;
  State& s = Sim();
  if (!w->Parent) {
    std::vector<HWND> owned;
    for (auto& [id, other] : s.Windows)
      if (other->Owner == hWnd) owned.push_back(other->Handle);
    for (HWND o : owned) DestroyWindow(o);
    if ((w = Find(hWnd))) ShowWindow(hWnd, SW_HIDE);
  }
  if (!(w = Find(hWnd)) || w->Destroying) return FALSE;

  // WM_DESTROY goes to the window first and then to its children; the objects go last.
  std::vector<HWND> tree;
  std::function<void(HWND)> collect = [&](HWND h) {
    if (Window* x = Find(h)) {
      x->Destroying = true;
      tree.push_back(h);
      const std::vector<HWND> children = x->Children;
      for (HWND c : children) collect(c);
    }
  };
  collect(hWnd);
  if (s.Focus && IsDescendant(hWnd, s.Focus)) s.Focus = nullptr;
  if (s.Active == hWnd) s.Active = nullptr;
  for (HWND h : tree) Send(h, WM_DESTROY, 0, 0);
  for (auto it = tree.rbegin(); it != tree.rend(); ++it) Send(*it, WM_NCDESTROY, 0, 0);
  for (HWND h : tree) {
    s.Timers.erase(std::remove_if(s.Timers.begin(), s.Timers.end(), [h](const Timer& t) { return t.Hwnd == h; }),
                   s.Timers.end());
    s.Queue.erase(std::remove_if(s.Queue.begin(), s.Queue.end(),
                                 [h](const MSG& m) {
                                   if (m.hwnd != h) return false;
                                   if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP) TrackKeys(m);
                                   return true;
                                 }),
                  s.Queue.end());
  }
  if ((w = Find(hWnd))) {
    auto& siblings = SiblingsOf(*w);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), hWnd), siblings.end());
  }
  for (HWND h : tree)
    if (Window* x = Find(h)) {
      DeleteOwnedFonts(*x);
      s.Windows.erase(reinterpret_cast<std::uintptr_t>(h));
    }
  return TRUE;
}

BOOL IsWindow(HWND hWnd) { return Find(hWnd) && !Find(hWnd)->Destroying ? TRUE : FALSE; }

BOOL IsWindowVisible(HWND hWnd) { return Visible(hWnd) ? TRUE : FALSE; }

BOOL IsWindowEnabled(HWND hWnd) {
  const Window* w = Find(hWnd);
  return w && !(w->Style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
  Window* w = Get(hWnd);
  if (!w) return FALSE;
  const bool wasDisabled = (w->Style & WS_DISABLED) != 0;
  if (wasDisabled == !bEnable) return wasDisabled;
  if (bEnable) {
    w->Style &= ~static_cast<DWORD>(WS_DISABLED);
  } else {
    w->Style |= WS_DISABLED;
    if (Sim().Focus && IsDescendant(hWnd, Sim().Focus)) SetFocus(nullptr);
  }
  Send(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
  Window* w = Get(hWnd);
  if (!w) return FALSE;
  const bool show = nCmdShow != SW_HIDE;
  const bool topLevel = w->Parent == nullptr;
  const bool was = SetVisible(hWnd, show);
  if (was == show || !Find(hWnd)) return was;
  if (show) {
    if (topLevel && nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE) SetActiveWindow(hWnd);
    EraseNow(hWnd);
    SendPosChanged(hWnd, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  } else {
    if (topLevel && Sim().Active == hWnd) ActivateOther(hWnd);
    SendPosChanged(hWnd, SWP_NOSIZE | SWP_NOMOVE | SWP_HIDEWINDOW);
  }
  return was;
}

BOOL UpdateWindow(HWND hWnd) {
  Window* w = Get(hWnd);
  if (!w) return FALSE;
  if (w->NeedsPaint && Visible(hWnd)) {
    w->NeedsPaint = false;
    Send(hWnd, WM_PAINT, 0, 0);
  }
  if ((w = Find(hWnd))) {
    const std::vector<HWND> children = w->Children;
    for (HWND c : children) UpdateWindow(c);
  }
  return TRUE;
}

BOOL InvalidateRect(HWND hWnd, const RECT*, BOOL bErase) {
  if (!hWnd) {
    for (HWND h : Sim().TopLevel) InvalidateRect(h, nullptr, bErase);
    return TRUE;
  }
  Window* w = Get(hWnd);
  if (!w) return FALSE;
  Invalidate(*w, bErase != FALSE);
  return TRUE;
}

BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL) {
  Window* w = Get(hWnd);
  const bool pending = w && w->NeedsPaint && Visible(hWnd);
  if (lpRect) *lpRect = pending ? RECT{0, 0, w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top} : RECT{};
  return pending ? TRUE : FALSE;
}

HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint) {
  Window* w = Get(hWnd);
  if (!w || !lpPaint) return nullptr;
  *lpPaint = PAINTSTRUCT{};
  lpPaint->hdc = reinterpret_cast<HDC>(w->Handle);
  lpPaint->rcPaint = RECT{0, 0, w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top};
  w->NeedsPaint = false;
  EraseNow(hWnd);  // the background is erased by WM_ERASEBKGND, so fErase stays FALSE
  return lpPaint->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hWnd);
  if (!w) return 0;
  switch (Msg) {
    // The text is kept in UTF-16; a text message's text is in the form noted for it (Send).
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      w->Text = vcl::ToUtf16(vcl::SystemCodePage(), cs && cs->lpszName ? cs->lpszName : "");
      return TRUE;
    }
    case WM_SETTEXT:
      if (!lParam) w->Text.clear();
      else if (Sim().UnicodeText) w->Text = reinterpret_cast<LPCWSTR>(lParam);
      else w->Text = vcl::ToUtf16(vcl::SystemCodePage(), reinterpret_cast<LPCSTR>(lParam));
      return TRUE;
    case WM_GETTEXT: {
      if (wParam == 0 || !lParam) return 0;
      if (Sim().UnicodeText) {
        const std::size_t n = std::min<std::size_t>(w->Text.size(), wParam - 1);
        std::copy_n(w->Text.data(), n, reinterpret_cast<LPWSTR>(lParam));
        reinterpret_cast<LPWSTR>(lParam)[n] = 0;
        return static_cast<LRESULT>(n);
      }
      const std::string text = vcl::FromUtf16(vcl::SystemCodePage(), w->Text);
      const std::size_t n = std::min<std::size_t>(text.size(), wParam - 1);
      std::memcpy(reinterpret_cast<char*>(lParam), text.data(), n);
      reinterpret_cast<char*>(lParam)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(Sim().UnicodeText ? w->Text.size() : vcl::FromUtf16(vcl::SystemCodePage(), w->Text).size());
    case WM_SETFONT:
      w->Font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hWnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(w->Font);
    case WM_CLOSE: DestroyWindow(hWnd); return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hWnd, &ps);
      EndPaint(hWnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!pos || (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) return 0;
      RECT client;
      GetClientRect(hWnd, &client);
      if (!(pos->flags & SWP_NOMOVE)) Send(hWnd, WM_MOVE, 0, MAKELPARAM(pos->x + w->Frame.left, pos->y + w->Frame.top));
      if (!(pos->flags & SWP_NOSIZE)) Send(hWnd, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
      return 0;
    }
    case WM_CTLCOLORDLG: return reinterpret_cast<LRESULT>(reinterpret_cast<HBRUSH>(std::uintptr_t{0x0100000F}));
    default: return 0;
  }
}

LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  State& s = Sim();
  const bool saved = s.UnicodeText;
  s.UnicodeText = IsTextMessage(Msg);
  const LRESULT result = DefWindowProcA(hWnd, Msg, wParam, lParam);
  s.UnicodeText = saved;
  return result;
}

LRESULT DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hDlg);
  if (!w) return 0;
  if (w->Handler) {
    const DialogHandler handler = w->Handler;  // the dialog may go away while it runs
    LRESULT result = 0;
    if (handler(hDlg, Msg, wParam, lParam, result)) return result;
    if (!(w = Find(hDlg))) return 0;
  }
  switch (Msg) {
    case WM_ERASEBKGND:
      Send(hDlg, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hDlg));
      return 1;
    case WM_CLOSE:
      PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
      return 0;
    case WM_SETFOCUS: {
      HWND target = w->SavedFocus && IsWindow(w->SavedFocus) ? w->SavedFocus : FirstTabStop(*w);
      if (target) SetFocus(target);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE && Sim().Focus && IsDescendant(hDlg, Sim().Focus)) w->SavedFocus = Sim().Focus;
      return 0;
    default: return DefWindowProcA(hDlg, Msg, wParam, lParam);
  }
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
  Window* w = Get(hDlg);
  if (!w || !w->IsDialog) return FALSE;
  w->DialogEnded = true;
  w->DialogResult = nResult;
  if (w->Owner) EnableWindow(w->Owner, TRUE);
  SetVisible(hDlg, false);
  if (Sim().Active == hDlg) {
    if (const Window* dlg = Find(hDlg); dlg && dlg->Owner) SetActiveWindow(dlg->Owner);
    else ActivateOther(hDlg);
  }
  PostMessageA(hDlg, WM_NULL, 0, 0);
  return TRUE;
}

// As Wine gives them with the recorded dialogs (data/dialogs/metrics.json).
int GetSystemMetrics(int nIndex) { return win::RecordedSystemMetric(nIndex); }

HWND GetActiveWindow() { return Sim().Active; }
HWND GetForegroundWindow() { return Sim().Active; }
HWND GetFocus() { return Sim().Focus; }

HWND SetActiveWindow(HWND hWnd) {
  State& s = Sim();
  hWnd = RootOf(hWnd);
  const HWND old = s.Active;
  if (hWnd == old) return old;
  if (old && Find(old)) {
    Send(old, WM_NCACTIVATE, FALSE, 0);
    Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hWnd));
  }
  s.Active = Find(hWnd) ? hWnd : nullptr;
  if (!s.Active) {
    if (s.Focus) SetFocus(nullptr);
    return old;
  }
  s.TopLevel.erase(std::remove(s.TopLevel.begin(), s.TopLevel.end(), hWnd), s.TopLevel.end());
  s.TopLevel.insert(s.TopLevel.begin(), hWnd);
  Send(hWnd, WM_NCACTIVATE, TRUE, 0);
  Send(hWnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(old));
  if (s.Active == hWnd && !(s.Focus && IsDescendant(hWnd, s.Focus))) SetFocus(hWnd);
  return old;
}

HWND SetFocus(HWND hWnd) {
  State& s = Sim();
  if (hWnd && !Find(hWnd)) {
    s.LastError = ERROR_INVALID_WINDOW_HANDLE;
    return nullptr;
  }
  const HWND old = s.Focus;
  if (hWnd == old) return old;
  if (hWnd && RootOf(hWnd) != s.Active) {
    SetActiveWindow(RootOf(hWnd));
    if (s.Focus == hWnd) return old;
  }
  const HWND previous = s.Focus;
  s.Focus = hWnd;
  if (previous && Find(previous)) Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
  if (hWnd && s.Focus == hWnd) Send(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return old;
}

HWND GetWindow(HWND hWnd, UINT uCmd) {
  const Window* w = Get(hWnd);
  if (!w) return nullptr;
  if (uCmd == GW_CHILD) return w->Children.empty() ? nullptr : w->Children.front();
  if (uCmd == GW_OWNER) return w->Owner;
  const auto& siblings = SiblingsOf(*w);
  auto it = std::find(siblings.begin(), siblings.end(), hWnd);
  if (it == siblings.end()) return nullptr;
  switch (uCmd) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return std::next(it) == siblings.end() ? nullptr : *std::next(it);
    case GW_HWNDPREV: return it == siblings.begin() ? nullptr : *std::prev(it);
    default: Sim().LastError = ERROR_INVALID_PARAMETER; return nullptr;
  }
}

HWND GetParent(HWND hWnd) {
  const Window* w = Get(hWnd);
  if (!w) return nullptr;
  return w->Parent ? w->Parent : w->Owner;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
  const Window* w = Get(hDlg);
  if (!w) return nullptr;
  for (HWND c : w->Children)
    if (const Window* child = Find(c); child && child->Id == nIDDlgItem) return c;
  return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
  const Window* w = Get(hWnd);
  return w ? static_cast<int>(w->Id) : 0;
}

int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
  const Window* w = Get(hWnd);
  if (!w || !lpClassName || nMaxCount <= 0) return 0;
  const std::size_t n = std::min<std::size_t>(w->ClassName.size(), static_cast<std::size_t>(nMaxCount - 1));
  std::memcpy(lpClassName, w->ClassName.data(), n);
  lpClassName[n] = '\0';
  return static_cast<int>(n);
}

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  if (!lpString || nMaxCount <= 0) return 0;
  lpString[0] = '\0';
  return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthA(HWND hWnd) { return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  return static_cast<BOOL>(SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  if (!lpString || nMaxCount <= 0) return 0;
  lpString[0] = 0;
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthW(HWND hWnd) { return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  return static_cast<BOOL>(SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

BOOL IsWindowUnicode(HWND hWnd) {
  const Window* w = Get(hWnd);
  return w && w->Form == ProcForm::Unicode ? TRUE : FALSE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
  const Window* w = Get(hWnd);
  if (!w || !lpRect) return FALSE;
  POINT origin{0, 0};
  if (const Window* parent = Find(w->Parent)) origin = ClientOrigin(*parent);
  *lpRect = RECT{w->Rect.left + origin.x, w->Rect.top + origin.y, w->Rect.right + origin.x, w->Rect.bottom + origin.y};
  return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
  const Window* w = Get(hWnd);
  if (!w || !lpRect) return FALSE;
  const LONG width = w->Rect.right - w->Rect.left - w->Frame.left - w->Frame.right;
  const LONG height = w->Rect.bottom - w->Rect.top - w->Frame.top - w->Frame.bottom;
  *lpRect = RECT{0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
  return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  const Window* w = Get(hWnd);
  if (!w || !lpPoint) return FALSE;
  const POINT o = ClientOrigin(*w);
  lpPoint->x = Mirrored(*w) ? o.x + ClientWidth(*w) - lpPoint->x : lpPoint->x - o.x;
  lpPoint->y -= o.y;
  return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  const Window* w = Get(hWnd);
  if (!w || !lpPoint) return FALSE;
  const POINT o = ClientOrigin(*w);
  lpPoint->x = Mirrored(*w) ? o.x + ClientWidth(*w) - lpPoint->x : lpPoint->x + o.x;
  lpPoint->y += o.y;
  return TRUE;
}

int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
  if ((hWndFrom && !Get(hWndFrom)) || (hWndTo && !Get(hWndTo)) || !lpPoints) return 0;
  for (UINT i = 0; i < cPoints; ++i) {
    if (hWndFrom) ClientToScreen(hWndFrom, &lpPoints[i]);
    if (hWndTo) ScreenToClient(hWndTo, &lpPoints[i]);
  }
  const bool fromMirrored = hWndFrom && Mirrored(*Find(hWndFrom)), toMirrored = hWndTo && Mirrored(*Find(hWndTo));
  if (cPoints == 2 && fromMirrored != toMirrored) std::swap(lpPoints[0].x, lpPoints[1].x);
  return 1;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
  Window* w = Get(hWnd);
  if (!w) return FALSE;
  // A child's place is kept from its parent's left; in a mirrored parent X counts from the right.
  if (const Window* parent = Find(w->Parent); parent && Mirrored(*parent)) X = ClientWidth(*parent) - X - std::max(nWidth, 0);
  w->Rect = RECT{X, Y, X + std::max(nWidth, 0), Y + std::max(nHeight, 0)};
  SendPosChanged(hWnd, SWP_NOZORDER | SWP_NOACTIVATE);
  if (bRepaint && (w = Find(hWnd))) {
    Invalidate(*w, true);
    if (Window* parent = Find(w->Parent)) Invalidate(*parent, true);
  }
  return TRUE;
}

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex) {
  const Window* w = Get(hWnd);
  if (!w) return 0;
  switch (nIndex) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->Proc);
    case GWLP_ID: return w->Id;
    case GWL_STYLE: return static_cast<LONG_PTR>(w->Style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->ExStyle);
    case GWLP_USERDATA: return w->UserData;
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->Parent ? w->Parent : w->Owner);
    default: Sim().LastError = ERROR_INVALID_PARAMETER; return 0;
  }
}

LONG GetWindowLongA(HWND hWnd, int nIndex) { return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex)); }

namespace {

// A procedure set with SetWindowLongPtrA or W takes that form, except the window system's own
// procedures (a subclass restoring the one it replaced), which take both, and a program's that
// it set before, which keeps its form (as the value SetWindowLongPtr answered stands for it).
ProcForm FormOfProc(WNDPROC Proc, ProcForm SetWith) {
  for (const auto& [name, cls] : Sim().Classes)
    if (cls.Proc == Proc && cls.Form == ProcForm::Both) return ProcForm::Both;
  return Sim().ProgramProcs.emplace(Proc, SetWith).first->second;
}

LONG_PTR SetWindowLongPtrAs(HWND hWnd, int nIndex, LONG_PTR dwNewLong, ProcForm Form);

}  // namespace

ProcForm win_sim::FormOf(WNDPROC Proc) {
  const auto it = Sim().ProgramProcs.find(Proc);
  return it == Sim().ProgramProcs.end() ? ProcForm::Both : it->second;
}

LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex) { return GetWindowLongPtrA(hWnd, nIndex); }

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  return SetWindowLongPtrAs(hWnd, nIndex, dwNewLong, ProcForm::Ansi);
}

LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  return SetWindowLongPtrAs(hWnd, nIndex, dwNewLong, ProcForm::Unicode);
}

namespace {

LONG_PTR SetWindowLongPtrAs(HWND hWnd, int nIndex, LONG_PTR dwNewLong, ProcForm Form) {
  Window* w = Get(hWnd);
  if (!w) return 0;
  const LONG_PTR old = GetWindowLongPtrA(hWnd, nIndex);
  switch (nIndex) {
    case GWLP_WNDPROC:
      if (!dwNewLong) {
        Sim().LastError = ERROR_INVALID_PARAMETER;
        return 0;
      }
      w->Proc = reinterpret_cast<WNDPROC>(dwNewLong);
      w->Form = FormOfProc(w->Proc, Form);
      break;
    case GWLP_ID: w->Id = dwNewLong; break;
    case GWL_STYLE: w->Style = static_cast<DWORD>(dwNewLong); break;
    case GWL_EXSTYLE: w->ExStyle = static_cast<DWORD>(dwNewLong); break;
    case GWLP_USERDATA: w->UserData = dwNewLong; break;
    default: Sim().LastError = ERROR_INVALID_PARAMETER; return 0;
  }
  return old;
}

}  // namespace
