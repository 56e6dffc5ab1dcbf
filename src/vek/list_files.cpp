// Translation text files and dictionaries as files: lines without raw line breaks, sizes that
// are read back.
#include "list_files.hpp"

#include <algorithm>

#include "Vek.hpp"
#include "design/FormFile.hpp"

namespace Vek {

bool HoldsAnyOf(std::string_view Text, std::string_view Bytes) {
  for (const char b : Bytes)
    if (Text.find(b) != std::string_view::npos) return true;
  return false;
}

void RefuseRawCharacters(const std::string& FileName, std::string_view What, std::string_view Name, std::string_view Text,
                         std::string_view Forbidden, bool Literal) {
  // One scan for each character: find_first_of looks at every byte once per character it may be.
  std::size_t at = std::string_view::npos;
  for (const char f : Forbidden) at = std::min(at, Text.substr(0, at).find(f));
  if (at == std::string_view::npos) return;
  const char c = Text[at];
  const std::string code = "#" + std::to_string(static_cast<unsigned char>(c));
  const char* name = c == '\r' ? "carriage return" : c == '\n' ? "line feed" : "NUL";
  throw vcl::EWriteError(FileName + ": " + std::string(What) + " \"" + std::string(Name) + "\" holds a raw " + name + " (" + code + "), which no line of the file may hold" +
                         (Literal ? " (entries spell it " + code + " in literal form)" : std::string()) + "; nothing is written");
}

void WriteListFile(const std::string& FileName, const std::string& Text) {
  design::CheckOutput(FileName, Text.size(), MaxListFileSize);
  vcl::ReplaceFile(FileName, Text);
}

void WriteListFile(const std::string& FileName, const FilePieces& Text) {
  design::CheckOutput(FileName, Text.Size, MaxListFileSize);
  vcl::ReplaceFile(FileName, Text.Pieces);
}

}  // namespace Vek
