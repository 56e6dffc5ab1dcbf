// The editor's preview window: the current key's dialog drawn from its layout with the working
// copy's translations, faults outlined in red, and the faults listed one a line.
#pragma once

#include <map>

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
  TFitProposal Fit(const std::string& ClassName, const std::vector<std::string>& Entries,
                   const std::vector<std::string>& Originals) override;

  vcl::TForm* Form;
  TPictureBox* Image;
  /// One line per fault of the dialog, `key: error|warning: reason` (wrapped where it is long).
  vcl::TMemo* Faults;

private:
  // The checks' input for the entries of ClassName among Entries (numbered by their place
  // there) and its captured values among Originals.
  checks::CheckInput InputOf(const std::string& ClassName, const std::vector<std::string>& Entries,
                             const std::vector<std::string>& Originals);
  // The dialog of ClassName as its template lays it out at Dpi, or nullptr.
  const checks::DialogLayout* ReferenceAt(const std::string& ClassName, int Dpi);

  TDlgEditor& FEditor;
  checks::RecordedReferences FReferences;  // the dialogs untranslated
  std::unique_ptr<checks::TextMeasure> FMeasure = checks::NativeMeasure();  // keeps its fonts between keys
  std::map<std::pair<std::string, int>, checks::DialogLayout> FScaled;       // the dialogs at other DPIs
  // The texts the last fit left unfitted in the dialog of FUnfittedClass: listed first while
  // the class's entries are FFittedLines (sorted), those the fit left.
  std::string FUnfittedClass;
  std::vector<std::string> FFittedLines, FUnfitted;
};

/// The preview maker of the editor (SetPreviewMaker).
std::unique_ptr<TEditorPreview> MakePreviewWindow(TDlgEditor& Editor);

}  // namespace VekEdit
