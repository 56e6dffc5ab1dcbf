// Applying entries to a shown dialog window: every kind, ids, fonts, skipped entries, list
// order, and the fonts a pass makes.
#include "Vek.hpp"

#include "dialog_window.hpp"
#include "simulated_screen.hpp"
#include "test_support.hpp"
#include "vcl/CodePages.hpp"
#include "vcl/Forms.hpp"

using namespace vek_test;
using Vek::TLumetra;

namespace {

class Apply : public TranslatorOnDialog {
protected:
  Apply() { Vek::OwnerClassName = "TOpenDialog"; }
  // Applies these entries, added in the given order, in one pass.
  void Pass(std::initializer_list<const char*> Lines) {
    for (const char* l : Lines) FLmt->Translations()->Add(l);
    FLmt->TranslateDialog(FDialog.Handle());
  }
};

}  // namespace

TEST_F(Apply, TextsByIdAndByPosition) {
  Pass({"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Caption[1090]='&Dateiname:'", "TOpenDialog.Caption[-3]='Nom :'",
        "TOpenDialog.Caption[1]x='OK!'", "TOpenDialog.Caption[-40]='none'", "TOpenDialog.Caption[4711]='none'",
        "TOpenDialog.Caption[1024]='Hilfe'#13#10'zwei'"});
  EXPECT_EQ(TextOf(FDialog.Handle()), "Ouvrir");
  EXPECT_EQ(TextOf(FDialog.Child(1)), "&Dateiname:");
  EXPECT_EQ(TextOf(FDialog.Child(3)), "Nom :");
  EXPECT_EQ(TextOf(FDialog.Child(4)), "OK!");  // what follows "]" is not looked at
  EXPECT_EQ(TextOf(FDialog.Child(5)), "Hilfe\r\nzwei");
}

TEST_F(Apply, OnlyTheShownDialogsClassExactly) {
  Pass({"TSaveDialog.Caption='Speichern'", "topendialog.Caption='klein'", "TOpenDialogX.Caption='x'",
        "TOpenDialog.Foo=1", "TOpenDialog.Caption"});
  EXPECT_EQ(TextOf(FDialog.Handle()), "Open");
}

TEST_F(Apply, EmptyValuesOnlyWithTranslateEmpty) {
  Pass({"TOpenDialog.Caption=''", "TOpenDialog.Caption[1090]=''"});
  EXPECT_EQ(TextOf(FDialog.Handle()), "Open");
  FLmt->SetTranslateEmpty(true);
  FLmt->Translations()->Add("TOpenDialog.Width=");  // an empty number is skipped, not zero
  FLmt->TranslateDialog(FDialog.Handle());
  EXPECT_EQ(TextOf(FDialog.Handle()), "");
  EXPECT_EQ(TextOf(FDialog.Child(1)), "");
  RECT r;
  GetWindowRect(FDialog.Handle(), &r);
  EXPECT_EQ(r.right - r.left, 400);
}

TEST_F(Apply, NothingWhileTheTranslatorIsOff) {
  FLmt->SetTranslate(false);
  Pass({"TOpenDialog.Caption='Ouvrir'"});
  EXPECT_EQ(TextOf(FDialog.Handle()), "Open");
}

