// TMemo: a multi-line EDIT window whose Lines are its text split at CR LF.
#include "vcl/StdCtrls.hpp"

namespace vcl {

VCL_IMPLEMENT_CLASS(TMemo, TEdit, [](TMetaClass& c) {
  c.Publish<TMemo>()
      .Integer("Width", &TMemo::Width, &TMemo::SetWidth).Default(185)
      .Integer("Height", &TMemo::Height, &TMemo::SetHeight).Default(89)
      .Enumeration("Alignment", &TMemo::Alignment, &TMemo::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
      .Default(taLeftJustify)
      .Strings("Lines", &TMemo::Lines, &TMemo::SetLines)
      .Enumeration("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"})
      .Default(ssNone)
      .String("Text", &TMemo::Text, &TMemo::SetText).Stored(false)
      .Boolean("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(true)
      .Boolean("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs).Default(false);
})

TMemo::TMemo(TComponent* AOwner) : TEdit(AOwner), FLines(std::make_unique<TMemoStrings>(*this)) {
  SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() = default;

void TMemo::CreateParams(TCreateParams& Params) {
  TEdit::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | (FWantReturns ? ES_WANTRETURN : 0) |
                  (FAlignment == taRightJustify ? ES_RIGHT : FAlignment == taCenter ? ES_CENTER : ES_LEFT);
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL | ES_AUTOHSCROLL;
}

void TMemo::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  if (HandleAllocated()) {  // an edit takes its alignment only when it is made
    DestroyHandle();
    CreateHandle();
  }
}

// A memo that takes returns takes Esc too (DLGC_WANTALLKEYS); Tab only with WantTabs.
bool TMemo::WantsKey(WORD Key) {
  if (Key == VK_TAB) return FWantTabs;
  if (Key == VK_RETURN || Key == VK_ESCAPE) return FWantReturns;
  return false;
}

// ---- TMemoStrings --------------------------------------------------------------------------

void TMemoStrings::Sync() const {
  if (UpdateCount() > 0 && FSynced) return;  // changes of a batch are not in the window yet
  std::string text = FMemo.Text();
  if (FSynced && text == FText) return;
  FLines.SetText(text);
  FText = std::move(text);
  FSynced = true;
}

void TMemoStrings::Commit() {
  if (UpdateCount() > 0) return;
  std::string text;
  for (int i = 0; i < FLines.Count(); ++i) {
    if (i) text += "\r\n";
    text += FLines.Get(i);
  }
  FMemo.SetText(text);
  FText = std::move(text);
}

void TMemoStrings::SetUpdateState(bool Updating) {
  if (Updating) Sync();
  else Commit();
}

int TMemoStrings::Count() const {
  Sync();
  return FLines.Count();
}

const std::string& TMemoStrings::Get(int Index) const {
  Sync();
  return FLines.Get(Index);
}

void TMemoStrings::Put(int Index, std::string S) {
  Sync();
  FLines.Put(Index, std::move(S));
  Commit();
}

TObject* TMemoStrings::GetObject(int Index) const {
  Sync();
  return FLines.GetObject(Index);
}

void TMemoStrings::PutObject(int, TObject*) {}  // lines of an edit carry no objects

void TMemoStrings::InsertObject(int Index, std::string S, TObject*) {
  Sync();
  FLines.InsertObject(Index, std::move(S), nullptr);
  Commit();
}

void TMemoStrings::Delete(int Index) {
  Sync();
  FLines.Delete(Index);
  Commit();
}

void TMemoStrings::Clear() {
  Sync();
  FLines.Clear();
  Commit();
}

}  // namespace vcl
