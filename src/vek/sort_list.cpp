// TSortList: binary search and insertion in ordinal byte order.
#include <cstdint>

#include "Vek.hpp"

namespace Vek {

VCL_IMPLEMENT_CLASS(TSortList, vcl::TStringList)

bool TSortList::SortFind(const std::string& S, int& Index) const {
  const bool positionMode = Index == -1;
  int low = 0;
  int high = Count() - 1;
  int mid = 0;
  bool found = false;
  while (high >= low) {
    mid = (low + high) / 2;
    const int order = S.compare(Get(mid));  // std::string compares as unsigned bytes
    if (order < 0) {
      high = mid - 1;
    } else if (order == 0) {
      found = true;
      break;
    } else {
      low = mid + 1;
      if (high < low && positionMode) ++mid;
    }
  }
  if (positionMode || Count() == 0)
    Index = mid;
  else  // the list may hold integers in its object references (a dictionary's line positions)
    Index = static_cast<int>(reinterpret_cast<std::intptr_t>(GetObject(mid)));
  return found;
}

void TSortList::SortInsert(const std::string& S, vcl::TObject* AObject) {
  int index = -1;
  if (SortFind(S, index)) PutObject(index, AObject);
  else InsertObject(index, S, AObject);
}

}  // namespace Vek
