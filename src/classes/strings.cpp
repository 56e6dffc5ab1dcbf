// TStrings and TStringList: lines with objects, text splitting, loading and saving files.
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

void TStrings::SetText(std::string_view Value) {
  Clear();
  std::size_t start = 0;
  while (start < Value.size()) {
    std::size_t end = Value.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = Value.size();
    Add(std::string(Value.substr(start, end - start)));
    if (end < Value.size() && Value[end] == '\r' && end + 1 < Value.size() && Value[end + 1] == '\n') ++end;
    start = end + 1;
  }
}

void TStrings::LoadFromFile(const std::string& FileName) { SetText(ReadFileBytes(FileName)); }

void TStrings::SaveToFile(const std::string& FileName) const {
  TFileStream file(FileName, fmCreate);
  const std::string text = Text();
  file.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::Assign(const TPersistent* Source) {
  if (auto* source = dynamic_cast<const TStrings*>(Source)) {
    if (source == this) return;
    Clear();
    AddStrings(*source);
    return;
  }
  TPersistent::Assign(Source);
}

void TStringList::Check(int Index, int Limit) const {
  if (Index < 0 || Index >= Limit) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
}

const std::string& TStringList::Get(int Index) const {
  Check(Index, Count());
  return FItems[static_cast<std::size_t>(Index)].S;
}

void TStringList::Put(int Index, std::string S) {
  Check(Index, Count());
  FItems[static_cast<std::size_t>(Index)].S = std::move(S);
}

TObject* TStringList::GetObject(int Index) const {
  Check(Index, Count());
  return FItems[static_cast<std::size_t>(Index)].O;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  Check(Index, Count());
  FItems[static_cast<std::size_t>(Index)].O = AObject;
}

void TStringList::InsertObject(int Index, std::string S, TObject* AObject) {
  Check(Index, Count() + 1);
  FItems.insert(FItems.begin() + Index, TItem{std::move(S), AObject});
}

void TStringList::Delete(int Index) {
  Check(Index, Count());
  FItems.erase(FItems.begin() + Index);
}

}  // namespace vcl
