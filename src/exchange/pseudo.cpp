// Pseudo-localisation: pseudo-translated entries of every captured text, and right-to-left dialogs.
#include "exchange/Pseudo.hpp"

#include <algorithm>
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

std::vector<std::string> PseudoEntries(const vcl::TStrings& Originals, bool RightToLeft, const vcl::TComponent* Form) {
  std::vector<std::string> entries;
  std::vector<std::string> classes;  // the dialog classes, in the order they come first
  for (int i = 0; i < Originals.Count(); ++i) {
    const std::string& line = Originals.Strings(i);
    const Vek::Entry e = Vek::Entry::Split(line);
    if (RightToLeft && e.HasClass && !e.ClassPart.empty() && std::find(classes.begin(), classes.end(), e.ClassPart) == classes.end())
      classes.emplace_back(e.ClassPart);
    if (!Vek::IsTextKind(e.Kind)) continue;
    const std::optional<std::string> text = e.TryDecodedValue();
    if (!text || !Vek::IsForTranslation(line, Form)) continue;
    std::string value = PseudoText(*text);
    Vek::ConvertToLiterals(value);
    entries.push_back(Vek::EntryLine(Vek::EntryKey(line), value));
  }
  // The reading order of the whole dialog: Windows mirrors its layout, so no control is moved.
  for (const std::string& dialogClass : classes)
    entries.push_back(dialogClass + ".BiDiMode=" + std::string(Vek::BiDiModeName(Vek::BiDiMode::RightToLeft)));
  return entries;
}

}  // namespace exchange
