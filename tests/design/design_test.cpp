// The design-time interface: attribute bytes, the base editors, the editors of the property
// kinds, and registrations chosen by type, class and name and dropped with their module.
#include "design/DsgnIntf.hpp"

#include <memory>

#include "test_support.hpp"

using namespace design;
using vcl::TClass;
using vcl::TComponent;
using vcl::TPersistent;
using vcl::TPropKind;

namespace {

enum class TShape : std::uint8_t { shRound = 0, shSquare = 1, shStar = 2 };
// An event as a form stores it: only the method's name.
struct TClick {
  TClick() = default;
  explicit TClick(std::string Name) : FName(std::move(Name)) {}
  const std::string& MethodName() const { return FName; }
  std::string FName;
};

class TWidget : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
  std::string Caption, Hint;
  int Count = 0;
  bool Active = false;
  TShape Shape = TShape::shRound;
  unsigned Options = 0;
  int Colour = 0;
  vcl::TStringList Lines;
  TClick OnClick;
};

const vcl::TIdentMapEntry Colours[] = {{0, "cwBlack"}, {255, "cwRed"}};

VCL_IMPLEMENT_CLASS(TWidget, TComponent, [](vcl::TMetaClass& c) {
  c.Publish<TWidget>()
      .String("Caption", [](const TWidget* w) { return w->Caption; }, [](TWidget* w, std::string v) { w->Caption = v; })
      .String("Hint", [](const TWidget* w) { return w->Hint; }, [](TWidget* w, std::string v) { w->Hint = v; })
      .Integer("Count", [](const TWidget* w) { return w->Count; }, [](TWidget* w, int v) { w->Count = v; })
      .Boolean("Active", [](const TWidget* w) { return w->Active; }, [](TWidget* w, bool v) { w->Active = v; })
      .Enumeration("Shape", [](const TWidget* w) { return w->Shape; }, [](TWidget* w, TShape v) { w->Shape = v; },
                   {"shRound", "shSquare", "shStar"})
      .Set("Options", [](const TWidget* w) { return w->Options; }, [](TWidget* w, unsigned v) { w->Options = v; },
           {"woA", "woB", "woC"})
      .Integer("Colour", [](const TWidget* w) { return w->Colour; }, [](TWidget* w, int v) { w->Colour = v; })
      .Idents(Colours)
      .Strings("Lines", [](const TWidget* w) { return const_cast<vcl::TStringList*>(&w->Lines); })
      .Event("OnClick", [](const TWidget* w) { return w->OnClick; }, [](TWidget* w, TClick v) { w->OnClick = v; });
})

class TBigWidget : public TWidget {
  VCL_DECLARE_CLASS
public:
  using TWidget::TWidget;
};
VCL_IMPLEMENT_CLASS(TBigWidget, TWidget)

struct CountingDesigner : TFormDesigner {
  int Count = 0;
  void Modified() override { ++Count; }
};

// Editors that say who they are through their value text.
struct TTagA : TStringProperty {
  std::string GetValue() override { return "A"; }
};
struct TTagB : TStringProperty {
  std::string GetValue() override { return "B"; }
};
struct TTagC : TStringProperty {
  std::string GetValue() override { return "C"; }
};

struct TVerbs : TComponentEditor {
  using TComponentEditor::TComponentEditor;
  std::vector<int> Run;
  int GetVerbCount() override { return 2; }
  std::string GetVerb(int Index) override { return Index == 0 ? "First" : "Second"; }
  void ExecuteVerb(int Index) override { Run.push_back(Index); }
};

const vcl::TPropInfo& Prop(const char* Name) { return *TWidget::StaticClass()->FindProperty(Name); }

// Each test starts and ends with no registrations of its modules.
class Design : public ::testing::Test {
protected:
  static inline int ModuleA = 0, ModuleB = 0;
  void TearDown() override {
    DropModuleRegistrations(&ModuleA);
    DropModuleRegistrations(&ModuleB);
  }
};

}  // namespace

