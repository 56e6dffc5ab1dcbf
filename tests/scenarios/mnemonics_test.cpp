// The mnemonic proposals on the live dialogs: the German and Russian entries of the find and
// replace dialogs with every proposal in place of its entry, shown translated; under Wine each
// proposed letter typed with Alt moves the focus to the control its text names (for a label, the
// control after it in tab order).
//
// Notes:
// - The Russian texts reach the dialog through their Font.Charset=204 entries (the apply step
//   sends them as UTF-16), so a Western system shows them; no Russian system is needed.
// - The letter is typed as a Unicode character (KEYEVENTF_UNICODE with Alt held), in the case the
//   text has it: Wine matches a mnemonic folding ASCII letters only, and a Cyrillic letter has
//   no key on the X keyboard of the tests. Wine 8 makes the WM_SYSCHAR of such a key from the
//   high word of its WM_SYSKEYDOWN's lParam, Alt flag (KF_ALTDOWN) and all; the test's message
//   loop takes the flag out of the character again.
#include "checks/mnemonics.hpp"
#include "translator_form.hpp"
#include "vcl/CodePages.hpp"

namespace {

struct EntrySet {
  const char* File;
  int Locale;
  int Page;  // of its texts
};

const EntrySet Sets[] = {{"de.txt", 0x0407, 1252}, {"ru.txt", 0x0419, 1251}};

std::vector<std::string> LinesOf(const char* File) {
  const std::string bytes = testing_support::ReadFile(std::string(LUMETRA_TEST_DATA) + "/mnemonics/" + File);
  std::vector<std::string> lines;
  for (const std::string_view l : vcl::SplitLines(bytes))
    if (!l.empty()) lines.emplace_back(l);
  return lines;
}

#ifdef _WIN32
void SendAltWith(char16_t Letter) {
  INPUT in[4]{};
  for (INPUT& i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = VK_MENU;
  in[1].ki.wScan = Letter, in[1].ki.dwFlags = KEYEVENTF_UNICODE;
  in[2].ki.wScan = Letter, in[2].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
  in[3].ki.wVk = VK_MENU, in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, in, sizeof in[0]);
}

// The dialog's messages until the focus is on Expected, or the input has long been handled.
void PumpUntilFocused(HWND Dialog, HWND Expected) {
  for (int round = 0; round < 50 && GetFocus() != Expected; ++round) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      // Wine's character of a Unicode key carries the Alt flag of its key message.
      if (m.message == WM_SYSCHAR) m.wParam &= ~static_cast<WPARAM>(KF_ALTDOWN);
      if (!IsDialogMessageW(Dialog, &m)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
      }
    }
    if (GetFocus() != Expected) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}
#endif

class Mnemonics : public ::testing::Test {
protected:
  Mnemonics() {
    FForm->SetName("MnemonicsForm");
    for (vcl::TClass c : {vcl::TFindDialog::StaticClass(), vcl::TReplaceDialog::StaticClass()}) {
      auto* d = static_cast<vcl::TFindDialog*>(scenario::AddDialog(FForm, c));
      d->SetFindText("Wort");  // the buttons that act on it are disabled while it is empty
      FDialogs.push_back(d);
    }
    FLmt->Loaded();
  }
  ~Mnemonics() override {
    delete FForm;
    Vek::Interception.Reset();
  }
  // The dialog of each class as shown untranslated: the fresh capture the proposals are made on.
  const checks::DialogLayout* Reference(const std::string& ClassName) {
    if (auto found = FLayouts.find(ClassName); found != FLayouts.end()) return &found->second;
    for (vcl::TCommonDialog* d : FDialogs)
      if (d->ClassName() == ClassName) {
        FLmt->SetTranslate(false);
        scenario::Show(d, [&](HWND W) { FLayouts.insert_or_assign(ClassName, checks::LayoutFromWindow(W, ClassName)); });
        FLmt->SetTranslate(true);
        return &FLayouts.at(ClassName);
      }
    return nullptr;
  }
  win::LocalPrinter FPrinter;
  vcl::TForm* FForm = new vcl::TForm(vcl::Application);
  std::vector<vcl::TCommonDialog*> FDialogs;
  Vek::TLumetra* FLmt = new Vek::TLumetra(FForm);
  std::map<std::string, checks::DialogLayout> FLayouts;
};

}  // namespace

TEST_F(Mnemonics, EachProposedLetterFocusesItsControl) {
  for (const EntrySet& set : Sets) {
    SCOPED_TRACE(set.File);
    checks::CheckInput in;
    in.File = set.File;
    in.Locale = set.Locale;
    std::vector<std::string> lines = LinesOf(set.File);
    for (std::size_t i = 0; i < lines.size(); ++i) in.Entries.push_back({lines[i], static_cast<int>(i) + 1});
    in.Reference = [this](const std::string& ClassName) { return Reference(ClassName); };
    // The table's layout: Wine answers for the X keyboard of the tests, whatever the language.
    const std::vector<checks::MnemonicProposal> proposals = checks::ProposeMnemonics(in, *checks::KeyboardTable(set.Locale));
    ASSERT_GE(proposals.size(), 4u);
    for (const checks::MnemonicProposal& p : proposals) {
      ASSERT_TRUE(p.Entry) << p.Reason;
      lines[static_cast<std::size_t>(p.Line - 1)] = *p.Entry;
    }
    FLmt->Translations()->Clear();
    for (const std::string& l : lines) FLmt->Translations()->SortInsert(l, nullptr);
    int pressed = 0;
    for (vcl::TCommonDialog* dialog : FDialogs) {
      scenario::Show(dialog, [&](HWND Dialog) {
        for (const checks::MnemonicProposal& p : proposals) {
          if (p.ClassName != dialog->ClassName()) continue;
          const std::string property = p.Key.substr(p.Key.find('.') + 1);
          const HWND control = scenario::WindowOf(Dialog, property);
          ASSERT_NE(control, nullptr) << p.Key;
          const std::u16string text = vcl::ToUtf16(set.Page, Vek::Entry::Split(std::string_view(*p.Entry)).DecodedValue());
          EXPECT_EQ(vcl::Utf16ToUtf8(scenario::WideTextOf(control)), vcl::Utf16ToUtf8(text)) << p.Key << " shows the proposal";
          const std::size_t amp = text.find(u'&');
          if (amp == std::u16string::npos || GetDlgCtrlID(control) == IDCANCEL) continue;  // a mnemonic taken out
#ifdef _WIN32
          // A label hands the focus on to the control after it; a button takes it (and is clicked).
          char klass[16] = "";
          GetClassNameA(control, klass, sizeof klass);
          const HWND expected = lstrcmpiA(klass, "Static") == 0 ? GetNextDlgTabItem(Dialog, control, FALSE) : control;
          const HWND elsewhere = GetDlgItem(Dialog, expected == GetDlgItem(Dialog, IDCANCEL) ? 1152 : IDCANCEL);
          SetForegroundWindow(Dialog);
          SetFocus(elsewhere);
          ASSERT_NE(GetFocus(), expected);
          SendAltWith(text[amp + 1]);
          PumpUntilFocused(Dialog, expected);
          EXPECT_EQ(GetFocus(), expected) << p.Key << ": Alt+" << vcl::Utf16ToUtf8(text.substr(amp + 1, 1));
#endif
          ++pressed;
        }
      });
    }
    EXPECT_GE(pressed, 3);
  }
}
