// Simulated messages: sending through the thread's hooks, the posted-message queue, the message
// loops, timers and the modal loop of dialogs.
//
// Notes:
// - GetMessageA and PeekMessageA take, in this order: the oldest posted message, WM_QUIT, a
//   WM_PAINT for a visible window that waits for painting (parents before children), a WM_TIMER
//   that is due. A timer fires once per period however long the loop was busy.
// - When GetMessageA would wait and a timer is set, the clock skips to the timer instead of
//   sleeping. When nothing could ever arrive it returns -1 rather than hang.
// - WH_CALLWNDPROC / WH_CALLWNDPROCRET hooks see sent messages only (SendMessageA and what the
//   system sends), not dispatched ones, as on Windows.
// - The modal loop of a dialog shows it the first time the queue runs empty, then sends the owner
//   WM_ENTERIDLE (MSGF_DIALOGBOX, the dialog) every time the queue runs empty, as comdlg32's
//   dialogs do; it ends when the dialog calls EndDialog or its window is gone.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "vcl/CodePages.hpp"

#include "state.hpp"

namespace win_sim {

void TrackKeys(const MSG& M) {
  const bool down = M.message == WM_KEYDOWN || M.message == WM_SYSKEYDOWN;
  const bool up = M.message == WM_KEYUP || M.message == WM_SYSKEYUP;
  if ((down || up) && M.wParam < 256) Sim().Keys[M.wParam] = down;
  if (M.message == WM_SYSKEYDOWN) Sim().Keys[VK_MENU] = true;
}

namespace {

LRESULT CallHooks(int Kind, HHOOK After, int Code, WPARAM WParam, LPARAM LParam) {
  const auto& hooks = Sim().Hooks;
  auto it = hooks.begin();
  if (After) {
    it = std::find_if(hooks.begin(), hooks.end(), [After](const Hook& h) { return h.Handle == After; });
    if (it == hooks.end()) return 0;
    ++it;
  }
  it = std::find_if(it, hooks.end(), [Kind](const Hook& h) { return h.Kind == Kind; });
  if (it == hooks.end()) return 0;
  const HOOKPROC proc = it->Proc;
  return proc(Code, WParam, LParam);
}

bool HasHook(int Kind) {
  const auto& hooks = Sim().Hooks;
  return std::any_of(hooks.begin(), hooks.end(), [Kind](const Hook& h) { return h.Kind == Kind; });
}

bool Matches(const MSG& M, HWND Hwnd, UINT Min, UINT Max) {
  if (Hwnd && !(M.hwnd && IsDescendant(Hwnd, M.hwnd))) return false;
  if (Min == 0 && Max == 0) return true;
  return M.message >= Min && M.message <= Max;
}

MSG Make(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  MSG m{};
  m.hwnd = Hwnd;
  m.message = Msg;
  m.wParam = WParam;
  m.lParam = LParam;
  m.time = static_cast<DWORD>(Now());
  return m;
}

// The next message that is there now, or false.
bool Take(MSG& Out, HWND Hwnd, UINT Min, UINT Max, bool Remove) {
  State& s = Sim();
  for (auto it = s.Queue.begin(); it != s.Queue.end(); ++it)
    if (Matches(*it, Hwnd, Min, Max)) {
      Out = *it;
      if (Remove) {
        s.Queue.erase(it);
        TrackKeys(Out);
      }
      return true;
    }
  if (s.QuitPosted && !Hwnd) {
    Out = Make(nullptr, WM_QUIT, static_cast<WPARAM>(s.QuitCode), 0);
    if (Remove) s.QuitPosted = false;
    return true;
  }
  for (auto& [id, w] : s.Windows) {
    if (!w->NeedsPaint || w->Destroying || !IsWindowVisible(w->Handle)) continue;
    const MSG m = Make(w->Handle, WM_PAINT, 0, 0);
    if (!Matches(m, Hwnd, Min, Max)) continue;
    Out = m;
    if (Remove) w->NeedsPaint = false;
    return true;
  }
  const std::int64_t now = Now();
  for (Timer& t : s.Timers) {
    if (t.Due > now) continue;
    const MSG m = Make(t.Hwnd, WM_TIMER, t.Id, reinterpret_cast<LPARAM>(t.Proc));
    if (!Matches(m, Hwnd, Min, Max)) continue;
    Out = m;
    if (Remove) t.Due = now + t.Elapse;
    return true;
  }
  return false;
}

}  // namespace

bool IsTextMessage(UINT Msg) { return Msg == WM_SETTEXT || Msg == WM_GETTEXT || Msg == WM_GETTEXTLENGTH; }

namespace {

// Calls Proc with a message sent in one form (Unicode or ANSI) in the form Proc takes: a text
// message's text is converted with the system's ANSI code page where the two differ, and the
// form the text is in is noted for the window system's own procedures (DefWindowProcA reads it).
LRESULT CallInForm(WNDPROC Proc, ProcForm Form, HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam, bool Unicode) {
  State& s = Sim();
  struct Restore {
    bool& Flag;
    bool Saved;
    ~Restore() { Flag = Saved; }
  } restore{s.UnicodeText, s.UnicodeText};
  const bool text = IsTextMessage(Msg);
  const bool takesUnicode = Form == ProcForm::Both ? Unicode : Form == ProcForm::Unicode;
  s.UnicodeText = text && takesUnicode;
  if (!text || takesUnicode == Unicode || !LParam) return Proc(Hwnd, Msg, WParam, LParam);
  const int page = vcl::SystemCodePage();
  if (Msg == WM_SETTEXT) {
    if (Unicode) {
      const std::string ansi = vcl::FromUtf16(page, reinterpret_cast<LPCWSTR>(LParam));
      return Proc(Hwnd, Msg, WParam, reinterpret_cast<LPARAM>(ansi.c_str()));
    }
    const std::u16string wide = vcl::ToUtf16(page, reinterpret_cast<LPCSTR>(LParam));
    return Proc(Hwnd, Msg, WParam, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  if (Msg != WM_GETTEXT || WParam == 0) return Proc(Hwnd, Msg, WParam, LParam);
  // WM_GETTEXT: the text in Proc's form, converted into the sender's buffer of WParam characters.
  if (Unicode) {
    std::string ansi(2 * WParam + 1, '\0');  // at most two bytes a character
    Proc(Hwnd, Msg, ansi.size(), reinterpret_cast<LPARAM>(ansi.data()));
    ansi.resize(std::strlen(ansi.c_str()));
    std::u16string wide = vcl::ToUtf16(page, ansi);
    wide.resize(std::min<std::size_t>(wide.size(), WParam - 1));
    std::copy(wide.begin(), wide.end(), reinterpret_cast<LPWSTR>(LParam));
    reinterpret_cast<LPWSTR>(LParam)[wide.size()] = 0;
    return static_cast<LRESULT>(wide.size());
  }
  std::u16string wide(WParam + 1, 0);
  Proc(Hwnd, Msg, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(std::char_traits<char16_t>::length(wide.c_str()));
  std::string ansi = vcl::FromUtf16(page, wide);
  ansi.resize(std::min<std::size_t>(ansi.size(), WParam - 1));
  std::memcpy(reinterpret_cast<LPSTR>(LParam), ansi.c_str(), ansi.size() + 1);
  return static_cast<LRESULT>(ansi.size());
}

}  // namespace

LRESULT Send(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam, bool Unicode) {
  const Window* w = Find(Hwnd);
  if (!w) {
    Sim().LastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  const WNDPROC proc = w->Proc;
  const ProcForm form = w->Form;
  if (HasHook(WH_CALLWNDPROC)) {
    CWPSTRUCT cwp{LParam, WParam, Msg, Hwnd};
    CallHooks(WH_CALLWNDPROC, nullptr, HC_ACTION, 0, reinterpret_cast<LPARAM>(&cwp));
  }
  // The hook may have replaced the procedure; the message goes to the one installed now.
  w = Find(Hwnd);
  const LRESULT result = w ? CallInForm(w->Proc, w->Form, Hwnd, Msg, WParam, LParam, Unicode)
                           : CallInForm(proc, form, Hwnd, Msg, WParam, LParam, Unicode);
  if (HasHook(WH_CALLWNDPROCRET)) {
    CWPRETSTRUCT ret{result, LParam, WParam, Msg, Hwnd};
    CallHooks(WH_CALLWNDPROCRET, nullptr, HC_ACTION, 0, reinterpret_cast<LPARAM>(&ret));
  }
  return result;
}

INT_PTR RunModal(HWND Dialog, HWND Owner) {
  bool firstEmpty = true;
  for (;;) {
    const Window* dlg = Find(Dialog);
    if (!dlg || dlg->Destroying) return 0;
    if (dlg->DialogEnded) return dlg->DialogResult;
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (firstEmpty) {
        firstEmpty = false;
        ShowWindow(Dialog, SW_SHOWNORMAL);
      }
      if ((dlg = Find(Dialog)) && !dlg->DialogEnded && !(dlg->Style & DS_NOIDLEMSG) && Owner)
        Send(Owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(Dialog));
      if (!(dlg = Find(Dialog)) || dlg->DialogEnded) continue;
      const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == 0) {  // WM_QUIT ends the dialog and goes on to the outer loop
        PostQuitMessage(static_cast<int>(msg.wParam));
        EndDialog(Dialog, 0);
        continue;
      }
      if (got == -1) {  // nobody can ever close this dialog: end it as cancelled
        EndDialog(Dialog, 0);
        continue;
      }
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      EndDialog(Dialog, 0);
      continue;
    }
    if (!IsDialogMessageA(Dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

}  // namespace win_sim

using namespace win_sim;

// The previous procedure gets the message in the form it takes, converted from the call's.
LRESULT CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return lpPrevWndFunc ? CallInForm(lpPrevWndFunc, FormOf(lpPrevWndFunc), hWnd, Msg, wParam, lParam, false) : 0;
}

LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return lpPrevWndFunc ? CallInForm(lpPrevWndFunc, FormOf(lpPrevWndFunc), hWnd, Msg, wParam, lParam, true) : 0;
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) { return Send(hWnd, Msg, wParam, lParam); }
LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) { return Send(hWnd, Msg, wParam, lParam, true); }

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (hWnd && !IsWindow(hWnd)) {
    Sim().LastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  Sim().Queue.push_back(Make(hWnd, Msg, wParam, lParam));
  return TRUE;
}

void PostQuitMessage(int nExitCode) {
  Sim().QuitPosted = true;
  Sim().QuitCode = nExitCode;
}

BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  if (!lpMsg) return FALSE;
  return Take(*lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (!lpMsg) return -1;
  State& s = Sim();
  for (;;) {
    if (Take(*lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true)) return lpMsg->message == WM_QUIT ? 0 : 1;
    std::int64_t next = -1;
    for (const Timer& t : s.Timers)
      if (!hWnd || (t.Hwnd && IsDescendant(hWnd, t.Hwnd)))
        if (next < 0 || t.Due < next) next = t.Due;
    if (next < 0) {
      s.LastError = ERROR_INVALID_PARAMETER;
      return -1;
    }
    const std::int64_t now = Now();
    if (next > now) s.ClockSkip += next - now;
  }
}

// The character of a key for WM_CHAR (WM_SYSCHAR with Alt): letters by the Shift state, digits,
// blank, Enter, Tab, Backspace and Esc; 0 for keys without one.
static char CharOfKey(WPARAM Key) {
  const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  if (Key >= 'A' && Key <= 'Z') return static_cast<char>(shift ? Key : Key - 'A' + 'a');
  if ((Key >= '0' && Key <= '9') || Key == VK_SPACE) return static_cast<char>(Key);
  if (Key == VK_RETURN || Key == VK_TAB || Key == VK_BACK || Key == VK_ESCAPE) return static_cast<char>(Key);
  return 0;
}

BOOL TranslateMessage(const MSG* lpMsg) {
  if (!lpMsg || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN)) return FALSE;
  const char c = CharOfKey(lpMsg->wParam);
  if (!c) return FALSE;
  // The character comes next, before anything posted meanwhile.
  Sim().Queue.push_front(Make(lpMsg->hwnd, lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                              static_cast<unsigned char>(c), lpMsg->lParam));
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* lpMsg) {
  if (!lpMsg) return 0;
  if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
    reinterpret_cast<TIMERPROC>(lpMsg->lParam)(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, GetTickCount());
    return 0;
  }
  const Window* w = Find(lpMsg->hwnd);
  if (!w) return 0;
  if (lpMsg->message == WM_PAINT) {
    Window* target = Find(lpMsg->hwnd);
    target->NeedsPaint = false;
  }
  return w->Proc(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
  if (!lpMsg || !hDlg || !lpMsg->hwnd || !IsDescendant(hDlg, lpMsg->hwnd)) return FALSE;
  DispatchMessageA(lpMsg);
  return TRUE;
}

UINT RegisterWindowMessageA(LPCSTR lpString) {
  if (!lpString || !*lpString) return 0;
  std::string key = lpString;
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  auto& known = Sim().RegisteredMessages;
  auto it = known.find(key);
  if (it != known.end()) return it->second;
  return known[key] = Sim().NextMessage++;
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
  State& s = Sim();
  if (hWnd && !IsWindow(hWnd)) {
    s.LastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  uElapse = std::max<UINT>(uElapse, 10);
  for (Timer& t : s.Timers)
    if (t.Hwnd == hWnd && t.Id == nIDEvent && (hWnd || nIDEvent)) {
      t.Elapse = uElapse;
      t.Proc = lpTimerFunc;
      t.Due = Now() + uElapse;
      return hWnd ? 1 : t.Id;
    }
  const UINT_PTR id = hWnd ? nIDEvent : s.NextTimerId++;
  s.Timers.push_back(Timer{hWnd, id, uElapse, lpTimerFunc, Now() + uElapse});
  return hWnd ? 1 : id;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
  auto& timers = Sim().Timers;
  auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.Hwnd == hWnd && t.Id == uIDEvent; });
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  // A WM_TIMER of a killed timer is not delivered any more.
  return TRUE;
}

HHOOK SetWindowsHookExA(int idHook, HOOKPROC lpfn, HINSTANCE, DWORD dwThreadId) {
  State& s = Sim();
  if (!lpfn || (idHook != WH_CALLWNDPROC && idHook != WH_CALLWNDPROCRET) || (dwThreadId && dwThreadId != GetCurrentThreadId())) {
    s.LastError = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  const HHOOK handle = reinterpret_cast<HHOOK>(s.NextHook);
  s.NextHook += 4;
  s.Hooks.insert(s.Hooks.begin(), Hook{handle, idHook, lpfn});
  return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hhk) {
  auto& hooks = Sim().Hooks;
  auto it = std::find_if(hooks.begin(), hooks.end(), [hhk](const Hook& h) { return h.Handle == hhk; });
  if (it == hooks.end()) return FALSE;
  hooks.erase(it);
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam) {
  const auto& hooks = Sim().Hooks;
  auto it = std::find_if(hooks.begin(), hooks.end(), [hhk](const Hook& h) { return h.Handle == hhk; });
  if (it == hooks.end()) return 0;
  return CallHooks(it->Kind, hhk, nCode, wParam, lParam);
}
