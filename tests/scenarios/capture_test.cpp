// Capturing each kind of dialog, on both window systems, against the capture of the live
// dialogs under Wine. A process of its own: Wine's file dialog keeps the size it was last given.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "translator_form.hpp"

using namespace scenario;

namespace {

// The expected capture of a class, as written from the live dialogs under Wine.
std::string CaptureFile(const std::string& ClassName) { return std::string(LUMETRA_CAPTURES) + "/" + ClassName + ".txt"; }

// The first set of captured entries: the capture may describe the dialog more than once.
std::vector<std::string> FirstSet(const vcl::TStrings& List) {
  std::vector<std::string> v;
  for (int i = 0; i < List.Count(); ++i) {
    if (i > 0 && List.Strings(i) == List.Strings(0)) break;
    v.push_back(List.Strings(i));
  }
  return v;
}

using Translator = TranslatorForm;

}  // namespace

TEST_F(Translator, EachKindIsCapturedInOrderAndClosesByItself) {
  ASSERT_TRUE(FPrinter.Error().empty()) << FPrinter.Error();
  FLmt->SetTranslate(false);
  const char* write = std::getenv("LUMETRA_WRITE_CAPTURES");
  for (vcl::TCommonDialog* dialog : FDialogs) {
    const std::string name = dialog->ClassName();
    SCOPED_TRACE(name);
    vcl::TStringList list;
    FLmt->GetDlgProps(dialog, &list);
    EXPECT_EQ(dialog->Handle(), nullptr) << "the captured dialog closed";
    const std::vector<std::string> captured = FirstSet(list);
    ASSERT_GE(captured.size(), 5u);
    EXPECT_EQ(captured[0].rfind(name + ".Caption='", 0), 0u);
    EXPECT_EQ(captured[1].rfind(name + ".Font.Name='", 0), 0u);
    EXPECT_EQ(captured[2].rfind(name + ".Font.Charset=", 0), 0u);
    EXPECT_EQ(captured[3].rfind(name + ".Width=", 0), 0u);
    EXPECT_EQ(captured[4].rfind(name + ".Height=", 0), 0u);
    EXPECT_FALSE(FLmt->Translate()) << "the capture puts the Translate flag back";
    EXPECT_EQ(Vek::vekInstance, FLmt);

    std::string text;
    for (const std::string& line : captured) text += line + "\n";
    if (write) {
      std::ofstream(CaptureFile(name), std::ios::binary) << text;
    } else {
      std::ifstream in(CaptureFile(name), std::ios::binary);
      std::stringstream expected;
      expected << in.rdbuf();
      EXPECT_EQ(text, expected.str()) << "the capture of the live dialog under Wine";
    }
  }
}

TEST_F(Translator, AClassOutsideTheSixFamiliesIsRegisteredButNotShown) {
  TOwnDialog own(FForm);
  vcl::TStringList list;
  FLmt->GetDlgProps(&own, &list);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_GE(Vek::ClassRegs->IndexOf(TOwnDialog::StaticClass()), 0);
}
