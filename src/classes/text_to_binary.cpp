// ObjectTextToBinary: parses the text form of a form and writes its binary stream.
#include <cmath>
#include <limits>
#include <utility>

#include "binary_driver.hpp"
#include "form_text.hpp"
#include "vcl/CodePages.hpp"

namespace vcl {

namespace {

// A keyword of the text form: identifier characters, letters in either case.
bool SameKeyword(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i)
    if ((A[i] | 0x20) != (B[i] | 0x20) || !IsIdentChar(A[i])) return false;
  return true;
}

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

// Which list's item lines TextFormListLines wants, and where they go.
struct TListQuery {
  std::string_view Path, Property;
  std::vector<int>* Lines;
};

class TTextParser {
public:
  TTextParser(std::string_view Text, std::vector<TTextSpan>* Spans, const TListQuery* Query = nullptr)
      : FText(Text), FSpans(Spans), FQuery(Query) {
    if (FText.starts_with("\xEF\xBB\xBF")) FPos = 3;  // a UTF-8 byte order mark
    NextToken();
  }

  /// The offset of the token after the last one read.
  std::size_t TokenStart() const { return FStart; }

  void ConvertObject(TBinaryObjectWriter& Out) {
    TDepth depth(*this);
    const std::size_t begin = FStart;
    TFilerFlags flags = 0;
    if (IsSymbol("inherited")) flags = ffInherited;
    else if (IsSymbol("inline")) flags = ffInline;
    else if (!IsSymbol("object")) Error("'object', 'inherited' or 'inline' expected, found " + Found());
    NextToken();
    std::string className = Symbol("A component name or class name"), name;
    if (IsChar(':')) {
      NextToken();
      name = std::move(className);
      className = Symbol("A class name");
    }
    CheckName(className);
    CheckName(name);
    // The path of a component is its owners' names below the root and its own: the components
    // of a form are all the form's, wherever they are nested, and those of a frame (an inline
    // object) are the frame's.
    const std::string outerOwner = FOwnerPath, outerPath = FPath;
    if (FDepth > 1) FPath = FOwnerPath + name;
    if (FDepth > 1 && (flags & ffInline)) FOwnerPath = FPath + ".";
    int position = 0;
    if (IsChar('[')) {
      NextToken();
      const std::int64_t value = Integer();
      if (!std::in_range<int>(value)) Error("Child position " + IntToStr(value) + " out of range");
      position = static_cast<int>(value);
      Expect(']');
      flags |= ffChildPos;
    }
    Out.WriteHeader(flags, position, className, name);
    Span(begin);
    while (!IsSymbol("end") && !IsSymbol("object") && !IsSymbol("inherited") && !IsSymbol("inline")) {
      const std::size_t property = FStart;
      ConvertProperty(Out);
      Span(property);
    }
    Out.WriteListEnd();
    while (!IsSymbol("end")) ConvertObject(Out);
    Out.WriteListEnd();
    FOwnerPath = outerOwner;
    FPath = outerPath;
    const std::size_t end = FStart;
    NextToken();
    Span(end);
  }

private:
  enum class TKind : std::uint8_t { End, Symbol, String, Integer, Float, Char };

  class TDepth {
  public:
    explicit TDepth(TTextParser& Parser) : FParser(Parser) {
      if (++FParser.FDepth > MaxFormNesting) FParser.Error("Nesting deeper than " + IntToStr(MaxFormNesting) + " levels");
    }
    ~TDepth() { --FParser.FDepth; }
    TDepth(const TDepth&) = delete;
    TDepth& operator=(const TDepth&) = delete;

  private:
    TTextParser& FParser;
  };

  // Notes the part of the text from Begin to the end of the last token read.
  void Span(std::size_t Begin) {
    if (FSpans) FSpans->push_back({Begin, FLastEnd});
  }

  [[noreturn]] void Error(const std::string& What) const {
    throw EReadError(What + " on line " + IntToStr(FTokenLine));
  }

  std::string Found() const {
    switch (FKind) {
      case TKind::End: return "the end of the text";
      case TKind::String: return "a string";
      default: return "'" + std::string(FText.substr(FStart, std::min<std::size_t>(FPos - FStart, 40))) + "'";
    }
  }

  bool IsChar(char C) const { return FKind == TKind::Char && FChar == C; }
  bool IsSymbol(std::string_view Keyword) const { return FKind == TKind::Symbol && SameKeyword(FToken, Keyword); }

  void Expect(char C) {
    if (!IsChar(C)) Error(std::string("'") + C + "' expected, found " + Found());
    NextToken();
  }

  // A name of at most 255 bytes, as the binary stream holds it.
  void CheckName(const std::string& Name) const {
    if (Name.size() > 255) Error("Name '" + Name.substr(0, 32) + "...' is longer than 255 bytes");
  }

