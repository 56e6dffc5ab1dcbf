// ObjectBinaryToTextAs: a form stream written back as text in the words of the text it was read
// from, wherever it holds what that text held.
//
// Notes:
// - Both streams are outlined (each component's header, properties, children and end, where
//   their bytes are) and their components matched: the roots, then each component's children
//   in order by name, a child whose name and class are both new taking the place of one of the
//   same class whose name is gone (a renamed one). A matched component's properties are its
//   former ones of the same name, in order.
// - Every part of the text is one of the original's parts or a new one. An original part whose
//   bytes are unchanged is its own text. Between two original parts that followed each other
//   there, the text between them (blanks, line ends) stays; where the order breaks (a part
//   added or left out) the line of the part before keeps its end and the next part its
//   indentation, so that the original comes back when the added lines are taken out.
#include <algorithm>
#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "binary_driver.hpp"
#include "form_text.hpp"

namespace vcl {

namespace {

struct TPart {
  std::size_t Begin = 0, End = 0;
};

// One component of a binary form stream: where its parts are, and for the original the number of
// its header among the parts of the text (its properties follow, then its children, then its end).
struct TOutline {
  TPart Header;
  std::string ClassName, Name;
  std::vector<std::pair<std::string, TPart>> Properties;
  std::vector<TOutline> Children;
  std::size_t First = 0, Last = 0;
};

TOutline ReadOutline(TBinaryObjectReader& In) {
  TBinaryObjectReader::TNesting nesting(In);
  TOutline c;
  c.Header.Begin = In.Pos();
  TFilerFlags flags;
  int position;
  In.ReadPrefix(flags, position);
  c.ClassName = In.ReadStr("a class name");
  c.Name = In.ReadStr("a component name");
  c.Header.End = In.Pos();
  while (!In.EndOfList()) {
    const std::size_t begin = In.Pos();
    std::string name = In.ReadStr("a property name");
    In.SkipValue();
    c.Properties.emplace_back(std::move(name), TPart{begin, In.Pos()});
  }
  In.ReadListEnd();
  while (!In.EndOfList()) c.Children.push_back(ReadOutline(In));
  In.ReadListEnd();
  return c;
}

void Number(TOutline& C, std::size_t& Next) {
  C.First = Next++;
  Next += C.Properties.size();
  for (TOutline& child : C.Children) Number(child, Next);
  C.Last = Next++;
}

// For each of the new children, the original one it is, or nullptr for a new one.
std::vector<const TOutline*> MatchChildren(const std::vector<TOutline>& New, const std::vector<TOutline>& Was) {
  std::unordered_map<std::string_view, std::vector<std::size_t>> wasByName;
  for (std::size_t j = Was.size(); j-- > 0;) wasByName[Was[j].Name].push_back(j);  // the first last: taken from the back
  std::unordered_set<std::string_view> newNames;
  for (const TOutline& c : New) newNames.insert(c.Name);
  std::vector<bool> used(Was.size());
  std::vector<const TOutline*> matched(New.size());
  std::size_t next = 0;  // the first original child not passed yet
  for (std::size_t i = 0; i < New.size(); ++i) {
    while (next < Was.size() && used[next]) ++next;
    std::optional<std::size_t> found;
    if (auto it = wasByName.find(New[i].Name); it != wasByName.end()) {
      while (!it->second.empty() && used[it->second.back()]) it->second.pop_back();
      if (!it->second.empty()) found = it->second.back();
    }
    // Renamed: a new name where one of the same class stands whose name no new child has.
    if (!found && next < Was.size() && Was[next].ClassName == New[i].ClassName && !wasByName.contains(New[i].Name) &&
        !newNames.contains(Was[next].Name))
      found = next;
    if (!found) continue;
    used[*found] = true;
    matched[i] = &Was[*found];
    if (*found >= next) next = *found + 1;
  }
  return matched;
}

class TTextKeeper {
public:
  TTextKeeper(std::string_view Original, const std::vector<TTextSpan>& Spans, std::string_view Was, std::string_view Now,
              std::int64_t Origin, std::string_view LineBreak)
      : FOriginal(Original), FSpans(Spans), FWas(Was), FNow(Now), FOrigin(Origin), FLineBreak(LineBreak) {}

