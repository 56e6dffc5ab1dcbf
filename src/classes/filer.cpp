// TReader and TWriter: components, published and defined properties on the binary form stream.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "binary_driver.hpp"
#include "form_text.hpp"

namespace vcl {

VCL_IMPLEMENT_CLASS(TUnknownComponent, TComponent)
VCL_IMPLEMENT_CLASS(TFiler, TObject)
VCL_IMPLEMENT_CLASS(TReader, TFiler)
VCL_IMPLEMENT_CLASS(TWriter, TFiler)

void TComponent::SetStreamedInfo(std::unique_ptr<TStreamedInfo> Info) { FStreamedInfo = std::move(Info); }

const std::string& TUnknownComponent::StreamedClassName() const {
  static const std::string none;
  return StreamedInfo() ? StreamedInfo()->ClassName : none;
}

namespace {
constexpr std::string_view StringsSuffix = ".Strings";

bool IsInteger(TValueType Type) {
  return Type == TValueType::vaInt8 || Type == TValueType::vaInt16 || Type == TValueType::vaInt32 ||
         Type == TValueType::vaInt64;
}

bool IsString(TValueType Type) {
  return Type == TValueType::vaString || Type == TValueType::vaLString || Type == TValueType::vaUTF8String ||
         Type == TValueType::vaWString;
}

std::string ComponentPath(const TComponent* Instance) {
  return Instance->Name().empty() ? Instance->ClassName() : Instance->Name();
}
}  // namespace

// ---- TReader -------------------------------------------------------------------------------

TReader::TReader(TStream& Stream) : FStream(Stream), FOrigin(Stream.Position()), FData(ReadStreamRest(Stream)) {
  FIn = std::make_unique<TBinaryObjectReader>(FData, FOrigin);
}

TReader::~TReader() { FStream.SetPosition(FOrigin + static_cast<std::int64_t>(FIn->Pos())); }

std::int64_t TReader::Position() const { return FIn->Offset(FIn->Pos()); }

void TReader::ReadSignature() { FIn->ReadSignature(); }
TValueType TReader::NextValue() { return FIn->NextValue(); }
TValueType TReader::ReadValue() { return FIn->ReadValue(); }
void TReader::CheckValue(TValueType Value) { FIn->CheckValue(Value); }
bool TReader::EndOfList() { return FIn->EndOfList(); }
void TReader::ReadListBegin() { FIn->CheckValue(TValueType::vaList); }
void TReader::ReadListEnd() { FIn->ReadListEnd(); }
void TReader::SkipValue() { FIn->SkipValue(); }
std::string TReader::ReadStr() { return FIn->ReadStr("a name"); }

void TReader::InvalidValue(std::size_t Start, const std::string& Expected) {
  const TValueType found = FIn->NextValue();
  FIn->SkipValue();  // in step for whoever catches this
  FIn->ErrorAt(Start, "Invalid property value: expected " + Expected + ", found " + ValueTypeName(found));
}

std::string TReader::ReadString() {
  const std::size_t start = FIn->Pos();
  const TValueType type = FIn->NextValue();
  if (!IsString(type)) InvalidValue(start, "a string");
  FIn->ReadValue();
  if (type == TValueType::vaWString) return Utf16ToAnsi(FIn->ReadWideData());
  if (type == TValueType::vaUTF8String) return Utf8ToAnsi(FIn->ReadStringData(type));
  return FIn->ReadStringData(type);
}

std::string TReader::ReadIdent() {
  const std::size_t start = FIn->Pos();
  switch (FIn->NextValue()) {
    case TValueType::vaIdent: FIn->ReadValue(); return FIn->ReadStringData(TValueType::vaIdent);
    case TValueType::vaFalse: FIn->ReadValue(); return "False";
    case TValueType::vaTrue: FIn->ReadValue(); return "True";
    case TValueType::vaNil: FIn->ReadValue(); return "nil";
    case TValueType::vaNull: FIn->ReadValue(); return "Null";
    default: InvalidValue(start, "an identifier");
  }
}

bool TReader::ReadBoolean() {
  const std::size_t start = FIn->Pos();
  const TValueType type = FIn->NextValue();
  if (type != TValueType::vaFalse && type != TValueType::vaTrue) InvalidValue(start, "False or True");
  FIn->ReadValue();
  return type == TValueType::vaTrue;
}

int TReader::ReadInteger() {
  const std::size_t start = FIn->Pos();
  const TValueType type = FIn->NextValue();
  if (!IsInteger(type) || type == TValueType::vaInt64) InvalidValue(start, "an integer");
  return static_cast<int>(FIn->ReadIntegerData(FIn->ReadValue()));
}

std::int64_t TReader::ReadInt64() {
  const std::size_t start = FIn->Pos();
  if (!IsInteger(FIn->NextValue())) InvalidValue(start, "an integer");
  return FIn->ReadIntegerData(FIn->ReadValue());
}

template <class F>
F TReader::ReadFloating(TValueType Type, F (TBinaryObjectReader::*ReadData)()) {
  const std::size_t start = FIn->Pos();
  const TValueType type = FIn->NextValue();
  if (IsInteger(type)) return static_cast<F>(ReadInt64());
  if (type != Type) InvalidValue(start, ValueTypeName(Type));
  FIn->ReadValue();
  return ((*FIn).*ReadData)();
}

long double TReader::ReadFloat() { return ReadFloating(TValueType::vaExtended, &TBinaryObjectReader::ReadExtendedData); }
float TReader::ReadSingle() { return ReadFloating(TValueType::vaSingle, &TBinaryObjectReader::ReadSingleData); }
double TReader::ReadDate() { return ReadFloating(TValueType::vaDate, &TBinaryObjectReader::ReadDoubleData); }

std::int64_t TReader::ReadCurrency() {
  const std::size_t start = FIn->Pos();
  if (FIn->NextValue() != TValueType::vaCurrency) InvalidValue(start, ValueTypeName(TValueType::vaCurrency));
  FIn->ReadValue();
  return FIn->ReadCurrencyData();
}

TComponent* TReader::NewComponent(const std::string& ClassName, TComponent* Owner) {
  const TClass found = GetClass(ClassName);
  TComponent* component = found && found->CanCreate() ? found->Create(Owner) : new TUnknownComponent(Owner);
  FCreated.push_back(component);
  return component;
}

std::string TReader::ReadHeader(TStreamedInfo& Info) {
  FIn->ReadPrefix(Info.Flags, Info.ChildPos);
  const std::size_t start = FIn->Pos();
  Info.ClassName = FIn->ReadStr("a class name");
  if (Info.ClassName.empty()) FIn->ErrorAt(start, "Component without a class name");
  return FIn->ReadStr("a component name");
}

TComponent* TReader::ReadRootComponent(TComponent* Root) {
  FLoaded.clear();
  FCreated.clear();
  TBinaryObjectReader::TNesting nesting(*FIn);
  TResourceHeader header;
  const bool resource = FIn->ReadResourceHeader(header);
  FIn->ReadSignature();
  auto info = std::make_unique<TStreamedInfo>();
  const std::string name = ReadHeader(*info);
  if (resource) info->Resource = header;
  const bool created = Root == nullptr;
  try {
    if (created) Root = NewComponent(info->ClassName, nullptr);
    FRoot = Root;
    Root->SetName(name);
    Root->Loading();
    FLoaded.push_back(Root);
    ReadProperties(Root, *info);
    while (!FIn->EndOfList()) ReadComponent(Root);
    FIn->ReadListEnd();
    if (FIn->Remaining() != 0 && resource) FIn->Error(BeforeResourceEnd(FIn->Remaining()));
    Root->SetStreamedInfo(std::move(info));
  } catch (...) {
    // Children before their owners, so that each is freed once.
    for (auto c = FCreated.rbegin(); c != FCreated.rend(); ++c)
      if (*c != Root || created) delete *c;
    FLoaded.clear();
    FCreated.clear();
    throw;
  }
  const std::vector<TComponent*> loaded = std::move(FLoaded);
  FLoaded.clear();
  FCreated.clear();
  for (TComponent* c : loaded) c->Loaded();
  return Root;
}

void TReader::ReadComponent(TComponent* Owner) {
  TBinaryObjectReader::TNesting nesting(*FIn);
  const std::size_t start = FIn->Pos();
  auto info = std::make_unique<TStreamedInfo>();
  const std::string name = ReadHeader(*info);
  TComponent* component = name.empty() ? nullptr : Owner->FindComponent(name);
  if (component && !(info->Flags & (ffInherited | ffInline)))
    FIn->ErrorAt(start, "A component named " + name + " already exists in " + ComponentPath(Owner));
  if (!component) {
    component = NewComponent(info->ClassName, Owner);
    component->SetName(name);
  }
  if (!(component->ComponentState() & csLoading)) {
    component->Loading();
    FLoaded.push_back(component);
  }
  ReadProperties(component, *info);
  while (!FIn->EndOfList()) ReadComponent(component);
  FIn->ReadListEnd();
  component->SetStreamedInfo(std::move(info));
}

void TReader::ReadProperties(TComponent* Instance, TStreamedInfo& Info) {
  while (!FIn->EndOfList()) {
    std::string name = FIn->ReadStr("a property name");
    const std::size_t start = FIn->Pos();
    try {
      const TPropInfo* prop = nullptr;
      const bool known = ReadProperty(Instance, name, prop);
      if (!known) {
        FIn->SetPos(start);
        FIn->SkipValue();
      }
      const std::string_view value = FIn->Bytes(start, FIn->Pos());
      const bool keep = !known || (prop && prop->IsDefault(Instance)) || CanonicalValue(value) != value;
      Info.Properties.push_back({std::move(name), known, keep ? std::string(value) : std::string()});
    } catch (const EReadError& e) {
      throw EReadError("Error reading " + ComponentPath(Instance) + "." + name + ": " + e.Message());
    }
  }
  FIn->ReadListEnd();
}

bool TReader::ReadProperty(TComponent* Instance, const std::string& Name, const TPropInfo*& Prop) {
  const TClass cls = Instance->ClassType();
  if ((Prop = cls->FindProperty(Name)) != nullptr) return ReadPublished(Instance, *Prop);
  if (Name.size() > StringsSuffix.size() && Name.ends_with(StringsSuffix)) {
    Prop = cls->FindProperty(std::string_view(Name).substr(0, Name.size() - StringsSuffix.size()));
    if (Prop && Prop->Kind() == TPropKind::pkStrings) {
      // Into the list in place, as it stands in the stream, not through the setter.
      TStrings* lines = Prop->GetStrings(Instance);
      ReadListBegin();
      if (lines) lines->Clear();
      while (!EndOfList()) {
        std::string line = ReadString();
        if (lines) lines->Add(std::move(line));
      }
      ReadListEnd();
      return true;
    }
    Prop = nullptr;
  }
  FPropName = Name;
  FPropRead = false;
  Instance->DefineProperties(this);
  FPropName.clear();
  return FPropRead;
}

bool TReader::ReadPublished(TComponent* Instance, const TPropInfo& Prop) {
  const std::size_t start = FIn->Pos();
  try {
    switch (Prop.Kind()) {
      case TPropKind::pkInteger: {
        if (Prop.IntegerIdents().empty() || FIn->NextValue() != TValueType::vaIdent) {
          Prop.SetOrd(Instance, ReadInt64());
          return true;
        }
        const std::string ident = ReadIdent();
        int value = 0;
        if (!IdentToInt(ident, value, Prop.IntegerIdents())) FIn->ErrorAt(start, "Invalid property value " + ident);
        Prop.SetOrd(Instance, value);
        return true;
      }
      case TPropKind::pkBoolean: Prop.SetOrd(Instance, ReadBoolean() ? 1 : 0); return true;
      case TPropKind::pkEnumeration: {
        if (FIn->NextValue() != TValueType::vaIdent) InvalidValue(start, "an identifier");
        const std::string ident = ReadIdent();
        const int index = Prop.IdentifierIndex(ident);
        if (index < 0) FIn->ErrorAt(start, "Invalid property value " + ident);
        Prop.SetOrd(Instance, index);
        return true;
      }
      case TPropKind::pkSet: {
        if (FIn->NextValue() != TValueType::vaSet) InvalidValue(start, "a set");
        FIn->ReadValue();
        std::uint64_t bits = 0;
        for (std::string element; !(element = FIn->ReadStr("a set")).empty();) {
          const int index = Prop.IdentifierIndex(element);
          if (index < 0) FIn->ErrorAt(start, "Invalid set element " + element);
          bits |= std::uint64_t{1} << index;
        }
        Prop.SetOrd(Instance, static_cast<std::int64_t>(bits));
        return true;
      }
      case TPropKind::pkString: Prop.SetStr(Instance, ReadString()); return true;
      case TPropKind::pkMethod:
        if (FIn->NextValue() == TValueType::vaNil) {  // no method, over an inherited one
          FIn->ReadValue();
          Prop.SetStr(Instance, "");
          return true;
        }
        if (FIn->NextValue() != TValueType::vaIdent) InvalidValue(start, "a method name");
        Prop.SetStr(Instance, ReadIdent());
        return true;
      case TPropKind::pkStrings: return false;  // only as <Name>.Strings
    }
  } catch (const EConvertError& e) {
    FIn->ErrorAt(start, "Invalid property value: " + e.Message());
  }
  return false;
}

void TReader::DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc, bool) {
  if (FPropName.empty() || Name != FPropName || !ReadData) return;
  FPropName.clear();
  // Hand the procedure a validated value, and make sure it reads exactly that one.
  const std::size_t start = FIn->Pos();
  FIn->SkipValue();
  const std::size_t end = FIn->Pos();
  FIn->SetPos(start);
  ReadData(this);
  if (FIn->Pos() != end) {
    const char* how = FIn->Pos() < end ? "less" : "more";
    FIn->SetPos(end);
    FIn->ErrorAt(start, "Property " + Name + " was read as " + how + " than its value");
  }
  FPropRead = true;
}

