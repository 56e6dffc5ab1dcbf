// Persistence in the form: Translations as a published list, OrgProps as "Storage", and the
// translation text file that goes with the form when FileName is set.
#include "Vek.hpp"

namespace Vek {

namespace {

// Whether a FileName names its folder, and so is used as given when the form is written. On
// Windows that is a name with a backslash; elsewhere a slash separates folders as well.
bool NamesAFolder(const std::string& Name) {
#ifdef _WIN32
  return Name.find('\\') != std::string::npos;
#else
  return Name.find_first_of("\\/") != std::string::npos;
#endif
}

}  // namespace

void TLumetra::SetTranslations(const vcl::TStrings* Value) {
  // Assigning the list itself must not empty it before it is read.
  std::unique_ptr<vcl::TStringList> copy;
  if (Value == FTranslations.get()) {
    copy = std::make_unique<vcl::TStringList>();
    copy->AddStrings(*Value);
    Value = copy.get();
  }
  FTranslations->Clear();
  if (!Value) return;
  for (int i = 0; i < Value->Count(); ++i) FTranslations->SortInsert(Value->Strings(i), Value->Objects(i));
}

void TLumetra::DefineProperties(vcl::TFiler* Filer) {
  vcl::TComponent::DefineProperties(Filer);
  Filer->DefineProperty("Storage", this, &TLumetra::ReadTranslations, &TLumetra::WriteTranslations, true);
}

void TLumetra::ReadTranslations(vcl::TReader* Reader) {
  Reader->ReadListBegin();
  FOrgProps->Clear();
  while (!Reader->EndOfList()) FOrgProps->Add(Reader->ReadString());
  Reader->ReadListEnd();

  if (vcl::FileExists(FFileName)) LoadFrom(FFileName);
  else if (!FFileName.empty() && vcl::FileExists(GetAppDir() + FFileName)) LoadFrom(GetAppDir() + FFileName);
}

void TLumetra::WriteTranslations(vcl::TWriter* Writer) {
  Writer->WriteListBegin();
  for (int i = 0; i < FOrgProps->Count(); ++i) Writer->WriteString(FOrgProps->Strings(i));
  Writer->WriteListEnd();

  if (NamesAFolder(FFileName)) SaveTo(FFileName);
  else if (!FFileName.empty()) SaveTo(GetAppDir() + FFileName);
}

}  // namespace Vek
