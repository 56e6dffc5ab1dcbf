// The preview drawn on Windows from the layout alone, with GDI in the dialog's real fonts: the
// editor redraws it on every key typed, which a picture of the live dialog is too slow for.
#include <algorithm>
#include <map>
#include <tuple>

#include "checks/preview.hpp"
#include "vcl/CodePages.hpp"
#include "vcl/SysUtils.hpp"
#include "win/control_kind.h"

namespace checks {

namespace {

// The fonts of one drawing, made once per face, set and height.
class Fonts {
public:
  ~Fonts() {
    for (const auto& [key, font] : FMade) DeleteObject(font);
  }
  HFONT Of(const FontSpec& Font, bool Bold = false) {
    const auto key = std::make_tuple(Font.Face, Font.Charset, Font.Height, Bold);
    HFONT& font = FMade[key];
    if (!font) {
      LOGFONTA lf{};
      lf.lfHeight = Font.Height;
      lf.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
      lf.lfCharSet = static_cast<BYTE>(Font.Charset);
      lstrcpynA(lf.lfFaceName, Font.Face.c_str(), LF_FACESIZE);
      font = CreateFontIndirectA(&lf);
    }
    return font;
  }

private:
  std::map<std::tuple<std::string, int, int, bool>, HFONT> FMade;
};

void Fill(HDC Dc, RECT R, COLORREF Color) {
  const HBRUSH brush = CreateSolidBrush(Color);
  FillRect(Dc, &R, brush);
  DeleteObject(brush);
}

// Text is in code page Page, drawn as its UTF-16 form.
void DrawIn(HDC Dc, RECT R, int Page, const std::string& Text, UINT Format) {
  const std::u16string wide = vcl::ToUtf16(Page, Text);
  DrawTextW(Dc, reinterpret_cast<const wchar_t*>(wide.c_str()), static_cast<int>(wide.size()), &R, Format);
}

void Text(HDC Dc, RECT R, int Page, const std::string& Text, UINT Format) {
  SetBkMode(Dc, TRANSPARENT);
  SetTextColor(Dc, RGB(0, 0, 0));
  DrawIn(Dc, R, Page, Text, Format);
}

void DrawControl(HDC Dc, Fonts& F, const ControlLayout& C, int Page) {
  RECT r = C.Rect;
  SelectObject(Dc, F.Of(C.Font));
  const win::ControlKind kind = win::KindOfControl(C.ClassName, C.Style);
  if (kind == win::ControlKind::Label) {
    const win::LabelText how = win::LabelTextOf(C.Style);
    const UINT align = how.Align == win::LabelText::Alignment::Center  ? DT_CENTER
                       : how.Align == win::LabelText::Alignment::Right ? DT_RIGHT
                                                                        : DT_LEFT;
    Text(Dc, r, Page, C.Text, (how.Prefix ? 0 : DT_NOPREFIX) | (how.Wraps ? DT_WORDBREAK : 0) | align);
  } else if (kind == win::ControlKind::GroupBox) {
    RECT frame{r.left, r.top + 6, r.right, r.bottom};
    DrawEdge(Dc, &frame, EDGE_ETCHED, BF_RECT);
    SIZE size{};
    GetTextExtentPoint32A(Dc, C.Text.c_str(), static_cast<int>(C.Text.size()), &size);
    Fill(Dc, RECT{r.left + 6, r.top, r.left + 10 + size.cx, r.top + size.cy}, GetSysColor(COLOR_BTNFACE));
    Text(Dc, RECT{r.left + 8, r.top, r.right, r.bottom}, Page, C.Text, DT_SINGLELINE);
  } else if (kind == win::ControlKind::CheckBox || kind == win::ControlKind::RadioButton) {
    const int box = 13, by = r.top + (r.bottom - r.top - box) / 2;
    RECT mark{r.left, by, r.left + box, by + box};
    DrawFrameControl(Dc, &mark, DFC_BUTTON, kind == win::ControlKind::RadioButton ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK);
    Text(Dc, RECT{r.left + 17, r.top, r.right, r.bottom}, Page, C.Text, DT_SINGLELINE | DT_VCENTER);
  } else if (kind == win::ControlKind::PushButton || vcl::SameText(C.ClassName, "Button")) {
    // Owner-drawn and user buttons draw what they like: a push button stands for them.
    DrawFrameControl(Dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
    Text(Dc, r, Page, C.Text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  } else if (win::ShowsContent(kind) || C.ClassName == "SHELLDLL_DefView") {
    // A drop-down combo box's rectangle includes its closed list: only the field is drawn.
    const bool dropDown = (kind == win::ControlKind::ComboBox && win::DropsDown(C.Style)) || vcl::SameText(C.ClassName, "ComboBoxEx32");
    if (dropDown) r.bottom = std::min(r.bottom, r.top + 21);
    Fill(Dc, r, RGB(255, 255, 255));
    DrawEdge(Dc, &r, EDGE_SUNKEN, BF_RECT);
    if (dropDown) {
      RECT arrow{r.right - 18, r.top + 2, r.right - 2, r.bottom - 2};
      DrawFrameControl(Dc, &arrow, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    }
    Text(Dc, RECT{r.left + 4, r.top + 3, r.right - 20, r.bottom - 2}, Page, C.Text, DT_SINGLELINE | DT_NOPREFIX);
  }
}

}  // namespace

HBITMAP MakeDrawingBitmap(int Width, int Height, void*& Bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = Width;
  info.bmiHeader.biHeight = -Height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  Bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!bitmap || !Bits) {
    if (bitmap) DeleteObject(bitmap);
    throw vcl::Exception("cannot make a bitmap of " + std::to_string(Width) + " x " + std::to_string(Height) + " to draw the dialog on");
  }
  return bitmap;
}

void OutlinePlaces(HDC Dc, POINT Origin, const std::vector<Problem>& Problems) {
  const HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
  const HGDIOBJ oldPen = SelectObject(Dc, pen);
  const HGDIOBJ oldBrush = SelectObject(Dc, GetStockObject(NULL_BRUSH));
  for (const Problem& p : Problems) {
    if (!p.Place) continue;
    // Rectangle leaves out the right and bottom edges it is given.
    const RECT r = OutlineOf(*p.Place);
    Rectangle(Dc, Origin.x + r.left, Origin.y + r.top, Origin.x + r.right + 1, Origin.y + r.bottom + 1);
  }
  SelectObject(Dc, oldBrush);
  SelectObject(Dc, oldPen);
  DeleteObject(pen);
}

Picture DrawPicture(const DialogLayout& Dialog, const std::vector<Problem>& Problems) {
  const RECT& win = Dialog.Window;
  const PictureSize size = PictureSizeOf(win);
  const int width = size.Width, height = size.Height;
  void* bits = nullptr;
  const HBITMAP bitmap = MakeDrawingBitmap(width, height, bits);
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  {
    Fonts fonts;
    const HGDIOBJ oldFont = SelectObject(dc, fonts.Of(Dialog.Font));
    // Frame and title bar, then the client area with its controls.
    RECT all{0, 0, width, height};
    Fill(dc, all, GetSysColor(COLOR_BTNFACE));
    DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
    const int cx = Dialog.Client.left - win.left, cy = Dialog.Client.top - win.top;
    Fill(dc, RECT{3, 3, width - 3, std::max(3, cy - 1)}, RGB(10, 36, 106));
    SelectObject(dc, fonts.Of(Dialog.Font, true));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT title{8, 3, width - 8, std::max(3, cy - 1)};
    DrawIn(dc, title, Dialog.CodePage, Dialog.Title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (Dialog.Mirrored ? DT_RIGHT : DT_LEFT));

    SetViewportOrgEx(dc, cx, cy, nullptr);
    const HRGN clip = CreateRectRgn(cx, cy, cx + Dialog.ClientWidth(), cy + Dialog.ClientHeight());
    SelectClipRgn(dc, clip);
    for (const ControlLayout& c : Dialog.Controls)
      if (c.Visible()) DrawControl(dc, fonts, c, Dialog.CodePage);
    // The faults, over everything, also where they leave the client area.
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    OutlinePlaces(dc, POINT{0, 0}, Problems);
    SelectObject(dc, oldFont);
  }
  GdiFlush();
  Picture picture = Picture::FromRows(width, height, bits, static_cast<std::size_t>(width) * 4);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return picture;
}

}  // namespace checks
