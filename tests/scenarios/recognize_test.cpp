// Scenarios on both window systems: a common dialog shown through plain comdlg32 calls (no
// dialog component) is named by its kind from its window, as a thread hook sees it on
// WM_INITDIALOG, and a program's own dialog is none. Under Wine the same run in German, Russian
// and Japanese (ctest entries of their own, LUMETRA_LC_ALL), where the texts differ and the
// kinds must not.
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Vek.hpp"
#include "win/printer.h"

namespace {

// What the watch saw: the kind named on every WM_INITDIALOG, in order.
std::vector<std::string> Seen;
HHOOK Watch = nullptr;

// The dialog to cancel for a window that got WM_INITDIALOG: a file dialog's template child
// cancels the file dialog around it.
HWND TopDialog(HWND Window) { return (GetWindowLongA(Window, GWL_STYLE) & WS_CHILD) ? GetParent(Window) : Window; }

LRESULT CALLBACK WatchInitDialog(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(LParam);
    if (m->message == WM_INITDIALOG) {
      Seen.push_back(Vek::DialogKindOfWindow(m->hwnd));
      PostMessageA(TopDialog(m->hwnd), WM_COMMAND, IDCANCEL, 0);
    }
  }
  return CallNextHookEx(Watch, Code, WParam, LParam);
}

// Runs the queue until the modeless dialog is gone (its IDCANCEL is posted already).
void PumpUntilGone(HWND Dialog) {
  MSG msg;
  for (int i = 0; i < 100000 && IsWindow(Dialog) && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&msg);
  if (IsWindow(Dialog)) DestroyWindow(Dialog);
}

class Recognize : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(FPrinter.Error().empty()) << FPrinter.Error();
    FOwner = CreateWindowExA(0, "Static", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(FOwner, nullptr);
    Seen.clear();
    Watch = SetWindowsHookExA(WH_CALLWNDPROCRET, &WatchInitDialog, nullptr, GetCurrentThreadId());
    ASSERT_NE(Watch, nullptr);
  }
  void TearDown() override {
    if (Watch) UnhookWindowsHookEx(Watch);
    Watch = nullptr;
    if (FOwner) DestroyWindow(FOwner);
  }

  // Every WM_INITDIALOG of what Show showed named Kind, and there was one at least.
  void ExpectSeen(const std::string& Kind, const std::function<void()>& Show, const std::string& How) {
    Seen.clear();
    Show();
    ASSERT_FALSE(Seen.empty()) << How << ": no dialog was shown";
    for (const std::string& seen : Seen) EXPECT_EQ(seen, Kind) << How;
  }

  template <typename Ofn, typename Char, typename Call>
  void ShowFile(Call Show, DWORD Flags) {
    Char file[260] = {};
    Ofn ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = FOwner;
    ofn.lpstrFile = file;
    ofn.nMaxFile = 260;
    ofn.Flags = Flags;
    Show(&ofn);
  }
  template <typename Fr, typename Char, typename Call>
  void ShowFind(Call Show) {
    Char what[80] = {'a'}, with[80] = {'b'};
    Fr fr{};
    fr.lStructSize = sizeof fr;
    fr.hwndOwner = FOwner;
    fr.lpstrFindWhat = what;
    fr.wFindWhatLen = 80;
    fr.lpstrReplaceWith = with;
    fr.wReplaceWithLen = 80;
    fr.Flags = FR_DOWN;
    PumpUntilGone(Show(&fr));
  }
  template <typename Cf, typename LogFont, typename Call>
  void ShowFont(Call Show) {
    LogFont lf{};
    Cf cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = FOwner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS;
    Show(&cf);
  }
  template <typename Cc, typename Call>
  void ShowColor(Call Show) {
    COLORREF custom[16] = {};
    Cc cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = FOwner;
    cc.lpCustColors = custom;
    Show(&cc);
  }
  template <typename Pd, typename Call>
  void ShowPrint(Call Show, DWORD Flags) {
    Pd pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = FOwner;
    pd.Flags = Flags;
    Show(&pd);
#ifdef _WIN32
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
#endif
  }

  win::LocalPrinter FPrinter;
  HWND FOwner = nullptr;
};

