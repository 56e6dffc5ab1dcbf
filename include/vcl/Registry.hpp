// TRegIniFile: per-user settings in sections and values, all kept as strings: the registry
// under HKEY_CURRENT_USER on Windows, an INI file under the user's configuration folder elsewhere.
#pragma once

#include <string>

#include "vcl/Classes.hpp"

namespace vcl {

/// A registry or settings-file error; the message names the key or file and the value.
class ERegistryException : public Exception {
public:
  using Exception::Exception;
};

/// Settings under one key path (e.g. "Software\Brevane"): a section is a subkey, an ident a
/// value. Booleans are stored as "0" and "1", integers in decimal, every value as a string
/// (REG_SZ). On systems without a registry the key path names an INI file:
/// $XDG_CONFIG_HOME (or ~/.config) / the path with "\" as "/" + ".ini", with the same
/// sections, idents and values; "\", CR and LF in values are written as \\, \r and \n.
class TRegIniFile : public TObject {
  VCL_DECLARE_CLASS
public:
  explicit TRegIniFile(std::string FileName);
  const std::string& FileName() const { return FFileName; }

  /// The value, or Default when the section or ident is missing.
  std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const;
  /// The value as a decimal integer, or Default when missing or not a number.
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
  /// "0" is false, any other number true; Default when missing or not a number.
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
  /// Writes the value at once. Raises ERegistryException naming the key or file when it cannot.
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
  void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);

#ifndef _WIN32
  /// The INI file that holds the settings.
  std::string IniFileName() const;
#endif

private:
  std::string FFileName;
};

}  // namespace vcl
