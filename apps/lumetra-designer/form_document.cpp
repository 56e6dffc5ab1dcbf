// The form open in the design host.
#include "form_document.hpp"

#include "design/Components.hpp"
#include "vcl/Classes.hpp"
#include "vcl/SysUtils.hpp"

namespace designer {

std::string FormDocument::Title() const { return "lumetra-designer - " + FileName() + (FModified ? " *" : ""); }

std::vector<vcl::TComponent*> FormDocument::Components() const { return design::ComponentsOf(Root()); }

std::string FormDocument::NameOf(const vcl::TComponent* Component) const { return design::ComponentPath(Root(), Component); }

vcl::TComponent* FormDocument::Component(const std::string& Name) const {
  if (vcl::TComponent* c = design::FindComponentPath(Root(), Name)) return c;
  throw vcl::Exception(FileName() + ": the form has no component " + Name);
}

std::unique_ptr<design::TPropertyEditor> FormDocument::EditorOf(vcl::TComponent* Component, const std::string& Property) {
  for (const vcl::TPropInfo* p : Component->ClassType()->Properties())
    if (p->Name() == Property) return design::CreatePropertyEditor(this, {Component}, *p);
  throw vcl::Exception(Component->Name() + " (" + Component->ClassName() + ") has no published property " + Property);
}

std::vector<InspectorRow> FormDocument::Inspect(vcl::TComponent* Component) {
  std::vector<InspectorRow> rows;
  for (const vcl::TPropInfo* p : Component->ClassType()->Properties()) {
    std::unique_ptr<design::TPropertyEditor> editor = design::CreatePropertyEditor(this, {Component}, *p);
    const design::TPropertyAttributes a = editor->GetAttributes();
    rows.push_back({editor->GetName(), editor->GetValue(), a.Contains(design::TPropertyAttribute::paReadOnly),
                    a.Contains(design::TPropertyAttribute::paDialog)});
  }
  return rows;
}

void FormDocument::SetValue(vcl::TComponent* Component, const std::string& Property, const std::string& Value) {
  std::unique_ptr<design::TPropertyEditor> editor = EditorOf(Component, Property);
  if (editor->GetAttributes().Contains(design::TPropertyAttribute::paReadOnly))
    throw vcl::Exception("The property " + Component->Name() + "." + Property + " is read-only: its value cannot be typed");
  editor->SetValue(Value);
}

void FormDocument::Edit(vcl::TComponent* Component, const std::string& Property) { EditorOf(Component, Property)->Edit(); }

std::vector<std::string> FormDocument::Verbs(vcl::TComponent* Component) {
  std::unique_ptr<design::TComponentEditor> editor = design::GetComponentEditor(Component, this);
  std::vector<std::string> verbs;
  for (int i = 0; i < editor->GetVerbCount(); ++i) verbs.push_back(editor->GetVerb(i));
  return verbs;
}

void FormDocument::ExecuteVerb(vcl::TComponent* Component, int Index) {
  design::GetComponentEditor(Component, this)->ExecuteVerb(Index);
}

void FormDocument::EditComponent(vcl::TComponent* Component) { design::GetComponentEditor(Component, this)->Edit(); }

std::vector<FormDocument::Fault> FormDocument::Check() const {
  std::vector<Fault> faults;
  for (vcl::TComponent* c : Components())
    for (design::TDesignProblem& p : design::CheckComponent(c)) faults.push_back({NameOf(c), std::move(p)});
  return faults;
}

void FormDocument::ShowFault(const Fault& F) {
  vcl::TComponent* c = Component(F.Component);
  if (!F.Problem.Show) return EditComponent(c);
  if (F.Problem.Show(c, F.Problem)) Modified();
}

vcl::TComponent* FormDocument::Drop(vcl::TClass Class) {
  if (!Class || !Class->CanCreate()) throw vcl::Exception("Cannot drop " + std::string(Class ? Class->ClassName() : "no class") + ": it has no constructor");
  const std::string name = design::NewComponentName(Root(), Class->ClassName());
  vcl::TComponent* c = Class->Create(Root());
  c->SetName(name);
  c->SetDesigning(true);
  c->Loaded();  // as if read with the form
  Modified();
  return c;
}

void FormDocument::Save() {
  design::TFormFile::Save();
  FModified = false;
}

bool FormDocument::CanClose(const std::function<CloseAnswer(const std::string& Question)>& Ask) {
  if (!FModified) return true;
  switch (Ask("Save the changes to " + FileName() + "?")) {
    case CloseAnswer::Save: Save(); return true;
    case CloseAnswer::Discard: return true;
    case CloseAnswer::Cancel: break;
  }
  return false;
}

}  // namespace designer
