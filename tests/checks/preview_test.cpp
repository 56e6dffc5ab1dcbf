// The preview's pictures: the PNG writer, and the drawing of a translated dialog with its faults
// outlined in red (read back with Cairo).
#include <gtest/gtest.h>

#include <cstring>

#include "checks/preview.hpp"
#include "test_support.hpp"
#include "vcl/SysUtils.hpp"

#ifndef _WIN32
#include <cairo.h>
#endif

using testing_support::ReadFile;
using testing_support::ScratchDir;

namespace {

#ifndef _WIN32
// The picture in a PNG file, read with Cairo: width, height and the pixel at (X, Y) as 0xRRGGBB.
struct Picture {
  explicit Picture(const std::string& FileName) : Surface(cairo_image_surface_create_from_png(FileName.c_str())) {}
  ~Picture() { cairo_surface_destroy(Surface); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  bool Ok() const { return cairo_surface_status(Surface) == CAIRO_STATUS_SUCCESS; }
  int Width() const { return cairo_image_surface_get_width(Surface); }
  int Height() const { return cairo_image_surface_get_height(Surface); }
  std::uint32_t At(int X, int Y) {
    cairo_surface_flush(Surface);
    const unsigned char* row = cairo_image_surface_get_data(Surface) + Y * cairo_image_surface_get_stride(Surface);
    std::uint32_t p;
    std::memcpy(&p, row + 4 * X, 4);
    return p & 0xFFFFFF;
  }
  cairo_surface_t* Surface;
};
#endif

}  // namespace

TEST(Preview, PngFilesHoldTheirPixels) {
  ScratchDir dir;
  const std::string file = dir.File("p.png");
  // 70,000 bytes of image data: more than one stored block.
  const int w = 200, h = 117;
  std::vector<unsigned char> rgb(static_cast<std::size_t>(w * h * 3));
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<unsigned char>(i * 7);
  checks::WritePng(file, w, h, rgb);
  const std::string bytes = ReadFile(file);
  EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 8, 4), "IEND");
#ifndef _WIN32
  Picture p(file);
  ASSERT_TRUE(p.Ok());
  EXPECT_EQ(p.Width(), w);
  EXPECT_EQ(p.Height(), h);
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{199, 0}, std::pair{57, 88}, std::pair{199, 116}}) {
    const std::size_t i = static_cast<std::size_t>((y * w + x) * 3);
    EXPECT_EQ(p.At(x, y), (std::uint32_t(rgb[i]) << 16) | (std::uint32_t(rgb[i + 1]) << 8) | rgb[i + 2]) << x << "," << y;
  }
#endif
  EXPECT_THROW(checks::WritePng(dir.File("no/such/folder/p.png"), 1, 1, {0, 0, 0}), vcl::EFCreateError);
}

#ifndef _WIN32
TEST(Preview, TheDrawingOutlinesTheFaultsInRed) {
  ScratchDir dir;
  const checks::DialogLayout open = checks::LayoutFromRecorded(*win::FindRecordedDialog("open"), "TOpenDialog");
  checks::Problem fault;
  fault.Place = open.Find(1090)->Rect;  // (98,273)-(182,297) in the client area
  const std::string file = dir.File("open.png");
  checks::DrawPreview(open, {fault, checks::Problem{}}, file);
  Picture p(file);
  ASSERT_TRUE(p.Ok());
  EXPECT_EQ(p.Width(), 565);
  EXPECT_EQ(p.Height(), 359);
  const int cx = open.Client.left - open.Window.left, cy = open.Client.top - open.Window.top;
  EXPECT_EQ(p.At(cx + 98 - 1, cy + 285), 0xFF0000u) << "the left edge of the outline";
  EXPECT_EQ(p.At(cx + 140, cy + 297), 0xFF0000u) << "its bottom edge";
  EXPECT_NE(p.At(cx + 300, cy + 285), 0xFF0000u) << "elsewhere no red";
  EXPECT_THROW(checks::DrawPreview(open, {}, dir.File("no/such/folder/p.png")), vcl::EFCreateError);
}

