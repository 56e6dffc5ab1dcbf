// The standard controls: labels, buttons, check and radio boxes, group boxes, edits, memos and
// list boxes, on the BUTTON, STATIC, EDIT and LISTBOX windows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "vcl/Controls.hpp"

namespace vcl {

/// A text on the form; Alt + its mnemonic focuses FocusControl.
class TLabel : public TGraphicControl {
  VCL_DECLARE_CLASS
public:
  explicit TLabel(TComponent* AOwner);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  /// Whether the label sizes itself to its caption (about 6 pixels per character, 16 high at
  /// the default font) when the caption changes.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value) {
    FFocusControl = Value;
    FFocusControlName.clear();
  }
  void SetCaption(std::string Value) override;
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;

protected:
  void CreateParams(TCreateParams& Params) override;
  bool DoMnemonic() override;

private:
  void AdjustSize();
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  bool FWordWrap = false;
  TWinControl* FFocusControl = nullptr;
  // From a form file, resolved at Loaded; in design state kept when it names no windowed control.
  std::string FFocusControlName;
};

/// A push button: Default (Enter), Cancel (Esc), ModalResult (closes a modal form).
class TButton : public TWinControl {
  VCL_DECLARE_CLASS
public:
  explicit TButton(TComponent* AOwner);
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  /// Sets the form's ModalResult to the button's (when it has one), then runs OnClick.
  void Click() override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CNCommand(WORD Code) override;
  bool DoMnemonic() override;
  bool IsPushButton() const override { return true; }
  bool IsDefaultButton() const override { return FDefault; }
  bool IsCancelButton() const override { return FCancel; }

private:
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};

/// What check boxes and radio buttons share: a BUTTON window whose check state the object
/// keeps while there is no window.
class TButtonControl : public TWinControl {
  VCL_DECLARE_CLASS
public:
  using TWinControl::TWinControl;
  bool Checked() const;

protected:
  void WriteState() override;
  void ReadState() override;
  /// Keeps Value and hands it to the window; false when it was Checked already.
  bool StoreChecked(bool Value);
  /// Takes the window's check state after a click; returns it.
  bool ReadCheck();
  /// The state the object holds, which a click has not reached yet.
  bool KeptChecked() const { return FChecked; }

private:
  bool FChecked = false;
};

