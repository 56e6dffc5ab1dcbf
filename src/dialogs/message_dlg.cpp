// MessageDlg, ShowMessage and InputQuery: small modal forms built at run time from controls.
#include <algorithm>

#include "vcl/Dialogs.hpp"
#include "vcl/StdCtrls.hpp"

namespace vcl {

namespace {

struct TButtonKind {
  TMsgDlgButtons Button;
  const char* Caption;
  TModalResult Result;
};

const TButtonKind ButtonKinds[] = {
    {mbYes, "&Yes", mrYes},       {mbNo, "&No", mrNo},          {mbOK, "OK", mrOk},         {mbCancel, "Cancel", mrCancel},
    {mbAbort, "&Abort", mrAbort}, {mbRetry, "&Retry", mrRetry}, {mbIgnore, "&Ignore", mrIgnore},
};

std::string ApplicationTitle() {
  std::string name = Application->ExeName();
  const std::size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

// A dialog-bordered, centred form with the message font.
TForm* NewBoxForm(const std::string& Caption) {
  auto* form = new TForm(Application);
  form->SetBorderStyle(bsDialog);
  form->SetBorderIcons(biSystemMenu);
  form->SetPosition(poScreenCenter);
  form->SetCaption(Caption);
  form->Font()->SetName("MS Sans Serif");
  form->Font()->SetHeight(-11);
  return form;
}

}  // namespace

TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int) {
  static const char* const Captions[] = {"Warning", "Error", "Information", "Confirm"};
  if (!Buttons) Buttons = mbOK;
  std::unique_ptr<TForm> form(NewBoxForm(DlgType == mtCustom ? ApplicationTitle() : Captions[DlgType]));
  auto* text = new TLabel(form.get());
  text->SetParent(form.get());
  text->SetCaption(Msg);
  text->SetBounds(16, 16, text->Width(), text->Height());

  std::vector<TButton*> buttons;
  for (const TButtonKind& kind : ButtonKinds)
    if (Buttons & kind.Button) {
      auto* b = new TButton(form.get());
      b->SetParent(form.get());
      b->SetCaption(kind.Caption);
      b->SetModalResult(kind.Result);
      buttons.push_back(b);
    }
  const int buttonWidth = 75, gap = 8;
  const int row = static_cast<int>(buttons.size()) * buttonWidth + (static_cast<int>(buttons.size()) - 1) * gap;
  const int clientWidth = std::max(text->Width() + 32, row + 32);
  int left = (clientWidth - row) / 2;
  const int top = text->Top() + text->Height() + 16;
  for (TButton* b : buttons) {
    b->SetBounds(left, top, buttonWidth, 25);
    left += buttonWidth + gap;
  }
  buttons.front()->SetDefault(true);
  auto cancel = std::find_if(buttons.begin(), buttons.end(), [](TButton* b) { return b->ModalResult() == mrCancel; });
  if (cancel == buttons.end())
    cancel = std::find_if(buttons.begin(), buttons.end(), [](TButton* b) { return b->ModalResult() == mrNo; });
  if (cancel == buttons.end() && buttons.size() == 1) cancel = buttons.begin();
  if (cancel != buttons.end()) (*cancel)->SetCancel(true);
  form->SetActiveControl(buttons.front());
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(top + 25 + 12);
  return form->ShowModal();
}

void ShowMessage(const std::string& Msg) { MessageDlg(Msg, mtCustom, mbOK, 0); }

bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value) {
  std::unique_ptr<TForm> form(NewBoxForm(ACaption));
  auto* prompt = new TLabel(form.get());
  prompt->SetParent(form.get());
  prompt->SetCaption(APrompt);
  prompt->SetBounds(8, 8, prompt->Width(), prompt->Height());
  auto* edit = new TEdit(form.get());
  edit->SetParent(form.get());
  const int width = std::max(233, prompt->Width());
  edit->SetBounds(8, prompt->Top() + prompt->Height() + 6, width, 21);
  edit->SetText(Value);
  edit->SelectAll();
  const int top = edit->Top() + edit->Height() + 16;
  auto* ok = new TButton(form.get());
  ok->SetParent(form.get());
  ok->SetCaption("OK");
  ok->SetModalResult(mrOk);
  ok->SetDefault(true);
  ok->SetBounds(8 + width - 2 * 75 - 8, top, 75, 25);
  auto* cancel = new TButton(form.get());
  cancel->SetParent(form.get());
  cancel->SetCaption("Cancel");
  cancel->SetModalResult(mrCancel);
  cancel->SetCancel(true);
  cancel->SetBounds(8 + width - 75, top, 75, 25);
  form->SetActiveControl(edit);
  form->SetClientWidth(width + 16);
  form->SetClientHeight(top + 25 + 8);
  if (form->ShowModal() != mrOk) return false;
  Value = edit->Text();
  return true;
}

}  // namespace vcl
