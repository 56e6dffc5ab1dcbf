// Measuring text with the recorded widths: the tables as recorded, the fallbacks, other heights.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "win/recorded_fonts.h"

namespace {

int Sum(const win::RecordedFontMetrics& M, std::string_view Text) {
  int width = 0;
  for (const unsigned char c : Text) width += M.Widths[c - 32];
  return width;
}

}  // namespace

TEST(RecordedFonts, AtARecordedHeightTheWidthsAreThoseRecorded) {
  for (const win::RecordedFontMetrics& m : win::RecordedFonts()) {
    SCOPED_TRACE(std::string(m.Face) + " " + std::to_string(m.Charset) + " " + std::to_string(m.Height));
    EXPECT_EQ(win::RecordedFontFor(m.Face, m.Charset, m.Height), &m);
    const win::RecordedExtent e = win::MeasureRecorded(m.Face, m.Charset, m.Height, "Look &in: \xC4\xFF");
    EXPECT_EQ(e.Width, Sum(m, "Look &in: \xC4\xFF"));
    EXPECT_EQ(e.LineHeight, m.LineHeight);
    EXPECT_STREQ(e.Face, m.RealisedFace);
    if (m.Height == win::RecordedFontHeight()) {
      EXPECT_EQ(win::MeasureRecorded(m.Face, m.Charset, 0, "Look").Width, Sum(m, "Look")) << "0 is the recorded height";
    }
  }
}

// The heights of the 8-point dialog font at 96, 120, 144 and 192 dpi, and of the 9-point one.
TEST(RecordedFonts, EveryFaceAndSetHasATableAtEachDialogHeight) {
  const win::RecordedFontMetrics* dialog = win::RecordedFontFor("MS Shell Dlg", 1);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->Height, win::RecordedFontHeight()) << "without a height, the recorded dialogs' one";
  for (const win::RecordedFontMetrics& m : win::RecordedFonts())
    for (const int height : {-11, -13, -16, -21, -12, -15, -18, -24}) {
      const win::RecordedFontMetrics* t = win::RecordedFontFor(m.Face, m.Charset, height);
      ASSERT_TRUE(t);
      EXPECT_EQ(t->Height, height) << m.Face << " " << m.Charset;
      EXPECT_STREQ(t->Face, m.Face);
      EXPECT_EQ(t->Charset, m.Charset);
    }
  // Glyphs are hinted at each size: the widths of one height are not those of another scaled.
  const win::RecordedFontMetrics* at144 = win::RecordedFontFor("MS Shell Dlg", 1, -16);
  ASSERT_TRUE(at144);
  int differ = 0;
  for (int c = 0; c < 224; ++c) differ += at144->Widths[c] != (dialog->Widths[c] * 16 + 5) / 11;
  EXPECT_GT(differ, 0);
}

TEST(RecordedFonts, FacesAndCharacterSetsWithoutATableFallBack) {
  const win::RecordedFontMetrics* dialog = win::RecordedFontFor("MS Shell Dlg", 1);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(win::RecordedFontFor("ms shell dlg", 1), dialog) << "faces compare without case";
  EXPECT_EQ(win::RecordedFontFor("No Such Face", 1), dialog);
  EXPECT_EQ(win::RecordedFontFor("No Such Face", 77), win::RecordedFontFor("MS Shell Dlg", 0));
  EXPECT_EQ(win::RecordedFontFor("Arial", 77), win::RecordedFontFor("Arial", 0));
  EXPECT_EQ(win::RecordedFontFor("Aria", 1), dialog) << "a prefix is another face";
  EXPECT_EQ(win::RecordedFontFor("No Such Face", 77, -16), win::RecordedFontFor("MS Shell Dlg", 0, -16)) << "at the height asked for";
}

TEST(RecordedFonts, ControlCharactersTakeNoRoomAndNothingIsNothingWide) {
  const int h = win::RecordedFontHeight();
  EXPECT_EQ(win::MeasureRecorded("Arial", 0, h, "a\tb\r\n").Width, win::MeasureRecorded("Arial", 0, h, "ab").Width);
  EXPECT_EQ(win::MeasureRecorded("Arial", 0, h, "").Width, 0);
  EXPECT_GT(win::MeasureRecorded("Arial", 0, h, "").LineHeight, 0) << "an empty text still has its line";
}

TEST(RecordedFonts, OtherHeightsScaleEachCharacterFromTheNearestTable) {
  const win::RecordedFontMetrics& at21 = *win::RecordedFontFor("MS Shell Dlg", 1, -21);
  ASSERT_EQ(at21.Height, -21);
  EXPECT_EQ(win::RecordedFontFor("MS Shell Dlg", 1, -22), &at21);
  const win::RecordedExtent twice = win::MeasureRecorded("MS Shell Dlg", 1, -42, "File name:");
  EXPECT_EQ(win::RecordedFontFor("MS Shell Dlg", 1, -42)->Height, -24) << "the largest table";
  // Each character is rounded by itself, as GDI advances whole pixels: one "i" of a width w is
  // w*h/r rounded, and ten of them ten times that.
  const int one = win::MeasureRecorded("MS Shell Dlg", 1, -22, "i").Width;
  EXPECT_EQ(one, (at21.Widths['i' - 32] * 22 + 10) / 21);
  EXPECT_EQ(win::MeasureRecorded("MS Shell Dlg", 1, -22, "iiiiiiiiii").Width, 10 * one);
  EXPECT_EQ(win::MeasureRecorded("MS Shell Dlg", 1, -22, "").LineHeight, (at21.LineHeight * 22 + 10) / 21);
  const win::RecordedFontMetrics& at24 = *win::RecordedFontFor("MS Shell Dlg", 1, -24);
  EXPECT_EQ(twice.Width, [&] {
    int w = 0;
    for (const unsigned char c : std::string_view("File name:")) w += (at24.Widths[c - 32] * 42 + 12) / 24;
    return w;
  }());
  // Between two tables as near, the larger one.
  EXPECT_EQ(win::RecordedFontFor("MS Shell Dlg", 1, -14)->Height, -15);
  // A positive height is the cell height: that of the recorded table is its size.
  const win::RecordedFontMetrics& m = *win::RecordedFontFor("MS Shell Dlg", 1);
  EXPECT_EQ(win::MeasureRecorded("MS Shell Dlg", 1, m.LineHeight, "File name:").Width, Sum(m, "File name:"));
}

