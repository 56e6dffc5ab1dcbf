// XLIFF 1.2: texts that survive libxml2 both ways, target states, and documents refused by line.
#include "exchange/XliffFile.hpp"

#include "test_support.hpp"

using namespace exchange;

namespace {

class Xliff : public ::testing::Test {
protected:
  void SetUp() override {
    if (!XliffAvailable()) GTEST_SKIP() << "this build has no libxml2 (the MinGW build): XLIFF is not available";
  }
};

TextUnit Unit(std::string Key, std::string Source, std::string Target, std::string Note = "") {
  TextUnit u;
  u.Key = std::move(Key);
  u.Source = std::move(Source);
  u.Target = std::move(Target);
  u.Note = std::move(Note);
  return u;
}

const std::string Head =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" version=\"1.2\">\n"
    "<file original=\"Form1\" datatype=\"plaintext\" source-language=\"en\"><body>\n";  // lines 1-3
const std::string Tail = "</body></file></xliff>\n";

}  // namespace

TEST_F(Xliff, TextsComeBackAsTheyWereWritten) {
  const std::vector<TextUnit> units = {
      Unit("TFontDialog.Caption", "Font", "Police"),
      Unit("TOpenDialog.Caption[1]", "<&> \"'x'\"", "&amp; <b>"),
      Unit("TOpenDialog.Caption[2]", "Line one\nLine two", "a\rb\tc  "),  // a lone CR survives as &#13;
      Unit("TOpenDialog.Caption[3]", "\xC3\xA9t\xC3\xA9", ""),
      Unit("TOpenDialog.Width", "563", "600", "width of the dialog in pixels: an integer"),
  };
  const std::string text = WriteXliff("Form1", "fr", units);
  EXPECT_NE(text.find("target-language=\"fr\""), std::string::npos);
  EXPECT_NE(text.find("<group id=\"TOpenDialog\""), std::string::npos);
  EXPECT_EQ(WriteXliff("Form1", "", units).find("target-language"), std::string::npos);
  const std::vector<TextUnit> back = ReadXliff(text, "fr.xlf");
  ASSERT_EQ(back.size(), units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    EXPECT_EQ(back[i].Key, units[i].Key);
    EXPECT_EQ(back[i].Source, units[i].Source);
    EXPECT_EQ(back[i].Target, units[i].Target);
    EXPECT_FALSE(back[i].Fuzzy);
  }
  EXPECT_THROW_MSG(WriteXliff("Form1", "", {Unit("TOpenDialog.Caption", "a\x01", "")}), vcl::EConvertError,
                   "TOpenDialog.Caption, character 2: control character #1 cannot be held by XML 1.0");
}

TEST_F(Xliff, AFuzzyTranslationGoesOutForReviewAndComesBackFuzzy) {
  TextUnit fuzzy = Unit("TOpenDialog.Caption", "Open", "Ouvrir ?");
  fuzzy.Fuzzy = true;
  const std::string text = WriteXliff("Form1", "fr", {fuzzy, Unit("TOpenDialog.Width", "563", "600")});
  EXPECT_NE(text.find("state=\"needs-review-translation\""), std::string::npos) << text;
  const std::vector<TextUnit> back = ReadXliff(text, "fr.xlf");
  ASSERT_EQ(back.size(), 2u);
  EXPECT_TRUE(back[0].Fuzzy);
  EXPECT_EQ(back[0].Target, "Ouvrir ?");
  EXPECT_FALSE(back[1].Fuzzy);
}

TEST_F(Xliff, TargetStatesSayWhatIsTaken) {
  const std::vector<TextUnit> units = ReadXliff(
      Head +
          "<trans-unit id=\"a\"><source>A</source><target state=\"translated\">X</target></trans-unit>\n"
          "<trans-unit id=\"b\"><source>B</source><target state=\"needs-translation\">B</target></trans-unit>\n"
          "<trans-unit id=\"c\"><source>C</source><target state=\"needs-review-translation\">Y</target></trans-unit>\n"
          "<group id=\"g\"><trans-unit id=\"d\"><source>D</source><target><![CDATA[<Z>]]></target></trans-unit></group>\n"
          "<trans-unit id=\"e\" translate=\"no\"><source>E</source></trans-unit>\n"
          "<trans-unit id=\"f\"><source>F</source><!-- note --><target>two\nlines</target></trans-unit>\n" +
          Tail,
      "fr.xlf");
  ASSERT_EQ(units.size(), 5u);
  EXPECT_EQ(units[0].Target, "X");
  EXPECT_EQ(units[1].Target, "");  // still to be translated: nothing to take
  EXPECT_TRUE(units[2].Fuzzy);
  EXPECT_EQ(units[3].Target, "<Z>");
  EXPECT_EQ(units[3].Line, 7);
  EXPECT_EQ(units[4].Key, "f");
  EXPECT_EQ(units[4].LineAt(4), 10);  // "lines" is on the line after the target's
}

