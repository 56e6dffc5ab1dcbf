// Dialog class hooking: the class registries, the replaced MessageHook entries, the window
// procedure that translates or captures intercepted dialogs, and the unit's start and end.
//
// Notes:
// - Registration writes the hook's address into the registered class's own table of entries,
//   at the byte position where TCommonDlgHook keeps its MessageHook; every dialog class has the
//   entry at that position, so the position is searched once and used for all of them.
// - Under Wine the owner side can report a dialog late, after it was activated and painted;
//   such a window would stay untranslated until its next repaint, so it is sent WM_ACTIVATE as
//   soon as it is intercepted (what the colour dialog always gets).
// - The colour dialog paints without WM_CTLCOLORDLG under Wine; only activation translates it,
//   once it is set up, on its first WM_ENTERIDLE. The class library reports it on
//   WM_WINDOWPOSCHANGED like the others, which takes the interception slot first, so its first
//   WM_ENTERIDLE then sends the intercepted window that WM_ACTIVATE.
// - The MessageHook entries run inside the class library's hook, which keeps an exception that
//   leaves them and cancels the dialog; ComDlgProc guards itself the same way, so an exception
//   of a capture comes out of the dialog's Execute and so out of GetDlgProps.
#include <cstring>

#include "Vek.hpp"
#include "vcl/Forms.hpp"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace Vek {

VCL_IMPLEMENT_CLASS(TCommonDlgHook, vcl::TCommonDialog, [](vcl::TMetaClass& c) {
  c.SetEntry(vcl::TCommonDialog::MessageHookSlot(), reinterpret_cast<vcl::TCodePointer>(&TCommonDlgHook::MessageHook));
})
VCL_IMPLEMENT_CLASS(TFindDlgHook, vcl::TFindDialog, [](vcl::TMetaClass& c) {
  c.SetEntry(vcl::TCommonDialog::MessageHookSlot(), reinterpret_cast<vcl::TCodePointer>(&TFindDlgHook::MessageHook));
})

TInterceptionState Interception;
WNDPROC& OldWndProc = Interception.OldWndProc;
int& Offset = Interception.Offset;
std::string& OwnerClassName = Interception.OwnerClassName;
vcl::TList*& ClassRegs = Interception.ClassRegs;
vcl::TList*& OrgDlgProc = Interception.OrgDlgProc;
bool& DebugDlg = Interception.DebugDlg;
bool& Closing = Interception.Closing;
vcl::TProcedure& OldExitProc = Interception.OldExitProc;

namespace {

vcl::TCodePointer ReadEntry(vcl::TClass AClass) {
  vcl::TCodePointer code;
  std::memcpy(&code, AClass->EntryTable() + Offset, sizeof code);
  return code;
}

// Writes the entry at Offset of AClass's table, with the bytes made writable meanwhile.
void WriteEntry(vcl::TClass AClass, vcl::TCodePointer Code) {
  std::uint8_t* at = AClass->EntryTable() + Offset;
  DWORD oldProtect = 0;
  VirtualProtect(at, sizeof Code, PAGE_READWRITE, &oldProtect);
  std::memcpy(at, &Code, sizeof Code);
  VirtualProtect(at, sizeof Code, oldProtect, &oldProtect);
}

// The byte position of TCommonDlgHook's MessageHook in its table, or -1 when it is not there.
int FindOffset() {
  const auto target = reinterpret_cast<vcl::TCodePointer>(&TCommonDlgHook::MessageHook);
  vcl::TClass hook = TCommonDlgHook::StaticClass();
  const std::size_t size = hook->EntryTableSize();
  for (std::size_t pos = 0; pos + sizeof target <= size; ++pos) {
    vcl::TCodePointer code;
    std::memcpy(&code, hook->EntryTable() + pos, sizeof code);
    if (code == target) return static_cast<int>(pos);
  }
  return -1;
}

// The window of the dialog component's owner form; a form whose window was never made cannot
// be the active window, and an owner without a window (a data module) has none.
HWND OwnerWindow(vcl::TCommonDialog* Dialog) {
  auto* form = dynamic_cast<vcl::TForm*>(Dialog->Owner());
  return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

// Puts ComDlgProc in front of W's own procedure. A window that was already painted before it
// was intercepted is translated (or captured) at once rather than at its next repaint.
// ComDlgProc is put there as a Unicode procedure: a dialog whose procedure a program set with
// SetWindowLongPtrA is an ANSI window, which stores a Unicode title sent to it as "?" for every
// character outside the system's code page; one set with SetWindowLongPtrW keeps it. The old
// procedure gets each message in the form it takes (CallWindowProcW converts for an ANSI one).
void Intercept(HWND W, bool Activate) {
  OldWndProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(W, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComDlgProc)));
  if (!OldWndProc) return;
  Interception.Intercepted = W;
  Interception.ActivatedOnIdle = Activate;
  RECT pending;
  if (Activate || (IsWindowVisible(W) && !GetUpdateRect(W, &pending, FALSE))) SendMessageA(W, WM_ACTIVATE, 0, 0);
}

}  // namespace

