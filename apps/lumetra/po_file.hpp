// PO files (the gettext catalogue format) written from and read into text units.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bridge.hpp"

namespace lumetra_cli {

/// A PO catalogue: the header's fields ("Name: value" lines) and one message per unit, with the
/// unit's key as msgctxt, its original as msgid and its translation as msgstr. Texts are UTF-8.
std::string WritePo(const std::vector<std::string>& HeaderFields, const std::vector<TextUnit>& Units);

/// The messages of a PO catalogue in file order; the header, obsolete (#~) messages and comments
/// other than the fuzzy flag are left out. Raises vcl::EReadError naming FileName and the line
/// for anything the format does not allow: an unknown keyword, a string that is not closed, an
/// unknown escape, msgstr missing, a message given twice, plural forms, a charset other than
/// UTF-8, a message without msgctxt.
std::vector<TextUnit> ReadPo(std::string_view Bytes, const std::string& FileName);

}  // namespace lumetra_cli
