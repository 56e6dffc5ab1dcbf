// TSortList: binary search and insertion in ordinal byte order, and the same for whole files.
#include <algorithm>
#include <cstdint>
#include <functional>

#include "sorted_lines.hpp"

namespace Vek {

VCL_IMPLEMENT_CLASS(TSortList, vcl::TStringList)

bool TSortList::SortFind(const std::string& S, int& Index) const {
  const bool positionMode = Index == -1;
  int low = 0;
  int high = Count() - 1;
  int mid = 0;
  bool found = false;
  while (high >= low) {
    mid = (low + high) / 2;
    const int order = S.compare(Get(mid));  // std::string compares as unsigned bytes
    if (order < 0) {
      high = mid - 1;
    } else if (order == 0) {
      found = true;
      break;
    } else {
      low = mid + 1;
      if (high < low && positionMode) ++mid;
    }
  }
  if (positionMode || Count() == 0)
    Index = mid;
  else  // the list may hold integers in its object references (a dictionary's line positions)
    Index = static_cast<int>(reinterpret_cast<std::intptr_t>(GetObject(mid)));
  return found;
}

void TSortList::SortInsert(const std::string& S, vcl::TObject* AObject) {
  int index = -1;
  if (SortFind(S, index)) PutObject(index, AObject);
  else InsertObject(index, S, AObject);
}

std::vector<std::string_view> SortedUnique(std::vector<std::string_view> Lines) {
  // Files written by this unit are sorted already, so the sort is mostly a check: one comparison
  // of each line with the last one kept tells both the order and a repeat.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    const int order = kept == 0 ? -1 : Lines[kept - 1].compare(Lines[i]);
    if (order == 0) continue;
    if (order > 0) {
      // Out of order: sorted as a whole. What the pass left behind it repeats lines it kept.
      std::sort(Lines.begin(), Lines.end());
      Lines.erase(std::unique(Lines.begin(), Lines.end()), Lines.end());
      return Lines;
    }
    Lines[kept++] = Lines[i];
  }
  Lines.resize(kept);
  return Lines;
}

std::vector<std::string_view> SortedUnique(const vcl::TStrings& Lines) {
  std::vector<std::string_view> views;
  views.reserve(static_cast<std::size_t>(Lines.Count()));
  for (int i = 0; i < Lines.Count(); ++i) views.emplace_back(Lines.Strings(i));
  return SortedUnique(std::move(views));
}

namespace {
// Whether Line sorts before Key + "=" (without making that text).
bool BeforeHead(std::string_view Line, std::string_view Key) {
  const int order = Line.compare(0, Key.size(), Key);
  if (order != 0) return order < 0;
  return Line.size() == Key.size() || static_cast<unsigned char>(Line[Key.size()]) < static_cast<unsigned char>('=');
}

}  // namespace

int EntryFinder::Find(std::string_view Key) {
  const std::size_t n = FLines.size();
  // The search goes on from the last place while every line before it sorts before this head.
  if (FFrom > 0 && !BeforeHead(FLines[FFrom - 1], Key)) FFrom = 0;
  const auto at = LowerBoundFrom(FLines.begin() + static_cast<std::ptrdiff_t>(FFrom), FLines.end(), Key,
                                 [](std::string_view L, std::string_view K) { return BeforeHead(L, K); });
  FFrom = static_cast<std::size_t>(at - FLines.begin());
  return FFrom < n && IsEntryFor(FLines[FFrom], Key) ? static_cast<int>(FFrom) : -1;
}

std::string_view DecodedView(std::string_view Literal, std::string& Store) {
  const std::size_t quote = Literal.find('\'');
  if (quote == std::string_view::npos && Literal.find('#') == std::string_view::npos) return Literal;
  if (quote == 0 && Literal.size() >= 2 && Literal.back() == '\'' && Literal.find('\'', 1) == Literal.size() - 1)
    return Literal.substr(1, Literal.size() - 2);
  Store.assign(Literal);
  ConvertFromLiterals(Store);
  return Store;
}

FilePieces MergedText(const std::vector<std::string_view>& Base, std::vector<std::string_view> Added, std::string_view Source) {
  // In a sorted list SortInsert puts a line after every line that sorts before it and adds no
  // line equal to one present, so the inserted lines end up merged in, each once.
  // Added is mostly two runs in order (entries, then originals): merged, not sorted again.
  const auto firstRunEnd = std::is_sorted_until(Added.begin(), Added.end());
  if (std::is_sorted(firstRunEnd, Added.end())) std::inplace_merge(Added.begin(), firstRunEnd, Added.end());
  else std::sort(Added.begin(), Added.end());
  Added.erase(std::unique(Added.begin(), Added.end()), Added.end());
  static constexpr std::string_view LineBreak = "\r\n";
  FilePieces text;
  text.Pieces.reserve(2 * Added.size() + 16);

  const std::less<const char*> before;
  const char* const sourceEnd = Source.data() + Source.size();
  // A run of Source: lines that stand there one after the other, each with its CR LF.
  const char* runStart = nullptr;
  const char* runEnd = nullptr;
  const auto endRun = [&] {
    if (runStart) text.Add(std::string_view(runStart, static_cast<std::size_t>(runEnd - runStart)));
    runStart = nullptr;
  };
  const auto appendBase = [&](std::string_view L) {
    const char* const end = L.data() + L.size();
    const bool withBreak = !Source.empty() && !before(L.data(), Source.data()) && before(end + 1, sourceEnd) &&
                           end[0] == '\r' && end[1] == '\n';
    if (withBreak && runStart && L.data() == runEnd) {
      runEnd = end + 2;
      return;
    }
    endRun();
    if (withBreak) {
      runStart = L.data();
      runEnd = end + 2;
    } else {
      text.Add(L);
      text.Add(LineBreak);
    }
  };
  // Each added line's place is searched for, a few added lines among very many kept ones being
  // the usual case; the kept lines before it go out unread.
  auto base = Base.begin();
  for (const std::string_view line : Added) {
    const auto place = LowerBoundFrom(base, Base.end(), line, [](std::string_view B, std::string_view L) { return B < L; });
    for (; base != place; ++base) appendBase(*base);
    if (base == Base.end() || *base != line) {
      endRun();
      text.Add(line);
      text.Add(LineBreak);
    }
  }
  for (; base != Base.end(); ++base) appendBase(*base);
  endRun();
  return text;
}

}  // namespace Vek
