// Dictionaries: pairs of original and translated texts, exported from and applied to entries.
#include <cstdint>

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

vcl::TObject* IndexAsObject(int i) { return reinterpret_cast<vcl::TObject*>(static_cast<std::intptr_t>(i)); }

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
  const vcl::TFileLock lock(AFileName);  // over the whole read-merge-write: no writer loses an update
  TSortList dictionary, originals, fileLines;
  for (int i = 0; i < FOrgProps->Count(); ++i) originals.SortInsert(FOrgProps->Strings(i), nullptr);
  if (vcl::FileExists(AFileName)) {
    fileLines.LoadFromFile(AFileName);
    for (int i = 0; i < fileLines.Count(); ++i) dictionary.SortInsert(fileLines.Strings(i), nullptr);
  }

  if (originals.Count() > 0) {
    for (int i = 0; i < FTranslations->Count(); ++i) {
      const std::string& entry = FTranslations->Strings(i);
      const std::size_t equals = entry.find('=');
      if (equals == std::string::npos) continue;  // not an entry: nothing to pair
      const std::string head = entry.substr(0, equals + 1);
      int index = -1;
      originals.SortFind(head, index);
      if (index == originals.Count() || originals.Strings(index).compare(0, head.size(), head) != 0) continue;

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

  TSortList originals, map;
  for (int i = 0; i < FOrgProps->Count(); ++i) originals.SortInsert(FOrgProps->Strings(i), nullptr);
  // Original text -> position of its entry; with several entries of one text the last one wins.
  for (int i = 0; i < FTranslations->Count(); ++i) {
    const std::string& entry = FTranslations->Strings(i);
    if (entry.find('=') == std::string::npos) continue;  // not an entry: nothing to replace
    const std::string head = std::string(EntryKey(entry)) + "=";
    int index = -1;
    originals.SortFind(head, index);
    if (index < originals.Count() && IsEntryFor(originals.Strings(index), EntryKey(entry))) {
      const std::string& originalLine = originals.Strings(index);
      map.SortInsert(Decoded(std::string(EntryValue(originalLine)), originalLine), IndexAsObject(i));
    }
  }

  auto apply = [&](std::string_view line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return;
    std::string translation = ReadString(line.substr(tab + 1, MaxValueLength));
    const std::string original = ReadString(line.substr(0, tab));
    int index = 0;  // object mode: the position held by the matching line
    if (!map.SortFind(original, index)) return;
    const std::string& entry = FTranslations->Strings(index);
    const std::string_view value = EntryValue(entry);
    if (!value.empty() && (value[0] == '\'' || value[0] == '#')) ConvertToLiterals(translation);
    FTranslations->Put(index, entry.substr(0, entry.find('=') + 1) + translation);
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
