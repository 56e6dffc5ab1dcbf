// Measuring text with the widths recorded under Wine.
#include "win/recorded_fonts.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "vcl/SysUtils.hpp"

namespace win {

namespace {

const RecordedFontMetrics* Table(std::string_view Face, int Charset) {
  for (const RecordedFontMetrics& m : RecordedFonts())
    if (m.Charset == Charset && vcl::SameText(m.Face, Face)) return &m;
  return nullptr;
}

// N * Numerator / Denominator rounded to the nearest whole number (all of them positive).
long long Scaled(long long N, long long Numerator, long long Denominator) { return (N * Numerator + Denominator / 2) / Denominator; }

int Clamped(long long N) { return static_cast<int>(std::min<long long>(N, std::numeric_limits<int>::max())); }

}  // namespace

const RecordedFontMetrics* RecordedFontFor(std::string_view Face, int Charset) {
  const RecordedFontMetrics* m = Table(Face, Charset);
  if (!m) m = Table(Face, 0);
  if (!m) m = Table("MS Shell Dlg", Charset);
  if (!m) m = Table("MS Shell Dlg", 0);
  return m;
}

RecordedExtent MeasureRecorded(std::string_view Face, int Charset, int Height, std::string_view Text) {
  const RecordedFontMetrics* m = RecordedFontFor(Face, Charset);
  if (!m) return RecordedExtent{};
  // The character height the tables were measured at, and the one asked for (an lfHeight of
  // INT_MIN is as large as its negation would be).
  const long long recorded = std::max(std::llabs(RecordedFontHeight()), 1LL);
  long long height = recorded;
  if (Height < 0) height = -static_cast<long long>(Height);
  else if (Height > 0) height = std::max(Scaled(Height, recorded, std::max(m->LineHeight, 1)), 1LL);
  long long width = 0;
  for (const unsigned char c : Text) {
    if (c >= 32) width += height == recorded ? m->Widths[c - 32] : Scaled(m->Widths[c - 32], height, recorded);
    if (width > std::numeric_limits<int>::max()) break;  // wider than any extent can say
  }
  const long long line = height == recorded ? m->LineHeight : Scaled(m->LineHeight, height, recorded);
  return RecordedExtent{Clamped(width), Clamped(line), m->RealisedFace};
}

}  // namespace win
