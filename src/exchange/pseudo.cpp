// Pseudo-localisation: pseudo-translated entries of every captured text, and mirrored positions.
#include "exchange/Pseudo.hpp"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>


namespace exchange {

namespace {

// The 1252 letter that stands for an ASCII letter. Every one is from C0 up: a letter from 80 to
// BF (such as S with caron) after one of them would make a pair that reads as UTF-8, which the
// checks warn of. The letters without such a form stay themselves.
char Accented(char c) {
  static const std::map<char, unsigned char> letters = {
      {'A', 0xC5}, {'C', 0xC7}, {'D', 0xD0}, {'E', 0xC9}, {'I', 0xCE}, {'N', 0xD1}, {'O', 0xD6}, {'U', 0xDB},
      {'Y', 0xDD}, {'a', 0xE5}, {'c', 0xE7}, {'d', 0xF0}, {'e', 0xE9}, {'i', 0xEE}, {'n', 0xF1}, {'o', 0xF6},
      {'u', 0xFB}, {'y', 0xFD}};
  const auto it = letters.find(c);
  return it == letters.end() ? c : static_cast<char>(it->second);
}

bool IsContinuationByte(char c) { return static_cast<unsigned char>(c) >= 0x80 && static_cast<unsigned char>(c) <= 0xBF; }

// One line of a text: accented, then padded by 40% of its visible length (rounded up).
std::string PseudoLine(std::string_view Line) {
  std::string out;
  std::size_t visible = 0;
  for (std::size_t i = 0; i < Line.size(); ++i) {
    if (Line[i] == '&' && i + 1 < Line.size()) {
      out += '&';
      out += Line[++i];  // "&&" is a visible "&"; any other is the mnemonic of the next letter
      ++visible;
      continue;
    }
    // Before a byte of the original from 80 to BF a letter stays plain, so that no pair reads as UTF-8.
    out += i + 1 < Line.size() && IsContinuationByte(Line[i + 1]) ? Line[i] : Accented(Line[i]);
    ++visible;
  }
  const std::size_t extra = (visible * 2 + 4) / 5;
  if (extra > 0) out += ' ' + std::string(extra - 1, '!');
  return out;
}

// A control's captured Left and Width, and the line each came from; empty when not captured.
struct Rect {
  std::optional<int> Left, Width;
  std::string LeftLine, WidthLine;
};

bool OnScreen(Vek::EntryKind Kind, int Value) { return Vek::OnScreen(Kind, Value) == Value; }

}  // namespace

std::string PseudoText(std::string_view Text) {
  if (Text.empty()) return "";
  std::string out = "[";
  const std::vector<std::string_view> lines = vcl::DrawnLines(Text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out += PseudoLine(lines[i]);
    const char* const end = lines[i].data() + lines[i].size();
    if (i + 1 < lines.size()) out.append(end, lines[i + 1].data());  // the line end as it was
  }
  return out + "]";
}

std::vector<std::string> PseudoEntries(const vcl::TStrings& Originals, bool Mirror, const vcl::TComponent* Form,
                                       std::vector<std::string>* Unmirrored) {
  std::vector<std::string> entries;
  // Per dialog class, the captured Left and Width of each control by its id text.
  std::map<std::string, std::map<std::string, Rect>, std::less<>> controls;
  for (int i = 0; i < Originals.Count(); ++i) {
    const std::string& line = Originals.Strings(i);
    const Vek::Entry e = Vek::Entry::Split(line);
    if (Vek::IsTextKind(e.Kind)) {
      const std::optional<std::string> text = e.TryDecodedValue();
      if (!text || !Vek::IsForTranslation(line, Form)) continue;
      std::string value = PseudoText(*text);
      Vek::ConvertToLiterals(value);
      entries.push_back(Vek::EntryLine(Vek::EntryKey(line), value));
    } else if (Mirror && e.HasId && (e.Kind == Vek::EntryKind::ChildLeft || e.Kind == Vek::EntryKind::ChildWidth)) {
      const std::optional<int> number = Vek::ParseDecimal(e.Value);
      if (!number) continue;
      Rect& r = controls[std::string(e.ClassPart)][std::string(e.IdText)];
      if (e.Kind == Vek::EntryKind::ChildLeft) r.Left = *number, r.LeftLine = line;
      else r.Width = *number, r.WidthLine = line;
    }
  }
  const auto leaveOut = [&](const std::string& Line) {
    if (Unmirrored) Unmirrored->push_back(Line);
  };
  for (auto& [dialogClass, byId] : controls) {
    // A capture stores a control's extent plus one (Vek::CapturedExtent): its right edge is the
    // left one plus the extent the Width stands for. A control beyond what a screen holds is left
    // out: mirroring it would move the others off the screen.
    std::int64_t first = INT64_MAX, last = INT64_MIN;
    for (auto it = byId.begin(); it != byId.end();) {
      const Rect& r = it->second;
      if (r.Left && r.Width && (!OnScreen(Vek::EntryKind::ChildLeft, *r.Left) || !OnScreen(Vek::EntryKind::ChildWidth, *r.Width))) {
        leaveOut(OnScreen(Vek::EntryKind::ChildLeft, *r.Left) ? r.WidthLine : r.LeftLine);
        it = byId.erase(it);
        continue;
      }
      if (r.Left && r.Width) {
        first = std::min<std::int64_t>(first, *r.Left);
        last = std::max<std::int64_t>(last, *r.Left + Vek::ExtentOfCaptured(*r.Width));
      }
      ++it;
    }
    for (const auto& [id, r] : byId) {
      if (!r.Left || !r.Width) continue;
      const std::int64_t mirrored = first + last - (*r.Left + Vek::ExtentOfCaptured(*r.Width));
      if (Vek::OnScreen(Vek::EntryKind::ChildLeft, mirrored) != mirrored) {
        leaveOut(r.LeftLine);
        continue;
      }
      entries.push_back(dialogClass + ".Left[" + id + "]=" + vcl::IntToStr(static_cast<int>(mirrored)));
    }
  }
  return entries;
}

}  // namespace exchange
