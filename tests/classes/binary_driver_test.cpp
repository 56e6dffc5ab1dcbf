// The binary form stream value by value: widths and lengths at their boundaries, and what a
// hostile or truncated stream gets instead of a crash.
#include <cmath>
#include <limits>

#include "form_test_support.hpp"
#include "test_support.hpp"

using namespace vcl;
using namespace form_test;

namespace {

template <class F>
std::string Written(F Write) {
  TMemoryStream out;
  {
    TWriter writer(out);
    Write(writer);
    writer.FlushBuffer();
  }
  return Bytes(out);
}

TEST(BinaryDriver, IntegersTakeTheSmallestWidth) {
  struct TCase {
    std::int64_t Value;
    const char* Bytes;
  };
  const TCase cases[] = {
      {0, "02 00"},
      {127, "02 7F"},
      {128, "03 8000"},
      {-128, "02 80"},
      {-129, "03 7FFF"},
      {32767, "03 FF7F"},
      {32768, "04 00800000"},
      {-32768, "03 0080"},
      {-32769, "04 FF7FFFFF"},
      {2147483647, "04 FFFFFF7F"},
      {2147483648, "13 0000008000000000"},
      {-2147483648LL, "04 00000080"},
      {-2147483649LL, "13 FFFFFF7FFFFFFFFF"},
  };
  for (const TCase& c : cases) {
    const std::string bytes = Written([&](TWriter& W) { W.WriteInteger(c.Value); });
    EXPECT_EQ(bytes, Hex(c.Bytes)) << c.Value;
    TStreamOf in(bytes);
    TReader reader(in);
    EXPECT_EQ(reader.ReadInt64(), c.Value);
  }
}

TEST(BinaryDriver, ReadIntegerTakesUpTo32Bits) {
  TStreamOf in(Hex("04 FFFFFF7F 13 0000008000000000"));
  TReader reader(in);
  EXPECT_EQ(reader.ReadInteger(), 2147483647);
  EXPECT_THROW_MSG(reader.ReadInteger(), EReadError, "Invalid property value: expected an integer, found vaInt64 at offset 5");
}

TEST(BinaryDriver, StringsBeyond255BytesAreLong) {
  struct TCase {
    std::size_t Length;
    const char* Head;
  };
  const TCase cases[] = {{0, "06 00"}, {255, "06 FF"}, {256, "0C 00010000"}, {70000, "0C 70110100"}};
  for (const TCase& c : cases) {
    const std::string text(c.Length, 'x');
    const std::string bytes = Written([&](TWriter& W) { W.WriteString(text); });
    EXPECT_EQ(bytes, Hex(c.Head) + text) << c.Length;
    TStreamOf in(bytes);
    TReader reader(in);
    EXPECT_EQ(reader.ReadString(), text);
  }
}

TEST(BinaryDriver, ReadStringGivesTheAnsiCodePage) {
  struct Case {
    const char* Name;
    std::string Encoded, Read;
  } cases[] = {
      {"string bytes unchanged", Hex("06 02 C3A9"), "\xC3\xA9"},
      {"long string bytes unchanged", Hex("0C 02000000 C3A9"), "\xC3\xA9"},
      {"UTF-8 converted", Hex("14 03000000 C3A9 'x'"), "\xE9x"},
      {"UTF-8 of a character above 255 in the code page", Hex("14 03000000 E282AC"), "\x80"},
      {"UTF-8 character the code page lacks", Hex("14 07000000 E4B8AD F09F9880"), "??"},
      {"not UTF-8: bytes unchanged", Hex("14 02000000 E9FF"), "\xE9\xFF"},
      {"wide converted", Hex("12 03000000 E900 AC20 5300"), "\xE9\x80S"},
      {"wide character the code page lacks", Hex("12 03000000 2D4E 3DD8 00DE"), "??"},
      {"wide control characters without a place in the code page", Hex("12 02000000 8000 8100"), "?\x81"},
  };
  for (const Case& c : cases) {
    TStreamOf in(c.Encoded);
    TReader reader(in);
    EXPECT_EQ(reader.ReadString(), c.Read) << c.Name;
  }
}

TEST(BinaryDriver, IdentifiersAndTheirOwnValueTypes) {
  const std::string bytes = Written([](TWriter& W) {
    for (const char* ident : {"True", "false", "NIL", "Null", "alClient", "Nothing"}) W.WriteIdent(ident);
  });
  EXPECT_EQ(bytes, Hex("09 08 0D 00 07 08 'alClient' 07 07 'Nothing'"));
  TStreamOf in(bytes);
  TReader reader(in);
  for (const char* ident : {"True", "False", "nil", "Null", "alClient", "Nothing"}) EXPECT_EQ(reader.ReadIdent(), ident);
}

TEST(BinaryDriver, FloatsAndCurrency) {
  const std::string bytes = Written([](TWriter& W) {
    W.WriteFloat(1.5L);
    W.WriteSingle(0.5f);
    W.WriteDate(2.25);
    W.WriteCurrency(250000);
  });
  EXPECT_EQ(bytes, Hex("05 00000000000000C0 FF3F 0F 0000003F 11 0000000000000240 10 90D0030000000000"));
  TStreamOf in(bytes);
  TReader reader(in);
  EXPECT_EQ(reader.ReadFloat(), 1.5L);
  EXPECT_EQ(reader.ReadSingle(), 0.5f);
  EXPECT_EQ(reader.ReadDate(), 2.25);
  EXPECT_EQ(reader.ReadCurrency(), 250000);
}

// Encodings the x87 never produces read as the x87 takes them, so that they print stably.
TEST(BinaryDriver, NonCanonicalExtendedsReadAsTheX87TakesThem) {
  TStreamOf in(Hex("05 0000000000000080 0000 05 0000000000000040 FF3F"));
  TReader reader(in);
  EXPECT_EQ(reader.ReadFloat(), std::numeric_limits<long double>::min());  // pseudo-denormal
  EXPECT_TRUE(std::isnan(reader.ReadFloat()));                              // unnormal
}

TEST(BinaryDriver, ReaderLeavesTheStreamAfterWhatItRead) {
  TStreamOf in(Hex("02 05 06 01 'x' 09"));
  {
    TReader reader(in);
    EXPECT_EQ(reader.ReadInteger(), 5);
    reader.SkipValue();
    EXPECT_EQ(reader.Position(), 5);
  }
  EXPECT_EQ(in.Position(), 5);
}

// Every fault names its offset, counted in the stream; nothing is read past its end.
TEST(BinaryDriver, HostileStreamsRaiseReadErrorsNamingTheOffset) {
  const std::string form = Hex("'TPF0' 05 'TForm' 01 'F'");  // properties start at offset 12
  struct TCase {
    const char* Name;
    std::string Stream;
    std::string Message;
  };
  const TCase cases[] = {
      {"empty", "", "Invalid stream format: no TPF0 signature at offset 0"},
      {"wrong signature", "TPF1", "Invalid stream format: no TPF0 signature at offset 0"},
      {"truncated class name", Hex("'TPF0' 05 'TFo'"), "Stream ends inside a class name at offset 5"},
      {"no end of properties", form, "Stream ends before the end of a list at offset 12"},
      {"no value", form + Hex("01 'A'"), "Error reading F.A: Stream ends where a value was expected at offset 14"},
      {"unknown value type", form + Hex("01 'A' 2A"), "Error reading F.A: Unknown value type 42 at offset 14"},
      {"string length past the end", form + Hex("01 'A' 0C FFFFFFFF 'ab'"),
       "Error reading F.A: Length 4294967295 of a string runs past the end of the stream at offset 15"},
      {"short string past the end", form + Hex("01 'A' 06 05 'ab'"), "Error reading F.A: Stream ends inside a string at offset 16"},
      {"wide string count past the end", form + Hex("01 'A' 12 02000000 4100"),
       "Error reading F.A: Length 2 of a wide string runs past the end of the stream at offset 15"},
      {"binary length past the end", form + Hex("01 'A' 0A 00000080"),
       "Error reading F.A: Length 2147483648 of binary data runs past the end of the stream at offset 15"},
      {"truncated extended", form + Hex("01 'A' 05 0000"), "Error reading F.A: Stream ends inside an extended value at offset 15"},
      {"unterminated set", form + Hex("01 'A' 0B 02 'ab'"), "Error reading F.A: Stream ends inside a set at offset 18"},
      {"unterminated list", form + Hex("01 'A' 01 02 01"), "Error reading F.A: Stream ends before the end of a list at offset 17"},
      {"collection item without a list", form + Hex("01 'A' 0E 02 01 06 00"),
       "Error reading F.A: Invalid property value: expected vaList, found vaString at offset 17"},
      {"lists nested too deep", form + Hex("01 'A'") + std::string(200, '\x01'),
       "Error reading F.A: Nesting deeper than 128 levels at offset 142"},
      {"unknown component flags", form + Hex("00 F8"), "Invalid component flags $F8 at offset 13"},
      {"child position that is no integer", form + Hex("00 F2 06"),
       "Invalid child position: expected an integer, found vaString at offset 14"},
      {"no end of children", form + Hex("00"), "Stream ends before the end of a list at offset 13"},
      {"resource header truncated", Hex("FF 0A 00 'TF'"), "Stream ends inside a resource name at offset 3"},
      {"resource size past the end", Hex("FF 0A 00 'T' 00 3010 FF000000 'TPF0'"),
       "Length 255 of the resource data runs past the end of the stream at offset 7"},
      {"resource of another type", Hex("FF 0E 00 'T' 00"), "Resource type 14 is not RCDATA (10) at offset 0"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_THROW_MSG(ReadForm(c.Stream), EReadError, c.Message);
    if (!std::string_view(c.Message).starts_with("Error reading")) continue;
    // The converter knows no classes, so its messages lack the property, not the offset.
    const std::string bare = c.Message.substr(c.Message.find(": ") + 2);
    EXPECT_THROW_MSG(Convert(ObjectBinaryToText, c.Stream), EReadError, bare);
  }
}

TEST(BinaryDriver, ComponentsNestedTooDeep) {
  std::string stream = "TPF0";
  for (int i = 0; i < 200; ++i) stream += Hex("01 'T' 00 00");
  EXPECT_THROW_MSG(ReadForm(stream), EReadError, "Nesting deeper than 128 levels at offset 516");
  EXPECT_THROW_MSG(Convert(ObjectBinaryToText, stream), EReadError, "Nesting deeper than 128 levels at offset 516");
}

}  // namespace
