// `lumetra pseudo`: pseudo-translated entries of every captured text, written to a text file.
#include "pseudo.hpp"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>

#include "commands.hpp"
#include "form_file.hpp"

namespace lumetra_cli {

namespace {

// The 1252 letter that stands for an ASCII letter; the letters 1252 has no accented form of
// stay themselves.
char Accented(char c) {
  static const std::map<char, unsigned char> letters = {
      {'A', 0xC5}, {'C', 0xC7}, {'D', 0xD0}, {'E', 0xC9}, {'I', 0xCE}, {'N', 0xD1}, {'O', 0xD6}, {'S', 0x8A},
      {'U', 0xDB}, {'Y', 0xDD}, {'Z', 0x8E}, {'a', 0xE5}, {'c', 0xE7}, {'d', 0xF0}, {'e', 0xE9}, {'f', 0x83},
      {'i', 0xEE}, {'n', 0xF1}, {'o', 0xF6}, {'s', 0x9A}, {'u', 0xFB}, {'y', 0xFD}, {'z', 0x9E}};
  const auto it = letters.find(c);
  return it == letters.end() ? c : static_cast<char>(it->second);
}

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
    out += Accented(Line[i]);
    ++visible;
  }
  const std::size_t extra = (visible * 2 + 4) / 5;
  if (extra > 0) out += ' ' + std::string(extra - 1, '!');
  return out;
}

struct Rect {
  int Left = INT_MIN, Width = INT_MIN;
};

const char* const PseudoHelp =
    "usage: lumetra pseudo FORM FILE [--rtl] [--locale N]\n\n"
    "Writes pseudo-translations of every captured text of the form's dialogs into the translation\n"
    "text FILE, as 'lumetra text save' would write them: accented letters, brackets and 40% more\n"
    "length, so that cut-off texts and untranslatable ones show before any translator starts.\n"
    "The form itself is not changed; set its translator's Locale to N to see them.\n\n"
    "--rtl       also mirrors the controls' positions, as a right-to-left layout places them\n"
    "--locale N  the locale of the lines (default: 1281, qps-ploc; with --rtl 2559, qps-plocm)\n\n"
    "Like 'lumetra text save', the file keeps every other form's and locale's lines, and the form's\n"
    "original lines (locale -1) are written for the pseudo-translated properties. FORM may have at\n"
    "most 64 MiB, FILE 256 MiB. \"--\" ends the options.\n";

}  // namespace

std::string PseudoText(std::string_view Text) {
  if (Text.empty()) return "";
  std::string out = "[";
  std::size_t start = 0;
  while (start <= Text.size()) {
    const std::size_t end = Text.find_first_of("\r\n", start);
    out += PseudoLine(Text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    const std::size_t next = Text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    out += Text.substr(end, next - end);
    start = next;
  }
  return out + "]";
}

std::vector<std::string> PseudoEntries(const vcl::TStrings& Originals, bool Mirror) {
  std::vector<std::string> entries;
  // Per dialog class, the captured Left and Width of each control by its id text.
  std::map<std::string, std::map<std::string, Rect>, std::less<>> controls;
  for (int i = 0; i < Originals.Count(); ++i) {
    const std::string& line = Originals.Strings(i);
    const Vek::Entry e = Vek::Entry::Split(line);
    if (e.Kind == Vek::EntryKind::WindowCaption || e.Kind == Vek::EntryKind::ChildCaption) {
      const std::optional<std::string> text = e.TryDecodedValue();
      if (!text) continue;
      std::string value = PseudoText(*text);
      Vek::ConvertToLiterals(value);
      entries.push_back(Vek::EntryLine(Vek::EntryKey(line), value));
    } else if (Mirror && e.HasId && (e.Kind == Vek::EntryKind::ChildLeft || e.Kind == Vek::EntryKind::ChildWidth)) {
      const std::optional<int> number = Vek::ParseDecimal(e.Value);
      if (!number) continue;
      Rect& r = controls[std::string(e.ClassPart)][std::string(e.IdText)];
      (e.Kind == Vek::EntryKind::ChildLeft ? r.Left : r.Width) = *number;
    }
  }
  for (const auto& [dialogClass, byId] : controls) {
    // A capture stores a control's extent plus one; its right edge is Left + Width - 1.
    int first = INT_MAX, last = INT_MIN;
    for (const auto& [id, r] : byId) {
      if (r.Left == INT_MIN || r.Width == INT_MIN) continue;
      first = std::min(first, r.Left);
      last = std::max(last, r.Left + r.Width - 1);
    }
    for (const auto& [id, r] : byId) {
      if (r.Left == INT_MIN || r.Width == INT_MIN) continue;
      entries.push_back(dialogClass + ".Left[" + id + "]=" + vcl::IntToStr(first + last - (r.Left + r.Width - 1)));
    }
  }
  return entries;
}

int RunPseudo(const Args& args) {
  std::vector<std::string> positional;
  std::optional<int> locale;
  bool rtl = false, help = false, options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!options) positional.push_back(a);
    else if (a == "--") options = false;
    else if (a == "--help" || a == "-h") help = true;
    else if (a == "--rtl") rtl = true;
    else if (a == "--locale") {
      int value = 0;
      if (i + 1 == args.size()) throw UsageError("--locale needs a number");
      if (!vcl::TryStrToInt(args[++i], value)) throw UsageError("--locale '" + args[i] + "' is not an integer");
      locale = value;
    } else if (a.size() > 1 && a[0] == '-') throw UsageError("unknown option '" + a + "'");
    else positional.push_back(a);
  }
  if (help) return std::fputs(PseudoHelp, stdout), 0;
  if (positional.size() != 2) throw UsageError(std::string("wrong arguments\n\n") + PseudoHelp);
  FormFile form(positional[0]);
  const Vek::TLumetra* t = form.Translator();
  const std::string& file = positional[1];
  CheckInput(file, MaxListFileSize, true);
  Vek::TSortList entries;
  for (const std::string& e : PseudoEntries(*t->OrgProps(), rtl)) entries.SortInsert(e, nullptr);
  const int lineLocale = locale ? *locale : rtl ? 0x09FF : 0x0501;
  Progress(file, "rewriting");
  Vek::SaveTo(file, t->OwnerName(), lineLocale, entries, *t->OrgProps());
  std::printf("%s: %d pseudo-translated entries of %s, locale %d, saved to %s\n", Escaped(positional[0]).c_str(), entries.Count(),
              Escaped(t->OwnerName()).c_str(), lineLocale, Escaped(file).c_str());
  if (entries.Count() == 0) std::printf("  the form has no captured texts: run 'lumetra capture' first\n");
  return 0;
}

}  // namespace lumetra_cli
