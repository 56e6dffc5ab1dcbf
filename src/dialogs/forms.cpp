// The application and screen objects, forms, data modules and the exit chain.
#include "vcl/Forms.hpp"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "comdlg_params.hpp"
#include "vcl/Dialogs.hpp"
#include "vcl/StdCtrls.hpp"

#include "win/api.h"
#ifndef _WIN32
#include <unistd.h>
#endif

namespace vcl {

VCL_IMPLEMENT_CLASS(TScreen, TComponent)
VCL_IMPLEMENT_CLASS(TApplication, TComponent)
VCL_IMPLEMENT_CLASS(TForm, TCustomForm)
VCL_IMPLEMENT_CLASS(TDataModule, TComponent)

TProcedure ExitProc = nullptr;

void RunExitProcs() {
  while (TProcedure p = ExitProc) {
    ExitProc = nullptr;
    p();
  }
}

namespace {

// Owned by nobody: they outlive every form and are never freed, as the process's own objects.
TApplication& TheApplication() {
  static TApplication* app = [] {
    std::atexit(&RunExitProcs);
    RegisterCommonDialogClasses();
    RegisterControlClasses();
    FormOwnerWindow = [] { return Application->Handle(); };
    return new TApplication(nullptr);
  }();
  return *app;
}

TScreen& TheScreen() {
  static TScreen* screen = new TScreen(nullptr);
  return *screen;
}

}  // namespace

TApplication* const Application = &TheApplication();
TScreen* const Screen = &TheScreen();

std::string TApplication::ExeName() const {
  if (!FExeName.empty()) return FExeName;
#ifdef _WIN32
  char buf[MAX_PATH + 1];
  const DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return std::string(buf, n);
#else
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
#endif
}

namespace {

const char MainWindowClass[] = "TApplication";

void RegisterWindowClass(const char* Name, WNDPROC Proc) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = Name;
  RegisterClassA(&wc);  // fails harmlessly when the class is there already
}

}  // namespace

HWND TApplication::Handle() {
  if (FHandle && IsWindow(FHandle)) return FHandle;
  RegisterWindowClass(MainWindowClass, &MainWndProc);
  const dialogs::MainWindowPlacement p = dialogs::MainWindowPlacementForScreen();
  FHandle = CreateWindowExA(0, MainWindowClass, "Lumetra", p.Style, p.X, p.Y, 0, 0, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  return FHandle;
}

LRESULT CALLBACK TApplication::MainWndProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TApplication* app = Application;
  TMessage message{Msg, WParam, LParam, 0};
  bool handled = false;
  const bool ran = app->Guard([&] {
    // A hook may remove itself or others while it runs: walk a copy, skip the removed ones.
    const std::vector<TWindowHook> hooks = app->FWindowHooks;
    for (auto it = hooks.rbegin(); it != hooks.rend() && !handled; ++it) {
      const auto& live = app->FWindowHooks;
      if (std::find(live.begin(), live.end(), *it) != live.end()) handled = it->Code(it->Data, message);
    }
  });
  if (!ran) return 0;
  return handled ? message.Result : DefWindowProcA(Hwnd, Msg, WParam, LParam);
}

void TApplication::ProcessMessages() {
  MSG msg;
  // On Windows with the W functions, as the modal loop (src/controls/form.cpp) takes them.
#ifdef _WIN32
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
#else
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
#endif
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that waits for it
      break;
    }
    TranslateMessage(&msg);
#ifdef _WIN32
    DispatchMessageW(&msg);
#else
    DispatchMessageA(&msg);
#endif
  }
  RaiseHookException();
  RaiseEventException();
}

void TApplication::HookMainWindow(TWindowHook Hook) { FWindowHooks.push_back(Hook); }

void TApplication::UnhookMainWindow(TWindowHook Hook) {
  auto it = std::find(FWindowHooks.begin(), FWindowHooks.end(), Hook);
  if (it != FWindowHooks.end()) FWindowHooks.erase(it);
}

void TApplication::KeepHookException(std::exception_ptr Error) {
  if (!FHookException) FHookException = std::move(Error);
}

std::exception_ptr TApplication::TakeHookException() { return std::exchange(FHookException, nullptr); }

void TApplication::RaiseHookException() {
  if (std::exception_ptr e = TakeHookException()) std::rethrow_exception(e);
}

}  // namespace vcl
