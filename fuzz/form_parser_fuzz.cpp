// Fuzzes the text form parser: text either converts or raises EReadError; what converts
// converts back to text and to the same binary stream again, and written back in the words of
// the text it came from is that text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "form_test_support.hpp"

using namespace vcl;
using namespace form_test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string input(reinterpret_cast<const char*>(Data), Size);
  std::string binary, text, again;
  if (!TryConvert(ObjectTextToBinary, input, binary)) return 0;
  if (!TryConvert(ObjectBinaryToText, binary, text) || !TryConvert(ObjectTextToBinary, text, again) || again != binary)
    __builtin_trap();
  TStreamOf in(binary);
  TMemoryStream kept;
  try {
    ObjectBinaryToTextAs(in, kept, input, "\r\n");
  } catch (const EReadError&) {
    __builtin_trap();
  }
  if (Bytes(kept) != input) __builtin_trap();
  return 0;
}