TEST_F(Apply, WindowSizeKeepsPositionAndTheOtherExtent) {
  Pass({"TOpenDialog.Width=600"});
  RECT r;
  GetWindowRect(FDialog.Handle(), &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(r.bottom - r.top, 300);
  Pass({"TOpenDialog.Height=250"});
  GetWindowRect(FDialog.Handle(), &r);
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(r.bottom - r.top, 250);
}

TEST_F(Apply, ChildGeometryChangesOneValueAndKeepsTheOthers) {
  Pass({"TOpenDialog.Left[1090]=20", "TOpenDialog.Height[1090]=30", "TOpenDialog.Left[-3]=15", "TOpenDialog.Top[-3]=-5",
        "TOpenDialog.Width[1152]=99", "TOpenDialog.Left[4711]=1", "TOpenDialog.Top[-40]=1"});
  const RECT label = PlaceOf(FDialog.Child(1));
  EXPECT_EQ(label.left, 20);
  EXPECT_EQ(label.top, 10);
  EXPECT_EQ(label.right, 80);   // width
  EXPECT_EQ(label.bottom, 30);  // height
  const RECT third = PlaceOf(FDialog.Child(3));
  EXPECT_EQ(third.left, 15);
  EXPECT_EQ(third.top, -5);
  EXPECT_EQ(PlaceOf(FDialog.Child(2)).right, 99);
}

TEST_F(Apply, SizesAndPositionsAreClampedToWhatAScreenHolds) {
  Pass({"TOpenDialog.Left[1090]=-2147483648", "TOpenDialog.Top[1090]=2147483647", "TOpenDialog.Width[1090]=2147483647",
        "TOpenDialog.Height[-3]=-5", "TOpenDialog.Width=2147483647"});
  const RECT label = PlaceOf(FDialog.Child(1));
  EXPECT_EQ(label.left, -Vek::ScreenLimit);
  EXPECT_EQ(label.top, Vek::ScreenLimit);
  EXPECT_EQ(label.right, Vek::ScreenLimit);  // width
  EXPECT_EQ(PlaceOf(FDialog.Child(3)).bottom, 0) << "a negative height is none";
  RECT r;
  GetWindowRect(FDialog.Handle(), &r);
  EXPECT_GT(r.right - r.left, 400);
  EXPECT_LE(r.right - r.left, Vek::ScreenLimit);
}

TEST_F(Apply, EntriesThatAreNotNumbersOrLiteralsAreSkipped) {
  Pass({"TOpenDialog.Width=wide", "TOpenDialog.Left[10x90]=1", "TOpenDialog.Left[]=1", "TOpenDialog.Top[1090]= 7",
        "TOpenDialog.Caption='ab'#", "TOpenDialog.Caption[1090]='kept'"});
  RECT r;
  GetWindowRect(FDialog.Handle(), &r);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(PlaceOf(FDialog.Child(1)).top, 10);
  EXPECT_EQ(TextOf(FDialog.Handle()), "Open");
  EXPECT_EQ(TextOf(FDialog.Child(1)), "kept");
}

TEST_F(Apply, FontEntriesStartAgainFromTheDialogsOwnFont) {
  // The charset entry sorts first; the name entry then starts from the dialog's font again.
  Pass({"TOpenDialog.Font.Charset=238", "TOpenDialog.Font.Name='Arial'"});
  EXPECT_EQ(FaceOf(FDialog.Child(2)), "Arial");
  EXPECT_EQ(CharsetOf(FDialog.Child(2)), 0);
  EXPECT_EQ(FaceOf(FDialog.Handle()), "MS Sans Serif");  // the dialog itself keeps its font

  FLmt->Translations()->Clear();
  Pass({"TOpenDialog.Font.Charset=494"});  // the low 8 bits
  EXPECT_EQ(CharsetOf(FDialog.Child(5)), 238);
  EXPECT_EQ(FaceOf(FDialog.Child(5)), "MS Sans Serif");

  FLmt->Translations()->Clear();
  Pass({"TOpenDialog.Font.Style=1"});  // any other font property: the dialog's own font again
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(FDialog.Child(1), WM_GETFONT, 0, 0)), FDialog.OwnFont());
}

namespace {
WNDPROC CountedProc = nullptr;
int FontsHandedOn = 0;
LRESULT CALLBACK CountFonts(HWND W, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_SETFONT) ++FontsHandedOn;
  return CallWindowProcW(CountedProc, W, Msg, WParam, LParam);
}
}  // namespace

// A dialog is translated on every repaint. A control that is handed a font lays itself out again
// (a combo box changes height and has the dialog painted again), so a pass hands each control the
// font its run of Font entries ends with, once, and a later pass nothing.
TEST_F(Apply, AControlIsHandedItsFontOncePerChange) {
  CountedProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(FDialog.Child(2), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountFonts)));
  FontsHandedOn = 0;
  Pass({"TOpenDialog.Font.Charset=178", "TOpenDialog.Font.Name='Tahoma'", "TOpenDialog.Width=500"});
  EXPECT_EQ(FontsHandedOn, 1);
  EXPECT_EQ(FaceOf(FDialog.Child(2)), "Tahoma");
  for (int i = 0; i < 3; ++i) FLmt->TranslateDialog(FDialog.Handle());
  EXPECT_EQ(FontsHandedOn, 1);
  SetWindowLongPtrW(FDialog.Child(2), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountedProc));
}

TEST_F(Apply, ALongFaceNameIsCutTo31Characters) {
  Pass({"TOpenDialog.Font.Name='ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij'"});
  EXPECT_EQ(FaceOf(FDialog.Child(1)), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde");
}

TEST_F(Apply, WithoutAFontOfItsOwnTheControlsGetTheSystemFont) {
  SendMessageA(FDialog.Handle(), WM_SETFONT, 0, 0);
  SendMessageA(FDialog.Child(1), WM_SETFONT, reinterpret_cast<WPARAM>(FDialog.OwnFont()), 0);
  Pass({"TOpenDialog.Font.Name='Arial'"});
  EXPECT_EQ(SendMessageA(FDialog.Child(1), WM_GETFONT, 0, 0), 0);
}

TEST_F(Apply, RepeatedPassesReuseTheFontsAndCloseReleasesThem) {
  const int before = Vek::LiveDialogFontCount();
  Pass({"TOpenDialog.Font.Name='Arial'", "TOpenDialog.Font.Charset=238"});
  const HFONT given = reinterpret_cast<HFONT>(SendMessageA(FDialog.Child(1), WM_GETFONT, 0, 0));
  for (int i = 0; i < 9; ++i) FLmt->TranslateDialog(FDialog.Handle());
  EXPECT_EQ(Vek::LiveDialogFontCount(), before + 2);  // ten passes, one font per Font entry
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(FDialog.Child(1), WM_GETFONT, 0, 0)), given);

  DestroyWindow(FDialog.Handle());
  EXPECT_EQ(Vek::LiveDialogFontCount(), before);
  LOGFONTA lf;
  EXPECT_EQ(GetObjectA(given, sizeof lf, &lf), 0) << "the font was deleted with its dialog";
}