TEST(DesignAttributes, SetBytesHaveTheHostsBitNumbers) {
  using enum TPropertyAttribute;
  const struct {
    TPropertyAttributes Set;
    std::uint8_t Byte;
  } cases[] = {
      {{}, 0x00},
      {{paValueList}, 0x01},
      {{paDialog}, 0x04},
      {{paDialog, paReadOnly}, 0x44},
      {{paReadOnly, paDialog, paDialog}, 0x44},
      {{paValueList, paSubProperties, paDialog, paMultiSelect, paAutoUpdate, paSortList, paReadOnly, paRevertable}, 0xFF},
      {{paRevertable}, 0x80},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.Set.Byte(), c.Byte);
    EXPECT_EQ(TPropertyAttributes::FromByte(c.Byte), c.Set);
  }
  TPropertyAttributes s{paDialog, paReadOnly};
  s.Exclude(paReadOnly);
  EXPECT_EQ(s.Byte(), 0x04);
  EXPECT_TRUE(s.Contains(paDialog));
  EXPECT_FALSE(s.Contains(paReadOnly));
}

TEST_F(Design, KindEditorsShowAndTakeValues) {
  TWidget w(nullptr);
  w.Caption = "Hello";
  w.Count = -7;
  w.Active = true;
  w.Shape = TShape::shStar;
  w.Options = 5;
  w.OnClick = TClick("WidgetClick");
  CountingDesigner designer;
  const struct {
    const char* Property;
    const char* Shown;
    std::uint8_t Attributes;
    const char* Typed;  // nullptr: not typed
    const char* ShownAfter;
  } cases[] = {
      {"Caption", "Hello", 0x88, "World", "World"},
      {"Count", "-7", 0x88, " $10", "16"},
      {"Active", "True", 0xA9, "False", "False"},
      {"Shape", "shStar", 0xA9, "shSquare", "shSquare"},
      {"Options", "[woA,woC]", 0x88, " [ woC , woB ]", "[woB,woC]"},
      {"Colour", "cwBlack", 0x89, "$FF", "cwRed"},  // an integer with identifiers shows and takes them
      {"Lines", "(TStrings)", 0x40, nullptr, nullptr},
      {"OnClick", "WidgetClick", 0xA9, "Other", "Other"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Property);
    auto editor = CreatePropertyEditor(&designer, {&w}, Prop(c.Property));
    EXPECT_EQ(editor->GetName(), c.Property);
    EXPECT_EQ(editor->GetValue(), c.Shown);
    EXPECT_EQ(editor->GetAttributes().Byte(), c.Attributes);
    EXPECT_TRUE(editor->AllEqual());
    if (!c.Typed) continue;
    const int before = designer.Count;
    editor->SetValue(c.Typed);
    EXPECT_EQ(editor->GetValue(), c.ShownAfter);
    EXPECT_EQ(designer.Count, before + 1) << "a typed value marks the form modified";
  }
}

TEST_F(Design, KindEditorsRejectTextsTheyCannotStore) {
  TWidget w(nullptr);
  CountingDesigner designer;
  auto count = CreatePropertyEditor(&designer, {&w}, Prop("Count"));
  EXPECT_THROW_MSG(count->SetValue("12x"), vcl::EConvertError, "'12x' is not a valid integer value");
  auto shape = CreatePropertyEditor(&designer, {&w}, Prop("Shape"));
  EXPECT_THROW_MSG(shape->SetValue("shOval"), vcl::EConvertError, "'shOval' is not a value of property Shape");
  auto options = CreatePropertyEditor(&designer, {&w}, Prop("Options"));
  EXPECT_THROW_MSG(options->SetValue("woA"), vcl::EConvertError, "'woA' is not a set: write its elements in brackets, [a,b]");
  EXPECT_THROW_MSG(options->SetValue("[woA,woD]"), vcl::EConvertError, "'woD' is not an element of property Options");
  EXPECT_THROW_MSG(options->SetValue("[woA,]"), vcl::EConvertError, "'' is not an element of property Options");
  EXPECT_EQ(designer.Count, 0);
  EXPECT_EQ(w.Count, 0);
  w.Options = 5;
  options->SetValue("[ ]");
  EXPECT_EQ(options->GetValue(), "[]");
  std::vector<std::string> values;
  shape->GetValues([&](const std::string& v) { values.push_back(v); });
  EXPECT_EQ(values, (std::vector<std::string>{"shRound", "shSquare", "shStar"}));
  auto colour = CreatePropertyEditor(&designer, {&w}, Prop("Colour"));
  EXPECT_THROW_MSG(colour->SetValue("cwGreen"), vcl::EConvertError, "'cwGreen' is not a valid integer value");
  colour->SetValue("cwRed");
  EXPECT_EQ(w.Colour, 255);
  colour->SetValue("7");
  EXPECT_EQ(colour->GetValue(), "7");
  values.clear();
  colour->GetValues([&](const std::string& v) { values.push_back(v); });
  EXPECT_EQ(values, (std::vector<std::string>{"cwBlack", "cwRed"}));
}

