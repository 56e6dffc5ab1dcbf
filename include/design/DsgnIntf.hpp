// The design-time interface between an IDE host and the packages it loads: property editors,
// component editors, the form designer, and the registrations that tie them to components.
//
// How a host uses it:
//   1. Around a package's Register it names the module: `design::TCurrentModule m(handle);`.
//      Every registration made meanwhile belongs to that module.
//   2. For a property of the selected components it calls CreatePropertyEditor, for a component
//      GetComponentEditor, for the palette PalettePages and PaletteClasses.
//   3. Before it unloads the module it frees the editors it made from it and calls
//      DropModuleRegistrations(handle), so that nothing points into unloaded code.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "vcl/Classes.hpp"

namespace design {

// ---- Attributes ------------------------------------------------------------------------------

/// What an Object Inspector may do with a property, by bit number in TPropertyAttributes.
enum class TPropertyAttribute : std::uint8_t {
  paValueList = 0,      // GetValues gives a list of values to pick from
  paSubProperties = 1,  // GetProperties gives editors of parts of the value
  paDialog = 2,         // Edit opens a dialog: the inspector shows a button
  paMultiSelect = 3,    // the property may be edited for several selected components at once
  paAutoUpdate = 4,     // SetValue after every change of the typed text
  paSortList = 5,       // the value list is shown sorted
  paReadOnly = 6,       // the value text cannot be typed over
  paRevertable = 7,     // the property can be reverted to its inherited value
};

/// A set of attributes held in one byte, bit n standing for the attribute numbered n.
class TPropertyAttributes {
public:
  constexpr TPropertyAttributes() = default;
  constexpr TPropertyAttributes(std::initializer_list<TPropertyAttribute> Attributes) {
    for (TPropertyAttribute a : Attributes) FBits = static_cast<std::uint8_t>(FBits | Bit(a));
  }
  /// The set whose byte is Bits.
  static constexpr TPropertyAttributes FromByte(std::uint8_t Bits) {
    TPropertyAttributes s;
    s.FBits = Bits;
    return s;
  }
  constexpr bool Contains(TPropertyAttribute A) const { return (FBits & Bit(A)) != 0; }
  constexpr void Include(TPropertyAttribute A) { FBits = static_cast<std::uint8_t>(FBits | Bit(A)); }
  constexpr void Exclude(TPropertyAttribute A) { FBits = static_cast<std::uint8_t>(FBits & ~Bit(A)); }
  /// The set's byte, as the host's set type stores it.
  constexpr std::uint8_t Byte() const { return FBits; }
  constexpr bool operator==(const TPropertyAttributes&) const = default;

private:
  static constexpr std::uint8_t Bit(TPropertyAttribute A) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(A));
  }
  std::uint8_t FBits = 0;
};
static_assert(sizeof(TPropertyAttributes) == 1, "the host's attribute set is one byte");

// ---- The form designer -----------------------------------------------------------------------

/// The host's designer of one form, as editors see it.
class TFormDesigner {
public:
  virtual ~TFormDesigner() = default;
  /// The form has changed and must be saved; the host shows it and asks about it on close.
  virtual void Modified() = 0;
};

// ---- Property types --------------------------------------------------------------------------

/// The type record of a property's type, by which property editors are registered: one per
/// kind of published property ("Integer", "Boolean", "Enumeration", "Set", "string",
/// "TStrings", "Method"). Compare with ==.
struct TTypeInfo {
  vcl::TPropKind Kind;
  const char* Name;
};
/// The type record of Kind's properties; it lives as long as the program.
const TTypeInfo* TypeInfo(vcl::TPropKind Kind);
/// The type record of Prop's type.
inline const TTypeInfo* TypeInfo(const vcl::TPropInfo& Prop) { return TypeInfo(Prop.Kind()); }

// ---- Property editors ------------------------------------------------------------------------

class TPropertyEditor;
/// Receives one value text (GetValues).
using TGetStrProc = std::function<void(const std::string&)>;
/// Receives one editor of a part of a value (GetProperties); the receiver owns it.
using TGetPropEditProc = std::function<void(std::unique_ptr<TPropertyEditor>)>;

/// Edits one published property of the selected components in the Object Inspector. The host
/// creates it (CreatePropertyEditor), owns it and frees it afterwards. Value access raises the
/// class library's EConvertError when the property is not of the kind asked for.
class TPropertyEditor {
public:
  TPropertyEditor() = default;
  TPropertyEditor(const TPropertyEditor&) = delete;
  TPropertyEditor& operator=(const TPropertyEditor&) = delete;
  virtual ~TPropertyEditor() = default;

