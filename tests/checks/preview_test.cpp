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
  checks::Picture picture;
  picture.Width = 200;
  picture.Height = 117;
  for (std::uint32_t i = 0; i < 200 * 117; ++i) picture.Pixels.push_back(i * 0x010307 & 0xFFFFFF);
  checks::WritePng(file, picture);
  const std::string bytes = ReadFile(file);
  EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 8, 4), "IEND");
#ifndef _WIN32
  Picture p(file);
  ASSERT_TRUE(p.Ok());
  EXPECT_EQ(p.Width(), picture.Width);
  EXPECT_EQ(p.Height(), picture.Height);
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{199, 0}, std::pair{57, 88}, std::pair{199, 116}})
    EXPECT_EQ(p.At(x, y), picture.Pixel(x, y)) << x << "," << y;
#endif
  // Rows are taken from memory as bitmaps hold them: blue, green, red and a byte of no meaning.
  const unsigned char rows[] = {0x30, 0x20, 0x10, 0xFF, 0x03, 0x02, 0x01, 0x7F, 0xEE, 0xEE, 0xEE, 0xEE,
                                0x60, 0x50, 0x40, 0x00, 0x06, 0x05, 0x04, 0x00, 0xEE, 0xEE, 0xEE, 0xEE};
  const checks::Picture taken = checks::Picture::FromRows(2, 2, rows, 12);
  EXPECT_EQ(taken.Pixel(0, 0), 0x102030u);
  EXPECT_EQ(taken.Pixel(1, 0), 0x010203u);
  EXPECT_EQ(taken.Pixel(0, 1), 0x405060u);
  EXPECT_EQ(taken.Pixel(1, 1), 0x040506u);
  EXPECT_THROW(checks::WritePng(dir.File("no/such/folder/p.png"), taken), vcl::EFCreateError);
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

// The model's lookup of a control; tests/scenarios/apply_model_test.cpp holds it to the real pass.
TEST(Preview, ControlsAreFoundByTheirIdOrTheirPlace) {
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

// Labels are drawn as their style sets them, on both systems: wrapped or on one line, to the
// left or to the right; a frame's text is not drawn (the text of a no-wrap label once was
// drawn by one drawer and not at all by the other).
TEST(Preview, LabelsAreDrawnAsTheirStyleSetsThem) {
  checks::DialogLayout d = checks::LayoutFromRecorded(*win::FindRecordedDialog("find"), "TFindDialog");
  const std::uint32_t styles[] = {SS_LEFT, SS_SIMPLE, SS_LEFTNOWORDWRAP, SS_RIGHT, SS_ETCHEDFRAME};
  d.Controls.clear();
  for (int i = 0; i < 5; ++i) {
    checks::ControlLayout c;
    c.Position = i + 1;
    c.ClassName = "Static";
    c.Text = "Mi Mi Mi Mi Mi Mi Mi Mi Mi Mi";
    c.Rect = RECT{10 + 80 * i, 10, 10 + 80 * i + 60, 60};
    c.Style = styles[i] | WS_VISIBLE | WS_CHILD;
    d.Controls.push_back(c);
  }
  const checks::Picture p = checks::DrawPicture(d, {});
  const int cx = d.Client.left - d.Window.left, cy = d.Client.top - d.Window.top;
  // Dark pixels of the i-th label between rows Top and Bottom and columns Left and Right of it.
  const auto ink = [&](int I, int Top, int Bottom, int Left = 0, int Right = 60) {
    int n = 0;
    for (int y = Top; y < Bottom; ++y)
      for (int x = Left; x < Right; ++x) {
        const unsigned px = p.Pixel(cx + 10 + 80 * I + x, cy + 10 + y);
        if ((px >> 16 & 0xFF) < 0x60 && (px >> 8 & 0xFF) < 0x60 && (px & 0xFF) < 0x60) ++n;
      }
    return n;
  };
  for (int i = 0; i < 4; ++i) EXPECT_GT(ink(i, 0, 14), 0) << "label " << i << " draws its first line";
  EXPECT_GT(ink(0, 16, 50), 0) << "SS_LEFT wraps";
  EXPECT_EQ(ink(1, 16, 50), 0) << "SS_SIMPLE does not";
  EXPECT_EQ(ink(2, 16, 50), 0) << "SS_LEFTNOWORDWRAP does not";
  EXPECT_GT(ink(3, 0, 50, 50, 60), 0) << "SS_RIGHT ends at the right";
  EXPECT_EQ(ink(4, 0, 50), 0) << "a frame draws no text";
}

// A mirrored layout is drawn as it is seen, on both systems: the controls where the checks
// place them, and the title on the right.
TEST(Preview, AMirroredDialogIsDrawnFromTheRight) {
  const checks::DialogLayout find = checks::LayoutFromRecorded(*win::FindRecordedDialog("find"), "TFindDialog");
  const checks::DialogLayout mirrored = checks::Applied(find, {{"TFindDialog.BiDiMode=bdRightToLeft", 1}, {"TFindDialog.Caption='Suchen'", 2}});
  ASSERT_TRUE(mirrored.Mirrored);
  const checks::Picture p = checks::DrawPicture(mirrored, {});
  const int cx = find.Client.left - find.Window.left, cy = find.Client.top - find.Window.top;
  int left = 0, right = 0;
  for (int y = 4; y < cy - 2; ++y)
    for (int x = 4; x < p.Width - 4; ++x) {
      const unsigned px = p.Pixel(x, y);
      if ((px >> 16 & 0xFF) > 0xE0 && (px >> 8 & 0xFF) > 0xE0 && (px & 0xFF) > 0xE0) ++(x < p.Width / 2 ? left : right);
    }
  EXPECT_EQ(left, 0) << "no title on the left";
  EXPECT_GT(right, 0) << "the title on the right";
  const RECT button = mirrored.Find(1)->Rect;
  EXPECT_LT(button.right, find.ClientWidth() / 2) << "the first button is on the left now";
  int ink = 0;
  for (int y = button.top + 4; y < button.bottom - 4; ++y)
    for (int x = button.left + 4; x < button.right - 4; ++x) {
      const unsigned px = p.Pixel(cx + x, cy + y);
      if ((px >> 16 & 0xFF) < 0x60 && (px >> 8 & 0xFF) < 0x60 && (px & 0xFF) < 0x60) ++ink;
    }
  EXPECT_GT(ink, 0) << "its text is drawn there";
}
