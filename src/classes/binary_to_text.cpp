// ObjectBinaryToText: the text form of any binary form stream, as the class library writes it.
#include <algorithm>

#include "binary_driver.hpp"
#include "form_text.hpp"
#include "vcl/CodePages.hpp"

namespace vcl {

namespace {

constexpr std::size_t LineLength = 64;  // characters of a string per line
constexpr std::size_t BytesPerLine = 32;

class TTextWriter {
public:
  TTextWriter(TBinaryObjectReader& In, std::string& Out, std::string_view LineBreak = "\r\n", int Level = 0)
      : FIn(In), FOut(Out), FLineBreak(LineBreak), FLevel(Level) {}

  void ConvertObject() {
    TBinaryObjectReader::TNesting nesting(FIn);
    Indent();
    Header();
    FOut += FLineBreak;
    ++FLevel;
    while (!FIn.EndOfList()) ConvertProperty();
    FIn.ReadListEnd();
    while (!FIn.EndOfList()) ConvertObject();
    FIn.ReadListEnd();
    --FLevel;
    Indent();
    FOut += "end";
    FOut += FLineBreak;
  }

  // A component's header, and a property with its value, without indentation or line end.
  void Header() {
    TFilerFlags flags;
    int position;
    FIn.ReadPrefix(flags, position);
    const std::string className = Name("a class name", "class name", IsIdent);
    const std::string name = Name("a component name", "component name", IsIdent, true);
    FOut += flags & ffInherited ? "inherited " : flags & ffInline ? "inline " : "object ";
    if (!name.empty()) FOut += name + ": ";
    FOut += className;
    if (flags & ffChildPos) FOut += " [" + IntToStr(position) + "]";
  }
  void Property() {
    FOut += Name("a property name", "property name", IsDottedIdent);
    FOut += " = ";
    ConvertValue();
  }

private:
  void Indent() { FOut.append(2 * static_cast<std::size_t>(FLevel), ' '); }
  void NewLine() {
    FOut += FLineBreak;
    Indent();
  }

  // A name read from the stream must read back as the same token.
  std::string Name(const char* What, const char* Noun, bool (*Valid)(std::string_view), bool MayBeEmpty = false) {
    const std::size_t start = FIn.Pos();
    std::string name = FIn.ReadStr(What);
    if (!(MayBeEmpty && name.empty()) && !Valid(name)) FIn.ErrorAt(start, std::string("Invalid ") + Noun + " '" + name + "'");
    return name;
  }

  void ConvertProperty() {
    Indent();
    Property();
    FOut += FLineBreak;
  }

  static bool IsSetElement(std::string_view S) {
    if (IsIdent(S)) return true;
    std::size_t i = S.starts_with('-') || S.starts_with('#') || S.starts_with('$') ? 1 : 0;
    const bool hex = S.starts_with('$');
    if (i == S.size()) return false;
    for (; i < S.size(); ++i)
      if (!(S[i] >= '0' && S[i] <= '9') && !(hex && ((S[i] >= 'A' && S[i] <= 'F') || (S[i] >= 'a' && S[i] <= 'f'))))
        return false;
    return true;
  }

  // Quoted runs and #n codes in pieces of 64 characters; Quotable tells which units may stand
  // inside quotes. Wide strings without a code above 255 start with an empty piece, so that
  // they read back as wide.
  template <class S, class Q>
  void WriteString(const S& Units, Q Quotable, bool Wide) {
    const std::size_t length = Units.size();
    if (Wide) FOut += "'' +";
    if (length == 0) {
      FOut += Wide ? " ''" : "''";
      return;
    }
    ++FLevel;
    if (length > LineLength) NewLine();
    else if (Wide) FOut += ' ';
    std::size_t i = 0, lineStart = 0;
    do {
      bool lineBreak = false;
      const auto unit = static_cast<std::uint32_t>(Units[i]);
      if (Quotable(unit)) {
        FOut += '\'';
        do FOut += static_cast<char>(Units[i++]);
        while (i < length && Quotable(static_cast<std::uint32_t>(Units[i])) && i - lineStart < LineLength);
        FOut += '\'';
      } else {
        FOut += '#' + std::to_string(unit);
        ++i;
      }
      lineBreak = i - lineStart >= LineLength;
      if (lineBreak && i < length) {
        FOut += " +";
        NewLine();
        lineStart = i;
      }
    } while (i < length);
    --FLevel;
  }

  void WriteBytes(const std::string& Bytes) {
    std::basic_string<unsigned char> units(Bytes.begin(), Bytes.end());
    WriteString(units, [](std::uint32_t U) { return U >= ' ' && U != '\''; }, false);
  }
  // A code above 255 reads back as wide by itself; only a string without one needs the mark.
  void WriteWide(const std::u16string& Units) {
    const bool marked = std::none_of(Units.begin(), Units.end(), [](char16_t U) { return U > 255; });
    WriteString(Units, [](std::uint32_t U) { return U >= ' ' && U != '\'' && U <= 127; }, marked);
  }

  void ConvertBinary() {
    static constexpr char Hex[] = "0123456789ABCDEF";
    const std::string_view bytes = FIn.ReadBinaryData();
    FOut += '{';
    ++FLevel;
    const bool multiLine = bytes.size() >= BytesPerLine;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (multiLine && i % BytesPerLine == 0) NewLine();
      const auto b = static_cast<std::uint8_t>(bytes[i]);
      FOut += Hex[b >> 4];
      FOut += Hex[b & 15];
    }
    --FLevel;
    FOut += '}';
  }

