// Fuzzes the binary form reader: reading into components and converting to text either
// succeed or raise EReadError; what succeeds reads back the same.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "form_test_support.hpp"
#include "real_form_classes.hpp"

using namespace vcl;
using namespace form_test;

namespace {

// Reads a form and writes it back; false when the stream is not a form.
bool ReadAndWrite(const std::string& In, std::string& Out) {
  std::unique_ptr<TComponent> root;
  try {
    root = ReadForm(In);
  } catch (const EReadError&) {
    return false;
  }
  Out = WriteForm(root.get());
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string input(reinterpret_cast<const char*>(Data), Size);
  std::string once, twice;
  if (ReadAndWrite(input, once)) {
    if (!ReadAndWrite(once, twice) || twice != once) __builtin_trap();
  }
  for (TConversion toText : {ObjectBinaryToText, ObjectResourceToText}) {
    std::string text, binary, again;
    if (!TryConvert(toText, input, text)) continue;
    // What the writer writes, the parser reads, and it writes the same text again.
    const TConversion toBinary = toText == ObjectBinaryToText ? ObjectTextToBinary : ObjectTextToResource;
    if (!TryConvert(toBinary, text, binary) || !TryConvert(toText, binary, again) || again != text) __builtin_trap();
  }
  return 0;
}
