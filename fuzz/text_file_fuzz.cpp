// Fuzzes translation text files: any file content either merges and saves, or is refused
// (EReadError for a foreign or unreadable line, EConvertError for a bad value) naming the file
// and line, leaving the file as it was.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Vek.hpp"
#include "vcl/Forms.hpp"

namespace {
std::string Slurp(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static const std::string file = (std::filesystem::temp_directory_path() / "lumetra-fuzz-text.txt").string();
  const std::string content(reinterpret_cast<const char*>(Data), Size);
  std::ofstream(file, std::ios::binary) << content;

  vcl::TForm form(vcl::Application);
  form.SetName("Form1");
  auto* lmt = new Vek::TLumetra(&form);
  lmt->SetLocale(Size % 3 == 0 ? -1 : 1031);
  lmt->OrgProps()->Add("TOpenDialog.Caption='Open'");
  const auto refused = [&](const vcl::Exception& e) {
    if (e.Message().find(file + ", line ") != 0) __builtin_trap();  // names the file and line
    if (Slurp(file) != content) __builtin_trap();                   // and leaves the file whole
  };
  try {
    lmt->LoadFrom(file);
  } catch (const vcl::EConvertError& e) {
    refused(e);
  } catch (const vcl::EReadError& e) {
    refused(e);
  }
  try {
    lmt->SaveTo(file);
  } catch (const vcl::EConvertError& e) {
    refused(e);
  } catch (const vcl::EReadError& e) {
    refused(e);
  }
  return 0;
}