void TReader::DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc, bool) {
  if (FPropName.empty() || Name != FPropName || !ReadData) return;
  FPropName.clear();
  FIn->CheckValue(TValueType::vaBinary);
  const std::string_view bytes = FIn->ReadBinaryData();
  TMemoryStream data;
  data.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  data.SetPosition(0);
  ReadData(&data);
  FPropRead = true;
}

// ---- TWriter -------------------------------------------------------------------------------

TWriter::TWriter(TStream& Stream) : FStream(Stream), FOut(std::make_unique<TBinaryObjectWriter>(&FBuffer)) {}

TWriter::~TWriter() {
  try {
    FlushBuffer();
  } catch (const EStreamError&) {
    // Nobody to tell from a destructor; FlushBuffer is the call that reports.
  }
}

void TWriter::FlushBuffer() {
  if (FBuffer.empty()) return;
  const std::string pending = std::move(FBuffer);
  FBuffer.clear();
  FStream.WriteBuffer(pending.data(), static_cast<std::int64_t>(pending.size()));
}

void TWriter::WriteSignature() { FOut->WriteSignature(); }
void TWriter::WriteListBegin() { FOut->WriteValue(TValueType::vaList); }
void TWriter::WriteListEnd() { FOut->WriteListEnd(); }
void TWriter::WriteString(std::string_view Value) { FOut->WriteString(Value); }
void TWriter::WriteUTF8String(std::string_view Value) { FOut->WriteUTF8String(Value); }
void TWriter::WriteWideString(std::u16string_view Value) { FOut->WriteWideString(Value); }
void TWriter::WriteIdent(std::string_view Ident) { FOut->WriteIdent(Ident); }
void TWriter::WriteBoolean(bool Value) { FOut->WriteValue(Value ? TValueType::vaTrue : TValueType::vaFalse); }
void TWriter::WriteInteger(std::int64_t Value) { FOut->WriteInteger(Value); }
void TWriter::WriteFloat(long double Value) { FOut->WriteExtended(Value); }
void TWriter::WriteSingle(float Value) { FOut->WriteSingle(Value); }
void TWriter::WriteDate(double Value) { FOut->WriteDate(Value); }
void TWriter::WriteCurrency(std::int64_t Value) { FOut->WriteCurrency(Value); }
void TWriter::WriteValue(TValueType Value) { FOut->WriteValue(Value); }
void TWriter::WriteStr(std::string_view Value) { FOut->WriteStr(Value); }

