// Fuzzes the PO reader: any input is read or refused with a read error naming the line, and
// whatever it reads is written and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "exchange/PoFile.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view bytes(reinterpret_cast<const char*>(Data), Size);
  std::vector<exchange::TextUnit> units;
  try {
    units = exchange::ReadPo(bytes, "fuzz.po");
  } catch (const vcl::EReadError&) {
    return 0;
  }
  const auto back = exchange::ReadPo(exchange::WritePo({"Content-Type: text/plain; charset=UTF-8"}, units), "again.po");
  if (back.size() != units.size()) __builtin_trap();
  for (std::size_t i = 0; i < units.size(); ++i)
    if (back[i].Key != units[i].Key || back[i].Source != units[i].Source || back[i].Target != units[i].Target ||
        back[i].Fuzzy != units[i].Fuzzy) __builtin_trap();
  return 0;
}