  std::string Symbol(const char* What) {
    if (FKind != TKind::Symbol) Error(std::string(What) + " expected, found " + Found());
    std::string symbol = std::move(FToken);
    NextToken();
    return symbol;
  }

  // Identifiers joined by "."; the first is the current token.
  std::string DottedSymbol(const char* What) {
    std::string name = Symbol(What);
    while (IsChar('.')) {
      NextToken();
      name += "." + Symbol("An identifier");
    }
    CheckName(name);
    return name;
  }

  std::int64_t Integer() {
    if (FKind != TKind::Integer) Error("Integer expected, found " + Found());
    const std::int64_t value = IntegerValue();
    NextToken();
    return value;
  }

  std::int64_t IntegerValue() const {
    std::string_view text = FToken;
    if (text.starts_with('$')) {
      std::uint64_t bits = 0;
      if (text.size() > 17) Error("Integer " + FToken + " out of range");
      for (char c : text.substr(1)) bits = bits << 4 | static_cast<std::uint64_t>(HexDigit(c));
      return static_cast<std::int64_t>(bits);
    }
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    if (text.empty()) Error("Invalid number '" + FToken + "'");
    std::uint64_t magnitude = 0;
    for (char c : text) {
      const auto digit = static_cast<std::uint64_t>(c - '0');
      if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) Error("Integer " + FToken + " out of range");
      magnitude = magnitude * 10 + digit;
    }
    constexpr auto limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (magnitude > limit + (negative ? 1 : 0)) Error("Integer " + FToken + " out of range");
    return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  }

  void ConvertProperty(TBinaryObjectWriter& Out) {
    const std::string name = DottedSymbol("A property name");
    Out.WriteStr(name);
    Expect('=');
    if (FQuery && IsChar('(') && FQuery->Path == FPath && SameText(FQuery->Property, name)) FItemLines = FQuery->Lines;
    ConvertValue(Out, false);
    FItemLines = nullptr;
  }

  void ConvertValue(TBinaryObjectWriter& Out, bool InList) {
    switch (FKind) {
      case TKind::Symbol: {
        const std::string ident = DottedSymbol("An identifier");
        // A Null item would end the list early in the binary stream.
        if (InList && SameKeyword(ident, "Null")) Error("Null cannot be a list item");
        Out.WriteIdent(ident);
        return;
      }
      case TKind::String: ConvertString(Out); return;
      case TKind::Integer: Out.WriteInteger(Integer()); return;
      case TKind::Float: ConvertFloat(Out); return;
      case TKind::Char: break;
      case TKind::End: Error("Property value expected, found the end of the text");
    }
    switch (FChar) {
      case '[': ConvertSet(Out); return;
      case '(': {
        TDepth depth(*this);
        NextToken();
        Out.WriteValue(TValueType::vaList);
        std::vector<int>* lines = std::exchange(FItemLines, nullptr);  // not those of a list inside
        while (!IsChar(')')) {
          if (lines) lines->push_back(FTokenLine);
          ConvertValue(Out, true);
        }
        Out.WriteListEnd();
        NextToken();
        return;
      }
      case '{': ConvertBinary(Out); return;
      case '<': {
        TDepth depth(*this);
        NextToken();
        Out.WriteValue(TValueType::vaCollection);
        while (!IsChar('>')) {
          if (!IsSymbol("item")) Error("'item' expected, found " + Found());
          NextToken();
          if (IsChar('[')) {
            NextToken();
            Out.WriteInteger(Integer());
            Expect(']');
          }
          Out.WriteValue(TValueType::vaList);
          while (!IsSymbol("end")) ConvertProperty(Out);
          Out.WriteListEnd();
          NextToken();
        }
        Out.WriteListEnd();
        NextToken();
        return;
      }
      default: Error("Property value expected, found " + Found());
    }
  }

  // Pieces joined by "+". A string is bytes of the ANSI code page, as the hosts read it, #n up
  // to 255 included; it is wide (UTF-16) only when a code is above 255 or when an empty first
  // piece marks it, and then its raw bytes are taken as characters of the code page.
  void ConvertString(TBinaryObjectWriter& Out) {
    std::string bytes = std::move(FBytes);
    std::u16string units = std::move(FUnits);
    bool wide = FBeyondByte;
    const bool firstEmpty = FEmptyLiteral;
    NextToken();
    while (IsChar('+')) {
      NextToken();
      if (FKind != TKind::String) Error("String expected after '+', found " + Found());
      wide = wide || FBeyondByte || (firstEmpty && units.empty());
      bytes += FBytes;
      units += FUnits;
      NextToken();
    }
    if (wide) Out.WriteWideString(units);
    else Out.WriteString(bytes);
  }

