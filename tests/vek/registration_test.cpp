// Unit Vek's design-time registration: the five calls and their module, the property editors'
// attributes and texts, the verbs, the FileName dialog, the About actions and the help.
#include <filesystem>
#include <memory>

#include "Vek.hpp"
#include "design/DsgnIntf.hpp"
#include "design/ToolIntf.hpp"
#include "dialog_support.hpp"
#include "input.hpp"
#include "test_support.hpp"
#include "vcl/StdCtrls.hpp"

using namespace Vek;
using testing_support::ScratchDir;

namespace {

int ThisModule = 0;  // stands for the package's module handle

struct CountingDesigner : design::TFormDesigner {
  int Count = 0;
  void Modified() override { ++Count; }
};

struct FakeProject : design::TIToolServices {
  std::string Name;
  std::string GetProjectName() override { return Name; }
};

DWORD FakeNow = 0;
DWORD FakeClock() { return FakeNow; }

// A designed form holding a translator, with the package registered as one module.
class Registration : public ::testing::Test {
protected:
  void SetUp() override {
    {
      design::TCurrentModule module(&ThisModule);
      Register();
    }
    FForm = std::make_unique<vcl::TForm>(vcl::Application);
    FForm->SetName("Form1");
    FLumetra = new TLumetra(FForm.get());
    FLumetra->SetName("Lumetra1");
    FForm->SetDesigning(true);
  }
  void TearDown() override {
    FForm.reset();
    design::DropModuleRegistrations(&ThisModule);
  }
  std::unique_ptr<design::TPropertyEditor> Editor(const char* Property) {
    return design::CreatePropertyEditor(&FDesigner, {FLumetra}, *TLumetra::StaticClass()->FindProperty(Property));
  }
  std::unique_ptr<design::TComponentEditor> Verbs() { return design::GetComponentEditor(FLumetra, &FDesigner); }

  std::unique_ptr<vcl::TForm> FForm;
  TLumetra* FLumetra = nullptr;
  CountingDesigner FDesigner;
};

}  // namespace

TEST(VekRegister, MakesFiveCallsInOrderAllOfThemGoneWithTheModule) {
  {
    design::TCurrentModule module(&ThisModule);
    Register();
  }
  const vcl::TClass lumetra = TLumetra::StaticClass();
  const auto props = design::PropertyEditorRegistrations();
  const auto editors = design::ComponentEditorRegistrations();
  const auto palette = design::PaletteEntries();
  ASSERT_EQ(props.size(), 3u);
  ASSERT_EQ(editors.size(), 1u);
  ASSERT_EQ(palette.size(), 1u);
  const struct {
    const char* Type;
    const char* Property;
    const char* Editor;
  } expected[] = {{"string", "About", "TLmtAboutProperty"},
                  {"string", "FileName", "TLmtFileNameProperty"},
                  {"TStrings", "Translations", "TLmtTranslationsProperty"}};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(expected[i].Property);
    EXPECT_STREQ(props[i].PropertyType->Name, expected[i].Type);
    EXPECT_EQ(props[i].ComponentClass, lumetra);
    EXPECT_EQ(props[i].PropertyName, expected[i].Property);
    EXPECT_EQ(props[i].EditorClass.Name, expected[i].Editor);
    EXPECT_EQ(props[i].Module, &ThisModule);
  }
  EXPECT_EQ(editors[0].ComponentClass, lumetra);
  EXPECT_EQ(editors[0].EditorClass.Name, "TLmtTranslatorEditor");
  EXPECT_EQ(palette[0].Page, "Brevane");
  EXPECT_EQ(palette[0].ComponentClass, lumetra);
  const std::uint64_t order[] = {props[0].Sequence, props[1].Sequence, props[2].Sequence, editors[0].Sequence,
                                 palette[0].Sequence};
  EXPECT_TRUE(std::is_sorted(std::begin(order), std::end(order)));
  EXPECT_EQ(order[4] - order[0], 4u) << "nothing else is registered in between";

  design::DropModuleRegistrations(&ThisModule);
  EXPECT_TRUE(design::PropertyEditorRegistrations().empty());
  EXPECT_TRUE(design::ComponentEditorRegistrations().empty());
  EXPECT_TRUE(design::PalettePages().empty());
  TLumetra lmt(nullptr);
  EXPECT_EQ(design::GetComponentEditor(&lmt, nullptr)->GetVerbCount(), 0);
  EXPECT_EQ(design::GetPropertyEditorClass(lumetra, *lumetra->FindProperty("About")).Name, "TStringProperty");
}