void TWriter::WriteRootComponent(TComponent* Root) {
  FRoot = Root;
  const TStreamedInfo* info = Root->StreamedInfo();
  if (info && info->Resource) {
    std::string data;
    std::string* const target = FOut->Target();
    FOut->SetTarget(&data);
    try {
      WriteSignature();
      WriteComponent(Root);
    } catch (...) {
      FOut->SetTarget(target);
      throw;
    }
    FOut->SetTarget(target);
    FOut->WriteResourceHeader(*info->Resource, data.size());
    FOut->WriteRaw(data);
  } else {
    WriteSignature();
    WriteComponent(Root);
  }
  FlushBuffer();
}

void TWriter::WriteComponent(TComponent* Component) {
  const TStreamedInfo* info = Component->StreamedInfo();
  FOut->WriteHeader(info ? info->Flags : 0, info ? info->ChildPos : 0, info ? info->ClassName : Component->ClassName(),
                    Component->Name());
  WriteProperties(Component);
  FOut->WriteListEnd();
  for (int i = 0; i < Component->ComponentCount(); ++i) WriteComponent(Component->Components(i));
  FOut->WriteListEnd();
}

void TWriter::BeginProperty(const std::string& Name) {
  FSegments->push_back({Name, FOut->Target()->size(), 0});
  FOut->WriteStr(Name);
}