bool RegisterDialogClass(vcl::TClass AClass) {
  if (!AClass || !ClassRegs) return false;
  if (!AClass->InheritsFrom(vcl::TCommonDialog::StaticClass())) return false;
  if (ClassRegs->IndexOf(AClass) >= 0) return false;
  if (Offset == 0) {
    const int found = FindOffset();
    if (found <= 0) return false;  // never write into a table at a guessed position
    Offset = found;
  }
  ClassRegs->Add(AClass);
  OrgDlgProc->Add(reinterpret_cast<void*>(ReadEntry(AClass)));
  const bool find = AClass->InheritsFrom(vcl::TFindDialog::StaticClass());
  WriteEntry(AClass, find ? reinterpret_cast<vcl::TCodePointer>(&TFindDlgHook::MessageHook)
                          : reinterpret_cast<vcl::TCodePointer>(&TCommonDlgHook::MessageHook));
  return true;
}

bool UnRegisterDialogClass(vcl::TClass AClass) {
  const int index = ClassRegs ? ClassRegs->IndexOf(AClass) : -1;
  if (index < 0) return false;
  WriteEntry(AClass, reinterpret_cast<vcl::TCodePointer>(OrgDlgProc->Get(index)));
  ClassRegs->Delete(index);
  ClassRegs->Pack();
  OrgDlgProc->Delete(index);
  OrgDlgProc->Pack();
  return true;
}

void RegisterDialogComponents() {
  if (!vekInstance) return;
  auto registerDialogsOf = [](vcl::TComponent* holder) {
    for (int i = 0; i < holder->ComponentCount(); ++i)
      if (holder->Components(i)->Is<vcl::TCommonDialog>()) RegisterDialogClass(holder->Components(i)->ClassType());
  };
  if (vekInstance->ComponentState() & vcl::csDesigning) {
    if (vekInstance->Owner()) registerDialogsOf(vekInstance->Owner());
    return;
  }
  for (int i = 0; i < vcl::Application->ComponentCount(); ++i) registerDialogsOf(vcl::Application->Components(i));
}

bool TCommonDlgHook::MessageHook(vcl::TCommonDialog* Self, vcl::TMessage& Msg) {
  const bool result = vcl::TCommonDialog::MessageHookEntry(Self, Msg);
  if (Msg.Msg == WM_WINDOWPOSCHANGED) {
    if (OldWndProc) return result;
    Closing = false;
    OwnerClassName = Self->ClassName();
    const HWND w = GetActiveWindow();
    if (w != OwnerWindow(Self)) Intercept(w, false);
  } else if (Msg.Msg == WM_ENTERIDLE && Self->Is<vcl::TColorDialog>()) {
    if (!OldWndProc) {
      Closing = false;
      OwnerClassName = Self->ClassName();
      const HWND w = GetActiveWindow();
      if (w != OwnerWindow(Self)) Intercept(w, true);
    } else if (!Interception.ActivatedOnIdle && Interception.Intercepted == GetActiveWindow()) {
      // Intercepted earlier on WM_WINDOWPOSCHANGED: it still gets its one WM_ACTIVATE here.
      Interception.ActivatedOnIdle = true;
      SendMessageA(Interception.Intercepted, WM_ACTIVATE, 0, 0);
    }
  }
  return result;
}

