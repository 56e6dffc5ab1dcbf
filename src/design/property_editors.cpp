// The base property and component editors, and the editors of the property kinds.
#include <algorithm>

#include "design/DsgnIntf.hpp"

namespace design {

using vcl::TPropKind;

const TTypeInfo* TypeInfo(TPropKind Kind) {
  static const TTypeInfo types[] = {
      {TPropKind::pkInteger, "Integer"}, {TPropKind::pkBoolean, "Boolean"}, {TPropKind::pkEnumeration, "Enumeration"},
      {TPropKind::pkSet, "Set"},         {TPropKind::pkString, "string"},   {TPropKind::pkStrings, "TStrings"},
      {TPropKind::pkMethod, "Method"}};
  for (const TTypeInfo& t : types)
    if (t.Kind == Kind) return &t;
  throw vcl::EConvertError("No type record for property kind " + vcl::IntToStr(static_cast<int>(Kind)));
}

// ---- TPropertyEditor -----------------------------------------------------------------------

void TPropertyEditor::Activate() {}
bool TPropertyEditor::AllEqual() { return PropCount() == 1; }
bool TPropertyEditor::AutoFill() { return true; }
void TPropertyEditor::Edit() {}
TPropertyAttributes TPropertyEditor::GetAttributes() {
  return {TPropertyAttribute::paMultiSelect, TPropertyAttribute::paRevertable};
}
int TPropertyEditor::GetEditLimit() { return 255; }
std::string TPropertyEditor::GetName() { return FProp ? FProp->Name() : std::string(); }
void TPropertyEditor::GetProperties(const TGetPropEditProc&) {}
std::string TPropertyEditor::GetValue() { return "(unknown)"; }
void TPropertyEditor::GetValues(const TGetStrProc&) {}
void TPropertyEditor::Initialize() {}
void TPropertyEditor::SetValue(const std::string&) {}

vcl::TPersistent* TPropertyEditor::GetComponent(int Index) const {
  if (Index < 0 || Index >= PropCount())
    throw vcl::EListError("Property editor of " + (FProp ? FProp->Name() : std::string("no property")) +
                          " has no component " + vcl::IntToStr(Index) + " (it edits " + vcl::IntToStr(PropCount()) + ")");
  return FComponents[static_cast<std::size_t>(Index)];
}

void TPropertyEditor::Modified() {
  if (FDesigner) FDesigner->Modified();
}

void TPropertyEditor::SetPropEntries(TFormDesigner* ADesigner, std::vector<vcl::TPersistent*> Components,
                                     const vcl::TPropInfo* Prop) {
  FDesigner = ADesigner;
  FComponents = std::move(Components);
  FProp = Prop;
}

const vcl::TPropInfo& TPropertyEditor::Prop() const {
  if (!FProp) throw vcl::EConvertError("Property editor has no property to edit");
  return *FProp;
}

std::string TPropertyEditor::GetStrValueAt(int Index) const { return Prop().GetStr(GetComponent(Index)); }

void TPropertyEditor::SetStrValue(const std::string& Value) {
  for (vcl::TPersistent* c : FComponents) Prop().SetStr(c, Value);
  Modified();
}

std::int64_t TPropertyEditor::GetOrdValueAt(int Index) const { return Prop().GetOrd(GetComponent(Index)); }

void TPropertyEditor::SetOrdValue(std::int64_t Value) {
  for (vcl::TPersistent* c : FComponents) Prop().SetOrd(c, Value);
  Modified();
}

// ---- Editors of the property kinds ---------------------------------------------------------

bool TStringProperty::AllEqual() {
  const std::string first = GetStrValue();
  for (int i = 1; i < PropCount(); ++i)
    if (GetStrValueAt(i) != first) return false;
  return true;
}
int TStringProperty::GetEditLimit() { return 255; }
std::string TStringProperty::GetValue() { return GetStrValue(); }
void TStringProperty::SetValue(const std::string& Value) { SetStrValue(Value); }

bool TIntegerProperty::AllEqual() {
  for (int i = 1; i < PropCount(); ++i)
    if (GetOrdValueAt(i) != GetOrdValue()) return false;
  return true;
}
TPropertyAttributes TIntegerProperty::GetAttributes() {
  TPropertyAttributes a = TPropertyEditor::GetAttributes();
  if (!GetPropInfo()->IntegerIdents().empty()) a.Include(TPropertyAttribute::paValueList);
  return a;
}
std::string TIntegerProperty::GetValue() {
  std::string ident;
  const std::int64_t value = GetOrdValue();
  return vcl::IntToIdent(value, ident, GetPropInfo()->IntegerIdents()) ? ident : vcl::IntToStr(value);
}
void TIntegerProperty::GetValues(const TGetStrProc& Proc) {
  for (const vcl::TIdentMapEntry& e : GetPropInfo()->IntegerIdents()) Proc(e.Name);
}
void TIntegerProperty::SetValue(const std::string& Value) {
  int value = 0;
  if (vcl::IdentToInt(Value, value, GetPropInfo()->IntegerIdents())) return SetOrdValue(value);
  SetOrdValue(vcl::StrToInt(Value));
}

namespace {

// The identifiers of a boolean or an enumeration, by ordinal.
std::vector<std::string> ValueNames(const vcl::TPropInfo& Prop) {
  if (Prop.Kind() == TPropKind::pkBoolean) return {"False", "True"};
  return Prop.Identifiers();
}

}  // namespace

bool TEnumProperty::AllEqual() {
  for (int i = 1; i < PropCount(); ++i)
    if (GetOrdValueAt(i) != GetOrdValue()) return false;
  return true;
}
TPropertyAttributes TEnumProperty::GetAttributes() {
  return {TPropertyAttribute::paMultiSelect, TPropertyAttribute::paValueList, TPropertyAttribute::paSortList,
          TPropertyAttribute::paRevertable};
}
std::string TEnumProperty::GetValue() {
  const std::vector<std::string> names = ValueNames(*GetPropInfo());
  const std::int64_t value = GetOrdValue();
  if (value >= 0 && value < static_cast<std::int64_t>(names.size())) return names[static_cast<std::size_t>(value)];
  return vcl::IntToStr(value);
}
void TEnumProperty::GetValues(const TGetStrProc& Proc) {
  for (const std::string& name : ValueNames(*GetPropInfo())) Proc(name);
}
void TEnumProperty::SetValue(const std::string& Value) {
  const std::vector<std::string> names = ValueNames(*GetPropInfo());
  const auto it = std::find(names.begin(), names.end(), Value);
  if (it == names.end()) throw vcl::EConvertError("'" + Value + "' is not a value of property " + GetName());
  SetOrdValue(it - names.begin());
}

TPropertyAttributes TSetProperty::GetAttributes() {
  return {TPropertyAttribute::paMultiSelect, TPropertyAttribute::paRevertable};
}
std::string TSetProperty::GetValue() {
  const auto bits = static_cast<std::uint64_t>(GetOrdValue());
  const std::vector<std::string>& names = GetPropInfo()->Identifiers();
  std::string text = "[";
  for (std::size_t i = 0; i < names.size() && i < 64; ++i)
    if (bits & (std::uint64_t{1} << i)) text += (text.size() > 1 ? "," : "") + names[i];
  return text + "]";
}
void TSetProperty::SetValue(const std::string& Value) {
  const auto trim = [](std::string_view S) {
    while (!S.empty() && (S.front() == ' ' || S.front() == '\t')) S.remove_prefix(1);
    while (!S.empty() && (S.back() == ' ' || S.back() == '\t')) S.remove_suffix(1);
    return S;
  };
  std::string_view text = trim(Value);
  if (text.size() < 2 || text.front() != '[' || text.back() != ']')
    throw vcl::EConvertError("'" + Value + "' is not a set: write its elements in brackets, [a,b]");
  text = trim(text.substr(1, text.size() - 2));
  std::uint64_t bits = 0;
  for (std::size_t from = 0; !text.empty() && from <= text.size();) {
    const std::size_t comma = std::min(text.find(',', from), text.size());
    const std::string_view element = trim(text.substr(from, comma - from));
    const int index = GetPropInfo()->IdentifierIndex(element);
    if (index < 0 || index >= 64)
      throw vcl::EConvertError("'" + std::string(element) + "' is not an element of property " + GetName());
    bits |= std::uint64_t{1} << index;
    from = comma + 1;
  }
  SetOrdValue(static_cast<std::int64_t>(bits));
}

TPropertyAttributes TStringsProperty::GetAttributes() { return {TPropertyAttribute::paReadOnly}; }
std::string TStringsProperty::GetValue() { return "(TStrings)"; }

TPropertyAttributes TMethodProperty::GetAttributes() {
  return {TPropertyAttribute::paMultiSelect, TPropertyAttribute::paValueList, TPropertyAttribute::paSortList,
          TPropertyAttribute::paRevertable};
}

// ---- TComponentEditor ------------------------------------------------------------------------

void TComponentEditor::Edit() {
  if (GetVerbCount() > 0) ExecuteVerb(0);
}
void TComponentEditor::ExecuteVerb(int) {}
std::string TComponentEditor::GetVerb(int) { return {}; }
int TComponentEditor::GetVerbCount() { return 0; }
void TComponentEditor::Copy() {}

}  // namespace design
