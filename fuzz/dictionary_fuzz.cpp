// Fuzzes dictionary lines: applying any dictionary never crashes, and exporting afterwards
// writes a dictionary whose every line reads back through the escaping; a file holding what no
// dictionary holds is refused and left as it was.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Vek.hpp"
#include "vcl/Forms.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static const std::string file = (std::filesystem::temp_directory_path() / "lumetra-fuzz.dic").string();
  const std::string content(reinterpret_cast<const char*>(Data), Size);
  std::ofstream(file, std::ios::binary) << content;

  const std::string escaped = Vek::TLumetra::WriteString(content);
  if (Vek::TLumetra::ReadString(escaped) != content) __builtin_trap();

  vcl::TForm form(vcl::Application);
  auto* lmt = new Vek::TLumetra(&form);
  for (const char* key : {"TOpenDialog.Caption", "TOpenDialog.Width", "TFontDialog.Caption[-3]"}) {
    lmt->Translations()->Add(std::string(key) + "='x'");
    lmt->OrgProps()->SortInsert(std::string(key) + "=" + (Size % 2 ? "'Open'" : "563"), nullptr);
  }
  try {
    lmt->TranslateFrom(file);
    lmt->TranslateTo(file);
  } catch (const vcl::EConvertError&) {
    // A translation that decodes to an invalid literal stops the export; that is reported.
  } catch (const vcl::EReadError& e) {
    // A file holding what no dictionary holds is refused, named, and left as it was.
    if (e.Message().find(file + ", line ") != 0) __builtin_trap();
    std::ifstream in(file, std::ios::binary);
    if (std::string(std::istreambuf_iterator<char>(in), {}) != content) __builtin_trap();
  }
  return 0;
}
