// What the text form of a form stream shares with its reader and writer: names and floats.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "vcl/Classes.hpp"

namespace vcl {

/// The rest of Stream from its position, which ends up at the stream's end.
std::string ReadStreamRest(TStream& Stream);

/// Where one part of a text form stands in its text, from its first token to its last: a
/// component's header, a property with its value, or a component's end.
struct TTextSpan {
  std::size_t Begin = 0, End = 0;
};
/// The binary stream ("TPF0" ...) of the form at the start of Text, as ObjectTextToBinary
/// writes it; Rest is set to the offset of what follows the form. With Spans, also where each
/// part stands in Text, in the order the stream holds them: each component's header, its
/// properties, its children, its end. EReadError naming the line at fault.
std::string FormTextToBinary(std::string_view Text, std::vector<TTextSpan>* Spans, std::size_t& Rest);

class TBinaryObjectReader;
/// The text ObjectBinaryToText writes for the component header at In's position (without
/// indentation or line end); In is left after it. EReadError for a name it cannot write.
std::string HeaderText(TBinaryObjectReader& In);
/// The text it writes for the property at In's position, the lines within its value indented
/// for Level (a component's properties have the component's level plus one) and ended by
/// LineBreak; In is left after the value. EReadError for a value it cannot write.
std::string PropertyText(TBinaryObjectReader& In, int Level, std::string_view LineBreak);

/// Letters, "_" and the bytes that start a UTF-8 sequence begin an identifier; digits and the
/// other bytes of UTF-8 sequences may follow (0xC0, 0xC1 and 0xF5 to 0xFF never do: a resource
/// name cannot start with 0xFF).
bool IsIdentStart(char C);
bool IsIdentChar(char C);
/// One identifier, or identifiers joined by "." (property names, references to components).
bool IsIdent(std::string_view S);
bool IsDottedIdent(std::string_view S);

/// Floats as the class library's text form writes them, each with as many digits as it takes
/// to read back the same value: an extended in fixed notation with 18 decimals, a single or a
/// double (date) in general notation with 15 significant digits; NAN, INF and -INF as such.
std::string FormatExtended(long double Value);
std::string FormatSingle(float Value);
std::string FormatDouble(double Value);
/// Reads [sign] digits [. digits] [E [sign] digits] regardless of the C locale; false for other
/// text or a value beyond the range of long double.
bool ParseFloat(std::string_view Text, long double& Value);

}  // namespace vcl
