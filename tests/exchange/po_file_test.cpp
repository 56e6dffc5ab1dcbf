// PO files: texts that survive writing and reading, the syntax gettext tools write, and faults.
#include "exchange/PoFile.hpp"

#include "test_support.hpp"

using namespace exchange;

namespace {

TextUnit Unit(std::string Key, std::string Source, std::string Target, std::string Note = "") {
  TextUnit u;
  u.Key = std::move(Key);
  u.Source = std::move(Source);
  u.Target = std::move(Target);
  u.Note = std::move(Note);
  return u;
}

}  // namespace

TEST(PoFile, TextsComeBackAsTheyWereWritten) {
  std::vector<TextUnit> units = {
      Unit("TOpenDialog.Caption", "Open", "Ouvrir"),
      Unit("TOpenDialog.Caption[1]", "Say \"hi\" \\ bye", "Dis \"salut\""),
      Unit("TOpenDialog.Caption[2]", "Line one\nLine two\n", "Ligne un\nLigne deux\n"),
      Unit("TOpenDialog.Caption[3]", "tab\there\rcr\x01\x1F\x7F", ""),
      Unit("TOpenDialog.Width", "563", "600", "width of the dialog in pixels: an integer"),
      Unit("TOpenDialog.Caption[4]", "\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"),
      Unit("TOpenDialog.Caption[5]", "Open", "\nOuvrir\n"),  // fuzzy: read although msgfmt --check would refuse it
  };
  units.back().Fuzzy = true;
  const std::string text = WritePo({"Content-Type: text/plain; charset=UTF-8"}, units);
  EXPECT_NE(text.find("#. width of the dialog in pixels: an integer\nmsgctxt \"TOpenDialog.Width\"\n"), std::string::npos);
  EXPECT_NE(text.find("msgid \"\"\n\"Line one\\n\"\n\"Line two\\n\"\n"), std::string::npos) << "one line per line";
  EXPECT_NE(text.find("\"tab\\there\\rcr\\001\\037\x7F\""), std::string::npos);
  const std::vector<TextUnit> back = ReadPo(text, "fr.po");
  ASSERT_EQ(back.size(), units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    EXPECT_EQ(back[i].Key, units[i].Key);
    EXPECT_EQ(back[i].Source, units[i].Source);
    EXPECT_EQ(back[i].Target, units[i].Target);
    EXPECT_EQ(back[i].Fuzzy, units[i].Fuzzy);
  }
}

TEST(PoFile, ReadsWhatGettextToolsWrite) {
  const std::string text =
      "\xEF\xBB\xBF# translator's comment\r\n"
      "msgid \"\"\r\n"
      "msgstr \"\"\r\n"
      "\"Content-Type: text/plain; charset=utf-8\\n\"\r\n"
      "\r\n"
      "#. extracted\n"
      "#: somewhere.c:1\n"
      "#, fuzzy, no-c-format\n"
      "#| msgid \"Opne\"\n"
      "msgctxt \"TOpenDialog.Caption\"\n"
      "msgid \"Open\"\n"
      "msgstr \"Ouvrir\"\n"
      "msgctxt \"TOpenDialog.Caption[1]\"\n"  // no blank line between messages
      "msgid \"\"\n"
      "\"A long \"\n"
      "\"text\"\n"
      "msgstr \"\"\n"
      "\"Un long \"\n"
      "\"texte \\x41\\101\\x4a\"\n"
      "\n"
      "#~ msgctxt \"TOpenDialog.Caption[9]\"\n"
      "#~ msgid \"Gone\"\n"
      "#~ msgstr \"Parti\"\n";
  const std::vector<TextUnit> units = ReadPo(text, "fr.po");
  ASSERT_EQ(units.size(), 2u);
  EXPECT_TRUE(units[0].Fuzzy);
  EXPECT_EQ(units[0].Line, 10);
  EXPECT_EQ(units[1].Source, "A long text");
  EXPECT_EQ(units[1].Target, "Un long texte AAJ");
  EXPECT_FALSE(units[1].Fuzzy);
  EXPECT_EQ(units[1].LineAt(0), 18);
  EXPECT_EQ(units[1].LineAt(8), 19);  // "texte" starts the second piece
}