TEST_F(Design, EditorsOfSeveralComponents) {
  TWidget a(nullptr), b(nullptr);
  a.Caption = b.Caption = "same";
  auto editor = CreatePropertyEditor(nullptr, {&a, &b}, Prop("Caption"));
  EXPECT_EQ(editor->PropCount(), 2);
  EXPECT_EQ(editor->GetComponent(1), &b);
  EXPECT_TRUE(editor->AllEqual());
  b.Caption = "other";
  EXPECT_FALSE(editor->AllEqual());
  editor->SetValue("both");  // no designer: nothing to tell
  EXPECT_EQ(a.Caption, "both");
  EXPECT_EQ(b.Caption, "both");
  EXPECT_THROW_MSG(editor->GetComponent(2), vcl::EListError, "Property editor of Caption has no component 2 (it edits 2)");
  EXPECT_THROW_MSG(editor->GetComponent(-1), vcl::EListError, "Property editor of Caption has no component -1 (it edits 2)");
  EXPECT_THROW_MSG(CreatePropertyEditor(nullptr, {}, Prop("Caption")), vcl::Exception,
                   "CreatePropertyEditor: no component selected for property Caption");
}

TEST(DesignBase, BaseOperationsAnswerTheHostsDefaults) {
  TWidget w(nullptr);
  TPropertyEditor base;
  base.SetPropEntries(nullptr, {&w}, &Prop("Caption"));
  EXPECT_EQ(base.GetValue(), "(unknown)");
  EXPECT_EQ(base.GetAttributes().Byte(), 0x88);
  EXPECT_EQ(base.GetEditLimit(), 255);
  EXPECT_TRUE(base.AutoFill());
  EXPECT_TRUE(base.AllEqual());
  int parts = 0, values = 0;
  base.GetProperties([&](std::unique_ptr<TPropertyEditor>) { ++parts; });
  base.GetValues([&](const std::string&) { ++values; });
  EXPECT_EQ(parts + values, 0);
  base.Modified();  // without a designer: nothing happens

  TComponentEditor plain(&w, nullptr);
  EXPECT_EQ(plain.GetVerbCount(), 0);
  EXPECT_EQ(plain.GetVerb(0), "");
  plain.Edit();
  TVerbs verbs(&w, nullptr);
  verbs.Edit();
  EXPECT_EQ(verbs.Run, std::vector<int>{0}) << "a double click runs the first verb";
}

TEST_F(Design, TheNearestFittingRegistrationEdits) {
  TCurrentModule module(&ModuleA);
  RegisterPropertyEditor(TypeInfo(TPropKind::pkString), nullptr, "", PropertyEditorClass<TTagA>("TTagA"));
  RegisterPropertyEditor(TypeInfo(TPropKind::pkString), TWidget::StaticClass(), "", PropertyEditorClass<TTagB>("TTagB"));
  RegisterPropertyEditor(TypeInfo(TPropKind::pkString), nullptr, "Hint", PropertyEditorClass<TTagC>("TTagC"));
  TWidget w(nullptr);
  TBigWidget big(nullptr);
  const struct {
    TComponent* Component;
    const char* Property;
    const char* Editor;
  } cases[] = {
      {&w, "Caption", "TTagB"},     // the class beats any class
      {&big, "Caption", "TTagB"},   // a descendant inherits it
      {&w, "Hint", "TTagC"},        // a named property beats a nearer class
      {&w, "Count", "TIntegerProperty"},  // another type keeps its kind's editor
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Property);
    EXPECT_EQ(GetPropertyEditorClass(c.Component->ClassType(), Prop(c.Property)).Name, c.Editor);
  }
  // Among equals the later registration wins.
  RegisterPropertyEditor(TypeInfo(TPropKind::pkString), TWidget::StaticClass(), "", PropertyEditorClass<TTagA>("TTagA2"));
  EXPECT_EQ(CreatePropertyEditor(nullptr, {&w}, Prop("Caption"))->GetValue(), "A");
}

