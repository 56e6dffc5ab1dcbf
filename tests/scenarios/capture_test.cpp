// Capturing each kind of dialog, on both window systems, against the capture of the live
// dialogs under Wine. A process of its own: Wine's file dialog keeps the size it was last given.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "translator_form.hpp"

using namespace scenario;

namespace {

// The values a capture of a class gives (each key once, as they are kept), as written from the
// live dialogs under Wine.
std::string CaptureFile(const std::string& ClassName) { return std::string(LUMETRA_CAPTURES) + "/" + ClassName + ".txt"; }

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
    vcl::TStringList values;
    Vek::MergeCapture(values, list);
    const std::vector<std::string> captured = testing_support::LinesOf(values);
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

namespace {

// A capture list that fails once it holds Room lines.
class FullList : public vcl::TStringList {
public:
  explicit FullList(int ARoom) : Room(ARoom) {}
  void InsertObject(int Index, std::string S, vcl::TObject* AObject) override {
    if (Count() >= Room) throw vcl::EListError("the capture list is full");
    vcl::TStringList::InsertObject(Index, std::move(S), AObject);
  }
  int Room;
};

}  // namespace

TEST_F(Translator, AnExceptionOfTheCaptureLeavesGetDlgPropsAndTheDialogCloses) {
  for (vcl::TCommonDialog* dialog : FDialogs) {
    SCOPED_TRACE(dialog->ClassName());
    FullList list(3);
    EXPECT_THROW_MSG(FLmt->GetDlgProps(dialog, &list), vcl::EListError, "the capture list is full");
    vcl::Application->ProcessMessages();  // a find dialog closes through its queue
    EXPECT_EQ(dialog->Handle(), nullptr) << "the dialog was cancelled";
    EXPECT_EQ(Vek::OldWndProc, nullptr) << "and got its own procedure back";
    EXPECT_FALSE(Vek::DebugDlg);
    EXPECT_EQ(vcl::Application->TakeHookException(), nullptr) << "raised once";
  }
}
