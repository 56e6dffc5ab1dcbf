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

// The tables of one face in one character set.
struct Family {
  const char* Face;
  int Charset;
  std::vector<const RecordedFontMetrics*> Tables;
};

// The tables by face and set, gathered once.
const std::vector<Family>& Families() {
  static const std::vector<Family> all = [] {
    std::vector<Family> families;
    for (const RecordedFontMetrics& m : RecordedFonts()) {
      auto f = std::find_if(families.begin(), families.end(),
                            [&](const Family& x) { return x.Charset == m.Charset && vcl::SameText(x.Face, m.Face); });
      if (f == families.end()) f = families.insert(families.end(), Family{m.Face, m.Charset, {}});
      f->Tables.push_back(&m);
    }
    return families;
  }();
  return all;
}

const Family* FamilyOf(std::string_view Face, int Charset) {
  for (const Family& f : Families())
    if (f.Charset == Charset && vcl::SameText(f.Face, Face)) return &f;
  return nullptr;
}

// N * Numerator / Denominator rounded to the nearest whole number (all of them positive).
long long Scaled(long long N, long long Numerator, long long Denominator) { return (N * Numerator + Denominator / 2) / Denominator; }

int Clamped(long long N) { return static_cast<int>(std::min<long long>(N, std::numeric_limits<int>::max())); }

// The character height a table was measured at.
long long CharacterHeightOf(const RecordedFontMetrics& M) { return std::max(-static_cast<long long>(M.Height), 1LL); }

// The character height an lfHeight asks for of a family. A cell height (positive) is taken to a
// character height with the proportions of the largest table, whose rounding distorts them least.
long long CharacterHeight(const Family& F, int Height) {
  if (Height < 0) return -static_cast<long long>(Height);
  if (Height == 0) return std::max(std::llabs(RecordedFontHeight()), 1LL);
  const RecordedFontMetrics* largest = F.Tables.front();
  for (const RecordedFontMetrics* m : F.Tables)
    if (m->Height < largest->Height) largest = m;
  return std::max(Scaled(Height, CharacterHeightOf(*largest), std::max(largest->LineHeight, 1)), 1LL);
}

// The table of a family nearest to character height H (the larger of two as near).
const RecordedFontMetrics* Nearest(const Family& F, long long H) {
  const RecordedFontMetrics* best = nullptr;
  long long bestOff = 0;
  for (const RecordedFontMetrics* m : F.Tables) {
    const long long off = std::llabs(CharacterHeightOf(*m) - H);
    if (!best || off < bestOff || (off == bestOff && m->Height < best->Height)) best = m, bestOff = off;
  }
  return best;
}

// A font at character height H measured with table M: its widths and line height as recorded
// when M is at that height, else scaled from M's.
struct Scale {
  const RecordedFontMetrics* M;
  long long H;
  long long Of(long long N, const RecordedFontMetrics& From) const {
    const long long at = CharacterHeightOf(From);
    return at == H ? N : Scaled(N, H, at);
  }
  long long Of(long long N) const { return Of(N, *M); }
};

// The table a font is measured with, and the character height it asks for.
struct Chosen {
  const RecordedFontMetrics* Table = nullptr;
  long long Height = 0;
};
Chosen Choose(std::string_view Face, int Charset, int Height) {
  const Family* f = FamilyOf(Face, Charset);
  if (!f) f = FamilyOf(Face, 0);
  if (!f) f = FamilyOf("MS Shell Dlg", Charset);
  if (!f) f = FamilyOf("MS Shell Dlg", 0);
  if (!f) return Chosen{};
  const long long h = CharacterHeight(*f, Height);
  return Chosen{Nearest(*f, h), h};
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

// The width of C at the scale's height, from a table of M's face that holds it through the
// code page of its set: M, else one at M's height, else one at any height.
std::optional<long long> RecordedWidth(const Scale& S, char16_t C) {
  const RecordedFontMetrics& m = *S.M;
  auto widthIn = [&](const RecordedFontMetrics& t) -> std::optional<long long> {
    const std::optional<std::string> b = vcl::FromUtf16Char(vcl::CodePageOfCharset(t.Charset), C);
    if (!b || b->size() != 1 || static_cast<unsigned char>((*b)[0]) < 32) return std::nullopt;
    return S.Of(t.Widths[static_cast<unsigned char>((*b)[0]) - 32], t);
  };
  if (const auto w = widthIn(m)) return w;
  for (const bool sameHeight : {true, false})
    for (const Family& f : Families())
      if (f.Charset != m.Charset && vcl::SameText(f.Face, m.Face))
        for (const RecordedFontMetrics* t : f.Tables)
          if ((t->Height == m.Height) == sameHeight)
            if (const auto w = widthIn(*t)) return w;
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

const RecordedFontMetrics* RecordedFontFor(std::string_view Face, int Charset, int Height) {
  return Choose(Face, Charset, Height).Table;
}

RecordedExtent MeasureRecorded(std::string_view Face, int Charset, int Height, std::string_view Text) {
  const Chosen c = Choose(Face, Charset, Height);
  if (!c.Table) return RecordedExtent{};
  const Scale scale{c.Table, c.Height};
  long long width = 0;
  for (const unsigned char ch : Text) {
    if (ch >= 32) width += scale.Of(c.Table->Widths[ch - 32]);
    if (width > std::numeric_limits<int>::max()) break;  // wider than any extent can say
  }
  return RecordedExtent{Clamped(width), Clamped(scale.Of(c.Table->LineHeight)), c.Table->RealisedFace};
}

RecordedExtent MeasureRecordedW(std::string_view Face, int Charset, int Height, std::u16string_view Text) {
  const Chosen c = Choose(Face, Charset, Height);
  if (!c.Table) return RecordedExtent{};
  const Scale scale{c.Table, c.Height};
  const long long height = c.Height;
  const long long other = *RecordedWidth(scale, u'n');
  long long width = 0;
  for (std::size_t i = 0; i < Text.size() && width <= std::numeric_limits<int>::max(); ++i) {
    const char16_t ch = Text[i];
    if (ch < 32) continue;
    if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < Text.size() && Text[i + 1] >= 0xDC00 && Text[i + 1] <= 0xDFFF) {
      width += height, ++i;
      continue;
    }
    if (const std::optional<long long> w = RecordedWidth(scale, ch)) width += *w;
    else if (In(ZeroWidth, std::size(ZeroWidth), ch)) continue;
    else if (In(Wide, std::size(Wide), ch)) width += height;
    else width += other;
  }
  const std::string_view realised = RealisedFaceOf(Face, Charset);
  return RecordedExtent{Clamped(width), Clamped(scale.Of(c.Table->LineHeight)), realised.empty() ? c.Table->RealisedFace : realised.data()};
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