  // The virtual operations, in the order of the host's class.

  /// The inspector selected the property; the base does nothing.
  virtual void Activate();
  /// Whether all selected components hold the same value; the base answers true for one.
  virtual bool AllEqual();
  /// Whether the inspector completes typed text from GetValues; the base answers true.
  virtual bool AutoFill();
  /// The dialog button or a double click; the base does nothing.
  virtual void Edit();
  /// The base answers paMultiSelect and paRevertable.
  virtual TPropertyAttributes GetAttributes();
  /// The longest text that may be typed; the base answers 255.
  virtual int GetEditLimit();
  /// The name the inspector shows: the property's.
  virtual std::string GetName();
  /// Editors of parts of the value; the base gives none.
  virtual void GetProperties(const TGetPropEditProc& Proc);
  /// The value text the inspector shows; the base answers "(unknown)".
  virtual std::string GetValue();
  /// The values offered with paValueList; the base gives none.
  virtual void GetValues(const TGetStrProc& Proc);
  /// Called once after the editor knows its components; the base does nothing.
  virtual void Initialize();
  /// Typed text is stored; the base ignores it.
  virtual void SetValue(const std::string& Value);

  /// The Index-th selected component. Raises vcl::EListError naming the index outside
  /// 0 .. PropCount - 1.
  vcl::TPersistent* GetComponent(int Index) const;
  /// The number of selected components being edited.
  int PropCount() const { return static_cast<int>(FComponents.size()); }
  const vcl::TPropInfo* GetPropInfo() const { return FProp; }
  /// The designer of the form the components are on; nullptr when there is none.
  TFormDesigner* Designer() const { return FDesigner; }
  /// Tells the designer that the form changed (nothing without a designer).
  void Modified();

  /// The host gives the editor its designer, components and property before Initialize.
  void SetPropEntries(TFormDesigner* ADesigner, std::vector<vcl::TPersistent*> Components, const vcl::TPropInfo* Prop);

protected:
  /// The property's value in the first component, or the Index-th.
  std::string GetStrValue() const { return GetStrValueAt(0); }
  std::string GetStrValueAt(int Index) const;
  /// Sets the value in every component, then Modified.
  void SetStrValue(const std::string& Value);
  std::int64_t GetOrdValue() const { return GetOrdValueAt(0); }
  std::int64_t GetOrdValueAt(int Index) const;
  void SetOrdValue(std::int64_t Value);

private:
  const vcl::TPropInfo& Prop() const;
  TFormDesigner* FDesigner = nullptr;
  std::vector<vcl::TPersistent*> FComponents;
  const vcl::TPropInfo* FProp = nullptr;
};

/// A string property: the value is the text, typed text is stored as it stands.
class TStringProperty : public TPropertyEditor {
public:
  /// True when every selected component holds the first one's text.
  bool AllEqual() override;
  int GetEditLimit() override;
  std::string GetValue() override;
  void SetValue(const std::string& Value) override;
};

/// The editors a host uses for properties without a registered one.
/// Integers: the value is the number, or the identifier of a value that has one (a colour,
/// a character set), picked from the list of identifiers or typed.
class TIntegerProperty : public TPropertyEditor {
public:
  bool AllEqual() override;
  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  void GetValues(const TGetStrProc& Proc) override;
  /// Raises vcl::EConvertError naming the text when it is neither an integer nor an
  /// identifier of the property, or the property cannot hold it.
  void SetValue(const std::string& Value) override;
};
/// Booleans and enumerations: the value is an identifier picked from a sorted list.
class TEnumProperty : public TPropertyEditor {
public:
  bool AllEqual() override;
  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  void GetValues(const TGetStrProc& Proc) override;
  /// Raises vcl::EConvertError naming the text and the property when it names no value.
  void SetValue(const std::string& Value) override;
};
/// Sets: shown as "[a,b]", and typed so, the elements in any order, blanks allowed.
class TSetProperty : public TPropertyEditor {
public:
  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  /// Raises vcl::EConvertError naming the text when it is not in brackets, or the element
  /// and the property when it names no element.
  void SetValue(const std::string& Value) override;
};
/// TStrings properties without an editor of their own: shown as "(TStrings)", not typed.
class TStringsProperty : public TPropertyEditor {
public:
  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
};
/// Events: the value is the method's name.
class TMethodProperty : public TStringProperty {
public:
  TPropertyAttributes GetAttributes() override;
};

