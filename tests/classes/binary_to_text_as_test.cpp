// A form stream written back as the text it was read from: unchanged text in any layout comes
// back as it was; what changed, was added or went is written or left out there, and nothing else.
#include "form_test_support.hpp"
#include "test_support.hpp"

using namespace vcl;
using namespace form_test;

namespace {

// The stream of Now written back as the text Original had it.
std::string TextAs(const std::string& Now, const std::string& Original, std::string_view LineBreak = "\r\n") {
  TStreamOf in(Convert(ObjectTextToBinary, Now));
  TMemoryStream out;
  ObjectBinaryToTextAs(in, out, Original, LineBreak);
  EXPECT_EQ(in.Position(), in.Size());
  return Bytes(out);
}

// Layouts that other writers use, or that hands made (the real forms have more); the parser
// takes them all.
TEST(BinaryToTextAs, UnchangedTextComesBackAsItWas) {
  const char* const cases[] = {
      "object Form1: TForm1\n  Caption = 'Main'\nend",              // no line break at the end
      "object Form1: TForm1\r  Caption = 'Main'\rend\r",           // lone CR
      "\xEF\xBB\xBFobject Form1: TForm1\n  Caption = 'M'\nend\n",  // a byte order mark
      "\n\nOBJECT   Form1 :TForm1  \n\tLeft=1\n END  \n\n trailing text\n",
      "object F: T\n  Caption = '' + 'wide' + #169\n  Tag = $0A\n  Size = 1.50\n  Options = [b,a]\nend\n",
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(TextAs(text, text), text);
  }
}

TEST(BinaryToTextAs, WhatChangedIsWrittenThereAsTheConverterWritesIt) {
  const std::string original =
      "object Form1: TForm1\n"
      "   Left =  1  \n"
      "   Caption = 'a' +\n"
      "      'b'\n"
      "   Tag = $10\n"
      "   object Button1: TButton\n"
      "      Caption='OK'\n"
      "   end  \n"
      "\n"
      "   object Gone: TButton\n"
      "   end\n"
      "end\n";
  struct Case {
    const char* What;
    std::string Now;
    std::string Expected;
  } cases[] = {
      {"a value", "object Form1: TForm1\n  Left = 1\n  Caption = 'c'\n  Tag = 16\n  object Button1: TButton\n  Caption = 'OK'\n  end\n"
                  "  object Gone: TButton\n  end\nend\n",
       "object Form1: TForm1\n   Left =  1  \n   Caption = 'c'\n   Tag = $10\n   object Button1: TButton\n      Caption='OK'\n   end  \n\n"
       "   object Gone: TButton\n   end\nend\n"},
      {"a property gone, one added, a child gone",
       "object Form1: TForm1\n  Caption = 'ab'\n  Tag = 16\n  Top = 2\n  object Button1: TButton\n  Caption = 'OK'\n  end\nend\n",
       "object Form1: TForm1\n   Caption = 'a' +\n      'b'\n   Tag = $10\n  Top = 2\n   object Button1: TButton\n      Caption='OK'\n"
       "   end  \n\nend\n"},
      {"a child added, one renamed",
       "object Form1: TForm1\n  Left = 1\n  Caption = 'ab'\n  Tag = 16\n  object Button1: TButton\n  Caption = 'OK'\n  end\n"
       "  object Kept: TButton\n  end\n  object Lumetra1: TLumetra\n    Locale = 1031\n  end\nend\n",
       "object Form1: TForm1\n   Left =  1  \n   Caption = 'a' +\n      'b'\n   Tag = $10\n   object Button1: TButton\n"
       "      Caption='OK'\n   end  \n\n   object Kept: TButton\n   end\n  object Lumetra1: TLumetra\n    Locale = 1031\n  end\nend\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    EXPECT_EQ(TextAs(c.Now, original, "\n"), c.Expected);
  }
}

TEST(BinaryToTextAs, AFaultyStreamOrOriginalGivesNothing) {
  const std::string form = "object F: T\n  Tag = 1\nend\n";
  TMemoryStream out;
  {
    TStreamOf in(Convert(ObjectTextToBinary, form).substr(0, 12));
    EXPECT_THROW(ObjectBinaryToTextAs(in, out, form, "\n"), EReadError);
    EXPECT_EQ(in.Position(), 0);
  }
  TStreamOf in(Convert(ObjectTextToBinary, form));
  EXPECT_THROW_MSG(ObjectBinaryToTextAs(in, out, "object F: T\n  Tag = =\nend\n", "\n"), EReadError,
                   "Property value expected, found '=' on line 2");
  EXPECT_EQ(out.Size(), 0);
}

}  // namespace
