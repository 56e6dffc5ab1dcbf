// Dictionaries: pairs of original and translated texts, exported from and applied to entries.
#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

#include "list_files.hpp"
#include "sorted_lines.hpp"

namespace Vek {

namespace {

// The decoded form of a literal (a view of it where it is its own, see DecodedView); an invalid
// one names the line it came from.
std::string_view Decoded(std::string_view Literal, std::string_view Line, std::string& Store) {
  try {
    return DecodedView(Literal, Store);
  } catch (const vcl::EConvertError& e) {
    throw vcl::EConvertError("Entry \"" + std::string(Line) + "\": " + e.Message());
  }
}

// What a dictionary pairs with an entry: the entry decoded as a whole, then its text after the
// first "=" (at most 4095 characters). A key without apostrophe or "#" decodes as itself, so
// only the value needs decoding then.
std::string_view TranslationOf(std::string_view Entry, std::size_t Equals, std::string& Store) {
  const std::string_view key = Entry.substr(0, Equals);
  if (key.find('\'') == std::string_view::npos && key.find('#') == std::string_view::npos) return Decoded(Entry.substr(Equals + 1), Entry, Store).substr(0, MaxValueLength);
  std::string whole;
  Store.assign(Decoded(Entry, Entry, whole));
  return EntryValue(Store);
}

// The bytes that WriteString escapes, as a table: a dictionary writes a hundred thousand texts.
constexpr auto EscapedBytes = [] {
  std::array<bool, 256> escaped{};
  for (const char c : {'\\', '\n', '\r', '\t'}) escaped[static_cast<unsigned char>(c)] = true;
  return escaped;
}();

// Appends the escaped form of S (WriteString) to Out: a run without anything to escape at a time.
void AppendEscaped(std::string& Out, std::string_view S) {
  Out.reserve(Out.size() + S.size());
  std::size_t from = 0;
  for (std::size_t i = 0; i < S.size(); ++i) {
    const char c = S[i];
    if (!EscapedBytes[static_cast<unsigned char>(c)]) continue;
    Out.append(S.substr(from, i - from));
    Out += '\\';
    Out += c == '\n' ? 'n' : c == '\r' ? 'r' : c == '\t' ? 't' : '\\';
    from = i + 1;
  }
  Out.append(S.substr(from));
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

// Refuses a dictionary that holds a NUL, which a line it is rewritten with must not. One look at
// the whole file; the lines only when it holds one.
void RefuseNul(const std::string& FileName, std::string_view Bytes, const std::vector<std::string_view>& Lines) {
  if (!std::memchr(Bytes.data(), '\0', Bytes.size())) return;
  for (std::size_t i = 0; i < Lines.size(); ++i)
    if (Lines[i].find('\0') != std::string_view::npos)
      throw vcl::EReadError(FileName + ", line " + std::to_string(i + 1) +
                            ": holds a NUL (#0), which no line of a dictionary holds; the file is refused and left as it is");
}

const std::string_view Nul{"\0", 1};

// Calls Each(i, entry, equals, originalLine) for every entry of Translations whose property has
// a captured value among Originals (sorted): i is its index, equals where its "=" is.
template <class F>
void ForEachCapturedEntry(const vcl::TStrings& Translations, const std::vector<std::string_view>& Originals, F Each) {
  if (Originals.empty()) return;
  EntryFinder finder(Originals);
  for (int i = 0; i < Translations.Count(); ++i) {
    const std::string& entry = Translations.Strings(i);
    const std::size_t equals = entry.find('=');
    if (equals == std::string::npos) continue;  // not an entry: nothing to pair or replace
    const int index = finder.Find(std::string_view(entry).substr(0, equals));
    if (index >= 0) Each(i, entry, equals, Originals[static_cast<std::size_t>(index)]);
  }
}

}  // namespace

std::string TLumetra::WriteString(std::string_view S) {
  std::string out;
  AppendEscaped(out, S);
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
  RefuseNul(AFileName, bytes, lines);
  std::vector<std::string_view> dictionary = SortedUnique(std::move(lines));

  // The dictionary line of each entry whose property was captured, in the order of the entries,
  // one after the other in one text (a string each would cost an allocation each).
  struct Pair {
    std::size_t Start, HeadSize, Size;  // in pairText; the head is the escaped original and the TAB
  };
  std::string pairText;
  std::vector<Pair> pairs;
  pairs.reserve(originals.empty() ? 0 : static_cast<std::size_t>(Translations.Count()));
  std::string translationStore, originalStore;
  ForEachCapturedEntry(Translations, originals, [&](int, const std::string& entry, std::size_t equals, std::string_view originalLine) {
    const std::string_view translation = TranslationOf(entry, equals, translationStore);
    const std::string_view original = Decoded(EntryValue(originalLine), originalLine, originalStore);
    // Escaping keeps line breaks and TABs in their field; a NUL it has no form for.
    RefuseRawCharacters(AFileName, "captured value", EntryKey(originalLine), original, Nul, false);
    RefuseRawCharacters(AFileName, "entry", EntryKey(entry), translation, Nul, false);
    Pair& p = pairs.emplace_back();
    p.Start = pairText.size();
    AppendEscaped(pairText, original);
    pairText += '\t';
    p.HeadSize = pairText.size() - p.Start;
    AppendEscaped(pairText, translation);
    p.Size = pairText.size() - p.Start;
  });
  const auto lineOf = [&](const Pair& P) { return std::string_view(pairText).substr(P.Start, P.Size); };
  const auto headOf = [&](const Pair& P) { return std::string_view(pairText).substr(P.Start, P.HeadSize); };

  if (!SharesAHead(dictionary)) {
    // With one line per original at most, the line of the last entry of each original replaces
    // the file's line of it in place or is merged in: what replacing and inserting one entry
    // after the other leaves. Heads sort as their lines do, so one walk pairs them.
    std::vector<const Pair*> last;
    last.reserve(pairs.size());
    for (const Pair& p : pairs) last.push_back(&p);
    const auto byHead = [&](const Pair* a, const Pair* b) { return headOf(*a) < headOf(*b); };
    if (!std::is_sorted(last.begin(), last.end(), byHead)) StableSortByText(last, [&](const Pair* p) { return headOf(*p); });
    std::size_t count = 0;
    for (std::size_t i = 0; i < last.size(); ++i)
      if (i + 1 == last.size() || headOf(*last[i + 1]) != headOf(*last[i])) last[count++] = last[i];  // the latest of its head
    last.resize(count);
    // Each pair's place among the file's lines is searched for from the last one's: a line that
    // begins with its head is replaced, otherwise the pair is added there.
    std::vector<std::string_view> added;
    added.reserve(last.size());
    auto place = dictionary.begin();
    for (const Pair* p : last) {
      const std::string_view head = headOf(*p);
      place = LowerBoundFrom(place, dictionary.end(), head, [](std::string_view L, std::string_view H) { return L < H; });
      if (place != dictionary.end() && place->starts_with(head)) *place++ = lineOf(*p);
      else added.push_back(lineOf(*p));
    }
    WriteListFile(AFileName, MergedText(dictionary, std::move(added), bytes));
  } else {
    // Several lines of one original (the file was not written by this unit): only the first is
    // replaced, which can put the list out of order for the searches after it, so the list does it.
    TSortList list;
    for (std::string_view l : dictionary) list.Add(std::string(l));
    for (const Pair& p : pairs) {
      int index = -1;
      const std::string head(headOf(p));
      list.SortFind(head, index);
      if (index < list.Count() && list.Strings(index).starts_with(head)) list.Put(index, std::string(lineOf(p)));
      else list.SortInsert(std::string(lineOf(p)), nullptr);
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
  // several dialogs often share a text ("Cancel"), and each of them is translated. Most texts
  // are views of the captured values; the others live in decoded.
  struct Original {
    std::string_view Text;
    int Entry;
  };
  std::vector<Original> map;
  std::deque<std::string> decoded;
  std::string store;
  ForEachCapturedEntry(Translations, originals, [&](int i, const std::string&, std::size_t, std::string_view originalLine) {
    std::string_view text = Decoded(EntryValue(originalLine), originalLine, store);
    if (text.data() == store.data()) text = decoded.emplace_back(std::move(store));
    map.push_back({text, i});
  });
  StableSortByText(map, [](const Original& o) { return o.Text; });

  // Every replacement is made first and checked, so that a translation no entry can hold
  // changes nothing. A later line of one original wins, as if each were applied in turn.
  std::vector<std::optional<std::string>> replaced(static_cast<std::size_t>(Translations.Count()));
  // Dictionaries are sorted: every text before match sorts before the last line's original, so
  // the search for the next one goes on from there unless it sorts before that.
  std::string unescaped[2];
  std::string_view previous;
  auto match = map.begin();
  auto apply = [&](std::string_view line, std::size_t lineNumber) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return;
    // Most originals hold no backslash and are their own unescaped form.
    std::string_view original = line.substr(0, tab);
    if (original.find('\\') != std::string_view::npos) {
      std::string& free = previous.data() == unescaped[0].data() ? unescaped[1] : unescaped[0];
      original = free = TLumetra::ReadString(original);
    }
    if (original < previous) match = map.begin();
    previous = original;
    if (match == map.end()) return;
    if (const int order = match->Text.compare(original); order < 0)
      match = LowerBoundFrom(std::next(match), map.end(), original, [](const Original& m, std::string_view s) { return m.Text < s; });
    else if (order > 0) return;
    if (match == map.end() || match->Text != original) return;
    const std::string translation = TLumetra::ReadString(line.substr(tab + 1));
    for (auto m = match; m != map.end() && m->Text == original; ++m) {
      std::optional<std::string>& pending = replaced[static_cast<std::size_t>(m->Entry)];
      const std::string& entry = pending ? *pending : Translations.Strings(m->Entry);
      const std::string_view value = EntryValue(entry);
      std::string text = translation;
      // An entry never holds a raw line break or NUL, which no line of a text file may hold.
      if ((!value.empty() && (value[0] == '\'' || value[0] == '#')) || HoldsAnyOf(text, RawLineBreaks))
        ConvertToLiterals(text);
      if (text.size() > MaxValueLength)
        throw vcl::EConvertError(AFileName + ", line " + std::to_string(lineNumber) + ": the translation of '" +
                                 vcl::Excerpt(m->Text) + "' makes an entry value of " +
                                 vcl::IntToStr(static_cast<std::int64_t>(text.size())) + " characters, more than the " +
                                 vcl::IntToStr(static_cast<std::int64_t>(MaxValueLength)) + " an entry holds; nothing was translated");
      pending = EntryLine(EntryKey(entry), text);
    }
  };
  // Lines end at CR LF, a lone CR or a lone LF; the number of each is the one a text editor shows.
  vcl::TLineReader lines(bytes);
  std::size_t lineNumber = 0;
  for (std::string_view line; lines.Next(line);) apply(line, ++lineNumber);
  for (std::size_t i = 0; i < replaced.size(); ++i)
    if (replaced[i]) Translations.Put(static_cast<int>(i), *replaced[i]);
  return true;
}

}  // namespace Vek
