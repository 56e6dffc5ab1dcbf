// Class references: names, parents, the is-test, the registry and the per-class entry tables.
#include <cstring>

#include "vcl/Classes.hpp"

#include "test_support.hpp"

using namespace vcl;

namespace {

int CalledBase = 0, CalledOther = 0;
void BaseEntry() { ++CalledBase; }
void OtherEntry() { ++CalledOther; }

// A small hierarchy with one replaceable entry introduced by TAnimal.
class TAnimal : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
  static int SpeakSlot;
  void Speak() const { ClassType()->Entry(SpeakSlot)(); }
};
int TAnimal::SpeakSlot = -1;

class TDog : public TAnimal {
  VCL_DECLARE_CLASS
public:
  using TAnimal::TAnimal;
};

class TPuppy : public TDog {
  VCL_DECLARE_CLASS
public:
  using TDog::TDog;
};

VCL_IMPLEMENT_CLASS(TAnimal, TComponent, [](TMetaClass& c) { TAnimal::SpeakSlot = c.AddEntry(&BaseEntry); })
VCL_IMPLEMENT_CLASS(TDog, TAnimal)
VCL_IMPLEMENT_CLASS(TPuppy, TDog)

}  // namespace

TEST(Object, ClassReferenceKnowsNameParentAndAncestry) {
  TPuppy puppy(nullptr);
  EXPECT_EQ(puppy.ClassName(), "TPuppy");
  EXPECT_EQ(puppy.ClassType(), TPuppy::StaticClass());
  EXPECT_EQ(TPuppy::StaticClass()->ClassParent(), TDog::StaticClass());
  EXPECT_EQ(TComponent::StaticClass()->ClassParent(), TPersistent::StaticClass());
  EXPECT_EQ(TObject::StaticClass()->ClassParent(), nullptr);
  EXPECT_TRUE(puppy.Is<TAnimal>());
  EXPECT_TRUE(puppy.InheritsFrom(TObject::StaticClass()));
  EXPECT_FALSE(TDog::StaticClass()->InheritsFrom(TPuppy::StaticClass()));
  EXPECT_FALSE(TDog::StaticClass()->InheritsFrom(nullptr));
  TObject& asObject = puppy;
  EXPECT_EQ(asObject.ClassType(), TPuppy::StaticClass());  // dispatched, not static
}

TEST(Object, ReplacingAnEntryChangesExactlyThatClass) {
  TAnimal animal(nullptr);
  TDog dog(nullptr);
  TPuppy puppy(nullptr);
  const int slot = TAnimal::SpeakSlot;
  ASSERT_GE(slot, 0);
  const TCodePointer saved = TDog::StaticClass()->Entry(slot);
  TDog::StaticClass()->SetEntry(slot, &OtherEntry);

  CalledBase = CalledOther = 0;
  animal.Speak();
  dog.Speak();
  puppy.Speak();
  EXPECT_EQ(CalledOther, 1);  // the dog only
  EXPECT_EQ(CalledBase, 2);   // its parent and its descendant keep their own entries

  TDog::StaticClass()->SetEntry(slot, saved);
  EXPECT_EQ(TDog::StaticClass()->Entry(slot), &BaseEntry);
  EXPECT_THROW(TDog::StaticClass()->Entry(slot + 1), EListError);
}

TEST(Object, EntryTableBytesHoldTheEntries) {
  TMetaClass* dog = TDog::StaticClass();
  ASSERT_EQ(dog->EntryTableSize(), sizeof(TCodePointer) * static_cast<std::size_t>(dog->EntryCount()));
  TCodePointer first;
  std::memcpy(&first, dog->EntryTable() + TAnimal::SpeakSlot * sizeof(TCodePointer), sizeof first);
  EXPECT_EQ(first, &BaseEntry);
}

TEST(Object, RegistryConstructsComponentsByName) {
  RegisterClass(TDog::StaticClass());
  EXPECT_EQ(GetClass("TDog"), TDog::StaticClass());
  EXPECT_EQ(GetClass("tdog"), nullptr);
  EXPECT_THROW_MSG(FindClass("TCat"), EReadError, "Class TCat not found");
  TComponent owner(nullptr);
  TComponent* made = FindClass("TDog")->Create(&owner);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->ClassType(), TDog::StaticClass());
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_FALSE(TStrings::StaticClass()->CanCreate());  // abstract
  EXPECT_FALSE(TList::StaticClass()->CanCreate());     // not a component
}

TEST(Object, PersistentAssignNamesBothClasses) {
  TComponent a(nullptr), b(nullptr);
  EXPECT_THROW_MSG(a.Assign(&b), EConvertError, "Cannot assign a TComponent to a TComponent");
  EXPECT_THROW_MSG(a.Assign(nullptr), EConvertError, "Cannot assign a nil to a TComponent");
}