TEST(Preview, ControlsAreFoundAsTheApplyStepFindsThem) {
  const checks::DialogLayout find = checks::LayoutFromRecorded(*win::FindRecordedDialog("find"), "TFindDialog");
  EXPECT_EQ(find.Controls.size(), 10u);
  EXPECT_EQ(find.Find(-1)->Text, "Fi&nd What:");
  EXPECT_EQ(find.Find(65535), find.Find(-1)) << "the first child with that id";
  EXPECT_EQ(find.Find(-11), nullptr);
  EXPECT_EQ(find.Find(4711), nullptr);
  EXPECT_EQ(checks::RecordedKindOf("TReplaceDialog"), "replace");
  EXPECT_EQ(checks::RecordedKindOf("TMyOpenDialog"), "");
}
#endif

// The editor's picture, drawn from the layout on both systems (Cairo, or GDI in the real font).
TEST(Preview, ThePictureInMemoryOutlinesTheFaultsInRed) {
  const checks::DialogLayout open = checks::LayoutFromRecorded(*win::FindRecordedDialog("open"), "TOpenDialog");
  checks::Problem fault;
  fault.Place = open.Find(1090)->Rect;  // (98,273)-(182,297) in the client area
  const checks::Picture p = checks::DrawPicture(open, {fault, checks::Problem{}});
  EXPECT_EQ(p.Width, 565);
  EXPECT_EQ(p.Height, 359);
  const int cx = open.Client.left - open.Window.left, cy = open.Client.top - open.Window.top;
  EXPECT_TRUE(p.Pixel(cx + 98 - 1, cy + 285) == 0xFF0000u || p.Pixel(cx + 98 - 2, cy + 285) == 0xFF0000u)
      << "the left edge of the outline";
  EXPECT_TRUE(p.Pixel(cx + 140, cy + 297) == 0xFF0000u || p.Pixel(cx + 140, cy + 298) == 0xFF0000u) << "its bottom edge";
  int red = 0;
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x)
      if (p.Pixel(x, y) == 0xFF0000u && (x < cx + 98 - 4 || x > cx + 182 + 4 || y < cy + 273 - 4 || y > cy + 297 + 4)) ++red;
  EXPECT_EQ(red, 0) << "no red away from the outline";
  EXPECT_EQ(p.Pixel(-1, 0), 0u);
  EXPECT_EQ(p.Pixel(0, p.Height), 0u);
  EXPECT_EQ(checks::DrawPicture(open, {}).Pixel(cx + 98 - 1, cy + 285) == 0xFF0000u, false) << "no fault, no outline";
#ifndef _WIN32
  ScratchDir dir;
  checks::DrawPreview(open, {fault}, dir.File("open.png"));
  Picture file(dir.File("open.png"));
  for (const auto& [x, y] : {std::pair{10, 10}, std::pair{cx + 100, cy + 280}, std::pair{cx + 97, cy + 285}, std::pair{300, 200}})
    EXPECT_EQ(file.At(x, y), p.Pixel(x, y)) << "the same drawing as the preview file at " << x << "," << y;
#endif
}

// A dialog larger than screens are is drawn clipped, on both systems, whatever its rectangle.
TEST(Preview, APictureHasAtMostTheBoundedSizeWhateverTheDialog) {
  const checks::PictureSize wide = checks::PictureSizeOf(RECT{-2147483647, 0, 2147483647, 0});  // no int holds the width
  EXPECT_EQ(wide.Width, checks::MaxPictureSide);
  EXPECT_EQ(wide.Height, 1);
  EXPECT_TRUE(wide.Clipped());
  checks::DialogLayout find = checks::LayoutFromRecorded(*win::FindRecordedDialog("find"), "TFindDialog");
  find.Window.right = find.Window.left + 32767;
  const checks::Picture p = checks::DrawPicture(find, {});
  EXPECT_EQ(p.Width, checks::MaxPictureSide);
  EXPECT_EQ(p.Height, 118);
}
