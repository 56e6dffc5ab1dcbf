// The form open in the design host: its file read and written by the design layer's form file,
// its components, the inspector's rows from the registered property editors, the component
// editors' verbs, dropped components, and whether it has unsaved changes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "design/DsgnIntf.hpp"
#include "design/FormFile.hpp"

namespace designer {

/// One row of the object inspector.
struct InspectorRow {
  std::string Name;
  std::string Value;
  bool ReadOnly;  // paReadOnly: the value text cannot be typed over
  bool Dialog;    // paDialog: a button calls Edit
};

/// The answer to "save the changes?" when a modified form is closed.
enum class CloseAnswer : std::uint8_t { Save = 0, Discard = 1, Cancel = 2 };

class FormDocument : public design::TFormDesigner, public design::TFormFile {
public:
  /// Reads the form FileName, its components in design state. Raises what design::TFormFile
  /// raises: vcl::EFOpenError naming the file when it is no regular file or too large,
  /// vcl::Exception naming the file (and what the reader found at fault) when it is no form.
  explicit FormDocument(std::string FileName) : design::TFormFile(std::move(FileName)) {}

  bool IsModified() const { return FModified; }
  void Modified() override { FModified = true; }
  /// "lumetra-designer - <file>", with " *" after it while the form has unsaved changes.
  std::string Title() const;

  /// The components of the form, also those a component on it owns (a frame's), depth first
  /// in creation order (design::ComponentsOf).
  std::vector<vcl::TComponent*> Components() const;
  /// The name the designer shows for a component of the form: its Name, after those of its
  /// owners below the form ("Frame1.Lumetra1", design::ComponentPath).
  std::string NameOf(const vcl::TComponent* Component) const;
  /// The component of the form that NameOf names Name; raises vcl::Exception naming it when
  /// there is none.
  vcl::TComponent* Component(const std::string& Name) const;

  /// The inspector's rows for Component: its published properties with the registered editors.
  std::vector<InspectorRow> Inspect(vcl::TComponent* Component);
  /// Types Value into the property; raises vcl::Exception naming the property when it is
  /// read-only or unknown, and the editor's own error when it refuses the text.
  void SetValue(vcl::TComponent* Component, const std::string& Property, const std::string& Value);
  /// The dialog button of the property: its editor's Edit.
  void Edit(vcl::TComponent* Component, const std::string& Property);

  /// The verbs of Component's editor, in order.
  std::vector<std::string> Verbs(vcl::TComponent* Component);
  void ExecuteVerb(vcl::TComponent* Component, int Index);
  /// The designer's double click on Component: its editor's Edit.
  void EditComponent(vcl::TComponent* Component);

  /// One fault the loaded packages' checks find in a component of the form.
  struct Fault {
    std::string Component;
    design::TDesignProblem Problem;
  };
  /// The faults of every component of the form, in component order.
  std::vector<Fault> Check() const;
  /// Shows the fault as its package does (the form is modified when the component changed),
  /// or else opens the component's editor. Raises vcl::Exception when the component is gone.
  void ShowFault(const Fault& F);

  /// Drops a new component of Class on the form, named after the class (TLumetra: Lumetra1,
  /// Lumetra2, ...); the form is modified. Raises vcl::Exception naming the class when it
  /// cannot be constructed.
  vcl::TComponent* Drop(vcl::TClass Class);

  /// Writes the form over its file as design::TFormFile::Save does (and with it, through the
  /// components' own storage, their files). The form is unmodified then.
  void Save() override;
  /// Whether the form may close: unmodified, or the user saved (Ask answered Save) or
  /// discarded the changes. Cancel keeps it open.
  bool CanClose(const std::function<CloseAnswer(const std::string& Question)>& Ask);

private:
  std::unique_ptr<design::TPropertyEditor> EditorOf(vcl::TComponent* Component, const std::string& Property);

  bool FModified = false;
};

}  // namespace designer