/// A property editor class: its name and how the host makes an instance. Copied into the
/// registry; Create points into the module that registered it.
struct TPropertyEditorClass {
  std::string Name;
  std::unique_ptr<TPropertyEditor> (*Create)() = nullptr;
  explicit operator bool() const { return Create != nullptr; }
};
/// The editor class of T (default-constructible), named Name.
template <class T>
TPropertyEditorClass PropertyEditorClass(std::string Name) {
  static_assert(std::is_base_of_v<TPropertyEditor, T>, "a property editor class derives from TPropertyEditor");
  return {std::move(Name), []() -> std::unique_ptr<TPropertyEditor> { return std::make_unique<T>(); }};
}

// ---- Component editors -----------------------------------------------------------------------

/// The context menu and double click of a component on the form designer. The host creates it
/// (GetComponentEditor), owns it and frees it afterwards.
class TComponentEditor {
public:
  /// The host's virtual constructor: the editor of AComponent on ADesigner's form.
  TComponentEditor(vcl::TComponent* AComponent, TFormDesigner* ADesigner)
      : FComponent(AComponent), FDesigner(ADesigner) {}
  TComponentEditor(const TComponentEditor&) = delete;
  TComponentEditor& operator=(const TComponentEditor&) = delete;
  virtual ~TComponentEditor() = default;

  // The virtual operations, in the order of the host's class (after the constructor).

  /// The designer's double click: the base runs verb 0 when there is one.
  virtual void Edit();
  /// Runs the verb Index; the base does nothing.
  virtual void ExecuteVerb(int Index);
  /// The menu text of verb Index; the base answers "".
  virtual std::string GetVerb(int Index);
  /// The number of verbs; the base has none.
  virtual int GetVerbCount();
  /// The component was copied to the clipboard; the base adds nothing.
  virtual void Copy();

  vcl::TComponent* Component() const { return FComponent; }
  TFormDesigner* Designer() const { return FDesigner; }

private:
  vcl::TComponent* FComponent;
  TFormDesigner* FDesigner;
};

/// A component editor class: its name and the host's virtual constructor.
struct TComponentEditorClass {
  std::string Name;
  std::unique_ptr<TComponentEditor> (*Create)(vcl::TComponent* AComponent, TFormDesigner* ADesigner) = nullptr;
  explicit operator bool() const { return Create != nullptr; }
};
template <class T>
TComponentEditorClass ComponentEditorClass(std::string Name) {
  static_assert(std::is_base_of_v<TComponentEditor, T>, "a component editor class derives from TComponentEditor");
  return {std::move(Name), [](vcl::TComponent* C, TFormDesigner* D) -> std::unique_ptr<TComponentEditor> {
            return std::make_unique<T>(C, D);
          }};
}

// ---- Modules ---------------------------------------------------------------------------------

/// The module (package) a registration belongs to: its handle as the host's loader gave it;
/// nullptr for the host program itself.
using TModuleHandle = const void*;

/// The module whose Register is running, to which registrations now belong.
TModuleHandle CurrentModule();
/// Names the module being registered for its lifetime, then restores the one named before.
class TCurrentModule {
public:
  explicit TCurrentModule(TModuleHandle Module);
  ~TCurrentModule();
  TCurrentModule(const TCurrentModule&) = delete;
  TCurrentModule& operator=(const TCurrentModule&) = delete;

private:
  TModuleHandle FSaved;
};

/// Forgets every property editor, component editor, palette and check registration Module made.
/// The host calls it before unloading the module, after freeing the editors it made from it.
void DropModuleRegistrations(TModuleHandle Module);

// ---- Registration ------------------------------------------------------------------------------

/// From now on properties of type PropertyType of components of ComponentClass (or a
/// descendant; nullptr: any class) named PropertyName (empty: any name) are edited with
/// EditorClass. Raises vcl::Exception naming the editor class when the type or the class's
/// constructor is missing.
void RegisterPropertyEditor(const TTypeInfo* PropertyType, vcl::TClass ComponentClass, std::string PropertyName,
                            TPropertyEditorClass EditorClass);
