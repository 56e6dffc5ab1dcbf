// Showing a dialog component for an instant, acting on its window and cancelling it.
#include <exception>

#include "vcl/Dialogs.hpp"

namespace vcl {

namespace {

// A modal dialog being shown, and what Act raised on it.
struct TShowing {
  TCommonDialog* Dialog;
  const std::function<void(HWND)>* Act;
  bool Done = false;
  std::exception_ptr Error;
};

bool OnFirstIdle(void* Data, TMessage& Msg) {
  auto* s = static_cast<TShowing*>(Data);
  const HWND dialog = s->Dialog->Handle();
  if (Msg.Msg != WM_ENTERIDLE || s->Done || !dialog || reinterpret_cast<HWND>(Msg.LParam) != dialog) return false;
  s->Done = true;
  try {
    (*s->Act)(dialog);
  } catch (...) {
    s->Error = std::current_exception();  // nothing may cross the dialog's message loop
  }
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  return false;
}

// Hooked before Execute, so that the dialog component's own hook sees each message first.
class THooked {
public:
  explicit THooked(TWindowHook AHook) : FHook(AHook) { Application->HookMainWindow(FHook); }
  ~THooked() { Application->UnhookMainWindow(FHook); }
  THooked(const THooked&) = delete;
  THooked& operator=(const THooked&) = delete;

private:
  TWindowHook FHook;
};

// The options of a file dialog for the time it is shown.
class TNoChangeDir {
public:
  explicit TNoChangeDir(TCommonDialog& Dialog) : FOpen(dynamic_cast<TOpenDialog*>(&Dialog)) {
    if (!FOpen) return;
    FOptions = FOpen->Options();
    FOpen->SetOptions(FOptions | ofNoChangeDir);
  }
  ~TNoChangeDir() {
    if (FOpen) FOpen->SetOptions(FOptions);
  }
  TNoChangeDir(const TNoChangeDir&) = delete;
  TNoChangeDir& operator=(const TNoChangeDir&) = delete;

private:
  TOpenDialog* FOpen;
  TOpenOptions FOptions = 0;
};

}  // namespace

bool ShowDialogOnce(TCommonDialog& Dialog, const std::function<void(HWND)>& Act) {
  const TNoChangeDir keep(Dialog);
  if (auto* find = dynamic_cast<TFindDialog*>(&Dialog)) {
    find->Execute();  // modeless: shown at once
    Application->ProcessMessages();
    const HWND shown = find->Handle();
    std::exception_ptr error;
    try {
      if (shown) Act(shown);
    } catch (...) {
      error = std::current_exception();
    }
    find->CloseDialog();
    Application->ProcessMessages();
    if (error) std::rethrow_exception(error);
    return shown != nullptr;
  }
  TShowing showing{&Dialog, &Act, false, nullptr};
  {
    const THooked hooked(TWindowHook{&OnFirstIdle, &showing});
    Dialog.Execute();
  }
  if (showing.Error) std::rethrow_exception(showing.Error);
  return showing.Done;
}

}  // namespace vcl
