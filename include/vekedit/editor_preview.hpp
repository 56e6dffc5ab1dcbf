// The editor's preview window: the current key's dialog drawn from its layout with the working
// copy's translations, faults outlined in red, and the faults listed one a line.
#pragma once

#include "VekEdit.hpp"
#include "checks/preview.hpp"
#include "checks/translator_checks.hpp"

namespace VekEdit {

/// Shows a picture held in memory (painted with GDI on Windows; held for reading elsewhere).
class TPictureBox : public vcl::TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;
  const checks::Picture& Picture() const { return FPicture; }
  void SetPicture(checks::Picture Value);

protected:
  void CreateParams(vcl::TCreateParams& Params) override;
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;

private:
  checks::Picture FPicture;
};

/// The preview window of one editor; its form is owned by the editor.
class TPreviewWindow : public TEditorPreview {
public:
  explicit TPreviewWindow(TDlgEditor& Editor);
  void Show() override;
  bool Showing() const override;
  void Update(const std::string& ClassName, const std::vector<std::string>& Entries,
              const std::vector<std::string>& Originals) override;

  vcl::TForm* Form;
  TPictureBox* Image;
  /// One line per fault of the dialog, `key: error|warning: reason` (wrapped where it is long).
  vcl::TMemo* Faults;

private:
  TDlgEditor& FEditor;
  checks::RecordedReferences FReferences;  // the dialogs untranslated
  std::unique_ptr<checks::TextMeasure> FMeasure = checks::NativeMeasure();  // keeps its fonts between keys
};

/// The preview maker of the editor (SetPreviewMaker).
std::unique_ptr<TEditorPreview> MakePreviewWindow(TDlgEditor& Editor);

}  // namespace VekEdit
