// The entry language: splitting, the ten kinds in test order, ids, decoded values, keys.
#include "Vek.hpp"
#include "vcl/CodePages.hpp"

#include "test_support.hpp"

using Vek::Entry;
using Vek::EntryKind;
using Vek::FontField;

TEST(Entries, PropertiesAreTestedInOrder) {
  struct Case {
    const char* line;
    EntryKind kind;
    FontField font;
  } cases[] = {
      {"TOpenDialog.Caption='Ouvrir'", EntryKind::WindowCaption, FontField::None},
      {"TOpenDialog.Caption[1090]='&Dateiname:'", EntryKind::ChildCaption, FontField::None},
      {"TOpenDialog.Font.Name='MS Sans Serif'", EntryKind::Font, FontField::Name},
      {"TOpenDialog.Font.Charset=0", EntryKind::Font, FontField::Charset},
      {"TOpenDialog.Font.Style=1", EntryKind::Font, FontField::Other},
      {"TOpenDialog.Width=564", EntryKind::WindowWidth, FontField::None},
      {"TOpenDialog.Height=300", EntryKind::WindowHeight, FontField::None},
      {"TOpenDialog.Left[-3]=8", EntryKind::ChildLeft, FontField::None},
      {"TOpenDialog.Top[1]=8", EntryKind::ChildTop, FontField::None},
      {"TOpenDialog.Width[1]=8", EntryKind::ChildWidth, FontField::None},
      {"TOpenDialog.Height[1]=8", EntryKind::ChildHeight, FontField::None},
      {"TOpenDialog.Foo=1", EntryKind::Ignored, FontField::None},
      {"TOpenDialog.caption='x'", EntryKind::Ignored, FontField::None},  // case-sensitive
      {"TOpenDialog.Captions='x'", EntryKind::Ignored, FontField::None},
      {"TOpenDialog.Caption", EntryKind::Ignored, FontField::None},       // no "=": empty property
      {"TOpenDialog", EntryKind::Ignored, FontField::None},
      {"Caption='x'", EntryKind::Ignored, FontField::None},               // no "."
  };
  for (const Case& c : cases) {
    const Entry e = Entry::Split(c.line);
    EXPECT_EQ(e.Kind, c.kind) << c.line;
    EXPECT_EQ(e.Font, c.font) << c.line;
  }
}

TEST(Entries, ClassPartMatchesExactly) {
  const Entry e = Entry::Split("TOpenDialog.Caption[1090]='&Dateiname:'");
  EXPECT_EQ(e.ClassPart, "TOpenDialog");
  EXPECT_EQ(e.Property, "Caption[1090]");
  EXPECT_TRUE(e.AppliesTo("TOpenDialog"));
  EXPECT_FALSE(e.AppliesTo("topendialog"));
  EXPECT_FALSE(e.AppliesTo("TSaveDialog"));
  EXPECT_FALSE(Entry::Split("Caption=x").AppliesTo("Caption=x"));
  EXPECT_FALSE(Entry::Split("x").AppliesTo(""));
  EXPECT_TRUE(Entry::Split(".Caption='x'").AppliesTo(""));
}

TEST(Entries, ChildIdsAreReadUpToTheFirstBracket) {
  struct Case {
    const char* line;
    std::optional<int> id;
  } cases[] = {
      {"T.Caption[1090]='A'", 1090},
      {"T.Caption[1090]x='A'", 1090},  // what follows "]" is not looked at
      {"T.Left[-3]=10", -3},
      {"T.Top[0]=1", 0},
      {"T.Width[2147483647]=1", 2147483647},
      {"T.Height[-2147483648]=1", -2147483647 - 1},
      {"T.Caption[]='A'", std::nullopt},
      {"T.Caption[12a]='A'", std::nullopt},
      {"T.Caption[ 12]='A'", std::nullopt},
      {"T.Caption[$10]='A'", std::nullopt},
      {"T.Caption[1090='A'", std::nullopt},  // no "]"
      {"T.Caption[2147483648]='A'", std::nullopt},
      {"T.Caption='A'", std::nullopt},       // a window kind has no id
  };
  for (const Case& c : cases) EXPECT_EQ(Entry::Split(c.line).Id(), c.id) << c.line;
}

TEST(Entries, ValuesAreCutDecodedAndEndAtNul) {
  struct Case {
    std::string line, value;
  } cases[] = {
      {"T.Caption='abc'#0'def'", "abc"},
      {"T.Caption=''", ""},
      {"T.Caption=", ""},
      {"T.Width=400", "400"},
      {"T.Caption='a=b'", "a=b"},  // only the first "=" separates
      {"T.Caption='Fichier'#13#10'texte'", "Fichier\r\ntexte"},
      {"T.Caption='Don't'", "Dont"},  // as the capture writes an unescaped apostrophe
  };
  for (const Case& c : cases) EXPECT_EQ(Entry::Split(c.line).DecodedValue(), c.value) << c.line;

  const std::string longLine = "T.Caption=" + std::string(5000, 'x');
  EXPECT_EQ(Entry::Split(longLine).DecodedValue(), std::string(4095, 'x'));
  EXPECT_EQ(Entry::Split("T.Caption=ab#").TryDecodedValue(), std::nullopt);
  EXPECT_THROW(Entry::Split("T.Caption=ab#").DecodedValue(), vcl::EConvertError);
}

