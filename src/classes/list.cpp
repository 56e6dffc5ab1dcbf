// TList: the untyped reference list.
#include <algorithm>

#include "vcl/Classes.hpp"

namespace vcl {

VCL_IMPLEMENT_CLASS(TList, TObject)

void TList::Check(int Index, int Limit) const {
  if (Index < 0 || Index >= Limit) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
}

int TList::Add(void* Item) {
  FItems.push_back(Item);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  Check(Index, Count() + 1);
  FItems.insert(FItems.begin() + Index, Item);
}

void TList::Delete(int Index) {
  Check(Index, Count());
  FItems.erase(FItems.begin() + Index);
}

int TList::Remove(void* Item) {
  const int index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

void TList::Pack() { FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end()); }

int TList::IndexOf(const void* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void* TList::Get(int Index) const {
  Check(Index, Count());
  return FItems[static_cast<std::size_t>(Index)];
}

void TList::Put(int Index, void* Item) {
  Check(Index, Count());
  FItems[static_cast<std::size_t>(Index)] = Item;
}

}  // namespace vcl
