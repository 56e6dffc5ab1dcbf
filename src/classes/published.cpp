// Published-property descriptors: the per-class lists, the stored rule and typed access.
#include <algorithm>

#include "vcl/Classes.hpp"

namespace vcl {

TMetaClass::~TMetaClass() = default;

TPropInfo& TMetaClass::AddProperty(std::unique_ptr<TPropInfo> Info) {
  FProperties.push_back(std::move(Info));
  return *FProperties.back();
}

std::vector<const TPropInfo*> TMetaClass::Properties() const {
  std::vector<const TMetaClass*> chain;
  for (const TMetaClass* c = this; c; c = c->FParent) chain.push_back(c);
  std::vector<const TPropInfo*> list;
  for (auto c = chain.rbegin(); c != chain.rend(); ++c)
    for (const auto& p : (*c)->FProperties) {
      auto same = std::find_if(list.begin(), list.end(), [&](const TPropInfo* q) { return q->Name() == p->Name(); });
      if (same != list.end()) *same = p.get();
      else list.push_back(p.get());
    }
  return list;
}

const TPropInfo* TMetaClass::FindProperty(std::string_view Name) const {
  for (const TMetaClass* c = this; c; c = c->FParent)
    for (const auto& p : c->FProperties)
      if (p->Name() == Name) return p.get();
  return nullptr;
}

bool IdentToInt(std::string_view Ident, int& Int, TIdentMap Map) {
  for (const TIdentMapEntry& e : Map)
    if (Ident == e.Name) {
      Int = e.Value;
      return true;
    }
  return false;
}

bool IntToIdent(std::int64_t Int, std::string& Ident, TIdentMap Map) {
  for (const TIdentMapEntry& e : Map)
    if (Int == e.Value) {
      Ident = e.Name;
      return true;
    }
  return false;
}

int TPropInfo::IdentifierIndex(std::string_view Ident) const {
  for (std::size_t i = 0; i < FIdentifiers.size(); ++i)
    if (FIdentifiers[i] == Ident) return static_cast<int>(i);
  return -1;
}

void TPropInfo::Check(const TPersistent* Instance, bool KindFits) const {
  if (!KindFits) throw EConvertError("Property " + FName + " of " + FOwner->ClassName() + " is not of that kind");
  if (!Instance || !Instance->InheritsFrom(FOwner))
    throw EConvertError((Instance ? Instance->ClassName() : std::string("nil")) + " has no property " + FName + " of " +
                        FOwner->ClassName());
}

bool TPropInfo::IsStored(const TPersistent* Instance) const {
  Check(Instance, true);
  return FStored && (!FStoredIf || FStoredIf(Instance));
}

bool TPropInfo::IsDefault(const TPersistent* Instance) const {
  Check(Instance, true);
  switch (FKind) {
    case TPropKind::pkString: return FGetStr(Instance) == FDefaultText;
    case TPropKind::pkMethod: return FGetStr(Instance).empty();
    case TPropKind::pkStrings: {
      const TStrings* lines = FGetStrings(Instance);
      return !lines || lines->Count() == 0;
    }
    default: return FHasDefault && FGetOrd(Instance) == FDefault;
  }
}

std::int64_t TPropInfo::GetOrd(const TPersistent* Instance) const {
  Check(Instance, static_cast<bool>(FGetOrd));
  return FGetOrd(Instance);
}

void TPropInfo::SetOrd(TPersistent* Instance, std::int64_t Value) const {
  Check(Instance, static_cast<bool>(FSetOrd));
  if (!FSetOrd(Instance, Value))
    throw EConvertError("Value " + IntToStr(Value) + " is out of range for property " + FName);
}

std::string TPropInfo::GetStr(const TPersistent* Instance) const {
  Check(Instance, static_cast<bool>(FGetStr));
  return FGetStr(Instance);
}

void TPropInfo::SetStr(TPersistent* Instance, std::string Value) const {
  Check(Instance, static_cast<bool>(FSetStr));
  FSetStr(Instance, std::move(Value));
}

TStrings* TPropInfo::GetStrings(const TPersistent* Instance) const {
  Check(Instance, static_cast<bool>(FGetStrings));
  return FGetStrings(Instance);
}

void TPropInfo::SetStrings(TPersistent* Instance, TStrings* Value) const {
  Check(Instance, FKind == TPropKind::pkStrings);
  if (!FSetStrings) throw EConvertError("Property " + FName + " of " + FOwner->ClassName() + " has no setter");
  FSetStrings(Instance, Value);
}

}  // namespace vcl
