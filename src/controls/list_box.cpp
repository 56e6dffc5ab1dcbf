// TListBox: a LISTBOX window whose items, objects and selection live in the object while it
// has no window and in both while it has one.
//
// Notes:
// - Items keep the order the object gives them: a window is filled with LB_INSERTSTRING, which
//   does not sort, and a sorted list box adds with LB_ADDSTRING and takes the window's place.
// - In a multi-selection list box ItemIndex is the item with the focus rectangle
//   (LB_GETCARETINDEX), as the class library has it.
#include <algorithm>
#include <string_view>
#include <utility>

#include "control_support.hpp"
#include "vcl/StdCtrls.hpp"

namespace vcl {

namespace {
[[noreturn]] void OutOfBounds(int Index) { throw EListError("List index out of bounds (" + IntToStr(Index) + ")"); }

std::string SortKey(const std::string& Item) {
  std::string key;
  AppendListBoxSortKey(key, Item);
  return key;
}
}  // namespace

// ---- The order of a sorted list box ----------------------------------------------------------

void AppendListBoxSortKey(std::string& Keys, const std::string& Item) {
#ifdef _WIN32
  // A sorted LISTBOX compares with lstrcmpiA (CompareStringA with NORM_IGNORECASE), whose sort
  // keys compare alike. One call for the usual short item; the size is asked only for a longer.
  char buffer[512];
  int n = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, Item.c_str(), -1, buffer, sizeof buffer);
  if (n > 0) {
    Keys.append(buffer, static_cast<std::size_t>(n));
    return;
  }
  n = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, Item.c_str(), -1, nullptr, 0);
  if (n <= 0) return;
  const std::size_t at = Keys.size();
  Keys.resize(at + static_cast<std::size_t>(n));
  LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, Item.c_str(), -1, Keys.data() + at, n);
#else
  for (const char c : Item) Keys += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
#endif
}

void SortAsListBox(std::vector<std::string>& Items) {
  // The keys go into one buffer rather than one string each: allocations cost much under Wine.
  std::string keys;
  std::vector<std::size_t> ends;
  ends.reserve(Items.size());
  for (const std::string& item : Items) {
    AppendListBoxSortKey(keys, item);
    ends.push_back(keys.size());
  }
  const std::string_view all(keys);
  const auto key = [&](std::size_t I) { return all.substr(I ? ends[I - 1] : 0, ends[I] - (I ? ends[I - 1] : 0)); };
  std::vector<std::size_t> order(Items.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t A, std::size_t B) { return key(A) < key(B); });
  std::vector<std::string> sorted;
  sorted.reserve(Items.size());
  for (const std::size_t i : order) sorted.push_back(std::move(Items[i]));
  Items = std::move(sorted);
}

VCL_IMPLEMENT_CLASS(TListBox, TWinControl, [](TMetaClass& c) {
  c.Publish<TListBox>()
      .Integer("Width", &TListBox::Width, &TListBox::SetWidth).Default(121)
      .Integer("Height", &TListBox::Height, &TListBox::SetHeight).Default(97)
      .String("Caption", &TListBox::Caption, &TListBox::SetCaption).Stored(false)
      .Boolean("ExtendedSelect", &TListBox::ExtendedSelect, &TListBox::SetExtendedSelect).Default(true)
      .Integer("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight).Default(16)
      .Strings("Items", &TListBox::Items, &TListBox::SetItems)
      .Boolean("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect).Default(false)
      .Boolean("Sorted", &TListBox::Sorted, &TListBox::SetSorted).Default(false)
      .Boolean("TabStop", &TListBox::TabStop, &TListBox::SetTabStop).Default(true)
      .Event("OnDblClick", &TListBox::OnDblClick, &TListBox::SetOnDblClick)
      .Event("OnMouseMove", &TListBox::OnMouseMove, &TListBox::SetOnMouseMove);
})

TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner), FItems(std::make_unique<TListBoxStrings>(*this)) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
  AddEvent(FOnDblClick);
  AddEvent(FOnMouseMove);
}

TListBox::~TListBox() {
  if (HandleAllocated()) DestroyHandle();  // reads back into FItems, which must still be there
}

void TListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "ListBox";
  Params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | (FSorted ? LBS_SORT : 0) |
                  (FMultiSelect ? (FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL) : 0) |
                  (TabStop() ? WS_TABSTOP : 0);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::WriteState() {
  const HWND h = WindowHandle();
  SendMessageA(h, WM_SETREDRAW, FALSE, 0);
  SendMessageA(h, LB_SETITEMHEIGHT, 0, MAKELPARAM(FItemHeight, 0));
  const TStringList& list = FItems->FList;
  // Room for all items at once: otherwise the window grows its item array a few items at a time.
  std::size_t bytes = 0;
  for (int i = 0; i < list.Count(); ++i) bytes += list.Get(i).size() + 1;
  SendMessageA(h, LB_INITSTORAGE, static_cast<WPARAM>(list.Count()), static_cast<LPARAM>(bytes));
  for (int i = 0; i < list.Count(); ++i) {
    SendMessageA(h, LB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(list.Get(i).c_str()));
    if (TObject* o = list.GetObject(i)) SendMessageA(h, LB_SETITEMDATA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(o));
  }
  WriteSelection(false);
  SendMessageA(h, WM_SETREDRAW, TRUE, 0);
}

void TListBox::WriteSelection(bool Reset) {
  const HWND h = WindowHandle();
  if (Reset) {
    // What LB_RESETCONTENT and the first item leave: nothing selected, the first item current
    // and on top, the Shift range starting there.
    SendMessageA(h, LB_SETTOPINDEX, 0, 0);
    if (FMultiSelect) SendMessageA(h, LB_SETSEL, FALSE, -1);
    else SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    if (FItems->Count() > 0) {
      SendMessageA(h, LB_SETCARETINDEX, 0, FALSE);
      SendMessageA(h, LB_SETANCHORINDEX, 0, 0);
    }
  }
  if (FMultiSelect) {
    for (std::size_t i = 0; i < FSelected.size(); ++i)
      if (FSelected[i]) SendMessageA(h, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
    if (FItemIndex >= 0) SendMessageA(h, LB_SETCARETINDEX, static_cast<WPARAM>(FItemIndex), FALSE);
  } else if (FItemIndex >= 0) {
    SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  }
  if (FTopIndex > 0) SendMessageA(h, LB_SETTOPINDEX, static_cast<WPARAM>(FTopIndex), 0);
}

void TListBox::ReadState() {
  if (std::exchange(FItems->FDetached, false)) {
    FItems->ForgetChanges();
    return;  // the object holds the state already
  }
  TWinControl::ReadState();
  const HWND h = WindowHandle();
  const int n = FItems->FList.Count();
  FSelected.assign(static_cast<std::size_t>(n), false);
  if (FMultiSelect) {
    // The selected ones in one message rather than one per item.
    const LRESULT count = SendMessageA(h, LB_GETSELCOUNT, 0, 0);
    std::vector<int> selected(static_cast<std::size_t>(std::max<LRESULT>(count, 0)));
    const LRESULT got = selected.empty() ? 0
                                         : SendMessageA(h, LB_GETSELITEMS, static_cast<WPARAM>(selected.size()),
                                                        reinterpret_cast<LPARAM>(selected.data()));
    for (LRESULT i = 0; i < got; ++i)
      if (selected[static_cast<std::size_t>(i)] >= 0 && selected[static_cast<std::size_t>(i)] < n)
        FSelected[static_cast<std::size_t>(selected[static_cast<std::size_t>(i)])] = true;
  }
  FItemIndex = static_cast<int>(SendMessageA(h, FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
  if (FItemIndex >= n) FItemIndex = -1;
  FTopIndex = static_cast<int>(SendMessageA(h, LB_GETTOPINDEX, 0, 0));
}

void TListBox::Recreate() {
  if (!HandleAllocated()) return;
  DestroyHandle();
  CreateHandle();
}

void TListBox::SetMultiSelect(bool Value) {
  if (Value == FMultiSelect) return;
  if (HandleAllocated()) ReadState();
  FMultiSelect = Value;
  FSelected.assign(static_cast<std::size_t>(FItems->Count()), false);
  Recreate();
}

void TListBox::SetExtendedSelect(bool Value) {
  if (Value == FExtendedSelect) return;
  FExtendedSelect = Value;
  Recreate();
}

void TListBox::SetSorted(bool Value) {
  if (Value == FSorted) return;
  FSorted = Value;
  FItems->FKeys.Clear();
  FItems->FKeyed = false;
  if (!Value) return Recreate();
  // Sort the items (with their objects) once; the window is made again from them.
  if (HandleAllocated()) DestroyHandle();
  TStringList& list = FItems->FList;
  std::vector<std::pair<std::string, TObject*>> items;
  for (int i = 0; i < list.Count(); ++i) items.emplace_back(list.Get(i), list.GetObject(i));
  std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return LessNoCase(a.first, b.first); });
  list.Clear();
  for (auto& [s, o] : items) list.AddObject(std::move(s), o);
  FSelected.assign(items.size(), false);
  FItemIndex = -1;
  if (Parent() && Parent()->HandleAllocated()) CreateHandle();
}

void TListBox::SetItemHeight(int Value) {
  FItemHeight = std::max(Value, 1);
  if (HandleAllocated()) SendMessageA(WindowHandle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(FItemHeight, 0));
}

int TListBox::ItemIndex() const {
  if (!FItems->Live()) return FItemIndex;
  return static_cast<int>(SendMessageA(WindowHandle(), FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= FItems->Count()) Value = -1;
  FItemIndex = Value;
  if (!FItems->Live()) return;
  if (FMultiSelect) {
    if (Value >= 0) SendMessageA(WindowHandle(), LB_SETCARETINDEX, static_cast<WPARAM>(Value), FALSE);
  } else {
    SendMessageA(WindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(static_cast<INT_PTR>(Value)), 0);
  }
}

bool TListBox::Selected(int Index) const {
  if (Index < 0 || Index >= FItems->Count()) OutOfBounds(Index);
  if (FItems->Live()) return SendMessageA(WindowHandle(), LB_GETSEL, static_cast<WPARAM>(Index), 0) > 0;
  return FMultiSelect ? FSelected[static_cast<std::size_t>(Index)] : FItemIndex == Index;
}

void TListBox::SetSelected(int Index, bool Value) {
  if (Index < 0 || Index >= FItems->Count()) OutOfBounds(Index);
  if (!FMultiSelect) {
    if (Value) SetItemIndex(Index);
    else if (ItemIndex() == Index) SetItemIndex(-1);
    return;
  }
  if (FItems->Live()) SendMessageA(WindowHandle(), LB_SETSEL, Value ? TRUE : FALSE, Index);
  else FSelected[static_cast<std::size_t>(Index)] = Value;
}

void TListBox::SelectAll() {
  if (!FMultiSelect) return;
  if (FItems->Live()) SendMessageA(WindowHandle(), LB_SETSEL, TRUE, -1);
  else FSelected.assign(FSelected.size(), 1);
}

int TListBox::SelCount() const {
  if (!FMultiSelect) return -1;
  if (FItems->Live()) return static_cast<int>(SendMessageA(WindowHandle(), LB_GETSELCOUNT, 0, 0));
  return static_cast<int>(std::count(FSelected.begin(), FSelected.end(), std::uint8_t{1}));
}

int TListBox::TopIndex() const {
  return FItems->Live() ? static_cast<int>(SendMessageA(WindowHandle(), LB_GETTOPINDEX, 0, 0)) : FTopIndex;
}

void TListBox::SetTopIndex(int Value) {
  FTopIndex = std::max(Value, 0);
  if (FItems->Live()) SendMessageA(WindowHandle(), LB_SETTOPINDEX, static_cast<WPARAM>(FTopIndex), 0);
}

int TListBox::ItemAtPos(POINT Pos, bool Existing) const {
  const int count = FItems->Count();
  if (FItems->Live()) {
    RECT client;
    GetClientRect(WindowHandle(), &client);
    for (int i = TopIndex(); i < count; ++i) {
      RECT r;
      if (SendMessageA(WindowHandle(), LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)) == LB_ERR) break;
      if (r.top > client.bottom) break;
      if (Pos.x >= r.left && Pos.x < r.right && Pos.y >= r.top && Pos.y < r.bottom) return i;
    }
    return Existing ? -1 : count;
  }
  const int index = Pos.y < 0 ? -1 : FTopIndex + Pos.y / FItemHeight;
  if (index >= 0 && index < count) return index;
  return Existing ? -1 : count;
}

void TListBox::Clear() { FItems->Clear(); }

void TListBox::CNCommand(WORD Code) {
  if (Code == LBN_SELCHANGE) Click();
  else if (Code == LBN_DBLCLK) FOnDblClick(this);
}

LRESULT TListBox::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_MOUSEMOVE) {
    TShiftState shift = KeyShiftState();
    if (WParam & MK_LBUTTON) shift |= ssLeft;
    FOnMouseMove(this, shift, static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam)));
  }
  return TWinControl::WndProc(Msg, WParam, LParam);
}

