// The entry language: splitting `<class>.<property>=<value>`, property kinds, ids and values.
#include <limits>

#include "Vek.hpp"

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

std::string_view EntryKey(std::string_view Line) { return Line.substr(0, Line.find('=')); }

std::string_view EntryValue(std::string_view Line) {
  const std::size_t equals = Line.find('=');
  if (equals == std::string_view::npos) return {};
  return Line.substr(equals + 1, MaxValueLength);
}

bool IsEntryFor(std::string_view Line, std::string_view Key) {
  return Line.size() > Key.size() && Line[Key.size()] == '=' && Line.substr(0, Key.size()) == Key;
}

}  // namespace Vek
