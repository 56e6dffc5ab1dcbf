// Helpers of the form-streaming tests: streams from bytes, hex notation, whole conversions.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "vcl/Classes.hpp"

namespace form_test {

/// An event property's value as the translator's events: a method name, made from it.
class TClick {
public:
  TClick() = default;
  explicit TClick(std::string Name) : FName(std::move(Name)) {}
  const std::string& MethodName() const { return FName; }

private:
  std::string FName;
};

/// A memory stream holding Bytes, at position 0.
struct TStreamOf : vcl::TMemoryStream {
  explicit TStreamOf(std::string_view Bytes) {
    WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    SetPosition(0);
  }
};

inline std::string Bytes(const vcl::TMemoryStream& Stream) {
  return std::string(reinterpret_cast<const char*>(Stream.Bytes().data()), Stream.Bytes().size());
}

/// Bytes from hex pairs, blanks ignored: Hex("06 02") + "ab". Quoted runs are taken as they
/// stand: Hex("06 02 'ab'").
inline std::string Hex(std::string_view Text) {
  std::string bytes;
  auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == ' ') continue;
    if (Text[i] == '\'') {
      const std::size_t end = Text.find('\'', i + 1);
      bytes.append(Text.substr(i + 1, end - i - 1));
      i = end;
      continue;
    }
    bytes += static_cast<char>(digit(Text[i]) << 4 | digit(Text[i + 1]));
    ++i;
  }
  return bytes;
}

using TConversion = void (*)(vcl::TStream&, vcl::TStream&);

inline std::string Convert(TConversion Conversion, std::string_view Input) {
  TStreamOf in(Input);
  vcl::TMemoryStream out;
  Conversion(in, out);
  return Bytes(out);
}

/// As Convert, answering false for input that raises EReadError.
inline bool TryConvert(TConversion Conversion, std::string_view Input, std::string& Output) {
  TStreamOf in(Input);
  vcl::TMemoryStream out;
  try {
    Conversion(in, out);
  } catch (const vcl::EReadError&) {
    return false;
  }
  Output = Bytes(out);
  return true;
}

/// The binary stream of Root as TWriter writes it.
inline std::string WriteForm(vcl::TComponent* Root) {
  vcl::TMemoryStream out;
  vcl::TWriter writer(out);
  writer.WriteRootComponent(Root);
  return Bytes(out);
}

/// Reads Binary into Root, or into a new root when Root is nullptr.
inline std::unique_ptr<vcl::TComponent> ReadForm(std::string_view Binary) {
  TStreamOf in(Binary);
  vcl::TReader reader(in);
  return std::unique_ptr<vcl::TComponent>(reader.ReadRootComponent(nullptr));
}
inline void ReadForm(std::string_view Binary, vcl::TComponent* Root) {
  TStreamOf in(Binary);
  vcl::TReader reader(in);
  reader.ReadRootComponent(Root);
}

}  // namespace form_test
