// The widths of the dialog faces as measured under Wine (data/fonts/metrics.json), compiled in,
// and text measured with them: what the simulated GetTextExtentPoint32A answers, and what the
// checks measure with when they do not ask the real font.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace win {

/// One face in one character set at the recorded height.
struct RecordedFontMetrics {
  const char* Face;          ///< as a font description names it
  int Charset;               ///< lfCharSet
  const char* RealisedFace;  ///< the face Wine draws it with
  int LineHeight;            ///< tmHeight
  std::uint8_t Widths[224];  ///< advance width of bytes 32 to 255, in that character set's code page
};

/// The font height (lfHeight) every table was measured at: that of every recorded dialog.
int RecordedFontHeight();
/// Every table, face by face, character set by character set.
std::span<const RecordedFontMetrics> RecordedFonts();

/// The table a font is measured with: that of its face (compared without case) in its character
/// set, else in the ANSI set, else the dialog face's ("MS Shell Dlg") in that set or the ANSI
/// set; nullptr only when none of those was recorded.
const RecordedFontMetrics* RecordedFontFor(std::string_view Face, int Charset);

/// A line of text as the recorded widths measure it.
struct RecordedExtent {
  int Width = 0;
  int LineHeight = 0;
  const char* Face = "";  ///< the face Wine realises; empty when no table measured it
};

/// Text (one line of bytes in the code page of Charset; control characters take no room) in
/// the font Face, Charset, Height (an lfHeight: negative for the character height, positive for
/// the cell height, 0 for the recorded height). At the recorded height the widths are those
/// recorded; at another they are scaled character by character, each rounded to whole pixels as
/// GDI rounds advances. Never fails: without any table, everything is 0 wide and high.
RecordedExtent MeasureRecorded(std::string_view Face, int Charset, int Height, std::string_view Text);

}  // namespace win
