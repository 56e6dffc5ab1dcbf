// Whole files as sorted views: what filling a TSortList through SortInsert gives, without one.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
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

/// The first element of [From, End) that is not Before Value, as std::lower_bound finds it, by
/// probing 1, 2, 4, ... elements on from From and then searching between the last two probes:
/// a few comparisons when it is near, as for values asked in ascending order.
template <class It, class T, class Less>
It LowerBoundFrom(It From, It End, const T& Value, Less Before) {
  It low = From;
  for (std::ptrdiff_t step = 1; low != End && Before(*low, Value); step *= 2) {
    ++low;
    const It probe = std::distance(low, End) > step ? low + step - 1 : End;
    if (probe == End || !Before(*probe, Value)) return std::lower_bound(low, probe, Value, Before);
    low = probe;
  }
  return low;
}

/// Sorts Items by the text TextOf(item) gives (a string_view), keeping equal ones in their
/// order. Each text's first 16 bytes, read as two numbers, decide most comparisons without
/// reaching the text: sorting a million texts by their bytes alone fetches them from all over
/// memory twenty times each.
template <class T, class F>
void StableSortByText(std::vector<T>& Items, F TextOf) {
  struct Key {
    std::uint64_t High, Low;
    std::uint32_t Index;
  };
  const auto number = [](std::string_view Text, std::size_t From) {
    std::uint64_t n = 0;
    for (std::size_t i = From; i < From + 8; ++i) n = n << 8 | (i < Text.size() ? static_cast<unsigned char>(Text[i]) : 0u);
    return n;
  };
  std::vector<Key> keys(Items.size());
  for (std::size_t i = 0; i < Items.size(); ++i) {
    const std::string_view text = TextOf(Items[i]);
    keys[i] = {number(text, 0), number(text, 8), static_cast<std::uint32_t>(i)};
  }
  std::sort(keys.begin(), keys.end(), [&](const Key& A, const Key& B) {
    if (A.High != B.High) return A.High < B.High;
    if (A.Low != B.Low) return A.Low < B.Low;
    // Equal heads (or a text that ends in NUL bytes, which the padding cannot tell): the texts.
    if (const int order = std::string_view(TextOf(Items[A.Index])).compare(TextOf(Items[B.Index]))) return order < 0;
    return A.Index < B.Index;
  });
  std::vector<T> sorted;
  sorted.reserve(Items.size());
  for (const Key& k : keys) sorted.push_back(std::move(Items[k.Index]));
  Items.swap(sorted);
}

/// Finds the entries of keys in lines in ordinal order, as FindEntry does: each search starts
/// where the last one ended and strides forward from there, so keys asked in ascending order
/// (those of a sorted list) cost a few comparisons each; a key before the last one asked is
/// searched for in all lines.
class EntryFinder {
public:
  explicit EntryFinder(const std::vector<std::string_view>& SortedLines) : FLines(SortedLines) {}
  /// The index of the line that is the entry for Key, or -1.
  int Find(std::string_view Key);

private:
  const std::vector<std::string_view>& FLines;
  std::size_t FFrom = 0;  // where the last search ended
};

/// A literal's decoded text (ConvertFromLiterals): a literal that is one quoted run without
/// doubled apostrophes, or holds neither apostrophe nor "#", is its own text and is answered as
/// a view of Literal; otherwise the text is put in Store. Raises what ConvertFromLiterals raises.
std::string_view DecodedView(std::string_view Literal, std::string& Store);

/// A file's text as pieces, one after the other: views of the bytes of the file it replaces, of
/// lines added and of line breaks, which must outlive it.
struct FilePieces {
  std::vector<std::string_view> Pieces;
  std::size_t Size = 0;  // of all pieces
  void Add(std::string_view Piece) {
    Pieces.push_back(Piece);
    Size += Piece.size();
  }
};

/// The file text (every line followed by CR LF) of a list that held Base, which must be in
/// ordinal order (equal neighbours allowed), after SortInsert of every line of Added (whose
/// bytes must outlive the pieces). Lines of Base that are views of Source (the file's bytes) and
/// stand there one after the other with their CR LF are one piece: a large file is written from
/// a few runs of the old one.
FilePieces MergedText(const std::vector<std::string_view>& Base, std::vector<std::string_view> Added, std::string_view Source = {});

}  // namespace Vek
