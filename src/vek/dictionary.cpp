// Dictionaries: pairs of original and translated texts, exported from and applied to entries.
#include <algorithm>
#include <vector>

#include "Vek.hpp"

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

void TLumetra::TranslateTo(const std::string& AFileName) {
  TSortList dictionary, originals, fileLines;
  for (int i = 0; i < FOrgProps->Count(); ++i) originals.SortInsert(FOrgProps->Strings(i), nullptr);
  if (vcl::FileExists(AFileName)) {
    fileLines.LoadFromFile(AFileName);
    for (int i = 0; i < fileLines.Count(); ++i) dictionary.SortInsert(fileLines.Strings(i), nullptr);
  }

  if (originals.Count() > 0) {
    for (int i = 0; i < FTranslations->Count(); ++i) {
      const std::string& entry = FTranslations->Strings(i);
      if (entry.find('=') == std::string::npos) continue;  // not an entry: nothing to pair
      int index = FindEntry(originals, EntryKey(entry));
      if (index < 0) continue;

      const std::string translation(EntryValue(Decoded(entry, entry)));
      const std::string& originalLine = originals.Strings(index);
      const std::string original = Decoded(std::string(EntryValue(originalLine)), originalLine);

      const std::string dictionaryHead = WriteString(original) + '\t';
      const std::string line = dictionaryHead + WriteString(translation);
      index = -1;
      dictionary.SortFind(dictionaryHead, index);
      if (index < dictionary.Count() && dictionary.Strings(index).compare(0, dictionaryHead.size(), dictionaryHead) == 0)
        dictionary.Put(index, line);
      else
        dictionary.SortInsert(line, nullptr);
    }
  }
  dictionary.SaveToFile(AFileName);
}

bool TLumetra::TranslateFrom(const std::string& AFileName) {
  if (!vcl::FileExists(AFileName)) return false;
  const std::string bytes = vcl::ReadFileBytes(AFileName);

  TSortList originals;
  for (int i = 0; i < FOrgProps->Count(); ++i) originals.SortInsert(FOrgProps->Strings(i), nullptr);
  // Original text -> the positions of every entry that has it, in list order: entries of
  // several dialogs often share a text ("Cancel"), and each of them is translated.
  std::vector<std::pair<std::string, int>> map;
  for (int i = 0; i < FTranslations->Count(); ++i) {
    const std::string& entry = FTranslations->Strings(i);
    if (entry.find('=') == std::string::npos) continue;  // not an entry: nothing to replace
    const int index = FindEntry(originals, EntryKey(entry));
    if (index < 0) continue;
    const std::string& originalLine = originals.Strings(index);
    map.emplace_back(Decoded(std::string(EntryValue(originalLine)), originalLine), i);
  }
  std::stable_sort(map.begin(), map.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

  auto apply = [&](std::string_view line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return;
    const std::string original = ReadString(line.substr(0, tab));
    auto match = std::lower_bound(map.begin(), map.end(), original,
                                  [](const auto& m, const std::string& s) { return m.first < s; });
    if (match == map.end() || match->first != original) return;
    const std::string translation = ReadString(line.substr(tab + 1, MaxValueLength));
    for (; match != map.end() && match->first == original; ++match) {
      const std::string& entry = FTranslations->Strings(match->second);
      const std::string_view value = EntryValue(entry);
      std::string text = translation;
      if (!value.empty() && (value[0] == '\'' || value[0] == '#')) ConvertToLiterals(text);
      FTranslations->Put(match->second, EntryLine(EntryKey(entry), text));
    }
  };
  // CR and LF each end a line, so CR LF leaves an empty line between, which has no TAB.
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      apply(std::string_view(bytes).substr(start, i - start));
      start = i + 1;
    }
  }
  apply(std::string_view(bytes).substr(start));
  return true;
}

}  // namespace Vek
