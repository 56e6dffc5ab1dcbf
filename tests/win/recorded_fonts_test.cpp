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

TEST(RecordedFonts, AtTheRecordedHeightTheWidthsAreThoseRecorded) {
  const int height = win::RecordedFontHeight();
  for (const win::RecordedFontMetrics& m : win::RecordedFonts()) {
    SCOPED_TRACE(std::string(m.Face) + " " + std::to_string(m.Charset));
    EXPECT_EQ(win::RecordedFontFor(m.Face, m.Charset), &m);
    const win::RecordedExtent e = win::MeasureRecorded(m.Face, m.Charset, height, "Look &in: \xC4\xFF");
    EXPECT_EQ(e.Width, Sum(m, "Look &in: \xC4\xFF"));
    EXPECT_EQ(e.LineHeight, m.LineHeight);
    EXPECT_STREQ(e.Face, m.RealisedFace);
    EXPECT_EQ(win::MeasureRecorded(m.Face, m.Charset, 0, "Look").Width, Sum(m, "Look")) << "0 is the recorded height";
  }
}

TEST(RecordedFonts, FacesAndCharacterSetsWithoutATableFallBack) {
  const win::RecordedFontMetrics* dialog = win::RecordedFontFor("MS Shell Dlg", 1);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(win::RecordedFontFor("ms shell dlg", 1), dialog) << "faces compare without case";
  EXPECT_EQ(win::RecordedFontFor("No Such Face", 1), dialog);
  EXPECT_EQ(win::RecordedFontFor("No Such Face", 77), win::RecordedFontFor("MS Shell Dlg", 0));
  EXPECT_EQ(win::RecordedFontFor("Arial", 77), win::RecordedFontFor("Arial", 0));
  EXPECT_EQ(win::RecordedFontFor("Aria", 1), dialog) << "a prefix is another face";
}

TEST(RecordedFonts, ControlCharactersTakeNoRoomAndNothingIsNothingWide) {
  const int h = win::RecordedFontHeight();
  EXPECT_EQ(win::MeasureRecorded("Arial", 0, h, "a\tb\r\n").Width, win::MeasureRecorded("Arial", 0, h, "ab").Width);
  EXPECT_EQ(win::MeasureRecorded("Arial", 0, h, "").Width, 0);
  EXPECT_GT(win::MeasureRecorded("Arial", 0, h, "").LineHeight, 0) << "an empty text still has its line";
}

TEST(RecordedFonts, OtherHeightsScaleEachCharacter) {
  const win::RecordedFontMetrics& m = *win::RecordedFontFor("MS Shell Dlg", 1);
  const int recorded = -win::RecordedFontHeight();
  ASSERT_GT(recorded, 0);
  const win::RecordedExtent twice = win::MeasureRecorded("MS Shell Dlg", 1, -2 * recorded, "File name:");
  EXPECT_EQ(twice.Width, 2 * Sum(m, "File name:"));
  EXPECT_EQ(twice.LineHeight, 2 * m.LineHeight);
  // Each character is rounded by itself, as GDI advances whole pixels: one "i" of a width w is
  // w*h/r rounded, and ten of them ten times that.
  const int h = recorded + 3;
  const int one = win::MeasureRecorded("MS Shell Dlg", 1, -h, "i").Width;
  EXPECT_EQ(one, (m.Widths['i' - 32] * h + recorded / 2) / recorded);
  EXPECT_EQ(win::MeasureRecorded("MS Shell Dlg", 1, -h, "iiiiiiiiii").Width, 10 * one);
  // A positive height is the cell height: the recorded line height is the recorded size.
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
