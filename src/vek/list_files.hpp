// Translation text files and dictionaries as files: what a line written to them may hold, and how
// large they may grow.
#pragma once

#include <string>
#include <string_view>

#include "sorted_lines.hpp"

namespace Vek {

/// The raw characters that no written line holds: CR and LF end a line where every reader
/// splits, and a NUL ends it where C strings do.
inline constexpr std::string_view RawLineBreaks{"\r\n\0", 3};

/// Whether Text holds one of Bytes: one scan for each of them (find_first_of would look at every
/// byte of Text once for each of them, one call at a time). Never fails.
bool HoldsAnyOf(std::string_view Text, std::string_view Bytes);

/// Refuses Text, a part of a line to be written to FileName, when it holds one of Forbidden:
/// raises vcl::EWriteError naming the file, what Text is with its name (`entry
/// "TOpenDialog.Caption"`) and the character, and saying that nothing is written (and, when Text
/// is in literal form, how the character is spelt there).
void RefuseRawCharacters(const std::string& FileName, std::string_view What, std::string_view Name, std::string_view Text,
                         std::string_view Forbidden, bool Literal);

/// Replaces the file by Text whole (vcl::ReplaceFile) when Text is at most MaxListFileSize bytes;
/// raises vcl::EFCreateError naming the file, the size and the limit otherwise, writing nothing.
void WriteListFile(const std::string& FileName, const std::string& Text);
/// The same for a text in pieces.
void WriteListFile(const std::string& FileName, const FilePieces& Text);

}  // namespace Vek