TEST(Entries, PropertyIsExaminedUpTo4095Characters) {
  const std::string line = "T.Caption[" + std::string(5000, '1') + "]=x";
  EXPECT_EQ(Entry::Split(line).Property.size(), 4095u);
  EXPECT_EQ(Entry::Split(line).Kind, EntryKind::ChildCaption);
  EXPECT_EQ(Entry::Split(line).Id(), std::nullopt);
}

TEST(Entries, DecimalParseRejectsWhatIsNotASignedDecimal) {
  EXPECT_EQ(Vek::ParseDecimal("494"), 494);
  EXPECT_EQ(Vek::ParseDecimal("-20"), -20);
  EXPECT_EQ(Vek::ParseDecimal("+5"), 5);
  for (const char* bad : {"", "-", " 1", "1 ", "$1F", "1.5", "99999999999", "0x1"})
    EXPECT_EQ(Vek::ParseDecimal(bad), std::nullopt) << bad;
}

TEST(Entries, SizesAndPositionsAreTakenAsAScreenHoldsThem) {
  EXPECT_EQ(Vek::OnScreen(EntryKind::WindowWidth, 2147483647), 32767);
  EXPECT_EQ(Vek::OnScreen(EntryKind::ChildHeight, -1), 0);
  EXPECT_EQ(Vek::OnScreen(EntryKind::ChildLeft, std::int64_t{-1} << 40), -32767) << "a sum no int holds";
  EXPECT_EQ(Vek::OnScreen(EntryKind::Font, 494), 494) << "no geometry";
}

TEST(Entries, KeyLookupNeedsTheKeyFollowedByEquals) {
  EXPECT_EQ(Vek::EntryKey("TOpenDialog.Width=400"), "TOpenDialog.Width");
  EXPECT_EQ(Vek::EntryKey("no equals"), "no equals");
  EXPECT_EQ(Vek::EntryValue("K=a=b"), "a=b");
  EXPECT_EQ(Vek::EntryValue("K"), "");
  EXPECT_TRUE(Vek::IsEntryFor("TOpenDialog.Width=400", "TOpenDialog.Width"));
  EXPECT_FALSE(Vek::IsEntryFor("TOpenDialog.Width[3]=400", "TOpenDialog.Width"));
  EXPECT_FALSE(Vek::IsEntryFor("TOpenDialog.Width", "TOpenDialog.Width"));
  EXPECT_FALSE(Vek::IsEntryFor("TOpenDialog.Wid=1", "TOpenDialog.Width"));
}

namespace {
// Splitting returns views into its argument, so a temporary line must not be accepted.
template <class T>
concept SplittableFrom = requires(T&& line) {
  Entry::Split(std::forward<T>(line));
  Vek::TextFileLine::Split(std::forward<T>(line));
};
static_assert(!SplittableFrom<std::string>);
static_assert(!SplittableFrom<std::string&&>);
static_assert(SplittableFrom<std::string&>);
static_assert(SplittableFrom<const std::string&>);
static_assert(SplittableFrom<std::string_view>);
static_assert(SplittableFrom<const char*>);
}  // namespace

TEST(Entries, FindEntryNeedsTheKeyFollowedByEquals) {
  Vek::TSortList list;
  EXPECT_EQ(Vek::FindEntry(list, "T.Width"), -1);  // empty list
  for (const char* l : {"T.Caption='a'", "T.Width", "T.Width=400", "T.Width[3]=1", "U.Width=2"}) list.SortInsert(l, nullptr);
  struct Case {
    const char* key;
    int index;
  } cases[] = {
      {"T.Caption", 0},
      {"T.Width", 2},     // not the line "T.Width" without "=", nor "T.Width[3]"
      {"T.Wid", -1},      // a prefix of a key is no key
      {"T.Width[3]", 3},
      {"U.Width", 4},     // the last line
      {"V.Width", -1},    // past the last line
      {"A", -1},          // before the first
      {"", -1},
  };
  const std::vector<std::string_view> views = {"T.Caption='a'", "T.Width", "T.Width=400", "T.Width[3]=1", "U.Width=2"};
  for (const Case& c : cases) {
    EXPECT_EQ(Vek::FindEntry(list, c.key), c.index) << c.key;
    EXPECT_EQ(Vek::FindEntry(views, c.key), c.index) << c.key;
  }
  EXPECT_EQ(Vek::FindEntry(std::vector<std::string_view>(), "T.Width"), -1);
}