bool TFindDlgHook::MessageHook(vcl::TCommonDialog* Self, vcl::TMessage& Msg) {
  const bool result = vcl::TFindDialog::MessageHookEntry(Self, Msg);
  if (Msg.Msg == WM_CREATE) {
    Closing = false;
  } else if (Msg.Msg == WM_KILLFOCUS && !OldWndProc && !Closing) {
    OwnerClassName = Self->ClassName();
    Intercept(reinterpret_cast<HWND>(Msg.WParam), false);
  }
  return result;
}

LRESULT CALLBACK ComDlgProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 1;
  if (Msg != WithheldMessage && OldWndProc) result = CallWindowProcW(OldWndProc, hWnd, Msg, wParam, lParam);
  // What the dialog's own procedure answered stands also when the rest fails.
  vcl::Application->Guard([&] {
    switch (Msg) {
      case WM_DESTROY:
      case WM_CLOSE:
        if (OldWndProc) {
          Closing = true;
          SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldWndProc));
          OldWndProc = nullptr;
          Interception.Intercepted = nullptr;
        }
        Interception.Mirrored = nullptr;
        break;
      case WM_ACTIVATE:
      case WM_CTLCOLORDLG:
      case WM_DPICHANGED:  // the entries again, at the new DPI
        if (!vekInstance) break;  // no translator in charge: the dialog stays as it is
        if (!DebugDlg) {
          vekInstance->TranslateDialog(hWnd);
        } else {
          vekInstance->GetProps(hWnd);
          PostMessageA(hWnd, WM_CLOSE, 0, 0);
        }
        break;
      case WM_COMMAND:
        if ((LOWORD(wParam) == psh1 || LOWORD(wParam) == psh2) && vekInstance) vekInstance->TranslateDialog(hWnd);
        break;
      default:
        break;
    }
  }, &hWnd);
  return result;
}

void UnRegisterDialogClasses() {
  while (ClassRegs && ClassRegs->Count() > 0) UnRegisterDialogClass(static_cast<vcl::TClass>(ClassRegs->Get(0)));
}

void TInterceptionState::Reset() {
  UnRegisterDialogClasses();
  // Only a window whose procedure is still ours: one put in front of it since stays.
  if (OldWndProc && IsWindow(Intercepted) &&
      GetWindowLongPtrW(Intercepted, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ComDlgProc))
    SetWindowLongPtrW(Intercepted, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldWndProc));
  OldWndProc = nullptr;
  Intercepted = nullptr;
  Mirrored = nullptr;
  ActivatedOnIdle = false;
  for (const DialogFont& f : DialogFonts) DeleteObject(f.Font);
  DialogFonts.clear();
  if (DestroyWatch) UnhookWindowsHookEx(DestroyWatch);
  DestroyWatch = nullptr;
  OwnerClassName.clear();
  DebugDlg = false;
  Closing = false;
}

void RestoreDialogClasses() {
  vcl::ExitProc = OldExitProc;
  UnRegisterDialogClasses();
  delete OrgDlgProc;
  OrgDlgProc = nullptr;
  delete ClassRegs;
  ClassRegs = nullptr;
}

// When the module is unloaded before the program ends, the exit chain has not run: the classes
// still registered get their entries back here, so none keeps pointing into unloaded code, and
// the chain no longer leads here.
void UnitInitialization() {
  OldExitProc = vcl::ExitProc;
  vcl::ExitProc = &RestoreDialogClasses;
  ClassRegs = new vcl::TList;
  OrgDlgProc = new vcl::TList;
  vcl::RegisterClass(TLumetra::StaticClass());  // forms construct it by name
}

void UnitFinalization() {
  if (vcl::ExitProc == &RestoreDialogClasses) RestoreDialogClasses();
  Interception.Reset();
  vcl::UnRegisterClass(TLumetra::StaticClass());
}

#ifndef LUMETRA_PACKAGE
namespace {

// Linked into a program or a plain module, the unit starts and ends with it; a package runs
// the two parts from its Initialize and Finalize instead.
struct VekUnit {
  VekUnit() { UnitInitialization(); }
  ~VekUnit() { UnitFinalization(); }
} Unit;

}  // namespace
#endif

}  // namespace Vek
