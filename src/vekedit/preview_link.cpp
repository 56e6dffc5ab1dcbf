// The editor's side of its preview window: the Preview button and F5, and the entries the
// window draws (the working copy with the text being typed).
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

void TDlgEditor::UpdatePreview() {
  if (!FPreview || !FPreview->Showing() || !FOrgList) return;
  const std::string line = FShownKey + "=";
  const Vek::Entry entry = Vek::Entry::Split(line);
  std::vector<std::string> originals;
  originals.reserve(static_cast<std::size_t>(FOrgList->Count()));
  for (int i = 0; i < FOrgList->Count(); ++i) originals.push_back(FOrgList->Get(i));
  FPreview->Update(entry.HasClass ? std::string(entry.ClassPart) : std::string(), PendingEntries(), originals);
}

}  // namespace VekEdit
