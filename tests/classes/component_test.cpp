// TComponent: ownership, freeing of owned components, state flags and Loaded.
#include "vcl/Classes.hpp"

#include <vector>

#include "test_support.hpp"

using namespace vcl;

namespace {
std::vector<std::string> Freed;

class TTracked : public TComponent {
public:
  explicit TTracked(TComponent* AOwner, std::string AName) : TComponent(AOwner) { SetName(std::move(AName)); }
  ~TTracked() override { Freed.push_back(Name()); }
};
}  // namespace

TEST(Component, OwnerFreesItsComponentsLastFirst) {
  Freed.clear();
  auto* owner = new TTracked(nullptr, "Form1");
  auto* a = new TTracked(owner, "A");
  new TTracked(owner, "B");
  new TTracked(a, "A1");
  ASSERT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(owner->FindComponent("B")->ComponentIndex(), 1);
  EXPECT_EQ(owner->FindComponent("b"), nullptr);
  EXPECT_THROW_MSG(owner->Components(2), EListError, "List index out of bounds (2)");
  delete owner;
  // Each destructor body runs before its inherited part frees the owned components.
  EXPECT_EQ(Freed, (std::vector<std::string>{"Form1", "B", "A", "A1"}));
}

TEST(Component, FreeingAComponentTakesItOutOfItsOwner) {
  TComponent owner(nullptr);
  auto* child = new TComponent(&owner);
  new TComponent(&owner);
  delete child;
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0)->Owner(), &owner);
}

TEST(Component, InsertMovesBetweenOwners) {
  TComponent first(nullptr), second(nullptr);
  auto* c = new TComponent(&first);
  second.InsertComponent(c);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(c->Owner(), &second);
  second.RemoveComponent(c);
  EXPECT_EQ(c->Owner(), nullptr);
  EXPECT_EQ(c->ComponentIndex(), -1);
  delete c;
}

TEST(Component, DesigningReachesOwnedComponentsAndNewOnes) {
  TComponent form(nullptr);
  auto* before = new TComponent(&form);
  form.SetDesigning(true);
  auto* after = new TComponent(&form);
  EXPECT_TRUE(before->ComponentState() & csDesigning);
  EXPECT_TRUE(after->ComponentState() & csDesigning);
  form.SetDesigning(false);
  EXPECT_FALSE(after->ComponentState() & csDesigning);
}

TEST(Component, LoadedEndsLoading) {
  TComponent c(nullptr);
  c.Loading();
  EXPECT_TRUE(c.ComponentState() & csLoading);
  c.Loaded();
  EXPECT_EQ(c.ComponentState(), 0u);
}

// The owner's index of names follows every way a component gets, changes or loses its name,
// and keeps to the list's order where names repeat.
TEST(Component, FindComponentFollowsRenamesMovesAndRemovals) {
  TComponent owner(nullptr), other(nullptr);
  auto* first = new TTracked(&owner, "X");
  auto* second = new TTracked(&owner, "X");
  auto* third = new TTracked(&owner, "Y");
  EXPECT_EQ(owner.FindComponent("X"), first);  // the first of the list
  first->SetName("Z");
  EXPECT_EQ(owner.FindComponent("X"), second);
  EXPECT_EQ(owner.FindComponent("Z"), first);
  first->SetName("X");  // back before the second, where it stands in the list
  EXPECT_EQ(owner.FindComponent("X"), first);
  EXPECT_EQ(owner.FindComponent("Z"), nullptr);

  other.InsertComponent(first);
  EXPECT_EQ(owner.FindComponent("X"), second);
  EXPECT_EQ(other.FindComponent("X"), first);
  owner.InsertComponent(first);  // now after the second
  EXPECT_EQ(owner.FindComponent("X"), second);
  owner.RemoveComponent(second);
  EXPECT_EQ(owner.FindComponent("X"), first);
  delete second;
  delete first;
  EXPECT_EQ(owner.FindComponent("X"), nullptr);

  third->SetName("");
  EXPECT_EQ(owner.FindComponent(""), third);  // an unnamed one is found by the empty name
  EXPECT_EQ(owner.FindComponent("Y"), nullptr);
  EXPECT_EQ(owner.FindComponent("y"), nullptr);
}
