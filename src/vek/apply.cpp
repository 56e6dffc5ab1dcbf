// Applying translations to a shown dialog: texts, fonts, sizes and positions from the entries
// of the translator in charge whose class part is the dialog component's class.
//
// Notes:
// - A pass runs on every activation and every repaint of the dialog's background. The entries
//   of one class are found through an index by class part, rebuilt only when the list changes,
//   so a pass costs what the dialog's own entries cost, whatever else the list holds; the
//   index keeps list order, so the result is that of walking the whole list.
// - Sizes and positions are clamped to what a screen holds (OnScreen: sizes 0 to 32767,
//   positions -32767 to 32767) before they reach MoveWindow, so that no value of an entry makes
//   the window system's sums of position and size overflow; the checks report such values.
// - Fonts made for a dialog are kept per dialog and per font description: further passes hand
//   the controls the same font instead of a new one each time, and the fonts are deleted once
//   the dialog window is destroyed (seen by a thread hook on WM_NCDESTROY while any are held).
#include <algorithm>
#include <cstring>
#include <vector>

#include "entry_index.hpp"
#include "vcl/CodePages.hpp"

namespace Vek {

namespace {

// ---- Fonts handed to dialogs ----

using DialogFont = TInterceptionState::DialogFont;

void ReleaseFontsOf(HWND Dialog) {
  std::vector<DialogFont>& fonts = Interception.DialogFonts;
  for (auto it = fonts.begin(); it != fonts.end();) {
    if (it->Dialog == Dialog) {
      DeleteObject(it->Font);
      it = fonts.erase(it);
    } else {
      ++it;
    }
  }
  if (fonts.empty() && Interception.DestroyWatch) {
    UnhookWindowsHookEx(Interception.DestroyWatch);
    Interception.DestroyWatch = nullptr;
  }
}

LRESULT CALLBACK WatchDestroy(int Code, WPARAM wParam, LPARAM lParam) {
  const HHOOK self = Interception.DestroyWatch;
  if (Code == HC_ACTION) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (m->message == WM_NCDESTROY) ReleaseFontsOf(m->hwnd);
  }
  return CallNextHookEx(self, Code, wParam, lParam);
}

// The font of the given description for Dialog: the one made for it before, or a new one.
HFONT FontFor(HWND Dialog, const LOGFONTA& Description) {
  for (const DialogFont& f : Interception.DialogFonts)
    if (f.Dialog == Dialog && std::memcmp(&f.Description, &Description, sizeof Description) == 0) return f.Font;
  const HFONT font = CreateFontIndirectA(&Description);
  if (!font) return font;
  if (!Interception.DestroyWatch)
    Interception.DestroyWatch = SetWindowsHookExA(WH_CALLWNDPROCRET, &WatchDestroy, nullptr, GetCurrentThreadId());
  Interception.DialogFonts.push_back({Dialog, Description, font});
  return font;
}

// The n-th window (from 1) of the sibling chain that starts at First, or 0.
HWND NthSibling(HWND First, int N) {
  HWND w = First;
  for (int i = 1; w && i < N; ++i) w = GetWindow(w, GW_HWNDNEXT);
  return N >= 1 ? w : nullptr;
}

HWND FindControl(HWND Dialog, int Id) {
  return Id >= 0 ? GetDlgItem(Dialog, Id) : NthSibling(GetWindow(Dialog, GW_CHILD), -Id);
}

// The base units of a dialog with Font (a description for FontDpi) at Dpi: the font's height
// scaled to Dpi, and then, as dialogs measure them, half the average width of the 52 letters
// (rounded) and the line height.
POINT BaseUnitsAt(const LOGFONTA& Font, int FontDpi, int Dpi) {
  LOGFONTA lf = Font;
  lf.lfHeight = FontHeightAt(Font.lfHeight, FontDpi, Dpi);
  lf.lfWidth = 0;
  POINT units{0, 0};
  const HFONT font = CreateFontIndirectA(&lf);
  const HDC dc = GetDC(nullptr);
  if (font && dc) {
    const HGDIOBJ old = SelectObject(dc, font);
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    TEXTMETRICA tm{};
    if (GetTextExtentPoint32A(dc, letters, 52, &size) && GetTextMetricsA(dc, &tm)) units = {(size.cx / 26 + 1) / 2, tm.tmHeight};
    SelectObject(dc, old);
  }
  if (dc) ReleaseDC(nullptr, dc);
  if (font) DeleteObject(font);
  return units;
}

// The width of a dialog's client area, across which a mirrored dialog's places are reflected.
int ClientWidthOf(HWND Dialog) {
  RECT r{};
  GetClientRect(Dialog, &r);
  return r.right - r.left;
}

// Lays a dialog out for its reading order. The mirrored modes put every control at its mirrored
// place, once per dialog: as far from the right edge as it was from the left (Left entries then
// count from the right edge too). The dialog keeps its own left-to-right coordinates: the file
// dialogs re-lay out their controls when a text changes, and those of a dialog made
// WS_EX_LAYOUTRTL after it was built went on moving for ever under Wine. Every right-to-left
// mode reads the controls' texts from right to left; bdRightToLeft also aligns them to the
// right (and puts check boxes and scroll bars on the left, as right-to-left dialogs have them).
void ApplyReadingOrder(HWND Dialog, BiDiMode Mode) {
  if (Mode == BiDiMode::LeftToRight) return;
  const bool mirror = Mode == BiDiMode::RightToLeft || Mode == BiDiMode::RightToLeftNoAlign;
  if (mirror && Interception.Mirrored != Dialog) {
    Interception.Mirrored = Dialog;
    const int width = ClientWidthOf(Dialog);
    for (HWND c = GetWindow(Dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      RECT r{};
      GetWindowRect(c, &r);
      MapWindowPoints(nullptr, Dialog, reinterpret_cast<POINT*>(&r), 2);
      MoveWindow(c, width - r.right, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    }
    InvalidateRect(Dialog, nullptr, TRUE);
  }
  const DWORD add = WS_EX_RTLREADING | (Mode == BiDiMode::RightToLeft ? WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR : 0);
  for (HWND c = GetWindow(Dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const auto childEx = static_cast<DWORD>(GetWindowLongPtrW(c, GWL_EXSTYLE));
    if ((childEx & add) != add) SetWindowLongPtrW(c, GWL_EXSTYLE, static_cast<LONG_PTR>(childEx | add));
  }
}

// Sends a text to a window as UTF-16: its bytes are in code page Page, which need not be the
// system's (a window converts ANSI text with the system's code page, whatever its font).
void SendText(HWND Window, int Page, std::string_view Text) {
  const std::u16string text = vcl::ToUtf16(Page, vcl::WholeCharacters(Page, Text));
  SendMessageW(Window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

const std::vector<int>& EntryIndex::Of(const TSortList& AList, const std::string& ClassName) {
  if (List != &AList || Changes != AList.ChangeCount()) {
    List = &AList;
    Changes = AList.ChangeCount();
    Positions.clear();
    for (int i = 0; i < AList.Count(); ++i) {
      const Entry e = Entry::Split(AList.Strings(i));
      if (e.HasClass) Positions[std::string(e.ClassPart)].push_back(i);
    }
  }
  static const std::vector<int> none;
  auto it = Positions.find(ClassName);
  return it == Positions.end() ? none : it->second;
}

void TLumetra::SetDlgTextOfChild(HWND First, int N, const char* Text) {
  if (const HWND w = NthSibling(First, N)) SendText(w, FPassCodePage, Text);
}

void TLumetra::SetFontOfChildren(HWND First, HFONT Font) {
  for (HWND w = First; w; w = GetWindow(w, GW_HWNDNEXT)) {
    // A window that has the font already is left alone: a dialog is translated again on each
    // repaint, and a combo box told its font re-lays itself out and asks for another repaint.
    if (reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0)) != Font)
      SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
    if (const HWND child = GetWindow(w, GW_CHILD)) SetFontOfChildren(child, Font);
  }
}

HFONT TLumetra::SetFontName(HFONT Font, const std::string& Name) {
  LOGFONTA lf{};
  if (!GetObjectA(Font, sizeof lf, &lf)) return Font;
  // The face-name field holds 31 characters and its terminator; a longer name is cut.
  const std::size_t n = std::min(Name.size(), sizeof lf.lfFaceName - 1);
  std::memcpy(lf.lfFaceName, Name.data(), n);
  lf.lfFaceName[n] = '\0';
  return FPassDialog ? FontFor(FPassDialog, lf) : CreateFontIndirectA(&lf);
}

HFONT TLumetra::SetFontCharset(HFONT Font, BYTE Charset) {
  LOGFONTA lf{};
  if (!GetObjectA(Font, sizeof lf, &lf)) return Font;
  lf.lfCharSet = Charset;
  return FPassDialog ? FontFor(FPassDialog, lf) : CreateFontIndirectA(&lf);
}

void TLumetra::TranslateDialog(HWND hWnd) {
  if (!FTranslate) return;
  if (!FIndex) FIndex = std::make_unique<EntryIndex>();
  const HWND savedDialog = FPassDialog;  // a pass may start inside another one
  FPassDialog = hWnd;
  struct Restore {
    TLumetra* Self;
    HWND Saved;
    ~Restore() { Self->FPassDialog = Saved; }
  } restore{this, savedDialog};

  // Copied: the messages a pass sends may let the dialog's own code change the list.
  const std::vector<int> positions = FIndex->Of(*FTranslations, OwnerClassName);
  // One walk for what the whole pass depends on. The texts are in the code page of the class's
  // (last) Font.Charset entry. Sizes and positions are pixels at the DPI of its PixelsPerInch
  // entry (96 without one); at another DPI they are taken through the dialog's units: pixels to
  // dialog units with the base units its font had there, and back with those it has now, as the
  // template's own layout scales.
  std::optional<int> charset;
  int entryDpi = DefaultPixelsPerInch;
  for (int i : positions) {
    if (i >= FTranslations->Count()) break;
    const Entry e = Entry::Split(FTranslations->Strings(i));
    if (!e.AppliesTo(OwnerClassName)) continue;
    if (const std::optional<int> c = e.Charset()) charset = c;
    if (e.Kind != EntryKind::PixelsPerInch) continue;
    const std::optional<std::string> v = e.TryDecodedValue();
    if (const std::optional<int> n = v ? ParseDecimal(*v) : std::nullopt; n && IsPixelsPerInch(*n)) entryDpi = *n;
  }
  const int savedPage = FPassCodePage;
  FPassCodePage = TextCodePage(charset);
  const int dpi = ScreenPixelsPerInch(hWnd);
  // Measured the first time a size or position needs them.
  std::optional<std::pair<POINT, POINT>> units;  // then, now
  const auto scaled = [&](int Value, bool Horizontal) {
    if (dpi == entryDpi) return Value;
    if (!units) {
      POINT then{0, 0}, now{0, 0};
      LOGFONTA lf{};
      const HFONT font = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
      if (font && GetObjectA(font, sizeof lf, &lf)) then = BaseUnitsAt(lf, dpi, entryDpi), now = BaseUnitsAt(lf, dpi, dpi);
      // Without a font (or a measure of it) the pixels scale with the DPI.
      if (then.x <= 0 || then.y <= 0 || now.x <= 0 || now.y <= 0) then = {entryDpi, entryDpi}, now = {dpi, dpi};
      units.emplace(then, now);
    }
    const auto& [then, now] = *units;
    return Horizontal ? Rescaled(Value, now.x, then.x) : Rescaled(Value, now.y, then.y);
  };
  struct RestorePage {
    int& Page;
    int Saved;
    ~RestorePage() { Page = Saved; }
  } restorePage{FPassCodePage, savedPage};
  // Every Font entry starts again from the dialog's own font, so of a run of them the last one
  // decides what the controls get; that font is handed on once, when the run ends. (Handing on
  // each in turn made the controls change font twice a pass, and a combo box that changes font
  // changes height and has the dialog painted, and so translated, again: for ever.)
  bool fontPending = false;
  HFONT childFont = nullptr;
  const auto handOnFont = [&] {
    if (fontPending) SetFontOfChildren(GetWindow(hWnd, GW_CHILD), childFont);
    fontPending = false;
  };
  struct HandOnAtEnd {
    const decltype(handOnFont)& HandOn;
    ~HandOnAtEnd() { HandOn(); }
  } handOnAtEnd{handOnFont};
  for (int i : positions) {
    if (i >= FTranslations->Count()) break;
    const Entry e = Entry::Split(FTranslations->Strings(i));
    if (!e.AppliesTo(OwnerClassName) || e.Kind == EntryKind::Ignored) continue;
    const std::optional<std::string> value = e.TryDecodedValue();
    if (!value || (value->empty() && !FTranslateEmpty)) continue;
    const std::optional<int> number = ParseDecimal(*value);
    if (e.Kind != EntryKind::Font) handOnFont();

    switch (e.Kind) {
      case EntryKind::WindowCaption:
        SendText(hWnd, FPassCodePage, *value);
        break;
      case EntryKind::ChildCaption: {
        const std::optional<int> id = e.Id();
        if (!id) break;
        if (*id >= 0) {
          if (const HWND c = GetDlgItem(hWnd, *id)) SendText(c, FPassCodePage, *value);
        } else {
          SetDlgTextOfChild(GetWindow(hWnd, GW_CHILD), -*id, value->c_str());
        }
        break;
      }
      case EntryKind::Font: {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
        if (e.Font == FontField::Name) font = SetFontName(font, *value);
        else if (e.Font == FontField::Charset) {
          if (!number) break;
          font = SetFontCharset(font, static_cast<BYTE>(*number & 0xFF));
        }
        childFont = font;
        fontPending = true;
        break;
      }
      case EntryKind::WindowWidth:
      case EntryKind::WindowHeight: {
        RECT r;
        if (!number || !GetWindowRect(hWnd, &r)) break;
        const bool width = e.Kind == EntryKind::WindowWidth;
        int size = OnScreen(e.Kind, *number);
        if (dpi != entryDpi) {
          // The frame and title bar do not scale with the dialog's units: the client part does,
          // and the frame is what it is now (taken at the entry's DPI as scaled with the DPI).
          RECT client{};
          GetClientRect(hWnd, &client);
          const int frame = width ? (r.right - r.left) - (client.right - client.left) : (r.bottom - r.top) - (client.bottom - client.top);
          size = std::max(0, scaled(size - Rescaled(frame, entryDpi, dpi), width)) + frame;
        }
        MoveWindow(hWnd, r.left, r.top, width ? size : r.right - r.left, width ? r.bottom - r.top : size, FALSE);
        break;
      }
      case EntryKind::ChildLeft:
      case EntryKind::ChildTop:
      case EntryKind::ChildWidth:
      case EntryKind::ChildHeight: {
        const std::optional<int> id = e.Id();
        if (!id || !number) break;
        const HWND c = FindControl(hWnd, *id);
        RECT r;
        if (!c || !GetWindowRect(c, &r)) break;
        MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&r), 2);
        // In a mirrored dialog x is the distance of the control's right edge from the dialog's.
        const bool mirrored = Interception.Mirrored == hWnd;
        const int width = mirrored ? ClientWidthOf(hWnd) : 0;
        int x = mirrored ? width - r.right : r.left, y = r.top, cx = r.right - r.left, cy = r.bottom - r.top;
        const int onScreen = scaled(OnScreen(e.Kind, *number), e.Kind == EntryKind::ChildLeft || e.Kind == EntryKind::ChildWidth);
        if (e.Kind == EntryKind::ChildLeft) x = onScreen;
        else if (e.Kind == EntryKind::ChildTop) y = onScreen;
        else if (e.Kind == EntryKind::ChildWidth) cx = onScreen;
        else cy = onScreen;
        MoveWindow(c, mirrored ? width - x - cx : x, y, cx, cy, FALSE);
        break;
      }
      case EntryKind::PixelsPerInch:
        break;  // taken before the others
      case EntryKind::BiDiMode:
        if (const std::optional<BiDiMode> mode = ParseBiDiMode(*value)) ApplyReadingOrder(hWnd, *mode);
        break;
      case EntryKind::Ignored:
        break;
    }
  }
}

int LiveDialogFontCount() { return static_cast<int>(Interception.DialogFonts.size()); }

int Rescaled(int Value, int Num, int Den) {
  if (Den <= 0) return Value;
  const std::int64_t p = static_cast<std::int64_t>(Value) * Num;
  return static_cast<int>((p >= 0 ? p + Den / 2 : p - Den / 2) / Den);
}

int FontHeightAt(int Height, int FromDpi, int ToDpi) {
  if (FromDpi == ToDpi || FromDpi <= 0 || ToDpi <= 0) return Height;
  if (Height >= 0) return Rescaled(Height, ToDpi, FromDpi);
  const int points = Rescaled(-Height, 72, FromDpi);
  return points > 0 ? -Rescaled(points, ToDpi, 72) : Rescaled(Height, ToDpi, FromDpi);
}

int ScreenPixelsPerInch(HWND Window) {
  const HDC dc = GetDC(Window);
  if (!dc) return DefaultPixelsPerInch;
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(Window, dc);
  return dpi > 0 ? dpi : DefaultPixelsPerInch;
}

}  // namespace Vek