TEST_F(Recognize, EveryKindShownThroughItsAnsiCall) {
  ExpectSeen("TOpenDialog", [&] { ShowFile<OPENFILENAMEA, char>(&GetOpenFileNameA, OFN_EXPLORER); }, "GetOpenFileNameA");
  ExpectSeen("TSaveDialog", [&] { ShowFile<OPENFILENAMEA, char>(&GetSaveFileNameA, OFN_EXPLORER); }, "GetSaveFileNameA");
  ExpectSeen("TFontDialog", [&] { ShowFont<CHOOSEFONTA, LOGFONTA>(&ChooseFontA); }, "ChooseFontA");
  ExpectSeen("TColorDialog", [&] { ShowColor<CHOOSECOLORA>(&ChooseColorA); }, "ChooseColorA");
  ExpectSeen("TPrintDialog", [&] { ShowPrint<PRINTDLGA>(&PrintDlgA, 0); }, "PrintDlgA");
  ExpectSeen("TPrinterSetupDialog", [&] { ShowPrint<PRINTDLGA>(&PrintDlgA, PD_PRINTSETUP); }, "PrintDlgA PD_PRINTSETUP");
  ExpectSeen("TFindDialog", [&] { ShowFind<FINDREPLACEA, char>(&FindTextA); }, "FindTextA");
  ExpectSeen("TReplaceDialog", [&] { ShowFind<FINDREPLACEA, char>(&ReplaceTextA); }, "ReplaceTextA");
}

// Windows that are no common dialog: none, though one has the find dialog's edit and IDOK.
TEST_F(Recognize, OtherWindowsAreNone) {
  EXPECT_EQ(Vek::DialogKindOfWindow(nullptr), "");
  EXPECT_EQ(Vek::DialogKindOfWindow(FOwner), "");
  const HWND own = CreateWindowExA(0, "#32770", "own", WS_POPUP, 0, 0, 300, 200, FOwner, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(own, nullptr);
  auto child = [&](const char* Class, DWORD Style, int Id) {
    CreateWindowExA(0, Class, "", WS_CHILD | WS_VISIBLE | Style, 10, 10 + 25 * Id % 100, 100, 20, own,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), GetModuleHandleA(nullptr), nullptr);
  };
  child("Edit", 0, 1152);
  child("Button", BS_DEFPUSHBUTTON, IDOK);
  child("Button", BS_PUSHBUTTON, IDCANCEL);
  EXPECT_EQ(Vek::DialogKindOfWindow(own), "");
  // The find dialog's checkboxes and direction as well, but not as the kinds of control it has.
  child("Button", BS_PUSHBUTTON, 1040);
  child("Button", BS_PUSHBUTTON, 1041);
  child("Button", BS_PUSHBUTTON, 1056);
  child("Button", BS_PUSHBUTTON, 1057);
  child("Button", BS_PUSHBUTTON, 1072);
  EXPECT_EQ(Vek::DialogKindOfWindow(own), "");
  DestroyWindow(own);
}

#ifdef _WIN32

// The language the ctest entry runs in (LUMETRA_RECOGNIZE_LANGUAGE, a primary language id) is
// the one comdlg32 answers in, so the other tests of the run see its texts.
TEST_F(Recognize, RunsInTheLanguageOfItsEntry) {
  const char* language = std::getenv("LUMETRA_RECOGNIZE_LANGUAGE");
  if (!language) GTEST_SKIP() << "no language named";
  EXPECT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), std::atoi(language));
}