// ---- TListBoxStrings -----------------------------------------------------------------------

bool TListBoxStrings::Live() const { return FListBox.HandleAllocated() && !FDetached; }

void TListBoxStrings::Detach() {
  if (FDetached || !FListBox.HandleAllocated() || UpdateCount() == 0) return;
  FListBox.ReadState();
  FDetached = true;
}

void TListBoxStrings::InsertObject(int Index, std::string S, TObject* AObject) {
  if (Index < 0 || Index > FList.Count()) OutOfBounds(Index);
  Detach();
  if (Live()) {
    const HWND h = FListBox.WindowHandle();
    const LRESULT at = SendMessageA(h, LB_INSERTSTRING, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(S.c_str()));
    if (at < 0) throw EListError("List box " + FListBox.Name() + " cannot take item " + IntToStr(Index));
    if (AObject) SendMessageA(h, LB_SETITEMDATA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(AObject));
  } else {
    FListBox.FSelected.insert(FListBox.FSelected.begin() + Index, false);
    if (FListBox.FItemIndex >= Index) ++FListBox.FItemIndex;
    Record(Change::Inserted, Index, S, AObject);
  }
  if (FKeyed) FKeys.Insert(Index, SortKey(S));
  FList.InsertObject(Index, std::move(S), AObject);
}

