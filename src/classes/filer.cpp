// TReader and TWriter: components, published and defined properties on the binary form stream.
#include <algorithm>
#include <optional>

#include "binary_driver.hpp"
#include "form_text.hpp"
#include "vcl/CodePages.hpp"

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
  if (type == TValueType::vaWString) return FromUtf16(AnsiCodePage, FIn->ReadWideData());
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
  // What each one holds now is what writing it back tells a change by.
  TMemoryStream none;
  TWriter recorder(none);
  for (TComponent* c : loaded)
    if (TStreamedInfo* streamed = c->StreamedInfo()) recorder.RecordLoaded(c, *streamed);
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
      const bool known = ReadProperty(Instance, name);
      if (!known) {
        FIn->SetPos(start);
        FIn->SkipValue();
      }
      Info.Properties.push_back({std::move(name), known, std::string(FIn->Bytes(start, FIn->Pos()))});
    } catch (const EReadError& e) {
      throw EReadError("Error reading " + ComponentPath(Instance) + "." + name + ": " + e.Message());
    }
  }
  FIn->ReadListEnd();
}

bool TReader::ReadProperty(TComponent* Instance, const std::string& Name) {
  const TClass cls = Instance->ClassType();
  if (const TPropInfo* prop = cls->FindProperty(Name)) return ReadPublished(Instance, *prop);
  if (Name.size() > StringsSuffix.size() && Name.ends_with(StringsSuffix)) {
    const TPropInfo* prop = cls->FindProperty(std::string_view(Name).substr(0, Name.size() - StringsSuffix.size()));
    if (prop && prop->Kind() == TPropKind::pkStrings) {
      // Into the list in place, as it stands in the stream, not through the setter.
      TStrings* lines = prop->GetStrings(Instance);
      ReadListBegin();
      if (lines) lines->Clear();
      while (!EndOfList()) {
        std::string line = ReadString();
        if (lines) lines->Add(std::move(line));
      }
      ReadListEnd();
      return true;
    }
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

void TWriter::BeginProperty(const std::string& Name, bool Defined) {
  FSegments->push_back({Name, FOut->Target()->size(), 0, true, Defined});
  FOut->WriteStr(Name);
}

void TWriter::EndProperty() {
  TSegment& segment = FSegments->back();
  segment.End = FOut->Target()->size();
  if (!segment.Defined) return;  // a published value is written whole
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

// The properties of LoadedValues in their order: name and value, as views into it.
std::vector<std::pair<std::string_view, std::string_view>> LoadedProperties(std::string_view Loaded) {
  std::vector<std::pair<std::string_view, std::string_view>> values;
  TBinaryObjectReader in(Loaded, 0);
  while (in.Remaining() != 0) {
    const std::size_t nameAt = in.Pos() + 1;
    const std::string_view name = Loaded.substr(nameAt, in.ReadStr("a property name").size());
    const std::size_t valueAt = in.Pos();
    in.SkipValue();
    values.emplace_back(name, Loaded.substr(valueAt, in.Pos() - valueAt));
  }
  return values;
}

// The first item of List whose Name is Key, searched from Hint on (where it mostly is) and then
// from the start; nullptr when there is none. A component has a few dozen properties.
template <class T, class N>
const T* FindNamed(const std::vector<T>& List, N Name, std::size_t Hint, std::string_view Key) {
  for (std::size_t n = 0; n < List.size(); ++n) {
    const T& item = List[(Hint + n) % List.size()];
    if (Name(item) == Key) return &item;
  }
  return nullptr;
}
}  // namespace

void TWriter::EncodeProperties(TComponent* Instance, bool Every, std::string& Own, std::vector<TSegment>& Segments,
                               std::vector<std::string>* WithoutData) {
  std::string* const target = FOut->Target();
  std::vector<TSegment>* const outerSegments = FSegments;
  std::vector<std::string>* const outerWithout = FWithoutData;
  FOut->SetTarget(&Own);
  FSegments = &Segments;
  FWithoutData = WithoutData;
  const auto restore = [&] {
    FOut->SetTarget(target);
    FSegments = outerSegments;
    FWithoutData = outerWithout;
  };
  try {
    for (const TPropInfo* prop : Instance->ClassType()->Properties()) {
      const bool stores = prop->IsStored(Instance) && !prop->IsDefault(Instance);
      if (!stores && !Every) continue;
      const std::size_t mark = Own.size();
      try {
        WritePublished(Instance, *prop);
      } catch (const EWriteError&) {
        if (!FRecorded) throw;
        // A value without an encoding cannot be compared: it counts as changed when written.
        Own.resize(mark);
        while (!Segments.empty() && Segments.back().Begin >= mark) Segments.pop_back();
        continue;
      }
      Segments.back().Stores = stores;
    }
    Instance->DefineProperties(this);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TWriter::RecordLoaded(TComponent* Instance, TStreamedInfo& Info) {
  std::string own;
  std::vector<TSegment> segments;
  FRecorded = &Info;
  Info.LoadedDefined.clear();
  try {
    EncodeProperties(Instance, true, own, segments, nullptr);
  } catch (...) {
    FRecorded = nullptr;
    throw;
  }
  FRecorded = nullptr;
  Info.LoadedValues = std::move(own);
}

void TWriter::WriteProperties(TComponent* Instance) {
  const TStreamedInfo* info = Instance->StreamedInfo();
  std::string own;
  std::vector<TSegment> segments;
  std::vector<std::string> withoutData;
  EncodeProperties(Instance, info != nullptr, own, segments, &withoutData);
  if (!info) return FOut->WriteRaw(own);  // the stored properties, in declaration order

  // What changed since the component was read: a published value that is not what it was
  // then, a defined one that is not what the stream held.
  using TProperty = TStreamedInfo::TProperty;
  const auto loaded = LoadedProperties(info->LoadedValues);
  const std::vector<TProperty>& stream = info->Properties;
  auto heldAs = [&](std::string_view Name) -> const TProperty* {
    for (const TProperty& p : stream)
      if (p.Known && p.Name == Name) return &p;
    return nullptr;
  };
  auto valueOf = [&](const TSegment& Segment) {
    return std::string_view(own).substr(Segment.Begin + 1 + Segment.Name.size(), Segment.End - Segment.Begin - 1 - Segment.Name.size());
  };
  std::vector<bool> changed(segments.size()), held(segments.size());
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const TSegment& s = segments[i];
    const TProperty* before = heldAs(s.Name);
    held[i] = before != nullptr;
    if (s.Defined) {
      changed[i] = !before || !SameValue(before->Value, valueOf(s));
    } else {
      const auto* then = FindNamed(loaded, [](const auto& L) { return L.first; }, i, s.Name);
      changed[i] = !then || then->second != valueOf(s);
    }
  }
  auto segmentOf = [&](std::string_view Name) -> std::optional<std::size_t> {
    const TSegment* s = FindNamed(segments, [](const TSegment& S) { return std::string_view(S.Name); }, 0, Name);
    if (!s) return std::nullopt;
    return static_cast<std::size_t>(s - segments.data());
  };
  // A defined property that had a value when the component was read and has none now.
  auto valueTaken = [&](std::string_view Name) {
    auto is = [Name](const std::string& N) { return N == Name; };
    return std::any_of(withoutData.begin(), withoutData.end(), is) &&
           std::any_of(info->LoadedDefined.begin(), info->LoadedDefined.end(), is);
  };

  // The stream's properties in their order, each as it came unless it changed; one the stream
  // did not hold and that is stored anew follows the one declared before it.
  std::vector<bool> written(segments.size());
  auto isNew = [&](std::size_t i) { return changed[i] && segments[i].Stores && !held[i]; };
  auto emit = [&](std::size_t i) {
    written[i] = true;
    FOut->WriteRaw(std::string_view(own).substr(segments[i].Begin, segments[i].End - segments[i].Begin));
  };
  auto keep = [&](const TProperty& p) {
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
  };
  for (const TProperty& p : stream) {
    const std::optional<std::size_t> at = segmentOf(p.Name);
    if (!p.Known) {  // back in its place, unless the class knows it now and writes a value of its own
      if (!at || !isNew(*at)) keep(p);
      continue;
    }
    if (!at) {  // the class writes nothing of it now
      if (!valueTaken(p.Name)) keep(p);
      continue;
    }
    const std::size_t i = *at;
    if (written[i] && changed[i]) continue;  // a changed property the stream held twice: once
    for (std::size_t j = 0; j < i; ++j)
      if (!written[j] && isNew(j)) emit(j);
    if (!changed[i]) keep(p);
    else if (segments[i].Stores) emit(i);
    written[i] = true;
    for (std::size_t j = i + 1; j < segments.size() && !written[j] && isNew(j); ++j) emit(j);
  }
  for (std::size_t i = 0; i < segments.size(); ++i)
    if (!written[i] && isNew(i)) emit(i);
}

void TWriter::WritePublished(const TComponent* Instance, const TPropInfo& Prop) {
  if (Prop.Kind() == TPropKind::pkStrings) {
    BeginProperty(Prop.Name() + std::string(StringsSuffix), false);
    const TStrings* lines = Prop.GetStrings(Instance);
    WriteListBegin();
    for (int i = 0; lines && i < lines->Count(); ++i) WriteString(lines->Get(i));
    WriteListEnd();
    EndProperty();
    return;
  }
  BeginProperty(Prop.Name(), false);
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

// Whether a defined property is to be written now; otherwise it is noted as having no value,
// or, while recording, as having one or not.
bool TWriter::DefinesValue(const std::string& Name, bool HasData) {
  if (!FSegments) throw EWriteError("Property " + Name + " defined outside of writing a component");
  if (FRecorded) {
    if (HasData) FRecorded->LoadedDefined.push_back(Name);
    return false;
  }
  if (!HasData && FWithoutData) FWithoutData->push_back(Name);
  return HasData;
}

void TWriter::DefineProperty(const std::string& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
  if (!DefinesValue(Name, HasData && WriteData)) return;
  BeginProperty(Name, true);
  WriteData(this);
  EndProperty();
}

void TWriter::DefineBinaryProperty(const std::string& Name, TStreamProc, TStreamProc WriteData, bool HasData) {
  if (!DefinesValue(Name, HasData && WriteData)) return;
  TMemoryStream data;
  WriteData(&data);
  BeginProperty(Name, true);
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
