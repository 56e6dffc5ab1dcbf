// The preview window: opened from the Translations page, it follows the current key and redraws
// the dialog with the text being typed, faults outlined in red and listed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "editor_fixture.hpp"
#include "vekedit/editor_preview.hpp"
#include "screenshot_hold.hpp"
#include "input.hpp"
#include "simulated_screen.hpp"
#include "win/recorded_dialogs.h"

using namespace vcl;
using editor_test::Editor;
using VekEdit::TDlgEditor;
using VekEdit::TPreviewWindow;

namespace {

// The label "File name:" of the open dialog, which the translations below make too long.
constexpr int NameLabel = 1090;
const char* const LongName = "Bitte geben Sie den &Namen der Datei ein:";

class Preview : public Editor {
protected:
  Preview() {
    FLmt->Translations()->SetText(
        "TOpenDialog.Caption='Offen'\r\n"
        "TOpenDialog.Caption[1090]='Datei&name:'\r\n"
        "TFontDialog.Caption='Schriftart'\r\n"
        "TMyDialog.Caption='Mein'\r\n");
    for (const char* line : {"TOpenDialog.Caption='Open'", "TOpenDialog.Caption[1090]='File &name:'",
                             "TFontDialog.Caption='Font'"})
      FLmt->OrgProps()->SortInsert(line, nullptr);
  }
  TPreviewWindow& Window() {
    auto* w = dynamic_cast<TPreviewWindow*>(FEditor->Preview());
    if (!w) throw std::runtime_error("the editor has no preview window");
    return *w;
  }
  std::vector<std::string> Faults() { return testing_support::LinesOf(*Window().Faults->Lines()); }
  // The red pixels of the picture, and those on the row through the middle of control Id of the
  // open dialog just left of its rectangle, where its outline runs.
  int RedPixels() {
    const checks::Picture& p = Window().Image->Picture();
    int red = 0;
    for (int y = 0; y < p.Height; ++y)
      for (int x = 0; x < p.Width; ++x) red += p.Pixel(x, y) == 0xFF0000u;
    return red;
  }
  bool OutlinedLeft(int Id) {
    const checks::DialogLayout open = checks::LayoutFromRecorded(*win::FindRecordedDialog("open"), "TOpenDialog");
    const RECT r = open.Find(Id)->Rect;
    const int x = open.Client.left - open.Window.left + r.left, y = open.Client.top - open.Window.top + (r.top + r.bottom) / 2;
    const checks::Picture& p = Window().Image->Picture();
    for (int dx = -3; dx <= 0; ++dx)
      if (p.Pixel(x + dx, y) == 0xFF0000u) return true;
    return false;
  }
};

}  // namespace

// Opened at a key (the design host's fault), the editor shows that key with its dialog in the
// preview; a key it does not list opens it as usual, without the preview.
TEST_F(Preview, OpenedAtAKeyShowsItAndItsDialog) {
  FLmt->Translations()->SetText(std::string("TOpenDialog.Caption='Offen'\r\nTOpenDialog.Caption[1090]='") + LongName + "'\r\n");
  struct Case {
    const char* StartKey;
    const char* Current;
    bool Previewed;
  };
  for (const Case& c : {Case{"TOpenDialog.Caption[1090]", "TOpenDialog.Caption[1090]", true},
                        Case{"topendialog.caption[1090]", "TOpenDialog.Caption[1090]", true},
                        Case{"TOpenDialog.Caption[1091]", "TOpenDialog.Caption", false},
                        Case{"", "TOpenDialog.Caption", false}}) {
    SCOPED_TRACE(c.StartKey);
    FEditor = std::make_unique<TDlgEditor>(Application);
    FEditor->Translator = FLmt;
    FEditor->StartKey = c.StartKey;
    FEditor->Handle();
    FEditor->FormShow(FEditor.get());
    TDlgEditor& e = *FEditor;
    const int at = e.PropList->ItemIndex();
    EXPECT_EQ(at < 0 ? "" : e.PropList->Items()->Strings(at), c.Current);
    ASSERT_EQ(e.Preview() != nullptr, c.Previewed);
    if (c.Previewed) {
      EXPECT_EQ(e.EdtTranslation->Text(), LongName);
      EXPECT_TRUE(Window().Showing());
      ASSERT_FALSE(Faults().empty());
      EXPECT_EQ(Faults()[0].rfind("TOpenDialog.Caption[1090]: error: ", 0), 0u) << Faults()[0];
      EXPECT_TRUE(OutlinedLeft(NameLabel));
    }
    Close();
  }
}

