// The editor form: its stored form and fields, showing it, OK and Cancel, closing, and the
// dialogs it opens.
#include <algorithm>
#include <cctype>
#include <string_view>
#include <unordered_set>

#include "editor_support.hpp"
#include "vcl/Registry.hpp"

namespace VekEdit {

using namespace vcl;

VCL_IMPLEMENT_CLASS(TDlgEditor, vcl::TForm, [](vcl::TMetaClass& c) {
  PublishMethod(c, "FormCreate", &TDlgEditor::FormCreate);
  PublishMethod(c, "FormShow", &TDlgEditor::FormShow);
  PublishMethod(c, "FormDestroy", &TDlgEditor::FormDestroy);
  PublishMethod(c, "FormCloseQuery", &TDlgEditor::FormCloseQuery);
  PublishMethod(c, "FormClose", &TDlgEditor::FormClose);
  PublishMethod(c, "BtnOKClick", &TDlgEditor::BtnOKClick);
  PublishMethod(c, "BtnCancelClick", &TDlgEditor::BtnCancelClick);
  PublishMethod(c, "FormNotebookChange", &TDlgEditor::FormNotebookChange);
  PublishMethod(c, "PropListClick", &TDlgEditor::PropListClick);
  PublishMethod(c, "PropListKeyDown", &TDlgEditor::PropListKeyDown);
  PublishMethod(c, "EdtTranslationKeyDown", &TDlgEditor::EdtTranslationKeyDown);
  PublishMethod(c, "EdtTranslationExit", &TDlgEditor::EdtTranslationExit);
  PublishMethod(c, "BtnNewClick", &TDlgEditor::BtnNewClick);
  PublishMethod(c, "BtnRemoveClick", &TDlgEditor::BtnRemoveClick);
  PublishMethod(c, "BtnPreviewClick", &TDlgEditor::BtnPreviewClick);
  PublishMethod(c, "BtnFitClick", &TDlgEditor::BtnFitClick);
  PublishMethod(c, "EdtTranslationChange", &TDlgEditor::EdtTranslationChange);
  PublishMethod(c, "ListAvailClick", &TDlgEditor::ListAvailClick);
  PublishMethod(c, "ListAvailMouseMove", &TDlgEditor::ListAvailMouseMove);
  PublishMethod(c, "BtnIncludePropClick", &TDlgEditor::BtnIncludePropClick);
  PublishMethod(c, "BtnRescanClick", &TDlgEditor::BtnRescanClick);
  PublishMethod(c, "BtnTranslateClick", &TDlgEditor::BtnTranslateClick);
  PublishMethod(c, "BtnExportClick", &TDlgEditor::BtnExportClick);
  PublishMethod(c, "BtnLoadClick", &TDlgEditor::BtnLoadClick);
  PublishMethod(c, "BtnSaveClick", &TDlgEditor::BtnSaveClick);
  PublishMethod(c, "CkxMoveClick", &TDlgEditor::CkxMoveClick);
  PublishMethod(c, "BtnEditFontClick", &TDlgEditor::BtnEditFontClick);
  PublishMethod(c, "BtnDisplayFontClick", &TDlgEditor::BtnDisplayFontClick);
  PublishMethod(c, "GroupReadingOrderClick", &TDlgEditor::GroupReadingOrderClick);
})

// ---- The dialogs the editor opens ------------------------------------------------------------

bool TEditorDialogs::Execute(TCommonDialog& Dialog) { return Dialog.Execute(); }

TModalResult TEditorDialogs::MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return vcl::MessageDlg(Msg, DlgType, Buttons, HelpCtx);
}

bool TEditorDialogs::InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value) {
  return vcl::InputQuery(ACaption, APrompt, Value);
}

namespace {
TEditorDialogs* Replacement = nullptr;
}  // namespace

TEditorDialogs& EditorDialogs() {
  static TEditorDialogs real;
  return Replacement ? *Replacement : real;
}

TEditorDialogs* SetEditorDialogs(TEditorDialogs* Dialogs) { return std::exchange(Replacement, Dialogs); }

// ---- Shared helpers --------------------------------------------------------------------------

namespace {
unsigned char Lower(char C) { return static_cast<unsigned char>(C >= 'A' && C <= 'Z' ? C - 'A' + 'a' : C); }
}  // namespace

std::string Fold(std::string_view S) {
  std::string folded(S);
  for (char& c : folded) c = static_cast<char>(Lower(c));
  return folded;
}

