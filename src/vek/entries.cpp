// The entry language: splitting `<class>.<property>=<value>`, property kinds, ids and values.
#include <algorithm>
#include <limits>

#include "Vek.hpp"
#include "vcl/CodePages.hpp"

namespace Vek {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

struct ChildPrefix {
  std::string_view Prefix;
  EntryKind Kind;
};

// Tested after "Caption", "Caption[", "Font.", "Width" and "Height", in this order.
constexpr ChildPrefix ChildPrefixes[] = {
    {"Left[", EntryKind::ChildLeft},
    {"Top[", EntryKind::ChildTop},
    {"Width[", EntryKind::ChildWidth},
    {"Height[", EntryKind::ChildHeight},
};

void SetChild(Entry& e, EntryKind kind, std::size_t prefixLength) {
  e.Kind = kind;
  const std::string_view rest = e.Property.substr(prefixLength);
  const std::size_t close = rest.find(']');
  e.HasId = close != std::string_view::npos;
  e.IdText = e.HasId ? rest.substr(0, close) : std::string_view();
}

}  // namespace

Entry Entry::Split(std::string_view Line) {
  Entry e;
  e.Value = EntryValue(Line);
  const std::size_t dot = Line.find('.');
  if (dot == std::string_view::npos) return e;
  e.HasClass = true;
  e.ClassPart = Line.substr(0, dot);
  const std::size_t equals = Line.find('=', dot + 1);
  if (equals == std::string_view::npos) return e;  // no "=": empty property, ignored
  e.Property = Line.substr(dot + 1, std::min(equals - dot - 1, MaxValueLength));

  const std::string_view p = e.Property;
  if (p == "Caption") {
    e.Kind = EntryKind::WindowCaption;
  } else if (StartsWith(p, "Caption[")) {
    SetChild(e, EntryKind::ChildCaption, 8);
  } else if (StartsWith(p, "Font.")) {
    e.Kind = EntryKind::Font;
    e.Font = p == "Font.Name" ? FontField::Name : p == "Font.Charset" ? FontField::Charset : FontField::Other;
  } else if (p == "Width") {
    e.Kind = EntryKind::WindowWidth;
  } else if (p == "Height") {
    e.Kind = EntryKind::WindowHeight;
  } else if (p == "BiDiMode") {
    e.Kind = EntryKind::BiDiMode;
  } else if (p == "PixelsPerInch") {
    e.Kind = EntryKind::PixelsPerInch;
  } else {
    for (const ChildPrefix& c : ChildPrefixes)
      if (StartsWith(p, c.Prefix)) {
        SetChild(e, c.Kind, c.Prefix.size());
        break;
      }
  }
  return e;
}

bool Entry::IsChildKind() const {
  switch (Kind) {
    case EntryKind::ChildCaption:
    case EntryKind::ChildLeft:
    case EntryKind::ChildTop:
    case EntryKind::ChildWidth:
    case EntryKind::ChildHeight:
      return true;
    default:
      return false;
  }
}

std::optional<int> Entry::Id() const {
  if (!IsChildKind() || !HasId) return std::nullopt;
  return ParseDecimal(IdText);
}

std::string Entry::DecodedValue() const {
  std::string s(Value);
  s += '\0';
  ConvertFromLiterals(s);
  s.resize(s.find('\0'));
  return s;
}

std::optional<std::string> Entry::TryDecodedValue() const {
  try {
    return DecodedValue();
  } catch (const vcl::EConvertError&) {
    return std::nullopt;
  }
}

std::optional<int> Entry::Charset() const {
  if (Kind != EntryKind::Font || Font != FontField::Charset) return std::nullopt;
  const std::optional<std::string> value = TryDecodedValue();
  const std::optional<int> n = value ? ParseDecimal(*value) : std::nullopt;
  return n ? std::optional<int>(*n & 0xFF) : std::nullopt;
}