/// A check box; OnClick runs on every change of Checked, by the user or by code.
class TCheckBox : public TButtonControl {
  VCL_DECLARE_CLASS
public:
  explicit TCheckBox(TComponent* AOwner);
  void SetChecked(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { FAlignment = Value; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CNCommand(WORD Code) override;
  bool DoMnemonic() override;

private:
  TAlignment FAlignment = taRightJustify;
};

/// A radio button; checking one unchecks the others of its parent. OnClick runs when it is
/// checked.
class TRadioButton : public TButtonControl {
  VCL_DECLARE_CLASS
public:
  explicit TRadioButton(TComponent* AOwner);
  void SetChecked(bool Value);

protected:
  void CreateParams(TCreateParams& Params) override;
  void CNCommand(WORD Code) override;
  bool DoMnemonic() override;
};

/// A frame with a caption around other controls.
class TGroupBox : public TWinControl {
  VCL_DECLARE_CLASS
public:
  using TWinControl::TWinControl;

protected:
  void CreateParams(TCreateParams& Params) override;
  /// Alt + the mnemonic focuses the first control inside.
  bool DoMnemonic() override;
  /// Paints the inside, which a BUTTON group box leaves to its parent.
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;
};

enum TScrollStyle : std::uint8_t { ssNone = 0, ssHorizontal = 1, ssVertical = 2, ssBoth = 3 };

/// A single-line edit box.
class TEdit : public TWinControl {
  VCL_DECLARE_CLASS
public:
  explicit TEdit(TComponent* AOwner);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  /// The selection in characters from 0; SelStart is also the caret.
  int SelStart() const;
  void SetSelStart(int Value);
  int SelLength() const;
  void SetSelLength(int Value);
  void SelectAll();
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { FHideSelection = Value; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

protected:
  void CreateParams(TCreateParams& Params) override;
  void WriteState() override;
  void ReadState() override;
  void CNCommand(WORD Code) override;
  TColor DefaultColor() const override { return clWindow; }

  bool FReadOnly = false;
  bool FHideSelection = true;
  int FSelStart = 0, FSelLength = 0;
  TNotifyEvent FOnChange;
};

/// The lines of a TMemo: its text split at CR LF; each change sets the text anew (once per
/// BeginUpdate/EndUpdate batch).
class TMemoStrings : public TStrings {
public:
  explicit TMemoStrings(TEdit& AMemo) : FMemo(AMemo) {}
  int Count() const override;
  const std::string& Get(int Index) const override;
  void Put(int Index, std::string S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void InsertObject(int Index, std::string S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;

protected:
  void SetUpdateState(bool Updating) override;

private:
  void Sync() const;
  void Commit();
  TEdit& FMemo;
  mutable TStringList FLines;
  mutable std::string FText;
  mutable bool FSynced = false;
};

/// A multi-line edit box whose Lines are its text split at CR LF.
class TMemo : public TEdit {
  VCL_DECLARE_CLASS
public:
  explicit TMemo(TComponent* AOwner);
  ~TMemo() override;
  /// The lines: changing them changes the text (joined by CR LF, no break after the last).
  TMemoStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value) { FScrollBars = Value; }
  bool WantsKey(WORD Key) override;

protected:
  void CreateParams(TCreateParams& Params) override;

private:
  std::unique_ptr<TMemoStrings> FLines;
  bool FWantTabs = false;
  bool FWantReturns = true;
  TAlignment FAlignment = taLeftJustify;
  TScrollStyle FScrollBars = ssNone;
};

class TListBox;

/// The items of a TListBox: kept in the object and, while the list box has a window, in the
/// window too (strings and objects).
class TListBoxStrings : public TStrings {
public:
  explicit TListBoxStrings(TListBox& AListBox) : FListBox(AListBox) {}
  int Count() const override { return FList.Count(); }
  const std::string& Get(int Index) const override { return FList.Get(Index); }
  void Put(int Index, std::string S) override;
  TObject* GetObject(int Index) const override { return FList.GetObject(Index); }
  void PutObject(int Index, TObject* AObject) override;
  void InsertObject(int Index, std::string S, TObject* AObject) override;
  /// Appends, or in a sorted list box inserts at the place the sort order gives.
  int AddObject(std::string S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;

protected:
  void SetUpdateState(bool Updating) override;

private:
  friend class TListBox;
  /// Whether changes go to the window now; inside BeginUpdate/EndUpdate they are made to the
  /// object only and the window is filled again once, at the end.
  bool Live() const;
  void Detach();
  /// Brings a window whose items were kept while detached up to date: nothing when the items
  /// came back unchanged, the changes one by one when they are few, a refill otherwise.
  void Reattach();
  void ForgetChanges();
  /// A change made while detached, to be made to the window at the end of the batch.
  struct Change {
    enum Kind : std::uint8_t { Inserted = 0, Deleted = 1, DataSet = 2 } What;
    int Index;
    std::string Text;
    TObject* Object;
  };
  void Record(Change::Kind What, int Index, const std::string& S, TObject* AObject);
  /// Where a sorted list box puts S (before the equal ones, as the window adds them); within a
  /// batch also inserts its key at that place.
  int SortedPlace(const std::string& S);
  TListBox& FListBox;
  TStringList FList;
  // Within a batch of a sorted list box, the sort key of every item (once an item was added):
  // filling one then costs one key an item rather than a comparison of texts a search step.
  TStringList FKeys;
  bool FKeyed = false;
  bool FDetached = false;
  std::vector<Change> FChanges;
  bool FReplayable = true;  // whether FChanges tell every change since Detach
  bool FCleared = false;    // emptied while detached: FShown... hold what the window shows
  std::string FShownText;   // the items one after the other: one allocation, not one per item
  std::vector<std::size_t> FShownEnds;
  std::vector<TObject*> FShownObjects;
};

/// Appends to Keys the key a sorted list box orders Item by: keys compared byte by byte give
/// the list box's order (lstrcmpiA on Windows, ASCII case folding in the simulation). One call
/// per item, where a comparison of texts costs one call per step of a search. Never fails.
void AppendListBoxSortKey(std::string& Keys, const std::string& Item);
/// Puts Items in the order a sorted list box gives them, equal ones as they came, so that they
/// can be appended to one without a search each. Never fails.
void SortAsListBox(std::vector<std::string>& Items);

/// A list box: items with objects, single or multiple selection, sorted or not.
class TListBox : public TWinControl {
  VCL_DECLARE_CLASS
public:
  explicit TListBox(TComponent* AOwner);
  ~TListBox() override;
  /// The items; with a window, every change goes to the window too. BeginUpdate/EndUpdate
  /// stop the window from repainting in between.
  TListBoxStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  /// The current item (with several selectable items: the one with the focus rectangle); -1
  /// for none. Setting it in a multi-selection list moves the focus rectangle only.
  int ItemIndex() const;
  void SetItemIndex(int Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  /// Whether item Index is selected. Raises EListError "List index out of bounds (<n>)".
  bool Selected(int Index) const;
  void SetSelected(int Index, bool Value);
  /// The number of selected items; -1 in a list of single selection.
  int SelCount() const;
  /// Selects every item of a multi-selection list.
  void SelectAll();
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  int TopIndex() const;
  void SetTopIndex(int Value);
  /// The item at a point of the client area; with Existing, -1 below the last item.
  int ItemAtPos(POINT Pos, bool Existing) const;
  void Clear();

  const TNotifyEvent& OnDblClick() const { return FOnDblClick; }
  void SetOnDblClick(TNotifyEvent Value) { FOnDblClick = std::move(Value); }
  const TMouseMoveEvent& OnMouseMove() const { return FOnMouseMove; }
  void SetOnMouseMove(TMouseMoveEvent Value) { FOnMouseMove = std::move(Value); }

protected:
  void CreateParams(TCreateParams& Params) override;
  void WriteState() override;
  void ReadState() override;
  void CNCommand(WORD Code) override;
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;
  TColor DefaultColor() const override { return clWindow; }

private:
  friend class TListBoxStrings;
  void Recreate();
  /// Gives the window the object's selection, current item and top item. Kept items (Reset)
  /// first lose the window's, so that they end as a refilled window has them.
  void WriteSelection(bool Reset);
  std::unique_ptr<TListBoxStrings> FItems;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FSorted = false;
  int FItemHeight = 16;
  int FItemIndex = -1;
  int FTopIndex = 0;
  std::vector<std::uint8_t> FSelected;  // without a window; bytes, which insert faster than bits
  TNotifyEvent FOnDblClick;
  TMouseMoveEvent FOnMouseMove;
};

/// Registers the classes of the controls layer for form streaming.
void RegisterControlClasses();

}  // namespace vcl
