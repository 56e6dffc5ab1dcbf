// The text form: every value type both ways, what the parser accepts beyond what the writer
// writes, and errors naming the line.
#include <cstring>

#include "form_test_support.hpp"
#include "test_support.hpp"

using namespace vcl;
using namespace form_test;

namespace {

// A form "T" with one property P of the given encoded value, and its text.
std::string BinaryForm(std::string_view Value) { return Hex("'TPF0' 01 'T' 00 01 'P'") + std::string(Value) + Hex("00 00"); }
std::string TextForm(std::string_view Value) { return "object T\r\n  P = " + std::string(Value) + "\r\nend\r\n"; }

std::string Extended(long double Value) {
  std::string bytes(10, '\0');
  std::memcpy(bytes.data(), &Value, 10);
  return Hex("05") + bytes;
}

struct TCase {
  const char* Name;
  std::string Binary;  // the encoded value
  std::string Text;    // as the text form writes it
};

// What the writer writes, and the parser reads back to the same bytes.
const TCase BothWays[] = {
    {"plain string", Hex("06 05 'Hello'"), "'Hello'"},
    {"empty string", Hex("06 00"), "''"},
    {"apostrophe and control characters", Hex("06 07 'it' 27 's' 0D0A 'x'"), "'it'#39's'#13#10'x'"},
    {"bytes beyond ASCII stay raw", Hex("06 04 'caf' E9"), "'caf\xE9'"},
    {"64 characters on one line", Hex("06 40") + std::string(64, 'a'), "'" + std::string(64, 'a') + "'"},
    {"65 characters split after 64", Hex("06 41") + std::string(65, 'a'),
     "\r\n    '" + std::string(64, 'a') + "' +\r\n    'a'"},
    {"a code counts as one character", Hex("06 42") + std::string(63, 'a') + "\r" + "bc",
     "\r\n    '" + std::string(63, 'a') + "'#13 +\r\n    'bc'"},
    {"256 bytes are a long string", Hex("0C 00010000") + std::string(256, 'b'),
     "\r\n    '" + std::string(64, 'b') + "' +\r\n    '" + std::string(64, 'b') + "' +\r\n    '" + std::string(64, 'b') +
         "' +\r\n    '" + std::string(64, 'b') + "'"},
    {"wide string beyond 255 as codes", Hex("12 03000000 4100 2700 3D04"), "'A'#39#1085"},
    {"wide string within 255 marked by an empty piece", Hex("12 03000000 4100 2700 E900"), "'' + 'A'#39#233"},
    {"empty wide string", Hex("12 00000000"), "'' + ''"},
    {"integers", Hex("03 7FFF"), "-129"},
    {"64-bit integer", Hex("13 0000000001000000"), "4294967296"},
    {"identifier", Hex("07 08 'alClient'"), "alClient"},
    {"dotted identifier", Hex("07 0B 'dm.ilImages'"), "dm.ilImages"},
    {"booleans, nil and Null", Hex("01 08 09 0D 00"), "(\r\n    False\r\n    True\r\n    nil)"},
    {"extended", Extended(41200.5L), "41200.500000000000000000"},
    {"extended needing more digits", Extended(1.0L / 3), "0.33333333333333333334"},
    {"integral extended keeps a point", Extended(123456789012345678.0L), "123456789012345678.0"},
    {"large extended", Extended(1e20L), "1E20"},
    {"negative zero", Extended(-0.0L), "-0.000000000000000000"},
    {"single", Hex("0F CDCCCC3D"), "0.100000001490116s"},
    {"date", Hex("11 A6AAAAAADE71E240"), "37774.9583333333d"},
    {"currency in ten-thousandths", Hex("10 A861000000000000"), "25000c"},
    {"lowest currency", Hex("10 0000000000000080"), "-9223372036854775808c"},
    {"set", Hex("0B 06 'fsBold' 08 'fsItalic' 00"), "[fsBold, fsItalic]"},
    {"empty set", Hex("0B 00"), "[]"},
    {"empty list", Hex("01 00"), "()"},
    {"list of strings", Hex("01 06 01 'a' 06 00 00"), "(\r\n    'a'\r\n    '')"},
    {"short binary", Hex("0A 02000000 01AB"), "{01AB}"},
    {"empty binary", Hex("0A 00000000"), "{}"},
    {"binary of 33 bytes", Hex("0A 21000000") + std::string(33, '\x11'),
     "{\r\n    " + std::string(64, '1') + "\r\n    11}"},
    {"collection", Hex("0E 01 04 'Name' 06 01 'a' 00 02 03 01 00 00"),
     "<\r\n    item\r\n      Name = 'a'\r\n    end\r\n    item [3]\r\n    end>"},
    {"empty collection", Hex("0E 00"), "<>"},
};

TEST(FormText, ValuesConvertBothWays) {
  for (const TCase& c : BothWays) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Convert(ObjectBinaryToText, BinaryForm(c.Binary)), TextForm(c.Text));
    EXPECT_EQ(Convert(ObjectTextToBinary, TextForm(c.Text)), BinaryForm(c.Binary));
  }
}

