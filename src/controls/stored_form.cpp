// Stored forms: form streams embedded in the program (RCDATA resources on Windows, registered
// byte tables elsewhere), read into a form, checked for unknown classes and properties, and
// their events bound to the form's published methods.
#include <map>

#include "vcl/ExtCtrls.hpp"
#include "vcl/StdCtrls.hpp"
#include "vcl/TabNotBk.hpp"

namespace vcl {

namespace {

std::map<std::string, std::string_view, std::less<>>& ByteTables() {
  static auto* tables = new std::map<std::string, std::string_view, std::less<>>;
  return *tables;
}

std::string PathOf(const TComponent* C) {
  std::string path = C->Name().empty() ? C->ClassName() : C->Name();
  for (const TComponent* o = C->Owner(); o && o->Owner(); o = o->Owner())
    path.insert(0, (o->Name().empty() ? o->ClassName() : o->Name()) + ".");
  return path;
}

void Descendants(TComponent* Root, std::vector<TComponent*>& List) {
  for (int i = 0; i < Root->ComponentCount(); ++i) {
    TComponent* c = Root->Components(i);
    List.push_back(c);
    Descendants(c, List);
  }
}

}  // namespace

TFormResource::TFormResource(const char* Name, const unsigned char* Data, std::size_t Size) : FName(Name), FData(Data) {
  ByteTables()[Name] = std::string_view(reinterpret_cast<const char*>(Data), Size);
}

TFormResource::~TFormResource() {
  auto it = ByteTables().find(FName);
  if (it != ByteTables().end() && it->second.data() == reinterpret_cast<const char*>(FData)) ByteTables().erase(it);
}

std::string_view FindFormResource(const std::string& Name) {
#ifdef _WIN32
  const HMODULE module = GetModuleHandleA(nullptr);
  if (HRSRC info = FindResourceA(module, Name.c_str(), reinterpret_cast<LPCSTR>(RT_RCDATA))) {
    const HGLOBAL data = LoadResource(module, info);
    const DWORD size = SizeofResource(module, info);
    if (data && size) return std::string_view(static_cast<const char*>(LockResource(data)), size);
  }
#endif
  auto it = ByteTables().find(Name);
  return it == ByteTables().end() ? std::string_view() : it->second;
}

bool ReadComponentRes(const std::string& ResName, TComponent* Instance) {
  const std::string_view bytes = FindFormResource(ResName);
  if (bytes.empty()) return false;
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  TReader reader(stream);
  try {
    reader.ReadRootComponent(Instance);
  } catch (const EReadError& e) {
    throw EReadError("Stored form " + ResName + ": " + e.Message());
  }
  return true;
}

void CheckStoredForm(TComponent* Root, const std::string& Where) {
  std::vector<TComponent*> all{Root};
  Descendants(Root, all);
  for (TComponent* c : all) {
    if (c->Is<TUnknownComponent>())
      throw EReadError(Where + ": class " + static_cast<TUnknownComponent*>(c)->StreamedClassName() + " of " + PathOf(c) +
                       " is not registered");
    if (const TStreamedInfo* info = c->StreamedInfo())
      for (const auto& p : info->Properties)
        if (!p.Known) throw EReadError(Where + ": unknown property " + PathOf(c) + "." + p.Name + " of " + c->ClassName());
  }
}

void AdoptStoredComponents(TComponent* Root) {
  std::vector<TComponent*> all;
  Descendants(Root, all);
  for (TComponent* c : all)
    if (!c->Name().empty() && c->Owner() != Root) Root->InsertComponent(c);
  std::vector<TComponent*> controls{Root};
  Descendants(Root, controls);
  for (TComponent* c : controls)
    if (c->Is<TControl>()) static_cast<TControl*>(c)->BindEvents(Root);
  if (Root->Is<TCustomForm>()) {
    auto* form = static_cast<TCustomForm*>(Root);
    if (!form->FActiveControlName.empty()) {
      TComponent* active = form->FindComponent(form->FActiveControlName);
      if (!active || !active->Is<TWinControl>())
        throw EReadError("ActiveControl " + form->FActiveControlName + " of " + form->Name() + " is not a windowed control");
      form->FActiveControl = static_cast<TWinControl*>(active);
      form->FActiveControlName.clear();
    }
  }
}

void TCustomForm::InitInheritedComponent() {
  std::string name = ClassName();
  for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (!ReadComponentRes(name, this)) throw EReadError("Resource " + name + " not found");
  AdoptStoredComponents(this);
  DoCreate();
}

void RegisterControlClasses() {
  for (TClass c : {TLabel::StaticClass(), TButton::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                   TGroupBox::StaticClass(), TEdit::StaticClass(), TMemo::StaticClass(), TListBox::StaticClass(),
                   TBevel::StaticClass(), TPanel::StaticClass(), TRadioGroup::StaticClass(), TTabbedNotebook::StaticClass(),
                   TTabPage::StaticClass()})
    RegisterClass(c);
}

}  // namespace vcl
