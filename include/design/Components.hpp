// The components of a form as a design host sees them: every one the form owns, also those owned
// by a component on it (a frame's), and the name a component dropped on the form gets.
#pragma once

#include <string>
#include <vector>

#include "vcl/Classes.hpp"

namespace design {

/// Every component Root owns and every one those own in turn, depth first in creation order
/// (a component before those it owns); Root itself is not among them. Never fails.
std::vector<vcl::TComponent*> ComponentsOf(const vcl::TComponent* Root);

/// The components of ComponentsOf(Root) that are a T, in that order.
template <class T>
std::vector<T*> ComponentsOf(const vcl::TComponent* Root) {
  std::vector<T*> found;
  for (vcl::TComponent* c : ComponentsOf(Root))
    if (auto* t = dynamic_cast<T*>(c)) found.push_back(t);
  return found;
}

/// The name of Component among ComponentsOf(Root): its Name after the names of its owners below
/// Root, joined by "." ("Frame1.Lumetra1"); its Name alone when Root owns it. A component that
/// Root does not own, directly or not, gets its Name alone.
std::string ComponentPath(const vcl::TComponent* Root, const vcl::TComponent* Component);

/// The component of ComponentsOf(Root) whose ComponentPath is Path; nullptr when none is.
vcl::TComponent* FindComponentPath(const vcl::TComponent* Root, const std::string& Path);

/// The name a component of ClassName gets when it is dropped on Owner: the class name without
/// its leading "T", then the first number from 1 on that no component Owner owns has
/// ("Lumetra1", then "Lumetra2"). Never fails.
std::string NewComponentName(const vcl::TComponent* Owner, const std::string& ClassName);

}  // namespace design
