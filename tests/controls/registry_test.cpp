// TRegIniFile: REG_SZ values under HKCU on Windows, an INI file that round-trips every value
// elsewhere.
#include "test_support.hpp"
#include "vcl/Registry.hpp"
#include "win/api.h"

#include <cstdlib>

using namespace vcl;

namespace {

const char* const Values[] = {"", "Arial", " spaced  ", "a=b=c", "back\\slash\\", "two\r\nlines", "[not a section]",
                              "caf\xe9", "\\r literally"};

}  // namespace

TEST(RegIniFile, EveryValueComesBackAndMissingOnesGiveTheDefault) {
#ifndef _WIN32
  testing_support::ScratchDir dir;
  setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
#endif
  const std::string key = "Software\\LumetraTest";
  {
    TRegIniFile ini(key);
    for (std::size_t i = 0; i < std::size(Values); ++i) ini.WriteString("Values", "V" + IntToStr(static_cast<int>(i)), Values[i]);
    ini.WriteBool("Korrin", "MoveNextUntranslated", true);
    ini.WriteInteger("Korrin", "ReadingOrderIndex", 1);
    ini.WriteString("Korrin", "EditFontName", "Arial");
    ini.WriteInteger("Korrin", "ReadingOrderIndex", 0);  // rewritten in place
  }
  TRegIniFile ini(key);
  for (std::size_t i = 0; i < std::size(Values); ++i)
    EXPECT_EQ(ini.ReadString("Values", "V" + IntToStr(static_cast<int>(i)), "default"), Values[i]) << "value " << i;
  EXPECT_TRUE(ini.ReadBool("Korrin", "MoveNextUntranslated", false));
  EXPECT_EQ(ini.ReadInteger("Korrin", "ReadingOrderIndex", 7), 0);
  EXPECT_EQ(ini.ReadInteger("Korrin", "EditFontName", 7), 7) << "not a number";
  EXPECT_EQ(ini.ReadString("Korrin", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("NoSection", "EditFontName", "dflt"), "dflt");
  EXPECT_FALSE(ini.ReadBool("NoSection", "X", false));

#ifdef _WIN32
  // Every value is a string in the registry.
  for (const char* name : {"MoveNextUntranslated", "ReadingOrderIndex", "EditFontName"}) {
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\LumetraTest\\Korrin", 0, KEY_READ, &h), ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(h, name, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS) << name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << name;
    RegCloseKey(h);
  }
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\LumetraTest\\Korrin");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\LumetraTest\\Values");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\LumetraTest");
#else
  EXPECT_EQ(ini.IniFileName(), (dir.Path() / "Software" / "LumetraTest.ini").string());
  const std::string text = testing_support::ReadFile(ini.IniFileName());
  EXPECT_NE(text.find("[Korrin]\r\nMoveNextUntranslated=1\r\nReadingOrderIndex=0\r\nEditFontName=Arial\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("V5=two\\r\\nlines\r\n"), std::string::npos) << text;
  unsetenv("XDG_CONFIG_HOME");
#endif
}
