// The table of the standard dialog classes: every row is a registered class that its factory
// makes, its kind has a recording that the component shows and a capture in tests/data, and
// the lookups by name and by class find it (descendants by class only).
#include "vcl/StandardDialogs.hpp"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dialog_support.hpp"
#include "dialogs/comdlg_params.hpp"
#include "test_support.hpp"
#include "vcl/Dialogs.hpp"
#include "win/printer.h"
#include "win/recorded_dialogs.h"

using namespace vcl;

namespace {

// What a shown dialog is: its title and the ids of its direct children in z-order.
struct Shown {
  std::string Title;
  std::vector<int> Ids;
  bool operator==(const Shown&) const = default;
};

Shown ShownOf(HWND Dialog) {
  Shown s{testing_support::TextOf(Dialog), {}};
  for (HWND c = GetWindow(Dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) s.Ids.push_back(GetDlgCtrlID(c));
  return s;
}

Shown ShownOf(const win::RecordedDialog& Recording) {
  Shown s{Recording.Title, {}};
  for (const win::RecordedControl& c : Recording.Controls) s.Ids.push_back(c.Id);
  return s;
}

struct Showing {
  TCommonDialog* Dialog;
  Shown Seen;
  bool Done = false;
};

bool ReadOnFirstIdle(void* Data, TMessage& Msg) {
  auto* s = static_cast<Showing*>(Data);
  const HWND dialog = reinterpret_cast<HWND>(Msg.LParam);
  if (Msg.Msg != WM_ENTERIDLE || s->Done || !dialog || dialog != s->Dialog->Handle()) return false;
  s->Done = true;
  s->Seen = ShownOf(dialog);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  return false;
}

// The dialog the component shows, read once it is up; a modal one is then cancelled, a
// modeless one closed.
std::optional<Shown> ShowOnce(TCommonDialog& Dialog) {
  if (auto* open = dynamic_cast<TOpenDialog*>(&Dialog)) open->SetOptions(open->Options() | ofNoChangeDir);
  if (auto* find = dynamic_cast<TFindDialog*>(&Dialog)) {
    find->Execute();
    Application->ProcessMessages();
    if (!find->Handle()) return std::nullopt;
    Shown seen = ShownOf(find->Handle());
    find->CloseDialog();
    Application->ProcessMessages();
    return seen;
  }
  Showing showing{&Dialog, {}, false};
  const TWindowHook hook{&ReadOnFirstIdle, &showing};
  Application->HookMainWindow(hook);
  Dialog.Execute();
  Application->UnhookMainWindow(hook);
  if (!showing.Done) return std::nullopt;
  return showing.Seen;
}

}  // namespace

TEST(StandardDialogs, EveryRowIsARegisteredClassThatItsFactoryMakes) {
  RegisterCommonDialogClasses();
  ASSERT_FALSE(StandardDialogs().empty());
  std::set<std::string> names;
  for (const TStandardDialog& d : StandardDialogs()) {
    const std::string name = d.ClassName();
    SCOPED_TRACE(name);
    EXPECT_TRUE(names.insert(name).second) << "a class has one row";
    EXPECT_TRUE(d.Class()->InheritsFrom(TCommonDialog::StaticClass()));
    EXPECT_EQ(GetClass(name), d.Class()) << "registered for streaming by RegisterCommonDialogClasses";
    const std::unique_ptr<TCommonDialog> made(d.Make(nullptr));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->ClassType(), d.Class());
    EXPECT_EQ(FindStandardDialog(name), &d);
    EXPECT_EQ(StandardDialogOf(d.Class()), &d);
  }
}

TEST(StandardDialogs, EveryKindHasItsRecordingItsParametersAndACapture) {
  std::set<std::string> kinds;
  for (const TStandardDialog& d : StandardDialogs()) {
    SCOPED_TRACE(d.ClassName());
    kinds.insert(d.Kind);
    EXPECT_TRUE(win::FindRecordedDialog(d.Kind))
        << "no data/dialogs/" << d.Kind << ".json: record it with the Windows build's record-dialogs target";
    EXPECT_TRUE(dialogs::ComDlgParams(d.Kind, nullptr).Known()) << "comdlg_params.cpp has no parameter block for " << d.Kind;
    const std::string capture = std::string(LUMETRA_TEST_DATA) + "/captures/" + d.ClassName() + ".txt";
    EXPECT_TRUE(std::filesystem::is_regular_file(capture)) << capture << " is missing: LUMETRA_WRITE_CAPTURES writes it";
  }
  for (const win::RecordedDialog& r : win::RecordedDialogs())
    EXPECT_TRUE(kinds.count(r.Kind)) << "data/dialogs/" << r.Kind << ".json is the recording of no standard dialog class";
}

TEST(StandardDialogs, EachComponentShowsTheRecordingOfItsKind) {
  win::LocalPrinter printer;
  ASSERT_EQ(printer.Error(), "");
  for (const TStandardDialog& d : StandardDialogs()) {
    SCOPED_TRACE(d.ClassName());
    const win::RecordedDialog* recording = win::FindRecordedDialog(d.Kind);
    if (!recording) continue;  // reported above
    const std::unique_ptr<TCommonDialog> dialog(d.Make(nullptr));
    const std::optional<Shown> shown = ShowOnce(*dialog);
    ASSERT_TRUE(shown) << "the dialog did not show";
    EXPECT_EQ(shown->Title, recording->Title);
    EXPECT_EQ(shown->Ids, ShownOf(*recording).Ids);
  }
}

TEST(StandardDialogs, LookupsFindTheStandardClassesAndTheNearestForDescendants) {
  EXPECT_EQ(FindStandardDialog("TOpenDialog")->Class(), TOpenDialog::StaticClass());
  EXPECT_EQ(FindStandardDialog("TReplaceDialog")->Kind, std::string("replace"));
  EXPECT_EQ(FindStandardDialog("TMyOpenDialog"), nullptr) << "by name, the standard classes only";
  EXPECT_EQ(FindStandardDialog("topendialog"), nullptr) << "names are compared exactly";
  EXPECT_EQ(FindStandardDialog(""), nullptr);
  EXPECT_EQ(FindStandardDialog("TCommonDialog"), nullptr);

  EXPECT_EQ(StandardDialogOf(testing_support::TMyOpenDialog::StaticClass()), FindStandardDialog("TOpenDialog"));
  EXPECT_EQ(StandardDialogOf(TSaveDialog::StaticClass()), FindStandardDialog("TSaveDialog"))
      << "a standard class that descends from another is its own row, not its ancestor's";
  EXPECT_EQ(StandardDialogOf(TReplaceDialog::StaticClass())->Kind, std::string("replace"));
  EXPECT_EQ(StandardDialogOf(TCommonDialog::StaticClass()), nullptr);
  EXPECT_EQ(StandardDialogOf(TComponent::StaticClass()), nullptr);
  EXPECT_EQ(StandardDialogOf(nullptr), nullptr);
}
