// TCommonDialog: the entries of the dialog classes, the modal run with the owner side hooked,
// and the watch that hands the owner side its messages.
//
// Notes: the messages of a running dialog, in order, on Windows (comdlg32) and in the simulation
// alike. "Owner side" means the application's main window, whose hooks lead to the running
// component's MessageHook, i.e. to the MessageHook entry of the component's class.
//
// Modal dialogs (open, save, font, colour, print, printer setup):
//  1. Execute hooks the main window and starts the dialog watch (two thread hooks).
//  2. comdlg32 creates the dialog hidden, disables the owner, sends the dialog WM_INITDIALOG.
//  3. The dialog is shown and activated: WM_NCACTIVATE and WM_ACTIVATE reach the dialog, which
//     is now what GetActiveWindow returns; the focus moves to one of its controls.
//  4. Once the dialog's procedure has handled that WM_ACTIVATE, the watch sends the owner side
//     WM_WINDOWPOSCHANGED (a WINDOWPOS of the main window, nothing moved). Windows and Wine do
//     not send the owner such a message when a dialog opens, so the class library makes it.
//     A hook that replaces the dialog's procedure here sees everything from step 5 on.
//  5. The dialog's background is erased: WM_ERASEBKGND, which sends the dialog WM_CTLCOLORDLG
//     (once or twice per repaint), then WM_WINDOWPOSCHANGED and WM_PAINT to the dialog.
//  6. Whenever the dialog's modal loop finds its queue empty, the owner side gets WM_ENTERIDLE
//     (wParam MSGF_DIALOGBOX, lParam the dialog), with the dialog still the active window.
//     Under Wine the first one can take a few hundred milliseconds to come.
//  7. OK, Cancel, or WM_CLOSE (which the dialog turns into Cancel) end the dialog: it is
//     deactivated (WM_ACTIVATE WA_INACTIVE), the owner enabled and activated, and the dialog
//     destroyed (WM_DESTROY, WM_NCDESTROY). Execute unhooks and returns.
//
// Modeless dialogs (find, replace): Execute hooks the main window and starts the watch, which
// stays until the dialog reports that it closed.
//  1. While comdlg32 creates the dialog window, the owner side gets WM_CREATE (sent by the watch
//     when the dialog's own WM_CREATE arrives).
//  2. The dialog is shown and activated; once it has handled WM_ACTIVATE the owner side gets
//     WM_KILLFOCUS with wParam = the dialog window, as a focused owner does under Wine. The same
//     happens every later time the dialog is activated. Steps 1 and 2 happen inside Execute,
//     which returns once the dialog is shown.
//  3. The dialog reports Find Next, Replace, Replace All, and its closing (FR_DIALOGTERM, before
//     it is destroyed) with the registered message "commdlg_FindReplace" to the owner side,
//     where TFindDialog::MessageHookEntry handles them.
//
// A hook that raises an exception does not let it cross the window procedure: the component
// keeps it, closes its dialog (WM_COMMAND IDCANCEL), and Execute (or, for find and replace,
// the next Application->ProcessMessages) raises it.
#include <algorithm>

#include "comdlg_params.hpp"
#include "dialog_watch.hpp"
#include "vcl/StandardDialogs.hpp"

