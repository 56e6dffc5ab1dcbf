// Pascal-style run-time helpers and the class library's exception classes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <variant>

namespace vcl {

/// Base of every exception the class library and Lumetra raise; carries one message.
class Exception : public std::exception {
public:
  explicit Exception(std::string AMessage) : FMessage(std::move(AMessage)) {}
  const std::string& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};

/// A text that is not a number, or a literal that cannot be decoded.
class EConvertError : public Exception {
public:
  using Exception::Exception;
};

/// An index outside a list.
class EListError : public Exception {
public:
  using Exception::Exception;
};

/// Base of the stream and file errors.
class EStreamError : public Exception {
public:
  using Exception::Exception;
};

/// A file that cannot be opened for reading.
class EFOpenError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

/// A file that cannot be created or written.
class EFCreateError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

/// A form stream that cannot be read: truncated, malformed or hostile input.
class EReadError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

/// A form stream that cannot be written.
class EWriteError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

/// The decimal form of Value, with a leading "-" for negative values.
std::string IntToStr(std::int64_t Value);

/// Whether A and B are the same text without regard to the case of ASCII letters (other bytes
/// compare as they stand), as names of classes, faces, properties and extensions compare.
bool SameText(std::string_view A, std::string_view B);

/// Reads optional leading blanks, an optional sign, then decimal digits or "$" and hexadecimal
/// digits, as a 32-bit integer. Anything else, or a value out of range, raises EConvertError
/// "'<text>' is not a valid integer value".
int StrToInt(std::string_view S);

/// As StrToInt, but answers false instead of raising.
bool TryStrToInt(std::string_view S, int& Value);

/// One argument of Format: an integer or a text.
using TVarRec = std::variant<std::int64_t, std::string_view>;

/// Pascal-style formatting: "%s", "%d", "%x" (hexadecimal) and "%%". A directive that does not
/// fit its argument, or too few arguments, raises EConvertError naming the format.
std::string Format(std::string_view Fmt, std::initializer_list<TVarRec> Args);

/// True when FileName names an existing regular file.
bool FileExists(const std::string& FileName);

/// The directory part of FileName, up to and including the last "\", "/" or drive ":".
std::string ExtractFilePath(const std::string& FileName);

// ---- Messages that may quote files ----------------------------------------------------------

/// How many bytes of a text quoted from a file a message shows (Excerpt's default).
inline constexpr std::size_t ExcerptLength = 80;
/// How many bytes of one message are shown at most, whatever it quotes.
inline constexpr std::size_t MessageLength = 4096;
/// How many messages of one kind a MessageLog prints; the rest are counted.
inline constexpr int MessagesOfAKind = 20;

/// Text that may hold bytes from a file, as a terminal may show it: control characters, DEL
/// and bytes from 0x80 up as #nn (decimal, a NUL as #0), so that no escape sequence reaches the
/// terminal. Line breaks stay when KeepLineBreaks. Never fails.
std::string Escaped(std::string_view S, bool KeepLineBreaks = false);

/// Text quoted in a message: S itself when it has at most Length bytes, otherwise its first
/// Length bytes, "..." and how many bytes were left out. Never fails.
std::string Excerpt(std::string_view S, std::size_t Length = ExcerptLength);

/// The messages of a program on a stream, one line each ("<prefix>: <message>"): escaped, cut
/// to MessageLength bytes, and of each kind (a message with an empty Kind is of none) only the
/// first MessagesOfAKind, the others counted until Flush says how many there were.
class MessageLog {
public:
  MessageLog(std::FILE* To, std::string_view Prefix) : FTo(To), FPrefix(Escaped(Prefix)) {}
  /// Flushes: the counts of what was not shown are printed.
  ~MessageLog() { Flush(); }
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  /// Prints Message, or counts it when MessagesOfAKind of Kind were printed since the last
  /// Flush. Kind names the messages in the count ("warnings": "warnings: 12 more not shown").
  /// Line breaks in Message stay when KeepLineBreaks (text of the program's own, such as usage).
  void Print(std::string_view Message, const std::string& Kind = std::string(), bool KeepLineBreaks = false);
  /// Prints, for each kind that had messages not shown, how many; then counts anew.
  void Flush();

private:
  std::FILE* FTo;
  std::string FPrefix;
  std::map<std::string, int> FCounts;  // messages of each kind since the last Flush
};

}  // namespace vcl
