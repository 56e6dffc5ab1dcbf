// The form of the translator scenarios.
#include "translator_form.hpp"

#include "vcl/CodePages.hpp"

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

void Show(vcl::TCommonDialog* Dialog, const std::function<void(HWND)>& Action) {
  EXPECT_TRUE(vcl::ShowDialogOnce(*Dialog, Action)) << Dialog->ClassName() << " did not show";
  if (auto* find = dynamic_cast<vcl::TFindDialog*>(Dialog)) {
    EXPECT_EQ(find->Handle(), nullptr) << "closed again";
  }
}

vcl::TCommonDialog* AddDialog(vcl::TForm* Form, vcl::TClass Class) {
  auto* dialog = static_cast<vcl::TCommonDialog*>(Class->Create(Form));
  if (auto* file = dynamic_cast<vcl::TOpenDialog*>(dialog)) {
    file->SetOptions(file->Options() | vcl::ofNoChangeDir);
    file->SetInitialDir("C:\\");
  }
  return dialog;
}

void AsFirstShown(HWND Dialog) {
#ifdef _WIN32
  if (GetWindowLongA(Dialog, GWL_STYLE) & WS_THICKFRAME) SetWindowPos(Dialog, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
#else
  (void)Dialog;  // the simulated ones are always shown at the size of their recording
#endif
}

HWND WindowOf(HWND Dialog, const std::string& Property) {
  if (Property == "Caption") return Dialog;
  const int id = std::stoi(Property.substr(Property.find('[') + 1));
  if (id >= 0) return GetDlgItem(Dialog, id);
  HWND w = GetWindow(Dialog, GW_CHILD);
  for (int i = 1; w && i < -id; ++i) w = GetWindow(w, GW_HWNDNEXT);
  return w;
}

std::u16string WideTextOf(HWND Window) {
  WCHAR buffer[512];
  const int n = GetWindowTextW(Window, buffer, 512);
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(n > 0 ? n : 0));
}

std::string Utf8TextOf(HWND Window) { return vcl::Utf16ToUtf8(WideTextOf(Window)); }

TranslatorForm::TranslatorForm() {
  FForm->SetName("Form1");
  for (const Kind& k : Kinds) {
    vcl::TCommonDialog* dialog = AddDialog(FForm, k.Class);
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
