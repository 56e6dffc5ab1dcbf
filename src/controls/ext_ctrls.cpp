// Bevels, panels and radio groups.
//
// Notes:
// - A bevel is an etched STATIC window that does not paint its inside (WS_EX_TRANSPARENT); it
//   goes to the bottom of its siblings' z-order, so that the controls it frames are painted over
//   it, and its parent does not clip its children, so that the parent's background shows inside.
// - A panel paints its caption in the middle of its client area, as the class library's does,
//   and clips its children: the caption shows only where they leave room, and a repaint of the
//   panel alone (a new caption) never draws it over them.
// - A radio group lays its buttons out as the class library does: columns of equal width 8
//   pixels in, rows sharing the height below the caption line.
#include <algorithm>

#include "control_support.hpp"
#include "vcl/ExtCtrls.hpp"

namespace vcl {

// ---- TBevel --------------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TBevel, TGraphicControl, [](TMetaClass& c) {
  c.Publish<TBevel>()
      .Integer("Width", &TBevel::Width, &TBevel::SetWidth).Default(50)
      .Integer("Height", &TBevel::Height, &TBevel::SetHeight).Default(50)
      .Enumeration("Shape", &TBevel::Shape, &TBevel::SetShape,
                   {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"})
      .Default(bsBox)
      .Enumeration("Style", &TBevel::Style, &TBevel::SetStyle, {"bsLowered", "bsRaised"})
      .Default(bsLowered);
})

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 50, 50); }

void TBevel::CreateParams(TCreateParams& Params) {
  TGraphicControl::CreateParams(Params);
  Params.ClassName = "Static";
  Params.Style |= FShape == bsSpacer ? 0 : SS_ETCHEDFRAME;
  Params.ExStyle |= WS_EX_TRANSPARENT;  // painted after its siblings, over what its parent painted
}

void TBevel::CreateHandle() {
  TGraphicControl::CreateHandle();
  SetWindowPos(WindowHandle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- TPanel --------------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TPanel, TWinControl, [](TMetaClass& c) {
  c.Publish<TPanel>()
      .Integer("Width", &TPanel::Width, &TPanel::SetWidth).Default(185)
      .Integer("Height", &TPanel::Height, &TPanel::SetHeight).Default(41);
})

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 185, 41); }

void TPanel::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "Static";
  Params.Style |= SS_CENTER | SS_CENTERIMAGE | WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_WINDOWEDGE | WS_EX_STATICEDGE;
}

// ---- TRadioGroup ---------------------------------------------------------------------------

class TRadioGroup::TRadioStrings : public TStringList {
public:
  explicit TRadioStrings(TRadioGroup& Group) : FGroup(Group) {}
  void Put(int Index, std::string S) override {
    TStringList::Put(Index, std::move(S));
    FGroup.UpdateButtons();
  }
  void InsertObject(int Index, std::string S, TObject* AObject) override {
    TStringList::InsertObject(Index, std::move(S), AObject);
    FGroup.UpdateButtons();
  }
  void Delete(int Index) override {
    TStringList::Delete(Index);
    FGroup.UpdateButtons();
  }
  void Clear() override {
    TStringList::Clear();
    FGroup.UpdateButtons();
  }

private:
  TRadioGroup& FGroup;
};

VCL_IMPLEMENT_CLASS(TRadioGroup, TGroupBox, [](TMetaClass& c) {
  c.Publish<TRadioGroup>()
      .Integer("Width", &TRadioGroup::Width, &TRadioGroup::SetWidth).Default(185)
      .Integer("Height", &TRadioGroup::Height, &TRadioGroup::SetHeight).Default(105)
      .Integer("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns).Default(1)
      .Integer("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex).Default(-1)
      .Strings("Items", &TRadioGroup::Items, &TRadioGroup::SetItems)
      .Boolean("TabStop", &TRadioGroup::TabStop, &TRadioGroup::SetTabStop).Default(false);
})

TRadioGroup::TRadioGroup(TComponent* AOwner) : TGroupBox(AOwner), FItems(std::make_unique<TRadioStrings>(*this)) {
  SetBounds(0, 0, 185, 105);
}

TRadioGroup::~TRadioGroup() {
  if (HandleAllocated()) DestroyHandle();
  for (TRadioButton* b : FButtons) delete b;
}

TStrings* TRadioGroup::Items() const { return FItems.get(); }
void TRadioGroup::SetItems(TStrings* Value) { FItems->Assign(Value); }

void TRadioGroup::UpdateButtons() {
  const auto count = static_cast<std::size_t>(FItems->Count());
  while (FButtons.size() > count) {
    delete FButtons.back();
    FButtons.pop_back();
  }
  while (FButtons.size() < count) {
    auto* button = new TRadioButton(nullptr);
    const int index = static_cast<int>(FButtons.size());
    button->SetOnClick(TNotifyEvent([this, index](TObject*) { ButtonClicked(index); }));
    FButtons.push_back(button);
    button->SetParent(this);
  }
  FUpdating = true;
  for (std::size_t i = 0; i < count; ++i) {
    FButtons[i]->SetCaption(FItems->Get(static_cast<int>(i)));
    FButtons[i]->SetChecked(static_cast<int>(i) == FItemIndex);
  }
  FUpdating = false;
  if (FItemIndex >= static_cast<int>(count) && !(ComponentState() & csLoading)) FItemIndex = -1;
  ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  const int count = static_cast<int>(FButtons.size());
  const int columns = std::max(FColumns, 1);
  const int rows = (count + columns - 1) / columns;
  const int fontHeight = TextExtent(*Font(), "0").second;
  const int buttonWidth = (Width() - 10) / columns;
  const int free = Height() - fontHeight - 5;
  const int buttonHeight = free / rows;
  const int topMargin = fontHeight + 1 + (free % rows) / 2;
  for (int i = 0; i < count; ++i)
    FButtons[static_cast<std::size_t>(i)]->SetBounds((i / rows) * buttonWidth + 8, (i % rows) * buttonHeight + topMargin,
                                                     buttonWidth, buttonHeight);
}

void TRadioGroup::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TGroupBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  ArrangeButtons();
}

void TRadioGroup::SetColumns(int Value) {
  FColumns = std::clamp(Value, 1, 16);
  ArrangeButtons();
}

void TRadioGroup::SetItemIndex(int Value) {
  if ((ComponentState() & csLoading) && FButtons.empty()) {  // Items may follow in the stream
    FItemIndex = Value;
    return;
  }
  if (Value < -1 || Value >= static_cast<int>(FButtons.size())) Value = -1;
  if (Value == FItemIndex) return;
  FUpdating = true;
  if (Value >= 0) FButtons[static_cast<std::size_t>(Value)]->SetChecked(true);
  else
    for (TRadioButton* b : FButtons) b->SetChecked(false);
  FUpdating = false;
  FItemIndex = Value;
  if (!(ComponentState() & csLoading)) Click();
}

void TRadioGroup::ButtonClicked(int Index) {
  if (FUpdating || Index == FItemIndex) return;
  FItemIndex = Index;
  Click();
}

}  // namespace vcl
