// The fit on the recorded dialogs: pseudo-translations of every standard dialog made to fit at
// several DPIs at once, what it moves, and what it refuses.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "checks/fit.hpp"
#include "exchange/Pseudo.hpp"
#include "vcl/Classes.hpp"
#include "vcl/StandardDialogs.hpp"

namespace {

using checks::Fault;
using checks::SourceEntry;

checks::RecordedMeasure Measure;

// The recorded dialog of a standard class as its template lays it out at Dpi.
const checks::DialogLayout* At(const std::string& ClassName, int Dpi) {
  static std::map<std::pair<std::string, int>, checks::DialogLayout> layouts;
  const auto key = std::make_pair(ClassName, Dpi);
  if (const auto found = layouts.find(key); found != layouts.end()) return &found->second;
  const win::RecordedDialog* d = win::FindRecordedDialog(checks::RecordedKindOf(ClassName));
  if (!d) return nullptr;
  return &(layouts[key] = checks::AtPixelsPerInch(checks::LayoutFromRecorded(*d, ClassName), Dpi, Measure));
}

std::vector<SourceEntry> Numbered(const std::vector<std::string>& Lines) {
  std::vector<SourceEntry> entries;
  for (const std::string& l : Lines) entries.push_back({l, static_cast<int>(entries.size()) + 1});
  return entries;
}

checks::FitResult Fit(const std::vector<SourceEntry>& Entries, std::vector<int> Dpis) {
  checks::FitInput in;
  in.Input.File = "fit.txt";
  in.Input.Entries = Entries;
  in.Input.Measure = &Measure;
  in.Reference = &At;
  in.PixelsPerInch = std::move(Dpis);
  return checks::FitEntries(in);
}

// The layout faults the checks find at Dpi, one line each.
std::string LayoutFaults(const std::vector<SourceEntry>& Entries, int Dpi) {
  checks::CheckInput in;
  in.File = "fit.txt";
  in.Entries = Entries;
  in.Measure = &Measure;
  in.Reference = [Dpi](const std::string& ClassName) { return At(ClassName, Dpi); };
  in.Reported.reset();
  for (const Fault f : {Fault::Fit, Fault::Outside, Fault::Overlap}) in.Reported.set(static_cast<std::size_t>(f));
  std::string lines;
  for (const checks::Problem& p : checks::Check(in)) lines += checks::FormatProblem(p) + "\n";
  return lines;
}

// The pseudo-translations of every captured text of a dialog class (tests/data/captures).
std::vector<std::string> PseudoOf(const std::string& ClassName, bool RightToLeft = false) {
  std::ifstream file(std::string(LUMETRA_TEST_DATA) + "/captures/" + ClassName + ".txt", std::ios::binary);
  vcl::TStringList captured;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) captured.Add(line);
  }
  return exchange::PseudoEntries(captured, RightToLeft);
}

const char* const Standard[] = {"TOpenDialog", "TSaveDialog", "TFontDialog", "TColorDialog", "TPrintDialog",
                                "TPrinterSetupDialog", "TFindDialog", "TReplaceDialog"};

}  // namespace

// After the fit at 96 and 144 dpi, no pseudo-translated text of any standard dialog is cut off,
// leaves its dialog or overlaps another at either DPI, plain or mirrored.
TEST(Fit, PseudoTranslationsOfEveryDialogFitAtEachDpi) {
  int unfitBefore = 0;
  for (const bool mirrored : {false, true})
    for (const std::string c : Standard) {
      SCOPED_TRACE(c + (mirrored ? " mirrored" : ""));
      const std::vector<SourceEntry> pseudo = Numbered(PseudoOf(c, mirrored));
      ASSERT_FALSE(pseudo.empty());
      unfitBefore += !LayoutFaults(pseudo, 96).empty() + !LayoutFaults(pseudo, 144).empty();
      const checks::FitResult fit = Fit(pseudo, {96, 144});
      EXPECT_TRUE(fit.Unfitted.empty()) << checks::FormatProblem(fit.Unfitted.front());
      EXPECT_EQ(LayoutFaults(fit.Entries, 96), "");
      EXPECT_EQ(LayoutFaults(fit.Entries, 144), "");
      // Fitting what fits already writes nothing.
      EXPECT_TRUE(Fit(fit.Entries, {96, 144}).Written.empty());
    }
  EXPECT_GE(unfitBefore, 8) << "the pseudo-translations are meant to be too long somewhere";
}