TEST_F(Preview, TheButtonSitsBelowRemoveOnTheTranslationsPageAndNamesF5) {
  TDlgEditor& e = Open();
  ASSERT_NE(e.BtnPreview, nullptr);
  EXPECT_EQ(e.BtnPreview->Parent(), e.BtnRemove->Parent());
  EXPECT_EQ(e.BtnPreview->Left(), e.BtnRemove->Left());
  EXPECT_GE(e.BtnPreview->Top(), e.BtnRemove->Top() + e.BtnRemove->Height());
  EXPECT_LE(e.BtnPreview->Top() + e.BtnPreview->Height(), e.PropList->Top() + e.PropList->Height())
      << "above the captured value's label";
  EXPECT_NE(e.BtnPreview->Hint().find("(F5)"), std::string::npos);
  EXPECT_EQ(e.Preview(), nullptr) << "made on first use";
}

TEST_F(Preview, TypingATooLongLabelListsItAndOutlinesItInRedBeforeItIsStored) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption[1090]");
  e.BtnPreviewClick(e.BtnPreview);
  ASSERT_TRUE(Window().Showing());
  EXPECT_EQ(Window().Form->Caption(), "Preview: TOpenDialog");
  const win::RecordedDialog* open = win::FindRecordedDialog("open");
  EXPECT_EQ(Window().Image->Picture().Width, open->Window.right - open->Window.left);
  EXPECT_EQ(Window().Image->Picture().Height, open->Window.bottom - open->Window.top);
  EXPECT_EQ(Faults(), (std::vector<std::string>{"No faults."}));
  EXPECT_EQ(RedPixels(), 0);

  // As typing does: the text changes and the box notifies (setting a memo's text does not on
  // Windows).
  e.EdtTranslation->SetText(LongName);
  e.EdtTranslationChange(e.EdtTranslation);
  ASSERT_EQ(Faults().size(), 1u);
  EXPECT_EQ(Faults()[0].rfind("TOpenDialog.Caption[1090]: error: ", 0), 0u) << Faults()[0];
  EXPECT_NE(Faults()[0].find("has room for"), std::string::npos) << Faults()[0];
  EXPECT_TRUE(OutlinedLeft(NameLabel));
  EXPECT_EQ(e.TransList().Get(TDlgEditor::GetPropIndex("TOpenDialog.Caption[1090]", e.TransList())),
            "TOpenDialog.Caption[1090]='Datei&name:'")
      << "drawn from the pending text, the working copy unchanged until the box is left";

  Key(VK_ESCAPE);  // back to the entry as it was
  EXPECT_EQ(Faults(), (std::vector<std::string>{"No faults."}));
  EXPECT_EQ(RedPixels(), 0);
}

TEST_F(Preview, ItFollowsTheCurrentKeyToItsDialogClass) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption");
  WORD f5 = VK_F5;
  e.PropListKeyDown(e.PropList, f5, 0);
  ASSERT_TRUE(e.Preview() && Window().Showing()) << "F5 in the key list opens it";
  const struct {
    const char* Key;
    const char* Caption;
    const char* FirstLine;  // of the fault list; nullptr: "No faults."
    bool Picture;
  } cases[] = {
      {"TFontDialog.Caption", "Preview: TFontDialog", nullptr, true},
      {"TMyDialog.Caption", "Preview: TMyDialog", "No dialog of class TMyDialog to draw.", false},
      {"TOpenDialog.Caption[1090]", "Preview: TOpenDialog", nullptr, true},
  };
  for (const auto& c : cases) {
    ClickKey(c.Key);
    EXPECT_EQ(Window().Form->Caption(), c.Caption) << c.Key;
    EXPECT_EQ(Faults().at(0), c.FirstLine ? c.FirstLine : "No faults.") << c.Key;
    EXPECT_EQ(Window().Image->Picture().Width > 0, c.Picture) << c.Key;
  }
}

TEST_F(Preview, AClosedPreviewIsNotRedrawnAndF5ShowsItAgain) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption[1090]");
  e.BtnPreviewClick(e.BtnPreview);
  Window().Form->Close();
  ASSERT_FALSE(Window().Showing());
  e.EdtTranslation->SetText(LongName);
  EXPECT_EQ(Faults(), (std::vector<std::string>{"No faults."})) << "not redrawn while closed";
  Key(VK_F5);
  EXPECT_TRUE(Window().Showing());
  EXPECT_EQ(Faults().size(), 1u) << "redrawn with the pending text on showing";
}

