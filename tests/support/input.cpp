// Input for the tests that drive windows, real on Windows, posted in the simulation.
//
// Notes:
// - Under Wine the keys and clicks go through SendInput, so they take the path of real input
//   (the X server, the thread's key state, hit testing); each step waits a timer tick, which
//   leaves time for the input to arrive.
#include "input.hpp"

namespace ui_test {

namespace {

struct Script {
  std::vector<std::function<void()>> Steps;
  std::size_t Next = 0;
  vcl::TCustomForm* Form = nullptr;
};
Script* Current = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  Script* s = Current;
  if (!s) return;
  vcl::TCustomForm* form = s->Form;
  if (!form) form = dynamic_cast<vcl::TCustomForm*>(vcl::TControl::FromHandle(GetActiveWindow()));
  if (!form || !form->Modal()) return;
  if (s->Next < s->Steps.size()) {
    const auto step = s->Steps[s->Next++];
    step();
  } else if (form->ModalResult() == vcl::mrNone) {
    form->SetModalResult(vcl::mrAbort);
  }
}

#ifdef _WIN32
void SendKey(WORD Vk, bool Up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = Vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(Vk, 0));
  in.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}
#else
void Post(UINT Msg, WORD Vk) { PostMessageA(GetFocus(), Msg, Vk, 1); }
#endif

}  // namespace

void Key(WORD K, vcl::TShiftState Shift) {
#ifdef _WIN32
  if (Shift & vcl::ssShift) SendKey(VK_SHIFT, false);
  if (Shift & vcl::ssCtrl) SendKey(VK_CONTROL, false);
  if (Shift & vcl::ssAlt) SendKey(VK_MENU, false);
  SendKey(K, false);
  SendKey(K, true);
  if (Shift & vcl::ssAlt) SendKey(VK_MENU, true);
  if (Shift & vcl::ssCtrl) SendKey(VK_CONTROL, true);
  if (Shift & vcl::ssShift) SendKey(VK_SHIFT, true);
#else
  const bool alt = (Shift & vcl::ssAlt) != 0;
  if (Shift & vcl::ssShift) Post(WM_KEYDOWN, VK_SHIFT);
  if (Shift & vcl::ssCtrl) Post(WM_KEYDOWN, VK_CONTROL);
  if (alt) Post(WM_SYSKEYDOWN, VK_MENU);
  Post(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, K);
  Post(alt ? WM_SYSKEYUP : WM_KEYUP, K);
  if (alt) Post(WM_KEYUP, VK_MENU);
  if (Shift & vcl::ssCtrl) Post(WM_KEYUP, VK_CONTROL);
  if (Shift & vcl::ssShift) Post(WM_KEYUP, VK_SHIFT);
#endif
}

void Click(vcl::TControl* Control, int X, int Y, vcl::TShiftState Shift) {
  const HWND hwnd = Control->WindowHandle();
  RECT client;
  GetClientRect(hwnd, &client);
  POINT p{X < 0 ? client.right / 2 : X, Y < 0 ? client.bottom / 2 : Y};
#ifdef _WIN32
  ClientToScreen(hwnd, &p);
  if (Shift & vcl::ssCtrl) SendKey(VK_CONTROL, false);
  if (Shift & vcl::ssShift) SendKey(VK_SHIFT, false);
  INPUT in[3]{};
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = static_cast<LONG>((p.x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN));
    i.mi.dy = static_cast<LONG>((p.y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN));
  }
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, in, sizeof in[0]);
  if (Shift & vcl::ssShift) SendKey(VK_SHIFT, true);
  if (Shift & vcl::ssCtrl) SendKey(VK_CONTROL, true);
#else
  WPARAM keys = MK_LBUTTON | ((Shift & vcl::ssCtrl) ? MK_CONTROL : 0) | ((Shift & vcl::ssShift) ? MK_SHIFT : 0);
  PostMessageA(hwnd, WM_LBUTTONDOWN, keys, MAKELPARAM(p.x, p.y));
  PostMessageA(hwnd, WM_LBUTTONUP, keys & ~static_cast<WPARAM>(MK_LBUTTON), MAKELPARAM(p.x, p.y));
#endif
}

void RunScript(const std::function<void()>& Body, std::vector<std::function<void()>> Steps, vcl::TCustomForm* Form) {
#ifdef _WIN32
  // The first tick brings the form to the front, where real input reaches it.
  Steps.insert(Steps.begin(), [] { SetForegroundWindow(GetActiveWindow()); });
#endif
  Script script{std::move(Steps), 0, Form};
  Script* const outer = std::exchange(Current, &script);
  const UINT_PTR timer = SetTimer(nullptr, 0, 150, &Tick);
  struct Restore {
    Script* Outer;
    UINT_PTR Timer;
    ~Restore() {
      KillTimer(nullptr, Timer);
      Current = Outer;
    }
  } restore{outer, timer};
  Body();
}

void RunScript(const std::function<void()>& Body, std::vector<std::function<void()>> Steps) {
  RunScript(Body, std::move(Steps), nullptr);
}

vcl::TModalResult RunModal(vcl::TCustomForm& Form, std::vector<std::function<void()>> Steps) {
  vcl::TModalResult result = vcl::mrNone;
  RunScript([&] { result = Form.ShowModal(); }, std::move(Steps), &Form);
  return result;
}

}  // namespace ui_test