  void Component(const TOutline& C, const TOutline* Was, int Level) {
    Part(Was ? std::optional(Was->First) : std::nullopt, Was && Same(C.Header, Was->Header), Level, [&] {
      TBinaryObjectReader in(FNow, FOrigin);
      in.SetPos(C.Header.Begin);
      return HeaderText(in);
    });
    // The former properties by name, each name's in order; a property is the first of its name
    // not taken yet.
    std::vector<std::size_t> byName;
    std::vector<std::size_t> taken;  // at the first of each name: how many of the name are taken
    if (Was) {
      byName.resize(Was->Properties.size());
      for (std::size_t j = 0; j < byName.size(); ++j) byName[j] = j;
      std::stable_sort(byName.begin(), byName.end(),
                       [&](std::size_t A, std::size_t B) { return Was->Properties[A].first < Was->Properties[B].first; });
      taken.resize(byName.size());
    }
    for (const auto& [name, part] : C.Properties) {
      std::optional<std::size_t> index;
      bool same = false;
      const auto first = std::lower_bound(byName.begin(), byName.end(), name,
                                          [&](std::size_t J, const std::string& N) { return Was->Properties[J].first < N; });
      if (first != byName.end()) {
        std::size_t& count = taken[static_cast<std::size_t>(first - byName.begin())];
        const auto next = first + static_cast<std::ptrdiff_t>(std::min(count, static_cast<std::size_t>(byName.end() - first)));
        if (next != byName.end() && Was->Properties[*next].first == name) {
          ++count;
          index = Was->First + 1 + *next;
          same = Same(part, Was->Properties[*next].second);
        }
      }
      Part(index, same, Level + 1, [&, begin = part.Begin] {
        TBinaryObjectReader in(FNow, FOrigin);
        in.SetPos(begin);
        return PropertyText(in, Level + 1, FLineBreak);
      });
    }
    std::vector<const TOutline*> matched(C.Children.size());
    if (Was) matched = MatchChildren(C.Children, Was->Children);
    for (std::size_t i = 0; i < C.Children.size(); ++i) Component(C.Children[i], matched[i], Level + 1);
    Part(Was ? std::optional(Was->Last) : std::nullopt, Was != nullptr, Level, [] { return std::string("end"); });
  }

  // The text, with what followed the original form after its end.
  std::string Finish() {
    if (!FSpans.empty()) FOut += FOriginal.substr(FSpans.back().End);
    return std::move(FOut);
  }

private:
  bool Same(TPart Now, TPart Was) const {
    return FNow.substr(Now.Begin, Now.End - Now.Begin) == FWas.substr(Was.Begin, Was.End - Was.Begin);
  }

  // The original's text between part Index - 1 (or the start) and part Index, and between part
  // Index and the next one (or the end).
  std::string_view Before(std::size_t Index) const {
    const std::size_t from = Index ? FSpans[Index - 1].End : 0;
    return FOriginal.substr(from, FSpans[Index].Begin - from);
  }
  std::string_view After(std::size_t Index) const {
    const std::size_t to = Index + 1 < FSpans.size() ? FSpans[Index + 1].Begin : FOriginal.size();
    return FOriginal.substr(FSpans[Index].End, to - FSpans[Index].End);
  }

  // A part: the original's part Index (none for a new one), its own text when Same, else Made.
  void Part(std::optional<std::size_t> Index, bool Same, int Level, const std::function<std::string()>& Made) {
    if (Index && (FStarted ? FLast && *FLast + 1 == *Index : *Index == 0)) {
      FOut += Before(*Index);
    } else {
      if (FLast) {  // the end of the previous part's line, and blank lines after it
        const std::string_view after = After(*FLast);
        const std::size_t lineEnd = after.find_last_of("\r\n");
        if (lineEnd == std::string_view::npos) FOut += FLineBreak;
        else FOut += after.substr(0, lineEnd + 1);
      } else if (FStarted) {
        FOut += FLineBreak;
      }
      const std::string_view before = Index && *Index > 0 ? Before(*Index) : std::string_view();
      const std::size_t lineEnd = before.find_last_of("\r\n");
      if (lineEnd != std::string_view::npos) FOut += before.substr(lineEnd + 1);  // its indentation
      else FOut.append(2 * static_cast<std::size_t>(Level), ' ');
    }
    if (Index && Same) FOut += FOriginal.substr(FSpans[*Index].Begin, FSpans[*Index].End - FSpans[*Index].Begin);
    else FOut += Made();
    FLast = Index;
    FStarted = true;
  }

  std::string_view FOriginal;
  const std::vector<TTextSpan>& FSpans;
  std::string_view FWas, FNow;
  std::int64_t FOrigin;
  std::string_view FLineBreak;
  std::string FOut;
  std::optional<std::size_t> FLast;  // the original part written last, if the last was one
  bool FStarted = false;
};

}  // namespace

void ObjectBinaryToTextAs(TStream& Input, TStream& Output, std::string_view Original, std::string_view LineBreak) {
  const std::int64_t origin = Input.Position();
  const std::string data = ReadStreamRest(Input);
  std::string text;
  TBinaryObjectReader in(data, origin);
  try {
    std::vector<TTextSpan> spans;
    std::size_t rest = 0;
    const std::string was = FormTextToBinary(Original, &spans, rest);
    TBinaryObjectReader wasIn(was, 0);
    wasIn.ReadSignature();
    TOutline before = ReadOutline(wasIn);
    std::size_t parts = 0;
    Number(before, parts);
    if (parts != spans.size()) throw EReadError("The text of the form does not outline as its stream");
    in.ReadSignature();
    const TOutline now = ReadOutline(in);
    TTextKeeper keeper(Original, spans, was, data, origin, LineBreak);
    keeper.Component(now, &before, 0);
    text = keeper.Finish();
  } catch (...) {
    Input.SetPosition(origin);
    throw;
  }
  Input.SetPosition(in.Offset(in.Pos()));
  Output.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

}  // namespace vcl