void TWriter::EndProperty() {
  TSegment& segment = FSegments->back();
  segment.End = FOut->Target()->size();
  // The value must be exactly one value, or the stream falls out of step.
  const std::string& bytes = *FOut->Target();
  const std::size_t valueStart = segment.Begin + 1 + static_cast<std::uint8_t>(bytes[segment.Begin]);
  TBinaryObjectReader check(std::string_view(bytes).substr(0, segment.End), 0);
  check.SetPos(valueStart);
  try {
    check.SkipValue();
  } catch (const EReadError&) {
    throw EWriteError("Property " + segment.Name + " was written without a complete value");
  }
  if (check.Pos() != segment.End) throw EWriteError("Property " + segment.Name + " was written as more than one value");
}

namespace {
// Whether AsRead, as a stream held it, is the same value as the class's encoding Value.
bool SameValue(std::string_view AsRead, std::string_view Value) {
  try {
    return CanonicalValue(AsRead) == Value;
  } catch (const EReadError&) {
    return false;
  }
}

std::string StreamName(const TPropInfo& Prop) {
  return Prop.Kind() == TPropKind::pkStrings ? Prop.Name() + std::string(StringsSuffix) : Prop.Name();
}
}  // namespace

void TWriter::WriteProperties(TComponent* Instance) {
  const TStreamedInfo* info = Instance->StreamedInfo();
  std::unordered_map<std::string_view, const TStreamedInfo::TProperty*> held;
  if (info)
    for (const TStreamedInfo::TProperty& p : info->Properties) held[p.Name] = &p;
  auto asRead = [&](std::string_view Name) -> const std::string* {
    const auto it = held.find(Name);
    return it != held.end() && it->second->Known && !it->second->Value.empty() ? &it->second->Value : nullptr;
  };

  // What the class writes, each property one segment; a default value only where the stream
  // held it and it is unchanged.
  std::string own;
  std::vector<TSegment> segments;
  auto valueOf = [&](const TSegment& Segment) {
    return std::string_view(own).substr(Segment.Begin + 1 + Segment.Name.size(), Segment.End - Segment.Begin - 1 - Segment.Name.size());
  };
  std::string* const target = FOut->Target();
  std::vector<TSegment>* const outer = FSegments;
  FOut->SetTarget(&own);
  FSegments = &segments;
  try {
    for (const TPropInfo* prop : Instance->ClassType()->Properties()) {
      if (!prop->IsStored(Instance)) continue;
      const bool isDefault = prop->IsDefault(Instance);
      const std::string* before = isDefault ? asRead(StreamName(*prop)) : nullptr;
      if (isDefault && !before) continue;
      WritePublished(Instance, *prop);
      if (isDefault && !SameValue(*before, valueOf(segments.back()))) {
        own.resize(segments.back().Begin);
        segments.pop_back();
      }
    }
    Instance->DefineProperties(this);
  } catch (...) {
    FOut->SetTarget(target);
    FSegments = outer;
    throw;
  }
  FOut->SetTarget(target);
  FSegments = outer;

  // The stream's order for what it had, the properties the class does not know in their
  // places, and one stored anew after the one declared before it.
  std::unordered_map<std::string_view, std::size_t> index;
  for (std::size_t i = 0; i < segments.size(); ++i) index.emplace(segments[i].Name, i);
  std::vector<bool> written(segments.size());
  auto isNew = [&](std::size_t i) {
    const auto it = held.find(segments[i].Name);
    return it == held.end() || !it->second->Known;
  };
  auto emit = [&](std::size_t i) {
    written[i] = true;
    const TSegment& s = segments[i];
    const std::string* before = asRead(s.Name);
    if (before && SameValue(*before, valueOf(s))) {  // unchanged: as it came
      FOut->WriteStr(s.Name);
      FOut->WriteRaw(*before);
    } else {
      FOut->WriteRaw(std::string_view(own).substr(s.Begin, s.End - s.Begin));
    }
  };
  auto emitWithNew = [&](std::size_t i) {
    for (std::size_t j = 0; j < i; ++j)
      if (!written[j] && isNew(j)) emit(j);
    emit(i);
    for (std::size_t j = i + 1; j < segments.size() && !written[j] && isNew(j); ++j) emit(j);
  };
  if (info) {
    for (const TStreamedInfo::TProperty& p : info->Properties) {
      const auto known = index.find(p.Name);
      if (p.Known) {
        if (known != index.end() && !written[known->second]) emitWithNew(known->second);
      } else if (known == index.end()) {  // otherwise the class writes it now
        TBinaryObjectReader check(p.Value, 0);
        try {
          check.SkipValue();
        } catch (const EReadError&) {
          throw EWriteError("Kept property " + p.Name + " of " + ComponentPath(Instance) + " is not a valid value");
        }
        if (check.Remaining() != 0)
          throw EWriteError("Kept property " + p.Name + " of " + ComponentPath(Instance) + " is not a single value");
        FOut->WriteStr(p.Name);
        FOut->WriteRaw(p.Value);
      }
    }
  }
  for (std::size_t i = 0; i < segments.size(); ++i)
    if (!written[i]) emit(i);
}