namespace vcl {

namespace {

int ExecuteSlotValue = -1;
int MessageHookSlotValue = -1;

void SetupCommonDialog(TMetaClass& Class) {
  ExecuteSlotValue = Class.AddEntry(reinterpret_cast<TCodePointer>(&TCommonDialog::ExecuteEntry));
  MessageHookSlotValue = Class.AddEntry(reinterpret_cast<TCodePointer>(&TCommonDialog::MessageHookEntry));
  Class.Publish<TCommonDialog>()
      .Boolean("Ctl3D", &TCommonDialog::Ctl3D, &TCommonDialog::SetCtl3D)
      .Default(true)
      .Integer("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext)
      .Default(0);
}

}  // namespace

VCL_IMPLEMENT_CLASS(TCommonDialog, TComponent, &SetupCommonDialog)

int TCommonDialog::ExecuteSlot() {
  StaticClass();
  return ExecuteSlotValue;
}

int TCommonDialog::MessageHookSlot() {
  StaticClass();
  return MessageHookSlotValue;
}

bool TCommonDialog::Execute() {
  return reinterpret_cast<TExecuteEntry>(ClassType()->Entry(ExecuteSlot()))(this);
}

bool TCommonDialog::MessageHook(TMessage& Msg) {
  return reinterpret_cast<TMessageHookEntry>(ClassType()->Entry(MessageHookSlot()))(this, Msg);
}

bool TCommonDialog::ExecuteEntry(TCommonDialog*) { return false; }

bool TCommonDialog::MessageHookEntry(TCommonDialog*, TMessage&) { return false; }

bool TCommonDialog::HookThunk(void* Data, TMessage& Message) {
  auto* self = static_cast<TCommonDialog*>(Data);
  bool handled = false;
  Application->Guard([&] { handled = self->MessageHook(Message); }, &self->FHandle);
  return handled;
}

bool TCommonDialog::RunModal(const std::function<bool()>& Show) {
  struct Hooked {
    TWindowHook Hook;
    explicit Hooked(TWindowHook AHook) : Hook(AHook) { Application->HookMainWindow(Hook); }
    ~Hooked() { Application->UnhookMainWindow(Hook); }
  };
  bool result = false;
  {
    Hooked hooked(TWindowHook{&HookThunk, this});
    TDialogWatch watch(this, false);
    result = Show();
  }
  FHandle = nullptr;
  Application->RaiseHookException();
  return result;
}

// The dialog watch.

TDialogWatch::Shared& TDialogWatch::State() {
  static Shared state;
  return state;
}

TDialogWatch::TDialogWatch(TCommonDialog* Dialog, bool Modeless)
    : FDialog(Dialog), FOwner(Application->Handle()), FModeless(Modeless) {
  Shared& s = State();
  if (s.Watches.empty()) {
    s.CallHook = SetWindowsHookExA(WH_CALLWNDPROC, &CallProc, nullptr, GetCurrentThreadId());
    s.RetHook = SetWindowsHookExA(WH_CALLWNDPROCRET, &RetProc, nullptr, GetCurrentThreadId());
  }
  s.Watches.push_back(this);
}

TDialogWatch::~TDialogWatch() {
  Shared& s = State();
  s.Watches.erase(std::remove(s.Watches.begin(), s.Watches.end(), this), s.Watches.end());
  if (s.Watches.empty()) {
    if (s.CallHook) UnhookWindowsHookEx(s.CallHook);
    if (s.RetHook) UnhookWindowsHookEx(s.RetHook);
    s.CallHook = s.RetHook = nullptr;
  }
}

bool TDialogWatch::IsOwned(HWND Hwnd) const {
  return Hwnd != FOwner && !(GetWindowLongA(Hwnd, GWL_STYLE) & WS_CHILD) && GetWindow(Hwnd, GW_OWNER) == FOwner;
}

void TDialogWatch::Deliver(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (IsWindow(FOwner)) SendMessageA(FOwner, Msg, WParam, LParam);
}

void TDialogWatch::Sent(HWND Hwnd, UINT Msg, WPARAM) {
  if (Msg == WM_CREATE && FModeless && !FWindow && IsOwned(Hwnd)) {
    FWindow = Hwnd;
    FDialog->FHandle = Hwnd;
    Deliver(WM_CREATE, 0, 0);
  } else if (Msg == WM_NCDESTROY && Hwnd == FWindow) {
    FWindow = nullptr;
    FDialog->FHandle = nullptr;
  }
}

void TDialogWatch::Returned(HWND Hwnd, UINT Msg, WPARAM WParam) {
  if (Msg != WM_ACTIVATE || LOWORD(WParam) == WA_INACTIVE) return;
  if (FModeless) {
    if (Hwnd == FWindow) Deliver(WM_KILLFOCUS, reinterpret_cast<WPARAM>(Hwnd), 0);
    return;
  }
  if (FOpened || !IsOwned(Hwnd)) return;
  FOpened = true;
  FWindow = Hwnd;
  FDialog->FHandle = Hwnd;
  RECT r{};
  GetWindowRect(FOwner, &r);
  WINDOWPOS pos{FOwner, Hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE};
  Deliver(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

template <class F>
void TDialogWatch::ForEach(F Action) {
  // A delivered message may end a watch: walk a copy, skip the ended ones.
  Application->Guard([&] {
    const std::vector<TDialogWatch*> watches = State().Watches;
    for (TDialogWatch* w : watches) {
      const std::vector<TDialogWatch*>& live = State().Watches;
      if (std::find(live.begin(), live.end(), w) != live.end()) Action(*w);
    }
  });
}

LRESULT CALLBACK TDialogWatch::CallProc(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION) {
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(LParam);
    ForEach([cwp](TDialogWatch& w) { w.Sent(cwp->hwnd, cwp->message, cwp->wParam); });
  }
  return CallNextHookEx(State().CallHook, Code, WParam, LParam);
}

LRESULT CALLBACK TDialogWatch::RetProc(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION) {
    const auto* ret = reinterpret_cast<const CWPRETSTRUCT*>(LParam);
    ForEach([ret](TDialogWatch& w) { w.Returned(ret->hwnd, ret->message, ret->wParam); });
  }
  return CallNextHookEx(State().RetHook, Code, WParam, LParam);
}

void RegisterCommonDialogClasses() {
  static const bool done = [] {
    RegisterClass(TCommonDialog::StaticClass());
    for (const TStandardDialog& d : StandardDialogs()) RegisterClass(d.Class());
    return true;
  }();
  (void)done;
}

}  // namespace vcl
