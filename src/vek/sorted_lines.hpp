// Whole files as sorted views: what filling a TSortList through SortInsert gives, without one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Vek.hpp"

namespace Vek {

/// The lines in ordinal order with equal lines once, as SortInsert of each into an empty list
/// leaves them. The views point where the given ones do.
std::vector<std::string_view> SortedUnique(std::vector<std::string_view> Lines);
/// As above for the lines of a list, as views into its strings.
std::vector<std::string_view> SortedUnique(const vcl::TStrings& Lines);

/// The file text (every line followed by CR LF) of a list that held Base, which must be in
/// ordinal order (equal neighbours allowed), after SortInsert of every line of Added.
std::string MergedText(const std::vector<std::string_view>& Base, std::vector<std::string> Added);

/// The file text of lines in the given order, every line followed by CR LF.
std::string LinesText(const std::vector<std::string_view>& Lines);

}  // namespace Vek
