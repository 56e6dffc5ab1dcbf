// The Dictionary page: translating the working copy from a dictionary, PO or XLIFF file,
// exporting it to one, and loading and saving it as a translation text file.
//
// Notes:
// - The operations run on copies of the working lists through the list forms of unit Vek and
//   of the exchange formats, not on a temporary translator: making a translator switches every
//   translator of another locale off, the edited one included. The files are those the edited
//   translator would write with locale 0 and its owner's name.
// - Translate and Export take the format from the file's extension (exchange::FormatOfFile),
//   and their dialogs offer the formats of the table, so they read and write what
//   `lumetra dict` does.
// - Translate takes a PO or XLIFF file's messages marked for review too; their keys become the
//   fuzzy ones (TDlgEditor::FFuzzy), which Export writes marked again. Load takes a text file,
//   which marks nothing, so it clears the marks.
#include "editor_support.hpp"
#include "exchange/Formats.hpp"

namespace VekEdit {

using namespace vcl;

namespace {

// The file dialogs of Load and Save: translation text files (as the dialogs are made with).
const char* const TextFileFilter = "Dictionary (*.txt)|*.txt|All files (*.*)|*.*";

// The lines a message shows at most; the rest are counted.
constexpr std::size_t MaxShownLines = 10;

std::string Listed(const std::vector<std::string>& Lines) {
  std::string text;
  for (std::size_t i = 0; i < Lines.size() && i < MaxShownLines; ++i) text += "\n" + Lines[i];
  if (Lines.size() > MaxShownLines) text += "\n" + IntToStr(static_cast<std::int64_t>(Lines.size() - MaxShownLines)) + " more";
  return text;
}

void ShowWarnings(const std::string& Title, const std::vector<std::string>& Warnings) {
  if (!Warnings.empty()) EditorDialogs().MessageDlg(Title + Listed(Warnings), mtWarning, mbOK, 0);
}

}  // namespace

void TDlgEditor::FileOperation(TOpenDialog& Dialog, const TLabel& Title, const std::string& Filter, bool TakesBack,
                               const TFileOperation& Operation) {
  Guarded([&] {
    StorePendingEdit();
    Dialog.SetTitle(Title.Caption());
    Dialog.SetFilter(Filter);
    if (!EditorDialogs().Execute(Dialog)) return;
    THourGlass hourGlass;
    Vek::TSortList work;
    work.Assign(FTransList);
    std::vector<std::string> fuzzy;
    // A failing operation leaves the working copy and the marks as they were.
    if (!Operation(Dialog.FileName(), work, fuzzy) || !TakesBack) return;
    bool changed = work.Count() != FTransList->Count();
    for (int i = 0; !changed && i < work.Count(); ++i) changed = work.Get(i) != FTransList->Get(i);
    std::unordered_set<std::string> marks(fuzzy.begin(), fuzzy.end());
    if (!changed && marks == FFuzzy) return;
    FFuzzy = std::move(marks);
    if (changed) {
      FTransList->Assign(&work);
      SetModified();  // the marks alone are no change of the form
    }
    RefreshPropList();
    PropListClick(this);
  });
}

void TDlgEditor::BtnTranslateClick(TObject*) {
  FileOperation(*OpenDialog1, *LblTranslate, exchange::FileFilter(), true,
                [this](const std::string& FileName, Vek::TSortList& Work, std::vector<std::string>& Fuzzy) {
    const exchange::TImport import = exchange::FormatOfFile(FileName).Read(FileName);
    if (!import) return false;
    // Fuzzy messages are taken for the translator to review; untranslated ones are left out, and
    // a translation that cannot be taken changes nothing.
    exchange::ImportResult result = import(Work, *FOrgList, std::nullopt, true);
    if (!result.Faults.empty())
      throw EConvertError(FileName + ": " + IntToStr(static_cast<std::int64_t>(result.Faults.size())) +
                          " translations cannot be taken; the translations are unchanged:" + Listed(result.Faults));
    ShowWarnings(FileName + ": skipped:", result.Warnings);
    if (!result.Charsets.empty()) EditorDialogs().MessageDlg("Character sets:" + Listed(result.Charsets), mtInformation, mbOK, 0);
    Fuzzy = std::move(result.FuzzyKeys);
    return true;
  });
}

void TDlgEditor::BtnExportClick(TObject*) {
  FileOperation(*SaveDialog1, *LblExport, exchange::FileFilter(), false,
                [this](const std::string& FileName, Vek::TSortList& Work, std::vector<std::string>&) {
    std::vector<std::string> warnings;
    exchange::FormatOfFile(FileName).Write(
        FileName,
        {Work, *FOrgList, Translator->Owner(), Translator->OwnerName(), Translator->Locale(), "", {FFuzzy.begin(), FFuzzy.end()}},
        [&](const std::string& Warning) { warnings.push_back(Warning); });
    ShowWarnings(FileName + ":", warnings);
    return true;
  });
}

void TDlgEditor::BtnLoadClick(TObject*) {
  FileOperation(*OpenDialog1, *LblLoad, TextFileFilter, true,
                [this](const std::string& FileName, Vek::TSortList& Work, std::vector<std::string>&) {
    return Vek::LoadFrom(FileName, Translator->OwnerName(), 0, Work);
  });
}

void TDlgEditor::BtnSaveClick(TObject*) {
  FileOperation(*SaveDialog1, *LblSave, TextFileFilter, false,
                [this](const std::string& FileName, Vek::TSortList& Work, std::vector<std::string>&) {
    Vek::SaveTo(FileName, Translator->OwnerName(), 0, Work, *FOrgList);
    return true;
  });
}

}  // namespace VekEdit
