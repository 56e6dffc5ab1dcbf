// The widths of the dialog faces as measured under Wine (data/fonts/metrics.json), compiled in.
#pragma once

#include <cstdint>
#include <span>

namespace checks {

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

}  // namespace checks
