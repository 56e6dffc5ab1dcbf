// The preview of a translated dialog: its picture with the controls at fault outlined in red.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "checks/checks.hpp"

namespace checks {

/// The longest side of a picture of a dialog, in pixels: a larger dialog (larger than screens
/// are; beyond 32767 px it is an error of the checks) is drawn clipped to its top left corner.
inline constexpr int MaxPictureSide = 4096;

/// The size of the picture of a window: its outer size, from 1 to MaxPictureSide px a side.
struct PictureSize {
  int Width = 1, Height = 1;
  long long WindowWidth = 0, WindowHeight = 0;  ///< the window's outer size, as it is
  bool Clipped() const { return WindowWidth > Width || WindowHeight > Height; }
};
/// The size of the picture of a window whose outer rectangle is Window. Never fails.
PictureSize PictureSizeOf(const RECT& Window);

/// A picture in memory: Width x Height pixels, rows top-down, each pixel a 32-bit 0xRRGGBB, as
/// a 32-bit device-independent bitmap and Cairo's RGB24 surfaces hold them: drawn, shown and
/// written without converting.
struct Picture {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Pixels;
  /// The colour at X, Y as 0xRRGGBB; 0 outside the picture.
  unsigned Pixel(int X, int Y) const;
  /// The picture of Width x Height pixels whose rows of 32-bit words (blue, green, red and a
  /// byte not used, as Bits holds them) start Stride bytes apart at Rows.
  static Picture FromRows(int Width, int Height, const void* Rows, std::size_t Stride);
};

/// The rectangle a problem's Place is outlined along (a line 2 px wide, red): 1 px outside the
/// place on every side, so that the line leaves the control itself to be seen.
RECT OutlineOf(const RECT& Place);

/// Draws Dialog (a layout after its entries, see Applied) from the layout alone, in the dialog's
/// font (the recorded face in the simulation, the real font with GDI on Windows), and outlines
/// the Place of each problem in red: fast enough to redraw on every key typed in the editor. The
/// picture has the size PictureSizeOf gives the dialog's window.
Picture DrawPicture(const DialogLayout& Dialog, const std::vector<Problem>& Problems);

#ifndef _WIN32
/// Draws Dialog (a layout after its entries, see Applied) as the simulation shows it, in the
/// recorded face, and outlines the Place of each problem in red; replaces the PNG file whole
/// (vcl::ReplaceFile) and answers the size drawn (see PictureSizeOf). Raises
/// vcl::EFCreateError naming the file when it cannot be written.
PictureSize DrawPreview(const DialogLayout& Dialog, const std::vector<Problem>& Problems, const std::string& FileName);
/// Keeps Cairo, and the libraries it loaded, loaded until the process ends. They set up
/// process-wide state when loaded (pixman its implementations, fontconfig its configuration)
/// that they never give back: a package that draws with them, unloaded and loaded again by its
/// host, would set it all up again each time.
void KeepDrawingLibraryLoaded();
#else
/// Photographs the shown window Dialog (translated and painted), outlines the Place of each
/// problem in red, replaces the PNG file whole (WritePng) and answers the size taken (see
/// PictureSizeOf). Raises vcl::EFCreateError naming the file when it cannot be written,
/// vcl::Exception when the screen cannot be read.
PictureSize PhotographPreview(HWND Dialog, const std::vector<Problem>& Problems, const std::string& FileName);
/// A 32-bit top-down bitmap of Width x Height to draw on in memory; Bits receives its pixels
/// (blue, green, red, unused). Raises vcl::Exception naming the size when none can be made.
HBITMAP MakeDrawingBitmap(int Width, int Height, void*& Bits);
/// Outlines the Place of each problem (see OutlineOf) on Dc, whose point Origin is the dialog's
/// client origin, leaving the pen and brush selected as they were.
void OutlinePlaces(HDC Dc, POINT Origin, const std::vector<Problem>& Problems);
#endif

/// Picture as a PNG file of 8-bit RGB pixels, its image data stored without compression,
/// replacing the file whole (vcl::ReplaceFile). Raises vcl::EFCreateError naming the file.
void WritePng(const std::string& FileName, const Picture& Image);

}  // namespace checks