std::optional<int> ParseDecimal(std::string_view Text) {
  std::size_t i = 0;
  const bool negative = !Text.empty() && Text[0] == '-';
  if (!Text.empty() && (Text[0] == '-' || Text[0] == '+')) ++i;
  if (i == Text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < Text.size(); ++i) {
    if (Text[i] < '0' || Text[i] > '9') return std::nullopt;
    value = value * 10 + (Text[i] - '0');
    if (value > std::int64_t{std::numeric_limits<int>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(value);
}

bool IsSizeKind(EntryKind Kind) {
  return Kind == EntryKind::WindowWidth || Kind == EntryKind::WindowHeight || Kind == EntryKind::ChildWidth ||
         Kind == EntryKind::ChildHeight;
}

bool IsPositionKind(EntryKind Kind) { return Kind == EntryKind::ChildLeft || Kind == EntryKind::ChildTop; }

bool IsTextKind(EntryKind Kind) { return Kind == EntryKind::WindowCaption || Kind == EntryKind::ChildCaption; }

bool TakesInteger(const Entry& E) {
  return IsSizeKind(E.Kind) || IsPositionKind(E.Kind) || (E.Kind == EntryKind::Font && E.Font == FontField::Charset) ||
         E.Kind == EntryKind::PixelsPerInch;
}

int OnScreen(EntryKind Kind, std::int64_t Value) {
  if (IsSizeKind(Kind)) return static_cast<int>(std::clamp<std::int64_t>(Value, 0, ScreenLimit));
  if (IsPositionKind(Kind)) return static_cast<int>(std::clamp<std::int64_t>(Value, -ScreenLimit, ScreenLimit));
  return static_cast<int>(std::clamp<std::int64_t>(Value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

namespace {
constexpr std::string_view BiDiModeNames[] = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"};
}

std::optional<BiDiMode> ParseBiDiMode(std::string_view Value) {
  for (std::size_t i = 0; i < std::size(BiDiModeNames); ++i)
    if (Value == BiDiModeNames[i]) return static_cast<BiDiMode>(i);
  return std::nullopt;
}

std::string_view BiDiModeName(BiDiMode Mode) { return BiDiModeNames[static_cast<std::size_t>(Mode)]; }

int TextCodePage(std::optional<int> Charset) {
  const int system = vcl::SystemCodePage();
  if (!Charset) return system;
  // ANSI_CHARSET is code page 1252 on every system (a German text stays German on a Russian
  // one); DEFAULT_CHARSET stands for the system's own.
  if ((*Charset & 0xFF) == 0) return vcl::AnsiCodePage;
  const int page = vcl::CodePageOfCharset(*Charset, system);
  return vcl::IsKnownCodePage(page) ? page : system;
}

std::optional<int> CharsetOf(const vcl::TStrings& Lines, std::string_view ClassName) {
  std::optional<int> charset;
  for (int i = 0; i < Lines.Count(); ++i) {
    const std::string& line = Lines.Strings(i);
    const Entry e = Entry::Split(line);
    if (!e.AppliesTo(ClassName)) continue;
    if (const std::optional<int> c = e.Charset()) charset = c;
  }
  return charset;
}

int TextCodePage(const vcl::TStrings& Lines, std::string_view ClassName) { return TextCodePage(CharsetOf(Lines, ClassName)); }

std::string_view EntryKey(std::string_view Line) { return Line.substr(0, Line.find('=')); }

std::string_view EntryValue(std::string_view Line) {
  const std::size_t equals = Line.find('=');
  if (equals == std::string_view::npos) return {};
  return Line.substr(equals + 1, MaxValueLength);
}

bool IsEntryFor(std::string_view Line, std::string_view Key) {
  return Line.size() > Key.size() && Line[Key.size()] == '=' && Line.substr(0, Key.size()) == Key;
}

int FindEntry(const TSortList& List, std::string_view Key) {
  if (List.Count() == 0) return -1;
  int index = -1;
  List.SortFind(std::string(Key) + "=", index);
  // Past the end, every line sorts before Key + "=", so none begins with it.
  return index < List.Count() && IsEntryFor(List.Strings(index), Key) ? index : -1;
}

int FindEntry(const std::vector<std::string_view>& SortedLines, std::string_view Key) {
  // What SortFind answers for a list without equal lines: the first line not before Key + "=".
  const std::string head = std::string(Key) + "=";
  const auto at = std::lower_bound(SortedLines.begin(), SortedLines.end(), std::string_view(head));
  return at != SortedLines.end() && IsEntryFor(*at, Key) ? static_cast<int>(at - SortedLines.begin()) : -1;
}

std::string EntryLine(std::string_view Key, std::string_view Value) {
  std::string line;
  line.reserve(Key.size() + 1 + Value.size());
  line.append(Key).append(1, '=').append(Value);
  return line;
}

TextFileLine TextFileLine::Split(std::string_view Line) {
  TextFileLine f;
  f.Owner = Line.substr(0, Line.find('.'));
  const std::size_t equals = Line.find('=');
  f.Head = Line.substr(0, equals);
  if (equals != std::string_view::npos) f.Value = Line.substr(equals + 1, MaxValueLength);
  const std::size_t percent = f.Head.find('%');
  f.LocaleText = (percent == std::string_view::npos ? f.Head : f.Head.substr(percent + 1)).substr(0, 255);
  return f;
}

std::string TextFileLine::Key(std::size_t LocaleDigits) const {
  const std::size_t dot = Head.find('.');
  std::string key(Head.substr(dot == std::string_view::npos ? 0 : dot + 1));
  const std::size_t percent = key.find('%');
  if (percent != std::string::npos) key.erase(percent, 1 + LocaleDigits);
  return key;
}

std::string TextFileLine::Format(std::string_view OwnerName, std::string_view Key, std::string_view Locale,
                                 std::string_view Value) {
  Value = Value.substr(0, MaxValueLength);
  std::string line;
  line.reserve(2 + OwnerName.size() + 1 + Key.size() + 1 + Locale.size() + 1 + Value.size());
  line.append("#0").append(OwnerName).append(1, '.').append(Key).append(1, '%').append(Locale).append(1, '=').append(Value);
  return line;
}

}  // namespace Vek
