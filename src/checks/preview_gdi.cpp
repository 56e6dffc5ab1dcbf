// The preview on Windows: a picture of the live translated dialog taken from the screen, with
// the faults outlined in red.
#include "checks/preview.hpp"
#include "vcl/SysUtils.hpp"
#include "win/window_info.h"

namespace checks {

PictureSize PhotographPreview(HWND Dialog, const std::vector<Problem>& Problems, const std::string& FileName) {
  // The translation sets texts while the dialog shows; everything is painted before the picture.
  // Wine hands what a window paints to the X server a little later, so pending messages are
  // handled for a moment before the screen is read.
  RedrawWindow(Dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  for (int i = 0; i < 10; ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    GdiFlush();
    Sleep(30);
  }
  RECT w{};
  GetWindowRect(Dialog, &w);
  const RECT client = win::ClientRectOnScreen(Dialog);
  const PictureSize size = PictureSizeOf(w);
  if (size.WindowWidth <= 0 || size.WindowHeight <= 0) throw vcl::Exception("the dialog window has no area to photograph");
  const int width = size.Width, height = size.Height;

  void* bits = nullptr;
  const HBITMAP bitmap = MakeDrawingBitmap(width, height, bits);
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, w.left, w.top, SRCCOPY);
  OutlinePlaces(memory, POINT{client.left - w.left, client.top - w.top}, Problems);
  GdiFlush();
  const Picture picture = Picture::FromRows(width, height, bits, static_cast<std::size_t>(width) * 4);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  WritePng(FileName, picture);
  return size;
}

}  // namespace checks
