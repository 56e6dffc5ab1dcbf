// The binary form stream one value at a time: signature, prefixes, value types and their data.
//
// Notes:
// - vaExtended is the 10-byte x87 extended; long double is exactly that (64-bit mantissa, the
//   first 10 bytes of its storage, little-endian) with GCC and Clang on x86_64 Linux and with
//   MinGW-w64.
#include "binary_driver.hpp"

#include "form_text.hpp"
#include "vcl/CodePages.hpp"

#include <array>
#include <bit>
#include <cstring>
#include <limits>

namespace vcl {

static_assert(std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10,
              "vaExtended needs the x87 extended as long double");

namespace {
constexpr auto LastValueType = static_cast<std::uint8_t>(TValueType::vaUTF8String);

bool EqualsIgnoringCase(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(A[i]) != lower(B[i])) return false;
  }
  return true;
}
}  // namespace

std::string ValueTypeName(TValueType Type) {
  static constexpr std::array<const char*, LastValueType + 1> names = {
      "vaNull",   "vaList",  "vaInt8",    "vaInt16",  "vaInt32",    "vaExtended", "vaString",
      "vaIdent",  "vaFalse", "vaTrue",    "vaBinary", "vaSet",      "vaLString",  "vaNil",
      "vaCollection", "vaSingle", "vaCurrency", "vaDate", "vaWString", "vaInt64", "vaUTF8String"};
  const auto n = static_cast<std::uint8_t>(Type);
  return n <= LastValueType ? names[n] : "value type " + IntToStr(n);
}

std::string BeforeResourceEnd(std::size_t Count) {
  return "The form ends " + IntToStr(static_cast<std::int64_t>(Count)) + (Count == 1 ? " byte" : " bytes") +
         " before the end of its resource";
}

// ---- Reading -------------------------------------------------------------------------------

void TBinaryObjectReader::ErrorAt(std::size_t At, const std::string& What) const {
  throw EReadError(What + " at offset " + IntToStr(Offset(At)));
}

TBinaryObjectReader::TNesting::TNesting(TBinaryObjectReader& Reader) : FReader(Reader) {
  if (++FReader.FDepth > MaxFormNesting) {
    --FReader.FDepth;
    FReader.Error("Nesting deeper than " + IntToStr(MaxFormNesting) + " levels");
  }
}

std::uint8_t TBinaryObjectReader::ReadByte(const char* What) {
  if (FPos >= FData.size()) Error(std::string("Stream ends inside ") + What);
  return static_cast<std::uint8_t>(FData[FPos++]);
}

std::string_view TBinaryObjectReader::Take(std::size_t Count, const char* What) {
  if (Count > Remaining()) Error(std::string("Stream ends inside ") + What);
  const std::string_view bytes = FData.substr(FPos, Count);
  FPos += Count;
  return bytes;
}

template <class I>
I TBinaryObjectReader::ReadFixed(const char* What) {
  const std::string_view bytes = Take(sizeof(I), What);
  std::make_unsigned_t<I> value = 0;
  for (std::size_t i = 0; i < sizeof(I); ++i)
    value |= static_cast<std::make_unsigned_t<I>>(static_cast<std::uint8_t>(bytes[i])) << (8 * i);
  return static_cast<I>(value);
}

std::size_t TBinaryObjectReader::ReadLength(const char* What, std::size_t Unit) {
  const std::size_t start = FPos;
  const std::uint64_t count = ReadFixed<std::uint32_t>(What);
  if (count * Unit > Remaining())
    ErrorAt(start, "Length " + IntToStr(static_cast<std::int64_t>(count)) + " of " + What +
                       " runs past the end of the stream");
  return static_cast<std::size_t>(count);
}

bool TBinaryObjectReader::ReadResourceHeader(TResourceHeader& Header) {
  if (Remaining() == 0 || static_cast<std::uint8_t>(FData[FPos]) != 0xFF) return false;
  const std::size_t start = FPos++;
  const auto type = ReadFixed<std::uint16_t>("a resource header");
  if (type != 10) ErrorAt(start, "Resource type " + IntToStr(type) + " is not RCDATA (10)");
  if (Remaining() > 0 && static_cast<std::uint8_t>(FData[FPos]) == 0xFF)
    Error("Resource names given by number are not supported");
  const std::size_t end = FData.find('\0', FPos);
  if (end == std::string_view::npos) Error("Stream ends inside a resource name");
  Header.Name.assign(FData.substr(FPos, end - FPos));
  FPos = end + 1;
  Header.Flags = ReadFixed<std::uint16_t>("a resource header");
  const std::size_t size = ReadLength("the resource data");
  SetLimit(FPos + size);
  return true;
}

