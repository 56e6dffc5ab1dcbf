// The design host's window.
#include "designer_window.hpp"

#include <algorithm>
#include <cctype>

#include "vcl/Dialogs.hpp"
#include "vcl/SysUtils.hpp"

namespace designer {

namespace {

template <class T>
T* Place(vcl::TForm* Form, int Left, int Top, int Width, int Height) {
  auto* c = new T(Form);
  c->SetParent(Form);
  c->SetBounds(Left, Top, Width, Height);
  return c;
}

vcl::TLabel* Caption(vcl::TForm* Form, int Left, int Top, const std::string& Text) {
  auto* l = Place<vcl::TLabel>(Form, Left, Top, 160, 16);
  l->SetCaption(Text);
  return l;
}

CloseAnswer AskToSave(const std::string& Question) {
  switch (vcl::MessageDlg(Question, vcl::mtConfirmation, vcl::mbYes | vcl::mbNo | vcl::mbCancel, 0)) {
    case vcl::mrYes: return CloseAnswer::Save;
    case vcl::mrNo: return CloseAnswer::Discard;
    default: return CloseAnswer::Cancel;
  }
}

// `component: key (entry N): error|warning: reason`, as the checks list shows a fault.
std::string FaultLine(const FormDocument::Fault& F) {
  const design::TDesignProblem& p = F.Problem;
  std::string line = F.Component + ": ";
  if (!p.Key.empty()) line += p.Key + (p.Line > 0 ? " (entry " + std::to_string(p.Line) + ")" : "") + ": ";
  return line + (p.Error ? "error: " : "warning: ") + p.Reason;
}

}  // namespace

DesignerWindow::DesignerWindow(std::string PackageFile, std::string FormFile)
    : FPackageFile(std::move(PackageFile)), FForm(new vcl::TForm(vcl::Application)) {
  FForm->SetBounds(40, 40, 900, 640);
  LblPage = Caption(FForm, 8, 8, "Palette");
  ListPalette = Place<vcl::TListBox>(FForm, 8, 28, 160, 340);
  BtnDrop = Place<vcl::TButton>(FForm, 8, 376, 160, 25);
  BtnDrop->SetCaption("&Drop on the form");
  BtnGlyph = Place<vcl::TButton>(FForm, 8, 408, 32, 32);
  Caption(FForm, 180, 8, "Components");
  ListComponents = Place<vcl::TListBox>(FForm, 180, 28, 230, 340);
  BtnSave = Place<vcl::TButton>(FForm, 180, 376, 230, 25);
  BtnSave->SetCaption("&Save");
  Caption(FForm, 422, 8, "Object Inspector");
  ListInspector = Place<vcl::TListBox>(FForm, 422, 28, 250, 310);
  EdtValue = Place<vcl::TEdit>(FForm, 422, 346, 218, 22);
  BtnDialog = Place<vcl::TButton>(FForm, 644, 346, 28, 22);
  BtnDialog->SetCaption("...");
  Caption(FForm, 684, 8, "Verbs");
  ListVerbs = Place<vcl::TListBox>(FForm, 684, 28, 200, 340);
  LblChecks = Caption(FForm, 8, 448, "Checks");
  LblChecks->SetWidth(876);
  ListChecks = Place<vcl::TListBox>(FForm, 8, 468, 876, 92);
  EdtFault = Place<vcl::TMemo>(FForm, 8, 564, 876, 36);
  EdtFault->SetReadOnly(true);
  EdtFault->SetColor(vcl::clBtnFace);

  ListComponents->SetOnClick(vcl::TNotifyEvent([this](vcl::TObject*) { ComponentSelected(); }));
  ListInspector->SetOnClick(vcl::TNotifyEvent([this](vcl::TObject*) { PropertySelected(); }));
  ListInspector->SetOnDblClick(vcl::TNotifyEvent([this](vcl::TObject*) { DialogButtonClicked(); }));
  EdtValue->SetOnExit(vcl::TNotifyEvent([this](vcl::TObject*) { ValueEntered(); }));
  BtnDialog->SetOnClick(vcl::TNotifyEvent([this](vcl::TObject*) { DialogButtonClicked(); }));
  ListVerbs->SetOnDblClick(vcl::TNotifyEvent([this](vcl::TObject*) { VerbClicked(); }));
  ListPalette->SetOnDblClick(vcl::TNotifyEvent([this](vcl::TObject*) { DropClicked(); }));
  BtnDrop->SetOnClick(vcl::TNotifyEvent([this](vcl::TObject*) { DropClicked(); }));
  BtnGlyph->SetOnClick(vcl::TNotifyEvent([this](vcl::TObject*) { DropClicked(); }));
  BtnSave->SetOnClick(vcl::TNotifyEvent([this](vcl::TObject*) { SaveClicked(); }));
  ListChecks->SetOnDblClick(vcl::TNotifyEvent([this](vcl::TObject*) { FaultClicked(); }));
  ListChecks->SetOnClick(vcl::TNotifyEvent([this](vcl::TObject*) { FaultSelected(); }));
  FForm->SetOnCloseQuery(vcl::TCloseQueryEvent([this](vcl::TObject* Sender, bool& CanClose) { CloseQuery(Sender, CanClose); }));

  try {
    LoadPackage();
    if (!FormFile.empty()) OpenForm(FormFile);
  } catch (...) {
    FDocument.reset();
    FPackage.reset();
    delete FForm;
    throw;
  }
  ShowState();
}

DesignerWindow::~DesignerWindow() {
  // The form's components and the editors come from the package: they go before it.
  FRows.clear();
  FDocument.reset();
  FPackage.reset();
  delete FForm;
#ifdef _WIN32
  if (FGlyph) DeleteObject(FGlyph);
#endif
}

template <class F>
void DesignerWindow::Guarded(F&& Action) {
  try {
    std::forward<F>(Action)();
  } catch (const vcl::Exception& e) {
    vcl::MessageDlg(vcl::Excerpt(e.Message(), vcl::MessageLength), vcl::mtError, vcl::mbOK, 0);  // a message may quote a file
  }
  ShowState();
}

void DesignerWindow::LoadPackage() {
  FPackage = std::make_unique<PackageModule>(FPackageFile);
  ShowPalette();
}

void DesignerWindow::ShowPalette() {
  ListPalette->Clear();
  BtnGlyph->SetCaption("");
#ifdef _WIN32
  if (FGlyph) {
    SendMessageA(BtnGlyph->Handle(), BM_SETIMAGE, IMAGE_BITMAP, 0);
    DeleteObject(FGlyph);
    FGlyph = nullptr;
  }
#endif
  FPaletteClasses.clear();
  GlyphsFound.clear();
  const std::vector<std::string> pages = design::PalettePages();
  LblPage->SetCaption(pages.empty() ? "Palette (no page)" : "Palette: " + pages.front());
  if (pages.empty()) return;
  for (vcl::TClass c : design::PaletteClasses(pages.front())) {
    std::string name = c->ClassName(), upper = name;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    const bool glyph = FPackage && !FPackage->Resource("#2", upper.c_str()).empty();
    if (glyph) GlyphsFound.push_back(name);
    FPaletteClasses.push_back(name);
    ListPalette->Items()->Add(glyph ? name + "  [glyph]" : name);
  }
  if (FPaletteClasses.empty()) return;
  ListPalette->SetItemIndex(0);
  ShowGlyph(FPaletteClasses.front());
}

// The glyph as the bitmap of the palette button where the window system draws one; its name
// otherwise.
void DesignerWindow::ShowGlyph(const std::string& ClassName) {
  BtnGlyph->SetCaption(ClassName);
#ifdef _WIN32
  std::string upper = ClassName;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  auto* glyph = static_cast<HBITMAP>(LoadImageA(static_cast<HMODULE>(const_cast<void*>(FPackage->Handle())), upper.c_str(),
                                                IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  if (!glyph) return;
  const HWND button = BtnGlyph->Handle();
  SetWindowLongPtrA(button, GWL_STYLE, GetWindowLongPtrA(button, GWL_STYLE) | BS_BITMAP);
  SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph));
  if (FGlyph) DeleteObject(FGlyph);
  FGlyph = glyph;
#endif
}

void DesignerWindow::OpenForm(const std::string& FileName) {
  if (FDocument && !FDocument->CanClose(&AskToSave)) return;
  FRows.clear();
  FDocument.reset();
  FFormFile = FileName;
  FDocument = std::make_unique<FormDocument>(FileName);
  ShowComponents();
  ShowState();
}

bool DesignerWindow::UnloadPackage() {
  if (FDocument && !FDocument->CanClose(&AskToSave)) return false;
  FRows.clear();
  FDocument.reset();
  FPackage.reset();
  ShowPalette();
  ShowComponents();
  ShowState();
  return true;
}

void DesignerWindow::ReloadPackage() {
  if (!FPackage) LoadPackage();
  if (!FDocument && !FFormFile.empty()) OpenForm(FFormFile);
}

void DesignerWindow::Select(const std::string& Name) {
  if (!FDocument) throw vcl::Exception("No form is open: cannot select " + Name);
  vcl::TComponent* c = FDocument->Component(Name);
  const std::vector<vcl::TComponent*> all = FDocument->Components();
  ListComponents->SetItemIndex(static_cast<int>(std::find(all.begin(), all.end(), c) - all.begin()));
  ComponentSelected();
}

void DesignerWindow::ShowTitle() {
  FForm->SetCaption(FDocument ? FDocument->Title() : "lumetra-designer - " + FPackageFile);
}

void DesignerWindow::ShowState() {
  ShowTitle();
  ShowChecks();
}

void DesignerWindow::ShowChecks() {
  const int keep = ListChecks->ItemIndex();
  FFaults = FDocument ? FDocument->Check() : std::vector<FormDocument::Fault>();
  int errors = 0;
  std::vector<std::string> lines;
  for (const FormDocument::Fault& f : FFaults) {
    errors += f.Problem.Error ? 1 : 0;
    lines.push_back(FaultLine(f));
  }
  const int warnings = static_cast<int>(FFaults.size()) - errors;
  const auto count = [](int N, const char* What) { return std::to_string(N) + " " + What + (N == 1 ? "" : "s"); };
  LblChecks->SetCaption(!FDocument        ? "Checks"
                        : FFaults.empty() ? "Checks: no faults"
                                          : "Checks: " + count(errors, "error") + ", " + count(warnings, "warning") +
                                                " (double-click one to open its editor)");
  ListChecks->Items()->BeginUpdate();
  ListChecks->Items()->Clear();
  for (const std::string& line : lines) ListChecks->Items()->Add(line);
  ListChecks->Items()->EndUpdate();
  const int shown = static_cast<int>(lines.size());
  ListChecks->SetItemIndex(keep >= 0 && keep < shown ? keep : shown > 0 ? 0 : -1);
  FaultSelected();
}

void DesignerWindow::FaultSelected() {
  const int i = ListChecks->ItemIndex();
  EdtFault->SetText(i >= 0 && i < ListChecks->Items()->Count() ? ListChecks->Items()->Strings(i) : "");
}

void DesignerWindow::FaultClicked() {
  const int i = ListChecks->ItemIndex();
  if (!FDocument || i < 0 || i >= static_cast<int>(FFaults.size())) return;
  const FormDocument::Fault fault = FFaults[static_cast<std::size_t>(i)];  // the list changes under it
  Guarded([&] {
    Select(fault.Component);
    FDocument->ShowFault(fault);
  });
  ShowInspector();
}

void DesignerWindow::ShowComponents() {
  ListComponents->Clear();
  if (FDocument)
    for (vcl::TComponent* c : FDocument->Components()) ListComponents->Items()->Add(FDocument->NameOf(c) + ": " + c->ClassName());
  if (ListComponents->Items()->Count() > 0) ListComponents->SetItemIndex(0);
  ComponentSelected();
}

vcl::TComponent* DesignerWindow::Selected() const {
  const int i = ListComponents->ItemIndex();
  if (!FDocument || i < 0) return nullptr;
  const std::vector<vcl::TComponent*> all = FDocument->Components();
  return i < static_cast<int>(all.size()) ? all[static_cast<std::size_t>(i)] : nullptr;
}

std::string DesignerWindow::SelectedProperty() const {
  const int i = ListInspector->ItemIndex();
  return i >= 0 && i < static_cast<int>(FRows.size()) ? FRows[static_cast<std::size_t>(i)].Name : std::string();
}

void DesignerWindow::ComponentSelected() {
  ListVerbs->Clear();
  if (vcl::TComponent* c = Selected())
    for (const std::string& v : FDocument->Verbs(c)) ListVerbs->Items()->Add(v);
  ShowInspector();
}

void DesignerWindow::ShowInspector() {
  const int keep = ListInspector->ItemIndex();
  ListInspector->Clear();
  FRows.clear();
  if (vcl::TComponent* c = Selected()) FRows = FDocument->Inspect(c);
  for (const InspectorRow& r : FRows) ListInspector->Items()->Add(r.Name + " = " + r.Value + (r.ReadOnly ? "  (read-only)" : ""));
  ListInspector->SetItemIndex(keep < static_cast<int>(FRows.size()) ? keep : -1);
  PropertySelected();
}

void DesignerWindow::PropertySelected() {
  const int i = ListInspector->ItemIndex();
  const InspectorRow* row = i >= 0 && i < static_cast<int>(FRows.size()) ? &FRows[static_cast<std::size_t>(i)] : nullptr;
  EdtValue->SetText(row ? row->Value : "");
  EdtValue->SetEnabled(row && !row->ReadOnly);
  BtnDialog->SetEnabled(row && row->Dialog);
}

void DesignerWindow::ValueEntered() {
  vcl::TComponent* c = Selected();
  const std::string property = SelectedProperty();
  if (!c || property.empty() || !EdtValue->Enabled()) return;
  const std::string text = EdtValue->Text();
  const auto it = std::find_if(FRows.begin(), FRows.end(), [&](const InspectorRow& r) { return r.Name == property; });
  if (it != FRows.end() && it->Value == text) return;  // nothing typed
  Guarded([&] { FDocument->SetValue(c, property, text); });
  ShowInspector();
}

void DesignerWindow::DialogButtonClicked() {
  vcl::TComponent* c = Selected();
  const std::string property = SelectedProperty();
  if (!c || property.empty() || !BtnDialog->Enabled()) return;
  Guarded([&] { FDocument->Edit(c, property); });
  ShowInspector();
}

void DesignerWindow::VerbClicked() {
  vcl::TComponent* c = Selected();
  const int verb = ListVerbs->ItemIndex();
  if (!c || verb < 0) return;
  Guarded([&] { FDocument->ExecuteVerb(c, verb); });
  ShowInspector();
}

void DesignerWindow::DropClicked() {
  const int i = ListPalette->ItemIndex();
  if (!FDocument || i < 0 || i >= static_cast<int>(FPaletteClasses.size())) return;
  Guarded([&] {
    FDocument->Drop(vcl::GetClass(FPaletteClasses[static_cast<std::size_t>(i)]));
    ShowComponents();
    ListComponents->SetItemIndex(ListComponents->Items()->Count() - 1);
    ComponentSelected();
  });
}

void DesignerWindow::SaveClicked() {
  if (FDocument) Guarded([&] { FDocument->Save(); });
}

void DesignerWindow::CloseQuery(vcl::TObject*, bool& CanClose) {
  CanClose = !FDocument || FDocument->CanClose(&AskToSave);
}

}  // namespace designer
