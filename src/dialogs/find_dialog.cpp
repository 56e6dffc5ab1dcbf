// The modeless find and replace dialog components.
#include <cstring>

#include "comdlg_params.hpp"
#include "dialog_watch.hpp"

namespace vcl {

/// What a shown find or replace dialog needs while it is open: the parameter block comdlg32
/// reports through (kept until the next Execute or the component's end, as the dialog may still
/// read it while it closes), the main-window hook and the watch.
struct TModelessRun {
  TModelessRun(TFindDialog* Dialog, const char* Kind, TWindowHook AHook)
      : Params(Kind, Application->Handle()), Hook(AHook) {
    Application->HookMainWindow(Hook);
    Watch = std::make_unique<TDialogWatch>(Dialog, true);
  }
  ~TModelessRun() { Stop(); }
  /// Ends the hooking; the parameter block stays.
  void Stop() {
    Watch.reset();
    Application->UnhookMainWindow(Hook);
  }
  dialogs::ComDlgParams Params;
  TWindowHook Hook;
  std::unique_ptr<TDialogWatch> Watch;
};

namespace {

// The FINDREPLACE flag of each element of TFindOptions, by element.
const DWORD FindFlags[] = {FR_DOWN,      FR_FINDNEXT,    FR_HIDEMATCHCASE, FR_HIDEWHOLEWORD, FR_HIDEUPDOWN,
                           FR_MATCHCASE, FR_NOMATCHCASE, FR_NOUPDOWN,      FR_NOWHOLEWORD,   FR_REPLACE,
                           FR_REPLACEALL, FR_WHOLEWORD,  FR_SHOWHELP};

void SetupFindDialog(TMetaClass& Class) {
  Class.SetEntry(TCommonDialog::ExecuteSlot(), reinterpret_cast<TCodePointer>(&TFindDialog::ExecuteEntry));
  Class.SetEntry(TCommonDialog::MessageHookSlot(), reinterpret_cast<TCodePointer>(&TFindDialog::MessageHookEntry));
  Class.Publish<TFindDialog>()
      .String("FindText", &TFindDialog::FindText, &TFindDialog::SetFindText)
      .Set("Options", &TFindDialog::Options, &TFindDialog::SetOptions,
           {"frDown", "frFindNext", "frHideMatchCase", "frHideWholeWord", "frHideUpDown", "frMatchCase",
            "frDisableMatchCase", "frDisableUpDown", "frDisableWholeWord", "frReplace", "frReplaceAll", "frWholeWord",
            "frShowHelp"})
      .Default(frDown);
}

void SetupReplaceDialog(TMetaClass& Class) {
  Class.SetEntry(TCommonDialog::ExecuteSlot(), reinterpret_cast<TCodePointer>(&TReplaceDialog::ExecuteEntry));
  Class.Publish<TReplaceDialog>().String("ReplaceText", &TReplaceDialog::ReplaceText, &TReplaceDialog::SetReplaceText);
}

}  // namespace

VCL_IMPLEMENT_CLASS(TFindDialog, TCommonDialog, &SetupFindDialog)
VCL_IMPLEMENT_CLASS(TReplaceDialog, TFindDialog, &SetupReplaceDialog)

TFindDialog::TFindDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

TFindDialog::~TFindDialog() {
  if (FHandle && IsWindow(FHandle)) DestroyWindow(FHandle);
  FHandle = nullptr;
}

bool TFindDialog::ExecuteEntry(TCommonDialog* Self) { return static_cast<TFindDialog*>(Self)->ShowModeless("find"); }

bool TReplaceDialog::ExecuteEntry(TCommonDialog* Self) {
  return static_cast<TReplaceDialog*>(Self)->ShowModeless("replace");
}

bool TFindDialog::ShowModeless(const char* Kind) {
  if (FHandle && IsWindow(FHandle)) {
    SetActiveWindow(FHandle);
    return true;
  }
  FRun.reset();
  FRun = std::make_unique<TModelessRun>(this, Kind, TWindowHook{&HookThunk, this});
  dialogs::ComDlgParams& p = FRun->Params;
  dialogs::CopyInto(p.FindWhat, sizeof p.FindWhat, FFindText, "FindText");
  if (auto* replace = dynamic_cast<TReplaceDialog*>(this))
    dialogs::CopyInto(p.ReplaceWith, sizeof p.ReplaceWith, replace->ReplaceText(), "ReplaceText");
  // What the user asked for last is the dialog's report, not how it starts.
  p.Find.Flags = dialogs::FlagsOf(FOptions & ~(frFindNext | frReplace | frReplaceAll), FindFlags);
  const HWND dialog = p.Create();
  if (!dialog) {
    FRun->Stop();
    FHandle = nullptr;
  } else {
    FHandle = dialog;
  }
  Application->RaiseHookException();
  return dialog != nullptr;
}

void TFindDialog::CloseDialog() {
  if (FHandle && IsWindow(FHandle)) PostMessageA(FHandle, WM_CLOSE, 0, 0);
}

bool TFindDialog::MessageHookEntry(TCommonDialog* Self, TMessage& Msg) {
  static const UINT findMsg = RegisterWindowMessageA(FINDMSGSTRINGA);
  auto* self = static_cast<TFindDialog*>(Self);
  if (Msg.Msg != findMsg || !self->FRun || Msg.LParam != reinterpret_cast<LPARAM>(&self->FRun->Params.Find))
    return TCommonDialog::MessageHookEntry(Self, Msg);
  const FINDREPLACEA& fr = self->FRun->Params.Find;
  self->FFindText = fr.lpstrFindWhat;
  self->FOptions = dialogs::OptionsOf(fr.Flags, FindFlags);
  if (fr.lpstrReplaceWith) self->TakeReplaceText(fr.lpstrReplaceWith);
  Msg.Result = 0;
  if (fr.Flags & FR_DIALOGTERM) {
    self->FHandle = nullptr;
    self->FRun->Stop();
    if (self->OnClose) self->OnClose(self);
  } else if (fr.Flags & FR_FINDNEXT) {
    if (self->OnFind) self->OnFind(self);
  } else if (fr.Flags & (FR_REPLACE | FR_REPLACEALL)) {
    if (self->OnReplace) self->OnReplace(self);
  }
  return true;
}

}  // namespace vcl
