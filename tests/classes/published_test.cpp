// Published properties and defined properties: what a class writes, in which order, and what
// it reads back.
#include "form_test_support.hpp"
#include "test_support.hpp"

using namespace vcl;
using namespace form_test;

namespace {

enum class TAlign { alNone, alTop, alClient };

// One published property of each kind, and a defined and a binary defined property.
class TGadget : public TComponent {
  VCL_DECLARE_CLASS
public:
  explicit TGadget(TComponent* AOwner) : TComponent(AOwner) {}

  std::string Caption;
  int Count = 0;
  int Width = 0;
  bool Enabled = true;
  TAlign Align = TAlign::alNone;
  unsigned Options = 0;
  TStringList Lines;
  bool KeepLines = true;
  std::string Hint;
  TClick OnChange;
  std::vector<std::string> Data;  // "Data", written while not empty
  std::string Blob;               // "Blob", binary, written while not empty
  int Loads = 0;

  void DefineProperties(TFiler* Filer) override {
    TComponent::DefineProperties(Filer);
    Filer->DefineProperty("Data", this, &TGadget::ReadData, &TGadget::WriteData, !Data.empty());
    Filer->DefineBinaryProperty(
        "Blob", [this](TStream* S) { Blob.resize(static_cast<std::size_t>(S->Size())), S->ReadBuffer(Blob.data(), S->Size()); },
        [this](TStream* S) { S->WriteBuffer(Blob.data(), static_cast<std::int64_t>(Blob.size())); }, !Blob.empty());
  }
  void Loaded() override {
    TComponent::Loaded();
    ++Loads;
  }

private:
  const std::string& GetCaption() const { return Caption; }
  void SetCaption(std::string Value) { Caption = std::move(Value); }
  int GetCount() const { return Count; }
  void SetCount(int Value) { Count = Value; }
  int GetWidth() const { return Width; }
  void SetWidth(int Value) { Width = Value; }
  bool GetEnabled() const { return Enabled; }
  void SetEnabled(bool Value) { Enabled = Value; }
  TAlign GetAlign() const { return Align; }
  void SetAlign(TAlign Value) { Align = Value; }
  unsigned GetOptions() const { return Options; }
  void SetOptions(unsigned Value) { Options = Value; }
  TStringList* GetLines() const { return const_cast<TStringList*>(&Lines); }
  void SetLines(TStrings* Value) { Lines.Assign(Value); }
  bool StoreLines() const { return KeepLines; }
  const std::string& GetHint() const { return Hint; }
  void SetHint(std::string Value) { Hint = std::move(Value); }
  const TClick& GetOnChange() const { return OnChange; }
  void SetOnChange(TClick Value) { OnChange = std::move(Value); }
  void ReadData(TReader* Reader) {
    Data.clear();
    Reader->ReadListBegin();
    while (!Reader->EndOfList()) Data.push_back(Reader->ReadString());
    Reader->ReadListEnd();
  }
  void WriteData(TWriter* Writer) const {
    Writer->WriteListBegin();
    for (const std::string& s : Data) Writer->WriteString(s);
    Writer->WriteListEnd();
  }
};

VCL_IMPLEMENT_CLASS(TGadget, TComponent, [](TMetaClass& c) {
  c.Publish<TGadget>()
      .String("Caption", &TGadget::GetCaption, &TGadget::SetCaption)
      .Integer("Count", &TGadget::GetCount, &TGadget::SetCount)
      .Default(0)
      .Integer("Width", &TGadget::GetWidth, &TGadget::SetWidth)
      .Boolean("Enabled", &TGadget::GetEnabled, &TGadget::SetEnabled)
      .Default(true)
      .Enumeration("Align", &TGadget::GetAlign, &TGadget::SetAlign, {"alNone", "alTop", "alClient"})
      .Default(TAlign::alNone)
      .Set("Options", &TGadget::GetOptions, &TGadget::SetOptions, {"goA", "goB", "goC"})
      .Default(0u)
      .Strings("Lines", &TGadget::GetLines, &TGadget::SetLines)
      .Stored(&TGadget::StoreLines)
      .String("Hint", &TGadget::GetHint, &TGadget::SetHint)
      .Stored(false)
      .Event("OnChange", &TGadget::GetOnChange, &TGadget::SetOnChange);
})

// A descendant that adds one property and redeclares Count with another default.
class TBigGadget : public TGadget {
  VCL_DECLARE_CLASS
public:
  using TGadget::TGadget;
  int Size = 0;
};

VCL_IMPLEMENT_CLASS(TBigGadget, TGadget, [](TMetaClass& c) {
  c.Publish<TBigGadget>()
      .Integer("Count", [](const TBigGadget* g) { return g->Count; }, [](TBigGadget* g, int v) { g->Count = v; })
      .Default(5)
      .Integer("Size", [](const TBigGadget* g) { return g->Size; }, [](TBigGadget* g, int v) { g->Size = v; });
})

const bool Registered = [] {
  RegisterClass(TGadget::StaticClass());
  RegisterClass(TBigGadget::StaticClass());
  return true;
}();

// The names of the properties of the root, in stream order.
std::vector<std::string> WrittenNames(TComponent* Root) {
  const std::string binary = WriteForm(Root);
  const auto read = ReadForm(binary);
  std::vector<std::string> names;
  for (const auto& p : read->StreamedInfo()->Properties) names.push_back(p.Name);
  return names;
}

using TNames = std::vector<std::string>;

TEST(Published, WritesStoredPropertiesInDeclarationOrderThenDefinedOnes) {
  struct TCase {
    const char* Name;
    void (*Change)(TGadget&);
    TNames Expected;
  };
  const TCase cases[] = {
      {"defaults: an integer without a default is always written", [](TGadget&) {}, {"Width"}},
      {"integer off its default", [](TGadget& g) { g.Count = 1; }, {"Count", "Width"}},
      {"boolean off its default", [](TGadget& g) { g.Enabled = false; }, {"Width", "Enabled"}},
      {"enumeration off its default", [](TGadget& g) { g.Align = TAlign::alClient; }, {"Width", "Align"}},
      {"set off its default", [](TGadget& g) { g.Options = 5; }, {"Width", "Options"}},
      {"a text that is not empty", [](TGadget& g) { g.Caption = "x"; }, {"Caption", "Width"}},
      {"a list that is not empty", [](TGadget& g) { g.Lines.Add("a"); }, {"Width", "Lines.Strings"}},
      {"a list whose stored predicate is false",
       [](TGadget& g) {
         g.Lines.Add("a");
         g.KeepLines = false;
       },
       {"Width"}},
      {"stored never", [](TGadget& g) { g.Hint = "h"; }, {"Width"}},
      {"an event naming a method", [](TGadget& g) { g.OnChange = TClick("GadgetChange"); }, {"Width", "OnChange"}},
      {"defined properties with data, after the published ones",
       [](TGadget& g) {
         g.Data = {"d"};
         g.Blob = "b";
         g.Caption = "c";
       },
       {"Caption", "Width", "Data", "Blob"}},
  };
  for (const TCase& c : cases) {
    TGadget g(nullptr);
    c.Change(g);
    EXPECT_EQ(WrittenNames(&g), c.Expected) << c.Name;
  }
}

TEST(Published, WritesExactBytes) {
  TGadget g(nullptr);
  g.SetName("G");
  g.Caption = "Hi";
  g.Width = 300;
  g.Align = TAlign::alTop;
  g.Options = 6;
  g.Lines.Add("a");
  g.OnChange = TClick("GChange");
  g.Data = {"x"};
  g.Blob = "\x01\x02";
  EXPECT_EQ(WriteForm(&g), Hex("'TPF0' 07 'TGadget' 01 'G'"
                               " 07 'Caption' 06 02 'Hi'"
                               " 05 'Width' 03 2C01"
                               " 05 'Align' 07 05 'alTop'"
                               " 07 'Options' 0B 03 'goB' 03 'goC' 00"
                               " 0D 'Lines.Strings' 01 06 01 'a' 00"
                               " 08 'OnChange' 07 07 'GChange'"
                               " 04 'Data' 01 06 01 'x' 00"
                               " 04 'Blob' 0A 02000000 0102"
                               " 00 00"));
}

TEST(Published, ReadsBackWhatItWrote) {
  TGadget g(nullptr);
  g.Caption = std::string(300, 'c');
  g.Count = -129;
  g.Width = 70000;
  g.Enabled = false;
  g.Align = TAlign::alClient;
  g.Options = 1;
  g.Lines.Add("one");
  g.Lines.Add("");
  g.OnChange = TClick("GChange");
  g.Data = {"d1", "d2"};
  g.Blob = std::string("\0\xFF", 2);
  const std::string binary = WriteForm(&g);

  TGadget r(nullptr);
  r.Lines.Add("replaced");
  ReadForm(binary, &r);
  EXPECT_EQ(r.Caption, g.Caption);
  EXPECT_EQ(r.Count, -129);
  EXPECT_EQ(r.Width, 70000);
  EXPECT_FALSE(r.Enabled);
  EXPECT_EQ(r.Align, TAlign::alClient);
  EXPECT_EQ(r.Options, 1u);
  EXPECT_EQ(r.Lines.Text(), "one\r\n\r\n");
  EXPECT_EQ(r.OnChange.MethodName(), "GChange");
  EXPECT_EQ(r.Data, g.Data);
  EXPECT_EQ(r.Blob, g.Blob);
  EXPECT_EQ(r.Loads, 1);
  EXPECT_EQ(WriteForm(&r), binary);
}

TEST(Published, InheritsAndRedeclaresProperties) {
  const TClass big = TBigGadget::StaticClass();
  TNames names;
  for (const TPropInfo* p : big->Properties()) names.push_back(p->Name());
  EXPECT_EQ(names, (TNames{"Caption", "Count", "Width", "Enabled", "Align", "Options", "Lines", "Hint", "OnChange", "Size"}));
  EXPECT_EQ(big->FindProperty("Count")->Default(), 5);
  EXPECT_EQ(TGadget::StaticClass()->FindProperty("Count")->Default(), 0);
  EXPECT_EQ(TGadget::StaticClass()->FindProperty("Size"), nullptr);
  EXPECT_EQ(big->FindProperty("count"), nullptr);

  TBigGadget b(nullptr);
  EXPECT_EQ(WrittenNames(&b), (TNames{"Count", "Width", "Size"}));  // 0 is off the redeclared default
}

TEST(Published, AccessorsCheckKindAndInstance) {
  const TPropInfo* count = TGadget::StaticClass()->FindProperty("Count");
  const TPropInfo* lines = TGadget::StaticClass()->FindProperty("Lines");
  TGadget g(nullptr);
  TComponent other(nullptr);
  count->SetOrd(&g, 7);
  EXPECT_EQ(count->GetOrd(&g), 7);
  EXPECT_THROW_MSG(count->SetOrd(&g, 1LL << 40), EConvertError, "Value 1099511627776 is out of range for property Count");
  EXPECT_THROW_MSG(count->GetStr(&g), EConvertError, "Property Count of TGadget is not of that kind");
  EXPECT_THROW_MSG(count->GetOrd(&other), EConvertError, "TComponent has no property Count of TGadget");
  TStringList source;
  source.Add("s");
  lines->SetStrings(&g, &source);
  EXPECT_EQ(g.Lines.Text(), "s\r\n");
  const TPropInfo* align = TGadget::StaticClass()->FindProperty("Align");
  EXPECT_EQ(align->IdentifierIndex("alClient"), 2);
  EXPECT_THROW_MSG(align->SetOrd(&g, 3), EConvertError, "Value 3 is out of range for property Align");
}

TEST(Published, HasDataDecidesWhetherADefinedPropertyIsWritten) {
  for (const bool data : {false, true}) {
    TGadget g(nullptr);
    if (data) g.Data = {""};
    const TNames names = WrittenNames(&g);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Data"), data ? 1 : 0);
  }
}

// A property value the class cannot take names the component, the property and the offset.
TEST(Published, ValuesOfTheWrongTypeAreErrors) {
  const std::string head = Hex("'TPF0' 07 'TGadget' 01 'G'");
  struct TCase {
    std::string Property;
    std::string Message;
  };
  const TCase cases[] = {
      {Hex("05 'Count' 06 01 '1'"), "Error reading G.Count: Invalid property value: expected an integer, found vaString at offset 20"},
      {Hex("05 'Count' 13 0000000001000000"),
       "Error reading G.Count: Invalid property value: Value 4294967296 is out of range for property Count at offset 20"},
      {Hex("07 'Enabled' 07 01 'x'"), "Error reading G.Enabled: Invalid property value: expected False or True, found vaIdent at offset 22"},
      {Hex("05 'Align' 07 05 'alMid'"), "Error reading G.Align: Invalid property value alMid at offset 20"},
      {Hex("07 'Options' 0B 03 'goZ' 00"), "Error reading G.Options: Invalid set element goZ at offset 22"},
      {Hex("07 'Caption' 02 01"), "Error reading G.Caption: Invalid property value: expected a string, found vaInt8 at offset 22"},
      {Hex("0D 'Lines.Strings' 06 00"),
       "Error reading G.Lines.Strings: Invalid property value: expected vaList, found vaString at offset 28"},
      {Hex("04 'Data' 01 02 01 00"), "Error reading G.Data: Invalid property value: expected a string, found vaInt8 at offset 20"},
      {Hex("04 'Blob' 06 00"), "Error reading G.Blob: Invalid property value: expected vaBinary, found vaString at offset 19"},
  };
  for (const TCase& c : cases) EXPECT_THROW_MSG(ReadForm(head + c.Property + Hex("00 00")), EReadError, c.Message);
}

// A defined property must read exactly its one value, or the stream falls out of step.
class TGreedy : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
  void DefineProperties(TFiler* Filer) override {
    Filer->DefineProperty("Pair", [](TReader* R) { R->ReadInteger(), R->ReadInteger(); }, [](TWriter* W) { W->WriteInteger(1), W->WriteInteger(2); },
                          true);
  }
};
VCL_IMPLEMENT_CLASS(TGreedy, TComponent)

