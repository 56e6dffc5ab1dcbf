// The window services as the engine relies on them; the same tests run against user32/gdi32
// under Wine and against the simulated window system.
#include <cstdint>
#include <cstring>
#include <string>

#include "message_log.hpp"
#include "test_support.hpp"
#include "vcl/CodePages.hpp"
#include "win/recorded_dialogs.h"
#include "win/recorded_fonts.h"

using namespace win_test;

namespace {

HWND CreateChild(HWND Parent, const char* Class, const char* Text, int Id, int X, int Y, int W, int H) {
  return CreateWindowExA(0, Class, Text, WS_CHILD | WS_VISIBLE, X, Y, W, H, Parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), GetModuleHandleA(nullptr), nullptr);
}

class WinApi : public ::testing::Test {
  FreshLog FLog;
};

}  // namespace

TEST_F(WinApi, GetTextFillsTheBufferWithAtMostSizeMinusOneCharacters) {
  WindowGuard top(CreateLogWindow(50, 50, 300, 200));
  const std::string long300(300, 'x');
  const HWND label = CreateChild(top.get(), "Static", long300.c_str(), 100, 5, 5, 100, 20);
  ASSERT_TRUE(label);
  struct Case {
    int Size;
    LRESULT Length;
  } cases[] = {{240, 239}, {301, 300}, {1, 0}};
  for (const Case& c : cases) {
    std::string buf(static_cast<std::size_t>(c.Size) + 8, '#');
    const LRESULT n = SendMessageA(label, WM_GETTEXT, static_cast<WPARAM>(c.Size), reinterpret_cast<LPARAM>(buf.data()));
    EXPECT_EQ(n, c.Length) << "buffer of " << c.Size;
    EXPECT_EQ(buf[static_cast<std::size_t>(n)], '\0') << "buffer of " << c.Size;
    EXPECT_EQ(buf.substr(0, static_cast<std::size_t>(n)), long300.substr(0, static_cast<std::size_t>(n)));
    EXPECT_EQ(buf[static_cast<std::size_t>(c.Size)], '#') << "wrote past a buffer of " << c.Size;
  }
  EXPECT_TRUE(SendMessageA(top.get(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Don't")));
  EXPECT_EQ(TextOf(top.get()), "Don't");
  EXPECT_EQ(GetWindowTextLengthA(top.get()), 5);
}

TEST_F(WinApi, RectanglesAreScreenCoordinatesAndMovesUseTheParentsClientArea) {
  WindowGuard top(CreateLogWindow(100, 120, 400, 300));
  const HWND child = CreateChild(top.get(), "Button", "OK", IDOK, 10, 20, 75, 23);
  RECT window, client, childRect;
  ASSERT_TRUE(GetWindowRect(top.get(), &window));
  EXPECT_EQ(window.right - window.left, 400);
  EXPECT_EQ(window.bottom - window.top, 300);
  ASSERT_TRUE(GetClientRect(top.get(), &client));
  EXPECT_EQ(client.left, 0);
  EXPECT_LT(client.bottom, 300) << "a captioned window has a non-client frame";

  ASSERT_TRUE(GetWindowRect(child, &childRect));
  POINT corner{childRect.left, childRect.top};
  ASSERT_TRUE(ScreenToClient(top.get(), &corner));
  EXPECT_EQ(corner.x, 10);
  EXPECT_EQ(corner.y, 20);
  EXPECT_EQ(childRect.right - childRect.left, 75);

  ASSERT_TRUE(MoveWindow(child, 30, 40, 90, 25, FALSE));
  ASSERT_TRUE(GetWindowRect(child, &childRect));
  corner = POINT{childRect.left, childRect.top};
  ScreenToClient(top.get(), &corner);
  EXPECT_EQ(corner.x, 30);
  EXPECT_EQ(corner.y, 40);
  EXPECT_EQ(childRect.bottom - childRect.top, 25);

  ASSERT_TRUE(MoveWindow(top.get(), 200, 210, 350, 250, FALSE));
  ASSERT_TRUE(GetWindowRect(top.get(), &window));
  EXPECT_EQ(window.left, 200);
  EXPECT_EQ(window.top, 210);
  EXPECT_EQ(window.right, 550);
  EXPECT_EQ(window.bottom, 460);
  POINT origin{0, 0};
  ClientToScreen(top.get(), &origin);
  ASSERT_TRUE(GetWindowRect(child, &childRect));
  EXPECT_EQ(childRect.left, origin.x + 30) << "children move with their parent";
}

TEST_F(WinApi, ChildrenComeInCreationOrderAndDialogItemsAreDirectChildrenOnly) {
  WindowGuard top(CreateLogWindow(50, 50, 300, 200));
  const HWND a = CreateChild(top.get(), "Static", "a", 1090, 0, 0, 10, 10);
  const HWND b = CreateChild(top.get(), "Button", "b", 1, 0, 20, 10, 10);
  const HWND c = CreateChild(top.get(), "Edit", "c", 1090, 0, 40, 10, 10);
  const HWND inner = CreateChild(b, "Static", "inner", 1152, 0, 0, 5, 5);
  ASSERT_TRUE(a && b && c && inner);

  EXPECT_EQ(GetWindow(top.get(), GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), c);
  EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), nullptr);
  EXPECT_EQ(GetWindow(c, GW_CHILD), nullptr);

  EXPECT_EQ(GetDlgItem(top.get(), 1090), a) << "the first child with the id";
  EXPECT_EQ(GetDlgItem(top.get(), 1152), nullptr) << "a grandchild is not an item";
  EXPECT_EQ(GetDlgItem(top.get(), 4242), nullptr);
  EXPECT_EQ(GetDlgCtrlID(c), 1090);
  EXPECT_EQ(GetDlgCtrlID(b), 1);

  char name[64];
  EXPECT_EQ(GetClassNameA(c, name, sizeof name), 4);
  EXPECT_STREQ(name, "Edit");
  EXPECT_EQ(GetClassNameA(c, name, 3), 2);
  EXPECT_STREQ(name, "Ed");
}

TEST_F(WinApi, FontsRoundTripThroughLogfontAndWindows) {
  WindowGuard top(CreateLogWindow(50, 50, 300, 200));
  const HWND label = CreateChild(top.get(), "Static", "x", 100, 0, 0, 50, 20);
  EXPECT_EQ(SendMessageA(label, WM_GETFONT, 0, 0), 0) << "a new control uses the system font";

  LOGFONTA in{};
  in.lfHeight = -13;
  in.lfWeight = FW_NORMAL;
  in.lfCharSet = 238;
  std::strcpy(in.lfFaceName, "Arial");
  const HFONT font = CreateFontIndirectA(&in);
  ASSERT_TRUE(font);

  LOGFONTA out{};
  ASSERT_EQ(sizeof(LOGFONTA), 60u);
  EXPECT_EQ(GetObjectA(font, sizeof out, &out), 60);
  EXPECT_STREQ(out.lfFaceName, "Arial");
  EXPECT_EQ(out.lfCharSet, 238);
  EXPECT_EQ(out.lfHeight, -13);
  EXPECT_EQ(GetObjectA(nullptr, sizeof out, &out), 0) << "0 is the system font, not a font object";

  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), font);
  SendMessageA(label, WM_SETFONT, 0, 0);
  EXPECT_EQ(SendMessageA(label, WM_GETFONT, 0, 0), 0);

  EXPECT_TRUE(DeleteObject(font));
  EXPECT_EQ(GetObjectA(font, sizeof out, &out), 0) << "a deleted font is gone";
}

