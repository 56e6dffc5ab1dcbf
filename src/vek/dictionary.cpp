// Dictionaries: pairs of original and translated texts, exported from and applied to entries.
#include <algorithm>
#include <map>
#include <vector>

#include "list_files.hpp"
#include "sorted_lines.hpp"

namespace Vek {

namespace {

// The decoded form of a literal; an invalid one names the line it came from.
std::string Decoded(std::string text, const std::string& line) {
  try {
    ConvertFromLiterals(text);
  } catch (const vcl::EConvertError& e) {
    throw vcl::EConvertError("Entry \"" + line + "\": " + e.Message());
  }
  return text;
}

// Whether two lines begin with the same text up to and including a TAB: the lines of one
// original. Such lines stand next to each other in ordinal order.
bool SharesAHead(const std::vector<std::string_view>& SortedLines) {
  for (std::size_t i = 0; i + 1 < SortedLines.size(); ++i) {
    const std::size_t tab = SortedLines[i].find('\t');
    if (tab != std::string_view::npos && SortedLines[i + 1].starts_with(SortedLines[i].substr(0, tab + 1))) return true;
  }
  return false;
}

// Refuses a dictionary that holds a NUL, which a line it is rewritten with must not.
void RefuseNul(const std::string& FileName, const std::vector<std::string_view>& Lines) {
  for (std::size_t i = 0; i < Lines.size(); ++i)
    if (Lines[i].find('\0') != std::string_view::npos)
      throw vcl::EReadError(FileName + ", line " + std::to_string(i + 1) +
                            ": holds a NUL (#0), which no line of a dictionary holds; the file is refused and left as it is");
}

const std::string_view Nul{"\0", 1};

}  // namespace

std::string TLumetra::WriteString(std::string_view S) {
  std::string out;
  out.reserve(S.size());
  for (char c : S) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out;
}

std::string TLumetra::ReadString(std::string_view S) {
  std::string out;
  out.reserve(S.size());
  for (std::size_t i = 0; i < S.size(); ++i) {
    if (S[i] == '\\' && i + 1 < S.size()) {
      const char next = S[i + 1];
      const char plain = next == '\\' ? '\\' : next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : 0;
      if (plain) {
        out += plain;
        ++i;
        continue;
      }
    }
    out += S[i];
  }
  return out;
}

void TLumetra::TranslateTo(const std::string& AFileName) { Vek::TranslateTo(AFileName, *FTranslations, *FOrgProps); }

bool TLumetra::TranslateFrom(const std::string& AFileName) {
  return Vek::TranslateFrom(AFileName, *FTranslations, *FOrgProps);
}

void TranslateTo(const std::string& AFileName, const vcl::TStrings& Translations, const vcl::TStrings& OrgProps) {
  const vcl::TFileLock lock(AFileName);  // over the whole read-merge-write: no writer loses an update
  // Sorted for the search, so the order of OrgProps (the editor's is unsorted) never matters.
  const std::vector<std::string_view> originals = SortedUnique(OrgProps);
  const std::string bytes = vcl::ReadFileIfExists(AFileName).value_or(std::string());
  std::vector<std::string_view> lines = vcl::SplitLines(bytes);
  RefuseNul(AFileName, lines);
  std::vector<std::string_view> dictionary = SortedUnique(std::move(lines));

  // The dictionary line of each entry whose property was captured, in the order of the entries.
  struct Pair {
    std::string Head;  // the escaped original and the TAB
    std::string Line;
  };
  std::vector<Pair> pairs;
  pairs.reserve(originals.empty() ? 0 : static_cast<std::size_t>(Translations.Count()));
  if (!originals.empty()) {
    for (int i = 0; i < Translations.Count(); ++i) {
      const std::string& entry = Translations.Strings(i);
      if (entry.find('=') == std::string::npos) continue;  // not an entry: nothing to pair
      const int index = FindEntry(originals, EntryKey(entry));
      if (index < 0) continue;
      const std::string translation(EntryValue(Decoded(entry, entry)));
      const std::string originalLine(originals[static_cast<std::size_t>(index)]);
      const std::string original = Decoded(std::string(EntryValue(originalLine)), originalLine);
      // Escaping keeps line breaks and TABs in their field; a NUL it has no form for.
      RefuseRawCharacters(AFileName, "captured value", EntryKey(originalLine), original, Nul, false);
      RefuseRawCharacters(AFileName, "entry", EntryKey(entry), translation, Nul, false);
      std::string head = TLumetra::WriteString(original) + '\t';
      std::string line = head + TLumetra::WriteString(translation);
      pairs.push_back({std::move(head), std::move(line)});
    }
  }

  if (!SharesAHead(dictionary)) {
    // With one line per original at most, the line of the last entry of each original replaces
    // the file's line of it in place or is merged in: what replacing and inserting one entry
    // after the other leaves. Heads sort as their lines do, so one walk pairs them.
    std::vector<const Pair*> last;
    last.reserve(pairs.size());
    for (const Pair& p : pairs) last.push_back(&p);
    std::stable_sort(last.begin(), last.end(), [](const Pair* a, const Pair* b) { return a->Head < b->Head; });
    std::size_t count = 0;
    for (std::size_t i = 0; i < last.size(); ++i)
      if (i + 1 == last.size() || last[i + 1]->Head != last[i]->Head) last[count++] = last[i];  // the latest of its head
    last.resize(count);
    std::vector<std::string> added;
    added.reserve(last.size());
    auto next = last.begin();
    for (std::string_view& line : dictionary) {
      const std::size_t tab = line.find('\t');
      if (tab == std::string_view::npos) continue;
      const std::string_view head = line.substr(0, tab + 1);
      for (; next != last.end() && (*next)->Head < head; ++next) added.push_back((*next)->Line);
      if (next != last.end() && (*next)->Head == head) line = (*next++)->Line;
    }
    for (; next != last.end(); ++next) added.push_back((*next)->Line);
    WriteListFile(AFileName, MergedText(dictionary, std::move(added)));
  } else {
    // Several lines of one original (the file was not written by this unit): only the first is
    // replaced, which can put the list out of order for the searches after it, so the list does it.
    TSortList list;
    for (std::string_view l : dictionary) list.Add(std::string(l));
    for (const Pair& p : pairs) {
      int index = -1;
      list.SortFind(p.Head, index);
      if (index < list.Count() && list.Strings(index).starts_with(p.Head)) list.Put(index, p.Line);
      else list.SortInsert(p.Line, nullptr);
    }
    WriteListFile(AFileName, list.Text());
  }
}

bool TranslateFrom(const std::string& AFileName, TSortList& Translations, const vcl::TStrings& OrgProps) {
  const std::optional<std::string> read = vcl::ReadFileIfExists(AFileName);
  if (!read) return false;
  const std::string& bytes = *read;

  const std::vector<std::string_view> originals = SortedUnique(OrgProps);
  // Original text -> the positions of every entry that has it, in list order: entries of
  // several dialogs often share a text ("Cancel"), and each of them is translated.
  std::vector<std::pair<std::string, int>> map;
  for (int i = 0; i < Translations.Count(); ++i) {
    const std::string& entry = Translations.Strings(i);
    if (entry.find('=') == std::string::npos) continue;  // not an entry: nothing to replace
    const int index = FindEntry(originals, EntryKey(entry));
    if (index < 0) continue;
    const std::string originalLine(originals[static_cast<std::size_t>(index)]);
    map.emplace_back(Decoded(std::string(EntryValue(originalLine)), originalLine), i);
  }
  std::stable_sort(map.begin(), map.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

  // Every replacement is made first and checked, so that a translation no entry can hold
  // changes nothing. A later line of one original wins, as if each were applied in turn.
  std::map<int, std::string> replaced;
  std::string unescaped;
  int lineNumber = 1;
  auto apply = [&](std::string_view line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return;
    // Most originals hold no backslash and are their own unescaped form.
    std::string_view original = line.substr(0, tab);
    if (original.find('\\') != std::string_view::npos) original = unescaped = TLumetra::ReadString(original);
    auto match = std::lower_bound(map.begin(), map.end(), original,
                                  [](const auto& m, std::string_view s) { return m.first < s; });
    if (match == map.end() || match->first != original) return;
    const std::string translation = TLumetra::ReadString(line.substr(tab + 1));
    for (; match != map.end() && match->first == original; ++match) {
      const auto pending = replaced.find(match->second);
      const std::string& entry = pending != replaced.end() ? pending->second : Translations.Strings(match->second);
      const std::string_view value = EntryValue(entry);
      std::string text = translation;
      // An entry never holds a raw line break or NUL, which no line of a text file may hold.
      if ((!value.empty() && (value[0] == '\'' || value[0] == '#')) || text.find_first_of(RawLineBreaks) != std::string::npos)
        ConvertToLiterals(text);
      if (text.size() > MaxValueLength)
        throw vcl::EConvertError(AFileName + ", line " + vcl::IntToStr(lineNumber) + ": the translation of '" +
                                 vcl::Excerpt(match->first) + "' makes an entry value of " +
                                 vcl::IntToStr(static_cast<std::int64_t>(text.size())) + " characters, more than the " +
                                 vcl::IntToStr(static_cast<std::int64_t>(MaxValueLength)) + " an entry holds; nothing was translated");
      replaced[match->second] = EntryLine(EntryKey(entry), text);
    }
  };
  // CR and LF each end a line, so CR LF leaves an empty line between, which has no TAB; a line
  // is counted at each LF and each CR without one after it.
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      apply(std::string_view(bytes).substr(start, i - start));
      start = i + 1;
      if (bytes[i] == '\n' || i + 1 == bytes.size() || bytes[i + 1] != '\n') ++lineNumber;
    }
  }
  apply(std::string_view(bytes).substr(start));
  for (const auto& [index, line] : replaced) Translations.Put(index, line);
  return true;
}

}  // namespace Vek
