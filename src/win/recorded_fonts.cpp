// Measuring text with the widths recorded under Wine.
#include "win/recorded_fonts.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "vcl/CodePages.hpp"
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

// The character height asked for by an lfHeight, in the units of table M.
long long CharacterHeight(const RecordedFontMetrics& M, int Height) {
  const long long recorded = std::max(std::llabs(RecordedFontHeight()), 1LL);
  if (Height < 0) return -static_cast<long long>(Height);
  if (Height > 0) return std::max(Scaled(Height, recorded, std::max(M.LineHeight, 1)), 1LL);
  return recorded;
}

struct Span {
  char16_t First, Last;
};
bool In(const Span* Spans, std::size_t Count, char16_t C) {
  const Span* end = Spans + Count;
  const Span* s = std::upper_bound(Spans, end, C, [](char16_t c, const Span& r) { return c < r.First; });
  return s != Spans && C <= (s - 1)->Last;
}

// Characters that take no room: combining marks of the scripts the dialogs are translated into,
// zero-width spaces and joiners, direction marks and variation selectors.
constexpr Span ZeroWidth[] = {{0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
                              {0x05C4, 0x05C5}, {0x05C7, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670},
                              {0x06D6, 0x06DC}, {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x0E31, 0x0E31},
                              {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x2064},
                              {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF}};
// Characters East Asian texts draw a full em wide.
constexpr Span Wide[] = {{0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
                         {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
                         {0xFFE0, 0xFFE6}};

// The recorded width of C in a table of M's face, through the code page of the table's set.
std::optional<int> RecordedWidth(const RecordedFontMetrics& M, char16_t C) {
  auto widthIn = [C](const RecordedFontMetrics& t) -> std::optional<int> {
    const std::optional<std::string> b = vcl::FromUtf16Char(vcl::CodePageOfCharset(t.Charset), C);
    if (!b || b->size() != 1 || static_cast<unsigned char>((*b)[0]) < 32) return std::nullopt;
    return t.Widths[static_cast<unsigned char>((*b)[0]) - 32];
  };
  if (const auto w = widthIn(M)) return w;
  for (const RecordedFontMetrics& t : RecordedFonts())
    if (&t != &M && vcl::SameText(t.Face, M.Face))
      if (const auto w = widthIn(t)) return w;
  return std::nullopt;
}

const RecordedRealisation* Realisation(std::string_view Face, int Charset) {
  for (const RecordedRealisation& r : RecordedRealisations())
    if (r.Set == RecordedFontSet && r.Charset == Charset && vcl::SameText(r.Face, Face)) return &r;
  return nullptr;
}

// The recorded ranges of each face of RecordedFontSet, read once.
const std::vector<std::pair<std::string_view, std::vector<Span>>>& Coverage() {
  static const auto faces = [] {
    std::vector<std::pair<std::string_view, std::vector<Span>>> all;
    for (const RecordedCoverage& c : RecordedCoverages()) {
      if (c.Set != RecordedFontSet) continue;
      std::vector<Span> spans;
      for (const char* p = c.Ranges; *p;) {
        char* end = nullptr;
        const unsigned long first = std::strtoul(p, &end, 16);
        const unsigned long last = std::strtoul(end + 1, &end, 16);
        spans.push_back({static_cast<char16_t>(first), static_cast<char16_t>(last)});
        p = *end ? end + 1 : end;
      }
      std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.First < b.First; });
      // Overlapping ranges are joined, so that the one before a character is the one to look in.
      std::vector<Span> joined;
      for (const Span& r : spans)
        if (!joined.empty() && r.First <= joined.back().Last) joined.back().Last = std::max(joined.back().Last, r.Last);
        else joined.push_back(r);
      all.emplace_back(c.Face, std::move(joined));
    }
    return all;
  }();
  return faces;
}

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
  const long long height = CharacterHeight(*m, Height);
  long long width = 0;
  for (const unsigned char c : Text) {
    if (c >= 32) width += height == recorded ? m->Widths[c - 32] : Scaled(m->Widths[c - 32], height, recorded);
    if (width > std::numeric_limits<int>::max()) break;  // wider than any extent can say
  }
  const long long line = height == recorded ? m->LineHeight : Scaled(m->LineHeight, height, recorded);
  return RecordedExtent{Clamped(width), Clamped(line), m->RealisedFace};
}

RecordedExtent MeasureRecordedW(std::string_view Face, int Charset, int Height, std::u16string_view Text) {
  const RecordedFontMetrics* m = RecordedFontFor(Face, Charset);
  if (!m) return RecordedExtent{};
  const long long recorded = std::max(std::llabs(RecordedFontHeight()), 1LL);
  const long long height = CharacterHeight(*m, Height);
  auto scaled = [&](long long w) { return height == recorded ? w : Scaled(w, height, recorded); };
  const long long other = *RecordedWidth(*m, u'n');
  long long width = 0;
  for (std::size_t i = 0; i < Text.size() && width <= std::numeric_limits<int>::max(); ++i) {
    const char16_t c = Text[i];
    if (c < 32) continue;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < Text.size() && Text[i + 1] >= 0xDC00 && Text[i + 1] <= 0xDFFF) {
      width += height, ++i;
      continue;
    }
    if (const std::optional<int> w = RecordedWidth(*m, c)) width += scaled(*w);
    else if (In(ZeroWidth, std::size(ZeroWidth), c)) continue;
    else if (In(Wide, std::size(Wide), c)) width += height;
    else width += scaled(other);
  }
  const long long line = height == recorded ? m->LineHeight : Scaled(m->LineHeight, height, recorded);
  const std::string_view realised = RealisedFaceOf(Face, Charset);
  return RecordedExtent{Clamped(width), Clamped(line), realised.empty() ? m->RealisedFace : realised.data()};
}

std::string_view RealisedFaceOf(std::string_view Face, int Charset) {
  const RecordedRealisation* r = Realisation(Face, Charset);
  if (!r) r = Realisation("MS Shell Dlg", Charset);
  if (!r) r = Realisation(Face, 1);
  if (!r) r = Realisation("MS Shell Dlg", 1);
  return r ? std::string_view(r->RealisedFace) : std::string_view();
}

std::optional<bool> HasRecordedGlyph(std::string_view RealisedFace, char16_t C) {
  for (const auto& [face, spans] : Coverage())
    if (vcl::SameText(face, RealisedFace)) return In(spans.data(), spans.size(), C);
  return std::nullopt;
}

}  // namespace win
