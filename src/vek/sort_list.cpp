// TSortList: binary search and insertion in ordinal byte order, and the same for whole files.
#include <algorithm>
#include <cstdint>

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
  // Files written by this unit are sorted already, so the sort is mostly a check.
  if (!std::is_sorted(Lines.begin(), Lines.end())) std::sort(Lines.begin(), Lines.end());
  Lines.erase(std::unique(Lines.begin(), Lines.end()), Lines.end());
  return Lines;
}

std::vector<std::string_view> SortedUnique(const vcl::TStrings& Lines) {
  std::vector<std::string_view> views;
  views.reserve(static_cast<std::size_t>(Lines.Count()));
  for (int i = 0; i < Lines.Count(); ++i) views.emplace_back(Lines.Strings(i));
  return SortedUnique(std::move(views));
}

namespace {
void AppendLine(std::string& Text, std::string_view Line) {
  Text.append(Line);
  Text.append("\r\n");
}

std::size_t TextSize(const std::vector<std::string_view>& Lines) {
  std::size_t size = 0;
  for (std::string_view l : Lines) size += l.size() + 2;
  return size;
}
}  // namespace

std::string MergedText(const std::vector<std::string_view>& Base, std::vector<std::string> Added) {
  // In a sorted list SortInsert puts a line after every line that sorts before it and adds no
  // line equal to one present, so the inserted lines end up merged in, each once.
  if (!std::is_sorted(Added.begin(), Added.end())) std::sort(Added.begin(), Added.end());
  Added.erase(std::unique(Added.begin(), Added.end()), Added.end());
  std::size_t size = TextSize(Base);
  for (const std::string& l : Added) size += l.size() + 2;
  std::string text;
  text.reserve(size);
  auto base = Base.begin();
  for (const std::string& line : Added) {
    for (; base != Base.end() && *base < line; ++base) AppendLine(text, *base);
    if (base == Base.end() || *base != line) AppendLine(text, line);
  }
  for (; base != Base.end(); ++base) AppendLine(text, *base);
  return text;
}

std::string LinesText(const std::vector<std::string_view>& Lines) {
  std::string text;
  text.reserve(TextSize(Lines));
  for (std::string_view l : Lines) AppendLine(text, l);
  return text;
}

}  // namespace Vek
