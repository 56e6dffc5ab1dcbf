// Messages that quote files: escaped for the terminal, cut to a bound, and bounded in number.
#include "vcl/SysUtils.hpp"

namespace vcl {

std::string Escaped(std::string_view S, bool KeepLineBreaks) {
  std::string out;
  out.reserve(S.size());
  for (const char c : S) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && !(KeepLineBreaks && b == '\n')) || b >= 0x7F) out += "#" + std::to_string(b);
    else out += c;
  }
  return out;
}

std::string Excerpt(std::string_view S, std::size_t Length) {
  if (S.size() <= Length) return std::string(S);
  const std::size_t more = S.size() - Length;
  return std::string(S.substr(0, Length)) + "... (" + std::to_string(more) + (more == 1 ? " byte" : " bytes") + " more)";
}

void MessageLog::Print(std::string_view Message, const std::string& Kind, bool KeepLineBreaks) {
  if (!Kind.empty() && ++FCounts[Kind] > MessagesOfAKind) return;
  const std::string line = FPrefix + ": " + Escaped(Excerpt(Message, MessageLength), KeepLineBreaks) + "\n";
  std::fwrite(line.data(), 1, line.size(), FTo);
}

void MessageLog::Flush() {
  for (const auto& [kind, count] : FCounts)
    if (count > MessagesOfAKind) {
      const std::string line = FPrefix + ": " + kind + ": " + std::to_string(count - MessagesOfAKind) + " more not shown\n";
      std::fwrite(line.data(), 1, line.size(), FTo);
    }
  FCounts.clear();
  std::fflush(FTo);
}

}  // namespace vcl
