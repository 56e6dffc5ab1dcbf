// Class references, the class registry used by streaming, and TPersistent.
#include <algorithm>
#include <map>

#include "vcl/Classes.hpp"

namespace vcl {

TMetaClass::TMetaClass(const char* AName, TClass AParent, TConstructor ACreate, TSetup Setup)
    : FName(AName), FParent(AParent), FCreate(ACreate) {
  // Start from the parent's entries as its class set them up, not as they were replaced since:
  // replacing an entry of a class must not reach a descendant that is first used afterwards.
  if (FParent) FEntries = FParent->FDeclaredEntries;
  if (Setup) Setup(*this);
  FDeclaredEntries = FEntries;
}

bool TMetaClass::InheritsFrom(const TMetaClass* AClass) const {
  for (const TMetaClass* c = this; c; c = c->FParent)
    if (c == AClass) return true;
  return false;
}

int TMetaClass::AddEntry(TCodePointer Code) {
  FEntries.push_back(Code);
  FDeclaredEntries.push_back(Code);
  return EntryCount() - 1;
}

TCodePointer TMetaClass::Entry(int Slot) const {
  if (Slot < 0 || Slot >= EntryCount())
    throw EListError(FName + " has no table entry " + IntToStr(Slot));
  return FEntries[static_cast<std::size_t>(Slot)];
}

void TMetaClass::SetEntry(int Slot, TCodePointer Code) {
  if (Slot < 0 || Slot >= EntryCount())
    throw EListError(FName + " has no table entry " + IntToStr(Slot));
  FEntries[static_cast<std::size_t>(Slot)] = Code;
}

TClass TObject::StaticClass() {
  static TMetaClass* const meta = new TMetaClass("TObject", nullptr);
  return meta;
}

namespace {
std::map<std::string, TClass, std::less<>>& Registry() {
  // Never freed, like the meta objects it points to.
  static auto* const classes = new std::map<std::string, TClass, std::less<>>;
  return *classes;
}
}  // namespace

void RegisterClass(TClass AClass) {
  if (AClass) Registry().emplace(AClass->ClassName(), AClass);
}

void UnRegisterClass(TClass AClass) {
  auto& classes = Registry();
  auto it = AClass ? classes.find(AClass->ClassName()) : classes.end();
  if (it != classes.end() && it->second == AClass) classes.erase(it);
}

TClass GetClass(std::string_view ClassName) {
  auto& classes = Registry();
  auto it = classes.find(ClassName);
  return it == classes.end() ? nullptr : it->second;
}

TClass FindClass(std::string_view ClassName) {
  if (TClass c = GetClass(ClassName)) return c;
  throw EReadError("Class " + std::string(ClassName) + " not found");
}

VCL_IMPLEMENT_CLASS(TPersistent, TObject)

void TPersistent::Assign(const TPersistent* Source) {
  const std::string from = Source ? Source->ClassName() : std::string("nil");
  throw EConvertError("Cannot assign a " + from + " to a " + ClassName());
}

void TPersistent::DefineProperties(TFiler*) {}

}  // namespace vcl