TEST_F(Apply, ListOrderDecidesAlsoForUnsortedListsAndRepeatedKeys) {
  Pass({"TOpenDialog.Caption='A'", "TOpenDialog.Caption='B'"});
  EXPECT_EQ(TextOf(FDialog.Handle()), "B");
  // Entries added later and changed in place are seen by the next pass.
  FLmt->Translations()->Insert(0, "TFontDialog.Caption='x'");
  FLmt->Translations()->Add("TOpenDialog.Caption='C'");
  FLmt->TranslateDialog(FDialog.Handle());
  EXPECT_EQ(TextOf(FDialog.Handle()), "C");
  FLmt->Translations()->Put(3, "TOpenDialog.Caption='D'");
  FLmt->TranslateDialog(FDialog.Handle());
  EXPECT_EQ(TextOf(FDialog.Handle()), "D");
  FLmt->Translations()->Delete(3);
  FLmt->TranslateDialog(FDialog.Handle());
  EXPECT_EQ(TextOf(FDialog.Handle()), "B");
}

TEST_F(Apply, ChainHelpersWalkSiblingsAndDescendants) {
  FLmt->SetDlgTextOfChild(GetWindow(FDialog.Handle(), GW_CHILD), 4, "Fourth");
  FLmt->SetDlgTextOfChild(GetWindow(FDialog.Handle(), GW_CHILD), 9, "None");
  EXPECT_EQ(TextOf(FDialog.Child(4)), "Fourth");
  FLmt->SetFontOfChildren(GetWindow(FDialog.Handle(), GW_CHILD), nullptr);
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(SendMessageA(FDialog.Child(i), WM_GETFONT, 0, 0), 0);
  EXPECT_EQ(FLmt->SetFontName(nullptr, "Arial"), nullptr);
  EXPECT_EQ(FLmt->SetFontCharset(nullptr, 238), nullptr);
}

namespace {

std::string WideTextOf(HWND Window) {
  WCHAR buffer[256];
  const int n = GetWindowTextW(Window, buffer, 256);
  return vcl::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(n > 0 ? n : 0)));
}

