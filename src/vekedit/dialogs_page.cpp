// The Dialogs page: capturing the form's dialogs, the captured properties not translated yet,
// their values as hints, Include and Rescan.
#include <algorithm>
#include <unordered_set>

#include "editor_support.hpp"

namespace VekEdit {

using namespace vcl;

int TDlgEditor::CaptureDialogs() {
  if (!Translator) return 0;
  std::vector<TCommonDialog*> dialogs;
  auto collect = [&](const TComponent* Owner) {
    for (int i = 0; Owner && i < Owner->ComponentCount(); ++i)
      if (auto* dialog = dynamic_cast<TCommonDialog*>(Owner->Components(i))) dialogs.push_back(dialog);
  };
  if (Translator->ComponentState() & csDesigning) {
    collect(Translator->Owner());
  } else {
    // The editor's own file and font dialogs are not the application's.
    for (int i = 0; i < Application->ComponentCount(); ++i)
      if (Application->Components(i) != this) collect(Application->Components(i));
  }
  std::unordered_set<std::string> known;
  for (int i = 0; i < FDlgClasses->Count(); ++i) known.insert(Fold(FDlgClasses->Get(i)));
  int added = 0;
  std::string missed;
  for (TCommonDialog* dialog : dialogs) {
    const std::string name = dialog->ClassName();
    if (!known.insert(Fold(name)).second) continue;
    FDlgClasses->Add(name);
    // Each capture is merged as it is made, so that a failing dialog loses only its own.
    TStringList captured;
    try {
      Translator->GetDlgProps(dialog, &captured);
    } catch (const Vek::ECaptureError& e) {
      missed += (missed.empty() ? "" : "\n") + e.Message();  // the others are captured all the same
      continue;
    }
    added += Vek::MergeCapture(*FOrgList, captured);
  }
  if (!missed.empty()) throw Vek::ECaptureError(missed);
  return added;
}

void TDlgEditor::UpdateOrgProps() {
  // A class that captured nothing changed nothing.
  struct Mark {
    TDlgEditor* Self;
    int Before;
    ~Mark() {
      if (Self->FOrgList->Count() != Before) Self->SetModified();
    }
  } mark{this, FOrgList->Count()};
  CaptureDialogs();
}

void TDlgEditor::BtnRescanClick(TObject*) {
  Guarded([this] {
    THourGlass hourGlass;
    std::vector<std::string> before;
    for (int i = 0; i < FOrgList->Count(); ++i) before.push_back(FOrgList->Get(i));
    std::sort(before.begin(), before.end());
    // Whatever a failing capture leaves, the lists on screen follow the captured values.
    struct Refresh {
      TDlgEditor* Self;
      const std::vector<std::string>& Before;
      ~Refresh() {
        std::vector<std::string> after;
        for (int i = 0; i < Self->FOrgList->Count(); ++i) after.push_back(Self->FOrgList->Get(i));
        std::sort(after.begin(), after.end());
        if (after != Before) Self->SetModified();
        try {
          Self->RefreshPropList();
        } catch (...) {
          // The capture's own error is the one to show.
        }
      }
    };
    FOrgList->Clear();
    FDlgClasses->Clear();
    ListAvail->Clear();
    FAvail.clear();
    Refresh refresh{this, before};
    CaptureDialogs();
  });
}

void TDlgEditor::ListAvailClick(TObject*) {
  const std::vector<int> selected = SelectedItems(*ListAvail);
  BtnIncludeProp->SetEnabled(!selected.empty());
  const std::string count = IntToStr(static_cast<int>(selected.size()));
  std::string caption;
  try {
    caption = Format(FSelectedFmt.empty() ? LblSelected->Caption() : FSelectedFmt, {count});
  } catch (const EConvertError&) {
    caption = count;  // a template that is no format: the count alone
  }
  LblSelected->SetCaption(caption);
}

void TDlgEditor::ListAvailMouseMove(TObject*, TShiftState, int X, int Y) {
  const int i = ListAvail->ItemAtPos(POINT{X, Y}, true);
  if (i < 0) return;
  ListAvail->SetHint(OrgValue(ListAvail->Items()->Get(i)));
  if (i != FHintItem) Application->CancelHint();
  FHintItem = i;
}

void TDlgEditor::BtnIncludePropClick(TObject*) {
  Guarded([this] {
    THourGlass hourGlass;
    StorePendingEdit();
    const std::vector<int> selected = SelectedItems(*ListAvail);
    {
      TListBatch props(*PropList);
      TListBatch avail(*ListAvail);
      for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        const std::string key = ListAvail->Items()->Get(*it);
        std::string folded = Fold(key);
        // A key already translated (added with New, or listed twice) is not entered again.
        if (!FListed.count(folded)) {
          FTransList->SortInsert(key + InitialValuePart(key), nullptr);
          PropList->Items()->Add(key);
          ++FListed[folded];
          SetModified();
        }
        ListAvail->Items()->Delete(*it);
        FAvail.erase(folded);
      }
    }
    ListAvailClick(this);
  });
}

}  // namespace VekEdit
