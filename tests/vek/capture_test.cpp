// Describing a shown dialog window as entries: order, values, ordinal ids and limits.
#include "Vek.hpp"

#include "dialog_window.hpp"
#include "test_support.hpp"
#include "vcl/Forms.hpp"

using namespace vek_test;
using Vek::TLumetra;

namespace {

class Capture : public TranslatorOnDialog {
protected:
  Capture() {
    Vek::OwnerClassName = "TFindDialog";
    FLmt->CaptureList = &FList;
  }
  std::vector<std::string> Captured() {
    FList.Clear();
    FLmt->GetProps(FDialog.Handle());
    std::vector<std::string> v;
    for (int i = 0; i < FList.Count(); ++i) v.push_back(FList.Strings(i));
    return v;
  }
  vcl::TStringList FList;
};

}  // namespace

TEST_F(Capture, WindowThenEachDirectChildInOrder) {
  SendMessageA(FDialog.Child(4), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Don't"));
  const std::vector<std::string> expected = {
      "TFindDialog.Caption='Open'",
      "TFindDialog.Font.Name='MS Sans Serif'",
      "TFindDialog.Font.Charset=0",
      "TFindDialog.Width=401",  // one more than the extent
      "TFindDialog.Height=301",
      "TFindDialog.Caption[1090]='File &name:'",
      "TFindDialog.Width[1090]=81",
      "TFindDialog.Height[1090]=21",
      "TFindDialog.Left[1090]=10",
      "TFindDialog.Top[1090]=10",
      "TFindDialog.Width[1152]=151",  // no text: no Caption entry
      "TFindDialog.Height[1152]=21",
      "TFindDialog.Left[1152]=100",
      "TFindDialog.Top[1152]=10",
      "TFindDialog.Caption[-3]='Look &in:'",  // id 65535: the ordinal id
      "TFindDialog.Width[-3]=81",
      "TFindDialog.Height[-3]=21",
      "TFindDialog.Left[-3]=10",
      "TFindDialog.Top[-3]=40",
      "TFindDialog.Caption[1]='Don''t'",  // doubled, so that the entry reads back as the text
      "TFindDialog.Width[1]=76",
      "TFindDialog.Height[1]=24",
      "TFindDialog.Left[1]=300",
      "TFindDialog.Top[1]=10",
      "TFindDialog.Caption[1024]='&Help'",
      "TFindDialog.Width[1024]=76",
      "TFindDialog.Height[1024]=24",
      "TFindDialog.Left[1024]=300",
      "TFindDialog.Top[1024]=40",
  };
  EXPECT_EQ(Captured(), expected);
}

// Every captured text reads back as the text the window held: apostrophes, line breaks and
// other control characters included.
TEST_F(Capture, TextsReadBackAsTheWindowHeldThem) {
  const std::string texts[] = {"Zone d'impression", "Line one\r\nline two", "\tTab'", "''"};
  for (const std::string& text : texts) {
    SendMessageA(FDialog.Child(1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(FDialog.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    for (const std::string& line : Captured()) {
      const Vek::Entry e = Vek::Entry::Split(line);
      if (e.Kind == Vek::EntryKind::WindowCaption || (e.Kind == Vek::EntryKind::ChildCaption && e.Id() == 1090)) {
        EXPECT_EQ(e.DecodedValue(), text) << line;
      }
    }
  }
}

TEST_F(Capture, EmptyTitleSystemFontAndLongTexts) {
  SendMessageA(FDialog.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  SendMessageA(FDialog.Handle(), WM_SETFONT, 0, 0);
  const std::string long300(300, 'x');
  SendMessageA(FDialog.Child(1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(long300.c_str()));
  const std::vector<std::string> v = Captured();
  ASSERT_GE(v.size(), 6u);
  EXPECT_EQ(v[0], "TFindDialog.Font.Name='System'");
  EXPECT_EQ(v[1], "TFindDialog.Font.Charset=1");
  EXPECT_EQ(v[4], "TFindDialog.Caption[1090]='" + std::string(239, 'x') + "'");
}

TEST_F(Capture, FontHelpersReadAFontOrAnswerForTheSystemFont) {
  EXPECT_EQ(TLumetra::GetFontName(FDialog.OwnFont()), "MS Sans Serif");
  EXPECT_EQ(TLumetra::GetFontCharset(FDialog.OwnFont()), 0);
  EXPECT_EQ(TLumetra::GetFontName(nullptr), "System");
  EXPECT_EQ(TLumetra::GetFontCharset(nullptr), 1);
}

TEST_F(Capture, NothingWithoutACaptureList) {
  FLmt->CaptureList = nullptr;
  FLmt->GetProps(FDialog.Handle());
  EXPECT_EQ(FList.Count(), 0);
}

TEST(MergeCapture, EachKeyOnceEarlierValuesStayAndTheTargetKeepsItsOrder) {
  using V = std::vector<std::string>;
  // Two descriptions of one dialog, the second with a value changed and a key the first lacked.
  const V capture = {"T.Caption='Find'", "T.Width=352", "T.Caption[1]='&Next'",
                     "T.Caption='Find'", "T.Width=400", "T.Caption[1]='&Next'", "T.Caption[2]='Cancel'"};
  const struct {
    const char* Name;
    bool Sorted;
    V Before;
    V After;
    int Added;
  } cases[] = {
      {"empty, unsorted: capture order", false, {}, {"T.Caption='Find'", "T.Width=352", "T.Caption[1]='&Next'", "T.Caption[2]='Cancel'"}, 4},
      {"empty, sorted", true, {}, {"T.Caption='Find'", "T.Caption[1]='&Next'", "T.Caption[2]='Cancel'", "T.Width=352"}, 4},
      {"a kept value and another class", true, {"S.Width=1", "T.Width=300"},
       {"S.Width=1", "T.Caption='Find'", "T.Caption[1]='&Next'", "T.Caption[2]='Cancel'", "T.Width=300"}, 3},
      {"a key ends at the first =, a line without one is all key", false, {"T.Caption[1]=x=y", "T.Caption"},
       {"T.Caption[1]=x=y", "T.Caption", "T.Width=352", "T.Caption[2]='Cancel'"}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    vcl::TStringList plain;
    Vek::TSortList sorted;
    vcl::TStrings& target = c.Sorted ? static_cast<vcl::TStrings&>(sorted) : plain;
    for (const std::string& l : c.Before) target.Add(l);
    vcl::TStringList captured;
    for (const std::string& l : capture) captured.Add(l);
    EXPECT_EQ(Vek::MergeCapture(target, captured), c.Added);
    EXPECT_EQ(testing_support::LinesOf(target), c.After);
  }
}

// ---- A dialog that shows a message instead of itself --------------------------------------

namespace {

std::vector<WPARAM> Answers;

LRESULT CALLBACK BoxProc(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_COMMAND && (LOWORD(WParam) == IDOK || LOWORD(WParam) == IDCANCEL)) {
    Answers.push_back(LOWORD(WParam));
    DestroyWindow(Hwnd);
    return 0;
  }
  return DefWindowProcA(Hwnd, Msg, WParam, LParam);
}

// A print dialog that puts up a message box owned by its window while that is still hidden, as
// comdlg32's PrintDlg does where no printer is installed, and waits for the box to be answered.
class TNoPrinterDialog : public vcl::TPrintDialog {
public:
  using TPrintDialog::TPrintDialog;
  bool Execute() override {
    const HWND mainWindow = vcl::Application->Handle();
    const HWND dialog = CreateWindowExA(0, "#32770", "Print", WS_POPUP | WS_CAPTION, 0, 0, 300, 200, mainWindow, nullptr,
                                        GetModuleHandleA(nullptr), nullptr);
    const HWND box = CreateWindowExA(0, "#32770", "Printer", WS_POPUP | WS_CAPTION, 0, 0, 200, 100, dialog, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    CreateWindowExA(0, "Static", "No printer is installed.", WS_CHILD | WS_VISIBLE, 10, 10, 180, 20, box,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(0xFFFF)), GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoxProc));
    SendMessageA(box, WM_INITDIALOG, 0, 0);
    MSG msg;
    while (IsWindow(box) && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (IsWindow(box)) DestroyWindow(box);  // nobody answered: the test fails below
    DestroyWindow(dialog);
    return false;
  }
};

}  // namespace

TEST(CaptureMessages, AMessageBeforeTheDialogIsClosedAndTheCaptureFailsSayingWhat) {
  vcl::TForm form(vcl::Application);
  auto* lmt = new TLumetra(&form);
  TNoPrinterDialog dialog(&form);
  vcl::TStringList list;
  list.Add("kept");
  Answers.clear();
  EXPECT_THROW_MSG(lmt->GetDlgProps(&dialog, &list), Vek::ECaptureError,
                   "TPrintDialog: not captured: it showed the message \"Printer: No printer is installed.\" instead of "
                   "itself, which was closed");
  EXPECT_EQ(Answers, std::vector<WPARAM>{IDCANCEL}) << "answered once, with Cancel";
  EXPECT_EQ(testing_support::LinesOf(list), std::vector<std::string>{"kept"});
  EXPECT_EQ(Vek::vekInstance, lmt) << "in charge afterwards, as after any capture";
}