void TBinaryObjectReader::ReadSignature() {
  if (Remaining() < 4 || FData.substr(FPos, 4) != "TPF0") Error("Invalid stream format: no TPF0 signature");
  FPos += 4;
}

void TBinaryObjectReader::ReadPrefix(TFilerFlags& Flags, int& ChildPos) {
  Flags = 0;
  ChildPos = 0;
  if (Remaining() == 0 || (static_cast<std::uint8_t>(FData[FPos]) & 0xF0) != 0xF0) return;
  const std::uint8_t prefix = ReadByte("a component prefix");
  if ((prefix & 0x08) != 0) {
    const char* hex = "0123456789ABCDEF";
    ErrorAt(FPos - 1, std::string("Invalid component flags $") + hex[prefix >> 4] + hex[prefix & 15]);
  }
  Flags = prefix & 0x07;
  if (Flags & ffChildPos) {
    const std::size_t start = FPos;
    const TValueType type = ReadValue();
    if (type != TValueType::vaInt8 && type != TValueType::vaInt16 && type != TValueType::vaInt32)
      ErrorAt(start, "Invalid child position: expected an integer, found " + ValueTypeName(type));
    ChildPos = static_cast<int>(ReadIntegerData(type));
  }
}

std::string TBinaryObjectReader::ReadStr(const char* What) {
  const std::uint8_t length = ReadByte(What);
  return std::string(Take(length, What));
}

bool TBinaryObjectReader::EndOfList() const {
  if (FPos >= FData.size()) Error("Stream ends before the end of a list");
  return FData[FPos] == '\0';
}

void TBinaryObjectReader::ReadListEnd() {
  const std::uint8_t b = ReadByte("a list");
  if (b != 0) ErrorAt(FPos - 1, "Expected the end of a list, found " + ValueTypeName(static_cast<TValueType>(b)));
}

TValueType TBinaryObjectReader::NextValue() const {
  if (FPos >= FData.size()) Error("Stream ends where a value was expected");
  const auto b = static_cast<std::uint8_t>(FData[FPos]);
  if (b > LastValueType) Error("Unknown value type " + IntToStr(b));
  return static_cast<TValueType>(b);
}

TValueType TBinaryObjectReader::ReadValue() {
  const TValueType type = NextValue();
  ++FPos;
  return type;
}

void TBinaryObjectReader::CheckValue(TValueType Expected) {
  const std::size_t start = FPos;
  const TValueType type = ReadValue();
  if (type != Expected)
    ErrorAt(start, "Invalid property value: expected " + ValueTypeName(Expected) + ", found " + ValueTypeName(type));
}

std::int64_t TBinaryObjectReader::ReadIntegerData(TValueType Type) {
  switch (Type) {
    case TValueType::vaInt8: return ReadFixed<std::int8_t>("an integer");
    case TValueType::vaInt16: return ReadFixed<std::int16_t>("an integer");
    case TValueType::vaInt32: return ReadFixed<std::int32_t>("an integer");
    case TValueType::vaInt64: return ReadFixed<std::int64_t>("an integer");
    default: ErrorAt(FPos - 1, "Invalid property value: expected an integer, found " + ValueTypeName(Type));
  }
}

std::string TBinaryObjectReader::ReadStringData(TValueType Type) {
  std::size_t length;
  if (Type == TValueType::vaString || Type == TValueType::vaIdent) length = ReadByte("a string");
  else length = ReadLength("a string");
  return std::string(Take(length, "a string"));
}

std::u16string TBinaryObjectReader::ReadWideData() {
  const std::size_t count = ReadLength("a wide string", 2);
  const std::string_view bytes = Take(count * 2, "a wide string");
  std::u16string s(count, u'\0');
  for (std::size_t i = 0; i < count; ++i)
    s[i] = static_cast<char16_t>(static_cast<std::uint8_t>(bytes[2 * i]) | static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8);
  return s;
}