// Text never becomes a UTF-8 string, which the hosts cannot read: the writer writes one as the
// string reading it gives, and that is what the text converts back to.
TEST(FormText, Utf8StringsComeBackAsTheStringsTheyAreRead) {
  struct TOneWay {
    const char* Name;
    std::string Binary, Text, Back;
  } cases[] = {
      {"characters of the code page", Hex("14 0A000000 'R' C3A9 'pert' E282AC"), "'R\xE9pert\x80'",
       Hex("06 07 'R' E9 'pert' 80")},
      {"characters beyond the code page", Hex("14 09000000 'Caf' C3A9 F09F9880"), "'Caf'#233#55357#56832",
       Hex("12 06000000 4300 6100 6600 E900 3DD8 00DE")},
      {"a control character the code page lacks", Hex("14 02000000 C280"), "'' + #128", Hex("12 01000000 8000")},
      {"bytes that are not UTF-8", Hex("14 02000000 E9FF"), "'\xE9\xFF'", Hex("06 02 E9FF")},
  };
  for (const TOneWay& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Convert(ObjectBinaryToText, BinaryForm(c.Binary)), TextForm(c.Text));
    EXPECT_EQ(Convert(ObjectTextToBinary, TextForm(c.Text)), BinaryForm(c.Back));
  }
}

