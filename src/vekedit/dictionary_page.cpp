// The Dictionary page: translating the working copy from a dictionary, exporting it to one, and
// loading and saving it as a translation text file.
//
// Notes:
// - The operations run on copies of the working lists through the list forms of unit Vek, not on
//   a temporary translator: making a translator switches every translator of another locale off,
//   the edited one included. The files are those the edited translator would write with locale 0
//   and its owner's name.
#include "editor_support.hpp"

namespace VekEdit {

using namespace vcl;

void TDlgEditor::FileOperation(TOpenDialog& Dialog, const TLabel& Title, bool TakesBack,
                               const std::function<bool(const std::string&, Vek::TSortList&)>& Operation) {
  Guarded([&] {
    StorePendingEdit();
    Dialog.SetTitle(Title.Caption());
    if (!EditorDialogs().Execute(Dialog)) return;
    THourGlass hourGlass;
    Vek::TSortList work;
    work.Assign(FTransList);
    // A failing operation leaves the working copy as it was.
    if (!Operation(Dialog.FileName(), work) || !TakesBack) return;
    bool changed = work.Count() != FTransList->Count();
    for (int i = 0; !changed && i < work.Count(); ++i) changed = work.Get(i) != FTransList->Get(i);
    if (!changed) return;
    FTransList->Assign(&work);
    SetModified();
    RefreshPropList();
    PropListClick(this);
  });
}

void TDlgEditor::BtnTranslateClick(TObject*) {
  FileOperation(*OpenDialog1, *LblTranslate, true, [this](const std::string& FileName, Vek::TSortList& Work) {
    return Vek::TranslateFrom(FileName, Work, *FOrgList);
  });
}

void TDlgEditor::BtnExportClick(TObject*) {
  FileOperation(*SaveDialog1, *LblExport, false, [this](const std::string& FileName, Vek::TSortList& Work) {
    Vek::TranslateTo(FileName, Work, *FOrgList);
    return true;
  });
}

void TDlgEditor::BtnLoadClick(TObject*) {
  FileOperation(*OpenDialog1, *LblLoad, true, [this](const std::string& FileName, Vek::TSortList& Work) {
    return Vek::LoadFrom(FileName, Translator->OwnerName(), 0, Work);
  });
}

void TDlgEditor::BtnSaveClick(TObject*) {
  FileOperation(*SaveDialog1, *LblSave, false, [this](const std::string& FileName, Vek::TSortList& Work) {
    Vek::SaveTo(FileName, Translator->OwnerName(), 0, Work, *FOrgList);
    return true;
  });
}

}  // namespace VekEdit
