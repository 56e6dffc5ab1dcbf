// The checks' model of applying entries against the real pass, on both window systems: the same
// table of entries, applied by the translator to each shown dialog and by the checks to its
// recording, leaves the same title, window size and controls. When either drifts, this fails.
#include "checks/checks.hpp"
#include "translator_form.hpp"

using namespace scenario;

namespace {

// Entries of every kind the apply step knows, for a dialog class whose control LabelId is a
// label and whose Ordinal-th child has a text; an entry the step must leave out, and one for
// a control the dialog lacks.
std::vector<std::string> Table(const std::string& C, int LabelId, int Ordinal) {
  const std::string id = "[" + std::to_string(LabelId) + "]", ordinal = "[" + std::to_string(-Ordinal) + "]";
  return {C + ".Caption='Titel ''" + C + "'''",
          C + ".Caption" + id + "='&Beschriftung'",
          C + ".Caption" + ordinal + "='Nach '#13#10'Position'",
          C + ".Font.Name='Arial'",
          C + ".Font.Charset=238",
          C + ".Width=611",
          C + ".Height=433",
          C + ".Left" + id + "=7",
          C + ".Top" + id + "=9",
          C + ".Width" + id + "=111",
          C + ".Height" + id + "=17",
          C + ".Left" + ordinal + "=-3",
          C + ".Caption[4711]='nowhere'",
          C + ".Width[-99]=1"};
}

void ExpectSameControl(const checks::ControlLayout* Model, const checks::ControlLayout* Shown, const char* What) {
  ASSERT_NE(Model, nullptr) << What;
  ASSERT_NE(Shown, nullptr) << What;
  EXPECT_EQ(Shown->Text, Model->Text) << What;
  EXPECT_EQ(Shown->Rect.left, Model->Rect.left) << What;
  EXPECT_EQ(Shown->Rect.top, Model->Rect.top) << What;
  EXPECT_EQ(Shown->Rect.right, Model->Rect.right) << What;
  EXPECT_EQ(Shown->Rect.bottom, Model->Rect.bottom) << What;
  EXPECT_EQ(Shown->Font.Face, Model->Font.Face) << What;
  EXPECT_EQ(Shown->Font.Charset, Model->Font.Charset) << What;
}

using ApplyModel = TranslatorForm;

}  // namespace

TEST_F(ApplyModel, TheChecksApplyEntriesAsTheTranslatorDoes) {
  ASSERT_TRUE(FPrinter.Error().empty()) << FPrinter.Error();
  for (std::size_t i = 0; i < Kinds.size(); ++i) {
    const std::string name = Kinds[i].Class->ClassName();
    SCOPED_TRACE(name);
    const win::RecordedDialog* recorded = win::FindRecordedDialog(Vek::DialogKindOf(name, FForm));
    ASSERT_NE(recorded, nullptr);
    const std::vector<std::string> lines = Table(name, Kinds[i].LabelId, Kinds[i].Ordinal);
    std::vector<checks::SourceEntry> entries;
    FLmt->Translations()->Clear();
    for (const std::string& l : lines) {
      entries.push_back({l, static_cast<int>(entries.size()) + 1});
      FLmt->Translations()->SortInsert(l, nullptr);
    }
    const checks::DialogLayout model = checks::Applied(checks::LayoutFromRecorded(*recorded, name), entries);
    checks::DialogLayout shown;
    Show(FDialogs[i], [&](HWND Dialog) { shown = checks::LayoutFromWindow(Dialog, name); });

    EXPECT_EQ(shown.Title, model.Title);
    EXPECT_EQ(shown.Window.right - shown.Window.left, model.Window.right - model.Window.left);
    EXPECT_EQ(shown.Window.bottom - shown.Window.top, model.Window.bottom - model.Window.top);
    EXPECT_EQ(shown.ClientWidth(), model.ClientWidth());
    EXPECT_EQ(shown.ClientHeight(), model.ClientHeight());
    ExpectSameControl(model.Find(Kinds[i].LabelId), shown.Find(Kinds[i].LabelId), "by id");
    ExpectSameControl(model.Find(-Kinds[i].Ordinal), shown.Find(-Kinds[i].Ordinal), "by position");
    // What no entry names keeps its place in both.
    ASSERT_EQ(shown.Controls.size(), model.Controls.size());
    for (std::size_t c = 0; c < model.Controls.size(); ++c) {
      EXPECT_EQ(shown.Controls[c].Rect.left, model.Controls[c].Rect.left) << "child " << c + 1;
      EXPECT_EQ(shown.Controls[c].Rect.top, model.Controls[c].Rect.top) << "child " << c + 1;
      EXPECT_EQ(shown.Controls[c].Font.Face, model.Controls[c].Font.Face) << "child " << c + 1;
    }
  }
}
