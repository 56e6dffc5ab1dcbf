// The entry language: splitting, the ten kinds in test order, ids, decoded values, keys.
#include "Vek.hpp"

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