TEST(Published, DefinedPropertiesMustReadAndWriteOneValue) {
  TGreedy g(nullptr);
  EXPECT_THROW_MSG(WriteForm(&g), EWriteError, "Property Pair was written as more than one value");
  RegisterClass(TGreedy::StaticClass());
  EXPECT_THROW_MSG(ReadForm(Hex("'TPF0' 07 'TGreedy' 00 04 'Pair' 02 01 02 02 00 00")), EReadError,
                   "Error reading TGreedy.Pair: Property Pair was read as more than its value at offset 18");
}

}  // namespace

// An integer whose values have identifiers, and a text with a default of its own.
class TTinted : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
  int Tint = 0;
  std::string Label = "none";
};
const TIdentMapEntry Tints[] = {{0, "tNone"}, {3, "tBlue"}, {-1, "tDefault"}};
VCL_IMPLEMENT_CLASS(TTinted, TComponent, [](TMetaClass& c) {
  c.Publish<TTinted>()
      .Integer("Tint", [](const TTinted* t) { return t->Tint; }, [](TTinted* t, int v) { t->Tint = v; })
      .Idents(Tints)
      .Default(0)
      .String("Label", [](const TTinted* t) { return t->Label; }, [](TTinted* t, std::string v) { t->Label = std::move(v); })
      .Default("none");
})
const bool TintedRegistered = [] {
  RegisterClass(TTinted::StaticClass());
  return true;
}();