TEST_F(Recognize, EveryKindShownThroughItsUnicodeCall) {
  ExpectSeen("TOpenDialog", [&] { ShowFile<OPENFILENAMEW, wchar_t>(&GetOpenFileNameW, OFN_EXPLORER); }, "GetOpenFileNameW");
  ExpectSeen("TSaveDialog", [&] { ShowFile<OPENFILENAMEW, wchar_t>(&GetSaveFileNameW, OFN_EXPLORER); }, "GetSaveFileNameW");
  ExpectSeen("TFontDialog", [&] { ShowFont<CHOOSEFONTW, LOGFONTW>(&ChooseFontW); }, "ChooseFontW");
  ExpectSeen("TColorDialog", [&] { ShowColor<CHOOSECOLORW>(&ChooseColorW); }, "ChooseColorW");
  ExpectSeen("TPrintDialog", [&] { ShowPrint<PRINTDLGW>(&PrintDlgW, 0); }, "PrintDlgW");
  ExpectSeen("TPrinterSetupDialog", [&] { ShowPrint<PRINTDLGW>(&PrintDlgW, PD_PRINTSETUP); }, "PrintDlgW PD_PRINTSETUP");
  ExpectSeen("TFindDialog", [&] { ShowFind<FINDREPLACEW, wchar_t>(&FindTextW); }, "FindTextW");
  ExpectSeen("TReplaceDialog", [&] { ShowFind<FINDREPLACEW, wchar_t>(&ReplaceTextW); }, "ReplaceTextW");
}

TEST_F(Recognize, PageSetupThroughBothCalls) {
  auto show = [&](auto Call, auto Psd) {
    Psd.lStructSize = sizeof Psd;
    Psd.hwndOwner = FOwner;
    Call(&Psd);
    if (Psd.hDevMode) GlobalFree(Psd.hDevMode);
    if (Psd.hDevNames) GlobalFree(Psd.hDevNames);
  };
  ExpectSeen("TPageSetupDialog", [&] { show(&PageSetupDlgA, PAGESETUPDLGA{}); }, "PageSetupDlgA");
  ExpectSeen("TPageSetupDialog", [&] { show(&PageSetupDlgW, PAGESETUPDLGW{}); }, "PageSetupDlgW");
}

TEST_F(Recognize, OldStyleFileDialogs) {
  ExpectSeen("TOpenDialog", [&] { ShowFile<OPENFILENAMEA, char>(&GetOpenFileNameA, 0); }, "GetOpenFileNameA");
  ExpectSeen("TOpenDialog", [&] { ShowFile<OPENFILENAMEW, wchar_t>(&GetOpenFileNameW, 0); }, "GetOpenFileNameW");
  ExpectSeen("TSaveDialog", [&] { ShowFile<OPENFILENAMEA, char>(&GetSaveFileNameA, 0); }, "GetSaveFileNameA");
  ExpectSeen("TSaveDialog", [&] { ShowFile<OPENFILENAMEW, wchar_t>(&GetSaveFileNameW, 0); }, "GetSaveFileNameW");
}

// The kind a dialog's own hook sees on its WM_INITDIALOG (for an explorer-style file dialog the
// hook's child dialog), beside what the thread's watch sees.
std::vector<std::string> HookSaw;
UINT_PTR CALLBACK FileHook(HWND Dialog, UINT Msg, WPARAM, LPARAM) {
  if (Msg == WM_INITDIALOG) HookSaw.push_back(Vek::DialogKindOfWindow(Dialog));
  return Msg == WM_INITDIALOG ? TRUE : 0;
}

// A template child dialog: DS_CONTROL | WS_CHILD, one check box, as an application adds one.
struct ChildTemplate {
  ChildTemplate() {
    FMemory = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 1024);
    auto* t = static_cast<DLGTEMPLATE*>(FMemory);
    t->style = WS_CHILD | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL;
    t->cdit = 1;
    t->cx = 200;
    t->cy = 30;
    auto* p = reinterpret_cast<WORD*>(t + 1);
    *p++ = 0;  // no menu
    *p++ = 0;  // the dialog class
    *p++ = 0;  // no title
    p = reinterpret_cast<WORD*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~UINT_PTR(3));
    auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(p);
    item->style = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;
    item->x = 5;
    item->y = 5;
    item->cx = 100;
    item->cy = 12;
    item->id = 1200;
    p = reinterpret_cast<WORD*>(item + 1);
    *p++ = 0xFFFF;
    *p++ = 0x0080;  // Button
    *p++ = 'x';
    *p++ = 0;
    *p++ = 0;  // no creation data
  }
  ~ChildTemplate() { GlobalFree(FMemory); }
  HGLOBAL FMemory;
};