long double TBinaryObjectReader::ReadExtendedData() {
  const std::string_view bytes = Take(10, "an extended value");
  std::uint64_t mantissa = 0;
  std::memcpy(&mantissa, bytes.data(), 8);
  auto exponent = static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[8]) | static_cast<std::uint8_t>(bytes[9]) << 8);
  const bool integerBit = mantissa >> 63 != 0;
  const unsigned biased = exponent & 0x7FFF;
  // The encodings the x87 itself never produces: an unnormal, pseudo-infinity or pseudo-NaN
  // is an invalid operand to it; a pseudo-denormal is the same value with exponent 1.
  if (!integerBit && biased != 0) return std::numeric_limits<long double>::quiet_NaN();
  if (integerBit && biased == 0) exponent |= 1;
  long double value;
  std::memset(&value, 0, sizeof value);
  std::memcpy(&value, &mantissa, 8);
  std::memcpy(reinterpret_cast<char*>(&value) + 8, &exponent, 2);
  return value;
}

float TBinaryObjectReader::ReadSingleData() { return std::bit_cast<float>(ReadFixed<std::uint32_t>("a single value")); }

std::int64_t TBinaryObjectReader::ReadCurrencyData() { return ReadFixed<std::int64_t>("a currency value"); }

double TBinaryObjectReader::ReadDoubleData() { return std::bit_cast<double>(ReadFixed<std::uint64_t>("a date value")); }

std::string_view TBinaryObjectReader::ReadBinaryData() {
  const std::size_t length = ReadLength("binary data");
  return Take(length, "binary data");
}

void TBinaryObjectReader::SkipValue() {
  const TValueType type = ReadValue();
  switch (type) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil: return;
    case TValueType::vaList: {
      TNesting nesting(*this);
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      return;
    }
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64: ReadIntegerData(type); return;
    case TValueType::vaExtended: Take(10, "an extended value"); return;
    case TValueType::vaSingle: Take(4, "a single value"); return;
    case TValueType::vaCurrency:
    case TValueType::vaDate: Take(8, "a currency or date value"); return;
    case TValueType::vaString:
    case TValueType::vaIdent:
    case TValueType::vaLString:
    case TValueType::vaUTF8String: ReadStringData(type); return;
    case TValueType::vaWString: ReadWideData(); return;
    case TValueType::vaBinary: ReadBinaryData(); return;
    case TValueType::vaSet:
      while (!ReadStr("a set").empty()) {
      }
      return;
    case TValueType::vaCollection: {
      TNesting nesting(*this);
      while (!EndOfList()) {
        const TValueType next = NextValue();
        if (next == TValueType::vaInt8 || next == TValueType::vaInt16 || next == TValueType::vaInt32) SkipValue();
        CheckValue(TValueType::vaList);
        while (!EndOfList()) {
          ReadStr("a property name");
          SkipValue();
        }
        ReadListEnd();
      }
      ReadListEnd();
      return;
    }
  }
}

// ---- Writing -------------------------------------------------------------------------------