std::vector<int> SelectedItems(const TListBox& List) {
  std::vector<int> selected;
  const int count = List.Items()->Count();
  if (List.HandleAllocated() && List.Items()->UpdateCount() == 0 && List.MultiSelect()) {
    const int n = List.SelCount();
    if (n <= 0) return selected;
    selected.resize(static_cast<std::size_t>(n));
    const LRESULT got = SendMessageA(List.WindowHandle(), LB_GETSELITEMS, static_cast<WPARAM>(n),
                                     reinterpret_cast<LPARAM>(selected.data()));
    selected.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return selected;
  }
  for (int i = 0; i < count; ++i)
    if (List.Selected(i)) selected.push_back(i);
  return selected;
}

void DeselectAll(TListBox& List) {
  if (List.HandleAllocated() && List.Items()->UpdateCount() == 0 && List.MultiSelect()) {
    SendMessageA(List.WindowHandle(), LB_SETSEL, FALSE, -1);
    return;
  }
  for (int i : SelectedItems(List)) List.SetSelected(i, false);
}

int IndexOfFolded(const TListBox& List, const std::string& S) {
  const std::string folded = Fold(S);
  const TStrings& items = *List.Items();
  for (int i = 0; i < items.Count(); ++i)
    if (items.Get(i).size() == folded.size() && Fold(items.Get(i)) == folded) return i;
  return -1;
}

THourGlass::THourGlass() : FSaved(Screen->Cursor()) { Screen->SetCursor(crHourGlass); }
THourGlass::~THourGlass() { Screen->SetCursor(FSaved); }

std::string ShownValue(std::string_view Literal) {
  std::string value(Literal);
  try {
    Vek::TLumetra::ConvertFromLiterals(value);
  } catch (const EConvertError&) {
    value.assign(Literal);
  }
  return value;
}

// ---- The form --------------------------------------------------------------------------------

TDlgEditor::TDlgEditor(TComponent* AOwner) : TForm(AOwner) {
#ifdef _WIN32
  FCodePage = static_cast<int>(GetACP());
#endif
  InitInheritedComponent();
  BtnOK = Field<TButton>("BtnOK");
  BtnCancel = Field<TButton>("BtnCancel");
  FormNotebook = Field<TTabbedNotebook>("FormNotebook");
  PropList = Field<TListBox>("PropList");
  BtnNew = Field<TButton>("BtnNew");
  BtnRemove = Field<TButton>("BtnRemove");
  EdtOrgTranslation = Field<TMemo>("EdtOrgTranslation");
  EdtTranslation = Field<TMemo>("EdtTranslation");
  LblTot = Field<TLabel>("LblTot");
  LblLocalized = Field<TLabel>("LblLocalized");
  CkxMove = Field<TCheckBox>("CkxMove");
  LblDisplayFont = Field<TLabel>("LblDisplayFont");
  BtnDisplayFont = Field<TButton>("BtnDisplayFont");
  LblEditFont = Field<TLabel>("LblEditFont");
  BtnEditFont = Field<TButton>("BtnEditFont");
  GroupReadingOrder = Field<TRadioGroup>("GroupReadingOrder");
  ListAvail = Field<TListBox>("ListAvail");
  LblSelected = Field<TLabel>("LblSelected");
  BtnIncludeProp = Field<TButton>("BtnIncludeProp");
  BtnRescan = Field<TButton>("BtnRescan");
  LblTranslate = Field<TLabel>("LblTranslate");
  BtnTranslate = Field<TButton>("BtnTranslate");
  LblExport = Field<TLabel>("LblExport");
  BtnExport = Field<TButton>("BtnExport");
  LblLoad = Field<TLabel>("LblLoad");
  BtnLoad = Field<TButton>("BtnLoad");
  LblSave = Field<TLabel>("LblSave");
  BtnSave = Field<TButton>("BtnSave");

  FontDialog1 = new TFontDialog(this);
  FontDialog1->SetName("FontDialog1");
  const char* const filter = "Dictionary (*.txt)|*.txt|All files (*.*)|*.*";
  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->SetName("OpenDialog1");
  SaveDialog1 = new TSaveDialog(this);
  SaveDialog1->SetName("SaveDialog1");
  for (TOpenDialog* d : {OpenDialog1, static_cast<TOpenDialog*>(SaveDialog1)}) {
    d->SetDefaultExt("txt");
    d->SetFilter(filter);
  }
  // Export and Save ask before they replace a file.
  SaveDialog1->SetOptions(SaveDialog1->Options() | ofOverwritePrompt);
  MakePreviewButton();
  MakeAcceptButton();
}

TDlgEditor::~TDlgEditor() {
  // FormDestroy runs from the base's destructor, after the lists it frees would be gone.
  SetOnDestroy(TNotifyEvent());
  FormDestroy(this);
}

void TDlgEditor::FormCreate(TObject*) {
  FTransList = new Vek::TSortList;
  FOrgList = new TStringList;
  FDlgClasses = new TStringList;
}

void TDlgEditor::FormDestroy(TObject*) {
  RestoreHintPause();
  delete std::exchange(FDlgClasses, nullptr);
  delete std::exchange(FOrgList, nullptr);
  delete std::exchange(FTransList, nullptr);
}