  void ConvertValue() {
    const TValueType type = FIn.ReadValue();
    switch (type) {
      case TValueType::vaList: {
        TBinaryObjectReader::TNesting nesting(FIn);
        FOut += '(';
        ++FLevel;
        while (!FIn.EndOfList()) {
          NewLine();
          ConvertValue();
        }
        FIn.ReadListEnd();
        --FLevel;
        FOut += ')';
        return;
      }
      case TValueType::vaInt8:
      case TValueType::vaInt16:
      case TValueType::vaInt32:
      case TValueType::vaInt64: FOut += IntToStr(FIn.ReadIntegerData(type)); return;
      case TValueType::vaExtended: FOut += FormatExtended(FIn.ReadExtendedData()); return;
      case TValueType::vaSingle: FOut += FormatSingle(FIn.ReadSingleData()) + "s"; return;
      case TValueType::vaCurrency: FOut += IntToStr(FIn.ReadCurrencyData()) + "c"; return;
      case TValueType::vaDate: FOut += FormatDouble(FIn.ReadDoubleData()) + "d"; return;
      case TValueType::vaWString: WriteWide(FIn.ReadWideData()); return;
      case TValueType::vaUTF8String: {
        // Written as the string that reading it gives, since text never becomes UTF-8 again:
        // ANSI bytes where the code page has every character, wide otherwise.
        const std::string bytes = FIn.ReadStringData(type);
        std::u16string units;
        if (!Utf8ToUtf16(bytes, units)) WriteBytes(bytes);  // not UTF-8: the bytes as they are
        else if (CanEncode(AnsiCodePage, units)) WriteBytes(FromUtf16(AnsiCodePage, units));
        else WriteWide(units);
        return;
      }
      case TValueType::vaString:
      case TValueType::vaLString: WriteBytes(FIn.ReadStringData(type)); return;
      case TValueType::vaIdent: {
        const std::size_t start = FIn.Pos() - 1;
        const std::string ident = FIn.ReadStringData(type);
        if (!IsDottedIdent(ident)) FIn.ErrorAt(start, "Invalid identifier '" + ident + "'");
        FOut += ident;
        return;
      }
      case TValueType::vaFalse: FOut += "False"; return;
      case TValueType::vaTrue: FOut += "True"; return;
      case TValueType::vaNil: FOut += "nil"; return;
      case TValueType::vaNull: FOut += "Null"; return;
      case TValueType::vaBinary: ConvertBinary(); return;
      case TValueType::vaSet: {
        FOut += '[';
        for (bool first = true;; first = false) {
          const std::string element = Name("a set", "set element", IsSetElement, true);
          if (element.empty()) break;
          if (!first) FOut += ", ";
          FOut += element;
        }
        FOut += ']';
        return;
      }
      case TValueType::vaCollection: {
        TBinaryObjectReader::TNesting nesting(FIn);
        FOut += '<';
        ++FLevel;
        while (!FIn.EndOfList()) {
          NewLine();
          FOut += "item";
          const TValueType next = FIn.NextValue();
          if (next == TValueType::vaInt8 || next == TValueType::vaInt16 || next == TValueType::vaInt32) {
            FOut += " [";
            ConvertValue();
            FOut += ']';
          }
          FOut += FLineBreak;
          FIn.CheckValue(TValueType::vaList);
          ++FLevel;
          while (!FIn.EndOfList()) ConvertProperty();
          FIn.ReadListEnd();
          --FLevel;
          Indent();
          FOut += "end";
        }
        FIn.ReadListEnd();
        --FLevel;
        FOut += '>';
        return;
      }
    }
  }

  TBinaryObjectReader& FIn;
  std::string& FOut;
  std::string_view FLineBreak;
  int FLevel;
};

// Runs Convert on the rest of Input; on success writes the text and leaves Input after what
// was read, otherwise leaves both streams as they were.
template <class F>
void ConvertToText(TStream& Input, TStream& Output, F Convert) {
  const std::int64_t origin = Input.Position();
  const std::string data = ReadStreamRest(Input);
  TBinaryObjectReader in(data, origin);
  std::string text;
  try {
    Convert(in, text);
  } catch (...) {
    Input.SetPosition(origin);
    throw;
  }
  Input.SetPosition(in.Offset(in.Pos()));
  Output.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

}  // namespace

std::string HeaderText(TBinaryObjectReader& In) {
  std::string text;
  TTextWriter(In, text).Header();
  return text;
}

std::string PropertyText(TBinaryObjectReader& In, int Level, std::string_view LineBreak) {
  std::string text;
  TTextWriter(In, text, LineBreak, Level).Property();
  return text;
}

void ObjectBinaryToText(TStream& Input, TStream& Output) {
  ConvertToText(Input, Output, [](TBinaryObjectReader& In, std::string& Text) {
    In.ReadSignature();
    TTextWriter(In, Text).ConvertObject();
  });
}

void ObjectResourceToText(TStream& Input, TStream& Output) {
  ConvertToText(Input, Output, [](TBinaryObjectReader& In, std::string& Text) {
    TResourceHeader header;
    if (!In.ReadResourceHeader(header)) In.Error("No resource header (FF 0A 00)");
    In.ReadSignature();
    TTextWriter(In, Text).ConvertObject();
    if (In.Remaining() != 0) In.Error(BeforeResourceEnd(In.Remaining()));
  });
}

}  // namespace vcl
