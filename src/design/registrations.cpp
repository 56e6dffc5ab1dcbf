// The registrations of property editors, component editors and palette classes, kept per module.
#include <algorithm>

#include "design/DsgnIntf.hpp"

namespace design {

namespace {

struct Registry {
  std::vector<TPropertyEditorRegistration> PropertyEditors;
  std::vector<TComponentEditorRegistration> ComponentEditors;
  std::vector<TPaletteEntry> Palette;
  std::vector<TComponentCheckRegistration> Checks;
  TModuleHandle Current = nullptr;
  std::uint64_t NextSequence = 1;
};

// Made on first use and never freed: a module's unload code may still drop its registrations
// after the program's static objects are gone.
Registry& Reg() {
  static Registry* const registry = new Registry;
  return *registry;
}

// How far Ancestor is above Class (0: the class itself); -1 when it is no ancestor. A
// registration for any class (nullptr) is farther than every real ancestor.
int Distance(vcl::TClass Class, vcl::TClass Ancestor) {
  if (!Ancestor) return 1 << 20;
  int d = 0;
  for (vcl::TClass c = Class; c; c = c->ClassParent(), ++d)
    if (c == Ancestor) return d;
  return -1;
}

template <class T>
TPropertyEditorClass EditorOf(const char* Name) {
  return PropertyEditorClass<T>(Name);
}

TPropertyEditorClass KindEditor(vcl::TPropKind Kind) {
  switch (Kind) {
    case vcl::TPropKind::pkInteger: return EditorOf<TIntegerProperty>("TIntegerProperty");
    case vcl::TPropKind::pkBoolean:
    case vcl::TPropKind::pkEnumeration: return EditorOf<TEnumProperty>("TEnumProperty");
    case vcl::TPropKind::pkSet: return EditorOf<TSetProperty>("TSetProperty");
    case vcl::TPropKind::pkString: return EditorOf<TStringProperty>("TStringProperty");
    case vcl::TPropKind::pkStrings: return EditorOf<TStringsProperty>("TStringsProperty");
    case vcl::TPropKind::pkMethod: return EditorOf<TMethodProperty>("TMethodProperty");
  }
  return EditorOf<TPropertyEditor>("TPropertyEditor");
}

}  // namespace

TModuleHandle CurrentModule() { return Reg().Current; }

TCurrentModule::TCurrentModule(TModuleHandle Module) : FSaved(Reg().Current) { Reg().Current = Module; }
TCurrentModule::~TCurrentModule() { Reg().Current = FSaved; }

void DropModuleRegistrations(TModuleHandle Module) {
  Registry& r = Reg();
  std::erase_if(r.PropertyEditors, [Module](const auto& e) { return e.Module == Module; });
  std::erase_if(r.ComponentEditors, [Module](const auto& e) { return e.Module == Module; });
  std::erase_if(r.Palette, [Module](const auto& e) { return e.Module == Module; });
  std::erase_if(r.Checks, [Module](const auto& e) { return e.Module == Module; });
}

void RegisterPropertyEditor(const TTypeInfo* PropertyType, vcl::TClass ComponentClass, std::string PropertyName,
                            TPropertyEditorClass EditorClass) {
  if (!PropertyType)
    throw vcl::Exception("RegisterPropertyEditor: no property type given for editor " + EditorClass.Name);
  if (!EditorClass) throw vcl::Exception("RegisterPropertyEditor: editor class " + EditorClass.Name + " cannot be created");
  Registry& r = Reg();
  r.PropertyEditors.push_back(
      {PropertyType, ComponentClass, std::move(PropertyName), std::move(EditorClass), r.Current, r.NextSequence++});
}

void RegisterComponentEditor(vcl::TClass ComponentClass, TComponentEditorClass EditorClass) {
  if (!ComponentClass)
    throw vcl::Exception("RegisterComponentEditor: no component class given for editor " + EditorClass.Name);
  if (!EditorClass)
    throw vcl::Exception("RegisterComponentEditor: editor class " + EditorClass.Name + " cannot be created");
  Registry& r = Reg();
  r.ComponentEditors.push_back({ComponentClass, std::move(EditorClass), r.Current, r.NextSequence++});
}

void RegisterComponents(const std::string& Page, std::initializer_list<vcl::TClass> Classes) {
  if (Page.empty()) throw vcl::Exception("RegisterComponents: the palette page name is empty");
  for (vcl::TClass c : Classes)
    if (!c) throw vcl::Exception("RegisterComponents: a class for palette page " + Page + " is nil");
  Registry& r = Reg();
  for (vcl::TClass c : Classes) r.Palette.push_back({Page, c, r.Current, r.NextSequence++});
}

void RegisterComponentCheck(vcl::TClass ComponentClass, TComponentCheck Check, TShowProblem Show) {
  if (!ComponentClass) throw vcl::Exception("RegisterComponentCheck: no component class given");
  if (!Check) throw vcl::Exception("RegisterComponentCheck: no check given for class " + ComponentClass->ClassName());
  Registry& r = Reg();
  r.Checks.push_back({ComponentClass, Check, Show, r.Current, r.NextSequence++});
}

std::vector<TPropertyEditorRegistration> PropertyEditorRegistrations() { return Reg().PropertyEditors; }
std::vector<TComponentEditorRegistration> ComponentEditorRegistrations() { return Reg().ComponentEditors; }
std::vector<TPaletteEntry> PaletteEntries() { return Reg().Palette; }
std::vector<TComponentCheckRegistration> ComponentCheckRegistrations() { return Reg().Checks; }

TPropertyEditorClass GetPropertyEditorClass(vcl::TClass ComponentClass, const vcl::TPropInfo& Prop) {
  const TTypeInfo* type = TypeInfo(Prop);
  const TPropertyEditorRegistration* best = nullptr;
  int bestDistance = 0;
  for (const TPropertyEditorRegistration& e : Reg().PropertyEditors) {
    if (e.PropertyType != type) continue;
    if (!e.PropertyName.empty() && e.PropertyName != Prop.Name()) continue;
    const int d = Distance(ComponentClass, e.ComponentClass);
    if (d < 0) continue;
    const bool named = !e.PropertyName.empty();
    const bool bestNamed = best && !best->PropertyName.empty();
    // Later registrations come later in the list, so ties go to them.
    if (!best || named > bestNamed || (named == bestNamed && d <= bestDistance)) {
      best = &e;
      bestDistance = d;
    }
  }
  return best ? best->EditorClass : KindEditor(Prop.Kind());
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TFormDesigner* Designer, std::vector<vcl::TPersistent*> Components,
                                                      const vcl::TPropInfo& Prop) {
  if (Components.empty() || !Components.front())
    throw vcl::Exception("CreatePropertyEditor: no component selected for property " + Prop.Name());
  std::unique_ptr<TPropertyEditor> editor = GetPropertyEditorClass(Components.front()->ClassType(), Prop).Create();
  editor->SetPropEntries(Designer, std::move(Components), &Prop);
  editor->Initialize();
  return editor;
}

std::unique_ptr<TComponentEditor> GetComponentEditor(vcl::TComponent* Component, TFormDesigner* Designer) {
  const TComponentEditorRegistration* best = nullptr;
  int bestDistance = 0;
  if (Component)
    for (const TComponentEditorRegistration& e : Reg().ComponentEditors) {
      const int d = Distance(Component->ClassType(), e.ComponentClass);
      if (d >= 0 && (!best || d <= bestDistance)) {
        best = &e;
        bestDistance = d;
      }
    }
  if (best) return best->EditorClass.Create(Component, Designer);
  return std::make_unique<TComponentEditor>(Component, Designer);
}

std::vector<TDesignProblem> CheckComponent(vcl::TComponent* Component) {
  std::vector<TDesignProblem> problems;
  if (!Component) return problems;
  // Copied: a check is the package's code and may register more while it runs.
  const std::vector<TComponentCheckRegistration> checks = Reg().Checks;
  for (const TComponentCheckRegistration& e : checks)
    if (Distance(Component->ClassType(), e.ComponentClass) >= 0)
      for (TDesignProblem& p : e.Check(Component)) {
        p.Show = e.Show;
        problems.push_back(std::move(p));
      }
  return problems;
}

std::vector<std::string> PalettePages() {
  std::vector<std::string> pages;
  for (const TPaletteEntry& e : Reg().Palette)
    if (std::find(pages.begin(), pages.end(), e.Page) == pages.end()) pages.push_back(e.Page);
  return pages;
}

std::vector<vcl::TClass> PaletteClasses(std::string_view Page) {
  std::vector<vcl::TClass> classes;
  for (const TPaletteEntry& e : Reg().Palette)
    if (e.Page == Page) classes.push_back(e.ComponentClass);
  return classes;
}

}  // namespace design