void TDlgEditor::RestoreHintPause() {
  if (FSavedHintPause) Application->SetHintPause(*std::exchange(FSavedHintPause, std::nullopt));
}

void TDlgEditor::ShowError(const std::string& Message) {
  try {
    EditorDialogs().MessageDlg(Message, mtError, mbOK, 0);
  } catch (...) {
    // A message box that cannot be shown leaves nothing else to tell the user with.
  }
}

void TDlgEditor::FormShow(TObject*) {
  THourGlass hourGlass;
  if (!Translator) throw EInvalidOperation("TDlgEditor shown without a Translator");
  // Per-item hints of the Dialogs page come quicker; the application gets its pause back when
  // the editor closes.
  if (!FSavedHintPause) FSavedHintPause = Application->HintPause();
  Application->SetHintPause(400);
  FSelectedFmt = LblSelected->Caption();
  FormNotebook->SetPageIndex(0);
  FTransList->Assign(Translator->Translations());
  // The entries are looked up by binary search: a list that came out of order (filled by
  // Add or SetText) is put in order, with equal lines once.
  bool ordered = true;
  for (int i = 1; ordered && i < FTransList->Count(); ++i) ordered = FTransList->Get(i - 1) < FTransList->Get(i);
  if (!ordered) {
    Vek::TSortList sorted;
    for (int i = 0; i < FTransList->Count(); ++i) sorted.SortInsert(FTransList->Get(i), FTransList->Objects(i));
    FTransList->Assign(&sorted);
  }
  FOrgList->Assign(Translator->OrgProps());
  std::unordered_set<std::string> classes;
  for (int i = 0; i < FDlgClasses->Count(); ++i) classes.insert(Fold(FDlgClasses->Get(i)));
  std::string previous;
  for (int i = 0; i < FOrgList->Count(); ++i) {
    const std::string& line = FOrgList->Get(i);
    // A value without "." names no class: it gives the empty name.
    const std::size_t dot = line.find('.');
    std::string name = dot == std::string::npos ? std::string() : line.substr(0, dot);
    if (i > 0 && name == previous) continue;  // the lines of one dialog follow each other
    if (classes.insert(Fold(name)).second) FDlgClasses->Add(name);
    previous = std::move(name);
  }
  Guarded([this] { UpdateOrgProps(); });
  RefreshPropList();
  if (!StartKey.empty()) Guarded([this] { ShowStartKey(); });
  Guarded([this] { ReadSettings(); });
  Guarded([this] { GroupReadingOrderClick(this); });
  LblEditFont->SetCaption(EdtTranslation->Font()->Name());
  LblDisplayFont->SetCaption(PropList->Font()->Name());
}

void TDlgEditor::BtnOKClick(TObject*) {
  try {
    StorePendingEdit();
  } catch (const Exception& e) {
    // A text its code page cannot hold keeps the editor open, with the text in the box.
    SetModalResult(mrNone);
    ShowError(e.Message());
    return;
  }
  FCloseDecided = true;
  if (!FModified) {
    SetModalResult(mrCancel);
    return;
  }
  try {
    Translator->Translations()->Assign(FTransList);
    Vek::TSortList sorted;
    for (int i = 0; i < FOrgList->Count(); ++i) sorted.SortInsert(FOrgList->Get(i), nullptr);
    Translator->OrgProps()->Assign(&sorted);
    SetModalResult(mrOk);
  } catch (const Exception& e) {
    FCloseDecided = false;
    SetModalResult(mrNone);
    ShowError(e.Message());
  }
}

bool TDlgEditor::StoreBeforeDiscarding() {
  try {
    StorePendingEdit();
  } catch (const EConvertError&) {
    return true;  // a text its code page cannot hold is a change all the same
  }
  return FModified;
}

void TDlgEditor::BtnCancelClick(TObject*) {
  Guarded([this] {
    if (StoreBeforeDiscarding() &&
        EditorDialogs().MessageDlg("Do you want to discard the changes ?", mtWarning, mbYes | mbNo, 0) != mrYes)
      return;
    FCloseDecided = true;
    SetModalResult(mrCancel);
  });
}

void TDlgEditor::FormCloseQuery(TObject*, bool& CanClose) {
  Guarded([&] {
    const bool changed = StoreBeforeDiscarding();
    if (std::exchange(FCloseDecided, false) || !changed) return;
    // The close box: the same question as Cancel.
    CanClose = EditorDialogs().MessageDlg("Do you want to discard the changes ?", mtWarning, mbYes | mbNo, 0) == mrYes;
  });
}

void TDlgEditor::FormClose(TObject*, TCloseAction&) { RestoreHintPause(); }

