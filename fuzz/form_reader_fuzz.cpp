// Fuzzes the binary form reader: reading into components and converting to text either
// succeed or raise EReadError; what succeeds reads back the same.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "vcl/Classes.hpp"

using namespace vcl;

namespace {

// Classes of the seed forms, so that known properties and kept ones meet.
class TClick {
public:
  TClick() = default;
  explicit TClick(std::string Name) : FName(std::move(Name)) {}
  const std::string& MethodName() const { return FName; }

private:
  std::string FName;
};

class TButton : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
  std::string Caption;
  int TabOrder = -1;
  bool Default = false;
  TClick OnClick;
};

VCL_IMPLEMENT_CLASS(TButton, TComponent, [](TMetaClass& c) {
  c.Publish<TButton>()
      .String("Caption", [](const TButton* b) { return b->Caption; }, [](TButton* b, std::string v) { b->Caption = std::move(v); })
      .Integer("TabOrder", [](const TButton* b) { return b->TabOrder; }, [](TButton* b, int v) { b->TabOrder = v; })
      .Default(-1)
      .Boolean("Default", [](const TButton* b) { return b->Default; }, [](TButton* b, bool v) { b->Default = v; })
      .Default(false)
      .Event("OnClick", [](const TButton* b) { return b->OnClick; }, [](TButton* b, TClick v) { b->OnClick = std::move(v); });
})

class TMemo : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
  TStringList Lines;
};

VCL_IMPLEMENT_CLASS(TMemo, TComponent, [](TMetaClass& c) {
  c.Publish<TMemo>().Strings("Lines", [](const TMemo* m) { return const_cast<TStringList*>(&m->Lines); });
})

struct TStreamOf : TMemoryStream {
  explicit TStreamOf(const std::string& Bytes) {
    WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    SetPosition(0);
  }
};

std::string Bytes(const TMemoryStream& S) { return std::string(reinterpret_cast<const char*>(S.Bytes().data()), S.Bytes().size()); }

// Reads a form and writes it back; false when the stream is not a form.
bool ReadAndWrite(const std::string& In, std::string& Out) {
  TStreamOf in(In);
  std::unique_ptr<TComponent> root;
  try {
    TReader reader(in);
    root.reset(reader.ReadRootComponent(nullptr));
  } catch (const EReadError&) {
    return false;
  }
  TMemoryStream out;
  TWriter writer(out);
  writer.WriteRootComponent(root.get());
  Out = Bytes(out);
  return true;
}

using TConversion = void (*)(TStream&, TStream&);

bool Convert(TConversion Conversion, const std::string& In, std::string& Out) {
  TStreamOf in(In);
  TMemoryStream out;
  try {
    Conversion(in, out);
  } catch (const EReadError&) {
    return false;
  }
  Out = Bytes(out);
  return true;
}

const bool Registered = [] {
  RegisterClass(TButton::StaticClass());
  RegisterClass(TMemo::StaticClass());
  return true;
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string input(reinterpret_cast<const char*>(Data), Size);
  std::string once, twice;
  if (ReadAndWrite(input, once)) {
    if (!ReadAndWrite(once, twice) || twice != once) __builtin_trap();
  }
  for (TConversion toText : {ObjectBinaryToText, ObjectResourceToText}) {
    std::string text, binary, again;
    if (!Convert(toText, input, text)) continue;
    // What the writer writes, the parser reads, and it writes the same text again.
    const TConversion toBinary = toText == ObjectBinaryToText ? ObjectTextToBinary : ObjectTextToResource;
    if (!Convert(toBinary, text, binary) || !Convert(toText, binary, again) || again != text) __builtin_trap();
  }
  return 0;
}