// A label that grows pushes the box after it on its row; the dialog widens to keep its margin,
// and the entries that were there are replaced on their own lines.
TEST(Fit, AGrownLabelPushesItsRowAndWidensTheDialog) {
  const std::vector<SourceEntry> entries = Numbered({"TFindDialog.Caption[-1]='Zu suchender Text in diesem Dokument:'",
                                                     "TFindDialog.Width[-1]=40", "TFindDialog.Caption[2]='Abbrechen'"});
  const checks::FitResult fit = Fit(entries, {96});
  ASSERT_TRUE(fit.Unfitted.empty());
  EXPECT_EQ(LayoutFaults(fit.Entries, 96), "");
  const checks::DialogLayout before = checks::Applied(*At("TFindDialog", 96), entries);
  const checks::DialogLayout after = checks::Applied(*At("TFindDialog", 96), fit.Entries);
  const auto& label = after.Controls[0];
  const checks::ControlLayout* edit = after.Find(1152);  // the edit box of the text to find
  ASSERT_NE(edit, nullptr);
  EXPECT_GT(label.Rect.right, before.Controls[0].Rect.right);
  EXPECT_GT(edit->Rect.left, label.Rect.right) << "the edit box is pushed past the label";
  EXPECT_GT(after.ClientWidth(), before.ClientWidth());
  ASSERT_GE(fit.Entries.size(), 3u);
  EXPECT_EQ(fit.Entries[1].LineNumber, 2);
  EXPECT_TRUE(fit.Entries[1].Line.starts_with("TFindDialog.Width[-1]=")) << "replaced on its line";
  EXPECT_NE(fit.Entries[1].Line, "TFindDialog.Width[-1]=40");
  for (std::size_t i = 3; i < fit.Entries.size(); ++i) EXPECT_EQ(fit.Entries[i].LineNumber, 0) << fit.Entries[i].Line;
}

// A wrapping label grows in width only as far as its height needs: the file name label of the
// open dialog is two lines high, and its text stays on two lines.
TEST(Fit, AWrappingLabelGrowsNoWiderThanItsLinesNeed) {
  const checks::DialogLayout& open = *At("TOpenDialog", 96);
  const checks::ControlLayout* label = open.Find(1090);
  ASSERT_NE(label, nullptr);
  ASSERT_GE(label->Rect.bottom - label->Rect.top, 24) << "two lines high";
  const std::string text = "Name der Datei, die ge\xF6""ffnet werden soll:";
  const checks::FitResult fit = Fit(Numbered({"TOpenDialog.Caption[1090]='" + text + "'"}), {96});
  ASSERT_TRUE(fit.Unfitted.empty());
  EXPECT_EQ(LayoutFaults(fit.Entries, 96), "");
  const checks::DialogLayout after = checks::Applied(open, fit.Entries);
  const checks::ControlLayout* grown = after.Find(1090);
  EXPECT_EQ(grown->Rect.bottom - grown->Rect.top, label->Rect.bottom - label->Rect.top) << "its height is kept";
  const int oneLine = Measure.Measure(grown->Font, text).Width;
  EXPECT_GT(grown->Rect.right - grown->Rect.left, label->Rect.right - label->Rect.left);
  EXPECT_LT(grown->Rect.right - grown->Rect.left, oneLine) << "narrower than the text on one line";
}