TEST_F(Design, ComponentEditorsFollowTheClass) {
  TWidget w(nullptr);
  TBigWidget big(nullptr);
  TComponent other(nullptr);
  CountingDesigner designer;
  {
    TCurrentModule module(&ModuleA);
    RegisterComponentEditor(TWidget::StaticClass(), ComponentEditorClass<TVerbs>("TVerbs"));
  }
  auto editor = GetComponentEditor(&big, &designer);
  EXPECT_EQ(editor->GetVerbCount(), 2);
  EXPECT_EQ(editor->Component(), &big);
  EXPECT_EQ(editor->Designer(), &designer);
  EXPECT_EQ(GetComponentEditor(&other, &designer)->GetVerbCount(), 0) << "no registration: the base editor";
  EXPECT_THROW_MSG(RegisterComponentEditor(nullptr, ComponentEditorClass<TVerbs>("TVerbs")), vcl::Exception,
                   "RegisterComponentEditor: no component class given for editor TVerbs");
  EXPECT_THROW_MSG(RegisterPropertyEditor(nullptr, nullptr, "", PropertyEditorClass<TTagA>("TTagA")), vcl::Exception,
                   "RegisterPropertyEditor: no property type given for editor TTagA");
  EXPECT_THROW_MSG(RegisterComponents("", {TWidget::StaticClass()}), vcl::Exception,
                   "RegisterComponents: the palette page name is empty");
  EXPECT_THROW_MSG(RegisterComponents("Extra", {TWidget::StaticClass(), nullptr}), vcl::Exception,
                   "RegisterComponents: a class for palette page Extra is nil");
  EXPECT_TRUE(PaletteClasses("Extra").empty()) << "a faulty call registers nothing";
}

TEST_F(Design, RegistrationsBelongToTheirModuleAndGoWithIt) {
  TWidget w(nullptr);
  {
    TCurrentModule a(&ModuleA);
    RegisterPropertyEditor(TypeInfo(TPropKind::pkString), TWidget::StaticClass(), "Caption", PropertyEditorClass<TTagA>("TTagA"));
    RegisterComponents("Widgets", {TWidget::StaticClass()});
    {
      TCurrentModule b(&ModuleB);
      EXPECT_EQ(CurrentModule(), &ModuleB);
      RegisterPropertyEditor(TypeInfo(TPropKind::pkString), TWidget::StaticClass(), "Caption", PropertyEditorClass<TTagB>("TTagB"));
      RegisterComponentEditor(TWidget::StaticClass(), ComponentEditorClass<TVerbs>("TVerbs"));
      RegisterComponents("Gadgets", {TBigWidget::StaticClass()});
    }
    EXPECT_EQ(CurrentModule(), &ModuleA) << "the outer module is named again";
    RegisterComponents("Widgets", {TBigWidget::StaticClass()});
  }
  EXPECT_EQ(CurrentModule(), nullptr);
  EXPECT_EQ(PalettePages(), (std::vector<std::string>{"Widgets", "Gadgets"}));
  EXPECT_EQ(PaletteClasses("Widgets"), (std::vector<TClass>{TWidget::StaticClass(), TBigWidget::StaticClass()}));
  EXPECT_EQ(GetPropertyEditorClass(TWidget::StaticClass(), Prop("Caption")).Name, "TTagB");

  DropModuleRegistrations(&ModuleB);
  EXPECT_EQ(GetPropertyEditorClass(TWidget::StaticClass(), Prop("Caption")).Name, "TTagA") << "module A's editor is back";
  EXPECT_EQ(GetComponentEditor(&w, nullptr)->GetVerbCount(), 0);
  EXPECT_EQ(PalettePages(), std::vector<std::string>{"Widgets"});
  for (const auto& e : PropertyEditorRegistrations()) EXPECT_NE(e.Module, &ModuleB);

  DropModuleRegistrations(&ModuleA);
  EXPECT_TRUE(PalettePages().empty());
  EXPECT_EQ(GetPropertyEditorClass(TWidget::StaticClass(), Prop("Caption")).Name, "TStringProperty");
  DropModuleRegistrations(&ModuleA);  // a second drop finds nothing
}

