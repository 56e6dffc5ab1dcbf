// TComponent: ownership of components, names and component state.
#include <algorithm>

#include "vcl/Classes.hpp"

namespace vcl {

VCL_IMPLEMENT_CLASS(TComponent, TPersistent)

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  FComponentState |= csDestroying;
  while (!FComponents.empty()) {
    TComponent* last = FComponents.back();
    RemoveComponent(last);
    delete last;
  }
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::SetName(std::string AName) {
  if (FOwner) FOwner->UnindexName(this);
  FName = std::move(AName);
  if (FOwner) FOwner->IndexName(this);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FComponents[static_cast<std::size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
  const auto it = FNames.find(AName);
  return it == FNames.end() ? nullptr : it->second.front();
}

void TComponent::IndexName(TComponent* AComponent) {
  std::vector<TComponent*>& named = FNames[AComponent->FName];
  // Mostly the last inserted; a renamed one goes back to its place in the list.
  const auto at = std::upper_bound(named.begin(), named.end(), AComponent->FInserted,
                                   [](std::uint64_t Inserted, const TComponent* C) { return Inserted < C->FInserted; });
  named.insert(at, AComponent);
}

void TComponent::UnindexName(TComponent* AComponent) {
  const auto it = FNames.find(AComponent->FName);
  if (it == FNames.end()) return;
  std::vector<TComponent*>& named = it->second;
  // From the back: an owner frees its components last first.
  const auto at = std::find(named.rbegin(), named.rend(), AComponent);
  if (at != named.rend()) named.erase(std::next(at).base());
  if (named.empty()) FNames.erase(it);
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner == this) return;
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  AComponent->FInserted = ++FInsertions;
  IndexName(AComponent);
  if (FComponentState & csDesigning) AComponent->SetDesigning(true);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  // From the back: an owner frees its components last first.
  const auto it = std::find(FComponents.rbegin(), FComponents.rend(), AComponent);
  if (it == FComponents.rend()) return;
  UnindexName(AComponent);
  FComponents.erase(std::next(it).base());
  AComponent->FOwner = nullptr;
}

void TComponent::SetDesigning(bool Value) {
  if (Value) FComponentState |= csDesigning;
  else FComponentState &= ~static_cast<unsigned>(csDesigning);
  for (TComponent* c : FComponents) c->SetDesigning(Value);
}

void TComponent::Loaded() { FComponentState &= ~static_cast<unsigned>(csLoading); }

}  // namespace vcl
