// TSortList: ordinal order, both search modes, insertion without duplicates.
#include "Vek.hpp"

#include <algorithm>
#include <cstdint>
#include <random>

#include "test_support.hpp"

using Vek::TSortList;

namespace {
using V = std::vector<std::string>;
vcl::TObject* AsObject(std::intptr_t n) { return reinterpret_cast<vcl::TObject*>(n); }
}  // namespace

TEST(SortList, EmptyListFindsNothingAtZeroInBothModes) {
  TSortList list;
  int index = -1;
  EXPECT_FALSE(list.SortFind("x", index));
  EXPECT_EQ(index, 0);
  index = 7;
  EXPECT_FALSE(list.SortFind("x", index));
  EXPECT_EQ(index, 0);
  list.SortInsert("x", nullptr);
  EXPECT_EQ(testing_support::LinesOf(list), V{"x"});
}

TEST(SortList, PositionModeGivesTheInsertionPoint) {
  TSortList list;
  list.SortInsert("c", nullptr);
  list.SortInsert("a", nullptr);
  struct Case {
    const char* s;
    bool found;
    int index;
  } cases[] = {{"", false, 0}, {"a", true, 0}, {"b", false, 1}, {"c", true, 1}, {"d", false, 2}};
  for (const Case& c : cases) {
    int index = -1;
    EXPECT_EQ(list.SortFind(c.s, index), c.found) << c.s;
    EXPECT_EQ(index, c.index) << c.s;
  }
}

TEST(SortList, ComparesBytesNotCaseOrLocale) {
  for (bool reversed : {false, true}) {
    TSortList list;
    list.SortInsert(reversed ? "a" : "B", nullptr);
    list.SortInsert(reversed ? "B" : "a", nullptr);
    EXPECT_EQ(testing_support::LinesOf(list), (V{"B", "a"}));
  }
  TSortList list;
  for (const char* s : {"\xC4pfel", "zebra", "K=v", "K", "K["}) list.SortInsert(s, nullptr);
  EXPECT_EQ(testing_support::LinesOf(list), (V{"K", "K=v", "K[", "zebra", "\xC4pfel"}));  // byte 196 after ASCII
  int index = -1;
  EXPECT_FALSE(list.SortFind("K=", index));  // a prefix search lands on the line that begins with it
  EXPECT_EQ(list.Strings(index), "K=v");
}

TEST(SortList, InsertingAnEqualLineReplacesItsObjectOnly) {
  TSortList list;
  list.SortInsert("x", AsObject(1));
  list.SortInsert("x", AsObject(2));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Objects(0), AsObject(2));
}

TEST(SortList, ObjectModeReturnsTheObjectOfTheLastProbe) {
  TSortList list;
  for (int i = 0; i < 5; ++i) list.SortInsert(std::string(1, static_cast<char>('a' + 2 * i)), AsObject(100 + i));
  // a c e g i: the search for "c" probes e (index 2) then a (0) then c (1)
  int index = 0;
  EXPECT_TRUE(list.SortFind("c", index));
  EXPECT_EQ(index, 101);
  index = 0;
  EXPECT_FALSE(list.SortFind("d", index));  // probes e, a, c: ends on c
  EXPECT_EQ(index, 101);
  index = 0;
  EXPECT_FALSE(list.SortFind("z", index));  // probes e, g, i: ends on i
  EXPECT_EQ(index, 104);
}

TEST(SortList, RandomInsertionsMatchASortedSet) {
  std::mt19937 rng(7);
  TSortList list;
  std::vector<std::string> model;
  for (int i = 0; i < 2000; ++i) {
    std::string s(rng() % 4, '\0');
    for (char& c : s) c = static_cast<char>("aB=[\x80\xff"[rng() % 6]);
    list.SortInsert(s, nullptr);
    if (std::find(model.begin(), model.end(), s) == model.end()) model.push_back(s);
  }
  std::sort(model.begin(), model.end());
  EXPECT_EQ(testing_support::LinesOf(list), model);
  for (const std::string& s : model) {
    int index = -1;
    ASSERT_TRUE(list.SortFind(s, index));
    EXPECT_EQ(list.Strings(index), s);
  }
}