int TListBoxStrings::AddObject(std::string S, TObject* AObject) {
  if (!FListBox.Sorted()) {
    const int index = FList.Count();
    InsertObject(index, std::move(S), AObject);
    return index;
  }
  int index;
  Detach();
  if (Live()) {
    const HWND h = FListBox.WindowHandle();
    index = static_cast<int>(SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str())));
    if (index < 0) throw EListError("List box " + FListBox.Name() + " cannot take another item");
    if (AObject) SendMessageA(h, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(AObject));
  } else {
    index = SortedPlace(S);
    FListBox.FSelected.insert(FListBox.FSelected.begin() + index, false);
    if (FListBox.FItemIndex >= index) ++FListBox.FItemIndex;
    Record(Change::Inserted, index, S, AObject);
  }
  FList.InsertObject(index, std::move(S), AObject);
  return index;
}

int TListBoxStrings::SortedPlace(const std::string& S) {
  if (UpdateCount() == 0) {
    int lo = 0, hi = FList.Count();
    while (lo < hi) {
      const int mid = (lo + hi) / 2;
      if (LessNoCase(FList.Get(mid), S)) lo = mid + 1;
      else hi = mid;
    }
    return lo;
  }
  if (!FKeyed) {
    FKeys.Clear();
    for (int i = 0; i < FList.Count(); ++i) FKeys.Add(SortKey(FList.Get(i)));
    FKeyed = true;
  }
  std::string key = SortKey(S);
  int lo = 0, hi = FKeys.Count();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (FKeys.Get(mid) < key) lo = mid + 1;
    else hi = mid;
  }
  FKeys.Insert(lo, std::move(key));
  return lo;
}

void TListBoxStrings::Put(int Index, std::string S) {
  if (Index < 0 || Index >= FList.Count()) OutOfBounds(Index);
  TObject* o = FList.GetObject(Index);
  const bool selected = FListBox.Selected(Index);
  const bool current = FListBox.ItemIndex() == Index;
  Delete(Index);
  InsertObject(Index, std::move(S), o);
  if (selected) FListBox.SetSelected(Index, true);
  if (current) FListBox.SetItemIndex(Index);
}

void TListBoxStrings::PutObject(int Index, TObject* AObject) {
  FList.PutObject(Index, AObject);
  if (Live())
    SendMessageA(FListBox.WindowHandle(), LB_SETITEMDATA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject));
  else if (FDetached)
    Record(Change::DataSet, Index, {}, AObject);
}

