// Labels, buttons, check and radio boxes, group boxes and edits on the BUTTON, STATIC and EDIT
// windows, with their state kept in the objects while they have no window.
//
// Notes:
// - A check box or radio button reports a click by BN_CLICKED after its window changed the
//   check; the object then takes the new state and runs OnClick. Setting Checked from code also
//   runs OnClick, as the class library does.
// - Edits have the class library's published "Text" rather than "Caption".
#include <algorithm>

#include "control_support.hpp"
#include "vcl/StdCtrls.hpp"

namespace vcl {

namespace {

// The component named Name in Control's form (searched through every owner below it).
TComponent* FindInForm(const TComponent* Control, const std::string& Name) {
  const TComponent* top = Control;
  while (top->Owner() && !top->Is<TCustomForm>()) top = top->Owner();
  std::vector<const TComponent*> pending{top};
  while (!pending.empty()) {
    const TComponent* c = pending.back();
    pending.pop_back();
    if (TComponent* found = c->FindComponent(Name)) return found;
    for (int i = 0; i < c->ComponentCount(); ++i) pending.push_back(c->Components(i));
  }
  return nullptr;
}

}  // namespace

// ---- TLabel --------------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TLabel, TGraphicControl, [](TMetaClass& c) {
  c.Publish<TLabel>()
      .Integer("Width", &TLabel::Width, &TLabel::SetWidth).Default(65)
      .Integer("Height", &TLabel::Height, &TLabel::SetHeight).Default(13)
      .Enumeration("Alignment", &TLabel::Alignment, &TLabel::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
      .Default(taLeftJustify)
      .Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true)
      .Boolean("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
})

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 65, 13); }

void TLabel::CreateParams(TCreateParams& Params) {
  TGraphicControl::CreateParams(Params);
  Params.ClassName = "Static";
  Params.Style |= FAlignment == taRightJustify ? SS_RIGHT
                  : FAlignment == taCenter     ? SS_CENTER
                  : FWordWrap                  ? SS_LEFT
                                               : SS_LEFTNOWORDWRAP;
}

void TLabel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  if (HandleAllocated()) {
    DestroyHandle();
    CreateHandle();
  }
}

void TLabel::SetWordWrap(bool Value) {
  FWordWrap = Value;
  AdjustSize();
}

void TLabel::SetAutoSize(bool Value) {
  FAutoSize = Value;
  AdjustSize();
}

void TLabel::SetCaption(std::string Value) {
  TGraphicControl::SetCaption(std::move(Value));
  AdjustSize();
}

// A form file's bounds stand as they are; the size follows the caption only when code sets it.
void TLabel::AdjustSize() {
  if (!FAutoSize || FWordWrap || (ComponentState() & csLoading)) return;
  const auto [w, h] = TextExtent(*Font(), Caption());
  SetBounds(Left(), Top(), w, h);
}

bool TLabel::DoMnemonic() {
  if (!FFocusControl || !FFocusControl->CanFocus()) return false;
  FFocusControl->SetFocus();
  return true;
}

void TLabel::DefineProperties(TFiler* Filer) {
  TGraphicControl::DefineProperties(Filer);
  Filer->DefineProperty(
      "FocusControl", [this](TReader* R) { FFocusControlName = R->ReadIdent(); },
      [this](TWriter* W) { W->WriteIdent(FFocusControl ? FFocusControl->Name() : FFocusControlName); },
      FFocusControl ? !FFocusControl->Name().empty() : !FFocusControlName.empty());
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  if (FFocusControlName.empty()) return;
  TComponent* found = FindInForm(this, FFocusControlName);
  if (found && found->Is<TWinControl>()) {
    FFocusControl = static_cast<TWinControl*>(found);
    FFocusControlName.clear();
    return;
  }
  // A design host reads forms whose controls it may not know (a combo box): the name stays,
  // to be written back as it came.
  if (ComponentState() & csDesigning) return;
  throw EReadError("FocusControl " + FFocusControlName + " of " + Name() + " is not a windowed control of its form");
}

