// PO files: writing messages keyed by msgctxt, and a reader of the whole syntax gettext writes.
//
// Notes:
// - msgcat and msgmerge wrap long strings into several quoted pieces and put "" first when a
//   text holds line breaks; the reader joins the pieces and remembers where each one starts,
//   so a fault inside a translation is reported on its own line of the file.
#include "exchange/PoFile.hpp"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>

#include "Vek.hpp"
#include "vcl/CodePages.hpp"
#include "vcl/SysUtils.hpp"

namespace exchange {

namespace {

std::string Quoted(std::string_view Text) {
  std::string out = "\"";
  for (const char c : Text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\a': out += "\\a"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\v': out += "\\v"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          const auto b = static_cast<unsigned char>(c);
          out += {'\\', static_cast<char>('0' + (b >> 6)), static_cast<char>('0' + ((b >> 3) & 7)), static_cast<char>('0' + (b & 7))};
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// A keyword and its string; a text with line breaks inside goes on one line per line, as the
// gettext tools write it. Its own split: texts of PO files break lines with LF alone, and each
// piece keeps its LF.
std::string Field(const char* Keyword, std::string_view Text) {
  const std::size_t inner = Text.find('\n');
  if (inner == std::string_view::npos || inner + 1 == Text.size()) return std::string(Keyword) + " " + Quoted(Text) + "\n";
  std::string out = std::string(Keyword) + " \"\"\n";
  while (!Text.empty()) {
    const std::size_t end = Text.find('\n');
    const std::size_t take = end == std::string_view::npos ? Text.size() : end + 1;
    out += Quoted(Text.substr(0, take)) + "\n";
    Text.remove_prefix(take);
  }
  return out;
}

// Which UTF-16 a file is in, told by its byte-order mark or, as a PO file starts with ASCII
// (a comment, a keyword, a blank), by every other byte of its start being 0; nullptr for none.
const char* Utf16Kind(std::string_view Bytes) {
  if (Bytes.starts_with("\xFF\xFE")) return "little-endian, with a byte-order mark";
  if (Bytes.starts_with("\xFE\xFF")) return "big-endian, with a byte-order mark";
  const std::size_t count = std::min<std::size_t>(Bytes.size(), 64) & ~std::size_t{1};
  bool little = count > 0, big = count > 0;
  for (std::size_t i = 0; i < count; i += 2) {
    little = little && Bytes[i] != '\0' && Bytes[i + 1] == '\0';
    big = big && Bytes[i] == '\0' && Bytes[i + 1] != '\0';
  }
  return little ? "little-endian, without byte-order mark" : big ? "big-endian, without byte-order mark" : nullptr;
}

class PoReader {
public:
  PoReader(std::string_view Bytes, const std::string& FileName) : FBytes(Bytes), FFileName(FileName) {}

  std::vector<TextUnit> Read(std::string* Language) {
    if (const char* kind = Utf16Kind(FBytes))
      throw vcl::EReadError(FFileName + ": the file is in UTF-16 (" + kind +
                            "); PO files are read in UTF-8: convert it, e.g. with iconv -f UTF-16 -t UTF-8");
    if (FBytes.starts_with("\xEF\xBB\xBF")) FBytes.remove_prefix(3);
    // Lines of their own, not vcl::SplitLines: a lone CR is no line end here but an error to report.
    std::size_t start = 0;
    while (start <= FBytes.size()) {
      std::size_t end = FBytes.find('\n', start);
      if (end == std::string_view::npos) end = FBytes.size();
      std::string_view line = FBytes.substr(start, end - start);
      if (line.ends_with('\r')) line.remove_suffix(1);
      ++FLine;
      FRawLine = line;
      if (const std::size_t cr = line.find('\r'); cr != std::string_view::npos)
        Fail("a line break of CR alone in column " + vcl::IntToStr(static_cast<std::int64_t>(cr + 1)) +
             ": PO files break lines with LF or CR LF; convert it, e.g. with tr '\\r' '\\n'");
      Take(line);
      start = end + 1;
    }
    Finish();
    if (Language) *Language = FLanguage;
    return std::move(FUnits);
  }

private:
  enum class Part : std::uint8_t { None = 0, Context = 1, Id = 2, Plural = 3, Str = 4 };

  struct Message {
    std::optional<std::string> Context, Id, Str;
    std::vector<std::pair<std::size_t, int>> StrLines;
    bool Fuzzy = false;
    int Line = 0;
  };

  [[noreturn]] void Fail(const std::string& What) const {
    throw vcl::EReadError(FFileName + ", line " + vcl::IntToStr(FLine) + ": " + What);
  }

  void Take(std::string_view Line) {
    const std::size_t first = Line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return;
    Line.remove_prefix(first);
    if (Line[0] == '#') {
      if (FMessage.Str) Finish();  // comments open the next message
      if (Line.starts_with("#,")) {
        for (std::string_view flags = Line.substr(2); !flags.empty();) {
          const std::size_t comma = flags.find(',');
          std::string_view flag = flags.substr(0, comma);
          while (!flag.empty() && (flag.front() == ' ' || flag.front() == '\t')) flag.remove_prefix(1);
          while (!flag.empty() && (flag.back() == ' ' || flag.back() == '\t')) flag.remove_suffix(1);
          if (flag == "fuzzy") FMessage.Fuzzy = true;
          flags = comma == std::string_view::npos ? std::string_view() : flags.substr(comma + 1);
        }
      }
      return;  // "#~" obsolete messages, "#|" previous texts and other comments are not read
    }
    if (Line[0] == '"') {
      if (FPart == Part::None) Fail("a string without msgctxt, msgid or msgstr before it");
      Append(Line);
      return;
    }
    const std::size_t space = Line.find_first_of(" \t\"");
    const std::string_view keyword = Line.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view() : Line.substr(space);
    if (keyword == "msgctxt") {
      if (FMessage.Str) Finish();
      if (FMessage.Id || FMessage.Context) Fail("msgctxt where msgstr was expected");
      Begin(Part::Context, rest);
    } else if (keyword == "msgid") {
      if (FMessage.Str) Finish();
      if (FMessage.Id) Fail("msgid where msgstr was expected");
      Begin(Part::Id, rest);
    } else if (keyword == "msgid_plural") {
      Fail("plural forms (msgid_plural) are not used for dialog texts");
    } else if (keyword == "msgstr") {
      if (!FMessage.Id || FMessage.Str) Fail("msgstr without msgid before it");
      Begin(Part::Str, rest);
    } else if (keyword.starts_with("msgstr[")) {
      Fail("plural forms (" + std::string(keyword) + ") are not used for dialog texts");
    } else {
      Fail("unknown keyword '" + vcl::Excerpt(keyword) + "'");
    }
  }

  void Begin(Part P, std::string_view Rest) {
    const std::size_t first = Rest.find_first_not_of(" \t");
    if (first == std::string_view::npos || Rest[first] != '"') Fail("a quoted string must follow the keyword");
    if (FMessage.Line == 0) FMessage.Line = FLine;
    FPart = P;
    FPartLine = FLine;
    FPartCharacters = 0;
    (P == Part::Context ? FMessage.Context : P == Part::Id ? FMessage.Id : FMessage.Str) = std::string();
    Append(Rest.substr(first));
  }

  void Append(std::string_view Literal) {
    std::string& to = *(FPart == Part::Context ? FMessage.Context : FPart == Part::Id ? FMessage.Id : FMessage.Str);
    if (FPart == Part::Str) FMessage.StrLines.emplace_back(to.size(), FLine);
    std::size_t i = 1;
    for (;; ++i) {
      if (i >= Literal.size()) Fail("the string is not closed");
      const char c = Literal[i];
      if (c == '"') break;
      if (c != '\\') {
        Add(to, c);
        continue;
      }
      if (++i >= Literal.size()) Fail("the string is not closed");
      const char e = Literal[i];
      switch (e) {
        case 'n': Add(to, '\n'); break;
        case 't': Add(to, '\t'); break;
        case 'r': Add(to, '\r'); break;
        case 'a': Add(to, '\a'); break;
        case 'b': Add(to, '\b'); break;
        case 'f': Add(to, '\f'); break;
        case 'v': Add(to, '\v'); break;
        case '\\': case '"': Add(to, e); break;
        default:
          if (e == 'x' && i + 1 < Literal.size() && std::isxdigit(static_cast<unsigned char>(Literal[i + 1]))) {
            int value = 0;
            for (++i; i < Literal.size() && std::isxdigit(static_cast<unsigned char>(Literal[i])); ++i) {
              value = value * 16 + (std::isdigit(static_cast<unsigned char>(Literal[i])) ? Literal[i] - '0' : (Literal[i] | 0x20) - 'a' + 10);
              if (value > 0xFF) Fail("hexadecimal escape above \\xFF");
            }
            --i;
            Add(to, static_cast<char>(value));
          } else if (e >= '0' && e <= '7') {
            int value = 0;
            for (int n = 0; n < 3 && i < Literal.size() && Literal[i] >= '0' && Literal[i] <= '7'; ++n, ++i) value = value * 8 + (Literal[i] - '0');
            --i;
            if (value > 0xFF) Fail("octal escape above \\377");
            Add(to, static_cast<char>(value));
          } else {
            Fail(std::string("unknown escape '\\") + e + "' in column " + vcl::IntToStr(static_cast<int>(Literal.data() - FRawLine.data() + i)));
          }
      }
    }
    if (Literal.substr(i + 1).find_first_not_of(" \t") != std::string_view::npos) Fail("text after the closing quote");
  }

  // One byte more of the string being read; past the characters an entry holds, it is refused
  // at once, so that a string of any size costs no more than that.
  void Add(std::string& To, char C) {
    To += C;
    if (vcl::StartsUtf8Char(static_cast<unsigned char>(C)) && ++FPartCharacters > Vek::MaxValueLength) {
      const char* const keyword = FPart == Part::Context ? "msgctxt" : FPart == Part::Id ? "msgid" : "msgstr";
      throw vcl::EReadError(FFileName + ", line " + vcl::IntToStr(FPartLine) + ": " + keyword + " has more than " +
                            vcl::IntToStr(static_cast<std::int64_t>(Vek::MaxValueLength)) + " characters, more than an entry holds");
    }
  }

  void Finish() {
    if (FMessage.Id && !FMessage.Str)  // only at the end: a keyword after msgid is caught where it stands
      throw vcl::EReadError(FFileName + ", line " + vcl::IntToStr(FMessage.Line) + ": the file ends before this message's msgstr");
    if (FMessage.Id) {
      const int line = FMessage.Line;
      if (!FMessage.Context && FMessage.Id->empty()) {
        CheckHeader(*FMessage.Str, line);
      } else {
        if (!FMessage.Context)
          throw vcl::EReadError(FFileName + ", line " + vcl::IntToStr(line) +
                                ": a message without msgctxt names no property (the context holds the property key)");
        const auto [seen, added] = FSeen.emplace(*FMessage.Context + '\x04' + *FMessage.Id, line);
        if (!added)
          throw vcl::EReadError(FFileName + ", line " + vcl::IntToStr(line) + ": message " + vcl::Excerpt(*FMessage.Context) +
                                " given twice (first on line " + vcl::IntToStr(seen->second) + ")");
        if (const std::string mismatch = FMessage.Fuzzy || FMessage.Str->empty() ? "" : LineBreakMismatch(*FMessage.Id, *FMessage.Str);
            !mismatch.empty())
          throw vcl::EReadError(FFileName + ", line " + vcl::IntToStr(FMessage.StrLines.front().second) + ": message " +
                                vcl::Excerpt(*FMessage.Context) + ": " + mismatch + ", which msgfmt --check refuses");
        TextUnit u;
        u.Key = *FMessage.Context;
        u.Source = *FMessage.Id;
        u.Target = *FMessage.Str;
        u.Fuzzy = FMessage.Fuzzy;
        u.Line = line;
        u.TargetLines = std::move(FMessage.StrLines);
        FUnits.push_back(std::move(u));
      }
    }
    FMessage = Message();
    FPart = Part::None;
  }

  void CheckHeader(const std::string& Header, int Line) {
    // "Name: value" lines; the first Language field counts, as gettext takes it.
    for (std::size_t start = 0; start < Header.size() && FLanguage.empty();) {
      const std::size_t end = std::min(Header.find('\n', start), Header.size());
      const std::string_view field = std::string_view(Header).substr(start, end - start);
      if (field.starts_with("Language:")) {
        const std::string_view value = field.substr(9);
        const std::size_t first = value.find_first_not_of(" \t"), last = value.find_last_not_of(" \t");
        if (first != std::string_view::npos) FLanguage = value.substr(first, last + 1 - first);
      }
      start = end + 1;
    }
    const std::size_t at = Header.find("charset=");
    if (at == std::string::npos) return;
    std::string charset = Header.substr(at + 8, Header.find_first_of(" ;\n", at + 8) - (at + 8));
    std::string upper = charset;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper != "UTF-8" && upper != "CHARSET" && upper != "ASCII" && upper != "US-ASCII")
      throw vcl::EReadError(FFileName + ", line " + vcl::IntToStr(Line) + ": charset '" + vcl::Excerpt(charset) +
                            "' is not read; convert the file with: msgconv --to-code=UTF-8");
  }

  std::string_view FBytes;
  const std::string& FFileName;
  int FLine = 0;
  std::string_view FRawLine;  // the line being read, for columns
  Message FMessage;
  Part FPart = Part::None;
  int FPartLine = 0;                   // where the keyword of the string being read stands
  std::size_t FPartCharacters = 0;     // its characters so far
  std::map<std::string, int> FSeen;
  std::vector<TextUnit> FUnits;
  std::string FLanguage;  // the header's Language field
};

}  // namespace

std::string WritePo(const std::vector<std::string>& HeaderFields, const std::vector<TextUnit>& Units) {
  std::string header;
  for (const std::string& f : HeaderFields) header += f + "\n";
  std::string out = "msgid \"\"\n" + Field("msgstr", header) + "\n";
  for (const TextUnit& u : Units) {
    for (const std::string_view line : vcl::SplitLines(u.Comment)) out += "# " + std::string(line) + "\n";
    if (!u.Note.empty()) out += "#. " + u.Note + "\n";
    if (u.Fuzzy) out += "#, fuzzy\n";  // kept for review, as read
    out += Field("msgctxt", u.Key) + Field("msgid", u.Source) + Field("msgstr", u.Target) + "\n";
  }
  return out;
}

std::vector<std::string> PoHeaderFields(const std::string& Project, const std::string& Language, int Locale, const std::string& Date) {
  return {"Project-Id-Version: " + vcl::AnsiToUtf8(Project), "PO-Revision-Date: " + Date, "Last-Translator: ", "Language-Team: ",
          "Language: " + (Language.empty() ? std::string("und") : Language), "MIME-Version: 1.0",
          "Content-Type: text/plain; charset=UTF-8", "Content-Transfer-Encoding: 8bit", "X-Generator: lumetra",
          "X-Lumetra-Locale: " + vcl::IntToStr(Locale)};
}

std::string LineBreakMismatch(std::string_view Id, std::string_view Str) {
  for (const bool atEnd : {false, true}) {
    const auto breaks = [atEnd](std::string_view S) { return atEnd ? S.ends_with('\n') : S.starts_with('\n'); };
    if (breaks(Id) != breaks(Str))
      return std::string("the ") + (breaks(Id) ? "msgid" : "msgstr") + (atEnd ? " ends" : " begins") + " in a line break and the " +
             (breaks(Id) ? "msgstr" : "msgid") + " does not";
  }
  return "";
}

std::vector<TextUnit> ReadPo(std::string_view Bytes, const std::string& FileName, std::string* Language) {
  return PoReader(Bytes, FileName).Read(Language);
}

}  // namespace exchange