void TWriter::WritePublished(const TComponent* Instance, const TPropInfo& Prop) {
  if (Prop.Kind() == TPropKind::pkStrings) {
    BeginProperty(Prop.Name() + std::string(StringsSuffix));
    const TStrings* lines = Prop.GetStrings(Instance);
    WriteListBegin();
    for (int i = 0; i < lines->Count(); ++i) WriteString(lines->Get(i));
    WriteListEnd();
    EndProperty();
    return;
  }
  BeginProperty(Prop.Name());
  switch (Prop.Kind()) {
    case TPropKind::pkInteger: {
      const std::int64_t value = Prop.GetOrd(Instance);
      std::string ident;
      if (IntToIdent(value, ident, Prop.IntegerIdents())) {
        FOut->WriteValue(TValueType::vaIdent);
        FOut->WriteStr(ident);
      } else {
        WriteInteger(value);
      }
      break;
    }
    case TPropKind::pkBoolean: WriteBoolean(Prop.GetOrd(Instance) != 0); break;
    case TPropKind::pkEnumeration: {
      const std::int64_t value = Prop.GetOrd(Instance);
      if (value < 0 || value >= static_cast<std::int64_t>(Prop.Identifiers().size()))
        throw EWriteError("Property " + Prop.Name() + " of " + ComponentPath(Instance) + " has value " + IntToStr(value) +
                          ", which has no identifier");
      FOut->WriteValue(TValueType::vaIdent);
      FOut->WriteStr(Prop.Identifiers()[static_cast<std::size_t>(value)]);
      break;
    }
    case TPropKind::pkSet: {
      const auto bits = static_cast<std::uint64_t>(Prop.GetOrd(Instance));
      FOut->WriteValue(TValueType::vaSet);
      for (std::size_t i = 0; i < 64; ++i)
        if (bits >> i & 1) {
          if (i >= Prop.Identifiers().size())
            throw EWriteError("Property " + Prop.Name() + " of " + ComponentPath(Instance) + " holds element " +
                              IntToStr(static_cast<std::int64_t>(i)) + ", which has no identifier");
          FOut->WriteStr(Prop.Identifiers()[i]);
        }
      FOut->WriteStr("");
      break;
    }
    case TPropKind::pkString: WriteString(Prop.GetStr(Instance)); break;
    case TPropKind::pkMethod: {
      const std::string method = Prop.GetStr(Instance);
      if (method.empty()) {
        FOut->WriteValue(TValueType::vaNil);
      } else {
        FOut->WriteValue(TValueType::vaIdent);
        FOut->WriteStr(method);
      }
      break;
    }
    case TPropKind::pkStrings: break;
  }
  EndProperty();
}