template <class I>
void TBinaryObjectWriter::WriteFixed(I Value) {
  const auto bits = static_cast<std::make_unsigned_t<I>>(Value);
  for (std::size_t i = 0; i < sizeof(I); ++i) FOut->push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

void TBinaryObjectWriter::WriteLength(std::size_t Length) {
  if (Length > std::numeric_limits<std::uint32_t>::max())
    throw EWriteError("A value of " + IntToStr(static_cast<std::int64_t>(Length)) + " bytes is too long for a form stream");
  WriteFixed(static_cast<std::uint32_t>(Length));
}

void TBinaryObjectWriter::WriteResourceHeader(const TResourceHeader& Header, std::size_t DataSize) {
  if (Header.Name.find('\0') != std::string::npos) throw EWriteError("A resource name cannot hold a NUL byte");
  FOut->append("\xFF\x0A\x00", 3);
  FOut->append(Header.Name);
  FOut->push_back('\0');
  WriteFixed(Header.Flags);
  WriteLength(DataSize);
}

void TBinaryObjectWriter::WriteHeader(TFilerFlags Flags, int ChildPos, std::string_view ClassName, std::string_view Name) {
  if (Flags != 0 || ClassName.empty() || ClassName.size() >= 0xF0) FOut->push_back(static_cast<char>(0xF0 | (Flags & 0x07)));
  if (Flags & ffChildPos) WriteInteger(ChildPos);
  WriteStr(ClassName);
  WriteStr(Name);
}

void TBinaryObjectWriter::WriteStr(std::string_view S) {
  if (S.size() > 255) throw EWriteError("Name '" + std::string(S.substr(0, 32)) + "...' is longer than 255 bytes");
  FOut->push_back(static_cast<char>(S.size()));
  FOut->append(S);
}

void TBinaryObjectWriter::WriteInteger(std::int64_t Value) {
  if (Value >= -128 && Value <= 127) {
    WriteValue(TValueType::vaInt8);
    WriteFixed(static_cast<std::int8_t>(Value));
  } else if (Value >= -32768 && Value <= 32767) {
    WriteValue(TValueType::vaInt16);
    WriteFixed(static_cast<std::int16_t>(Value));
  } else if (std::in_range<std::int32_t>(Value)) {
    WriteValue(TValueType::vaInt32);
    WriteFixed(static_cast<std::int32_t>(Value));
  } else {
    WriteValue(TValueType::vaInt64);
    WriteFixed(Value);
  }
}

void TBinaryObjectWriter::WriteString(std::string_view S) {
  if (S.size() <= 255) {
    WriteValue(TValueType::vaString);
    WriteStr(S);
  } else {
    WriteValue(TValueType::vaLString);
    WriteLength(S.size());
    FOut->append(S);
  }
}

void TBinaryObjectWriter::WriteUTF8String(std::string_view S) {
  WriteValue(TValueType::vaUTF8String);
  WriteLength(S.size());
  FOut->append(S);
}

void TBinaryObjectWriter::WriteWideString(std::u16string_view S) {
  WriteValue(TValueType::vaWString);
  WriteLength(S.size());
  for (char16_t c : S) WriteFixed(static_cast<std::uint16_t>(c));
}

void TBinaryObjectWriter::WriteIdent(std::string_view Ident) {
  if (EqualsIgnoringCase(Ident, "False")) WriteValue(TValueType::vaFalse);
  else if (EqualsIgnoringCase(Ident, "True")) WriteValue(TValueType::vaTrue);
  else if (EqualsIgnoringCase(Ident, "nil")) WriteValue(TValueType::vaNil);
  else if (EqualsIgnoringCase(Ident, "Null")) WriteValue(TValueType::vaNull);
  else {
    WriteValue(TValueType::vaIdent);
    WriteStr(Ident);
  }
}

void TBinaryObjectWriter::WriteExtended(long double Value) {
  WriteValue(TValueType::vaExtended);
  char bytes[sizeof(long double)];
  std::memcpy(bytes, &Value, sizeof Value);
  FOut->append(bytes, 10);
}

void TBinaryObjectWriter::WriteSingle(float Value) {
  WriteValue(TValueType::vaSingle);
  WriteFixed(std::bit_cast<std::uint32_t>(Value));
}

void TBinaryObjectWriter::WriteDate(double Value) {
  WriteValue(TValueType::vaDate);
  WriteFixed(std::bit_cast<std::uint64_t>(Value));
}

void TBinaryObjectWriter::WriteCurrency(std::int64_t Value) {
  WriteValue(TValueType::vaCurrency);
  WriteFixed(Value);
}

void TBinaryObjectWriter::WriteBinary(std::string_view Bytes) {
  WriteValue(TValueType::vaBinary);
  WriteLength(Bytes.size());
  FOut->append(Bytes);
}

// ---- Canonical values ----------------------------------------------------------------------

namespace {
void Canonical(TBinaryObjectReader& In, TBinaryObjectWriter& Out) {
  const std::size_t start = In.Pos();
  const TValueType type = In.ReadValue();
  switch (type) {
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64: Out.WriteInteger(In.ReadIntegerData(type)); return;
    case TValueType::vaString:
    case TValueType::vaLString: Out.WriteString(In.ReadStringData(type)); return;
    case TValueType::vaUTF8String: Out.WriteString(Utf8ToAnsi(In.ReadStringData(type))); return;
    case TValueType::vaWString: Out.WriteString(FromUtf16(AnsiCodePage, In.ReadWideData())); return;
    case TValueType::vaList: {
      TBinaryObjectReader::TNesting nesting(In);
      Out.WriteValue(TValueType::vaList);
      while (!In.EndOfList()) Canonical(In, Out);
      In.ReadListEnd();
      Out.WriteListEnd();
      return;
    }
    default:
      In.SetPos(start);
      In.SkipValue();
      Out.WriteRaw(In.Bytes(start, In.Pos()));
  }
}
}  // namespace

std::string CanonicalValue(std::string_view Encoded) {
  TBinaryObjectReader in(Encoded, 0);
  std::string canonical;
  TBinaryObjectWriter out(&canonical);
  Canonical(in, out);
  if (in.Remaining() != 0) in.Error("More than one value");
  return canonical;
}

}  // namespace vcl
