// The components of a form as the design layer walks them: depth first in creation order, also
// those a component on the form owns; their names by owner; the name of a dropped component.
#include "design/Components.hpp"

#include <memory>

#include "test_support.hpp"

namespace {

using vcl::TComponent;

// Form1 owns OpenDialog1, Frame1 and Panel1; Frame1 owns Inner1, which owns Deep1.
struct Tree {
  Tree() {
    Named(Form, "Form1");
    Named(Open, "OpenDialog1");
    Named(Frame, "Frame1");
    Named(Inner, "Inner1");
    Named(Deep, "Deep1");
    Named(Panel, "Panel1");
  }
  static void Named(TComponent* C, const char* Name) { C->SetName(Name); }
  std::unique_ptr<TComponent> Owned{new TComponent(nullptr)};
  TComponent* Form = Owned.get();
  TComponent* Open = new TComponent(Form);
  TComponent* Frame = new TComponent(Form);
  TComponent* Inner = new TComponent(Frame);
  TComponent* Deep = new TComponent(Inner);
  TComponent* Panel = new TComponent(Form);
};

TEST(Components, AreWalkedDepthFirstInCreationOrderBelowTheRoot) {
  const Tree t;
  EXPECT_EQ(design::ComponentsOf(t.Form), (std::vector<TComponent*>{t.Open, t.Frame, t.Inner, t.Deep, t.Panel}));
  EXPECT_EQ(design::ComponentsOf(t.Frame), (std::vector<TComponent*>{t.Inner, t.Deep}));
  EXPECT_TRUE(design::ComponentsOf(t.Deep).empty());
  EXPECT_TRUE(design::ComponentsOf(nullptr).empty());
}

TEST(Components, AreNamedByTheirOwnersBelowTheRootAndFoundByThatName) {
  const Tree t;
  const struct {
    const TComponent* Root;
    const TComponent* Component;
    const char* Path;
  } cases[] = {
      {t.Form, t.Open, "OpenDialog1"},     {t.Form, t.Inner, "Frame1.Inner1"}, {t.Form, t.Deep, "Frame1.Inner1.Deep1"},
      {t.Frame, t.Deep, "Inner1.Deep1"},   {t.Frame, t.Panel, "Panel1"},  // not below the root: its name alone
  };
  for (const auto& c : cases) EXPECT_EQ(design::ComponentPath(c.Root, c.Component), c.Path);
  for (TComponent* c : design::ComponentsOf(t.Form)) EXPECT_EQ(design::FindComponentPath(t.Form, design::ComponentPath(t.Form, c)), c);
  for (const char* missing : {"Inner1", "Deep1", "Frame1.Deep1", "Frame1.", "", "Form1.OpenDialog1"})
    EXPECT_EQ(design::FindComponentPath(t.Form, missing), nullptr) << missing;
}

TEST(Components, OfAClassAreTheOnesOfThatClassInWalkOrder) {
  const Tree t;
  EXPECT_EQ(design::ComponentsOf<TComponent>(t.Form).size(), 5u);
  EXPECT_TRUE(design::ComponentsOf<vcl::TUnknownComponent>(t.Form).empty());
  auto* unknown = new vcl::TUnknownComponent(t.Inner);
  EXPECT_EQ(design::ComponentsOf<vcl::TUnknownComponent>(t.Form), std::vector<vcl::TUnknownComponent*>{unknown});
}

TEST(Components, ADroppedOneIsNamedAfterItsClassWithTheFirstFreeNumber) {
  const Tree t;
  Tree::Named(new TComponent(t.Form), "Lumetra1");
  Tree::Named(new TComponent(t.Form), "Lumetra3");
  Tree::Named(new TComponent(t.Frame), "Lumetra2");  // in a frame: another owner's name
  const struct {
    const char* ClassName;
    const char* Name;
  } cases[] = {
      {"TLumetra", "Lumetra2"},   {"TOpenDialog", "OpenDialog2"}, {"TFontDialog", "FontDialog1"},
      {"T", "T1"},                {"Widget", "Widget1"},          {"TTimer", "Timer1"},
  };
  for (const auto& c : cases) EXPECT_EQ(design::NewComponentName(t.Form, c.ClassName), c.Name) << c.ClassName;
}

}  // namespace
