// TList: indexed references, Pack and bounds.
#include "vcl/Classes.hpp"

#include "test_support.hpp"

using namespace vcl;

TEST(List, AddInsertDeleteAndPack) {
  int a = 1, b = 2, c = 3;
  TList list;
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.Add(nullptr), 1);
  list.Insert(0, &c);
  list.Add(&b);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.IndexOf(&a), 1);
  EXPECT_EQ(list.IndexOf(&b), 3);
  list.Pack();
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list[2], &b);
  EXPECT_EQ(list.Remove(&c), 0);
  EXPECT_EQ(list.Remove(&c), -1);
  list.Put(0, &c);
  EXPECT_EQ(list.Get(0), &c);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
}

TEST(List, IndexOutsideRaises) {
  TList list;
  EXPECT_THROW_MSG(list.Get(0), EListError, "List index out of bounds (0)");
  EXPECT_THROW(list.Delete(-1), EListError);
  EXPECT_THROW(list.Insert(1, nullptr), EListError);
  list.Insert(0, nullptr);  // Count is a valid insertion point
  EXPECT_EQ(list.Count(), 1);
}