// ---- TButton -------------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TButton, TWinControl, [](TMetaClass& c) {
  c.Publish<TButton>()
      .Integer("Width", &TButton::Width, &TButton::SetWidth).Default(75)
      .Integer("Height", &TButton::Height, &TButton::SetHeight).Default(25)
      .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false)
      .Boolean("Default", &TButton::Default, &TButton::SetDefault).Default(false)
      .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(mrNone)
      .Boolean("TabStop", &TButton::TabStop, &TButton::SetTabStop).Default(true);
})

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "Button";
  Params.Style |= (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (TabStop() ? WS_TABSTOP : 0);
}

void TButton::SetDefault(bool Value) {
  FDefault = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), BM_SETSTYLE, Value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (TCustomForm* form = ParentForm(); form && FModalResult != mrNone) form->SetModalResult(FModalResult);
  TWinControl::Click();
}

void TButton::CNCommand(WORD Code) {
  if (Code == BN_CLICKED) Click();
}

bool TButton::DoMnemonic() {
  if (!CanFocus()) return false;
  SetFocus();
  Click();
  return true;
}

// ---- TButtonControl ------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TButtonControl, TWinControl)

bool TButtonControl::Checked() const {
  return HandleAllocated() ? SendMessageA(WindowHandle(), BM_GETCHECK, 0, 0) == BST_CHECKED : FChecked;
}

bool TButtonControl::StoreChecked(bool Value) {
  if (Value == Checked()) return false;
  FChecked = Value;
  if (HandleAllocated()) WriteState();
  return true;
}

bool TButtonControl::ReadCheck() { return FChecked = SendMessageA(WindowHandle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TButtonControl::WriteState() { SendMessageA(WindowHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0); }

void TButtonControl::ReadState() {
  TWinControl::ReadState();
  ReadCheck();
}

// ---- TCheckBox -----------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TCheckBox, TButtonControl, [](TMetaClass& c) {
  c.Publish<TCheckBox>()
      .Integer("Width", &TCheckBox::Width, &TCheckBox::SetWidth).Default(97)
      .Integer("Height", &TCheckBox::Height, &TCheckBox::SetHeight).Default(17)
      .Enumeration("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
      .Default(taRightJustify)
      .Boolean("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false)
      .Boolean("TabStop", &TCheckBox::TabStop, &TCheckBox::SetTabStop).Default(true);
})

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCheckBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "Button";
  Params.Style |= BS_AUTOCHECKBOX | (TabStop() ? WS_TABSTOP : 0);
}

void TCheckBox::SetChecked(bool Value) {
  if (StoreChecked(Value) && !(ComponentState() & csLoading)) Click();
}

void TCheckBox::CNCommand(WORD Code) {
  if (Code != BN_CLICKED) return;
  ReadCheck();
  Click();
}

bool TCheckBox::DoMnemonic() {
  if (!CanFocus()) return false;
  SetFocus();
  SetChecked(!Checked());
  return true;
}

// ---- TRadioButton --------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TRadioButton, TButtonControl, [](TMetaClass& c) {
  c.Publish<TRadioButton>()
      .Integer("Width", &TRadioButton::Width, &TRadioButton::SetWidth).Default(113)
      .Integer("Height", &TRadioButton::Height, &TRadioButton::SetHeight).Default(17)
      .Boolean("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false)
      .Boolean("TabStop", &TRadioButton::TabStop, &TRadioButton::SetTabStop).Default(true);
})

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(true);
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "Button";
  Params.Style |= BS_AUTORADIOBUTTON | (TabStop() ? WS_TABSTOP : 0);
}

void TRadioButton::SetChecked(bool Value) {
  if (!StoreChecked(Value) || !Value) return;
  if (Parent())
    for (TControl* c : Parent()->Controls())
      if (c != this && c->Is<TRadioButton>()) static_cast<TRadioButton*>(c)->SetChecked(false);
  if (!(ComponentState() & csLoading)) Click();
}

