// PO files (the gettext catalogue format) written from and read into text units.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/TextUnits.hpp"

namespace exchange {

/// A PO catalogue: the header's fields ("Name: value" lines) and one message per unit, with the
/// unit's key as msgctxt, its original as msgid and its translation as msgstr, flagged fuzzy
/// when the unit is. Texts are UTF-8.
std::string WritePo(const std::vector<std::string>& HeaderFields, const std::vector<TextUnit>& Units);

/// The header of a PO catalogue of the form Project (ANSI) in Language as gettext names it
/// (empty: "und"), for the translator's Locale, revised at Date ("2026-12-09 20:15+0000").
std::vector<std::string> PoHeaderFields(const std::string& Project, const std::string& Language, int Locale, const std::string& Date);
/// Why msgfmt --check refuses a message with this msgid and msgstr ("the msgid ends in a line
/// break and the msgstr does not"): they must both begin, and both end, in a line break or not.
/// Empty when it takes them. Never fails.
std::string LineBreakMismatch(std::string_view Id, std::string_view Str);

/// The messages of a PO catalogue in file order; the header, obsolete (#~) messages and comments
/// other than the fuzzy flag are left out. Raises vcl::EReadError naming FileName and the line
/// for anything the format does not allow: an unknown keyword, a string that is not closed, an
/// unknown escape, msgstr missing, a message given twice, plural forms, a charset other than
/// UTF-8, a message without msgctxt, a translated message that msgfmt --check refuses for its
/// line breaks (LineBreakMismatch), a string of more than Vek::MaxValueLength characters (no
/// entry holds one; refused as soon as it is read that far), line breaks of CR alone, and
/// UTF-16 (with or without byte-order mark). The header's Language field, as it stands (empty
/// without one), goes to Language when given.
std::vector<TextUnit> ReadPo(std::string_view Bytes, const std::string& FileName, std::string* Language = nullptr);

}  // namespace exchange