TEST_F(Preview, TypedKeysRedrawTheShownPreview) {
  auto editor = std::make_unique<TDlgEditor>(Application);
  editor->Translator = FLmt;
  TDlgEditor& e = *editor;
  FEditor = std::move(editor);
  FDialogs.Answers = {mrYes};  // closing discards the text typed
  std::vector<std::string> before, after;
  bool outlined = false, focused = false;
  std::vector<std::function<void()>> steps = {[&] {
                                                e.PropList->SetItemIndex(e.PropList->Items()->IndexOf("TOpenDialog.Caption[1090]"));
                                                e.PropListClick(e.PropList);
                                                e.EdtTranslation->SetFocus();
                                              },
                                              [] { ui_test::Key(VK_F5); },
                                              [&] {
                                                before = Faults();
                                                focused = e.EdtTranslation->Focused();
                                              },
                                              [] { ui_test::Key(VK_END); }};
  // "Datei&name:" and twelve letters more: one word, too wide for the label.
  for (int i = 0; i < 12; ++i) steps.push_back([] { ui_test::Key('W'); });
  steps.push_back([&] {
    after = Faults();
    outlined = OutlinedLeft(NameLabel);
  });
  steps.push_back([&] { e.Close(); });
  ui_test::RunModal(e, steps);
  EXPECT_TRUE(focused) << "the preview leaves the focus in the translation box";
  EXPECT_EQ(before, (std::vector<std::string>{"No faults."}));
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].rfind("TOpenDialog.Caption[1090]: error: ", 0), 0u) << after[0];
  EXPECT_TRUE(outlined);
}

TEST_F(Preview, TheFitButtonSitsBesidePreviewAndComesOnlyWithIt) {
  TDlgEditor& e = Open();
  ASSERT_NE(e.BtnFit, nullptr);
  EXPECT_EQ(e.BtnFit->Parent(), e.BtnPreview->Parent());
  EXPECT_EQ(e.BtnFit->Top(), e.BtnPreview->Top());
  EXPECT_EQ(e.BtnFit->Height(), e.BtnPreview->Height());
  EXPECT_GT(e.BtnFit->Left(), e.BtnPreview->Left() + e.BtnPreview->Width()) << "right of Preview, not over it";
  EXPECT_EQ(e.BtnFit->Left() + e.BtnFit->Width(), e.EdtTranslation->Left() + e.EdtTranslation->Width());
  EXPECT_FALSE(e.BtnFit->Hint().empty());
  Close();

  // A program without the preview part has neither button.
  const VekEdit::TPreviewMaker maker = VekEdit::SetPreviewMaker(nullptr);
  TDlgEditor& plain = Open();
  EXPECT_EQ(plain.BtnPreview, nullptr);
  EXPECT_EQ(plain.BtnFit, nullptr);
  Close();
  VekEdit::SetPreviewMaker(maker);
}