TEST(FormText, HeadersConvertBothWays) {
  const TCase cases[] = {
      {"object with a name", Hex("06 'TForm1' 05 'Form1' 00 00"), "object Form1: TForm1\r\nend\r\n"},
      {"object without a name", Hex("06 'TForm1' 00 00 00"), "object TForm1\r\nend\r\n"},
      {"inherited with a child position", Hex("F3 02 05 06 'TPanel' 02 'P1' 00 00"), "inherited P1: TPanel [5]\r\nend\r\n"},
      {"inline", Hex("F4 06 'TFrame' 02 'F1' 00 00"), "inline F1: TFrame\r\nend\r\n"},
      {"children, indented",
       Hex("01 'A' 01 'a' 00 01 'B' 01 'b' 00 01 'C' 01 'c' 00 00 00 00"),
       "object a: A\r\n  object b: B\r\n    object c: C\r\n    end\r\n  end\r\nend\r\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Convert(ObjectBinaryToText, "TPF0" + c.Binary), c.Text);
    EXPECT_EQ(Convert(ObjectTextToBinary, c.Text), "TPF0" + c.Binary);
  }
}

// What other writers (Lazarus, hand-written text) put in a form, and the parser accepts.
TEST(FormText, ParserAcceptsWhatOtherWritersWrite) {
  const TCase cases[] = {
      {"doubled apostrophe", Hex("06 04 'it' 27 's'"), "'it''s'"},
      {"hexadecimal code", Hex("06 01 'A'"), "#$41"},
      {"pieces joined on one line", Hex("06 02 'ab'"), "'a' + 'b'"},
      {"code 128 to 255 is that ANSI byte", Hex("06 01 A9"), "#169"},
      {"codes between quoted runs", Hex("06 0A 'R' E9 'pertoire'"), "'R'#233'pertoire'"},
      {"code 255 is a byte, 256 makes the string wide", Hex("12 02000000 FF00 0001"), "#255#256"},
      {"raw bytes next to a wide code are the code page's characters", Hex("12 03000000 E900 AC20 2C01"),
       "'\xE9\x80'#300"},
      {"a wide code in a later piece makes the whole string wide", Hex("12 02000000 4100 AC20"), "'A' + #8364"},
      {"identifiers for booleans in any case", Hex("09"), "true"},
      {"hexadecimal integer", Hex("03 FF00"), "$FF"},
      {"float without suffix", Extended(1.5L), "1.5"},
      {"float with exponent", Extended(15.0L), "1.5e1"},
      {"integer date", Hex("11 0000000000000040"), "2d"},
      {"currency rounds half to even", Hex("10 0200000000000000"), "2.5c"},
      {"set of integers", Hex("0B 01 '1' 02 '-2' 00"), "[1, -2]"},
      {"binary with blanks between pairs", Hex("0A 02000000 01AB"), "{ 01\r\n AB }"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Convert(ObjectTextToBinary, TextForm(c.Text)), BinaryForm(c.Binary));
  }
  EXPECT_EQ(Convert(ObjectTextToBinary, "\xEF\xBB\xBFOBJECT T\nP = 1\nEND"), BinaryForm(Hex("02 01")));
  EXPECT_EQ(Convert(ObjectTextToBinary, "object T\r\n  object U[0]\r\n  end\r\nend"),
            Hex("'TPF0' 01 'T' 00 00 F2 02 00 01 'U' 00 00 00 00"));
}

TEST(FormText, TextErrorsNameTheLine) {
  struct TError {
    std::string Text;
    std::string Message;
  };
  const TError cases[] = {
      {"", "'object', 'inherited' or 'inline' expected, found the end of the text on line 1"},
      {"object\r\n", "A component name or class name expected, found the end of the text on line 2"},
      {"object A:\r\n", "A class name expected, found the end of the text on line 2"},
      {"object T\n  P 1\nend", "'=' expected, found '1' on line 2"},
      {"object T\n  P = 'abc\nend", "Unterminated string on line 2"},
      {"object T\n  P = #\nend", "Invalid character code on line 2"},
      {"object T\n  P = #65536\nend", "Character code out of range on line 2"},
      {"object T\n  P = 'a' +\n  Q = 1\nend", "String expected after '+', found 'Q' on line 3"},
      {"object T\n  P = 1.2.3\nend", "Invalid floating point value '1.2.3' on line 2"},
      {"object T\n  P = 1e5000\nend", "Invalid floating point value '1e5000' on line 2"},
      {"object T\n  P = 1e39s\nend", "Single value '1e39' out of range on line 2"},
      {"object T\n  P = 1e19c\nend", "Currency value '1e19' out of range on line 2"},
      {"object T\n  P = 9223372036854775808\nend", "Integer 9223372036854775808 out of range on line 2"},
      {"object T\n  P = -\nend", "Invalid number '-' on line 2"},
      {"object T\n  P = {0\n1}\nend", "Invalid binary value on line 2"},
      {"object T\n  P = {00\n", "Binary value not closed by '}' on line 3"},
      {"object T\n  P = [a b]\nend", "',' expected, found 'b' on line 2"},
      {"object T\n  P = [a,\n-]\nend", "Invalid number '-' on line 3"},
      {"object T\n  P = (1 Null)\nend", "Null cannot be a list item on line 2"},
      {"object T\n  P = <foo>\nend", "'item' expected, found 'foo' on line 2"},
      {"object T\n  P = )\nend", "Property value expected, found ')' on line 2"},
      {"object T\n  P = 1\n", "A property name expected, found the end of the text on line 3"},
      {"object T [99999999999]\nend", "Child position 99999999999 out of range on line 1"},
      {"object T\n  " + std::string(256, 'P') + " = 1\nend", "Name '" + std::string(32, 'P') + "...' is longer than 255 bytes on line 2"},
      {"object T\n  P = (" + std::string(200, '(') + "\nend", "Nesting deeper than 128 levels on line 2"},
  };
  for (const TError& c : cases) {
    SCOPED_TRACE(c.Text.substr(0, 60));
    TStreamOf in(c.Text);
    TMemoryStream out;
    EXPECT_THROW_MSG(ObjectTextToBinary(in, out), EReadError, c.Message);
    EXPECT_EQ(out.Bytes().size(), 0u);  // nothing written
    EXPECT_EQ(in.Position(), 0);
  }
}

TEST(FormText, ConversionsLeaveTheInputAfterTheForm) {
  const std::string text = "object A\nend\n  object B\nend\n";
  TStreamOf in(text);
  TMemoryStream out;
  ObjectTextToBinary(in, out);
  EXPECT_EQ(in.Position(), static_cast<std::int64_t>(text.find("object B")));
  ObjectTextToBinary(in, out);
  EXPECT_EQ(Bytes(out), Hex("'TPF0' 01 'A' 00 00 00 'TPF0' 01 'B' 00 00 00"));

  TStreamOf binary(Bytes(out));
  TMemoryStream texts;
  ObjectBinaryToText(binary, texts);
  EXPECT_EQ(binary.Position(), 9);
  ObjectBinaryToText(binary, texts);
  EXPECT_EQ(Bytes(texts), "object A\r\nend\r\nobject B\r\nend\r\n");
}

TEST(FormText, ResourcesGetTheClassNameInUpperCase) {
  const std::string resource = Convert(ObjectTextToResource, "inherited F: TMain_Form [1]\nend\n");
  EXPECT_EQ(resource, Hex("FF 0A 00 'TMAIN_FORM' 00 3010 16000000 'TPF0' F3 02 01 0A 'TMain_Form' 01 'F' 00 00"));
  EXPECT_EQ(Convert(ObjectResourceToText, resource), "inherited F: TMain_Form [1]\r\nend\r\n");
  EXPECT_THROW_MSG(Convert(ObjectResourceToText, "TPF0"), EReadError, "No resource header (FF 0A 00) at offset 0");
}

// Names that would not read back as the same token are refused rather than written.
TEST(FormText, BinaryNamesMustBeIdentifiers) {
  EXPECT_THROW_MSG(Convert(ObjectBinaryToText, Hex("'TPF0' 03 'A B' 00 00 00")), EReadError, "Invalid class name 'A B' at offset 4");
  EXPECT_THROW_MSG(Convert(ObjectBinaryToText, BinaryForm(Hex("07 02 '1x'"))), EReadError, "Invalid identifier '1x' at offset 9");
  EXPECT_THROW_MSG(Convert(ObjectBinaryToText, BinaryForm(Hex("0B 02 'a,' 00"))), EReadError, "Invalid set element 'a,' at offset 10");
}

}  // namespace

