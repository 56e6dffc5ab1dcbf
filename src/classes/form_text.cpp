// What the text form of a form stream shares with its reader and writer: names and floats.
//
// Notes:
// - The class library writes an extended as FloatToStrF(ffFixed, 16, 18), singles and dates as
//   FloatToStr (15 significant digits). Neither always carries enough digits to read back the
//   same bits (an extended needs up to 21), so a value that would not come back is written with
//   the fewest digits that do; every value the class library's own text reads back the same.
// - Strings are bytes of code page 1252, the ANSI code page of the hosts the forms come from, on
//   both window systems; a wide string is converted to it as Windows does without best fit.
// - strtold follows the C locale's decimal point, which a Qt host may have changed; the text
//   is given to it with the locale's point.
#include "form_text.hpp"
#include "vcl/SysUtils.hpp"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace vcl {

std::string ReadStreamRest(TStream& Stream) {
  std::string data;
  const std::int64_t size = Stream.Size() - Stream.Position();
  if (size > 0) {
    data.resize(static_cast<std::size_t>(size));
    data.resize(static_cast<std::size_t>(Stream.Read(data.data(), size)));
  }
  return data;
}

bool IsIdentStart(char C) {
  const auto b = static_cast<unsigned char>(C);
  return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_' || (b >= 0xC2 && b <= 0xF4);
}

bool IsIdentChar(char C) {
  const auto b = static_cast<unsigned char>(C);
  return IsIdentStart(C) || (C >= '0' && C <= '9') || (b >= 0x80 && b <= 0xBF);
}

bool IsIdent(std::string_view S) { return !S.empty() && IsIdentStart(S[0]) && std::all_of(S.begin(), S.end(), IsIdentChar); }

bool IsDottedIdent(std::string_view S) {
  for (;;) {
    const std::size_t dot = S.find('.');
    if (!IsIdent(S.substr(0, dot))) return false;
    if (dot == std::string_view::npos) return true;
    S.remove_prefix(dot + 1);
  }
}

// ---- Floats ----------------------------------------------------------------------------------

namespace {

// A value as 0.Digits × 10^Exponent; Digits has no trailing zeros and is empty for zero.
struct TDecimal {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

template <class F>
TDecimal ToDecimal(F Value, int Precision) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, Value, std::chars_format::scientific, Precision - 1);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  TDecimal d;
  std::size_t i = 0;
  if (text[i] == '-') d.Negative = true, ++i;
  for (; text[i] != 'e'; ++i)
    if (text[i] != '.') d.Digits += text[i];
  int exponent = 0;
  std::from_chars(text.data() + i + (text[i + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
  d.Exponent = exponent + 1;
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  if (d.Digits.empty()) d.Exponent = 0;
  return d;
}

char DigitAt(const TDecimal& D, int Index) {
  return Index >= 0 && Index < static_cast<int>(D.Digits.size()) ? D.Digits[static_cast<std::size_t>(Index)] : '0';
}

// FloatToStr's general format: fixed unless the exponent is beyond Precision or below -4.
std::string General(const TDecimal& D, int Precision) {
  std::string s = D.Negative ? "-" : "";
  if (D.Digits.empty()) return s + "0";
  const int count = static_cast<int>(D.Digits.size());
  if (D.Exponent > Precision || D.Exponent < -4) {
    s += D.Digits[0];
    if (count > 1) s += "." + D.Digits.substr(1);
    return s + "E" + std::to_string(D.Exponent - 1);
  }
  if (D.Exponent <= 0) return s + "0." + std::string(static_cast<std::size_t>(-D.Exponent), '0') + D.Digits;
  for (int i = 0; i < D.Exponent; ++i) s += DigitAt(D, i);
  if (count > D.Exponent) s += "." + D.Digits.substr(static_cast<std::size_t>(D.Exponent));
  return s;
}

// FloatToStrF(ffFixed, 16, 18): 16 significant digits, at most 18 of them after the point.
std::string Fixed18(long double Value) {
  constexpr int Precision = 16, Decimals = 18;
  const TDecimal probe = ToDecimal(Value, 21);
  const int digits = std::min(Precision, probe.Exponent + Decimals);
  TDecimal d = digits > 0 && !probe.Digits.empty() ? ToDecimal(Value, digits) : TDecimal{};
  d.Negative = std::signbit(Value);
  if (d.Exponent > Precision) return General(d, Precision);
  std::string s = d.Negative ? "-" : "";
  if (d.Exponent <= 0) s += '0';
  for (int i = 0; i < d.Exponent; ++i) s += DigitAt(d, i);
  s += '.';
  for (int i = 0; i < Decimals; ++i) s += DigitAt(d, d.Exponent + i);
  return s;
}

template <class F>
bool ReadsBack(const std::string& Text, F Value) {
  long double parsed;
  if (!ParseFloat(Text, parsed)) return false;
  const F back = static_cast<F>(parsed);
  // By value, not by bits: an extended in a non-canonical encoding (a pseudo-denormal) reads
  // back in the canonical one, whose text must be the same.
  return back == Value && std::signbit(back) == std::signbit(Value);
}

template <class F>
const char* Special(F Value) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  return nullptr;
}

// The general format with 15 digits, or with the fewest more that read back the same value.
template <class F>
std::string GeneralReadingBack(F Value, int MaxPrecision) {
  if (const char* special = Special(Value)) return special;
  std::string s;
  for (int precision = 15; precision <= MaxPrecision; ++precision) {
    TDecimal d = ToDecimal(Value, precision);
    d.Negative = std::signbit(Value);
    s = General(d, precision);
    if (ReadsBack(s, Value)) break;
  }
  return s;
}

}  // namespace

std::string FormatExtended(long double Value) {
  if (const char* special = Special(Value)) return special;
  std::string s = Fixed18(Value);
  if (ReadsBack(s, Value)) return s;
  s = GeneralReadingBack(Value, 21);
  // Without a point or an exponent the text would read back as an integer.
  if (s.find_first_of(".E") == std::string::npos) s += ".0";
  return s;
}

std::string FormatSingle(float Value) { return GeneralReadingBack(Value, 17); }

std::string FormatDouble(double Value) { return GeneralReadingBack(Value, 17); }

bool ParseFloat(std::string_view Text, long double& Value) {
  std::size_t i = 0;
  auto digits = [&] {
    const std::size_t from = i;
    while (i < Text.size() && Text[i] >= '0' && Text[i] <= '9') ++i;
    return i > from;
  };
  if (i < Text.size() && (Text[i] == '-' || Text[i] == '+')) ++i;
  if (!digits()) return false;
  std::size_t point = std::string_view::npos;
  if (i < Text.size() && Text[i] == '.') {
    point = i++;
    digits();
  }
  if (i < Text.size() && (Text[i] == 'e' || Text[i] == 'E')) {
    ++i;
    if (i < Text.size() && (Text[i] == '-' || Text[i] == '+')) ++i;
    if (!digits()) return false;
  }
  if (i != Text.size()) return false;
  std::string c(Text);
  if (point != std::string_view::npos) c.replace(point, 1, std::localeconv()->decimal_point);
  errno = 0;
  char* end = nullptr;
  const long double value = std::strtold(c.c_str(), &end);
  if (end != c.c_str() + c.size() || std::isinf(value)) return false;
  Value = value;
  return true;
}

}  // namespace vcl