void TRadioButton::CNCommand(WORD Code) {
  if (Code != BN_CLICKED) return;
  const bool was = KeptChecked();  // the window has the click's state already
  if (Parent())  // the window unchecked its siblings: their objects follow
    for (TControl* c : Parent()->Controls())
      if (c != this && c->Is<TRadioButton>() && c->HandleAllocated()) static_cast<TRadioButton*>(c)->ReadCheck();
  if (ReadCheck() && !was) Click();
}

bool TRadioButton::DoMnemonic() {
  if (!CanFocus()) return false;
  SetFocus();
  SetChecked(true);
  return true;
}

// ---- TGroupBox -----------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TGroupBox, TWinControl)

void TGroupBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "Button";
  Params.Style |= BS_GROUPBOX;
}

LRESULT TGroupBox::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
#ifdef _WIN32
  if (Msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(WindowHandle(), &r);
    FillRect(reinterpret_cast<HDC>(WParam), &r, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
#endif
  return TWinControl::WndProc(Msg, WParam, LParam);
}

bool TGroupBox::DoMnemonic() {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* c : list)
    if (c->CanFocus()) {
      c->SetFocus();
      return true;
    }
  return false;
}

// ---- TEdit ---------------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TEdit, TWinControl, [](TMetaClass& c) {
  c.Publish<TEdit>()
      .Integer("Width", &TEdit::Width, &TEdit::SetWidth).Default(121)
      .Integer("Height", &TEdit::Height, &TEdit::SetHeight).Default(21)
      .String("Caption", &TEdit::Caption, &TEdit::SetCaption).Stored(false)
      .Boolean("HideSelection", &TEdit::HideSelection, &TEdit::SetHideSelection).Default(true)
      .Boolean("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false)
      .Boolean("TabStop", &TEdit::TabStop, &TEdit::SetTabStop).Default(true)
      .String("Text", &TEdit::Text, &TEdit::SetText)
      .Event("OnChange", &TEdit::OnChange, &TEdit::SetOnChange);
})

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
  AddEvent(FOnChange);
}

void TEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "Edit";
  Params.Style |= ES_AUTOHSCROLL | (FReadOnly ? ES_READONLY : 0) | (FHideSelection ? 0 : ES_NOHIDESEL) |
                  (TabStop() ? WS_TABSTOP : 0);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETREADONLY, Value ? TRUE : FALSE, 0);
}

int TEdit::SelStart() const {
  if (!HandleAllocated()) return FSelStart;
  DWORD start = 0, end = 0;
  SendMessageA(WindowHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

int TEdit::SelLength() const {
  if (!HandleAllocated()) return FSelLength;
  DWORD start = 0, end = 0;
  SendMessageA(WindowHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TEdit::SetSelStart(int Value) {
  FSelStart = std::clamp(Value, 0, static_cast<int>(Text().size()));
  FSelLength = 0;
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETSEL, static_cast<WPARAM>(FSelStart), FSelStart);
}

void TEdit::SetSelLength(int Value) {
  FSelStart = SelStart();
  FSelLength = std::clamp(Value, 0, static_cast<int>(Text().size()) - FSelStart);
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETSEL, static_cast<WPARAM>(FSelStart), FSelStart + FSelLength);
}

void TEdit::SelectAll() {
  SetSelStart(0);
  SetSelLength(static_cast<int>(Text().size()));
}

void TEdit::WriteState() {
  SendMessageA(WindowHandle(), EM_SETSEL, static_cast<WPARAM>(FSelStart), FSelStart + FSelLength);
}

void TEdit::ReadState() {
  TWinControl::ReadState();
  DWORD start = 0, end = 0;
  SendMessageA(WindowHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  FSelStart = static_cast<int>(start);
  FSelLength = static_cast<int>(end - start);
}

void TEdit::CNCommand(WORD Code) {
  if (Code == EN_CHANGE) FOnChange(this);
}

}  // namespace vcl