TEST(PoFile, FaultsNameTheFileAndTheLine) {
  const std::string header = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";  // lines 1-3
  struct Case {
    std::string text, message;
  } cases[] = {
      {"msgctxt \"a\"\nmsgid \"x\"\nmsgstr \"y\"\nmsgtext \"z\"\n", "fr.po, line 7: unknown keyword 'msgtext'"},
      {"msgctxt \"a\"\nmsgid \"x\nmsgstr \"y\"\n", "fr.po, line 5: the string is not closed"},
      {"msgctxt \"a\"\nmsgid \"x\\q\"\nmsgstr \"y\"\n", "fr.po, line 5: unknown escape '\\q' in column 9"},
      {"msgctxt \"a\"\nmsgid \"x\\x\"\nmsgstr \"y\"\n", "fr.po, line 5: unknown escape '\\x' in column 9"},
      {"msgctxt \"a\"\nmsgid \"x\" y\nmsgstr \"y\"\n", "fr.po, line 5: text after the closing quote"},
      {"msgctxt \"a\"\nmsgid \"x\"\n", "fr.po, line 4: the file ends before this message's msgstr"},
      {"msgctxt \"a\"\nmsgid \"x\"\nmsgctxt \"b\"\n", "fr.po, line 6: msgctxt where msgstr was expected"},
      {"msgstr \"y\"\n", "fr.po, line 4: msgstr without msgid before it"},
      {"msgctxt \"a\"\nmsgid\nmsgstr \"y\"\n", "fr.po, line 5: a quoted string must follow the keyword"},
      {"msgctxt \"a\"\nmsgid \"x\"\nmsgstr \"1\"\n\nmsgctxt \"a\"\nmsgid \"x\"\nmsgstr \"2\"\n",
       "fr.po, line 8: message a given twice (first on line 4)"},
      {"msgctxt \"a\"\nmsgid \"x\"\nmsgid_plural \"xs\"\n", "fr.po, line 6: plural forms (msgid_plural) are not used for dialog texts"},
      {"msgctxt \"a\"\nmsgid \"x\"\nmsgstr[0] \"y\"\n", "fr.po, line 6: plural forms (msgstr[0]) are not used for dialog texts"},
      {"msgid \"x\"\nmsgstr \"y\"\n",
       "fr.po, line 4: a message without msgctxt names no property (the context holds the property key)"},
      {"msgctxt \"a\"\nmsgid \"x\"\nmsgstr \"\\400\"\n", "fr.po, line 6: octal escape above \\377"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_THROW_MSG(ReadPo(header + c.text, "fr.po"), vcl::EReadError, c.message);
  }
  EXPECT_THROW_MSG(ReadPo("msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n", "de.po"),
                   vcl::EReadError, "de.po, line 1: charset 'ISO-8859-1' is not read; convert the file with: msgconv --to-code=UTF-8");
  EXPECT_THROW_MSG(ReadPo("# c\n\"loose\"\n", "fr.po"), vcl::EReadError,
                   "fr.po, line 2: a string without msgctxt, msgid or msgstr before it");
  EXPECT_TRUE(ReadPo("", "empty.po").empty());
}

TEST(PoFile, FilesInAnotherEncodingOrWithLoneCrAreRefusedSayingSo) {
  const std::string po = "msgctxt \"a\"\nmsgid \"x\"\nmsgstr \"y\"\n";
  std::string little, big, cr = po;
  for (const char c : po) little += {c, '\0'}, big += {'\0', c};
  for (char& c : cr) c = c == '\n' ? '\r' : c;
  const auto utf16 = [](const char* Kind) {
    return "fr.po: the file is in UTF-16 (" + std::string(Kind) + "); PO files are read in UTF-8: convert it, e.g. with iconv -f UTF-16 -t UTF-8";
  };
  const std::string loneCr = ": a line break of CR alone in column 12: PO files break lines with LF or CR LF; convert it, e.g. with tr '\\r' '\\n'";
  struct Case {
    std::string text, message;
  } cases[] = {
      {"\xFF\xFE" + little, utf16("little-endian, with a byte-order mark")},
      {"\xFE\xFF" + big, utf16("big-endian, with a byte-order mark")},
      {little, utf16("little-endian, without byte-order mark")},
      {big, utf16("big-endian, without byte-order mark")},
      {cr, "fr.po, line 1" + loneCr},
      {"# c\r\nmsgctxt \"a\"\rmsgid \"x\"\r\n", "fr.po, line 2" + loneCr},
      // Quoted text from the file is an excerpt: 100 MB of NULs gave one 210 MB line.
      {std::string(100u << 20, '\0'), "fr.po, line 1: unknown keyword '" + std::string(80, '\0') + "... (104857520 bytes more)'"},
  };
  for (const Case& c : cases) EXPECT_THROW_MSG(ReadPo(c.text, "fr.po"), vcl::EReadError, c.message);
}

TEST(PoFile, AStringLongerThanAnEntryIsRefusedAtItsKeywordWhileRead) {
  const std::string full(Vek::MaxValueLength, 'a'), head = "msgctxt \"k\"\nmsgid \"x\"\nmsgstr \"";
  std::string accents;  // characters count, not bytes: 8190 bytes of UTF-8
  for (std::size_t i = 0; i < Vek::MaxValueLength; ++i) accents += "\xC3\xA9";
  EXPECT_EQ(ReadPo(head + accents + "\"\n", "fr.po").at(0).Target, accents);
  const std::string tooLong = "fr.po, line 3: msgstr has more than 4095 characters, more than an entry holds";
  // Wrapped over lines, escapes counted as what they stand for; the keyword's line is named.
  EXPECT_THROW_MSG(ReadPo(head + "\"\n\"" + full.substr(1) + "\"\n\"\\n\\n\"\n", "fr.po"), vcl::EReadError, tooLong);
  // An unterminated string of 200 MB is refused before its end is looked for.
  EXPECT_THROW_MSG(ReadPo(head + std::string(200u << 20, 'z'), "fr.po"), vcl::EReadError, tooLong);
}

TEST(PoFile, LineBreaksThatMsgfmtRefusesAreNamed) {
  EXPECT_EQ(LineBreakMismatch("a\n", "b\n"), "");
  EXPECT_EQ(LineBreakMismatch("\na", "b"), "the msgid begins in a line break and the msgstr does not");
  EXPECT_EQ(LineBreakMismatch("a", "\nb\n"), "the msgstr begins in a line break and the msgid does not");
  const std::string header = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";  // lines 1-3
  EXPECT_THROW_MSG(ReadPo(header + "msgctxt \"k\"\nmsgid \"a\\n\"\nmsgstr \"\"\n\"b\"\n", "fr.po"), vcl::EReadError,
                   "fr.po, line 6: message k: the msgid ends in a line break and the msgstr does not, which msgfmt --check refuses");
  // What msgfmt --check lets pass: untranslated and fuzzy messages.
  EXPECT_EQ(ReadPo(header + "msgctxt \"k\"\nmsgid \"a\\n\"\nmsgstr \"\"\n\n#, fuzzy\nmsgctxt \"l\"\nmsgid \"a\"\nmsgstr \"\\nb\"\n", "fr.po")
                .size(),
            2u);
}

TEST(PoFile, TheHeaderNamesTheLanguage) {
  struct Case {
    std::string header, language;
  } cases[] = {
      {"msgstr \"Project-Id-Version: x\\nLanguage: ja_JP\\nContent-Type: text/plain; charset=UTF-8\\n\"\n", "ja_JP"},
      {"msgstr \"\"\n\"Language:  zh-Hant \\n\"\n\"Language: ru\\n\"\n", "zh-Hant"},  // the first, without blanks
      {"msgstr \"X-Language: ko\\nLanguage:\\n\"\n", ""},
      {"msgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n", ""},
  };
  for (const Case& c : cases) {
    std::string language = "unset";
    ReadPo("msgid \"\"\n" + c.header, "fr.po", &language);
    EXPECT_EQ(language, c.language) << c.header;
  }
}

// A translator's comment goes above the message, a line of "# " each, and is no part of it read back.
TEST(PoFile, TranslatorCommentsAreWrittenAndPassedOver) {
  std::vector<TextUnit> units = {Unit("TFindDialog.Caption", "Find", "Suchen")};
  units[0].Comment = "system translation, de_DE\nsecond line";
  units[0].Fuzzy = true;
  const std::string text = WritePo({"Content-Type: text/plain; charset=UTF-8"}, units);
  EXPECT_NE(text.find("# system translation, de_DE\n# second line\n#, fuzzy\nmsgctxt \"TFindDialog.Caption\"\n"), std::string::npos)
      << text;
  const std::vector<TextUnit> back = ReadPo(text, "de.po");
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].Target, "Suchen");
  EXPECT_TRUE(back[0].Fuzzy);
  EXPECT_EQ(back[0].Comment, "");
}
