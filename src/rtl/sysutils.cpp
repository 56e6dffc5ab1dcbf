// Number conversion, formatting and file-name helpers of the run-time library.
#include "vcl/SysUtils.hpp"

#include <charconv>
#include <limits>
#include <sys/stat.h>

namespace vcl {

std::string IntToStr(std::int64_t Value) { return std::to_string(Value); }

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

// ---- The ANSI code page ----------------------------------------------------------------------

namespace {
// Code page 1252 where it differs from Latin-1: the characters of the bytes 0x80 to 0x9F.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

char16_t AnsiCharToUnicode(char C) {
  const auto byte = static_cast<unsigned char>(C);
  return byte >= 0x80 && byte < 0xA0 ? Cp1252High[byte - 0x80] : static_cast<char16_t>(byte);
}

int UnicodeToAnsiChar(char32_t C) {
  if (C < 0x80 || (C >= 0xA0 && C < 0x100)) return static_cast<int>(C);
  for (int i = 0; i < 32; ++i)
    if (Cp1252High[i] == C) return 0x80 + i;
  return -1;
}

std::string AnsiToUtf8(std::string_view S) {
  std::string out;
  out.reserve(S.size() + S.size() / 8);
  for (const char c : S) {
    const char16_t u = AnsiCharToUnicode(c);
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

}  // namespace vcl