RECT ClientPlaceOf(HWND Dialog, HWND Child) {
  RECT r{};
  GetWindowRect(Child, &r);
  MapWindowPoints(nullptr, Dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

// Texts are sent as UTF-16 converted from the code page of the class's last Font.Charset entry
// (other classes' entries do not count); a double-byte text cut after a lead byte (here by the
// NUL of its literal) loses that half character instead of showing a wrong one.
TEST_F(Apply, TextsAreReadInTheCodePageOfTheClassCharset) {
  Pass({"TSaveDialog.Font.Charset=128", "TOpenDialog.Font.Charset=238", "TOpenDialog.Font.Charset=204",
        "TOpenDialog.Caption[1090]='\xC8\xEC\xFF \xF4\xE0\xE9\xEB\xE0:'", "TOpenDialog.Caption[-3]='\xCF\xE0\xEF\xEA\xE0'"});
  EXPECT_EQ(WideTextOf(FDialog.Child(1)), "Имя файла:");
  EXPECT_EQ(WideTextOf(FDialog.Child(3)), "Папка");
  FLmt->Translations()->Clear();
  Pass({"TOpenDialog.Font.Charset=128", "TOpenDialog.Caption[1090]='\x8A\x4A\x82\xAD\x8A'#0'\x4A'"});
  EXPECT_EQ(WideTextOf(FDialog.Child(1)), "開く");
  FLmt->Translations()->Clear();
  Pass({"TOpenDialog.Caption[1090]='Caf\xE9'"});  // no charset: the system's code page
  EXPECT_EQ(WideTextOf(FDialog.Child(1)), vcl::ToUtf8(vcl::SystemCodePage(), "Caf\xE9"));
}

// A right-to-left reading order mirrors the dialog once, however many passes run: each control
// is as far from the right edge as it was from the left, and Left entries count from there; the
// texts read (and, for bdRightToLeft, align) right to left. An unknown value does nothing.
TEST_F(Apply, RightToLeftMirrorsTheDialogOnce) {
  const HWND label = FDialog.Child(1);
  const RECT before = ClientPlaceOf(FDialog.Handle(), label);
  Pass({"TOpenDialog.BiDiMode=bdRightToLeftReading"});
  EXPECT_EQ(ClientPlaceOf(FDialog.Handle(), label).left, before.left);
  FLmt->Translations()->Clear();
  Pass({"TOpenDialog.BiDiMode=bdRightToLeft", "TOpenDialog.Left[1152]=30", "TOpenDialog.Width[1152]=100"});
  FLmt->TranslateDialog(FDialog.Handle());
  RECT client{};
  GetClientRect(FDialog.Handle(), &client);
  const RECT after = ClientPlaceOf(FDialog.Handle(), label);
  EXPECT_EQ(client.right - after.right, before.left) << "as far from the right edge as it was from the left";
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  const RECT edit = ClientPlaceOf(FDialog.Handle(), FDialog.Child(2));
  EXPECT_EQ(client.right - edit.right, 30);
  EXPECT_EQ(edit.right - edit.left, 100);
  const auto ex = GetWindowLongPtrW(label, GWL_EXSTYLE);
  EXPECT_NE(ex & WS_EX_RTLREADING, 0);
  EXPECT_NE(ex & WS_EX_RIGHT, 0);
}

#ifndef _WIN32
// Sizes and positions are pixels at the DPI of the class's PixelsPerInch entry (96 without one);
// at another DPI they go through the dialog's units, so that they scale as the dialog's own
// layout does (about 1.5 times from 96 to 144 dpi), and the window's frame keeps its size.
TEST_F(Apply, SizesAndPositionsAtAnotherDpiGoThroughTheDialogsUnits) {
  const testing_support::SimulatedScreenAt screen(144);
  LOGFONTA lf{};
  GetObjectA(FDialog.OwnFont(), sizeof lf, &lf);
  lf.lfHeight = -16;  // the dialog's 8 points at 144 dpi
  const HFONT font = CreateFontIndirectA(&lf);
  SendMessageA(FDialog.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  RECT before, client;
  GetWindowRect(FDialog.Handle(), &before);
  GetClientRect(FDialog.Handle(), &client);
  const int frame = (before.right - before.left) - client.right;

  Pass({"TOpenDialog.Left[1090]=20", "TOpenDialog.Width[1090]=100", "TOpenDialog.Top[1090]=40", "TOpenDialog.Width=500"});
  RECT r = PlaceOf(FDialog.Child(1));  // left, top, width, height
  // The base units' ratio: the simulation's widths are scaled from the recorded ones and rounded
  // as dialogs round them, so it is about 1.5, not exactly.
  const double across = r.right / 100.0;
  EXPECT_GT(across, 1.4);
  EXPECT_LT(across, 1.7);
  EXPECT_NEAR(r.left, 20 * across, 1.5) << "left and width scale alike";
  EXPECT_GT(r.top, 40 * 1.4);
  EXPECT_LT(r.top, 40 * 1.6);
  RECT w;
  GetWindowRect(FDialog.Handle(), &w);
  EXPECT_NEAR(w.right - w.left, frame + (500 - frame * 96.0 / 144) * across, 3) << "the client part scaled, the frame as it is";

  // Entries captured at 144 dpi stand as they are; one that is no screen's DPI is taken as 96.
  FLmt->Translations()->Clear();
  Pass({"TOpenDialog.PixelsPerInch=144", "TOpenDialog.Left[1090]=20", "TOpenDialog.Width[1090]=100"});
  r = PlaceOf(FDialog.Child(1));
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.right, 100);
  FLmt->Translations()->Clear();
  Pass({"TOpenDialog.PixelsPerInch=5000", "TOpenDialog.Left[1090]=20"});
  EXPECT_NEAR(PlaceOf(FDialog.Child(1)).left, 20 * across, 1.5);
  SendMessageA(FDialog.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FDialog.OwnFont()), 0);
  DeleteObject(font);
}

// A capture says at which DPI its pixels are, unless it is 96.
TEST_F(Apply, ACaptureNamesItsDpiWhenItIsNot96) {
  vcl::TStringList captured;
  Vek::OwnerClassName = "TOpenDialog";
  FLmt->CaptureList = &captured;
  FLmt->GetProps(FDialog.Handle());
  EXPECT_EQ(captured.IndexOf("TOpenDialog.PixelsPerInch=96"), -1);
  SetScreenPixelsPerInch(120);
  captured.Clear();
  FLmt->GetProps(FDialog.Handle());
  SetScreenPixelsPerInch(96);
  FLmt->CaptureList = nullptr;
  EXPECT_NE(captured.IndexOf("TOpenDialog.PixelsPerInch=120"), -1);
}
#endif