TEST_F(Xliff, DocumentsThatAreNotReadNameTheLine) {
  struct Case {
    std::string text, message;
  } cases[] = {
      {Head + "<trans-unit id=\"a\"><source>A</source>\n" + Tail, "fr.xlf, line 5: Opening and ending tag mismatch: trans-unit line 4 and body"},
      {"<?xml version=\"1.0\"?>\n<root/>\n", "fr.xlf, line 2: <root> is no XLIFF 1.2 document (root <xliff> in namespace urn:oasis:names:tc:xliff:document:1.2)"},
      {"<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"2.0\"/>",
       "fr.xlf, line 1: <xliff> in namespace urn:oasis:names:tc:xliff:document:2.0 is no XLIFF 1.2 document (root <xliff> in namespace urn:oasis:names:tc:xliff:document:1.2)"},
      {"<xliff xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" version=\"1.1\"/>", "fr.xlf, line 1: XLIFF version '1.1' is not read; only 1.2"},
      {Head + "<trans-unit><source>A</source></trans-unit>\n" + Tail, "fr.xlf, line 4: trans-unit without id (the id holds the property key)"},
      {Head + "<trans-unit id=\"a\"><target>A</target></trans-unit>\n" + Tail, "fr.xlf, line 4: trans-unit a has no <source>"},
      {Head + "<trans-unit id=\"a\"><source>A</source></trans-unit>\n<trans-unit id=\"a\"><source>A</source></trans-unit>\n" + Tail,
       "fr.xlf, line 5: trans-unit a given twice (first on line 4)"},
      {Head + "<trans-unit id=\"a\"><source>A <g id=\"1\">b</g></source></trans-unit>\n" + Tail,
       "fr.xlf, line 4: markup <g> inside <source> of a is not read; plain text only"},
      // An external entity is never fetched: the declaration is refused where it stands.
      {"<?xml version=\"1.0\"?>\n<!DOCTYPE xliff [<!ENTITY e SYSTEM \"file:///etc/hostname\">]>\n" + Head.substr(Head.find('\n') + 1) +
           "<trans-unit id=\"a\"><source>&e;</source></trans-unit>\n" + Tail,
       "fr.xlf, line 2: a document type declaration (<!DOCTYPE xliff>) is not read: XLIFF needs none, and the entities it may "
       "declare are never expanded"},
      // Elements of XLIFF's names in another namespace are reported, not passed over.
      {Head + "<trans-unit xmlns=\"urn:oasis:names:tc:xliff:document:1.1\" id=\"a\"><source>A</source></trans-unit>\n" + Tail,
       "fr.xlf, line 4: <trans-unit> in namespace urn:oasis:names:tc:xliff:document:1.1 is not read: the elements of XLIFF 1.2 "
       "are in namespace urn:oasis:names:tc:xliff:document:1.2"},
      {Head + "<trans-unit id=\"a\"><source>A</source>\n<target xmlns=\"\">B</target></trans-unit>\n" + Tail,
       "fr.xlf, line 5: <target> without namespace is not read: the elements of XLIFF 1.2 are in namespace "
       "urn:oasis:names:tc:xliff:document:1.2"},
  };
  for (const Case& c : cases) EXPECT_THROW_MSG(ReadXliff(c.text, "fr.xlf"), vcl::EReadError, c.message);
}

TEST_F(Xliff, ATextLongerThanAnEntryIsRefusedAtItsElementWhileRead) {
  const std::string full(Vek::MaxValueLength, 'a');
  const auto unit = [](const std::string& Target) {
    return Head + "<trans-unit id=\"k\"><source>A</source>\n<target>" + Target + "</target></trans-unit>\n" + Tail;
  };
  ASSERT_EQ(ReadXliff(unit(full), "fr.xlf").at(0).Target, full);
  for (const std::string& target : {full.substr(2) + "<![CDATA[bcd]]>",  // text and CDATA count together
                                    full.substr(1) + "<!-- c -->&#233;&#xE9;",  // as do character references
                                    full + std::string(50u << 20, ' ')})  // refused before the parser reads it all
    EXPECT_THROW_MSG(ReadXliff(unit(target), "fr.xlf"), vcl::EReadError,
                     "fr.xlf, line 5: <target> of trans-unit k has more than 4095 characters, more than an entry holds");
}

TEST_F(Xliff, TheFilesNameOneTargetLanguage) {
  int units = 0;
  const auto file = [&](const std::string& Language) {
    return "<file original=\"Form1\" datatype=\"plaintext\" source-language=\"en\"" +
           (Language.empty() ? "" : " target-language=\"" + Language + "\"") + "><body><trans-unit id=\"" + std::to_string(++units) +
           "\"><source>A</source></trans-unit></body></file>\n";
  };
  const std::string root = "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" version=\"1.2\">\n";  // line 1
  struct Case {
    std::string body, language;
  } cases[] = {{file("ja-JP"), "ja-JP"}, {file(""), ""}, {file("") + file("ru"), "ru"}, {file("ru") + file("ru"), "ru"}};
  for (const Case& c : cases) {
    std::string language = "unset";
    ReadXliff(root + c.body + "</xliff>\n", "ru.xlf", &language);
    EXPECT_EQ(language, c.language) << c.body;
  }
  EXPECT_THROW_MSG(ReadXliff(root + file("ru") + file("ja") + "</xliff>\n", "ru.xlf"), vcl::EReadError,
                   "ru.xlf, line 3: target-language 'ja' differs from 'ru' of the <file> on line 2: the units of one language are "
                   "taken at a time");
}
