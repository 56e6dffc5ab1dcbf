// The dialogs a check looks at, shown once each untranslated.
#include "live_dialogs.hpp"

#include <cstdio>

#include "commands.hpp"

#include "design/Components.hpp"
#include "vcl/Dialogs.hpp"
#include "vcl/StandardDialogs.hpp"

namespace lumetra_cli {

namespace {

// A dialog component of a class that shows a dialog: the form's own, else a new one of a
// standard class; nullptr for a class neither knows.
vcl::TCommonDialog* DialogOf(const std::string& ClassName, vcl::TComponent* Form, vcl::TComponent* Owner) {
  for (vcl::TCommonDialog* d : design::ComponentsOf<vcl::TCommonDialog>(Form))
    if (d->ClassName() == ClassName) return d;
  if (const vcl::TStandardDialog* standard = vcl::FindStandardDialog(ClassName)) return standard->Make(Owner);
  return nullptr;
}

}  // namespace

LiveDialogs::LiveDialogs(vcl::TComponent* Form)
    : FForm(Form), FOwner(new vcl::TForm(vcl::Application)), FTranslator(new Vek::TLumetra(FOwner)) {
  FTranslator->SetTranslate(false);
}

LiveDialogs::~LiveDialogs() {
  delete FOwner;
  Vek::UnRegisterDialogClasses();
}

const checks::DialogLayout* LiveDialogs::Reference(const std::string& ClassName) {
  auto found = FLayouts.find(ClassName);
  if (found != FLayouts.end()) return found->second ? &*found->second : nullptr;
  std::optional<checks::DialogLayout>& layout = FLayouts[ClassName];
  vcl::TCommonDialog* dialog = DialogOf(ClassName, FForm, FOwner);
  if (!dialog) return nullptr;
  Vek::RegisterDialogClass(dialog->ClassType());
  FTranslator->SetTranslate(false);
  vcl::ShowDialogOnce(*dialog, [&](HWND shown) { layout = checks::LayoutFromWindow(shown, ClassName); });
  return layout ? &*layout : nullptr;
}

const checks::DialogLayout* LiveDialogs::Reference(const std::string& ClassName, int Dpi, checks::TextMeasure& Measure) {
  const checks::DialogLayout* shown = Reference(ClassName);
  if (!shown || shown->PixelsPerInch == Dpi) return shown;
  const auto key = std::make_pair(ClassName, Dpi);
  auto scaled = FScaled.find(key);
  if (scaled == FScaled.end()) scaled = FScaled.emplace(key, checks::AtPixelsPerInch(*shown, Dpi, Measure)).first;
  return &scaled->second;
}

bool LiveDialogs::ShowTranslated(const std::string& ClassName, const EntrySet& Set, const std::function<void(HWND)>& Look) {
  vcl::TCommonDialog* dialog = DialogOf(ClassName, FForm, FOwner);
  if (!dialog) return false;
  FTranslator->Translations()->Clear();
  for (const checks::SourceEntry& e : Set.Entries) FTranslator->Translations()->SortInsert(e.Line, nullptr);
  FTranslator->SetTranslateEmpty(Set.TranslateEmpty);
  Vek::RegisterDialogClass(dialog->ClassType());
  FTranslator->SetTranslate(true);
  const bool shown = vcl::ShowDialogOnce(*dialog, Look);
  FTranslator->SetTranslate(false);
  return shown;
}

checks::CheckInput CheckInputOf(const EntrySet& Set, LiveDialogs& Live, checks::TextMeasure& Measure, std::optional<int> Dpi) {
  checks::CheckInput in;
  in.File = Set.File;
  in.Entries = Set.Entries;
  in.Originals = Set.Originals;
  in.TranslateEmpty = Set.TranslateEmpty;
  in.Locale = Set.Locale;
  in.Form = Live.Form();
  in.Measure = &Measure;
  if (Dpi) in.Reference = [&Live, &Measure, Dpi](const std::string& ClassName) { return Live.Reference(ClassName, *Dpi, Measure); };
  else in.Reference = [&Live](const std::string& ClassName) { return Live.Reference(ClassName); };
  return in;
}

void Print(const std::vector<checks::Problem>& Problems) {
  for (const checks::Problem& p : Problems) std::printf("%s\n", Escaped(checks::FormatProblem(p)).c_str());
}

}  // namespace lumetra_cli
