// TStrings / TStringList: lines with objects, text splitting and files.
#include "vcl/Classes.hpp"

#include <cstdint>
#include <random>

#include "test_support.hpp"

using namespace vcl;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

namespace {
using V = std::vector<std::string>;
}  // namespace

TEST(StringList, LinesCarryTheirObjectsThroughEdits) {
  TComponent o1(nullptr), o2(nullptr);
  TStringList list;
  list.Add("b");
  list.AddObject("c", &o1);
  list.InsertObject(0, "a", &o2);
  list.Insert(3, "d");
  EXPECT_EQ(testing_support::LinesOf(list), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(list.Objects(0), &o2);
  EXPECT_EQ(list.Objects(2), &o1);
  list.Delete(0);
  EXPECT_EQ(list.Objects(1), &o1);
  list.Put(1, "C");
  list.PutObject(0, &o2);
  EXPECT_EQ(list.Strings(1), "C");
  EXPECT_EQ(list.Objects(1), &o1);
  EXPECT_EQ(list.Objects(0), &o2);
  EXPECT_EQ(list.IndexOf("C"), 1);
  EXPECT_EQ(list.IndexOf("c"), -1);
  EXPECT_THROW_MSG(list.Get(3), EListError, "List index out of bounds (3)");
  EXPECT_THROW(list.InsertObject(5, "x", nullptr), EListError);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, AssignCopiesLinesAndObjects) {
  TComponent o(nullptr);
  TStringList a, b;
  a.AddObject("x", &o);
  a.Add("y");
  b.Add("old");
  b.Assign(&a);
  EXPECT_EQ(testing_support::LinesOf(b), (V{"x", "y"}));
  EXPECT_EQ(b.Objects(0), &o);
  b.Assign(&b);  // assigning itself keeps the lines
  EXPECT_EQ(b.Count(), 2);
  EXPECT_THROW(b.Assign(&o), EConvertError);
}

TEST(StringList, TextSplitsAtEveryKindOfLineEnd) {
  struct Case {
    std::string text;
    V lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then a lone CR: two line ends
      {"\r\n\r\n", {"", ""}},
      {"a\r", {"a"}},
      {std::string("x\0y\n", 4), {std::string("x\0y", 3)}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(testing_support::LinesOf(list), c.lines) << c.text;
    const std::vector<std::string_view> views = SplitLines(c.text);
    EXPECT_EQ(V(views.begin(), views.end()), c.lines) << c.text;
  }
  TStringList list;
  list.Add("a");
  list.Add("");
  EXPECT_EQ(list.Text(), "a\r\n\r\n");
}

TEST(StringList, DrawnLinesStartALineAtEveryLineEnd) {
  struct Case {
    std::string text;
    V lines;
  } cases[] = {
      {"", {""}},
      {"a", {"a"}},
      {"a\n", {"a", ""}},
      {"a\r\n", {"a", ""}},  // CR LF: one line end
      {"\r\r\n", {"", "", ""}},
      {"a\n\rb\r", {"a", "", "b", ""}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string_view> views = DrawnLines(c.text);
    EXPECT_EQ(V(views.begin(), views.end()), c.lines) << c.text;
    EXPECT_EQ(views.back().data() + views.back().size(), c.text.data() + c.text.size()) << "the last line ends where the text does";
  }
}

TEST(StringList, FilesRoundTripWithCrLf) {
  ScratchDir dir;
  const std::string file = dir.File("lines.txt");
  WriteFile(file, "one\rtwo\nthree\r\nfour");
  TStringList list;
  list.LoadFromFile(file);
  EXPECT_EQ(testing_support::LinesOf(list), (V{"one", "two", "three", "four"}));
  list.SaveToFile(file);
  EXPECT_EQ(ReadFile(file), "one\r\ntwo\r\nthree\r\nfour\r\n");
  TStringList empty;
  empty.SaveToFile(file);
  EXPECT_EQ(ReadFile(file), "");
}

TEST(StringList, FileErrorsNameTheFile) {
  ScratchDir dir;
  const std::string missing = dir.File("missing.txt");
  TStringList list;
  try {
    list.LoadFromFile(missing);
    FAIL() << "no EFOpenError";
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find("Cannot open file \"" + missing + "\""), std::string::npos) << e.Message();
  }
  const std::string badDir = dir.File("no/such/dir/out.txt");
  try {
    list.SaveToFile(badDir);
    FAIL() << "no EFCreateError";
  } catch (const EFCreateError& e) {
    EXPECT_NE(e.Message().find("Cannot create file \"" + badDir + "\""), std::string::npos) << e.Message();
  }
}

TEST(StringList, LargeListsBehaveLikeAVectorUnderRandomEdits) {
  // Enough lines to split and merge many internal blocks.
  std::mt19937 rng(11);
  TStringList list;
  std::vector<std::pair<std::string, TObject*>> model;
  for (int step = 0; step < 30000; ++step) {
    const unsigned op = rng() % 10;
    const int n = static_cast<int>(model.size());
    if (op < 6 || n == 0) {
      const int at = op < 2 ? n : static_cast<int>(rng() % (n + 1));  // many appends, some middles
      const std::string s = std::to_string(step);
      auto* o = reinterpret_cast<TObject*>(static_cast<std::intptr_t>(step));
      list.InsertObject(at, s, o);
      model.insert(model.begin() + at, {s, o});
    } else if (op < 9) {
      const int at = static_cast<int>(rng() % n);
      list.Delete(at);
      model.erase(model.begin() + at);
    } else {
      const int at = static_cast<int>(rng() % n);
      list.Put(at, "p" + std::to_string(step));
      model[at].first = "p" + std::to_string(step);
    }
  }
  ASSERT_EQ(list.Count(), static_cast<int>(model.size()));
  for (int i = 0; i < list.Count(); ++i) {
    ASSERT_EQ(list.Strings(i), model[i].first) << i;
    ASSERT_EQ(list.Objects(i), model[i].second) << i;
  }
  while (list.Count() > 0) list.Delete(list.Count() / 2);
  list.Add("again");
  EXPECT_EQ(list.Strings(0), "again");
}