TEST(RecordedFonts, HugeHeightsAreClampedInsteadOfOverflowing) {
  const win::RecordedExtent e = win::MeasureRecorded("MS Shell Dlg", 1, INT_MIN, std::string(100, 'W'));
  EXPECT_EQ(e.Width, INT_MAX);
  EXPECT_EQ(e.LineHeight, INT_MAX);
  EXPECT_GT(win::MeasureRecorded("MS Shell Dlg", 1, INT_MAX, "W").Width, 0);
}

// UTF-16 texts: the recorded widths of the characters the tables hold, through the code page of
// any table of the face, and the stand-in widths of the others.
TEST(RecordedFonts, AUtf16TextIsMeasuredCharacterByCharacter) {
  const int h = win::RecordedFontHeight();
  EXPECT_EQ(win::MeasureRecordedW("MS Shell Dlg", 1, h, u"File name:").Width, win::MeasureRecorded("MS Shell Dlg", 1, h, "File name:").Width);
  EXPECT_EQ(win::MeasureRecordedW("MS Shell Dlg", 1, h, u"\u0416").Width, win::MeasureRecorded("MS Shell Dlg", 204, h, "\xC6").Width)
      << "a Cyrillic letter in the ANSI set has the width recorded in the Cyrillic one";
  EXPECT_EQ(win::MeasureRecordedW("MS Shell Dlg", 128, h, u"\u540D\u524D").Width, 2 * -h) << "kanji are an em wide";
  EXPECT_EQ(win::MeasureRecordedW("MS Shell Dlg", 128, 2 * h, u"\u540D").Width, -2 * h) << "at any height";
  EXPECT_EQ(win::MeasureRecordedW("MS Shell Dlg", 222, h, u"\u0E01\u0E34").Width, win::MeasureRecordedW("MS Shell Dlg", 222, h, u"\u0E01").Width)
      << "a combining vowel takes no room";
  EXPECT_EQ(win::MeasureRecordedW("MS Shell Dlg", 177, h, u"\u05D0").Width, win::MeasureRecorded("MS Shell Dlg", 1, h, "n").Width)
      << "a letter no table holds is as wide as n";
  EXPECT_EQ(win::MeasureRecordedW("MS Shell Dlg", 128, h, u"\U00020B9F").Width, -h) << "a surrogate pair is one character";
  EXPECT_EQ(win::MeasureRecordedW("MS Shell Dlg", 1, h, u"a\tb\r\n").Width, win::MeasureRecordedW("MS Shell Dlg", 1, h, u"ab").Width);
}

// What Wine 8 realises with the scripts font set, and what those faces have glyphs for.
TEST(RecordedFonts, TheRealisedFacesAndTheirGlyphs) {
  EXPECT_EQ(win::RealisedFaceOf("MS Shell Dlg", 1), "Liberation Sans");
  EXPECT_EQ(win::RealisedFaceOf("Arial", 1), "Liberation Sans");
  EXPECT_EQ(win::RealisedFaceOf("Noto Sans Arabic", 178), "Noto Sans Arabic");
  EXPECT_EQ(win::RealisedFaceOf("Noto Sans Arabic", 1), "Noto Sans Arabic");
  EXPECT_EQ(win::RealisedFaceOf("Noto Sans Arabic", 0), "Liberation Sans") << "the Arabic face lacks the Latin-1 code page bit";
  EXPECT_EQ(win::RealisedFaceOf("No Such Face", 178), win::RealisedFaceOf("MS Shell Dlg", 178)) << "an unknown face as the dialog face";
  EXPECT_EQ(win::RealisedFaceOf("Arial", 99), win::RealisedFaceOf("Arial", 1)) << "an unknown set as the default one";

  for (const char16_t c : {u'A', u'\u00E9', u'\u03A9', u'\u0416', u'\u05D0'}) EXPECT_EQ(win::HasRecordedGlyph("Liberation Sans", c), true) << int(c);
  for (const char16_t c : {u'\u0628', u'\u0E01', u'\u540D', u'\u30D5'}) EXPECT_EQ(win::HasRecordedGlyph("liberation sans", c), false) << int(c);
  EXPECT_EQ(win::HasRecordedGlyph("Noto Sans CJK JP", u'\u540D'), true);
  EXPECT_EQ(win::HasRecordedGlyph("Noto Sans Arabic", u'\u0628'), true);
  EXPECT_EQ(win::HasRecordedGlyph("Noto Sans Arabic", u'A'), false);
  EXPECT_EQ(win::HasRecordedGlyph("Liberation Sans", static_cast<char16_t>(0xD840)), false) << "a surrogate has no glyph";
  EXPECT_EQ(win::HasRecordedGlyph("No Such Face", u'A'), std::nullopt);
}