TEST(Published, IntegersWithIdentifiersAndTextDefaults) {
  const std::string head = Hex("'TPF0' 07 'TTinted' 01 'T'");
  const struct {
    int Tint;
    const char* Label;
    std::string Written;
  } cases[] = {
      {0, "none", ""},                                          // both at their defaults
      {3, "none", Hex("04 'Tint' 07 05 'tBlue'")},              // a value with an identifier
      {-1, "none", Hex("04 'Tint' 07 08 'tDefault'")},
      {5, "", Hex("04 'Tint' 02 05 05 'Label' 06 00")},         // one without, and the empty text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Tint);
    TTinted t(nullptr);
    t.SetName("T");
    t.Tint = c.Tint;
    t.Label = c.Label;
    const std::string bytes = WriteForm(&t);
    EXPECT_EQ(bytes, head + c.Written + Hex("00 00"));
    const auto back = ReadForm(bytes);
    EXPECT_EQ(static_cast<TTinted*>(back.get())->Tint, c.Tint);
    EXPECT_EQ(static_cast<TTinted*>(back.get())->Label, c.Label);
  }
  EXPECT_EQ(static_cast<TTinted*>(ReadForm(head + Hex("04 'Tint' 02 03 00 00")).get())->Tint, 3) << "or the number";
  EXPECT_THROW_MSG(ReadForm(head + Hex("04 'Tint' 07 06 'tGreen' 00 00")), EReadError,
                   "Error reading T.Tint: Invalid property value tGreen at offset 19");
  TMetaClass scratch("TScratch", TComponent::StaticClass());
  EXPECT_THROW_MSG(scratch.Publish<TTinted>()
                       .String("Label", [](const TTinted* t) { return t->Label; }, [](TTinted*, std::string) {})
                       .Idents(Tints),
                   EConvertError, "Idents needs an integer property before it");
}