void TDlgEditor::FormNotebookChange(TObject*, int NewTab, bool&) {
  Guarded([&] {
    StorePendingEdit();
    if (NewTab != 1) return;
    // Content without a translation is no work for the translator.
    int total = 0;
    for (int i = 0; i < PropList->Items()->Count(); ++i) {
      const std::string key = KeyAt(i);
      if (!IsContent(key) || !ShowsEmpty(TransIndex(key))) ++total;
    }
    LblTot->SetCaption(IntToStr(total));
    int localized = 0;
    for (int i = 0; i < FTransList->Count(); ++i)
      if (!ShowsEmpty(i)) ++localized;
    LblLocalized->SetCaption(IntToStr(localized));
  });
}

// ---- Options, fonts and reading order ----------------------------------------------------------

namespace {

// A Boolean as the editor writes it, "0" or "1"; anything else gives the default.
bool ReadFlag(const TRegIniFile& Ini, const std::string& Ident, bool Default) {
  const std::string value = Ini.ReadString(SettingsSection, Ident, "");
  if (value == "0") return false;
  if (value == "1") return true;
  return Default;
}

std::string ReadName(const TRegIniFile& Ini, const std::string& Ident, const std::string& Default) {
  const std::string value = Ini.ReadString(SettingsSection, Ident, Default);
  return value.empty() ? Default : value;
}

void CopyFontFromDialog(TFont& Font, const TFontDialog& Dialog) {
  Font.SetName(Dialog.FontName());
  Font.SetCharset(Dialog.FontCharset());
  Font.SetHeight(Dialog.FontHeight());
}

void CopyFontToDialog(TFontDialog& Dialog, const TFont& Font) {
  Dialog.SetFontName(Font.Name());
  Dialog.SetFontCharset(Font.Charset());
  Dialog.SetFontHeight(Font.Height());
}

}  // namespace

void TDlgEditor::ReadSettings() {
  const TRegIniFile ini(SettingsKey);
  CkxMove->SetChecked(ReadFlag(ini, "MoveNextUntranslated", CkxMove->Checked()));
  EdtTranslation->Font()->SetName(ReadName(ini, "EditFontName", EdtTranslation->Font()->Name()));
  PropList->Font()->SetName(ReadName(ini, "DisplayFontName", PropList->Font()->Name()));
  const int index = ini.ReadInteger(SettingsSection, "ReadingOrderIndex", GroupReadingOrder->ItemIndex());
  if (index >= -1 && index < GroupReadingOrder->Items()->Count()) GroupReadingOrder->SetItemIndex(index);
}

void TDlgEditor::CkxMoveClick(TObject*) {
  Guarded([this] { TRegIniFile(SettingsKey).WriteBool(SettingsSection, "MoveNextUntranslated", CkxMove->Checked()); });
}

void TDlgEditor::BtnEditFontClick(TObject*) {
  Guarded([this] {
    CopyFontToDialog(*FontDialog1, *EdtTranslation->Font());
    if (!EditorDialogs().Execute(*FontDialog1)) return;
    CopyFontFromDialog(*EdtTranslation->Font(), *FontDialog1);
    LblEditFont->SetCaption(EdtTranslation->Font()->Name());
    TRegIniFile(SettingsKey).WriteString(SettingsSection, "EditFontName", EdtTranslation->Font()->Name());
  });
}

void TDlgEditor::BtnDisplayFontClick(TObject*) {
  Guarded([this] {
    CopyFontToDialog(*FontDialog1, *PropList->Font());
    if (!EditorDialogs().Execute(*FontDialog1)) return;
    CopyFontFromDialog(*PropList->Font(), *FontDialog1);
    CopyFontFromDialog(*EdtOrgTranslation->Font(), *FontDialog1);
    LblDisplayFont->SetCaption(PropList->Font()->Name());
    TRegIniFile(SettingsKey).WriteString(SettingsSection, "DisplayFontName", PropList->Font()->Name());
  });
}

void TDlgEditor::GroupReadingOrderClick(TObject*) {
  Guarded([this] {
    EdtTranslation->SetAlignment(GroupReadingOrder->ItemIndex() == 0 ? taRightJustify : taLeftJustify);
    TRegIniFile(SettingsKey).WriteInteger(SettingsSection, "ReadingOrderIndex", GroupReadingOrder->ItemIndex());
  });
}

}  // namespace VekEdit

// ---- The component's editor command ----------------------------------------------------------

bool VekEdit::ShowEditorAt(Vek::TLumetra& Translator, const std::string& Key) {
  std::unique_ptr<TDlgEditor> editor(new TDlgEditor(vcl::Application));
  editor->Translator = &Translator;
  editor->StartKey = Key;
  return editor->ShowModal() == vcl::mrOk;
}

bool Vek::TLumetra::ShowEditor() { return VekEdit::ShowEditorAt(*this, ""); }
