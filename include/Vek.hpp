// Unit Vek: the run-time unit of Lumetra. Applications include this one header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "vcl/Classes.hpp"

namespace Vek {

// ---- Sorted string list ----------------------------------------------------------------------

/// A string list kept in ordinal byte order (unsigned bytes, shorter prefix first) by its own
/// two operations; Add, Assign and LoadFromFile append as given and are not checked.
class TSortList : public vcl::TStringList {
  VCL_DECLARE_CLASS
public:
  /// Binary search for S. With Index = -1 on entry (position mode) Index receives the position
  /// of an equal line, or the insertion position when there is none. With any other value
  /// (object mode) it receives the object of the last probed line as an integer. Returns
  /// whether an equal line exists. Never fails.
  bool SortFind(const std::string& S, int& Index) const;
  /// Inserts S with AObject at its sorted position, or gives an equal line AObject instead.
  void SortInsert(const std::string& S, vcl::TObject* AObject);
};

// ---- Value literals ----------------------------------------------------------------------------

/// Replaces S by its literal form: quoted runs with doubled apostrophes and #n codes for the
/// characters 0 to 31. Cannot fail. Linear in the length of S.
void ConvertToLiterals(std::string& S);

/// Replaces S by the plain text its literal form denotes. A "#" outside quotes without a digit
/// after it raises EConvertError naming the literal; S is then unchanged. Linear in its length.
void ConvertFromLiterals(std::string& S);

// ---- Translation entries -------------------------------------------------------------------

/// The longest value, and the longest property part, that an entry is examined for.
inline constexpr std::size_t MaxValueLength = 4095;

/// What a property sets, in the order in which an entry's property is tested.
enum class EntryKind : std::uint8_t {
  WindowCaption = 1,  // "Caption"
  ChildCaption = 2,   // "Caption[" id "]"
  Font = 3,           // "Font." ...
  WindowWidth = 4,    // "Width"
  WindowHeight = 5,   // "Height"
  ChildLeft = 6,      // "Left[" id "]"
  ChildTop = 7,       // "Top[" id "]"
  ChildWidth = 8,     // "Width[" id "]"
  ChildHeight = 9,    // "Height[" id "]"
  Ignored = 10,       // anything else
};

/// Which font field a EntryKind::Font entry sets.
enum class FontField : std::uint8_t { None = 0, Name = 1, Charset = 2, Other = 3 };

/// One translation entry `<class>.<property>=<value>` split into its parts. The views point
/// into the line the entry was split from, which must outlive it.
struct Entry {
  std::string_view ClassPart;  // text before the first "."; meaningful when HasClass
  std::string_view Property;   // after that ".", up to the first "=" after it (at most 4095)
  std::string_view Value;      // literal value after the first "=" of the line (at most 4095)
  std::string_view IdText;     // child kinds: text between "[" and the first "]"
  EntryKind Kind = EntryKind::Ignored;
  FontField Font = FontField::None;
  bool HasClass = false;  // the line has a "."
  bool HasId = false;     // child kinds: the property has a "]" after the "["

  /// Splits a line. Never fails: what is not an entry comes back with Kind Ignored.
  static Entry Split(std::string_view Line);
  /// True when the entry belongs to the dialog class ClassName (exact, case-sensitive).
  bool AppliesTo(std::string_view ClassName) const { return HasClass && ClassPart == ClassName; }
  bool IsChildKind() const;
  /// The control id as a signed decimal integer (negative: ordinal id, -n is the n-th direct
  /// child); nothing when the id text is not one.
  std::optional<int> Id() const;
  /// The decoded value: the literal with a NUL appended, decoded, cut at its first NUL.
  /// Raises EConvertError naming the literal when it cannot be decoded.
  std::string DecodedValue() const;
  /// As DecodedValue, but answers nothing instead of raising.
  std::optional<std::string> TryDecodedValue() const;
};

/// A signed decimal integer (optional sign, then digits, in 32-bit range); nothing for any
/// other text, such as an empty value, blanks or hexadecimal.
std::optional<int> ParseDecimal(std::string_view Text);

/// The property key of a line: the text before its first "=" (the whole line without one).
std::string_view EntryKey(std::string_view Line);
/// The value of a line: the text after its first "=", at most 4095 characters; empty without one.
std::string_view EntryValue(std::string_view Line);
/// The key lookup rule: Line is the entry for Key when it begins with Key followed by "=".
bool IsEntryFor(std::string_view Line, std::string_view Key);

}  // namespace Vek