namespace {

// A UTF-16 literal as the W functions take it: wchar_t on Windows, char16_t in the simulation.
#ifdef _WIN32
const wchar_t* W(const char16_t* Text) { return reinterpret_cast<const wchar_t*>(Text); }
#else
const char16_t* W(const char16_t* Text) { return Text; }
#endif

}  // namespace

// The W measures agree with the A ones on the dialog face, and name the characters a face has
// no glyph for ("Arial" is realised as Liberation Sans, which has no kana), under Wine and in
// the simulation alike.
TEST_F(WinApi, Utf16TextIsMeasuredAndItsGlyphsFoundInTheSelectedFont) {
  LOGFONTA lf{};
  lf.lfHeight = win::RecordedFontHeight();
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(lf.lfFaceName, "Arial");
  const HFONT font = CreateFontIndirectA(&lf);
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE a{}, w{};
  ASSERT_TRUE(GetTextExtentPoint32A(dc, "File name:", 10, &a));
  ASSERT_TRUE(GetTextExtentPoint32W(dc, W(u"File name:"), 10, &w));
  EXPECT_EQ(w.cx, a.cx);
  EXPECT_EQ(w.cy, a.cy);
  WORD glyphs[4] = {};
  EXPECT_EQ(GetGlyphIndicesW(dc, W(u"F\u30D5\u0416i"), 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 4u);
  EXPECT_NE(glyphs[0], 0xFFFF);
  EXPECT_EQ(glyphs[1], 0xFFFF) << "no kana";
  EXPECT_NE(glyphs[2], 0xFFFF) << "Cyrillic";
  EXPECT_NE(glyphs[3], 0xFFFF);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
}

// The widths were recorded under Wine with the pinned fonts, so the real GDI and the simulated
// one give the same figures for the dialog face, in the selected font only.
TEST_F(WinApi, TextIsMeasuredInTheSelectedFontWithTheRecordedWidths) {
  LOGFONTA lf{};
  lf.lfHeight = win::RecordedFontHeight();
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(lf.lfFaceName, "MS Shell Dlg");
  const HFONT font = CreateFontIndirectA(&lf);
  ASSERT_TRUE(font);
  const HDC dc = GetDC(nullptr);
  ASSERT_TRUE(dc);
  const HGDIOBJ old = SelectObject(dc, font);
  ASSERT_TRUE(old) << "the device context had a font before";
  for (const std::string text : {"File name:", "Name der zu \xF6""ffnenden Datei (vollst\xE4ndig)&:", "W"}) {
    SCOPED_TRACE(text);
    const win::RecordedExtent recorded = win::MeasureRecorded("MS Shell Dlg", DEFAULT_CHARSET, lf.lfHeight, text);
    SIZE size{-1, -1};
    ASSERT_TRUE(GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size));
    EXPECT_EQ(size.cx, recorded.Width);
    EXPECT_EQ(size.cy, recorded.LineHeight);
  }
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(dc, &tm));
  EXPECT_EQ(tm.tmHeight, win::MeasureRecorded("MS Shell Dlg", DEFAULT_CHARSET, lf.lfHeight, "").LineHeight);
  char face[LF_FACESIZE] = {};
  EXPECT_GT(GetTextFaceA(dc, sizeof face, face), 0);
  EXPECT_STREQ(face, win::MeasureRecorded("MS Shell Dlg", DEFAULT_CHARSET, lf.lfHeight, "").Face);

  EXPECT_EQ(SelectObject(dc, old), font) << "selecting answers the font it replaces";
  EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
  EXPECT_TRUE(DeleteObject(font));
}

