// TStrings and TStringList: lines with objects, text splitting, loading and saving files.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "vcl/Classes.hpp"

namespace vcl {

VCL_IMPLEMENT_CLASS(TStrings, TPersistent)
VCL_IMPLEMENT_CLASS(TStringList, TStrings)

int TStrings::AddObject(std::string S, TObject* AObject) {
  const int index = Count();
  InsertObject(index, std::move(S), AObject);
  return index;
}

void TStrings::AddStrings(const TStrings& Source) {
  const int n = Source.Count();
  for (int i = 0; i < n; ++i) AddObject(Source.Get(i), Source.GetObject(i));
}

int TStrings::IndexOf(std::string_view S) const {
  const int n = Count();
  for (int i = 0; i < n; ++i)
    if (Get(i) == S) return i;
  return -1;
}

std::string TStrings::Text() const {
  std::string text;
  const int n = Count();
  std::size_t size = 0;
  for (int i = 0; i < n; ++i) size += Get(i).size() + 2;
  text.reserve(size);
  for (int i = 0; i < n; ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

namespace {
// The first CR or LF from From on, or End: sixteen bytes at a time where the processor can, as
// the files split here have a million lines.
const char* NextLineBreak(const char* From, const char* End) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  for (; End - From >= 16; From += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(From));
    const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
    if (hits != 0) return From + __builtin_ctz(static_cast<unsigned>(hits));
  }
#endif
  while (From < End && *From != '\r' && *From != '\n') ++From;
  return From;
}
}  // namespace

bool TLineReader::Next(std::string_view& Line) {
  if (FNext >= FEnd) return false;
  const char* stop = NextLineBreak(FNext, FEnd);
  Line = std::string_view(FNext, static_cast<std::size_t>(stop - FNext));
  if (stop == FEnd) {
    FNext = FEnd;
    return true;
  }
  if (*stop == '\r' && stop + 1 < FEnd && stop[1] == '\n') ++stop;  // CR LF ends one line
  FNext = stop + 1;
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view Text) {
  std::vector<std::string_view> lines;
  if (Text.empty()) return lines;
  lines.reserve(Text.size() / 32);
  TLineReader reader(Text);
  for (std::string_view line; reader.Next(line);) lines.push_back(line);
  return lines;
}

std::vector<std::string_view> DrawnLines(std::string_view Text) {
  std::vector<std::string_view> lines = SplitLines(Text);
  if (Text.empty() || Text.back() == '\r' || Text.back() == '\n') lines.emplace_back(Text.data() + Text.size(), 0);
  return lines;
}

void TStrings::SetText(std::string_view Value) {
  Clear();
  for (std::string_view line : SplitLines(Value)) Add(std::string(line));
}

void TStrings::LoadFromFile(const std::string& FileName) { SetText(ReadFileBytes(FileName)); }

void TStrings::SaveToFile(const std::string& FileName) const { ReplaceFile(FileName, Text()); }

void TStrings::Assign(const TPersistent* Source) {
  if (auto* source = dynamic_cast<const TStrings*>(Source)) {
    if (source == this) return;
    Clear();
    AddStrings(*source);
    return;
  }
  TPersistent::Assign(Source);
}

namespace {
// A block splits in two when it grows past this many lines; empty blocks are removed. An insert
// moves the lines after it in its block and renumbers the blocks after that: about twice the
// square root of the count balances the two, within bounds that keep short lists in one block
// and long ones from renumbering too often.
std::size_t MaxBlock(int Count) {
  return std::clamp<std::size_t>(2 * static_cast<std::size_t>(std::sqrt(static_cast<double>(Count))), 64, 1024);
}
}  // namespace

std::pair<std::size_t, std::size_t> TStringList::Locate(int Index) const {
  // The block of the last line found, or the next one, as a walk through the lines meets them;
  // otherwise the last block whose first line is at or before Index.
  const auto holds = [&](std::size_t B) {
    return B < FBlocks.size() && FStarts[B] <= Index && Index - FStarts[B] < static_cast<int>(FBlocks[B].size());
  };
  std::size_t block = FLastBlock;
  if (!holds(block) && !holds(++block)) {
    auto it = std::upper_bound(FStarts.begin(), FStarts.end(), Index);
    block = static_cast<std::size_t>(it - FStarts.begin()) - 1;
  }
  FLastBlock = block;
  return {block, static_cast<std::size_t>(Index - FStarts[block])};
}

TStringList::TItem& TStringList::At(int Index, int Limit) {
  if (Index < 0 || Index >= Limit) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  const auto [block, offset] = Locate(Index);
  return FBlocks[block][offset];
}

const TStringList::TItem& TStringList::At(int Index) const {
  return const_cast<TStringList*>(this)->At(Index, FCount);
}

void TStringList::Renumber(std::size_t FromBlock) {
  FStarts.resize(FBlocks.size());
  int start = FromBlock == 0 ? 0 : FStarts[FromBlock - 1] + static_cast<int>(FBlocks[FromBlock - 1].size());
  for (std::size_t b = FromBlock; b < FBlocks.size(); ++b) {
    FStarts[b] = start;
    start += static_cast<int>(FBlocks[b].size());
  }
}

const std::string& TStringList::Get(int Index) const { return At(Index).S; }

void TStringList::Put(int Index, std::string S) {
  At(Index, FCount).S = std::move(S);
  ++FChangeCount;
}

TObject* TStringList::GetObject(int Index) const { return At(Index).O; }

void TStringList::PutObject(int Index, TObject* AObject) { At(Index, FCount).O = AObject; }

void TStringList::InsertObject(int Index, std::string S, TObject* AObject) {
  if (Index < 0 || Index > FCount) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  if (FBlocks.empty()) {
    FBlocks.emplace_back();
    FStarts.push_back(0);
  }
  // Appending goes to the end of the last block; anything else into the block holding Index.
  std::size_t block, offset;
  if (Index == FCount) {
    block = FBlocks.size() - 1;
    offset = FBlocks[block].size();
  } else {
    std::tie(block, offset) = Locate(Index);
  }
  TBlock& b = FBlocks[block];
  b.insert(b.begin() + static_cast<std::ptrdiff_t>(offset), TItem{std::move(S), AObject});
  ++FCount;
  ++FChangeCount;
  if (const std::size_t most = MaxBlock(FCount); b.size() > most) {
    const auto half = static_cast<std::ptrdiff_t>(b.size() / 2);
    TBlock tail(std::make_move_iterator(b.begin() + half), std::make_move_iterator(b.end()));
    b.resize(static_cast<std::size_t>(half));
    FBlocks.insert(FBlocks.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(tail));
  }
  Renumber(block + 1);
}

void TStringList::Delete(int Index) {
  if (Index < 0 || Index >= FCount) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  const auto [block, offset] = Locate(Index);
  TBlock& b = FBlocks[block];
  b.erase(b.begin() + static_cast<std::ptrdiff_t>(offset));
  --FCount;
  ++FChangeCount;
  if (b.empty()) {
    FBlocks.erase(FBlocks.begin() + static_cast<std::ptrdiff_t>(block));
    Renumber(block);
  } else {
    Renumber(block + 1);
  }
}

void TStringList::Clear() {
  FBlocks.clear();
  FStarts.clear();
  FCount = 0;
  ++FChangeCount;
}

}  // namespace vcl
