// Number conversion, formatting and file-name helpers of the run-time library.
#include "vcl/SysUtils.hpp"

#include <algorithm>
#include <charconv>
#include <limits>
#include <sys/stat.h>

namespace vcl {

std::string IntToStr(std::int64_t Value) { return std::to_string(Value); }

bool SameText(std::string_view A, std::string_view B) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [&](char a, char b) { return lower(a) == lower(b); });
}

bool TryStrToInt(std::string_view S, int& Value) {
  std::size_t i = 0;
  while (i < S.size() && S[i] == ' ') ++i;
  bool negative = false;
  if (i < S.size() && (S[i] == '-' || S[i] == '+')) negative = S[i++] == '-';
  int base = 10;
  if (i < S.size() && S[i] == '$') {
    base = 16;
    ++i;
  }
  if (i == S.size()) return false;
  std::uint64_t magnitude = 0;
  for (; i < S.size(); ++i) {
    const char c = S[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    magnitude = magnitude * base + digit;
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  // Hexadecimal literals denote the 32-bit pattern ($FFFFFFFF is -1), decimal ones a value.
  std::int64_t v;
  if (base == 16) v = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
  else v = static_cast<std::int64_t>(magnitude);
  if (negative) v = -v;
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
  Value = static_cast<int>(v);
  return true;
}

int StrToInt(std::string_view S) {
  int value = 0;
  if (!TryStrToInt(S, value))
    throw EConvertError("'" + std::string(S) + "' is not a valid integer value");
  return value;
}

std::string Format(std::string_view Fmt, std::initializer_list<TVarRec> Args) {
  std::string out;
  auto arg = Args.begin();
  auto fail = [&](const char* why) {
    throw EConvertError("Format '" + std::string(Fmt) + "' " + why);
  };
  for (std::size_t i = 0; i < Fmt.size(); ++i) {
    if (Fmt[i] != '%') {
      out += Fmt[i];
      continue;
    }
    if (++i == Fmt.size()) fail("ends with a lone %");
    const char d = Fmt[i];
    if (d == '%') {
      out += '%';
      continue;
    }
    if (arg == Args.end()) fail("has more directives than arguments");
    if (d == 's') {
      if (auto* s = std::get_if<std::string_view>(&*arg)) out += *s;
      else fail("has %s for a number");
    } else if (d == 'd' || d == 'x') {
      auto* n = std::get_if<std::int64_t>(&*arg);
      if (!n) fail("has a number directive for a text");
      char buf[24];
      auto r = d == 'd' ? std::to_chars(buf, buf + sizeof buf, *n)
                        : std::to_chars(buf, buf + sizeof buf, static_cast<std::uint64_t>(*n), 16);
      out.append(buf, r.ptr);
    } else {
      fail("has an unknown directive");
    }
    ++arg;
  }
  return out;
}

bool FileExists(const std::string& FileName) {
  struct stat st {};
  return !FileName.empty() && ::stat(FileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ExtractFilePath(const std::string& FileName) {
  const auto pos = FileName.find_last_of("\\/:");
  return pos == std::string::npos ? std::string() : FileName.substr(0, pos + 1);
}

}  // namespace vcl
