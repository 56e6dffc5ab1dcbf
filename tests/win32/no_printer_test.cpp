// Print dialogs where no printer is installed, under Wine in a prefix of their own that never
// gets one: comdlg32 shows its "no printer" message instead of the dialog, and a capture closes
// it, says so and goes on with the other dialogs, in the command line and in the editor.
#include <cstdio>

#include "captured_output.hpp"
#include "commands.hpp"
#include "editor_fixture.hpp"
#include "form_file.hpp"
#include "test_support.hpp"
#include "win/printer.h"

namespace {

const char* const PrinterlessForm =
    "object Form1: TForm1\r\n"
    "  object PrintDialog1: TPrintDialog\r\n  end\r\n"
    "  object OpenDialog1: TOpenDialog\r\n  end\r\n"
    "  object PrinterSetupDialog1: TPrinterSetupDialog\r\n  end\r\n"
    "  object Lumetra1: TLumetra\r\n  end\r\n"
    "end\r\n";

class NoPrinterEditor : public editor_test::Editor {};

}  // namespace

TEST(NoPrinter, CaptureReportsThePrintDialogsAndCapturesTheOthers) {
  ASSERT_FALSE(win::HasDefaultPrinter()) << "this test needs a Wine prefix without a printer";
  testing_support::ScratchDir dir;
  const std::string form = dir.File("form1.dfm"), errors = dir.File("stderr.txt");
  testing_support::WriteFile(form, PrinterlessForm);
  std::FILE* f = std::fopen(errors.c_str(), "wb");
  testing_support::CapturedOutput captured(stdout);
  const int code = lumetra_cli::Run({"capture", form}, f);
  const std::string shown = captured.Text();
  std::fclose(f);
  EXPECT_EQ(code, 1);
  for (const char* name : {"TPrintDialog", "TPrinterSetupDialog"})
    EXPECT_NE(shown.find(std::string(name) + ": not captured: it showed the message \""), std::string::npos) << shown;
  EXPECT_NE(shown.find("TOpenDialog: "), std::string::npos) << shown;
  EXPECT_EQ(testing_support::ReadFile(errors),
            "lumetra capture: " + form + ": written with the values captured; not captured: TPrintDialog, TPrinterSetupDialog\n");
  lumetra_cli::FormFile back(form);
  const vcl::TStrings& org = *back.Translator()->OrgProps();
  EXPECT_GE(org.IndexOf("TOpenDialog.Caption[1090]='File &name:'"), 0);
  for (int i = 0; i < org.Count(); ++i) EXPECT_EQ(org.Strings(i).rfind("TPrint", 0), std::string::npos) << org.Strings(i);
}

TEST_F(NoPrinterEditor, TheEditorCapturesTheOthersAndShowsWhichItCouldNot) {
  ASSERT_FALSE(win::HasDefaultPrinter()) << "this test needs a Wine prefix without a printer";
  new vcl::TPrintDialog(FForm);
  new vcl::TFontDialog(FForm);
  FForm->SetDesigning(true);
  VekEdit::TDlgEditor& e = Open();
  ASSERT_EQ(FDialogs.Asked.size(), 1u);
  EXPECT_EQ(FDialogs.Asked[0].rfind("Error TPrintDialog: not captured: it showed the message \"", 0), 0u) << FDialogs.Asked[0];
  int font = 0;
  for (int i = 0; i < e.OrgList().Count(); ++i) font += e.OrgList().Get(i).rfind("TFontDialog.", 0) == 0;
  EXPECT_GT(font, 4) << "the font dialog was captured all the same";
}
