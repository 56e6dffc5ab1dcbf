// The editor's side of its preview window: the Preview and Fit buttons and F5, and the entries
// the window draws (the working copy with the text being typed).
#include "editor_support.hpp"
#include "vcl/CodePages.hpp"

namespace VekEdit {

using namespace vcl;

namespace {

TPreviewMaker& Maker() {
  static TPreviewMaker maker = nullptr;
  return maker;
}

}  // namespace

TPreviewMaker SetPreviewMaker(TPreviewMaker Value) { return std::exchange(Maker(), Value); }

void TDlgEditor::MakePreviewButton() {
  if (!Maker()) return;
  // Below Remove, where the page has room, so that no control of the page moves.
  BtnPreview = new TButton(this);
  BtnPreview->SetName("BtnPreview");
  BtnPreview->SetParent(BtnRemove->Parent());
  BtnPreview->SetBounds(BtnRemove->Left(), BtnRemove->Top() + 32, BtnRemove->Width(), BtnRemove->Height());
  BtnPreview->SetCaption("Pre&view");
  BtnPreview->SetHint("Show the dialog of the current property translated, with its faults (F5)");
  BtnPreview->SetShowHint(true);
  BtnPreview->SetOnClick(TNotifyEvent([this](TObject* Sender) { BtnPreviewClick(Sender); }));
  // Right of Preview up to the translation box's right edge, where Accept ends too.
  BtnFit = new TButton(this);
  BtnFit->SetName("BtnFit");
  BtnFit->SetParent(BtnPreview->Parent());
  const int fitLeft = BtnPreview->Left() + BtnPreview->Width() + 6;
  BtnFit->SetBounds(fitLeft, BtnPreview->Top(), EdtTranslation->Left() + EdtTranslation->Width() - fitLeft,
                    BtnPreview->Height());
  BtnFit->SetCaption("&Fit");
  BtnFit->SetHint("Size and move the controls of the current property's dialog so that its texts fit");
  BtnFit->SetShowHint(true);
  BtnFit->SetOnClick(TNotifyEvent([this](TObject* Sender) { BtnFitClick(Sender); }));
  EdtTranslation->SetOnChange(TNotifyEvent([this](TObject* Sender) { EdtTranslationChange(Sender); }));
}

void TDlgEditor::BtnPreviewClick(TObject*) {
  Guarded([this] {
    if (!Maker()) return;
    if (!FPreview) FPreview = Maker()(*this);
    FPreview->Show();
    UpdatePreview();
  });
}

void TDlgEditor::BtnFitClick(TObject*) {
  Guarded([this] {
    if (!Maker() || !FTransList || !FOrgList) return;
    StorePendingEdit();
    const std::string className = ShownClass();
    if (!FPreview) FPreview = Maker()(*this);
    const TFitProposal fit = FPreview->Fit(className, PendingEntries(), Originals());
    TakeEntries(fit.Written);
    FPreview->Show();
    // Shows the shown key's entry again, which the fit may have written, and draws the result.
    PropListClick(this);
    if (!fit.Written.empty() || !fit.Unfitted.empty()) return;
    const std::string why = className.empty() ? "no property is current"
                            : fit.HasDialog   ? "every text of the " + className + " dialog fits"
                                              : "no dialog of class " + className;
    EditorDialogs().MessageDlg("There was nothing to fit: " + why + ".", mtInformation, mbOK, 0);
  });
}

void TDlgEditor::TakeEntries(const std::vector<std::string>& Lines) {
  if (Lines.empty()) return;
  {
    TListBatch props(*PropList);
    TListBatch avail(*ListAvail);
    for (const std::string& line : Lines) {
      const std::string key(Vek::EntryKey(line));
      if (const int j = TransIndex(key); j >= 0) {
        FTransList->Put(j, line);
        continue;
      }
      FTransList->SortInsert(line, nullptr);
      std::string folded = Fold(key);
      if (FAvail.erase(folded))
        for (int i; (i = IndexOfFolded(*ListAvail, key)) >= 0;) ListAvail->Items()->Delete(i);
      PropList->Items()->Add(key);
      ++FListed[std::move(folded)];
    }
  }
  SetModified();
  ListAvailClick(this);
}

void TDlgEditor::EdtTranslationChange(TObject*) {
  Guarded([this] { UpdatePreview(); });
}

std::vector<std::string> TDlgEditor::PendingEntries() const {
  std::vector<std::string> entries;
  if (!FTransList) return entries;
  entries.reserve(static_cast<std::size_t>(FTransList->Count()));
  for (int i = 0; i < FTransList->Count(); ++i) entries.push_back(FTransList->Get(i));
  const int j = TransIndex(FShownKey);
  if (j < 0 || FShownKey.empty()) return entries;
  // The preview draws what the page holds of the text: "?" for a character it lacks, which
  // leaving the box would refuse.
  const std::string typed = FromUtf16(FShownPage, EdtTranslation->TextW());
  if (typed != FCurText) entries[static_cast<std::size_t>(j)] = FShownKey + "=" + StoredText(typed);
  return entries;
}

std::string TDlgEditor::ShownClass() const {
  const std::string line = FShownKey + "=";
  const Vek::Entry entry = Vek::Entry::Split(line);
  return entry.HasClass ? std::string(entry.ClassPart) : std::string();
}

std::vector<std::string> TDlgEditor::Originals() const {
  std::vector<std::string> originals;
  if (!FOrgList) return originals;
  originals.reserve(static_cast<std::size_t>(FOrgList->Count()));
  for (int i = 0; i < FOrgList->Count(); ++i) originals.push_back(FOrgList->Get(i));
  return originals;
}

void TDlgEditor::UpdatePreview() {
  if (!FPreview || !FPreview->Showing() || !FOrgList) return;
  FPreview->Update(ShownClass(), PendingEntries(), Originals());
}

}  // namespace VekEdit
