// The whole-file helpers of text files and dictionaries, against the list operations they stand for.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <set>

#include "vek/sorted_lines.hpp"

namespace {

// Lines from a small alphabet, so that repeats, shared prefixes and the characters that sort
// round "=" ("." and the digits before it, "[" after it) all come up.
std::string RandomLine(std::mt19937& Rng, bool Entry) {
  static const char letters[] = {'A', 'B', '.', '1', '[', ']', '=', '\t'};
  std::string s;
  const std::size_t n = 1 + Rng() % 6;
  for (std::size_t i = 0; i < n; ++i) s += letters[Rng() % (Entry ? 6 : 8)];
  if (Entry) s += "=" + std::to_string(Rng() % 3);
  return s;
}

std::vector<std::string_view> Views(const std::vector<std::string>& Lines) { return {Lines.begin(), Lines.end()}; }

}  // namespace

TEST(SortedLines, SortedUniqueIsASortedSetWhateverTheOrder) {
  std::mt19937 rng(5);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> lines;
    for (int i = 0, n = static_cast<int>(rng() % 40); i < n; ++i) lines.push_back(RandomLine(rng, false));
    if (round % 2) std::sort(lines.begin(), lines.end());  // the usual file: in order, with repeats
    const std::set<std::string> set(lines.begin(), lines.end());
    EXPECT_EQ(Vek::SortedUnique(Views(lines)), std::vector<std::string_view>(set.begin(), set.end())) << round;
  }
}

TEST(SortedLines, EntryFinderFindsWhatFindEntryFindsInAnyOrderOfKeys) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> lines;
    for (int i = 0; i < 30; ++i) lines.push_back(RandomLine(rng, true));
    const std::vector<std::string_view> sorted = Vek::SortedUnique(Views(lines));
    std::vector<std::string> keys;
    for (int i = 0; i < 40; ++i) keys.push_back(std::string(Vek::EntryKey(RandomLine(rng, true))));
    if (round % 2) std::sort(keys.begin(), keys.end());  // ascending, as a sorted list asks them
    Vek::EntryFinder finder(sorted);
    for (const std::string& key : keys) ASSERT_EQ(finder.Find(key), Vek::FindEntry(sorted, key)) << round << ": " << key;
  }
}

TEST(SortedLines, LowerBoundFromAnyPlaceBeforeTheValueIsStdLowerBound) {
  std::vector<int> values;
  for (int i = 0; i < 100; ++i) values.push_back(i / 3);
  for (int value = -1; value <= 35; ++value) {
    const auto expected = std::lower_bound(values.begin(), values.end(), value);
    for (auto from = values.begin(); from <= expected; ++from)
      ASSERT_EQ(Vek::LowerBoundFrom(from, values.end(), value, std::less<int>()), expected) << value << " from " << from - values.begin();
  }
}

// Joined, the pieces are the text a sorted list gives after SortInsert of each added line, also
// when lines of the file were left out, replaced by others in their place (as a dictionary's
// translations are), or the file's last line has no line break.
TEST(SortedLines, MergedPiecesAreTheListsText) {
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> lines;
    for (int i = 0, n = static_cast<int>(rng() % 30); i < n; ++i) lines.push_back(RandomLine(rng, false));
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());  // a dictionary's lines are once each
    std::string file;
    for (const std::string& l : lines) file += l + "\r\n";
    if (round % 3 == 0 && !file.empty()) file.resize(file.size() - 2);
    // Some lines dropped (as a text file drops the lines it replaces), some replaced in place.
    std::vector<std::string_view> base;
    std::deque<std::string> others;
    for (std::string_view l : vcl::SplitLines(file)) {
      const unsigned fate = rng() % 6;
      if (fate == 0) continue;
      base.push_back(fate == 1 ? std::string_view(others.emplace_back(std::string(l) + "\t")) : l);  // still in order: TAB sorts first
    }
    std::vector<std::string> added;
    for (int i = 0, n = static_cast<int>(rng() % 10); i < n; ++i) added.push_back(RandomLine(rng, false));

    Vek::TSortList list;
    for (std::string_view l : base) list.Add(std::string(l));
    for (const std::string& l : added) list.SortInsert(l, nullptr);
    const Vek::FilePieces pieces = Vek::MergedText(base, Views(added), file);
    std::string joined;
    for (std::string_view p : pieces.Pieces) joined += p;
    ASSERT_EQ(joined, list.Text()) << round;
    ASSERT_EQ(pieces.Size, joined.size()) << round;
  }
}

// Texts longer and shorter than the 16 bytes read as numbers, sharing all of them, ending in
// NUL bytes and high bytes, sort as std::stable_sort sorts them, equal ones in their order.
TEST(SortedLines, StableSortByTextIsStdStableSort) {
  std::mt19937 rng(11);
  const std::string head = "Sixteen bytes.. ";  // shared by some: only the rest decides
  for (int round = 0; round < 200; ++round) {
    std::vector<std::pair<std::string, int>> items;
    for (int i = 0; i < 1 + static_cast<int>(rng() % 40); ++i) {
      std::string text = rng() % 3 == 0 ? head : "";
      for (std::size_t n = rng() % 20; n > 0; --n) text += "aZ\xE9\0"[rng() % 4];
      if (rng() % 5 == 0) text += std::string(1 + rng() % 2, '\0');
      items.emplace_back(text, i);
    }
    auto expected = items;
    std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    Vek::StableSortByText(items, [](const auto& item) { return std::string_view(item.first); });
    EXPECT_EQ(items, expected);
  }
}