// At each height the dialogs' font takes on a screen of 96, 120, 144 and 192 dpi (8 points),
// and at those of 9 points, the recorded widths are what GDI measures: Wine's fonts are hinted at
// each size, so widths scaled from another height would miss by a pixel here and there.
TEST_F(WinApi, TextIsMeasuredWithTheRecordedWidthsAtEachDialogHeight) {
  const HDC dc = GetDC(nullptr);
  ASSERT_TRUE(dc);
  const std::u16string texts[] = {u"File name:", u"Name der zu \u00F6ffnenden Datei (vollst\u00E4ndig)&:", u"Gro\u00DF/Klein beachten",
                                  u"\u0418\u043C\u044F \u0444\u0430\u0439\u043B\u0430:", u"W i l"};
  for (const char* face : {"MS Shell Dlg", "Tahoma", "Times New Roman", "Courier New"})
    for (const int height : {-11, -13, -16, -21, -12, -15, -18, -24}) {
      SCOPED_TRACE(std::string(face) + " " + std::to_string(height));
      LOGFONTA lf{};
      lf.lfHeight = height;
      lf.lfCharSet = DEFAULT_CHARSET;
      std::strcpy(lf.lfFaceName, face);
      const HFONT font = CreateFontIndirectA(&lf);
      ASSERT_TRUE(font);
      const HGDIOBJ old = SelectObject(dc, font);
      for (const std::u16string& text : texts) {
        const win::RecordedExtent recorded = win::MeasureRecordedW(face, DEFAULT_CHARSET, height, text);
        SIZE size{-1, -1};
        ASSERT_TRUE(GetTextExtentPoint32W(dc, W(text.c_str()), static_cast<int>(text.size()), &size));
        EXPECT_EQ(size.cx, recorded.Width) << static_cast<int>(text.size()) << " characters";
        EXPECT_EQ(size.cy, recorded.LineHeight);
      }
      SelectObject(dc, old);
      DeleteObject(font);
    }
  ReleaseDC(nullptr, dc);
}

