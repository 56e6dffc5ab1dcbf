// Reading forms into components and writing them back: the class registry, placeholders for
// unknown classes, properties a class does not know, Loading and Loaded, failures.
#include "form_test_support.hpp"
#include "test_support.hpp"

using namespace vcl;
using namespace form_test;

namespace {

std::vector<std::string> Log;

// A registered class that knows a few of the properties a real button has.
class TKnob : public TComponent {
  VCL_DECLARE_CLASS
public:
  explicit TKnob(TComponent* AOwner) : TComponent(AOwner) { Log.push_back("create"); }
  std::string Caption;
  int Tag = 0;
  TClick OnClick;
  void Loaded() override {
    // Everything is read by now, the last sibling too.
    Log.push_back("loaded " + Name() + (Owner() && Owner()->FindComponent("Last") ? " after Last" : ""));
    TComponent::Loaded();
  }
};

VCL_IMPLEMENT_CLASS(TKnob, TComponent, [](TMetaClass& c) {
  c.Publish<TKnob>()
      .String("Caption", [](const TKnob* k) { return k->Caption; }, [](TKnob* k, std::string v) { k->Caption = std::move(v); })
      .Integer("Tag", [](const TKnob* k) { return k->Tag; }, [](TKnob* k, int v) { k->Tag = v; })
      .Default(0)
      .Event("OnClick", [](const TKnob* k) { return k->OnClick; }, [](TKnob* k, TClick v) { k->OnClick = std::move(v); });
})

// A class whose values a form stream may hold otherwise than the class writes them: a position
// it computes (it reports at most 2, as a tab order counts the siblings it knows), a size its
// constructor sets, a colour with identifiers, a set, and a note that only a defined property
// streams, whose writer does more than encode.
class TDial : public TComponent {
  VCL_DECLARE_CLASS
public:
  explicit TDial(TComponent* AOwner) : TComponent(AOwner) {}
  int Width = 10;
  int Order = -1;
  int Color = 0;
  unsigned Style = 0;
  std::string Note;
  static inline int NotesWritten = 0;
  int ReportedOrder() const { return std::min(Order, 2); }
  void DefineProperties(TFiler* Filer) override {
    Filer->DefineProperty(
        "Note", [this](TReader* R) { Note = R->ReadString(); },
        [this](TWriter* W) {
          ++NotesWritten;
          W->WriteString(Note);
        },
        !Note.empty());
  }
};

const TIdentMapEntry DialColors[] = {{0x0000FF, "clRed"}, {0xFF0000, "clBlue"}};

VCL_IMPLEMENT_CLASS(TDial, TComponent, [](TMetaClass& c) {
  c.Publish<TDial>()
      .Integer("Width", [](const TDial* d) { return d->Width; }, [](TDial* d, int v) { d->Width = v; })
      .Default(0)
      .Integer("Order", &TDial::ReportedOrder, [](TDial* d, int v) { d->Order = v; })
      .Default(-1)
      .Integer("Color", [](const TDial* d) { return d->Color; }, [](TDial* d, int v) { d->Color = v; })
      .Idents(DialColors)
      .Default(0)
      .Set("Style", [](const TDial* d) { return d->Style; }, [](TDial* d, unsigned v) { d->Style = v; }, {"a", "b", "c"})
      .Default(0);
})

const bool Registered = [] {
  RegisterClass(TKnob::StaticClass());
  RegisterClass(TDial::StaticClass());
  return true;
}();

std::string Text(std::string_view Binary) { return Convert(ObjectBinaryToText, Binary); }
std::string Binary(std::string_view Text) { return Convert(ObjectTextToBinary, Text); }

const char* const Form =
    "object Form1: TForm1\r\n"
    "  Left = 10\r\n"
    "  Caption = 'Main'\r\n"
    "  object Panel1: TPanel\r\n"
    "    Align = alTop\r\n"
    "    object Knob1: TKnob\r\n"
    "      Left = 1\r\n"
    "      Caption = 'Go'\r\n"
    "      Font.Style = [fsBold]\r\n"
    "      OnClick = Knob1Click\r\n"
    "      Hint = 'h'\r\n"
    "    end\r\n"
    "  end\r\n"
    "  inherited Last: TKnob [2]\r\n"
    "    OnClick = nil\r\n"
    "  end\r\n"
    "end\r\n";

TEST(Filer, UnknownClassesBecomePlaceholdersThatKeepEverything) {
  const std::string binary = Binary(Form);
  const auto root = ReadForm(binary);
  ASSERT_TRUE(root->Is<TUnknownComponent>());
  EXPECT_EQ(static_cast<TUnknownComponent*>(root.get())->StreamedClassName(), "TForm1");
  EXPECT_EQ(root->Name(), "Form1");
  ASSERT_EQ(root->ComponentCount(), 2);
  TComponent* panel = root->Components(0);
  EXPECT_EQ(static_cast<TUnknownComponent*>(panel)->StreamedClassName(), "TPanel");
  auto* knob = dynamic_cast<TKnob*>(panel->Components(0));
  ASSERT_NE(knob, nullptr);
  EXPECT_EQ(knob->Caption, "Go");
  EXPECT_EQ(knob->OnClick.MethodName(), "Knob1Click");
  EXPECT_EQ(root->Components(1)->StreamedInfo()->Flags, ffInherited | ffChildPos);
  EXPECT_EQ(root->Components(1)->StreamedInfo()->ChildPos, 2);
  EXPECT_EQ(WriteForm(root.get()), binary);
}

TEST(Filer, UnknownPropertiesStayInPlaceAroundChangedKnownOnes) {
  const auto root = ReadForm(Binary(Form));
  auto* knob = static_cast<TKnob*>(root->Components(0)->Components(0));
  knob->Caption = "Stop";  // changed
  knob->Tag = 3;           // now stored, after Caption in declaration order
  knob->OnClick = TClick();
  auto* last = static_cast<TKnob*>(root->Components(1));
  last->OnClick = TClick("LastClick");  // the class writes it now, replacing the kept nil
  EXPECT_EQ(Text(WriteForm(root.get())),
            "object Form1: TForm1\r\n"
            "  Left = 10\r\n"
            "  Caption = 'Main'\r\n"
            "  object Panel1: TPanel\r\n"
            "    Align = alTop\r\n"
            "    object Knob1: TKnob\r\n"
            "      Left = 1\r\n"
            "      Caption = 'Stop'\r\n"
            "      Tag = 3\r\n"
            "      Font.Style = [fsBold]\r\n"
            "      Hint = 'h'\r\n"
            "    end\r\n"
            "  end\r\n"
            "  inherited Last: TKnob [2]\r\n"
            "    OnClick = LastClick\r\n"
            "  end\r\n"
            "end\r\n");
}

// A value the class reads and writes in another encoding goes back as it came while unchanged.
TEST(Filer, UnchangedValuesKeepTheirEncoding) {
  const std::string binary = Hex("'TPF0' 05 'TKnob' 01 'K' 07 'Caption' 14 02000000 C3A9 03 'Tag' 04 05000000 00 00");
  TKnob knob(nullptr);
  ReadForm(binary, &knob);
  EXPECT_EQ(knob.Caption, "\xE9");  // UTF-8 read into the ANSI code page
  EXPECT_EQ(knob.Tag, 5);
  EXPECT_EQ(WriteForm(&knob), binary);
  knob.Caption = "e";
  knob.Tag = 6;
  EXPECT_EQ(WriteForm(&knob), Hex("'TPF0' 05 'TKnob' 01 'K' 07 'Caption' 06 01 'e' 03 'Tag' 02 06 00 00"));
}

// Another writer's order, and defaults stored explicitly (as for an ancestor that differed),
// go back as they came while the values are unchanged.
// A text form's string is the bytes the component holds, as the hosts read it: its binary
// stream is the one the component writes, and a wide string reads as the ANSI code page.
TEST(Filer, TextStringsReachTheComponentAsAnsiBytes) {
  struct Case {
    const char* Text;
    std::string Caption;
    bool Wide;  // the text makes a wide string, which the component writes back unchanged
  } cases[] = {
      {"'R'#233'pertoire'", "R\xE9pertoire", false},
      {"'R\xE9pertoire'", "R\xE9pertoire", false},
      {"#128#255", "\x80\xFF", false},
      {"'' + 'R'#233'pertoire'", "R\xE9pertoire", true},
      {"'Euro '#8364", "Euro \x80", true},
      {"#20013#25991", "??", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    const std::string text = std::string("object K: TKnob\r\n  Caption = ") + c.Text + "\r\nend\r\n";
    const std::string binary = Binary(text);
    EXPECT_EQ(binary.find('\x14'), std::string::npos) << "no UTF-8 string";
    TKnob read(nullptr);
    ReadForm(binary, &read);
    EXPECT_EQ(read.Caption, c.Caption);
    EXPECT_EQ(WriteForm(&read), binary);

    TKnob made(nullptr);
    made.SetName("K");
    made.Caption = c.Caption;
    EXPECT_EQ(WriteForm(&made) == binary, !c.Wide);
  }
}

TEST(Filer, StreamOrderAndExplicitDefaultsSurvive) {
  const std::string text =
      "inherited K: TKnob\r\n"
      "  OnClick = nil\r\n"
      "  Tag = 0\r\n"
      "  Caption = ''\r\n"
      "end\r\n";
  TKnob knob(nullptr);
  ReadForm(Binary(text), &knob);
  EXPECT_EQ(Text(WriteForm(&knob)), text);

  knob.Caption = "x";
  knob.Tag = 2;
  EXPECT_EQ(Text(WriteForm(&knob)), "inherited K: TKnob\r\n  OnClick = nil\r\n  Tag = 2\r\n  Caption = 'x'\r\nend\r\n");
  knob.Caption.clear();  // back to the default the stream held
  knob.OnClick = TClick("KClick");
  EXPECT_EQ(Text(WriteForm(&knob)), "inherited K: TKnob\r\n  OnClick = KClick\r\n  Tag = 2\r\n  Caption = ''\r\nend\r\n");
}

// What nobody changed since the read goes back as the stream held it, though the class reports
// or encodes it otherwise, and what the stream did not hold is not added; no writer runs
// while the form is read.
TEST(Filer, WhatNobodyChangedComesBackAsTheStreamHeldIt) {
  const char* const cases[] = {
      "",                       // Width is 10, which the class stores, but the stream did not hold it
      "  Order = 5\r\n",        // the class reports 2
      "  Color = 255\r\n",      // the class writes clRed
      "  Color = clBlue\r\n",
      "  Style = [c, a]\r\n",   // the class writes [a, c]
      "  Style = []\r\n",       // the default, which the class leaves out
      "  Note = ''\r\n",        // a defined property whose writer has nothing to write
      "  Note = 'n'\r\n  Order = 7\r\n  Width = 10\r\n",
  };
  for (const char* properties : cases) {
    SCOPED_TRACE(properties);
    const std::string binary = Binary(std::string("object D: TDial\r\n") + properties + "end\r\n");
    TDial::NotesWritten = 0;
    const auto root = ReadForm(binary);
    EXPECT_EQ(TDial::NotesWritten, 0);
    EXPECT_EQ(WriteForm(root.get()), binary);
  }
}

// What changed is written anew in its place, or left out when the class stores it no more; a
// value stored anew follows the property declared before it.
TEST(Filer, WhatChangedIsWrittenAnewAndOnlyThat) {
  const auto root = ReadForm(Binary("object D: TDial\r\n  Note = 'n'\r\n  Color = 255\r\n  Order = 5\r\n"
                                    "  Style = [c, a]\r\nend\r\n"));
  auto* dial = static_cast<TDial*>(root.get());
  dial->Order = 1;
  dial->Width = 11;
  dial->Note.clear();
  dial->Style = 0;
  EXPECT_EQ(Text(WriteForm(root.get())), "object D: TDial\r\n  Width = 11\r\n  Color = 255\r\n  Order = 1\r\nend\r\n");
  dial->Width = 10;  // as it was read: the stream did not hold it
  dial->Color = 0xFF0000;
  dial->Note = "m";  // the stream held it: in its place
  EXPECT_EQ(Text(WriteForm(root.get())), "object D: TDial\r\n  Note = 'm'\r\n  Color = clBlue\r\n  Order = 1\r\nend\r\n");
}

TEST(Filer, EveryComponentIsLoadingDuringTheReadAndLoadedAfterIt) {
  Log.clear();
  const auto root = ReadForm(Binary(Form));
  EXPECT_EQ(Log, (std::vector<std::string>{"create", "create", "loaded Knob1", "loaded Last after Last"}));
  for (TComponent* c : {root.get(), root->Components(0), root->Components(1)}) EXPECT_FALSE(c->ComponentState() & csLoading);
}

TEST(Filer, ReadsIntoAGivenRootAndWritesItsClassNameBack) {
  const std::string binary = Binary(Form);
  TComponent form(nullptr);
  ReadForm(binary, &form);
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.ComponentCount(), 2);
  EXPECT_EQ(WriteForm(&form), binary);
}

TEST(Filer, InheritedChildrenAreReadIntoExistingOnes) {
  TComponent form(nullptr);
  auto* last = new TKnob(&form);
  last->SetName("Last");
  last->OnClick = TClick("Old");
  ReadForm(Binary("inherited Form1: TForm1\r\n  inherited Last: TKnob\r\n    Caption = 'x'\r\n  end\r\nend\r\n"), &form);
  ASSERT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(last->Caption, "x");
  EXPECT_EQ(last->OnClick.MethodName(), "Old");

  EXPECT_THROW_MSG(ReadForm(Binary("object Form1: TForm1\r\n  object Last: TKnob\r\n  end\r\nend\r\n"), &form), EReadError,
                   "A component named Last already exists in Form1 at offset 18");
}

// Each component read is looked up among its siblings by name: a form of many siblings reads
// in time linear in them (see bench_form_read), and every one of them is there and in order.
TEST(Filer, ReadsAHundredThousandSiblingsInOrder) {
  constexpr int Count = 100000;
  std::string text = "object Form1: TForm1\r\n";
  for (int i = 0; i < Count; ++i) {
    const std::string n = std::to_string(i);
    text += i % 2 ? "  object Knob" + n + ": TKnob\r\n    Tag = " + n + "\r\n  end\r\n"
                  : "  object Other" + n + ": TOther\r\n    Left = " + n + "\r\n  end\r\n";
  }
  text += "end\r\n";
  const std::string binary = Binary(text);
  const auto root = ReadForm(binary);
  ASSERT_EQ(root->ComponentCount(), Count);
  for (int i : {0, 1, 2, 50001, Count - 1}) {
    SCOPED_TRACE(i);
    TComponent* c = root->Components(i);
    EXPECT_EQ(c->Name(), (i % 2 ? "Knob" : "Other") + std::to_string(i));
    EXPECT_EQ(root->FindComponent(c->Name()), c);
    if (i % 2) {
      EXPECT_EQ(static_cast<TKnob*>(c)->Tag, i);
    }
  }
  EXPECT_EQ(WriteForm(root.get()), binary);
}

TEST(Filer, AFailedReadFreesWhatItCreated) {
  std::string binary = Binary(Form);
  binary.resize(binary.size() - 6);  // inside the last component
  TComponent form(nullptr);
  EXPECT_THROW(ReadForm(binary, &form), EReadError);
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_THROW(ReadForm(binary), EReadError);  // and the root it made (the leak checker sees it)
}

TEST(Filer, ResourceHeaderIsKeptAndWrittenBack) {
  const std::string data = Binary("object K: TKnob\r\n  Caption = 'c'\r\nend\r\n");
  const std::string resource = Hex("FF 0A 00 'TKNOB' 00 3010 19000000") + data;
  ASSERT_EQ(data.size(), 0x19u);
  const auto root = ReadForm(resource);
  ASSERT_TRUE(root->StreamedInfo()->Resource);
  EXPECT_EQ(root->StreamedInfo()->Resource->Name, "TKNOB");
  static_cast<TKnob*>(root.get())->Caption = "longer";
  EXPECT_EQ(WriteForm(root.get()), Hex("FF 0A 00 'TKNOB' 00 3010 1E000000") + Binary("object K: TKnob\r\n  Caption = 'longer'\r\nend\r\n"));

  EXPECT_THROW_MSG(ReadForm(resource.substr(0, resource.size() - 1)), EReadError,
                   "Length 25 of the resource data runs past the end of the stream at offset 11");
  std::string longer = resource + "x";
  longer[11] = 0x1A;
  EXPECT_THROW_MSG(ReadForm(longer), EReadError, "The form ends 1 byte before the end of its resource at offset 40");
}

TEST(Filer, ReadingLeavesTheStreamAfterTheForm) {
  const std::string one = Binary("object A: TKnob\r\nend\r\n");
  TStreamOf in(one + one);
  for (int i = 1; i <= 2; ++i) {
    TReader reader(in);
    delete reader.ReadRootComponent(nullptr);
  }
  EXPECT_EQ(in.Position(), static_cast<std::int64_t>(2 * one.size()));
}

TEST(Filer, TestStreamFormatLooksAtTheFirstBytes) {
  struct TCase {
    std::string Bytes;
    TStreamOriginalFormat Format;
  };
  const TCase cases[] = {
      {"TPF0", TStreamOriginalFormat::sofBinary},  {Hex("FF 0A 00"), TStreamOriginalFormat::sofBinary},
      {"object", TStreamOriginalFormat::sofText},  {"Inherited", TStreamOriginalFormat::sofText},
      {"\r\nobject", TStreamOriginalFormat::sofText}, {Hex("EF BB BF") + "object", TStreamOriginalFormat::sofUTF8Text},
      {"TPF", TStreamOriginalFormat::sofUnknown},  {"", TStreamOriginalFormat::sofUnknown},
  };
  for (const TCase& c : cases) {
    TStreamOf s(c.Bytes);
    s.SetPosition(0);
    EXPECT_EQ(TestStreamFormat(s), c.Format) << c.Bytes;
    EXPECT_EQ(s.Position(), 0);
  }
}

}  // namespace
