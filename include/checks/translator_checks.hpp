// A translator's entries judged on the recorded dialogs of its form, without showing a dialog:
// what the editor's preview draws from and what the design host lists for a form.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Vek.hpp"
#include "checks/checks.hpp"
#include "design/DsgnIntf.hpp"

namespace checks {

/// The untranslated dialog of each class, as recorded, made on first use. A class the
/// recordings do not know is looked up among the dialog components of Form and the registered
/// classes (Vek::DialogKindOf): a descendant of a standard dialog class shows its ancestor's dialog.
class RecordedReferences {
public:
  explicit RecordedReferences(const vcl::TComponent* Form) : FForm(Form) {}
  /// The dialog of ClassName, or nullptr when no recording shows it.
  const DialogLayout* Find(const std::string& ClassName);

private:
  const vcl::TComponent* FForm;
  std::map<std::string, std::optional<DialogLayout>> FLayouts;
};

/// Every problem of Translator's entries against its captured values on the recorded dialogs;
/// a problem's Line is the 1-based place of its entry in the Translations list.
std::vector<Problem> CheckTranslator(const Vek::TLumetra& Translator, RecordedReferences& References, TextMeasure& Measure);

/// The design host's check of a translator component: CheckTranslator's problems, measured in
/// the real fonts where there are any. Nothing for a component that is no translator.
std::vector<design::TDesignProblem> DesignCheck(vcl::TComponent* Component);

}  // namespace checks
