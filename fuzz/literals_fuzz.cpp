// Fuzzes both literal conversions: decoding never crashes, and encoding always round-trips.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Vek.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string input(reinterpret_cast<const char*>(Data), Size);
  std::string decoded = input;
  try {
    Vek::ConvertFromLiterals(decoded);
  } catch (const vcl::EConvertError&) {
    if (decoded != input) __builtin_trap();  // a failed decode leaves the value unchanged
  }
  std::string literal = input;
  Vek::ConvertToLiterals(literal);
  Vek::ConvertFromLiterals(literal);
  if (literal != input) __builtin_trap();
  const Vek::Entry e = Vek::Entry::Split(input);
  (void)e.TryDecodedValue();
  (void)e.Id();
  return 0;
}