void TWriter::DefineProperty(const std::string& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  if (!FSegments) throw EWriteError("Property " + Name + " defined outside of writing a component");
  BeginProperty(Name);
  WriteData(this);
  EndProperty();
}

void TWriter::DefineBinaryProperty(const std::string& Name, TStreamProc, TStreamProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  if (!FSegments) throw EWriteError("Property " + Name + " defined outside of writing a component");
  TMemoryStream data;
  WriteData(&data);
  BeginProperty(Name);
  FOut->WriteBinary(std::string_view(reinterpret_cast<const char*>(data.Bytes().data()), data.Bytes().size()));
  EndProperty();
}

// ---- Stream format -------------------------------------------------------------------------

TStreamOriginalFormat TestStreamFormat(TStream& Stream) {
  const std::int64_t pos = Stream.Position();
  unsigned char head[4] = {};
  const std::int64_t n = Stream.Read(head, 4);
  Stream.SetPosition(pos);
  if (n >= 1 && head[0] == 0xFF) return TStreamOriginalFormat::sofBinary;
  if (n == 4 && std::equal(head, head + 4, "TPF0")) return TStreamOriginalFormat::sofBinary;
  if (n >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) return TStreamOriginalFormat::sofUTF8Text;
  if (n >= 1 && std::string_view("oOiI \t\r\n").find(static_cast<char>(head[0])) != std::string_view::npos)
    return TStreamOriginalFormat::sofText;
  return TStreamOriginalFormat::sofUnknown;
}

}  // namespace vcl
