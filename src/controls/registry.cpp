// TRegIniFile on the registry (Windows) or on an INI file under the user's configuration folder.
#include "vcl/Registry.hpp"

#include <cstdlib>
#include <filesystem>

#include "win/api.h"

namespace vcl {

VCL_IMPLEMENT_CLASS(TRegIniFile, TObject)

TRegIniFile::TRegIniFile(std::string FileName) : FFileName(std::move(FileName)) {}

int TRegIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) const {
  int value = 0;
  return TryStrToInt(ReadString(Section, Ident, ""), value) ? value : Default;
}

bool TRegIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

void TRegIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

#ifdef _WIN32

std::string TRegIniFile::ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const {
  const std::string path = Section.empty() ? FFileName : FFileName + "\\" + Section;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return Default;
  DWORD type = 0, size = 0;
  std::string value = Default;
  if (RegQueryValueExA(key, Ident.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
    std::string buffer(size, '\0');
    if (RegQueryValueExA(key, Ident.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS) {
      buffer.resize(size);
      while (!buffer.empty() && buffer.back() == '\0') buffer.pop_back();
      value = std::move(buffer);
    }
  }
  RegCloseKey(key);
  return value;
}

void TRegIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  const std::string path = Section.empty() ? FFileName : FFileName + "\\" + Section;
  HKEY key = nullptr;
  LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (rc != ERROR_SUCCESS) throw ERegistryException("Failed to create key HKEY_CURRENT_USER\\" + path + " (error " + IntToStr(rc) + ")");
  rc = RegSetValueExA(key, Ident.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                      static_cast<DWORD>(Value.size() + 1));
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS)
    throw ERegistryException("Failed to set data for " + Ident + " in HKEY_CURRENT_USER\\" + path + " (error " + IntToStr(rc) + ")");
}

#else

namespace {

std::string Escape(const std::string& Value) {
  std::string out;
  for (char c : Value) {
    if (c == '\\') out += "\\\\";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

std::string Unescape(const std::string& Value) {
  std::string out;
  for (std::size_t i = 0; i < Value.size(); ++i) {
    if (Value[i] != '\\' || i + 1 == Value.size()) {
      out += Value[i];
      continue;
    }
    const char next = Value[++i];
    out += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
  }
  return out;
}

// The line range [First, End) of a section's values in Lines, or First = -1.
std::pair<int, int> FindSection(const TStringList& Lines, const std::string& Section) {
  const std::string header = "[" + Section + "]";
  for (int i = 0; i < Lines.Count(); ++i)
    if (Lines.Get(i) == header) {
      int end = i + 1;
      while (end < Lines.Count() && !(Lines.Get(end).size() > 1 && Lines.Get(end)[0] == '[')) ++end;
      return {i + 1, end};
    }
  return {-1, -1};
}

int FindIdent(const TStringList& Lines, std::pair<int, int> Range, const std::string& Ident) {
  const std::string prefix = Escape(Ident) + "=";
  for (int i = Range.first; i >= 0 && i < Range.second; ++i)
    if (Lines.Get(i).rfind(prefix, 0) == 0) return i;
  return -1;
}

}  // namespace

std::string TRegIniFile::IniFileName() const {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home) base = std::filesystem::path(home) / ".config";
  else throw ERegistryException("No configuration folder for " + FFileName + ": neither XDG_CONFIG_HOME nor HOME is set");
  std::string relative = FFileName;
  for (char& c : relative)
    if (c == '\\') c = '/';
  while (!relative.empty() && relative.front() == '/') relative.erase(0, 1);
  return (base / (relative + ".ini")).string();
}

std::string TRegIniFile::ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const {
  const std::string file = IniFileName();
  if (!FileExists(file)) return Default;
  TStringList lines;
  lines.LoadFromFile(file);
  const int at = FindIdent(lines, FindSection(lines, Section), Ident);
  if (at < 0) return Default;
  return Unescape(lines.Get(at).substr(Escape(Ident).size() + 1));
}

void TRegIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  const std::string file = IniFileName();
  TStringList lines;
  if (FileExists(file)) lines.LoadFromFile(file);
  const std::string line = Escape(Ident) + "=" + Escape(Value);
  auto range = FindSection(lines, Section);
  if (range.first < 0) {
    lines.Add("[" + Section + "]");
    lines.Add(line);
  } else if (const int at = FindIdent(lines, range, Ident); at >= 0) {
    lines.Put(at, line);
  } else {
    int end = range.second;
    while (end > range.first && lines.Get(end - 1).empty()) --end;  // before the blank line
    lines.Insert(end, line);
  }
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), error);
  try {
    lines.SaveToFile(file);
  } catch (const EFCreateError& e) {
    throw ERegistryException("Failed to set data for " + Ident + " in " + file + ": " + e.Message());
  }
}

#endif

}  // namespace vcl