// The text being typed is stored first; the fit's entries go into the working copy (new keys
// listed), the preview opens on the result without the fault, and only OK hands them back.
TEST_F(Preview, FitStoresTheTypedTextAndWritesTheSizesThatMakeItFit) {
  // The label's width as captured (one more than the recording's): available until the fit
  // writes an entry for it.
  FLmt->OrgProps()->SortInsert("TOpenDialog.Width[1090]=85", nullptr);
  const std::string translations = FLmt->Translations()->Text();
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    TDlgEditor& e = Open();
    EXPECT_EQ(Items(*e.ListAvail), std::vector<std::string>{"TOpenDialog.Width[1090]"});
    ClickKey("TOpenDialog.Caption[1090]");
    e.EdtTranslation->SetText(LongName);
    const int before = e.TransList().Count();
    e.BtnFitClick(e.BtnFit);
    EXPECT_EQ(FDialogs.Asked, std::vector<std::string>{}) << "no message: something was fitted";
    const int label = TDlgEditor::GetPropIndex("TOpenDialog.Caption[1090]", e.TransList());
    ASSERT_GE(label, 0);
    EXPECT_EQ(e.TransList().Get(label), std::string("TOpenDialog.Caption[1090]='") + LongName + "'");
    EXPECT_GE(TDlgEditor::GetPropIndex("TOpenDialog.Width[1090]", e.TransList()), 0) << "the label grows";
    EXPECT_GT(e.TransList().Count(), before + 1) << "the controls after it move";
    for (int i = 0; i < e.TransList().Count(); ++i) {
      const std::string key(Vek::EntryKey(e.TransList().Get(i)));
      EXPECT_GE(e.PropList->Items()->IndexOf(key), 0) << key << " is listed";
    }
    EXPECT_EQ(Items(*e.ListAvail), std::vector<std::string>{}) << "listed now, no longer available";
    EXPECT_TRUE(e.Modified());
    EXPECT_EQ(e.PropList->Items()->Strings(e.PropList->ItemIndex()), "TOpenDialog.Caption[1090]");
    EXPECT_EQ(e.EdtTranslation->Text(), LongName);
    ASSERT_TRUE(e.Preview() && Window().Showing()) << "opened on the result";
    for (const std::string& line : Faults()) EXPECT_EQ(line.find("has room for"), std::string::npos) << line;
    EXPECT_FALSE(OutlinedLeft(NameLabel));

    // Fitted once, the dialog has nothing more to fit.
    FDialogs.Answers = {mrOk};
    e.BtnFitClick(e.BtnFit);
    EXPECT_EQ(FDialogs.Asked, std::vector<std::string>{"MessageDlg There was nothing to fit: every text of the TOpenDialog dialog fits."});
    FDialogs.Asked.clear();

    const std::vector<std::string> fitted = testing_support::LinesOf(e.TransList());
    if (ok) {
      e.BtnOKClick(e.BtnOK);
      EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()), fitted);
    } else {
      FDialogs.Answers = {mrYes};  // discard the changes
      e.BtnCancelClick(e.BtnCancel);
      EXPECT_EQ(e.ModalResult(), mrCancel);
      EXPECT_EQ(TDlgEditor::GetPropIndex("TOpenDialog.Width[1090]", *FLmt->Translations()), -1);
    }
    Close();
    FLmt->Translations()->SetText(translations);
  }
}

// A text that would take the dialog beyond the work area leads the fault list, saying why, and
// gets no entry; the other texts are still fitted. Editing the class's entries drops the line.
TEST_F(Preview, ATextBeyondTheWorkAreaIsListedAsNotFittedAndLeftAlone) {
  const std::string huge(180, 'W');
  FLmt->Translations()->SetText("TFindDialog.Caption[1]='" + huge + "'\r\nTFindDialog.Caption[2]='Abbrechen, bitte sofort'\r\n");
  TDlgEditor& e = Open();
  ClickKey("TFindDialog.Caption[1]");
  e.BtnFitClick(e.BtnFit);
  EXPECT_EQ(FDialogs.Asked, std::vector<std::string>{});
  ASSERT_TRUE(e.Preview() && Window().Showing());
  ASSERT_FALSE(Faults().empty());
  EXPECT_EQ(Faults()[0].rfind("TFindDialog.Caption[1]: error: text ", 0), 0u) << Faults()[0];
  EXPECT_NE(Faults()[0].find("is not fitted: the dialog would be "), std::string::npos) << Faults()[0];
  EXPECT_NE(Faults()[0].find("beyond a 1024 x 768 work area"), std::string::npos) << Faults()[0];
  EXPECT_GE(TDlgEditor::GetPropIndex("TFindDialog.Width[2]", e.TransList()), 0) << "Cancel still grows";
  for (int i = 0; i < e.TransList().Count(); ++i) {
    const std::string line = e.TransList().Get(i);
    EXPECT_TRUE(line.rfind("TFindDialog.Caption[1]=", 0) == 0 || line.find("[1]=") == std::string::npos) << line;
  }

  const std::string notFitted = Faults()[0];
  e.EdtTranslation->SetText("Weiter");
  e.EdtTranslationChange(e.EdtTranslation);
  for (const std::string& line : Faults()) EXPECT_EQ(line.find("is not fitted"), std::string::npos) << line;
  Key(VK_ESCAPE);  // the entries the fit left again
  EXPECT_EQ(Faults().at(0), notFitted);
}