namespace {

// Checks that say which one found the fault, and of which component.
std::vector<TDesignProblem> CheckCaption(TComponent* C) {
  const auto* w = static_cast<TWidget*>(C);
  if (!w->Caption.empty()) return {};
  return {{"Caption", 0, true, "is empty in " + C->Name()}};
}
std::vector<TDesignProblem> CheckCount(TComponent* C) {
  return {{"Count", 2, false, "is " + std::to_string(static_cast<TWidget*>(C)->Count) + " in " + C->Name()}};
}
bool ShowCount(TComponent* C, const TDesignProblem&) {
  static_cast<TWidget*>(C)->Count = 0;
  return true;
}

}  // namespace

TEST_F(Design, ChecksJudgeTheirClassAndDescendantsAndGoWithTheirModule) {
  TWidget w(nullptr);
  TBigWidget big(nullptr);
  TComponent other(nullptr);
  w.SetName("W");
  big.SetName("Big");
  big.Caption = "set";
  big.Count = 7;
  {
    TCurrentModule a(&ModuleA);
    RegisterComponentCheck(TWidget::StaticClass(), &CheckCaption);
    TCurrentModule b(&ModuleB);
    RegisterComponentCheck(TBigWidget::StaticClass(), &CheckCount, &ShowCount);
  }
  const auto lines = [](TComponent* C) {
    std::vector<std::string> found;
    for (const TDesignProblem& p : CheckComponent(C))
      found.push_back(p.Key + ":" + std::to_string(p.Line) + (p.Error ? ":error:" : ":warning:") + p.Reason);
    return found;
  };
  EXPECT_EQ(lines(&w), std::vector<std::string>{"Caption:0:error:is empty in W"});
  EXPECT_EQ(lines(&big), std::vector<std::string>{"Count:2:warning:is 7 in Big"}) << "the ancestor's check ran and found nothing";
  big.Caption.clear();
  EXPECT_EQ(lines(&big), (std::vector<std::string>{"Caption:0:error:is empty in Big", "Count:2:warning:is 7 in Big"}))
      << "in the order of registration";
  EXPECT_TRUE(CheckComponent(&other).empty());
  EXPECT_TRUE(CheckComponent(nullptr).empty());
  // Each fault comes with the way its own registration shows it.
  const std::vector<TDesignProblem> faults = CheckComponent(&big);
  EXPECT_EQ(faults[0].Show, nullptr);
  ASSERT_EQ(faults[1].Show, &ShowCount);
  EXPECT_TRUE(faults[1].Show(&big, faults[1]));
  EXPECT_EQ(lines(&big), (std::vector<std::string>{"Caption:0:error:is empty in Big", "Count:2:warning:is 0 in Big"}));

  // After its module is dropped a check is never called again: its code is gone with it.
  DropModuleRegistrations(&ModuleB);
  EXPECT_EQ(lines(&big), std::vector<std::string>{"Caption:0:error:is empty in Big"});
  ASSERT_EQ(ComponentCheckRegistrations().size(), 1u);
  EXPECT_EQ(ComponentCheckRegistrations()[0].Module, &ModuleA);
  DropModuleRegistrations(&ModuleA);
  EXPECT_TRUE(CheckComponent(&w).empty());

  EXPECT_THROW_MSG(RegisterComponentCheck(nullptr, &CheckCaption), vcl::Exception, "RegisterComponentCheck: no component class given");
  EXPECT_THROW_MSG(RegisterComponentCheck(TWidget::StaticClass(), nullptr), vcl::Exception,
                   "RegisterComponentCheck: no check given for class TWidget");
  EXPECT_TRUE(ComponentCheckRegistrations().empty()) << "a faulty call registers nothing";
}