  template <class F>
  F Narrow(long double Value, const char* What) const {
    const auto narrow = static_cast<F>(Value);
    if (std::isinf(narrow)) Error(std::string(What) + " value '" + FToken + "' out of range");
    return narrow;
  }

  void ConvertFloat(TBinaryObjectWriter& Out) {
    long double value;
    if (!ParseFloat(FToken, value)) Error("Invalid floating point value '" + FToken + "'");
    switch (FFloatType) {
      case 's':
      case 'S': Out.WriteSingle(Narrow<float>(value, "Single")); break;
      case 'd':
      case 'D': Out.WriteDate(Narrow<double>(value, "Date")); break;
      case 'c':
      case 'C': {
        const long double rounded = std::nearbyint(value);
        if (!(rounded >= -0x1p63L && rounded < 0x1p63L)) Error("Currency value '" + FToken + "' out of range");
        Out.WriteCurrency(static_cast<std::int64_t>(rounded));
        break;
      }
      default: Out.WriteExtended(value);
    }
    NextToken();
  }

  void ConvertSet(TBinaryObjectWriter& Out) {
    NextToken();
    Out.WriteValue(TValueType::vaSet);
    while (!IsChar(']')) {
      std::string element;
      if (FKind == TKind::Integer) IntegerValue();  // a valid number, written as it stands
      if (FKind == TKind::Symbol || FKind == TKind::Integer) element = FToken;
      else if (FKind == TKind::String && !FUnits.empty()) element = "#" + std::to_string(FFirstCode);
      else Error("Set element expected, found " + Found());
      CheckName(element);
      Out.WriteStr(element);
      NextToken();
      if (IsChar(']')) break;
      Expect(',');
    }
    Out.WriteStr("");
    NextToken();
  }

  // Pairs of hex digits up to "}", blanks between pairs; read from the text itself, since a
  // line of hex may look like a number or a name.
  void ConvertBinary(TBinaryObjectWriter& Out) {
    std::string bytes;
    for (;;) {
      SkipBlanks();
      FTokenLine = FLine;
      if (FPos >= FText.size()) Error("Binary value not closed by '}'");
      if (FText[FPos] == '}') break;
      const int high = HexDigit(FText[FPos]);
      const int low = FPos + 1 < FText.size() ? HexDigit(FText[FPos + 1]) : -1;
      if (high < 0 || low < 0) Error("Invalid binary value");
      bytes += static_cast<char>(high << 4 | low);
      FPos += 2;
    }
    ++FPos;
    Out.WriteBinary(bytes);
    NextToken();
  }

  void SkipBlanks() {
    while (FPos < FText.size() && static_cast<unsigned char>(FText[FPos]) <= ' ') {
      if (FText[FPos] == '\n' || (FText[FPos] == '\r' && (FPos + 1 == FText.size() || FText[FPos + 1] != '\n'))) ++FLine;
      ++FPos;
    }
  }

  void NextToken() {
    FLastEnd = FPos;
    SkipBlanks();
    FStart = FPos;
    FTokenLine = FLine;
    FToken.clear();
    if (FPos >= FText.size()) {
      FKind = TKind::End;
      return;
    }
    const char c = FText[FPos];
    if (IsIdentStart(c)) {
      while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
      FKind = TKind::Symbol;
    } else if (c == '\'' || c == '#') {
      ScanString();
      return;
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      ++FPos;
      while (FPos < FText.size() && FText[FPos] >= '0' && FText[FPos] <= '9') ++FPos;
      FKind = TKind::Integer;
      while (FPos < FText.size() && std::string_view("0123456789.eE+-").find(FText[FPos]) != std::string_view::npos) {
        ++FPos;
        FKind = TKind::Float;
      }
      FFloatType = '\0';
      if (FPos < FText.size() && std::string_view("cCdDsS").find(FText[FPos]) != std::string_view::npos) {
        FFloatType = FText[FPos];
        FToken = FText.substr(FStart, FPos - FStart);
        ++FPos;
        FKind = TKind::Float;
        return;
      }
    } else if (c == '$' && FPos + 1 < FText.size() && HexDigit(FText[FPos + 1]) >= 0) {
      ++FPos;
      while (FPos < FText.size() && HexDigit(FText[FPos]) >= 0) ++FPos;
      FKind = TKind::Integer;
    } else {
      FKind = TKind::Char;
      FChar = c;
      ++FPos;
      return;
    }
    FToken = FText.substr(FStart, FPos - FStart);
  }

