// Value literals: quoted runs with doubled apostrophes and #n codes, both directions.
#include "Vek.hpp"

namespace Vek {

void ConvertToLiterals(std::string& S) {
  auto isCode = [](char c) { return static_cast<unsigned char>(c) < 32; };
  std::string out;
  out.reserve(S.size() + S.size() / 4 + 2);
  if (S.empty() || !isCode(S.front())) out += '\'';
  for (std::size_t i = 0; i < S.size();) {
    if (!isCode(S[i])) {
      out += S[i];
      if (S[i] == '\'') out += '\'';
      ++i;
      continue;
    }
    if (i != 0) out += '\'';
    for (; i < S.size() && isCode(S[i]); ++i) {
      out += '#';
      out += std::to_string(static_cast<unsigned char>(S[i]));
    }
    if (i < S.size()) out += '\'';
  }
  if (S.empty() || !isCode(S.back())) out += '\'';
  S.swap(out);
}

void ConvertFromLiterals(std::string& S) {
  std::string out;
  out.reserve(S.size());
  bool quoted = false;
  const std::size_t n = S.size();
  for (std::size_t i = 0; i < n;) {
    const char c = S[i];
    if (!quoted && c == '#') {
      std::size_t j = i + 1;
      unsigned code = 0;
      while (j < n && j < i + 4 && S[j] >= '0' && S[j] <= '9') code = code * 10 + static_cast<unsigned>(S[j++] - '0');
      if (j == i + 1)
        throw vcl::EConvertError("'" + S + "' is not a valid literal: \"#\" at position " + vcl::IntToStr(i + 1) +
                                 " has no character code");
      out += static_cast<char>(code % 256);
      i = j;
    } else if (c == '\'') {
      if (quoted && i + 1 < n && S[i + 1] == '\'') {
        out += '\'';
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
    } else {
      out += c;
      ++i;
    }
  }
  S.swap(out);
}

}  // namespace Vek