#ifndef _WIN32
TEST_F(WinApi, DeviceContextsRefuseWhatTheyDoNotHold) {
  EXPECT_EQ(GetDC(reinterpret_cast<HWND>(std::uintptr_t{0x1234})), nullptr) << "no such window";
  const HDC dc = GetDC(nullptr);
  ASSERT_TRUE(dc);
  SIZE size{};
  EXPECT_FALSE(GetTextExtentPoint32A(dc, "x", -1, &size));
  EXPECT_FALSE(GetTextExtentPoint32A(dc, nullptr, 1, &size));
  EXPECT_TRUE(GetTextExtentPoint32A(dc, nullptr, 0, &size)) << "nothing to measure is 0 wide";
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(std::uintptr_t{0x77})), nullptr) << "not a font";

  LOGFONTA lf{};
  std::strcpy(lf.lfFaceName, "Arial");
  const HFONT font = CreateFontIndirectA(&lf);
  const HGDIOBJ system = SelectObject(dc, font);
  ASSERT_TRUE(system);
  DeleteObject(font);
  EXPECT_TRUE(GetTextExtentPoint32A(dc, "x", 1, &size)) << "a font deleted while selected measures as the system font";
  EXPECT_EQ(SelectObject(dc, system), font);
  EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
  EXPECT_EQ(ReleaseDC(nullptr, dc), 0) << "released once";
  EXPECT_EQ(SelectObject(dc, system), nullptr) << "a released device context is gone";
  EXPECT_FALSE(GetTextExtentPoint32A(dc, "x", 1, &size));
  char face[LF_FACESIZE] = "unchanged";
  EXPECT_EQ(GetTextFaceA(dc, sizeof face, face), 0);
  EXPECT_STREQ(face, "unchanged");
}

TEST_F(WinApi, LiveFontCountFollowsCreateAndDelete) {
  const int before = win_sim::LiveFontCount();
  LOGFONTA lf{};
  std::strcpy(lf.lfFaceName, "Tahoma");
  const HFONT a = CreateFontIndirectA(&lf), b = CreateFontIndirectA(&lf);
  EXPECT_NE(a, b);
  EXPECT_EQ(win_sim::LiveFontCount(), before + 2);
  DeleteObject(a);
  DeleteObject(b);
  EXPECT_FALSE(DeleteObject(b));
  EXPECT_EQ(win_sim::LiveFontCount(), before);
}
#endif

namespace {
WNDPROC Previous = nullptr;
std::string Trace;
LRESULT CALLBACK Subclass(HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_USER + 7) {
    Trace += "sub(";
    const LRESULT r = CallWindowProcA(Previous, Hwnd, Msg, WParam, LParam);
    Trace += ")";
    return r + 1;
  }
  return CallWindowProcA(Previous, Hwnd, Msg, WParam, LParam);
}
}  // namespace

TEST_F(WinApi, SubclassingReturnsThePreviousProcedureAndChainsToIt) {
  WindowGuard top(CreateLogWindow(50, 50, 300, 200));
  Log().React = [](HWND, UINT Msg, WPARAM, LPARAM, LRESULT& Result) {
    if (Msg != WM_USER + 7) return false;
    Trace += "own";
    Result = 41;
    return true;
  };
  const LONG_PTR own = GetWindowLongPtrA(top.get(), GWLP_WNDPROC);
  ASSERT_NE(own, 0);
  Previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(top.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(Previous), own);
  Trace.clear();
  EXPECT_EQ(SendMessageA(top.get(), WM_USER + 7, 0, 0), 42);
  EXPECT_EQ(Trace, "sub(own)");

  EXPECT_EQ(SetWindowLongPtrA(top.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Previous)),
            reinterpret_cast<LONG_PTR>(&Subclass));
  Trace.clear();
  EXPECT_EQ(SendMessageA(top.get(), WM_USER + 7, 0, 0), 41);
  EXPECT_EQ(Trace, "own");

  const HWND gone = top.get();
  DestroyWindow(gone);
  EXPECT_EQ(SetWindowLongPtrA(gone, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)), 0) << "fails on a destroyed window";
}