TEST_F(Registration, PropertyEditorsShowFixedTextsOrTheStoredName) {
  FLumetra->SetAbout("something");
  FLumetra->Translations()->Add("TOpenDialog.Caption=Open");
  FLumetra->SetFileName("dlg.txt");
  const struct {
    const char* Property;
    std::uint8_t Attributes;
    const char* Value;
  } cases[] = {
      {"Translations", 0x44, "(Dialog Editor)"},
      {"About", 0x44, "(About...)"},
      {"FileName", 0x04, "dlg.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Property);
    auto editor = Editor(c.Property);
    EXPECT_EQ(editor->GetAttributes().Byte(), c.Attributes);
    EXPECT_EQ(editor->GetValue(), c.Value);
    EXPECT_EQ(editor->GetName(), c.Property);
    EXPECT_EQ(editor->GetEditLimit(), 255);
  }
  FLumetra->Translations()->Clear();
  FLumetra->SetAbout("");
  EXPECT_EQ(Editor("Translations")->GetValue(), "(Dialog Editor)") << "whatever the component holds";
  EXPECT_EQ(Editor("About")->GetValue(), "(About...)");

  auto fileName = Editor("FileName");
  fileName->SetValue("other.txt");
  EXPECT_EQ(FLumetra->FileName(), "other.txt") << "typed text is stored";
  EXPECT_EQ(FDesigner.Count, 1);
  EXPECT_EQ(Editor("Locale")->GetValue(), "0") << "the other properties keep the editors of their kind";
}

TEST_F(Registration, VerbsInOrderAndNothingBeyond) {
  auto verbs = Verbs();
  ASSERT_EQ(verbs->GetVerbCount(), 3);
  const char* texts[] = {"Common Dialog Translation Editor", "About Lumetra", "Help Contents"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(verbs->GetVerb(i), texts[i]);
  for (int i : {-1, 3, 100}) {
    EXPECT_EQ(verbs->GetVerb(i), "");
    verbs->ExecuteVerb(i);  // does nothing
  }
  EXPECT_EQ(FDesigner.Count, 0);
  EXPECT_EQ(verbs->Component(), FLumetra);
}

TEST_F(Registration, AboutNeverMarksTheFormModified) {
  DWORD (*saved)() = std::exchange(TimedMessageClock, &FakeClock);
  int shown = 0;
  auto closeBox = [&] {
    auto* box = dynamic_cast<vcl::TCustomForm*>(vcl::TControl::FromHandle(GetActiveWindow()));
    if (!box) return;
    ++shown;
    EXPECT_EQ(box->Caption(), "About ...");
    FakeNow += TimedMessageDelay;
    SendMessageA(box->Handle(), WM_TIMER, 1, 0);
    box->Field<vcl::TButton>("Button")->Click();
  };
  ui_test::RunScript([&] { Editor("About")->Edit(); }, {closeBox});
  ui_test::RunScript([&] { Verbs()->ExecuteVerb(1); }, {closeBox});
  TimedMessageClock = saved;
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(FDesigner.Count, 0);
  EXPECT_EQ(FLumetra->About(), "");
}

// ---- The FileName dialog ---------------------------------------------------------------------

namespace {

// What the test's hook does with the open dialog: notes what the component started it with,
// then types Choose and presses OK, or cancels when Choose is empty.
std::string StartName, Choose, Settings;
bool Handled = false;

bool FileDialogHook(vcl::TCommonDialog* Self, vcl::TMessage& Msg) {
  if (Msg.Msg == WM_ENTERIDLE && !Handled) {
    Handled = true;
    const HWND dialog = reinterpret_cast<HWND>(Msg.LParam);
    HWND box = GetDlgItem(dialog, 1148);
    if (!box) box = GetDlgItem(dialog, edt1);
    const auto* open = static_cast<vcl::TOpenDialog*>(Self);
    StartName = open->FileName();
    Settings = open->Filter() + " / " + open->Title() + " / " + open->DefaultExt() + " / " +
               (open->Owner() == vcl::Application ? "Application" : "another owner");
    if (!Choose.empty()) SetWindowTextA(box, Choose.c_str());
    PostMessageA(dialog, WM_COMMAND, Choose.empty() ? IDCANCEL : IDOK, 0);
  }
  return vcl::TCommonDialog::MessageHookEntry(Self, Msg);
}

}  // namespace

TEST_F(Registration, FileNameDialogStartsFromTheStoredNameAndStoresTheChoice) {
  ScratchDir scratch;
  std::filesystem::create_directories(scratch.Path() / "project");
  std::filesystem::create_directories(scratch.Path() / "elsewhere");
  const std::string appDir = scratch.File("project") + std::string(1, std::filesystem::path::preferred_separator);
  const std::string elsewhere = scratch.File("elsewhere") + std::string(1, std::filesystem::path::preferred_separator);
  FakeProject project;
  project.Name = appDir + "Project1.dpr";
  design::TIToolServices* saved = std::exchange(design::ToolServices, &project);
  ASSERT_EQ(FLumetra->GetAppDir(), appDir);
  // An existing file with this form's line in it, and another form's line that stays out.
  testing_support::WriteFile(appDir + "shared.txt",
                             "#0Form1.TOpenDialog.Caption%0='Open it'\r\n#0Form2.TFontDialog.Caption%0='Font'\r\n");

  const struct {
    const char* What;
    std::string Stored;     // FileName before
    std::string Start;      // what the dialog starts with
    std::string Choose;     // "" cancels
    std::string After;      // FileName after
    int Modified;
    int Entries;            // Translations afterwards
  } cases[] = {
      {"empty, cancelled", "", "", "", "", 0, 0},
      {"bare name, cancelled", "t.txt", appDir + "t.txt", "", "t.txt", 0, 0},
      {"new file in the project's folder", "", "", appDir + "new.txt", "new.txt", 1, 0},
      {"file elsewhere", "t.txt", appDir + "t.txt", elsewhere + "x.txt", elsewhere + "x.txt", 1, 0},
      {"full path kept as the start", elsewhere + "x.txt", elsewhere + "x.txt", "", elsewhere + "x.txt", 0, 0},
      {"existing file: merged", "", "", appDir + "shared.txt", "shared.txt", 1, 1},
  };
  testing_support::EntryGuard guard(vcl::TOpenDialog::StaticClass(), &FileDialogHook);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    FLumetra->SetFileName(c.Stored);
    FLumetra->Translations()->Clear();
    FDesigner.Count = 0;
    Handled = false;
    Choose = c.Choose;
    const int owned = vcl::Application->ComponentCount();
    Editor("FileName")->Edit();
    EXPECT_TRUE(Handled);
    EXPECT_EQ(StartName, c.Start);
    EXPECT_EQ(Settings, "Dialog translations (*.txt)|*.txt / Select a dialog translations file / txt / Application");
    EXPECT_EQ(FLumetra->FileName(), c.After);
    EXPECT_EQ(FDesigner.Count, c.Modified);
    EXPECT_EQ(FLumetra->Translations()->Count(), c.Entries);
    EXPECT_EQ(vcl::Application->ComponentCount(), owned) << "the dialog is freed";
  }
  EXPECT_EQ(testing_support::LinesOf(*FLumetra->Translations()),
            std::vector<std::string>{"TOpenDialog.Caption='Open it'"});
  design::ToolServices = saved;
}

// ---- Help ------------------------------------------------------------------------------------

namespace {

std::vector<std::string> HelpCalls;
void RecordExec(const std::string& CommandLine, int Show) {
  HelpCalls.push_back("exec " + CommandLine + " / " + vcl::IntToStr(Show));
}
void RecordOpen(const std::string& Document) { HelpCalls.push_back("open " + Document); }

}  // namespace

TEST(VekHelp, OpensWhatLiesBesideTheModuleShown) {
  ScratchDir scratch;
  const THelpSystem saved = std::exchange(HelpSystem, THelpSystem{&RecordExec, &RecordOpen});
  const std::string sep(1, std::filesystem::path::preferred_separator);
  const struct {
    const char* Folder;
    std::vector<const char*> Files;
    bool Windows;  // expect WinHelp on Windows, the document elsewhere
  } cases[] = {
      {"none", {}, false},
      {"html", {"Vek.html"}, false},
      {"both", {"Vek.html", "VEK.HLP"}, true},
      {"with blank", {"VEK.HLP"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Folder);
    std::filesystem::create_directories(scratch.Path() / c.Folder);
    const std::string folder = scratch.File(c.Folder) + sep;
    for (const char* f : c.Files) testing_support::WriteFile(folder + f, "help");
    HelpCalls.clear();
    ShowHelp(folder);
    std::vector<std::string> expected;
#ifdef _WIN32
    const std::string hlp = folder + "VEK.HLP";
    const std::string quoted = hlp.find(' ') != std::string::npos ? "\"" + hlp + "\"" : hlp;
    if (c.Windows) expected.push_back("exec WINHLP32.EXE " + quoted + " / 1");
    else if (!c.Files.empty()) expected.push_back("open " + folder + "Vek.html");
#else
    for (const char* f : c.Files)
      if (std::string(f) == "Vek.html") expected.push_back("open " + folder + "Vek.html");
#endif
    EXPECT_EQ(HelpCalls, expected);
  }
  HelpCalls.clear();
  ShowHelp("");
  EXPECT_TRUE(HelpCalls.empty());
  HelpSystem = saved;
}

TEST_F(Registration, HelpVerbLooksBesideTheModule) {
  const std::string dir = ModuleDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir)) << dir;
  EXPECT_TRUE(dir.back() == '/' || dir.back() == '\\') << dir;
  const THelpSystem saved = std::exchange(HelpSystem, THelpSystem{&RecordExec, &RecordOpen});
  HelpCalls.clear();
  const bool hasHelp = vcl::FileExists(dir + HelpDocument) || vcl::FileExists(dir + "VEK.HLP");
  Verbs()->ExecuteVerb(2);
  HelpSystem = saved;
  EXPECT_EQ(HelpCalls.size(), hasHelp ? 1u : 0u);
  EXPECT_EQ(FDesigner.Count, 0);
}