/// From now on components of ComponentClass (or a descendant) get EditorClass on the designer.
/// Raises vcl::Exception naming the editor class when the class or its constructor is missing.
void RegisterComponentEditor(vcl::TClass ComponentClass, TComponentEditorClass EditorClass);
/// Offers the classes on the palette page Page, after those already there. Streaming does not
/// learn the classes from this: their unit registers them with vcl::RegisterClass. Raises
/// vcl::Exception naming the page when a class is nullptr or the page name is empty.
void RegisterComponents(const std::string& Page, std::initializer_list<vcl::TClass> Classes);

// ---- Checks ------------------------------------------------------------------------------------

struct TDesignProblem;
/// Shows the user a fault of Component, typically in its editor opened at what is at fault;
/// answers whether the component changed there (the host then marks the form modified).
using TShowProblem = bool (*)(vcl::TComponent* Component, const TDesignProblem& Problem);

/// One fault a package finds in a component on the form, for the host to list.
struct TDesignProblem {
  std::string Key;     ///< what in the component is at fault (a translator: the entry's key)
  int Line = 0;        ///< 1-based place of that in the component's list; 0 when it has none
  bool Error = true;   ///< an error, else a warning
  std::string Reason;  ///< one line, saying what is wrong
  /// How the package shows it: set by CheckComponent from the registration; nullptr for none.
  TShowProblem Show = nullptr;
};
/// Looks at a component on the form and gives its faults; never raises.
using TComponentCheck = std::vector<TDesignProblem> (*)(vcl::TComponent* Component);
/// From now on the host judges components of ComponentClass (or a descendant) with Check, after
/// every change of the form, and shows a fault the user picks with Show (when given). Raises
/// vcl::Exception when the class or the check is missing.
void RegisterComponentCheck(vcl::TClass ComponentClass, TComponentCheck Check, TShowProblem Show = nullptr);

/// One registration, as kept: which module made it and when (Sequence grows with every
/// registration of any kind, so the order of calls can be told across the lists).
struct TPropertyEditorRegistration {
  const TTypeInfo* PropertyType;
  vcl::TClass ComponentClass;
  std::string PropertyName;
  TPropertyEditorClass EditorClass;
  TModuleHandle Module;
  std::uint64_t Sequence;
};
struct TComponentEditorRegistration {
  vcl::TClass ComponentClass;
  TComponentEditorClass EditorClass;
  TModuleHandle Module;
  std::uint64_t Sequence;
};
struct TComponentCheckRegistration {
  vcl::TClass ComponentClass;
  TComponentCheck Check;
  TShowProblem Show;
  TModuleHandle Module;
  std::uint64_t Sequence;
};
struct TPaletteEntry {
  std::string Page;
  vcl::TClass ComponentClass;
  TModuleHandle Module;
  std::uint64_t Sequence;
};
/// The registrations in force, each list in the order of the calls.
std::vector<TPropertyEditorRegistration> PropertyEditorRegistrations();
std::vector<TComponentEditorRegistration> ComponentEditorRegistrations();
std::vector<TPaletteEntry> PaletteEntries();
std::vector<TComponentCheckRegistration> ComponentCheckRegistrations();

// ---- Lookups for the host ----------------------------------------------------------------------

/// The editor class for the property Prop of components of ComponentClass: among the
/// registrations for Prop's type that fit, one naming the property beats one for any name, then
/// the nearest component class wins, then the later registration. Without one, the editor of
/// Prop's kind (TIntegerProperty, TEnumProperty, TSetProperty, TStringProperty,
/// TStringsProperty, TMethodProperty).
TPropertyEditorClass GetPropertyEditorClass(vcl::TClass ComponentClass, const vcl::TPropInfo& Prop);
/// A new, initialized editor of Prop for the Components (at least one, all having Prop), on
/// Designer's form. Raises vcl::Exception naming the property when Components is empty.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TFormDesigner* Designer,
                                                      std::vector<vcl::TPersistent*> Components,
                                                      const vcl::TPropInfo& Prop);
/// A new editor of Component on Designer's form: of the registration for its class or its
/// nearest ancestor (the later among equals); the base TComponentEditor, with no verbs, when
/// there is none.
std::unique_ptr<TComponentEditor> GetComponentEditor(vcl::TComponent* Component, TFormDesigner* Designer);
/// The faults of Component by every check registered for its class or an ancestor, in the order
/// of registration; none without such a check.
std::vector<TDesignProblem> CheckComponent(vcl::TComponent* Component);
/// The palette pages, in the order their first class was registered.
std::vector<std::string> PalettePages();
/// The classes on Page, in registration order (empty for an unknown page).
std::vector<vcl::TClass> PaletteClasses(std::string_view Page);

}  // namespace design
