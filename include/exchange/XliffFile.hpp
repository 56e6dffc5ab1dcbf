// XLIFF 1.2 files written from and read into text units, through libxml2.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/TextUnits.hpp"

namespace exchange {

/// Whether this build reads and writes XLIFF (it needs libxml2, which the Windows build lacks).
bool XliffAvailable();

/// An XLIFF 1.2 document with one <file> named Original, a <group> per dialog class and a
/// <trans-unit> per unit (id and resname: the key; <source>, <target> when translated, <note>).
/// TargetLanguage may be empty. Raises vcl::EConvertError naming the key and the character
/// position for a text holding a control character that XML 1.0 cannot hold.
std::string WriteXliff(const std::string& Original, const std::string& TargetLanguage, const std::vector<TextUnit>& Units);

/// The trans-units of an XLIFF 1.2 document, in document order. A target whose state asks for
/// translation counts as none; one whose state asks for review is Fuzzy. Raises
/// vcl::EReadError naming FileName and the line for XML that is not well-formed, a document
/// that is no XLIFF 1.2, a trans-unit without id or source, a unit given twice, or markup
/// inside a source or target, and <file> elements whose target-language differs. That
/// target-language (empty without one) goes to Language when given.
std::vector<TextUnit> ReadXliff(std::string_view Bytes, const std::string& FileName, std::string* Language = nullptr);

}  // namespace exchange
