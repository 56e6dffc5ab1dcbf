// The translator end to end, on both window systems: every dialog shown through a registered
// class is translated while it is up, before any input.
#include "translator_form.hpp"

using namespace scenario;
using testing_support::FontOf;

namespace {

// What a shown dialog looks like.
struct Seen {
  std::string Title, Label, ByPosition, LabelFace;
  int LabelCharset = -1, DialogCharset = -1;
  LONG Width = 0, LabelLeft = 0, LabelWidth = 0;
};

Seen Read(HWND Dialog, const Kind& K) {
  Seen s;
  s.Title = TextOf(Dialog);
  RECT r{};
  GetWindowRect(Dialog, &r);
  s.Width = r.right - r.left;
  s.DialogCharset = FontOf(Dialog).lfCharSet;
  if (HWND label = GetDlgItem(Dialog, K.LabelId)) {
    s.Label = TextOf(label);
    const LOGFONTA lf = FontOf(label);
    s.LabelFace = lf.lfFaceName;
    s.LabelCharset = lf.lfCharSet;
    const RECT place = testing_support::PlaceOf(label);
    s.LabelLeft = place.left;
    s.LabelWidth = place.right;
  }
  HWND child = GetWindow(Dialog, GW_CHILD);
  for (int i = 1; child && i < K.Ordinal; ++i) child = GetWindow(child, GW_HWNDNEXT);
  if (child) s.ByPosition = TextOf(child);
  return s;
}

void ExpectGerman(const Seen& S, const Kind& K) {
  EXPECT_EQ(S.Title, K.Class->ClassName() + " auf Deutsch");
  EXPECT_EQ(S.Label, "&Beschriftung");
  EXPECT_EQ(S.ByPosition, "Nach Position");
  EXPECT_EQ(S.LabelFace, "Arial");
  EXPECT_EQ(S.LabelCharset, S.DialogCharset) << "the name entry starts again from the dialog's font";
  EXPECT_EQ(S.Width, 600);
  EXPECT_EQ(S.LabelLeft, 7);
  EXPECT_EQ(S.LabelWidth, 111);
}

using Translator = TranslatorForm;

}  // namespace


TEST_F(Translator, EveryRegisteredDialogIsTranslatedBeforeAnyInput) {
  ASSERT_TRUE(FPrinter.Error().empty()) << FPrinter.Error();
  for (std::size_t i = 0; i < Kinds.size(); ++i) {
    SCOPED_TRACE(Kinds[i].Class->ClassName());
    Seen seen;
    Show(FDialogs[i], [&](HWND Dialog) { seen = Read(Dialog, Kinds[i]); });
    ExpectGerman(seen, Kinds[i]);
    EXPECT_EQ(Vek::OldWndProc, nullptr) << "the window got its own procedure back";
  }
  EXPECT_EQ(Vek::LiveDialogFontCount(), 0) << "the fonts went with their dialogs";
}

TEST_F(Translator, PressingPsh1KeepsTheDialogTranslated) {
  const std::size_t replace = Kinds.size() - 1;
  Seen seen;
  Show(FDialogs[replace], [&](HWND Dialog) {
    const HWND button = GetDlgItem(Dialog, psh1);
    ASSERT_NE(button, nullptr);
    SendMessageA(Dialog, WM_COMMAND, MAKEWPARAM(psh1, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    vcl::Application->ProcessMessages();
    seen = Read(Dialog, Kinds[replace]);
  });
  ExpectGerman(seen, Kinds[replace]);
}

TEST_F(Translator, UnregisteredClassesAndOtherClassesEntriesLeaveADialogAlone) {
  TStrayOpenDialog stray(FForm);  // not on the form when it was loaded: never registered
  stray.SetOptions(stray.Options() | vcl::ofNoChangeDir);
  std::string title;
  Show(&stray, [&](HWND Dialog) { title = TextOf(Dialog); });
  EXPECT_EQ(title, "Open");

  // The open dialog shows its own entries, not the save dialog's, and a translator switched
  // off translates nothing.
  Show(FDialogs[0], [&](HWND Dialog) { title = TextOf(Dialog); });
  EXPECT_EQ(title, "TOpenDialog auf Deutsch");
  FLmt->SetTranslate(false);
  Show(FDialogs[0], [&](HWND Dialog) { title = TextOf(Dialog); });
  EXPECT_EQ(title, "Open");
}

TEST_F(Translator, TemporaryTranslatorsComeAndGoWhileADialogIsShown) {
  std::string title;
  Show(FDialogs[0], [&](HWND Dialog) {
    for (int round = 0; round < 3; ++round) {
      auto* temporary = new Vek::TLumetra(FForm);  // takes the charge, with no entries
      InvalidateRect(Dialog, nullptr, TRUE);
      UpdateWindow(Dialog);
      delete temporary;  // nobody is in charge now; the hooks must not reach it
      InvalidateRect(Dialog, nullptr, TRUE);
      UpdateWindow(Dialog);
      SendMessageA(Dialog, WM_ACTIVATE, WA_INACTIVE, 0);
    }
    title = TextOf(Dialog);
  });
  EXPECT_EQ(title, "TOpenDialog auf Deutsch");  // translated before, untouched since
  EXPECT_EQ(Vek::vekInstance, nullptr);
}

TEST_F(Translator, ADialogInterceptedAfterItWasPaintedIsTranslatedAtOnce) {
  // The owner side reports the dialog late: the stray class is not registered, so nothing
  // intercepted it while it opened and painted; its hook is then called by hand.
  TStrayOpenDialog stray(FForm);
  stray.SetOptions(stray.Options() | vcl::ofNoChangeDir);
  std::string before, after;
  Show(&stray, [&](HWND Dialog) {
    UpdateWindow(Dialog);
    before = TextOf(Dialog);
    vcl::TMessage late{WM_WINDOWPOSCHANGED, 0, 0, 0};
    Vek::TCommonDlgHook::MessageHook(&stray, late);
    after = TextOf(Dialog);  // no repaint in between
  });
  EXPECT_EQ(before, "Open");
  EXPECT_EQ(after, "TStrayOpenDialog auf Deutsch");
  EXPECT_EQ(Vek::OldWndProc, nullptr);
}