TEST_F(WinApi, SendRunsTheReceiverAtOnceAndReentrantlyWhilePostQueues) {
  WindowGuard top(CreateLogWindow(50, 50, 300, 200));
  std::string order;
  Log().React = [&](HWND Hwnd, UINT Msg, WPARAM WParam, LPARAM, LRESULT& Result) {
    if (Msg != WM_USER) return false;
    order += "<" + std::to_string(WParam);
    if (WParam < 3) Result = SendMessageA(Hwnd, WM_USER, WParam + 1, 0) + 1;
    order += ">";
    return true;
  };
  EXPECT_EQ(SendMessageA(top.get(), WM_USER, 1, 0), 2);
  EXPECT_EQ(order, "<1<2<3>>>");

  order.clear();
  ASSERT_TRUE(PostMessageA(top.get(), WM_USER, 3, 0));
  EXPECT_EQ(order, "") << "a posted message waits for the loop";
  PumpPending();
  EXPECT_EQ(order, "<3>");
}

TEST_F(WinApi, CloseDestroysTheWindowAndItsProcedureSeesDestroy) {
  const HWND top = CreateLogWindow(50, 50, 300, 200);
  ASSERT_TRUE(PostMessageA(top, WM_CLOSE, 0, 0));
  PumpPending();
  EXPECT_FALSE(IsWindow(top));
  const auto seen = Log().Sequence({WM_CLOSE, WM_DESTROY, WM_NCDESTROY});
  EXPECT_EQ(seen, (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(WinApi, ActivationAndFocusTellBothWindows) {
  WindowGuard first(CreateLogWindow(50, 50, 300, 200));
  WindowGuard second(CreateLogWindow(400, 50, 300, 200));
  const HWND edit = CreateChild(second.get(), "Edit", "", 1152, 5, 5, 100, 20);
  SetActiveWindow(first.get());
  SetFocus(first.get());
  ASSERT_EQ(GetActiveWindow(), first.get());
  Log().Clear();

  SetActiveWindow(second.get());
  EXPECT_EQ(GetActiveWindow(), second.get());
  const auto activations = Log().Only(WM_ACTIVATE);
  ASSERT_EQ(activations.size(), 2u);
  EXPECT_EQ(activations[0].Hwnd, first.get());
  EXPECT_EQ(LOWORD(activations[0].WParam), WA_INACTIVE);
  EXPECT_EQ(reinterpret_cast<HWND>(activations[0].LParam), second.get());
  EXPECT_EQ(activations[1].Hwnd, second.get());
  EXPECT_NE(LOWORD(activations[1].WParam), WA_INACTIVE);
  EXPECT_EQ(GetFocus(), second.get()) << "activation moves the focus into the window";

  Log().Clear();
  EXPECT_EQ(SetFocus(edit), second.get());
  const auto kills = Log().Only(WM_KILLFOCUS);
  ASSERT_EQ(kills.size(), 1u);
  EXPECT_EQ(kills[0].Hwnd, second.get());
  EXPECT_EQ(reinterpret_cast<HWND>(kills[0].WParam), edit) << "wParam is the window taking the focus";
  EXPECT_EQ(GetFocus(), edit);
}

TEST_F(WinApi, RegisteredMessagesAreStablePerName) {
  const UINT a = RegisterWindowMessageA("commdlg_FindReplace");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageA("commdlg_FindReplace"), a);
  EXPECT_NE(RegisterWindowMessageA("LumetraTestMessage"), a);
}

TEST_F(WinApi, VirtualProtectLetsAnEntryBeWrittenAndGivesTheProtectionBack) {
  static void (*entry)() = nullptr;
  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(&entry, sizeof entry, PAGE_READWRITE, &old));
  entry = +[] {};
  DWORD again = 0;
  ASSERT_TRUE(VirtualProtect(&entry, sizeof entry, old, &again));
  EXPECT_NE(again, 0u);
  EXPECT_NE(entry, nullptr);
}

// The system metrics are those recorded with the dialogs from Wine: under Wine a recording that
// no longer matches fails here, and the simulation answers the recording.
TEST(SystemMetrics, AreTheRecordedOnes) {
  ASSERT_GT(win::RecordedMetrics().size(), 60u);
  for (const win::RecordedMetric& m : win::RecordedMetrics()) EXPECT_EQ(GetSystemMetrics(m.Index), m.Value) << m.Name;
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
  EXPECT_GT(GetSystemMetrics(SM_CXVSCROLL), 0) << "scroll bars have a width";
  EXPECT_GT(GetSystemMetrics(SM_CYCAPTION), 0);
}

namespace {

WNDPROC AnsiPrevious = nullptr, UnicodePrevious = nullptr;
LRESULT CALLBACK AnsiSubclass(HWND H, UINT M, WPARAM W, LPARAM L) { return CallWindowProcA(AnsiPrevious, H, M, W, L); }
LRESULT CALLBACK UnicodeSubclass(HWND H, UINT M, WPARAM W, LPARAM L) { return CallWindowProcW(UnicodePrevious, H, M, W, L); }

std::u16string WideText(HWND Window) {
  WCHAR buffer[64];
  const int n = GetWindowTextW(Window, buffer, 64);
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(n > 0 ? n : 0));
}

}  // namespace

