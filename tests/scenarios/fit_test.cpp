// The fit on live dialogs: every standard dialog pseudo-translated from its own texts, fitted at
// 96 and 144 dpi, and shown: no text cut off, no control overlapping another or leaving the
// dialog, as the checks of a shown dialog see it in the real fonts. ctest runs this on a screen
// of 96 dpi and of 144 (cmake/wine-run with LUMETRA_DPI), so both DPIs are seen live under Wine.
#include <map>

#include "checks/fit.hpp"
#include "exchange/Pseudo.hpp"
#include "screenshot_hold.hpp"
#include "translator_form.hpp"
#include "vcl/Classes.hpp"

namespace {

const vcl::TClass Standard[] = {vcl::TOpenDialog::StaticClass(),  vcl::TSaveDialog::StaticClass(),
                                vcl::TFontDialog::StaticClass(),  vcl::TColorDialog::StaticClass(),
                                vcl::TPrintDialog::StaticClass(), vcl::TPrinterSetupDialog::StaticClass(),
                                vcl::TFindDialog::StaticClass(),  vcl::TReplaceDialog::StaticClass()};

// The texts of a shown dialog as a capture writes them: the title, and each control's text by
// its id, or by its place where the id does not find it.
void CapturedTexts(const checks::DialogLayout& L, vcl::TStringList& lines) {
  const auto add = [&](const std::string& Key, std::string Text) {
    Vek::ConvertToLiterals(Text);
    lines.Add(Key + "=" + Text);
  };
  add(L.ClassName + ".Caption", L.Title);
  for (std::size_t i = 0; i < L.Controls.size(); ++i) {
    const checks::ControlLayout& c = L.Controls[i];
    if (c.Text.empty()) continue;
    const int id = c.Id > 0 && L.Find(c.Id) == &c ? c.Id : -static_cast<int>(i + 1);
    add(L.ClassName + ".Caption[" + std::to_string(id) + "]", c.Text);
  }
}

class Fit : public ::testing::Test {
protected:
  Fit() {
    FForm->SetName("Form1");
    for (const vcl::TClass c : Standard) FDialogs.push_back(scenario::AddDialog(FForm, c));
    FLmt->Loaded();
  }
  ~Fit() override {
    delete FForm;
    Vek::Interception.Reset();
  }

  // The dialog as shown untranslated, laid out as first shown.
  const checks::DialogLayout& Untranslated(vcl::TCommonDialog* Dialog) {
    auto found = FShown.find(Dialog->ClassName());
    if (found != FShown.end()) return found->second;
    FLmt->SetTranslate(false);
    checks::DialogLayout layout;
    scenario::Show(Dialog, [&](HWND W) {
      scenario::AsFirstShown(W);
      layout = checks::LayoutFromWindow(W, Dialog->ClassName());
    });
    FLmt->SetTranslate(true);
    return FShown.emplace(Dialog->ClassName(), std::move(layout)).first->second;
  }

  // The pseudo-translations of the dialog's own texts, fitted at 96 and 144 dpi.
  checks::FitResult Fitted(vcl::TCommonDialog* Dialog) {
    const checks::DialogLayout& shown = Untranslated(Dialog);
    vcl::TStringList texts;
    CapturedTexts(shown, texts);
    std::vector<checks::SourceEntry> pseudo;
    for (const std::string& e : exchange::PseudoEntries(texts, false)) pseudo.push_back({e, static_cast<int>(pseudo.size()) + 1});
    checks::FitInput in;
    in.Input.File = "pseudo.txt";
    in.Input.Entries = pseudo;
    in.Input.Measure = FMeasure.get();
    in.Reference = [&](const std::string& ClassName, int Dpi) -> const checks::DialogLayout* {
      if (ClassName != shown.ClassName) return nullptr;
      const auto key = std::make_pair(ClassName, Dpi);
      auto at = FAtDpi.find(key);
      if (at == FAtDpi.end()) at = FAtDpi.emplace(key, checks::AtPixelsPerInch(shown, Dpi, *FMeasure)).first;
      return &at->second;
    };
    in.PixelsPerInch = {96, 144};
    return checks::FitEntries(in);
  }

  // Shows the dialog translated by Entries; Look sees it.
  void ShowWith(vcl::TCommonDialog* Dialog, const std::vector<checks::SourceEntry>& Entries, const std::function<void(HWND)>& Look) {
    FLmt->Translations()->Clear();
    for (const checks::SourceEntry& e : Entries) FLmt->Translations()->SortInsert(e.Line, nullptr);
    scenario::Show(Dialog, Look);
  }

  win::LocalPrinter FPrinter;
  vcl::TForm* FForm = new vcl::TForm(vcl::Application);
  std::vector<vcl::TCommonDialog*> FDialogs;
  Vek::TLumetra* FLmt = new Vek::TLumetra(FForm);
  std::unique_ptr<checks::TextMeasure> FMeasure = checks::NativeMeasure();
  std::map<std::string, checks::DialogLayout> FShown;
  std::map<std::pair<std::string, int>, checks::DialogLayout> FAtDpi;
};

std::string Listed(const std::vector<checks::Problem>& Problems) {
  std::string lines;
  for (const checks::Problem& p : Problems) lines += checks::FormatFault(p) + "\n";
  return lines;
}

}  // namespace

// Every standard dialog, pseudo-translated and fitted, shows on this screen with its texts whole
// and its controls apart and inside it; unfitted, some of them do not.
TEST_F(Fit, PseudoTranslatedDialogsShowWellOnceFitted) {
  const int dpi = Vek::ScreenPixelsPerInch(nullptr);
  int faultsBefore = 0;
  for (vcl::TCommonDialog* dialog : FDialogs) {
    SCOPED_TRACE(dialog->ClassName());
    const checks::FitResult fit = Fitted(dialog);
    EXPECT_TRUE(fit.Unfitted.empty()) << Listed(fit.Unfitted);
    std::vector<checks::SourceEntry> pseudo;
    for (const checks::SourceEntry& e : fit.Entries)
      if (e.LineNumber > 0) pseudo.push_back(e);
    std::vector<checks::Problem> before, after;
    ShowWith(dialog, pseudo, [&](HWND W) { before = checks::ShownFaults(Untranslated(dialog), checks::LayoutFromWindow(W, dialog->ClassName()), *FMeasure); });
    ShowWith(dialog, fit.Entries, [&](HWND W) { after = checks::ShownFaults(Untranslated(dialog), checks::LayoutFromWindow(W, dialog->ClassName()), *FMeasure); });
    std::printf("%d dpi, %s: %zu entries written, %zu faults shown before the fit, %zu after\n", dpi, dialog->ClassName().c_str(),
                fit.Written.size(), before.size(), after.size());
    faultsBefore += static_cast<int>(before.size());
    EXPECT_EQ(Listed(after), "");
  }
  EXPECT_GT(faultsBefore, 0) << "the pseudo-translations are meant to be too long somewhere";
}

// The fitted pseudo open and print dialogs held up for run-demo.
TEST_F(Fit, DISABLED_HeldForScreenshots) {
  for (vcl::TCommonDialog* dialog : {FDialogs[0], FDialogs[4]}) {
    const checks::FitResult fit = Fitted(dialog);
    const std::string name = dialog == FDialogs[0] ? "fit-open" : "fit-print";
    ShowWith(dialog, fit.Entries, [&](HWND) { testing_support::HoldForScreenshot(name, [] { vcl::Application->ProcessMessages(); }); });
  }
}