// A text that would take the dialog beyond the work area is reported at the DPI where it would,
// and nothing is written for it; the other texts of the dialog are still fitted.
TEST(Fit, ATextBeyondTheWorkAreaIsReportedNotStretched) {
  const std::string huge(180, 'W');
  const std::vector<SourceEntry> entries = Numbered({"TFindDialog.Caption[1]='" + huge + "'", "TFindDialog.Caption[2]='Abbrechen, bitte sofort'"});
  const checks::FitResult at96 = Fit(entries, {96});
  ASSERT_EQ(at96.Unfitted.size(), 1u);
  EXPECT_EQ(at96.Unfitted[0].Line, 1);
  EXPECT_EQ(at96.Unfitted[0].Kind, Fault::Fit);
  EXPECT_NE(at96.Unfitted[0].Reason.find("beyond a 1024 x 768 work area"), std::string::npos) << at96.Unfitted[0].Reason;
  for (const std::string& line : at96.Written) EXPECT_EQ(line.find("[1]="), std::string::npos) << line;
  EXPECT_FALSE(at96.Written.empty()) << "the Cancel button still grows";
  for (const std::string& line : at96.Written) EXPECT_FALSE(line.starts_with("TFindDialog.Width=") && std::stoi(line.substr(18)) > 1024) << line;

  // A text that fits the work area at 96 dpi may not at 192: the larger DPI decides.
  const std::string wide(50, 'W');
  const std::vector<SourceEntry> some = Numbered({"TFindDialog.Caption[1]='" + wide + "'"});
  ASSERT_TRUE(Fit(some, {96}).Unfitted.empty());
  const checks::FitResult both = Fit(some, {96, 192});
  ASSERT_EQ(both.Unfitted.size(), 1u);
  EXPECT_NE(both.Unfitted[0].Reason.find("at 192 dpi"), std::string::npos) << both.Unfitted[0].Reason;
}

// Entries captured at 144 dpi are fitted in pixels of 144 dpi, and hold at 96 too.
TEST(Fit, EntriesOfAnotherDpiAreFittedInTheirOwnPixels) {
  const std::vector<SourceEntry> entries =
      Numbered({"TFindDialog.PixelsPerInch=144", "TFindDialog.Caption[1]='Weiter&suchen im ganzen Dokument'"});
  const checks::FitResult fit = Fit(entries, {96, 144});
  ASSERT_TRUE(fit.Unfitted.empty());
  EXPECT_EQ(LayoutFaults(fit.Entries, 96), "");
  EXPECT_EQ(LayoutFaults(fit.Entries, 144), "");
  int width = 0;
  for (const std::string& line : fit.Written)
    if (line.starts_with("TFindDialog.Width[1]=")) width = std::stoi(line.substr(21));
  const checks::DialogLayout& at144 = *At("TFindDialog", 144);
  EXPECT_GT(width, at144.Find(1)->Rect.right - at144.Find(1)->Rect.left) << "a width in 144-dpi pixels";
}

// The template at another DPI: fonts at that DPI's height, sizes through the dialog's units.
TEST(Fit, ATemplateAtAnotherDpiScalesThroughItsUnits) {
  const checks::DialogLayout& at96 = *At("TFindDialog", 96);
  const checks::DialogLayout& at144 = *At("TFindDialog", 144);
  EXPECT_EQ(at144.PixelsPerInch, 144);
  EXPECT_EQ(at96.Font.Height, -11);
  EXPECT_EQ(at144.Font.Height, -16) << "8 points at 144 dpi";
  const POINT u96 = checks::BaseUnitsOf(at96.Font, Measure), u144 = checks::BaseUnitsOf(at144.Font, Measure);
  ASSERT_GT(u96.x, 0);
  for (std::size_t i = 0; i < at96.Controls.size(); ++i) {
    const RECT& a = at96.Controls[i].Rect;
    const RECT& b = at144.Controls[i].Rect;
    EXPECT_NEAR(b.left, a.left * u144.x / double(u96.x), 1);
    EXPECT_NEAR(b.bottom - b.top, (a.bottom - a.top) * u144.y / double(u96.y), 1);
  }
  EXPECT_GT(at144.Window.right - at144.Window.left, at96.Window.right - at96.Window.left);
  EXPECT_EQ(checks::AtPixelsPerInch(at96, 5000, Measure).PixelsPerInch, 96) << "no screen's DPI changes nothing";
}