// A window keeps its text in UTF-16. The system's own controls take a Unicode text as it is,
// and give it in ANSI converted with the system's code page; a window whose procedure was set
// with SetWindowLongPtrA is an ANSI window and stores a Unicode text converted to that page
// ("?" for what it lacks); one set with SetWindowLongPtrW keeps it.
TEST_F(WinApi, UnicodeTextsStayWholeInWindowsThatTakeThem) {
  WindowGuard top(CreateLogWindow(50, 50, 300, 200));
  const HWND plain = CreateChild(top.get(), "Static", "", 100, 5, 5, 100, 20);
  const HWND ansi = CreateChild(top.get(), "Static", "", 101, 5, 30, 100, 20);
  const HWND unicode = CreateChild(top.get(), "Static", "", 102, 5, 55, 100, 20);
  AnsiPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(ansi, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AnsiSubclass)));
  UnicodePrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(unicode, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&UnicodeSubclass)));
  const std::u16string word = u"\u0421\u043B\u043E\u0432\u043E";  // Слово
  const std::string inAnsi = vcl::FromUtf16(vcl::SystemCodePage(), word);
  for (HWND w : {plain, ansi, unicode}) SetWindowTextW(w, reinterpret_cast<LPCWSTR>(word.c_str()));
  EXPECT_EQ(WideText(plain), word);
  EXPECT_EQ(WideText(unicode), word);
  EXPECT_EQ(vcl::Utf16ToUtf8(WideText(ansi)), vcl::ToUtf8(vcl::SystemCodePage(), inAnsi));
  EXPECT_EQ(IsWindowUnicode(unicode), TRUE);
  EXPECT_EQ(IsWindowUnicode(ansi), FALSE);
  char bytes[64] = "";
  GetWindowTextA(plain, bytes, sizeof bytes);
  EXPECT_EQ(std::string(bytes), inAnsi);
  // ANSI text reaches a Unicode window converted up, and comes back unchanged.
  SetWindowTextA(unicode, "Caf\xE9");
  GetWindowTextA(unicode, bytes, sizeof bytes);
  EXPECT_EQ(std::string(bytes), vcl::FromUtf16(vcl::SystemCodePage(), vcl::ToUtf16(vcl::SystemCodePage(), "Caf\xE9")));
}

// A mirrored window's client coordinates run from its right edge: a child moved to x 10 has its
// right edge 10 pixels left of the parent's client right, and a rectangle mapped into the parent
// has left 10 again. Setting the style does not move the children already there.
TEST_F(WinApi, MirroredWindowsCountFromTheRight) {
  WindowGuard top(CreateLogWindow(50, 50, 300, 200));
  const HWND child = CreateChild(top.get(), "Static", "x", 100, 10, 20, 50, 30);
  RECT before{};
  GetWindowRect(child, &before);
  SetWindowLongPtrW(top.get(), GWL_EXSTYLE, GetWindowLongPtrW(top.get(), GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
  RECT r{};
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, before.left) << "setting the style moves nothing";
  MoveWindow(child, 10, 20, 50, 30, FALSE);
  GetWindowRect(child, &r);
  POINT origin{0, 0};
  ClientToScreen(top.get(), &origin);  // the top right corner of the client area
  EXPECT_EQ(r.right, origin.x - 10);
  EXPECT_EQ(r.right - r.left, 50);
  MapWindowPoints(nullptr, top.get(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.right, 60);
  EXPECT_EQ(r.top, 20);
}
