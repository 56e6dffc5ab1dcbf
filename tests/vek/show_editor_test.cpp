// The Translations property and the first verb open the translations editor through ShowEditor
// and mark the form modified exactly when the editor hands back a changed copy.
#include <memory>

#include "Vek.hpp"
#include "design/DsgnIntf.hpp"
#include "input.hpp"
#include "test_support.hpp"
#include "vcl/StdCtrls.hpp"

using namespace Vek;

namespace {

int ThisModule = 0;

struct CountingDesigner : design::TFormDesigner {
  int Count = 0;
  void Modified() override { ++Count; }
};

vcl::TCustomForm* Editor() { return dynamic_cast<vcl::TCustomForm*>(vcl::TControl::FromHandle(GetActiveWindow())); }

class ShowEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
#ifndef _WIN32
    // The editor keeps its settings per user; here in a folder of the test's own.
    setenv("XDG_CONFIG_HOME", FConfig.Path().string().c_str(), 1);
#endif
    {
      design::TCurrentModule module(&ThisModule);
      Register();
    }
    FForm = std::make_unique<vcl::TForm>(vcl::Application);
    FForm->SetName("Form1");
    FLumetra = new TLumetra(FForm.get());
    FLumetra->OrgProps()->SortInsert("TOpenDialog.Caption='Open'", nullptr);
    FLumetra->Translations()->SortInsert("TOpenDialog.Caption='Open'", nullptr);
  }
  void TearDown() override {
    FForm.reset();
    design::DropModuleRegistrations(&ThisModule);
  }
  // Opens the editor the way Which says and runs the steps on it.
  void Open(int Which, std::vector<std::function<void()>> Steps) {
    ui_test::RunScript(
        [&] {
          if (Which == 0)
            design::CreatePropertyEditor(&FDesigner, {FLumetra}, *TLumetra::StaticClass()->FindProperty("Translations"))->Edit();
          else
            design::GetComponentEditor(FLumetra, &FDesigner)->ExecuteVerb(0);
        },
        std::move(Steps));
  }
  testing_support::ScratchDir FConfig;
  std::unique_ptr<vcl::TForm> FForm;
  TLumetra* FLumetra = nullptr;
  CountingDesigner FDesigner;
};

}  // namespace

TEST_F(ShowEditorTest, ModifiedExactlyWhenTheEditorReturnsTrue) {
  const struct {
    const char* What;
    std::vector<std::function<void()>> Steps;
    int Modified;
    const char* Entry;
  } cases[] = {
      {"Cancel", {[] { ui_test::Click(Editor()->Field<vcl::TButton>("BtnCancel")); }}, 0, "TOpenDialog.Caption='Open'"},
      {"OK without a change", {[] { ui_test::Click(Editor()->Field<vcl::TButton>("BtnOK")); }}, 0,
       "TOpenDialog.Caption='Open'"},
      {"OK after a translation",
       {[] { Editor()->Field<vcl::TMemo>("EdtTranslation")->SetFocus(); },
        [] { Editor()->Field<vcl::TMemo>("EdtTranslation")->SetText("Oeffnen"); },
        [] { ui_test::Click(Editor()->Field<vcl::TButton>("BtnOK")); }},
       1, "TOpenDialog.Caption='Oeffnen'"},
  };
  for (int which : {0, 1}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(which == 0 ? "Translations property: " : "verb 0: ") + c.What);
      FDesigner.Count = 0;
      FLumetra->Translations()->Clear();
      FLumetra->Translations()->SortInsert("TOpenDialog.Caption='Open'", nullptr);
      Open(which, c.Steps);
      EXPECT_EQ(FDesigner.Count, c.Modified);
      ASSERT_EQ(FLumetra->Translations()->Count(), 1);
      EXPECT_EQ(FLumetra->Translations()->Strings(0), c.Entry);
    }
  }
}
