// The letters of keyboard layouts: asked of the system on Windows, from a table elsewhere.
//
// Notes:
// - The table holds the letters each default layout types with no key but Shift (where a
//   language has two common layouts, the letters both type);
//   tests/checks/keyboard_test.cpp holds it to VkKeyScanExW wherever the system loads the layout.
// - LoadKeyboardLayoutW with KLF_NOTELLSHELL adds a layout to the process without making it the
//   input language; a layout the process had before is not unloaded.
// - Wine 8 loads no layout: LoadKeyboardLayoutW answers the layout in use whatever it is asked
//   for, and VkKeyScanExW answers from the X server's keyboard whatever layout it is given, for
//   the characters the Unix code page writes in one byte. A layout of another language than the
//   one asked for is therefore no answer, and the table's is taken.
#include "checks/keyboard.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <set>

#include "win/api.h"

namespace checks {

namespace {

struct TableRow {
  int LangId;
  const char16_t* Letters;  // lower case, ascending
};

#define LATIN u"abcdefghijklmnopqrstuvwxyz"
// Ascending by language; each row's letters ascending.
constexpr TableRow Table[] = {
    {0x0405, LATIN u"\u00e1\u00e9\u00ed\u00fa\u00fd\u010d\u011b\u0159\u0161\u016f\u017e"},  // Czech
    {0x0407, LATIN u"\u00df\u00e4\u00f6\u00fc"},                                            // German
    {0x0408, u"\u03b1\u03b2\u03b3\u03b4\u03b5\u03b6\u03b7\u03b8\u03b9\u03ba\u03bb\u03bc\u03bd\u03be\u03bf\u03c0\u03c1\u03c2\u03c3"
             u"\u03c4\u03c5\u03c6\u03c7\u03c8\u03c9"},                                      // Greek
    {0x0409, LATIN},                                                                         // English (United States)
    {0x040A, LATIN u"\u00e7\u00f1"},                                                         // Spanish (traditional sort)
    {0x040C, LATIN u"\u00e0\u00e7\u00e8\u00e9\u00f9"},                                      // French
    {0x0410, LATIN u"\u00e0\u00e7\u00e8\u00e9\u00f2\u00f9"},                                // Italian
    {0x0413, LATIN},                                                                         // Dutch
    {0x0415, LATIN},  // Polish: the usual layout (Programmers) has its letters on AltGr; a to z both type
    {0x0419, u"\u0430\u0431\u0432\u0433\u0434\u0435\u0436\u0437\u0438\u0439\u043a\u043b\u043c\u043d\u043e\u043f\u0440\u0441\u0442"
             u"\u0443\u0444\u0445\u0446\u0447\u0448\u0449\u044a\u044b\u044c\u044d\u044e\u044f\u0451"},  // Russian
    {0x041D, LATIN u"\u00e4\u00e5\u00f6"},                                                   // Swedish
    {0x041F, LATIN u"\u00e7\u00f6\u00fc\u011f\u0131\u015f"},                                // Turkish
    {0x0422, u"\u0430\u0431\u0432\u0433\u0434\u0435\u0436\u0437\u0438\u0439\u043a\u043b\u043c\u043d\u043e\u043f\u0440\u0441\u0442"
             u"\u0443\u0444\u0445\u0446\u0447\u0448\u0449\u044c\u044e\u044f\u0454\u0456\u0457"},  // Ukrainian: its ghe with upturn is on AltGr
    {0x0C0A, LATIN u"\u00e7\u00f1"},                                                         // Spanish
};
#undef LATIN

Keyboard LatinOnly() { return Keyboard{false, u"abcdefghijklmnopqrstuvwxyz"}; }

}  // namespace

std::optional<Keyboard> SystemKeyboard(int Lcid) {
#ifndef _WIN32
  static_cast<void>(Lcid);
  return std::nullopt;
#else
  const int langId = Lcid & 0xFFFF;
  wchar_t klid[KL_NAMELENGTH];
  std::swprintf(klid, KL_NAMELENGTH, L"%08X", static_cast<unsigned>(langId));
  std::vector<HKL> had(static_cast<std::size_t>(std::max(GetKeyboardLayoutList(0, nullptr), 0)));
  had.resize(static_cast<std::size_t>(std::max(GetKeyboardLayoutList(static_cast<int>(had.size()), had.data()), 0)));
  const HKL layout = LoadKeyboardLayoutW(klid, KLF_NOTELLSHELL);
  if (!layout) return std::nullopt;
  const bool loaded = std::find(had.begin(), had.end(), layout) == had.end();
  // The language is the low word of a layout's handle.
  if ((reinterpret_cast<std::uintptr_t>(layout) & 0xFFFF) != static_cast<std::uintptr_t>(langId)) {
    if (loaded) UnloadKeyboardLayout(layout);
    return std::nullopt;
  }
  std::set<char16_t> letters;
  // Latin with its Latin-1 and Extended-A letters, Greek, Cyrillic: upper and lower case alike.
  constexpr std::array<std::pair<char16_t, char16_t>, 4> ranges{{{u'A', u'z'}, {0xC0, 0x17F}, {0x386, 0x3CE}, {0x400, 0x4FF}}};
  for (const auto& [first, last] : ranges)
    for (char16_t c = first; c <= last; ++c) {
      if (!IsLetter(c)) continue;
      const SHORT key = VkKeyScanExW(static_cast<WCHAR>(c), layout);
      if (key == -1 || (key & 0x0600) != 0) continue;  // no key, or one that needs Ctrl or Alt
      letters.insert(LowerLetter(c));
    }
  if (loaded) UnloadKeyboardLayout(layout);
  Keyboard k;
  k.Letters.assign(letters.begin(), letters.end());
  return k;
#endif
}

bool IsLetter(char16_t C) {
  return (C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z') || (C >= 0xC0 && C <= 0x24F && C != 0xD7 && C != 0xF7) ||
         (C >= 0x386 && C <= 0x3FF && C != 0x387) || (C >= 0x400 && C <= 0x52F && (C < 0x482 || C > 0x489));
}

char16_t LowerLetter(char16_t C) {
  if ((C >= u'A' && C <= u'Z') || (C >= 0xC0 && C <= 0xDE && C != 0xD7) || (C >= 0x391 && C <= 0x3AB && C != 0x3A2) ||
      (C >= 0x410 && C <= 0x42F))
    return static_cast<char16_t>(C + 32);
  if (C >= 0x400 && C <= 0x40F) return static_cast<char16_t>(C + 80);
  if (C == 0x130) return u'i';  // capital I with dot
  if (C == 0x178) return 0xFF;
  // Latin Extended-A pairs: capital on the even code point, then on the odd one from 0x139 to 0x148
  // and from 0x179 on.
  if ((C >= 0x100 && C <= 0x137) || (C >= 0x14A && C <= 0x177)) return static_cast<char16_t>(C | 1);
  if ((C >= 0x139 && C <= 0x148) || (C >= 0x179 && C <= 0x17E)) return static_cast<char16_t>(C % 2 ? C + 1 : C);
  if (C == 0x386) return 0x3AC;
  if (C >= 0x388 && C <= 0x38A) return static_cast<char16_t>(C + 37);
  if (C == 0x38C) return 0x3CC;
  if (C == 0x38E || C == 0x38F) return static_cast<char16_t>(C + 63);
  if (C >= 0x490 && C <= 0x4BF) return static_cast<char16_t>(C | 1);  // Cyrillic pairs such as Ґ ґ
  return C;
}

bool Keyboard::Types(char16_t C) const {
  if (AnyLetter) return true;
  return std::binary_search(Letters.begin(), Letters.end(), LowerLetter(C));
}

std::optional<Keyboard> KeyboardTable(int Lcid) {
  const int langId = Lcid & 0xFFFF;
  for (const TableRow& row : Table)
    if (row.LangId == langId) return Keyboard{false, row.Letters};
  return std::nullopt;
}

std::vector<int> KeyboardTableLanguages() {
  std::vector<int> ids;
  for (const TableRow& row : Table) ids.push_back(row.LangId);
  return ids;
}

Keyboard KeyboardLetters(int Lcid) {
  if (Lcid == 0) return Keyboard{true, {}};
  if (std::optional<Keyboard> k = SystemKeyboard(Lcid)) return *k;
  return KeyboardTable(Lcid).value_or(LatinOnly());
}

}  // namespace checks