TEST(Entries, EntryLineJoinsKeyAndValueUncut) {
  EXPECT_EQ(Vek::EntryLine("T.Width", "400"), "T.Width=400");
  EXPECT_EQ(Vek::EntryLine("T.Caption", ""), "T.Caption=");
  EXPECT_EQ(Vek::EntryLine("T.Caption", std::string(5000, 'x')).size(), 10u + 5000u);
}

TEST(Entries, TextFileLinesSplitAtTheFirstSeparators) {
  struct Case {
    const char* line;
    const char *owner, *head, *locale, *value;
  } cases[] = {
      {"#0Form1.TOpenDialog.Caption%1036='Ouvrir'", "#0Form1", "#0Form1.TOpenDialog.Caption%1036", "1036", "'Ouvrir'"},
      {"#0Form1.T.Width%-1=563", "#0Form1", "#0Form1.T.Width%-1", "-1", "563"},
      {"#0Form1.T.Caption%1036='a=b%c'", "#0Form1", "#0Form1.T.Caption%1036", "1036", "'a=b%c'"},
      {"#0Form1.T.Caption=1", "#0Form1", "#0Form1.T.Caption", "#0Form1.T.Caption", "1"},  // no "%": the whole head
      {"#0Form1.T.Caption%1036", "#0Form1", "#0Form1.T.Caption%1036", "1036", ""},        // no "="
      {"no separators", "no separators", "no separators", "no separators", ""},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    const auto f = Vek::TextFileLine::Split(c.line);
    EXPECT_EQ(f.Owner, c.owner) << c.line;
    EXPECT_EQ(f.Head, c.head) << c.line;
    EXPECT_EQ(f.LocaleText, c.locale) << c.line;
    EXPECT_EQ(f.Value, c.value) << c.line;
  }
  const std::string longLocale = "#0F.K%" + std::string(300, '1') + "=1";
  EXPECT_EQ(Vek::TextFileLine::Split(longLocale).LocaleText.size(), 255u);
  const std::string longValue = "#0F.K%1=" + std::string(5000, 'x');
  EXPECT_EQ(Vek::TextFileLine::Split(longValue).Value.size(), 4095u);
}

TEST(Entries, TextFileLinesFormatAndGiveTheirKeyBack) {
  const std::string line = Vek::TextFileLine::Format("Form1", "TOpenDialog.Caption", "1036", "'Ouvrir'");
  EXPECT_EQ(line, "#0Form1.TOpenDialog.Caption%1036='Ouvrir'");
  EXPECT_EQ(Vek::TextFileLine::Split(line).Key(4), "TOpenDialog.Caption");
  EXPECT_EQ(Vek::TextFileLine::Format("F", "K", "-1", std::string(5000, 'x')).size(), 9u + 4095u);
  // The key drops "%" and as many characters as the locale read has digits, whatever they are.
  EXPECT_EQ(Vek::TextFileLine::Split("#0F.T.Caption%0001x=1").Key(1), "T.Caption001x");
  EXPECT_EQ(Vek::TextFileLine::Split("#0F.T.Caption=1").Key(4), "T.Caption");
  EXPECT_EQ(Vek::TextFileLine::Split("#0F").Key(1), "#0F");  // no ".": the whole head
}

// A class's texts are in the code page of its Font.Charset entry's character set: the last
// integer one counts (as applying leaves the controls with it), other classes' entries do not,
// and the default set, the symbol set and a set without a table fall back to the system's.
TEST(TextCodePage, FollowsTheClassCharsetEntry) {
  Vek::TSortList lines;
  lines.Add("TOpenDialog.Caption='x'");
  EXPECT_EQ(Vek::TextCodePage(lines, "TOpenDialog"), vcl::SystemCodePage());
  lines.Add("TSaveDialog.Font.Charset=128");
  lines.Add("TOpenDialog.Font.Charset=abc");
  EXPECT_EQ(Vek::CharsetOf(lines, "TOpenDialog"), std::nullopt);
  lines.Add("TOpenDialog.Font.Charset=238");
  lines.Add("TOpenDialog.Font.Charset=460");  // low 8 bits: 204
  EXPECT_EQ(Vek::CharsetOf(lines, "TOpenDialog"), 204);
  EXPECT_EQ(Vek::TextCodePage(lines, "TOpenDialog"), 1251);
  EXPECT_EQ(Vek::TextCodePage(lines, "TSaveDialog"), 932);
  const std::pair<int, int> table[] = {{161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
                                       {204, 1251}, {222, 874},  {238, 1250}, {128, 932},  {129, 949},  {134, 936},
                                       {136, 950}};
  for (const auto& [charset, page] : table) EXPECT_EQ(Vek::TextCodePage(charset), page) << charset;
  EXPECT_EQ(Vek::TextCodePage(0), 1252);  // ANSI_CHARSET's own page on every system
  for (const int fallback : {1, 2, 130, 99}) EXPECT_EQ(Vek::TextCodePage(fallback), vcl::SystemCodePage()) << fallback;
}
