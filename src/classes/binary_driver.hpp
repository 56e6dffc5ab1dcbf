// The binary form stream one value at a time: signature, prefixes, value types and their data.
#pragma once

#include <string>
#include <string_view>

#include "vcl/Classes.hpp"

namespace vcl {

/// The message for a form that ends Count bytes before the end of its resource.
std::string BeforeResourceEnd(std::size_t Count);

/// The name of a value type as the class library spells it ("vaList"), or its number.
std::string ValueTypeName(TValueType Type);

/// Reads a form stream held in memory. Every read is checked against the bytes that remain, so
/// a length or count read from the stream is never trusted beyond them; every fault raises
/// EReadError "<what> at offset <n>", the offset counted in the stream the bytes came from.
class TBinaryObjectReader {
public:
  /// Data must outlive the reader; Origin is the stream offset of its first byte.
  TBinaryObjectReader(std::string_view Data, std::int64_t Origin) : FData(Data), FOrigin(Origin) {}

  std::size_t Pos() const { return FPos; }
  void SetPos(std::size_t Pos) { FPos = Pos; }
  std::size_t Remaining() const { return FData.size() - FPos; }
  std::int64_t Offset(std::size_t At) const { return FOrigin + static_cast<std::int64_t>(At); }
  std::string_view Bytes(std::size_t From, std::size_t To) const { return FData.substr(From, To - From); }
  /// Ends the readable data at End (a resource's end); nothing after it is read.
  void SetLimit(std::size_t End) { FData = FData.substr(0, End); }
  [[noreturn]] void Error(const std::string& What) const { ErrorAt(FPos, What); }
  [[noreturn]] void ErrorAt(std::size_t At, const std::string& What) const;

  /// Reads a resource header when the data starts with one (FF 0A 00) and limits the data to
  /// the resource; false, reading nothing, otherwise.
  bool ReadResourceHeader(TResourceHeader& Header);
  void ReadSignature();
  /// Reads the optional prefix of a component: flags, and the child position with ffChildPos.
  void ReadPrefix(TFilerFlags& Flags, int& ChildPos);
  /// A length byte and that many bytes; What names it in messages.
  std::string ReadStr(const char* What);

  /// True when the next byte is the 0 that ends a list.
  bool EndOfList() const;
  void ReadListEnd();
  TValueType NextValue() const;
  TValueType ReadValue();
  /// Reads the value type; EReadError "Invalid property value: expected <type>, found <type>".
  void CheckValue(TValueType Expected);

  // The data of a value whose type was just read.
  std::int64_t ReadIntegerData(TValueType Type);
  /// vaString, vaIdent (length byte), vaLString, vaUTF8String (four-byte length): the bytes.
  std::string ReadStringData(TValueType Type);
  std::u16string ReadWideData();
  long double ReadExtendedData();
  float ReadSingleData();
  double ReadDoubleData();
  std::int64_t ReadCurrencyData();
  std::string_view ReadBinaryData();
  /// Validates and skips one value of any type.
  void SkipValue();

  /// Counts one level of nesting for the lifetime of the guard; deeper than MaxFormNesting
  /// raises EReadError.
  class TNesting {
  public:
    explicit TNesting(TBinaryObjectReader& Reader);
    ~TNesting() { --FReader.FDepth; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

  private:
    TBinaryObjectReader& FReader;
  };

private:
  std::uint8_t ReadByte(const char* What);
  std::string_view Take(std::size_t Count, const char* What);
  /// A four-byte length, checked against what remains for Unit bytes per counted element.
  std::size_t ReadLength(const char* What, std::size_t Unit = 1);
  template <class I>
  I ReadFixed(const char* What);

  std::string_view FData;
  std::int64_t FOrigin;
  std::size_t FPos = 0;
  int FDepth = 0;
};

/// The encoded value (one, of any type) as TWriter would write the same content: strings of
/// any type as vaString or vaLString of the bytes TReader::ReadString gives, integers in the
/// smallest width, lists item by item, everything else unchanged. EReadError when Encoded is
/// not one value.
std::string CanonicalValue(std::string_view Encoded);

/// Writes values into a byte string, which can be swapped while a component's properties are
/// collected.
class TBinaryObjectWriter {
public:
  explicit TBinaryObjectWriter(std::string* Out) : FOut(Out) {}
  std::string* Target() const { return FOut; }
  void SetTarget(std::string* Out) { FOut = Out; }

  void WriteResourceHeader(const TResourceHeader& Header, std::size_t DataSize);
  void WriteSignature() { FOut->append("TPF0", 4); }
  /// A component's prefix (nothing without flags; the child position follows ffChildPos),
  /// class name and name. An empty class name, or one of 240 bytes or more, gets an empty
  /// prefix, since its length byte would read as the end of a list or as a prefix.
  void WriteHeader(TFilerFlags Flags, int ChildPos, std::string_view ClassName, std::string_view Name);
  /// A length byte and the bytes; EWriteError beyond 255 bytes.
  void WriteStr(std::string_view S);
  void WriteValue(TValueType Type) { FOut->push_back(static_cast<char>(Type)); }
  void WriteListEnd() { FOut->push_back('\0'); }
  /// In the smallest of vaInt8, vaInt16, vaInt32 and vaInt64 that holds Value.
  void WriteInteger(std::int64_t Value);
  /// vaString up to 255 bytes, vaLString beyond.
  void WriteString(std::string_view S);
  void WriteUTF8String(std::string_view S);
  void WriteWideString(std::u16string_view S);
  /// vaFalse, vaTrue, vaNil and vaNull for those identifiers in any case, vaIdent otherwise.
  void WriteIdent(std::string_view Ident);
  void WriteExtended(long double Value);
  void WriteSingle(float Value);
  void WriteDate(double Value);
  void WriteCurrency(std::int64_t Value);
  void WriteBinary(std::string_view Bytes);
  void WriteRaw(std::string_view Bytes) { FOut->append(Bytes); }

private:
  template <class I>
  void WriteFixed(I Value);
  void WriteLength(std::size_t Length);

  std::string* FOut;
};

}  // namespace vcl