void TListBoxStrings::Delete(int Index) {
  if (Index < 0 || Index >= FList.Count()) OutOfBounds(Index);
  Detach();
  if (Live()) {
    SendMessageA(FListBox.WindowHandle(), LB_DELETESTRING, static_cast<WPARAM>(Index), 0);
  } else {
    FListBox.FSelected.erase(FListBox.FSelected.begin() + Index);
    if (FListBox.FItemIndex == Index) FListBox.FItemIndex = -1;
    else if (FListBox.FItemIndex > Index) --FListBox.FItemIndex;
    Record(Change::Deleted, Index, {}, nullptr);
  }
  if (FKeyed) FKeys.Delete(Index);
  FList.Delete(Index);
}

void TListBoxStrings::Clear() {
  Detach();
  if (Live()) {
    SendMessageA(FListBox.WindowHandle(), LB_RESETCONTENT, 0, 0);
  } else if (FDetached) {
    // Often filled again with the same items: the window keeps its own until the batch ends.
    if (!FCleared && FReplayable && FChanges.empty()) {
      for (int i = 0; i < FList.Count(); ++i) {
        FShownText += FList.Get(i);
        FShownEnds.push_back(FShownText.size());
        FShownObjects.push_back(FList.GetObject(i));
      }
      FCleared = true;
    }
    FReplayable = false;
    FChanges.clear();
  }
  FListBox.FSelected.clear();
  FListBox.FItemIndex = -1;
  FListBox.FTopIndex = 0;
  FKeys.Clear();
  FList.Clear();
}

void TListBoxStrings::Record(Change::Kind What, int Index, const std::string& S, TObject* AObject) {
  if (!FReplayable) return;
  // Past a quarter of the items a refill costs less than the changes one by one; sooner in the
  // simulation, whose window moves the text of every later item at each insert.
#ifdef _WIN32
  const std::size_t most = static_cast<std::size_t>(FList.Count() / 4);
#else
  const std::size_t most = std::min<std::size_t>(static_cast<std::size_t>(FList.Count() / 4), 64);
#endif
  if (FChanges.size() >= most) {
    FReplayable = false;
    FChanges.clear();
    return;
  }
  FChanges.push_back(Change{What, Index, What == Change::Inserted ? S : std::string(), AObject});
}

void TListBoxStrings::ForgetChanges() {
  FChanges.clear();
  FReplayable = true;
  FCleared = false;
  FShownText.clear();
  FShownEnds.clear();
  FShownObjects.clear();
}

void TListBoxStrings::Reattach() {
  const HWND h = FListBox.WindowHandle();
  bool kept = false;
  if (FCleared) {
    kept = FShownEnds.size() == static_cast<std::size_t>(FList.Count());
    const std::string_view shown(FShownText);
    for (std::size_t i = 0, from = 0; kept && i < FShownEnds.size(); from = FShownEnds[i++])
      kept = shown.substr(from, FShownEnds[i] - from) == FList.Get(static_cast<int>(i)) &&
             FShownObjects[i] == FList.GetObject(static_cast<int>(i));
  } else if (FReplayable) {
    kept = true;
    for (const Change& c : FChanges) {
      const auto index = static_cast<WPARAM>(c.Index);
      if (c.What == Change::Deleted) {
        SendMessageA(h, LB_DELETESTRING, index, 0);
        continue;
      }
      if (c.What == Change::Inserted) SendMessageA(h, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(c.Text.c_str()));
      if (c.Object || c.What == Change::DataSet) SendMessageA(h, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(c.Object));
    }
  }
  ForgetChanges();
  if (kept) {
    FListBox.WriteSelection(true);
    return;
  }
  // Filled again in one pass: inserting one by one into a long window list moves the items
  // after each one every time.
  SendMessageA(h, LB_RESETCONTENT, 0, 0);
  FListBox.WriteState();
}

void TListBoxStrings::SetUpdateState(bool Updating) {
  if (!Updating) {
    FKeys.Clear();
    FKeyed = false;
  }
  if (!FListBox.HandleAllocated()) return;
  const HWND h = FListBox.WindowHandle();
  if (Updating) {
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    return;
  }
  if (std::exchange(FDetached, false)) Reattach();
  SendMessageA(h, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(h, nullptr, TRUE);
}

}  // namespace vcl
