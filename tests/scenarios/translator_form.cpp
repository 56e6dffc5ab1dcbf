// The form of the translator scenarios.
#include "translator_form.hpp"

namespace scenario {

VCL_IMPLEMENT_CLASS(TStrayOpenDialog, vcl::TOpenDialog)
VCL_IMPLEMENT_CLASS(TOwnDialog, vcl::TCommonDialog)

const std::vector<Kind> Kinds = {
    {vcl::TOpenDialog::StaticClass(), stc3, 1},         {vcl::TSaveDialog::StaticClass(), stc3, 1},
    {TMyOpenDialog::StaticClass(), stc2, 1},            {vcl::TFontDialog::StaticClass(), stc1, 3},
    {vcl::TColorDialog::StaticClass(), stc1, 2},        {vcl::TPrintDialog::StaticClass(), stc6, 6},
    {vcl::TPrinterSetupDialog::StaticClass(), stc6, 5}, {vcl::TFindDialog::StaticClass(), chx1, 1},
    {vcl::TReplaceDialog::StaticClass(), chx1, 1},
};

std::vector<std::string> GermanEntries(vcl::TClass Class, int LabelId, int Ordinal) {
  const std::string c = Class->ClassName(), id = std::to_string(LabelId);
  return {c + ".Caption='" + c + " auf Deutsch'",
          c + ".Caption[" + id + "]='&Beschriftung'",
          c + ".Caption[" + std::to_string(-Ordinal) + "]='Nach Position'",
          c + ".Font.Charset=238",
          c + ".Font.Name='Arial'",
          c + ".Width=600",
          c + ".Left[" + id + "]=7",
          c + ".Width[" + id + "]=111"};
}

namespace {

// A modal dialog being shown: Action runs once, on the dialog's first idle (it is up, set up
// and painted, and no input has reached it), and then the dialog is cancelled.
struct Showing {
  vcl::TCommonDialog* Dialog;
  const std::function<void(HWND)>* Action;
  bool Done = false;
};

bool OnFirstIdle(void* Data, vcl::TMessage& Msg) {
  auto* s = static_cast<Showing*>(Data);
  const HWND dialog = s->Dialog->Handle();
  if (Msg.Msg != WM_ENTERIDLE || s->Done || !dialog || reinterpret_cast<HWND>(Msg.LParam) != dialog) return false;
  s->Done = true;
  (*s->Action)(dialog);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  return false;
}

}  // namespace

void Show(vcl::TCommonDialog* Dialog, const std::function<void(HWND)>& Action) {
  if (auto* find = dynamic_cast<vcl::TFindDialog*>(Dialog)) {
    ASSERT_TRUE(find->Execute());
    vcl::Application->ProcessMessages();
    ASSERT_NE(find->Handle(), nullptr);
    Action(find->Handle());
    find->CloseDialog();
    vcl::Application->ProcessMessages();
    EXPECT_EQ(find->Handle(), nullptr);
    return;
  }
  // Hooked before Execute, so the dialog component's own hook sees each message first.
  Showing showing{Dialog, &Action};
  const vcl::TWindowHook hook{&OnFirstIdle, &showing};
  vcl::Application->HookMainWindow(hook);
  EXPECT_FALSE(Dialog->Execute());
  vcl::Application->UnhookMainWindow(hook);
  EXPECT_TRUE(showing.Done);
}

TranslatorForm::TranslatorForm() {
  FForm->SetName("Form1");
  for (const Kind& k : Kinds) {
    auto* dialog = static_cast<vcl::TCommonDialog*>(k.Class->Create(FForm));
    if (auto* file = dynamic_cast<vcl::TOpenDialog*>(dialog)) {
      // The look-in box shows the starting folder; the recordings were made at the root.
      file->SetOptions(file->Options() | vcl::ofNoChangeDir);
      file->SetInitialDir("C:\\");
    }
    FDialogs.push_back(dialog);
    for (const std::string& e : GermanEntries(k.Class, k.LabelId, k.Ordinal)) FLmt->Translations()->SortInsert(e, nullptr);
  }
  for (const std::string& e : GermanEntries(TStrayOpenDialog::StaticClass(), stc3, 1))
    FLmt->Translations()->SortInsert(e, nullptr);
  FLmt->Loaded();
}

TranslatorForm::~TranslatorForm() {
  delete FForm;
  Vek::Interception.Reset();
}

}  // namespace scenario
