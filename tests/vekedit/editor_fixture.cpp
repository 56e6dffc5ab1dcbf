// The editor's test fixture.
#include "editor_fixture.hpp"

#include <cstdlib>

#include "vcl/Registry.hpp"

namespace editor_test {

using namespace vcl;

bool FakeDialogs::Execute(TCommonDialog& Dialog) {
  std::string title;
  if (auto* file = dynamic_cast<TOpenDialog*>(&Dialog)) title = " " + file->Title();
  Asked.push_back("Execute " + Dialog.ClassName() + title);
  return OnExecute && OnExecute(Dialog);
}

TModalResult FakeDialogs::MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons, int) {
  Asked.push_back(std::string(DlgType == mtError ? "Error " : "MessageDlg ") + Msg);
  if (DlgType == mtError) return mrOk;
  if (Answers.empty()) {
    ADD_FAILURE() << "unexpected question: " << Msg;
    return mrNo;
  }
  const TModalResult answer = Answers.front();
  Answers.pop_front();
  return answer;
}

bool FakeDialogs::InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value) {
  Asked.push_back("InputQuery " + ACaption + " / " + APrompt);
  if (Inputs.empty()) {
    ADD_FAILURE() << "unexpected input query: " << ACaption;
    return false;
  }
  const std::optional<std::string> input = Inputs.front();
  Inputs.pop_front();
  if (!input) return false;
  Value = *input;
  return true;
}

namespace {

void ClearSettings() {
#ifdef _WIN32
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brevane\\Korrin");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brevane");
#endif
}

}  // namespace

Editor::Editor() {
#ifndef _WIN32
  setenv("XDG_CONFIG_HOME", FDir.Path().string().c_str(), 1);
#endif
  ClearSettings();
  FPrevious = VekEdit::SetEditorDialogs(&FDialogs);
  FForm = new TForm(Application);
  FForm->SetName("Form1");
  FLmt = new Vek::TLumetra(FForm);
  FLmt->SetName("Lumetra1");
  FForm->SetDesigning(true);
}

Editor::~Editor() {
  Close();
  delete FForm;
  VekEdit::SetEditorDialogs(FPrevious);
  ClearSettings();
}

VekEdit::TDlgEditor& Editor::Open() {
  FEditor = std::make_unique<VekEdit::TDlgEditor>(Application);
  FEditor->Translator = FLmt;
  FEditor->Handle();
  FEditor->FormShow(FEditor.get());
  return *FEditor;
}

void Editor::Close() {
  if (!FEditor) return;
  TCloseAction action = caHide;
  FEditor->FormClose(FEditor.get(), action);
  FEditor.reset();
}

std::vector<std::string> Editor::Items(const TListBox& List) { return testing_support::LinesOf(*List.Items()); }

void Editor::ClickKey(const std::string& Key) {
  TListBox& list = *FEditor->PropList;
  const int index = list.Items()->IndexOf(Key);
  ASSERT_GE(index, 0) << Key << " is not listed";
  for (int i = 0; i < list.Items()->Count(); ++i) list.SetSelected(i, i == index);
  list.SetItemIndex(index);
  FEditor->PropListClick(&list);
}

void Editor::SelectAvail(const std::vector<std::string>& Keys) {
  TListBox& list = *FEditor->ListAvail;
  for (int i = 0; i < list.Items()->Count(); ++i) list.SetSelected(i, false);
  for (const std::string& key : Keys) {
    const int index = list.Items()->IndexOf(key);
    ASSERT_GE(index, 0) << key << " is not available";
    list.SetSelected(index, true);
  }
  FEditor->ListAvailClick(&list);
}

void Editor::Type(const std::string& Text) {
  FEditor->EdtTranslation->SetText(Text);
  FEditor->EdtTranslationExit(FEditor->EdtTranslation);
}

void Editor::Key(WORD K) {
  WORD key = K;
  FEditor->EdtTranslationKeyDown(FEditor->EdtTranslation, key, 0);
}

void Editor::WriteSetting(const std::string& Ident, const std::string& Value) {
  TRegIniFile(VekEdit::SettingsKey).WriteString(VekEdit::SettingsSection, Ident, Value);
}

std::string Editor::ReadSetting(const std::string& Ident) {
  return TRegIniFile(VekEdit::SettingsKey).ReadString(VekEdit::SettingsSection, Ident, "<none>");
}

}  // namespace editor_test
