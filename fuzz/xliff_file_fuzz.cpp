// Fuzzes the XLIFF reader: any input is read or refused with a read error naming the line, and
// never reaches a file or the network through an entity.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "exchange/XliffFile.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  try {
    exchange::ReadXliff(std::string_view(reinterpret_cast<const char*>(Data), Size), "fuzz.xlf");
  } catch (const vcl::EReadError&) {
  }
  return 0;
}