// The lines the form reader met each item of a list on: what `lumetra check` names entries by.
TEST(TextFormListLines, EachItemOfTheNamedComponentsListByItsFirstLine) {
  const char* const form =
      "object F: TForm\n"
      "  object Memo1: TMemo\n"
      "    Lines.Strings = ('not' 'these')\n"
      "  end\n"
      "  object Panel1: TPanel\n"
      "    object Lumetra1: TLumetra\n"
      "      translations.strings = (\n"
      "        'TOpenDialog.Caption='#39'a' +\n"
      "        'b)'#39\n"
      "        'TOpenDialog.Width=1' 'x')\n"
      "    end\n"
      "  end\n"
      "  inline Frame1: TFrame1\n"
      "    object Lumetra1: TLumetra\n"
      "      Translations.Strings = (\n"
      "        'TFontDialog.Caption=1')\n"
      "    end\n"
      "  end\n"
      "end\n";
  // A component nested in a panel is still the form's; a string goes on over lines ending in
  // "+", and a ")" inside it ends nothing.
  EXPECT_EQ(TextFormListLines(form, "Lumetra1", "Translations.Strings"), (std::vector<int>{8, 10, 10}));
  // The components of a frame are the frame's.
  EXPECT_EQ(TextFormListLines(form, "Frame1.Lumetra1", "Translations.Strings"), (std::vector<int>{16}));
  EXPECT_EQ(TextFormListLines(form, "Memo1", "Lines.Strings"), (std::vector<int>{3, 3}));
  EXPECT_TRUE(TextFormListLines(form, "Panel1", "Translations.Strings").empty());
  EXPECT_TRUE(TextFormListLines(form, "Lumetra1", "Lines.Strings").empty());
  EXPECT_THROW(TextFormListLines("object F: TForm\n  Tag = (\n", "", "Tag"), EReadError);
}
