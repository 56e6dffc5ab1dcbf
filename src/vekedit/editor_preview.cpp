// The editor's preview window, in the programs that link the check library: registered with the
// editor when the program starts.
#include "vekedit/editor_preview.hpp"

#include <algorithm>

#include "checks/fit.hpp"

namespace VekEdit {

using namespace vcl;

namespace {

constexpr int Margin = 8, ListHeight = 96;

// The lines of Entries, sorted: the same entries in another order compare equal.
std::vector<std::string> LinesOf(const std::vector<checks::SourceEntry>& Entries) {
  std::vector<std::string> lines;
  lines.reserve(Entries.size());
  for (const checks::SourceEntry& e : Entries) lines.push_back(e.Line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace

void TPictureBox::SetPicture(checks::Picture Value) {
  FPicture = std::move(Value);
  SetBounds(Left(), Top(), FPicture.Width, FPicture.Height);
  if (HandleAllocated()) InvalidateRect(WindowHandle(), nullptr, TRUE);
}

void TPictureBox::CreateParams(TCreateParams& Params) {
  TGraphicControl::CreateParams(Params);
  Params.ClassName = "Static";
}

LRESULT TPictureBox::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
#ifdef _WIN32
  if (Msg == WM_ERASEBKGND) return 1;
  if (Msg == WM_PAINT) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(WindowHandle(), &ps);
    if (FPicture.Width > 0) {
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = FPicture.Width;
      info.bmiHeader.biHeight = -FPicture.Height;  // top-down rows
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(FPicture.Width), static_cast<DWORD>(FPicture.Height), 0, 0, 0,
                        static_cast<UINT>(FPicture.Height), FPicture.Pixels.data(), &info, DIB_RGB_COLORS);
    }
    EndPaint(WindowHandle(), &ps);
    return 0;
  }
#endif
  return TGraphicControl::WndProc(Msg, WParam, LParam);
}

TPreviewWindow::TPreviewWindow(TDlgEditor& Editor)
    : FEditor(Editor), FReferences(Editor.Translator ? Editor.Translator->Owner() : nullptr) {
  Form = new TForm(&Editor);
  Form->SetName("PreviewForm");
  Form->SetBorderStyle(bsToolWindow);
  Form->SetPosition(poDesigned);
  Form->SetCaption("Preview");
  Form->SetFont(Editor.Font());
  Image = new TPictureBox(Form);
  Image->SetParent(Form);
  Image->SetBounds(Margin, Margin, 1, 1);
  Faults = new TMemo(Form);
  Faults->SetName("Faults");
  Faults->SetParent(Form);
  Faults->SetReadOnly(true);
  Faults->SetColor(clBtnFace);
  Faults->SetScrollBars(ssVertical);
  Faults->SetHint("The faults of this dialog: the key, error or warning, and why");
  Faults->SetShowHint(true);
  // Beside the editor, so that the translation box stays in view while the picture follows it.
  Form->SetBounds(Editor.Left() + Editor.Width() + Margin, Editor.Top(), 300, 200);
}

void TPreviewWindow::Show() {
  // Shown without being activated: the user goes on typing in the editor.
  ShowWindow(Form->Handle(), SW_SHOWNOACTIVATE);
}

bool TPreviewWindow::Showing() const { return Form->HandleAllocated() && IsWindowVisible(Form->WindowHandle()); }

void TPreviewWindow::Update(const std::string& ClassName, const std::vector<std::string>& Entries,
                            const std::vector<std::string>& Originals) {
  // The dialog as it is laid out on this screen: its recording at the screen's DPI.
  const int dpi = Vek::ScreenPixelsPerInch(nullptr);
  const std::string at = dpi == Vek::DefaultPixelsPerInch ? "" : " at " + std::to_string(dpi) + " dpi";
  Form->SetCaption(ClassName.empty() ? "Preview" : "Preview: " + ClassName + at);
  std::string faultLines;
  const checks::DialogLayout* reference = ClassName.empty() ? nullptr : ReferenceAt(ClassName, dpi);
  checks::Picture picture;
  if (!reference) {
    faultLines = ClassName.empty() ? "No property is current." : "No dialog of class " + ClassName + " to draw.";
  } else {
    checks::CheckInput in = InputOf(ClassName, Entries, Originals);
    // Kept while other entries are drawn: the box is emptied and filled again as a key is shown.
    if (!FUnfitted.empty() && ClassName == FUnfittedClass && LinesOf(in.Entries) == FFittedLines)
      for (const std::string& line : FUnfitted) faultLines += (faultLines.empty() ? "" : "\r\n") + line;
    // One pass judges the entries and gives the dialog they leave, which is drawn.
    checks::CheckResult checked = checks::CheckAndApply(in);
    std::vector<checks::Problem> faults;
    for (checks::Problem& p : checked.Problems)
      if (p.ClassName == ClassName) faults.push_back(std::move(p));
    const auto applied = checked.Applied.find(ClassName);
    picture = checks::DrawPicture(applied != checked.Applied.end() ? applied->second : *reference, faults);
    for (const checks::Problem& p : faults)
      faultLines += (faultLines.empty() ? "" : "\r\n") + checks::FormatFault(p);
    if (faultLines.empty()) faultLines = "No faults.";
  }
  Faults->SetText(faultLines);
  const int width = std::max(picture.Width, 300), height = picture.Height;
  Image->SetPicture(std::move(picture));
  Faults->SetBounds(Margin, Margin + height + (height ? Margin : 0), width, ListHeight);
  Form->SetClientWidth(width + 2 * Margin);
  Form->SetClientHeight(Faults->Top() + ListHeight + Margin);
}

TFitProposal TPreviewWindow::Fit(const std::string& ClassName, const std::vector<std::string>& Entries,
                                 const std::vector<std::string>& Originals) {
  TFitProposal proposal;
  FUnfitted.clear();
  if (ClassName.empty() || !FReferences.Find(ClassName)) return proposal;
  proposal.HasDialog = true;
  checks::FitInput in;
  in.Input = InputOf(ClassName, Entries, Originals);
  in.Reference = [this](const std::string& Name, int Dpi) { return ReferenceAt(Name, Dpi); };
  in.PixelsPerInch = {Vek::DefaultPixelsPerInch};
  if (const int screen = Vek::ScreenPixelsPerInch(nullptr); screen != Vek::DefaultPixelsPerInch) in.PixelsPerInch.push_back(screen);
  checks::FitResult fit = checks::FitEntries(in);
  proposal.Written = std::move(fit.Written);
  for (const checks::Problem& p : fit.Unfitted) proposal.Unfitted.push_back(checks::FormatFault(p));
  if (!proposal.Unfitted.empty()) {
    FUnfittedClass = ClassName;
    FFittedLines = LinesOf(fit.Entries);
    FUnfitted = proposal.Unfitted;
  }
  return proposal;
}

checks::CheckInput TPreviewWindow::InputOf(const std::string& ClassName, const std::vector<std::string>& Entries,
                                           const std::vector<std::string>& Originals) {
  // Only the class's entries and captured values are judged: the other dialogs' faults are
  // not shown, and a working copy of many dialogs stays quick to redraw on every key.
  checks::CheckInput in;
  for (std::size_t i = 0; i < Entries.size(); ++i)
    if (Vek::Entry::Split(Entries[i]).AppliesTo(ClassName)) in.Entries.push_back({Entries[i], static_cast<int>(i) + 1});
  for (const std::string& line : Originals)
    if (Vek::Entry::Split(line).AppliesTo(ClassName)) in.Originals.push_back(line);
  in.TranslateEmpty = FEditor.Translator && FEditor.Translator->TranslateEmpty();
  in.Form = FEditor.Translator ? FEditor.Translator->Owner() : nullptr;
  in.Measure = FMeasure.get();
  in.Reference = [this](const std::string& Name) { return ReferenceAt(Name, Vek::ScreenPixelsPerInch(nullptr)); };
  return in;
}

const checks::DialogLayout* TPreviewWindow::ReferenceAt(const std::string& ClassName, int Dpi) {
  const checks::DialogLayout* recorded = FReferences.Find(ClassName);
  if (!recorded || recorded->PixelsPerInch == Dpi) return recorded;
  const auto key = std::make_pair(ClassName, Dpi);
  auto scaled = FScaled.find(key);
  if (scaled == FScaled.end()) scaled = FScaled.emplace(key, checks::AtPixelsPerInch(*recorded, Dpi, *FMeasure)).first;
  return &scaled->second;
}

std::unique_ptr<TEditorPreview> MakePreviewWindow(TDlgEditor& Editor) { return std::make_unique<TPreviewWindow>(Editor); }

#ifndef LUMETRA_PACKAGE
namespace {

// The editor has the preview wherever this part is linked (the editor's archive is linked whole);
// a package sets it from its Initialize.
const bool Registered = (SetPreviewMaker(&MakePreviewWindow), true);

}  // namespace
#endif

}  // namespace VekEdit
