// Which captured values are texts for translators: not the content of edit, combo and list boxes
// (folders, fonts, printers, colour values), judged on the recorded dialog of the value's class,
// and not texts of digits only.
#include <algorithm>

#include "Vek.hpp"
#include "vcl/StandardDialogs.hpp"
#include "win/control_kind.h"
#include "win/recorded_dialogs.h"

namespace Vek {

namespace {

bool OnlyDigits(std::string_view Text) {
  return !Text.empty() && std::all_of(Text.begin(), Text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view KindOfClassOrAncestor(vcl::TClass Class) {
  const vcl::TStandardDialog* d = vcl::StandardDialogOf(Class);
  return d ? d->Kind : std::string_view();
}

}  // namespace

std::string_view RecordedKindOf(std::string_view ClassName) {
  const vcl::TStandardDialog* d = vcl::FindStandardDialog(ClassName);
  return d ? d->Kind : std::string_view();
}

std::string_view DialogKindOf(std::string_view ClassName, const vcl::TComponent* Form) {
  std::string_view kind = RecordedKindOf(ClassName);
  for (int i = 0; kind.empty() && Form && i < Form->ComponentCount(); ++i) {
    const vcl::TComponent* c = Form->Components(i);
    if (c->ClassName() == ClassName) kind = KindOfClassOrAncestor(c->ClassType());
  }
  if (kind.empty()) kind = KindOfClassOrAncestor(vcl::GetClass(ClassName));
  return kind;
}

bool IsForTranslation(std::string_view CapturedLine, const vcl::TComponent* Form) {
  const Entry e = Entry::Split(CapturedLine);
  if (e.Kind != EntryKind::WindowCaption && e.Kind != EntryKind::ChildCaption) return true;
  const std::optional<std::string> text = e.TryDecodedValue();
  if (!text) return true;
  if (OnlyDigits(*text)) return false;
  if (e.Kind != EntryKind::ChildCaption) return true;
  const std::optional<int> id = e.Id();
  const win::RecordedDialog* dialog = id ? win::FindRecordedDialog(DialogKindOf(e.ClassPart, Form)) : nullptr;
  const win::RecordedControl* control = dialog ? win::FindRecordedControl(*dialog, *id) : nullptr;
  return !control || !win::ShowsContent(win::KindOfControl(control->ClassName, control->Style));
}

}  // namespace Vek
