// Walking a form's components, naming them by their owners, and naming a dropped component.
#include "design/Components.hpp"

namespace design {

namespace {

void Collect(const vcl::TComponent* Owner, std::vector<vcl::TComponent*>& Into) {
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    vcl::TComponent* c = Owner->Components(i);
    Into.push_back(c);
    Collect(c, Into);
  }
}

}  // namespace

std::vector<vcl::TComponent*> ComponentsOf(const vcl::TComponent* Root) {
  std::vector<vcl::TComponent*> all;
  if (Root) Collect(Root, all);
  return all;
}

std::string ComponentPath(const vcl::TComponent* Root, const vcl::TComponent* Component) {
  std::string path = Component->Name();
  for (const vcl::TComponent* o = Component->Owner(); o && o != Root; o = o->Owner()) {
    if (!o->Owner()) return Component->Name();  // not below Root
    path = o->Name() + "." + path;
  }
  return path;
}

vcl::TComponent* FindComponentPath(const vcl::TComponent* Root, const std::string& Path) {
  for (vcl::TComponent* c : ComponentsOf(Root))
    if (ComponentPath(Root, c) == Path) return c;
  return nullptr;
}

std::string NewComponentName(const vcl::TComponent* Owner, const std::string& ClassName) {
  const std::string base = ClassName.size() > 1 && ClassName[0] == 'T' ? ClassName.substr(1) : ClassName;
  for (int n = 1;; ++n) {
    std::string name = base + std::to_string(n);
    if (!Owner->FindComponent(name)) return name;
  }
}

}  // namespace design
