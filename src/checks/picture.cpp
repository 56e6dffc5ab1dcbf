// The picture of a dialog in memory: its size, bounded whatever the dialog's, and its pixels.
#include <algorithm>

#include "checks/preview.hpp"

namespace checks {

PictureSize PictureSizeOf(const RECT& Window) {
  PictureSize size;
  // Widened: a rectangle may span more than an int holds.
  size.WindowWidth = static_cast<long long>(Window.right) - Window.left;
  size.WindowHeight = static_cast<long long>(Window.bottom) - Window.top;
  size.Width = static_cast<int>(std::clamp<long long>(size.WindowWidth, 1, MaxPictureSide));
  size.Height = static_cast<int>(std::clamp<long long>(size.WindowHeight, 1, MaxPictureSide));
  return size;
}

unsigned Picture::Pixel(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= Width || Y >= Height) return 0;
  const std::size_t at = (static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(X)) * 3;
  return static_cast<unsigned>(Rgb[at]) << 16 | static_cast<unsigned>(Rgb[at + 1]) << 8 | Rgb[at + 2];
}

}  // namespace checks
