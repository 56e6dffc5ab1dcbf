// The design host's window, on the class library's controls: the palette page of the loaded
// package, the form's components, the object inspector with its value box and dialog button,
// the selected component's verbs, the faults the package's checks find in the form, and the
// commands to drop, save, and unload or reload the package. Tests drive it headless through the same handlers the controls call.
#pragma once

#include <memory>
#include <string>

#include "form_document.hpp"
#include "package_module.hpp"
#include "vcl/Forms.hpp"
#include "vcl/StdCtrls.hpp"

namespace designer {

class DesignerWindow {
public:
  /// The window with the package PackageFile loaded and, when FormFile is not empty, that form
  /// open. Raises vcl::Exception naming the file that cannot be loaded or read.
  DesignerWindow(std::string PackageFile, std::string FormFile);
  ~DesignerWindow();
  DesignerWindow(const DesignerWindow&) = delete;
  DesignerWindow& operator=(const DesignerWindow&) = delete;

  vcl::TForm* Form() const { return FForm; }
  FormDocument* Document() const { return FDocument.get(); }
  PackageModule* Package() const { return FPackage.get(); }

  /// Opens FileName in place of the open form (which is asked about first when modified).
  void OpenForm(const std::string& FileName);
  /// Closes the form (asking first) and unloads the package; false when the user cancelled.
  bool UnloadPackage();
  /// Loads the package again and reopens the form that was open.
  void ReloadPackage();
  /// Selects the form's component Name, as a click on it does. Raises vcl::Exception naming
  /// it when the form has none.
  void Select(const std::string& Name);

  // The handlers of the controls.
  void ComponentSelected();
  void PropertySelected();
  void ValueEntered();
  void DialogButtonClicked();
  void VerbClicked();
  void DropClicked();
  void SaveClicked();
  /// A double click on a fault: selects its component and shows the fault as the package does
  /// (a translator's editor at the entry at fault, with its preview).
  void FaultClicked();
  /// A fault selected: shown in full below the list.
  void FaultSelected();
  void CloseQuery(vcl::TObject* Sender, bool& CanClose);

  vcl::TListBox* ListPalette;
  vcl::TListBox* ListComponents;
  vcl::TListBox* ListInspector;
  vcl::TEdit* EdtValue;
  vcl::TButton* BtnDialog;
  vcl::TListBox* ListVerbs;
  vcl::TButton* BtnDrop;
  /// The palette button of the selected class: its glyph (Windows), else its name.
  vcl::TButton* BtnGlyph;
  vcl::TButton* BtnSave;
  vcl::TLabel* LblPage;
  /// "Checks: N errors, M warnings" (or that there are none).
  vcl::TLabel* LblChecks;
  /// One line per fault: `component: key (entry N): error|warning: reason`.
  vcl::TListBox* ListChecks;
  /// The selected fault's line in full, wrapped: a line is often wider than the list.
  vcl::TMemo* EdtFault;

  /// Whether the palette glyph of the listed classes was found in the package, by class.
  std::vector<std::string> GlyphsFound;

private:
  void LoadPackage();
  void ShowPalette();
  void ShowGlyph(const std::string& ClassName);
  void ShowComponents();
  void ShowInspector();
  void ShowTitle();
  void ShowState();
  /// Runs the checks again after any change; the list keeps the fault selected before.
  void ShowChecks();
  vcl::TComponent* Selected() const;
  std::string SelectedProperty() const;
  /// Runs Action; an exception is shown as a message box rather than ending the host.
  template <class F>
  void Guarded(F&& Action);

  std::string FPackageFile, FFormFile;
  vcl::TForm* FForm;
  std::unique_ptr<PackageModule> FPackage;
  std::unique_ptr<FormDocument> FDocument;
  std::vector<InspectorRow> FRows;
  std::vector<std::string> FPaletteClasses;
  std::vector<FormDocument::Fault> FFaults;
#ifdef _WIN32
  HBITMAP FGlyph = nullptr;  // shown on BtnGlyph, made from the package's resource
#endif
};

}  // namespace designer