  // Quoted runs (an apostrophe doubled inside) and #n or #$n codes, with nothing between them.
  void ScanString() {
    FKind = TKind::String;
    FBytes.clear();
    FUnits.clear();
    FBeyondByte = false;
    while (FPos < FText.size()) {
      if (FText[FPos] == '\'') {
        for (++FPos;; ++FPos) {
          if (FPos >= FText.size() || FText[FPos] == '\r' || FText[FPos] == '\n') Error("Unterminated string");
          if (FText[FPos] == '\'') {
            if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') ++FPos;
            else break;
          }
          if (FBytes.empty()) FFirstCode = static_cast<unsigned char>(FText[FPos]);
          FBytes += FText[FPos];
          FUnits += AnsiCharToUnicode(FText[FPos]);
        }
        ++FPos;
      } else if (FText[FPos] == '#') {
        ++FPos;
        const bool hex = FPos < FText.size() && FText[FPos] == '$';
        if (hex) ++FPos;
        const std::size_t from = FPos;
        std::uint32_t code = 0;
        for (; FPos < FText.size(); ++FPos) {
          const int digit = hex ? HexDigit(FText[FPos]) : (FText[FPos] >= '0' && FText[FPos] <= '9' ? FText[FPos] - '0' : -1);
          if (digit < 0) break;
          code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
          if (code > 0xFFFF) Error("Character code out of range");
        }
        if (FPos == from) Error("Invalid character code");
        if (FBytes.empty()) FFirstCode = code;
        FBytes += static_cast<char>(code);
        FUnits += static_cast<char16_t>(code);
        FBeyondByte = FBeyondByte || code > 255;
      } else {
        break;
      }
    }
    FEmptyLiteral = FPos - FStart == 2 && FText.substr(FStart, 2) == "''";
  }

  std::string_view FText;
  std::vector<TTextSpan>* FSpans;
  const TListQuery* FQuery;
  std::vector<int>* FItemLines = nullptr;  // where the items of the list being read go
  std::string FPath;                        // the component being read, as TListQuery names it
  std::string FOwnerPath;                   // the path of its children's owner, with a "." after it
  std::size_t FPos = 0;
  std::size_t FLastEnd = 0;  // the end of the last token read
  int FLine = 1;
  int FDepth = 0;
  // The current token.
  TKind FKind = TKind::End;
  std::size_t FStart = 0;
  int FTokenLine = 1;
  std::string FToken;  // a symbol, or a number without its suffix
  char FChar = '\0';
  char FFloatType = '\0';
  std::string FBytes;     // a string's characters as bytes: raw bytes, and codes up to 255
  std::u16string FUnits;  // the same as UTF-16: raw bytes through the code page, codes as they stand
  bool FBeyondByte = false;
  std::uint32_t FFirstCode = 0;  // the first character's byte or code, for a set element
  bool FEmptyLiteral = false;
};

// The binary stream of the text form at Input's position; Input is left after it on success
// and as it was on failure.
std::string TextToBinary(TStream& Input) {
  const std::int64_t origin = Input.Position();
  const std::string text = ReadStreamRest(Input);
  std::string binary;
  try {
    std::size_t rest = 0;
    binary = FormTextToBinary(text, nullptr, rest);
    Input.SetPosition(origin + static_cast<std::int64_t>(rest));
  } catch (...) {
    Input.SetPosition(origin);
    throw;
  }
  return binary;
}

}  // namespace

std::string FormTextToBinary(std::string_view Text, std::vector<TTextSpan>* Spans, std::size_t& Rest) {
  TTextParser parser(Text, Spans);
  std::string binary;
  TBinaryObjectWriter out(&binary);
  out.WriteSignature();
  parser.ConvertObject(out);
  Rest = parser.TokenStart();
  return binary;
}

std::vector<int> TextFormListLines(std::string_view Text, std::string_view Path, std::string_view Property) {
  std::vector<int> lines;
  const TListQuery query{Path, Property, &lines};
  TTextParser parser(Text, nullptr, &query);
  std::string binary;
  TBinaryObjectWriter out(&binary);
  out.WriteSignature();
  parser.ConvertObject(out);
  return lines;
}

void ObjectTextToBinary(TStream& Input, TStream& Output) {
  const std::string binary = TextToBinary(Input);
  Output.WriteBuffer(binary.data(), static_cast<std::int64_t>(binary.size()));
}

void ObjectTextToResource(TStream& Input, TStream& Output) {
  const std::string binary = TextToBinary(Input);
  TBinaryObjectReader in(binary, 0);
  in.ReadSignature();
  TFilerFlags flags;
  int position;
  in.ReadPrefix(flags, position);
  TResourceHeader header;
  header.Name = in.ReadStr("a class name");
  for (char& c : header.Name)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  std::string resource;
  TBinaryObjectWriter out(&resource);
  out.WriteResourceHeader(header, binary.size());
  out.WriteRaw(binary);
  Output.WriteBuffer(resource.data(), static_cast<std::int64_t>(resource.size()));
}

}  // namespace vcl
