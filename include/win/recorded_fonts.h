// The widths of the dialog faces as measured under Wine (data/fonts/metrics.json) and the
// glyphs of the faces they are realised as (data/fonts/coverage.json), compiled in, and text
// measured with them: what the simulated GetTextExtentPoint32A/W and GetGlyphIndicesW answer,
// and what the checks measure with when they do not ask the real font.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace win {

/// One face in one character set at one height.
struct RecordedFontMetrics {
  const char* Face;          ///< as a font description names it
  int Charset;               ///< lfCharSet
  int Height;                ///< lfHeight (negative: the character height) the table was measured at
  const char* RealisedFace;  ///< the face Wine draws it with
  int LineHeight;            ///< tmHeight
  std::uint8_t Widths[224];  ///< advance width of bytes 32 to 255, in that character set's code page
};

/// The font height (lfHeight) of every recorded dialog, that of the dialogs at 96 dpi: what a
/// Height of 0 asks for.
int RecordedFontHeight();
/// Every table, height by height, face by face, character set by character set. Each face and
/// set has a table at each height the dialogs' font takes at 96, 120, 144 and 192 dpi.
std::span<const RecordedFontMetrics> RecordedFonts();

/// The table a font is measured with. Its face and set are those of Face (compared without case)
/// in Charset, else in the ANSI set, else the dialog face's ("MS Shell Dlg") in that set or the
/// ANSI set; of their tables, the one at the character height Height (an lfHeight as
/// MeasureRecorded takes it) asks for, else the nearest (the larger of two as near). nullptr
/// only when none of those was recorded.
const RecordedFontMetrics* RecordedFontFor(std::string_view Face, int Charset, int Height = 0);

/// A line of text as the recorded widths measure it.
struct RecordedExtent {
  int Width = 0;
  int LineHeight = 0;
  const char* Face = "";  ///< the face Wine realises; empty when no table measured it
};

/// Text (one line of bytes in the code page of Charset; control characters take no room) in
/// the font Face, Charset, Height (an lfHeight: negative for the character height, positive for
/// the cell height, 0 for the recorded height). At a height with a table (RecordedFontFor) the
/// widths are those recorded there; at another they are those of the nearest table scaled
/// character by character, each rounded to whole pixels as GDI rounds advances. Never fails:
/// without any table, everything is 0 wide and high.
RecordedExtent MeasureRecorded(std::string_view Face, int Charset, int Height, std::string_view Text);

/// A UTF-16 text as the recorded widths measure it, in the font MeasureRecorded takes. A
/// character has the width recorded for it in the table of the font (through the code page of
/// the table's character set), else in another table of the same face whose code page has it
/// (one at the same height first).
/// The tables hold only the characters of single-byte code pages; any other character takes a
/// stand-in width: none for a combining mark or a zero-width character, the character height
/// for a wide (East Asian) character or a surrogate pair, and the width of "n" for any other
/// (Hebrew, Arabic and Thai letters among them). Face is the face Wine realises (RealisedFaceOf).
/// Never fails.
RecordedExtent MeasureRecordedW(std::string_view Face, int Charset, int Height, std::u16string_view Text);

/// What one face has glyphs for, as recorded in one font set of cmake/wine-run.
struct RecordedCoverage {
  const char* Set;     ///< "default" or "scripts"
  const char* Face;    ///< the realised face
  const char* Ranges;  ///< UTF-16 ranges "first-last" in hexadecimal, separated by ","
};
/// The face a description is realised as in one font set.
struct RecordedRealisation {
  const char* Set;
  const char* Face;  ///< as a font description names it
  int Charset;       ///< lfCharSet
  const char* RealisedFace;
};
std::span<const RecordedCoverage> RecordedCoverages();
std::span<const RecordedRealisation> RecordedRealisations();

/// The font set the recorded answers stand for: Wine's with the fonts of every script
/// (LUMETRA_FONT_SET=scripts), as a system that shows such translations has them.
inline constexpr std::string_view RecordedFontSet = "scripts";

/// The face a font description is realised as in RecordedFontSet: as recorded for Face (without
/// case) and Charset; a face not recorded as the dialog face ("MS Shell Dlg") would be; a set
/// not recorded as the default set (1) would be. Empty only when nothing was recorded.
std::string_view RealisedFaceOf(std::string_view Face, int Charset);
/// Whether the realised face RealisedFace has a glyph for C in RecordedFontSet; nothing when its
/// glyphs were not recorded. A surrogate has none (GetGlyphIndicesW takes none).
std::optional<bool> HasRecordedGlyph(std::string_view RealisedFace, char16_t C);

}  // namespace win
