// The positions of a translator's entries by class part, so that a translation pass reads only
// the entries of the shown dialog's class.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "Vek.hpp"

namespace Vek {

struct EntryIndex {
  const TSortList* List = nullptr;
  std::uint64_t Changes = 0;
  std::unordered_map<std::string, std::vector<int>> Positions;

  /// The positions, in list order, of the entries of ClassName in List; rebuilt when the list
  /// changed since the last call.
  const std::vector<int>& Of(const TSortList& AList, const std::string& ClassName);
};

}  // namespace Vek
