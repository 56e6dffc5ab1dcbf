// Fuzzes the text form parser: text either converts or raises EReadError; what converts
// converts back to text and to the same binary stream again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "vcl/Classes.hpp"

using namespace vcl;

namespace {

bool Convert(void (*Conversion)(TStream&, TStream&), const std::string& In, std::string& Out) {
  TMemoryStream in, out;
  in.WriteBuffer(In.data(), static_cast<std::int64_t>(In.size()));
  in.SetPosition(0);
  try {
    Conversion(in, out);
  } catch (const EReadError&) {
    return false;
  }
  Out.assign(reinterpret_cast<const char*>(out.Bytes().data()), out.Bytes().size());
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string input(reinterpret_cast<const char*>(Data), Size);
  std::string binary, text, again;
  if (!Convert(ObjectTextToBinary, input, binary)) return 0;
  if (!Convert(ObjectBinaryToText, binary, text) || !Convert(ObjectTextToBinary, text, again) || again != binary)
    __builtin_trap();
  return 0;
}
