// TCustomForm: the form window, its border and client size, the active control, the keyboard
// (Tab order, default and cancel buttons, Alt mnemonics) and the modal loop.
//
// Notes:
// - The modal loop does its own keyboard handling instead of IsDialogMessage: a key goes first
//   to the focused control's OnKeyDown (after the form's with KeyPreview), and only when nobody
//   took it and the control does not want it (WM_GETDLGCODE) does the form use Tab, Enter or Esc,
//   Ctrl+Tab (a notebook's next page) or the arrows (between radio buttons).
// - Windows disabled for the modal loop are the owner window and the window active before; both
//   are enabled again before the form is hidden, so that activation goes back to them.
// - On the simulated window system GetMessageA answers -1 when nothing could ever arrive; the
//   loop then ends as cancelled rather than wait for ever.
// - On Windows the loop takes and dispatches messages with the W functions: GetMessageA would
//   turn the UTF-16 character of a WM_CHAR into the ANSI code page ("?" for one it lacks) before
//   the layer's Unicode windows see it. An ANSI window still gets its messages in ANSI.
#include <algorithm>

#include "control_support.hpp"
#include "vcl/Controls.hpp"
#include "vcl/StdCtrls.hpp"
#include "vcl/TabNotBk.hpp"

namespace vcl {

VCL_IMPLEMENT_CLASS(TCustomForm, TWinControl, [](TMetaClass& c) {
  c.Publish<TCustomForm>()
      .Set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
           {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"})
      .Default(biSystemMenu | biMinimize | biMaximize)
      .Enumeration("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
                   {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"})
      .Default(bsSizeable)
      .Integer("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight).Stored(false)
      .Integer("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth).Stored(false)
      .Boolean("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false)
      .Boolean("ParentFont", &TCustomForm::ParentFont, &TCustomForm::SetParentFont).Default(false)
      .Integer("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch).Stored(false)
      .Enumeration("Position", &TCustomForm::Position, &TCustomForm::SetPosition,
                   {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter"})
      .Default(poDesigned)
      .Integer("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight).Stored(false)
      .Boolean("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible).Default(false)
      .Event("OnActivate", &TCustomForm::OnActivate, &TCustomForm::SetOnActivate)
      .Event("OnClose", &TCustomForm::OnClose, &TCustomForm::SetOnClose)
      .Event("OnCloseQuery", &TCustomForm::OnCloseQuery, &TCustomForm::SetOnCloseQuery)
      .Event("OnCreate", &TCustomForm::OnCreate, &TCustomForm::SetOnCreate)
      .Event("OnDestroy", &TCustomForm::OnDestroy, &TCustomForm::SetOnDestroy)
      .Event("OnShow", &TCustomForm::OnShow, &TCustomForm::SetOnShow);
})

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  FVisible = false;
  FParentFont = false;
  for (TEventBase* e : std::initializer_list<TEventBase*>{&FOnCreate, &FOnDestroy, &FOnShow, &FOnActivate, &FOnClose,
                                                          &FOnCloseQuery})
    AddEvent(*e);
}

TCustomForm::~TCustomForm() {
  try {
    FOnDestroy(this);
  } catch (...) {
    KeepEventException(std::current_exception());  // a destructor cannot pass it on
  }
  if (FHandle) DestroyHandle();
}

void TCustomForm::DefineProperties(TFiler* Filer) {
  TWinControl::DefineProperties(Filer);
  Filer->DefineProperty(
      "ActiveControl", [this](TReader* R) { FActiveControlName = R->ReadIdent(); },
      [this](TWriter* W) { W->WriteIdent(FActiveControl->Name()); }, FActiveControl && !FActiveControl->Name().empty());
}

RECT TCustomForm::FrameSize() const {
  TCreateParams params;
  const_cast<TCustomForm*>(this)->CreateParams(params);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
  return RECT{-r.left, -r.top, r.right, r.bottom};
}

int TCustomForm::ClientWidth() const {
  if (FHandle) {
    RECT r;
    GetClientRect(FHandle, &r);
    return r.right;
  }
  const RECT f = FrameSize();
  return std::max(Width() - static_cast<int>(f.left + f.right), 0);
}

int TCustomForm::ClientHeight() const {
  if (FHandle) {
    RECT r;
    GetClientRect(FHandle, &r);
    return r.bottom;
  }
  const RECT f = FrameSize();
  return std::max(Height() - static_cast<int>(f.top + f.bottom), 0);
}

void TCustomForm::SetClientWidth(int Value) {
  FClientWidth = Value;
  const RECT f = FrameSize();
  SetWidth(Value + static_cast<int>(f.left + f.right));
}

void TCustomForm::SetClientHeight(int Value) {
  FClientHeight = Value;
  const RECT f = FrameSize();
  SetHeight(Value + static_cast<int>(f.top + f.bottom));
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  Params.ClassName = ContainerWindowClass();
  Params.ExStyle = WS_EX_CONTROLPARENT;
  const DWORD icons = (FBorderIcons & biSystemMenu) ? WS_SYSMENU : 0;
  switch (FBorderStyle) {
    case bsNone: Params.Style = WS_POPUP; break;
    case bsDialog:
      Params.Style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | icons;
      Params.ExStyle |= WS_EX_DLGMODALFRAME;
      break;
    case bsSingle:
    case bsToolWindow:
      Params.Style = WS_OVERLAPPED | WS_CAPTION | icons | ((FBorderIcons & biMinimize) ? WS_MINIMIZEBOX : 0) |
                     ((FBorderIcons & biMaximize) ? WS_MAXIMIZEBOX : 0);
      break;
    default:
      Params.Style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | icons | ((FBorderIcons & biMinimize) ? WS_MINIMIZEBOX : 0) |
                     ((FBorderIcons & biMaximize) ? WS_MAXIMIZEBOX : 0);
      break;
  }
  if (!Enabled()) Params.Style |= WS_DISABLED;
}

void TCustomForm::CreateHandle() {
  if (FHandle) return;
  if (Parent()) return TWinControl::CreateHandle();
  TCreateParams params;
  CreateParams(params);
  // The border style may have changed since the client size was set.
  if (FClientWidth > 0) SetClientWidth(FClientWidth);
  if (FClientHeight > 0) SetClientHeight(FClientHeight);
  int x = Left(), y = Top();
  if (FPosition == poScreenCenter) {
    x = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
    FLeft = x;
    FTop = y;
  }
  const HWND owner = FormOwnerWindow ? FormOwnerWindow() : nullptr;
  const std::string caption = Caption();
  const HWND hwnd = CreateWindowExA(params.ExStyle, params.ClassName.c_str(), caption.c_str(), params.Style, x, y,
                                    Width(), Height(), owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) throw EInvalidOperation("Cannot create the window of form " + Name() + " (error " + IntToStr(GetLastError()) + ")");
  AttachWindow(hwnd);
  const std::vector<TControl*> children = Controls();
  for (TControl* c : children)
    if (!c->HandleAllocated()) c->CreateHandle();
}

void TCustomForm::SetVisible(bool Value) {
  if (Parent() || (ComponentState() & csLoading) || !Value) return TWinControl::SetVisible(Value);
  FVisible = true;
  ShowWindow(Handle(), SW_SHOWNORMAL);
  SetActiveWindow(Handle());
  if (FActiveControl && FActiveControl->CanFocus()) ::SetFocus(FActiveControl->Handle());
}

void TCustomForm::SetActiveControl(TWinControl* Value) {
  if (Value && FHandle && IsWindowVisible(FHandle)) {
    Value->SetFocus();
    return;
  }
  FActiveControl = Value;
}

void TCustomForm::FocusChanged(TWinControl* Control) {
  if (Control == FActiveControl) return;
  TWinControl* previous = std::exchange(FActiveControl, Control);
  if (previous) previous->DoExit();
  if (Control && FActiveControl == Control) Control->DoEnter();
}

void TCustomForm::DoCreate() { FOnCreate(this); }

void TCustomForm::SelectNext(TWinControl* Current, bool Forward) {
  std::vector<TWinControl*> all;
  GetTabOrderList(all);
  std::vector<TWinControl*> list;
  for (TWinControl* c : all)
    if (c->CanFocus()) list.push_back(c);
  if (list.empty()) return;
  auto it = std::find(list.begin(), list.end(), Current);
  std::size_t next = 0;
  const std::size_t n = list.size();
  if (it == list.end()) next = Forward ? 0 : n - 1;
  else next = (static_cast<std::size_t>(it - list.begin()) + (Forward ? 1 : n - 1)) % n;
  list[next]->SetFocus();
}

namespace {

void AllControls(TWinControl* Parent, std::vector<TControl*>& List) {
  for (TControl* c : Parent->Controls()) {
    List.push_back(c);
    if (c->Is<TWinControl>()) AllControls(static_cast<TWinControl*>(c), List);
  }
}

bool Reachable(const TControl* Control) {
  for (const TControl* c = Control; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

}  // namespace

bool TCustomForm::DialogKey(WORD Key, TShiftState Shift) {
  if (Key == VK_TAB && (Shift & ssCtrl) && !(Shift & ssAlt)) {
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages of the notebook that holds the focus.
    for (TControl* c = FromHandle(GetFocus()); c; c = c->Parent())
      if (auto* notebook = dynamic_cast<TTabbedNotebook*>(c)) {
        notebook->SelectNextPage(!(Shift & ssShift));
        return true;
      }
    return false;
  }
  if (Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) {
    // The arrows move among the radio buttons of one parent, checking the one they reach.
    auto* radio = dynamic_cast<TRadioButton*>(FromHandle(GetFocus()));
    if (!radio || !radio->Parent() || (Shift & (ssCtrl | ssAlt))) return false;
    std::vector<TRadioButton*> group;
    for (TControl* c : radio->Parent()->Controls())
      if (auto* r = dynamic_cast<TRadioButton*>(c); r && (r == radio || r->CanFocus())) group.push_back(r);
    const std::size_t n = group.size(), at = static_cast<std::size_t>(std::find(group.begin(), group.end(), radio) - group.begin());
    TRadioButton* next = group[(at + ((Key == VK_RIGHT || Key == VK_DOWN) ? 1 : n - 1)) % n];
    next->SetChecked(true);  // before the focus, so that the window's own click on focus finds it checked
    next->SetFocus();
    return true;
  }
  if (Key == VK_TAB) {
    if (Shift & (ssCtrl | ssAlt)) return false;
    TWinControl* current = nullptr;
    if (TControl* focused = FromHandle(GetFocus()); focused && focused->Is<TWinControl>())
      current = static_cast<TWinControl*>(focused);
    SelectNext(current ? current : FActiveControl, !(Shift & ssShift));
    return true;
  }
  if (Key != VK_RETURN && Key != VK_ESCAPE) return false;
  std::vector<TControl*> all;
  AllControls(this, all);
  if (Key == VK_RETURN) {
    // The focused button is the one Enter presses; else the default button.
    if (TControl* focused = FromHandle(GetFocus()); focused && focused->IsPushButton()) {
      focused->Click();
      return true;
    }
  }
  for (TControl* c : all)
    if (Reachable(c) && (Key == VK_RETURN ? c->IsDefaultButton() : c->IsCancelButton())) {
      c->Click();
      return true;
    }
  return false;
}

bool TCustomForm::DialogChar(char Char) {
  const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(Char)));
  std::vector<TControl*> all;
  AllControls(this, all);
  for (TControl* c : all)
    if (Reachable(c) && c->Mnemonic() == wanted && c->DoMnemonic()) return true;
  return false;
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  FOnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FModal) {
    if (FModalResult == mrNone) FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  FOnClose(this, action);
  if (action != caNone) Hide();
}

LRESULT TCustomForm::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_ACTIVATE:
      if (LOWORD(WParam) != WA_INACTIVE) {
        DefaultHandler(Msg, WParam, LParam);
        if (FActiveControl && FActiveControl->CanFocus() && FActiveControl->HandleAllocated())
          ::SetFocus(FActiveControl->WindowHandle());
        FOnActivate(this);
        return 0;
      }
      break;
    case WM_CLOSE: Close(); return 0;
    default: break;
  }
  return TWinControl::WndProc(Msg, WParam, LParam);
}

TModalResult TCustomForm::ShowModal() {
  if (FModal || (FHandle && IsWindowVisible(FHandle)))
    throw EInvalidOperation("Cannot make a visible window modal (" + Name() + ")");
  const HWND before = GetActiveWindow();
  const HWND hwnd = Handle();
  std::vector<HWND> disabled;
  for (HWND w : {FormOwnerWindow ? FormOwnerWindow() : nullptr, before})
    if (w && w != hwnd && IsWindowEnabled(w) && std::find(disabled.begin(), disabled.end(), w) == disabled.end()) {
      EnableWindow(w, FALSE);
      disabled.push_back(w);
    }
  FModal = true;
  FModalResult = mrNone;
  try {
    FOnShow(this);
    FVisible = true;
    if (!FActiveControl) {
      std::vector<TWinControl*> tabs;
      GetTabOrderList(tabs);
      for (TWinControl* c : tabs)
        if (c->CanFocus()) {
          FActiveControl = c;
          break;
        }
    }
    if (!EventExceptionPending()) {
      ShowWindow(hwnd, SW_SHOWNORMAL);
      SetActiveWindow(hwnd);
      if (FActiveControl && FActiveControl->CanFocus()) ::SetFocus(FActiveControl->Handle());
    }
    while (!EventExceptionPending()) {
      if (FModalResult != mrNone) {
        // A result closes the form unless OnCloseQuery or OnClose keep it open.
        TCloseAction action = caHide;
        if (CloseQuery()) FOnClose(this, action);
        else action = caNone;
        if (EventExceptionPending()) break;
        if (action != caNone) break;
        FModalResult = mrNone;
      }
      MSG msg;
#ifdef _WIN32
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
#else
      const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
#endif
      if (got == 0) {  // WM_QUIT: end the loop and leave it for the outer one
        PostQuitMessage(static_cast<int>(msg.wParam));
        FModalResult = mrCancel;
        break;
      }
      if (got == -1) {
        FModalResult = mrCancel;
        break;
      }
      TranslateMessage(&msg);
#ifdef _WIN32
      DispatchMessageW(&msg);
#else
      DispatchMessageA(&msg);
#endif
    }
  } catch (...) {
    KeepEventException(std::current_exception());
  }
  for (HWND w : disabled) EnableWindow(w, TRUE);
  FVisible = false;
  if (FHandle) ShowWindow(FHandle, SW_HIDE);
  if (before && IsWindow(before) && before != hwnd) SetActiveWindow(before);
  FModal = false;
  RaiseEventException();
  return FModalResult;
}

}  // namespace vcl