TEST_F(Recognize, FileDialogsWithAHookOrATemplate) {
  ChildTemplate memoryTemplate;
  struct Variant {
    const char* How;
    DWORD Flags;
    const void* Template;
    bool FromResource;
  };
  for (const Variant& v : {Variant{"hook", OFN_ENABLEHOOK, nullptr, false},
                           Variant{"template in memory", OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE, memoryTemplate.FMemory, false},
                           Variant{"template from a resource", OFN_ENABLEHOOK | OFN_ENABLETEMPLATE, nullptr, true}}) {
    for (const bool save : {false, true}) {
      const std::string kind = save ? "TSaveDialog" : "TOpenDialog";
      auto show = [&](auto Call, auto Ofn, auto* File) {
        Ofn.lStructSize = sizeof Ofn;
        Ofn.hwndOwner = FOwner;
        Ofn.lpstrFile = File;
        Ofn.nMaxFile = 260;
        Ofn.Flags = OFN_EXPLORER | v.Flags;
        Ofn.lpfnHook = &FileHook;
        if (v.Template) Ofn.hInstance = static_cast<HINSTANCE>(const_cast<void*>(v.Template));
        if (v.FromResource) {
          Ofn.hInstance = GetModuleHandleA(nullptr);
          Ofn.lpTemplateName = reinterpret_cast<decltype(Ofn.lpTemplateName)>(static_cast<ULONG_PTR>(100));
        }
        Call(&Ofn);
      };
      char fileA[260] = {};
      wchar_t fileW[260] = {};
      HookSaw.clear();
      ExpectSeen(kind, [&] { show(save ? &GetSaveFileNameA : &GetOpenFileNameA, OPENFILENAMEA{}, fileA); }, std::string("A, ") + v.How);
      ExpectSeen(kind, [&] { show(save ? &GetSaveFileNameW : &GetOpenFileNameW, OPENFILENAMEW{}, fileW); }, std::string("W, ") + v.How);
      ASSERT_EQ(HookSaw.size(), 2u) << v.How;
      for (const std::string& saw : HookSaw) EXPECT_EQ(saw, kind) << "the hook's own WM_INITDIALOG, " << v.How;
    }
  }
}

INT_PTR CALLBACK OwnDialogProc(HWND, UINT Msg, WPARAM, LPARAM) { return Msg == WM_INITDIALOG; }

// A program's own dialog from a template: an edit with the file name's id, OK and Cancel.
TEST_F(Recognize, OwnDialogFromATemplateIsNone) {
  alignas(4) WORD buffer[256] = {};
  auto* t = reinterpret_cast<DLGTEMPLATE*>(buffer);
  t->style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
  t->cdit = 3;
  t->cx = 200;
  t->cy = 80;
  WORD* p = reinterpret_cast<WORD*>(t + 1) + 3;  // no menu, the dialog class, no title
  const struct {
    WORD Id;
    WORD Class;
    DWORD Style;
  } items[] = {{1152, 0x0081, ES_AUTOHSCROLL | WS_BORDER}, {IDOK, 0x0080, BS_DEFPUSHBUTTON}, {IDCANCEL, 0x0080, BS_PUSHBUTTON}};
  short y = 5;
  for (const auto& i : items) {
    p = reinterpret_cast<WORD*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~UINT_PTR(3));
    auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(p);
    item->style = WS_CHILD | WS_VISIBLE | i.Style;
    item->x = 5;
    item->y = y;
    y = static_cast<short>(y + 20);
    item->cx = 100;
    item->cy = 14;
    item->id = i.Id;
    p = reinterpret_cast<WORD*>(item + 1);
    *p++ = 0xFFFF;
    *p++ = i.Class;
    *p++ = 0;  // no text
    *p++ = 0;  // no creation data
  }
  Seen.clear();
  const HWND own = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t, FOwner, &OwnDialogProc, 0);
  ASSERT_NE(own, nullptr);
  PumpUntilGone(own);
  ASSERT_EQ(Seen.size(), 1u);
  EXPECT_EQ(Seen[0], "");
}

#endif

}  // namespace