#ifndef _WIN32
// On a screen of another DPI the fit is for that DPI too: on a 120-dpi screen the long label
// fits the open dialog as its template lays it out at 120 dpi, and as recorded at 96.
TEST_F(Preview, FitAlsoFitsAtTheScreensDpi) {
  const testing_support::SimulatedScreenAt screen(120);
  checks::RecordedMeasure measure;
  const checks::DialogLayout at96 = checks::LayoutFromRecorded(*win::FindRecordedDialog("open"), "TOpenDialog");
  const checks::DialogLayout at120 = checks::AtPixelsPerInch(at96, 120, measure);
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption[1090]");
  e.EdtTranslation->SetText(LongName);
  e.BtnFitClick(e.BtnFit);
  for (const checks::DialogLayout* layout : {&at96, &at120}) {
    SCOPED_TRACE(layout->PixelsPerInch);
    checks::CheckInput in;
    for (int i = 0; i < e.TransList().Count(); ++i) in.Entries.push_back({e.TransList().Get(i), i + 1});
    in.Measure = &measure;
    in.Reference = [&](const std::string& ClassName) { return ClassName == "TOpenDialog" ? layout : nullptr; };
    for (const checks::Problem& p : checks::Check(in))
      EXPECT_FALSE(p.Kind == checks::Fault::Fit && p.Key == "TOpenDialog.Caption[1090]") << checks::FormatFault(p);
  }
  EXPECT_TRUE(e.Modified());
  Close();
}
#endif

#ifndef _WIN32
// On a screen of 144 dpi the preview draws and judges the dialog as it is laid out there: larger,
// and with the text that fits at 96 dpi measured in the larger font.
TEST_F(Preview, ThePreviewShowsTheDialogAtTheScreensDpi) {
  const testing_support::SimulatedScreenAt screen(144);
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption[1090]");
  e.BtnPreviewClick(e.BtnPreview);
  EXPECT_EQ(Window().Form->Caption(), "Preview: TOpenDialog at 144 dpi");
  const win::RecordedDialog* open = win::FindRecordedDialog("open");
  EXPECT_GT(Window().Image->Picture().Width, (open->Window.right - open->Window.left) * 14 / 10);
  EXPECT_EQ(Faults(), (std::vector<std::string>{"No faults."}));
  Close();
}
#endif

// Where there is nothing to fit a message says why, and the working copy stays as it was.
TEST_F(Preview, NothingToFitSaysWhy) {
  TDlgEditor& e = Open();
  for (const auto& [key, message] :
       {std::pair<std::string, std::string>{"TFontDialog.Caption", "every text of the TFontDialog dialog fits"},
        {"TMyDialog.Caption", "no dialog of class TMyDialog"}}) {
    SCOPED_TRACE(key);
    ClickKey(key);
    const std::vector<std::string> before = testing_support::LinesOf(e.TransList());
    FDialogs.Answers = {mrOk};
    e.BtnFitClick(e.BtnFit);
    EXPECT_EQ(FDialogs.Asked, std::vector<std::string>{"MessageDlg There was nothing to fit: " + message + "."});
    FDialogs.Asked.clear();
    EXPECT_EQ(testing_support::LinesOf(e.TransList()), before);
    EXPECT_FALSE(e.Modified());
  }
}

// Not a test: ./run-demo --windows runs it (with LUMETRA_HOLD set) to photograph the editor with
// its preview of a too-long label beside it, then the same after Fit.
TEST_F(Preview, DISABLED_HeldForScreenshot) {
  FEditor = std::make_unique<TDlgEditor>(Application);
  TDlgEditor& e = *FEditor;
  e.Translator = FLmt;
  e.SetPosition(poDesigned);
  e.SetLeft(16);
  e.SetTop(16);
  e.FormShow(&e);  // run by the modal loop, which this test does without
  e.Show();
  ClickKey("TOpenDialog.Caption[1090]");
  e.EdtTranslation->SetFocus();
  e.EdtTranslation->SetText(LongName);
  Key(VK_F5);
  for (int i = 0; i < 20; ++i) Application->ProcessMessages();
#ifdef _WIN32
  UpdateWindow(Window().Form->Handle());
  UpdateWindow(e.Handle());
#endif
  testing_support::HoldForScreenshot("editor-preview", [] { Application->ProcessMessages(); });
  // Then the same after Fit: the label grown, the controls after it moved.
  e.BtnFitClick(e.BtnFit);
  for (int i = 0; i < 20; ++i) Application->ProcessMessages();
#ifdef _WIN32
  UpdateWindow(Window().Form->Handle());
  UpdateWindow(e.Handle());
#endif
  testing_support::HoldForScreenshot("editor-fit", [] { Application->ProcessMessages(); });
  e.Hide();
}
