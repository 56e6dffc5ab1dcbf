// The picture of a dialog in memory: its size, bounded whatever the dialog's, and its pixels.
#include <algorithm>
#include <cstring>

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
  return Pixels[static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(X)];
}

Picture Picture::FromRows(int Width, int Height, const void* Rows, std::size_t Stride) {
  Picture p;
  p.Width = Width;
  p.Height = Height;
  p.Pixels.resize(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height));
  const auto* from = static_cast<const unsigned char*>(Rows);
  for (int y = 0; y < Height; ++y)
    std::memcpy(p.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width), from + static_cast<std::size_t>(y) * Stride,
                static_cast<std::size_t>(Width) * 4);
  for (std::uint32_t& pixel : p.Pixels) pixel &= 0xFFFFFF;  // the byte not used may hold anything
  return p;
}

RECT OutlineOf(const RECT& Place) { return RECT{Place.left - 1, Place.top - 1, Place.right + 1, Place.bottom + 1}; }

}  // namespace checks
