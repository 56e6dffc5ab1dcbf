// TLumetra: construction, locale groups, the translator in charge, Loaded and destruction.
#include "Vek.hpp"

#include "test_support.hpp"
#include "vcl/Forms.hpp"

using Vek::TLumetra;
using Vek::vekInstance;

namespace {

// Translators on forms of the application, as the group walk finds them.
class Translator : public ::testing::Test {
protected:
  void TearDown() override {
    delete FForm2;
    delete FForm1;
  }
  TLumetra* Make(int Locale, bool OnForm2 = false) {
    auto* t = new TLumetra(OnForm2 ? FForm2 : FForm1);
    t->SetLocale(Locale);
    return t;
  }
  vcl::TForm* FForm1 = new vcl::TForm(vcl::Application);
  vcl::TForm* FForm2 = new vcl::TForm(vcl::Application);
};

}  // namespace

TEST_F(Translator, ANewTranslatorIsInChargeAndSwitchesOtherGroupsOff) {
  TLumetra* german = Make(1031);
  ASSERT_TRUE(german->Translate());
  TLumetra* plain = Make(0, true);
  EXPECT_FALSE(german->Translate());
  EXPECT_TRUE(plain->Translate());
  EXPECT_EQ(vekInstance, plain);
  EXPECT_EQ(plain->Locale(), 0);
  EXPECT_FALSE(plain->TranslateEmpty());
  EXPECT_EQ(plain->Translations()->Count(), 0);
  EXPECT_EQ(plain->OrgProps()->Count(), 0);
}

TEST_F(Translator, SwitchingOnAGroupLeavesItsLastMemberInCharge) {
  // A and B form the group 1031, C is 1036; B ends in charge wherever it stands in the walk.
  for (bool bFirst : {true, false}) {
    TLumetra *a, *b;
    if (bFirst) {
      b = Make(1031);
      a = Make(1031, true);
    } else {
      a = Make(1031);
      b = Make(1031, true);
    }
    TLumetra* c = Make(1036);
    a->SetTranslate(false);
    b->SetTranslate(false);
    c->SetTranslate(true);
    a->SetTranslate(true);
    EXPECT_TRUE(a->Translate());
    EXPECT_TRUE(b->Translate());
    EXPECT_FALSE(c->Translate());
    EXPECT_EQ(vekInstance, b);
    delete a;
    delete b;
    delete c;
  }
}

TEST_F(Translator, LocaleZeroIsNeverSwitchedByOthersButSwitchesThemOff) {
  TLumetra* zero = Make(0);
  TLumetra* german = Make(1031, true);
  german->SetTranslate(false);
  german->SetTranslate(true);
  EXPECT_TRUE(zero->Translate());  // untouched by the group switch
  zero->SetTranslate(false);
  EXPECT_TRUE(german->Translate());  // switching off touches only the own group
  zero->SetTranslate(true);
  EXPECT_FALSE(german->Translate());
}

TEST_F(Translator, SettingTheSameValueChangesNothingNotEvenTheCharge) {
  TLumetra* first = Make(0);
  TLumetra* second = Make(0);
  ASSERT_EQ(vekInstance, second);
  first->SetTranslate(true);
  EXPECT_EQ(vekInstance, second);
  second->SetTranslate(false);  // switching off leaves it in charge
  EXPECT_EQ(vekInstance, second);
  EXPECT_TRUE(first->Translate());
}

TEST_F(Translator, LoadedTakesTheFlagOfItsGroup) {
  TLumetra* existing = Make(1031);
  existing->SetTranslate(false);
  TLumetra* other = Make(1036, true);
  auto* loaded = new TLumetra(FForm2);  // constructing it switched the other groups off
  other->SetTranslate(true);
  loaded->Loading();
  loaded->SetLocale(1031);  // as read from the form, with Translate True
  loaded->Loaded();
  EXPECT_FALSE(loaded->Translate());
  EXPECT_FALSE(existing->Translate());
  EXPECT_TRUE(other->Translate());  // a group switched off touches no other group
  EXPECT_FALSE(loaded->ComponentState() & vcl::csLoading);
}

TEST_F(Translator, LoadedWithTranslateTakesTheCharge) {
  TLumetra* first = Make(0);
  Make(0);
  first->Loaded();
  EXPECT_EQ(vekInstance, first);
}

TEST_F(Translator, DestroyingSwitchesTheGroupOffAndLeavesNobodyInCharge) {
  TLumetra* a = Make(1031);
  TLumetra* b = Make(1031, true);
  b->SetTranslate(false);
  b->SetTranslate(true);  // a and b on, a in charge (met last in the walk)
  ASSERT_TRUE(a->Translate());
  TLumetra* inCharge = vekInstance;
  TLumetra* survivor = inCharge == a ? b : a;
  delete inCharge;
  EXPECT_FALSE(survivor->Translate());
  EXPECT_EQ(vekInstance, nullptr);

  TLumetra* c = Make(0);
  TLumetra* d = Make(0);
  delete c;  // not in charge: the charge stays
  EXPECT_EQ(vekInstance, d);
}

TEST_F(Translator, EventHandlersAreKeptAndChangeNothing) {
  struct Handler {
    int Calls = 0;
    void OnTranslate(vcl::TObject*, bool&) { ++Calls; }
  } handler;
  TLumetra* t = Make(0);
  t->SetOnTranslate(Vek::TTranslateEvent(&handler, &Handler::OnTranslate, "Lumetra1Translate"));
  EXPECT_TRUE(static_cast<bool>(t->OnTranslate()));
  EXPECT_EQ(t->OnTranslate().MethodName(), "Lumetra1Translate");
  EXPECT_FALSE(static_cast<bool>(t->OnTranslated()));
  bool skip = false;
  t->OnTranslate()(t, skip);
  EXPECT_EQ(handler.Calls, 1);
}

TEST_F(Translator, LiteralsAreReachableThroughTheClass) {
  std::string s = "It's";
  TLumetra::ConvertToLiterals(s);
  EXPECT_EQ(s, "'It''s'");
  Make(0)->ConvertFromLiterals(s);
  EXPECT_EQ(s, "It's");
}
