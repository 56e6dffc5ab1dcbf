// A translator's entries judged on the recorded dialogs of its form.
#include "checks/translator_checks.hpp"

#include "win/recorded_dialogs.h"

namespace checks {

const DialogLayout* RecordedReferences::Find(const std::string& ClassName) {
  auto found = FLayouts.find(ClassName);
  if (found != FLayouts.end()) return found->second ? &*found->second : nullptr;
  std::optional<DialogLayout>& layout = FLayouts[ClassName];
  const std::string_view kind = Vek::DialogKindOf(ClassName, FForm);
  if (const win::RecordedDialog* d = kind.empty() ? nullptr : win::FindRecordedDialog(kind)) layout = LayoutFromRecorded(*d, ClassName);
  return layout ? &*layout : nullptr;
}

std::vector<Problem> CheckTranslator(const Vek::TLumetra& Translator, RecordedReferences& References, TextMeasure& Measure) {
  CheckInput in;
  const vcl::TStrings& entries = *Translator.Translations();
  in.Entries.reserve(static_cast<std::size_t>(entries.Count()));
  for (int i = 0; i < entries.Count(); ++i) in.Entries.push_back({entries.Strings(i), i + 1});
  const vcl::TStrings& originals = *Translator.OrgProps();
  in.Originals.reserve(static_cast<std::size_t>(originals.Count()));
  for (int i = 0; i < originals.Count(); ++i) in.Originals.push_back(originals.Strings(i));
  in.TranslateEmpty = Translator.TranslateEmpty();
  in.Form = Translator.Owner();
  in.Measure = &Measure;
  in.Reference = [&References](const std::string& ClassName) { return References.Find(ClassName); };
  return Check(in);
}

std::vector<design::TDesignProblem> DesignCheck(vcl::TComponent* Component) {
  std::vector<design::TDesignProblem> found;
  const auto* translator = dynamic_cast<const Vek::TLumetra*>(Component);
  if (!translator) return found;
  try {
    RecordedReferences references(translator->Owner());
    const std::unique_ptr<TextMeasure> measure = NativeMeasure();
    for (Problem& p : CheckTranslator(*translator, references, *measure))
      found.push_back({std::move(p.Key), p.Line, p.Level == Severity::Error, std::move(p.Reason)});
  } catch (const std::exception& e) {
    // The host lists what went wrong in place of the faults rather than losing its form.
    found.push_back({"", 0, true, std::string("the check could not run: ") + e.what()});
  }
  return found;
}

}  // namespace checks
