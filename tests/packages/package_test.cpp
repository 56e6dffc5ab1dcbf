// The packages loaded the way a host loads them: every export and resource present and right
// (read with FindResource/LoadResource under Windows, through FindPackageResource elsewhere),
// and the counted Initialize and Finalize.
#include <cstring>
#include <filesystem>

#include "Vek.hpp"
#include "design/Packages.hpp"
#include "test_support.hpp"
#include "vcl/Dialogs.hpp"
#include "vcl/Forms.hpp"

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace {

class Package {
public:
  explicit Package(const char* Path) {
#ifdef _WIN32
    FHandle = LoadLibraryA(Path);
#else
    FHandle = dlopen(Path, RTLD_NOW | RTLD_LOCAL);
#endif
  }
  ~Package() {
#ifdef _WIN32
    if (FHandle) FreeLibrary(Module());
#else
    if (FHandle) dlclose(FHandle);
#endif
  }
  Package(const Package&) = delete;
  Package& operator=(const Package&) = delete;

  bool Loaded() const { return FHandle != nullptr; }
  void* Export(const char* Name) const {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(Module(), Name));
#else
    return dlsym(FHandle, Name);
#endif
  }
  template <class F>
  F Function(const char* Name) const {
    return reinterpret_cast<F>(Export(Name));
  }

  // The bytes of a resource and its language; empty when there is none.
  std::string Resource(const char* Type, const char* Name, unsigned* Language = nullptr) const {
    auto find = Function<design::TFindPackageResource>("FindPackageResource");
    unsigned language = 0xFFFF;
    std::size_t size = 0;
    const void* data = find ? find(Type, Name, &language, &size) : nullptr;
    std::string viaExport = data ? std::string(static_cast<const char*>(data), size) : std::string();
#ifdef _WIN32
    // The module's own resources as the system reads them must be what the export answers.
    HRSRC info = FindResourceA(Module(), Name, Type);
    HGLOBAL loaded = info ? LoadResource(Module(), info) : nullptr;
    std::string bytes = loaded ? std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(Module(), info))
                               : std::string();
    EXPECT_EQ(bytes, viaExport) << Type << " " << Name;
#endif
    if (Language) *Language = language;
    return viaExport;
  }

#ifdef _WIN32
  HMODULE Module() const { return static_cast<HMODULE>(FHandle); }
#endif

private:
  void* FHandle = nullptr;
};

struct Unit {
  std::string Name;
  unsigned Flags;
};

struct PackageCase {
  const char* Name;
  const char* Path;
  std::uint32_t Flags;
  std::vector<std::string> Requires;
  std::vector<Unit> Contains;
  bool InfoTable;
  bool Icon;
  bool EditorFirst;
};

const unsigned Main = 0x03, Weak = 0x0C, Implicit = 0x10;

const PackageCase Cases[] = {
    {"VekD4", LUMETRA_VEKD4, 0x4C000001, {"Vclx40", "vcl40"},
     {{"VekD4", Main}, {"VekEdit", 0}, {"Vek", 0}, {"SysInit", Implicit}}, true, true, true},
    {"VekD3", LUMETRA_VEKD3, 0x40000000, {"vclx30", "vcl30"},
     {{"VekD3", Main}, {"Vek", 0}, {"VekEdit", 0}, {"SysInit", Implicit}}, true, false, false},
    {"Vekc3", LUMETRA_VEKC3, 0x40000001, {"VCLX35", "VCL35"},
     {{"Sysinit", Implicit}, {"Windows", Weak}, {"Messages", Weak}, {"Winspool", Weak}, {"Imm", Weak}, {"CommCtrl", Weak},
      {"Richedit", Weak}, {"Commdlg", Weak}, {"Dlgs", Weak}, {"Vek", 0}, {"Vekedit", 0}, {"Vekc3", Main}},
     false, true, false},
};

// Little-endian reads from a resource, failing the test (not the process) past its end.
class Reader {
public:
  explicit Reader(std::string Bytes) : FBytes(std::move(Bytes)) {}
  bool Fits(std::size_t N) const { return FAt + N <= FBytes.size(); }
  unsigned Byte() { return Fits(1) ? static_cast<unsigned char>(FBytes[FAt++]) : (Overrun(), 0u); }
  unsigned Word() { return Byte() | Byte() << 8; }
  std::uint32_t Dword() { return Word() | static_cast<std::uint32_t>(Word()) << 16; }
  std::string ZString() {
    std::string s;
    while (Fits(1) && FBytes[FAt] != '\0') s += FBytes[FAt++];
    Byte();
    return s;
  }
  std::string ShortString() {
    const unsigned n = Byte();
    if (!Fits(n)) return Overrun(), std::string();
    std::string s = FBytes.substr(FAt, n);
    FAt += n;
    return s;
  }
  std::string Wide() {  // zero-ended UTF-16LE holding ASCII
    std::string s;
    for (unsigned c = Word(); c != 0 && Fits(0); c = Word()) s += static_cast<char>(c);
    return s;
  }
  void Align4(std::size_t Base) {
    while ((FAt - Base) % 4) ++FAt;
  }
  std::size_t At() const { return FAt; }
  void Seek(std::size_t At) { FAt = At; }
  bool AtEnd() const { return FAt == FBytes.size(); }

private:
  void Overrun() { ADD_FAILURE() << "read past the end of " << FBytes.size() << " bytes"; }
  std::string FBytes;
  std::size_t FAt = 0;
};

class PackageTest : public ::testing::TestWithParam<PackageCase> {};

TEST_P(PackageTest, ExportsItsEntriesByName) {
  const PackageCase& c = GetParam();
  Package p(c.Path);
  ASSERT_TRUE(p.Loaded()) << c.Path;
  for (const char* name : {"Initialize", "Finalize", "FindPackageResource", "RegisterDialogClass", "UnRegisterDialogClass",
                           "ComDlgProc", "Register"})
    EXPECT_NE(p.Export(name), nullptr) << c.Name << " exports " << name;
  EXPECT_EQ(p.Export("GetPackageInfoTable") != nullptr, c.InfoTable) << c.Name;
}

// The help verb opens the help document in the package's own folder (Vek::ShowHelp on
// Vek::ModuleDir()): the build puts it there, as cmake --install does (tests/install).
TEST_P(PackageTest, TheHelpDocumentLiesBesideThePackage) {
  const std::filesystem::path help = std::filesystem::path(GetParam().Path).parent_path() / Vek::HelpDocument;
  EXPECT_TRUE(std::filesystem::is_regular_file(help)) << help;
  EXPECT_NE(testing_support::ReadFile(help.string()).find("<html"), std::string::npos) << help;
}

TEST_P(PackageTest, PackageInfoNamesItsFlagsRequiredPackagesAndUnits) {
  const PackageCase& c = GetParam();
  Package p(c.Path);
  ASSERT_TRUE(p.Loaded()) << c.Path;
  unsigned language = 0;
  Reader r(p.Resource("#10", "PACKAGEINFO", &language));
  EXPECT_EQ(language, 0u) << "raw data in the neutral language";
  EXPECT_EQ(r.Dword(), c.Flags);
  std::vector<std::string> required;
  for (std::uint32_t n = r.Dword(); n > 0 && r.Fits(1); --n) {
    r.Byte();  // the hash
    required.push_back(r.ZString());
  }
  EXPECT_EQ(required, c.Requires);
  std::vector<std::string> names, expectedNames;
  for (std::uint32_t n = r.Dword(); n > 0 && r.Fits(1); --n) {
    const unsigned flags = r.Byte();
    r.Byte();
    names.push_back(r.ZString());
    for (const Unit& u : c.Contains)
      if (u.Name == names.back()) {
        EXPECT_EQ(flags, u.Flags) << c.Name << " unit " << u.Name;
      }
  }
  for (const Unit& u : c.Contains) expectedNames.push_back(u.Name);
  EXPECT_EQ(names, expectedNames);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(c.Flags & 0x6, 0u) << "neither design-only nor run-only";
}

TEST_P(PackageTest, DescriptionAndOptionsHoldTheDescription) {
  const PackageCase& c = GetParam();
  Package p(c.Path);
  ASSERT_TRUE(p.Loaded()) << c.Path;
  unsigned language = 0;
  const std::string description = p.Resource("#10", "DESCRIPTION", &language);
  EXPECT_EQ(description, std::string("B\0r\0e\0v\0a\0n\0e\0 \0L\0u\0m\0e\0t\0r\0a\0\0\0", 32));
  EXPECT_EQ(language, 0u);

  Reader options(p.Resource("#10", "PACKAGEOPTIONS", &language));
  EXPECT_EQ(language, 0u);
  if (std::string(c.Name) == "Vekc3") {
    EXPECT_EQ(options.Dword(), 0u);
    EXPECT_TRUE(options.AtEnd()) << "a block of 4 bytes";
    return;
  }
  for (int i = 0; i < 26; ++i) options.Byte();  // the switches A to Z
  EXPECT_EQ(options.Byte(), (c.Flags & 1) ? 1u : 0u) << "never-build as the package information says";
  EXPECT_EQ(options.ShortString(), "WinTypes=Windows;WinProcs=Windows;DbiTypes=BDE;DbiProcs=BDE;DbiErrs=BDE;");
  EXPECT_EQ(options.ShortString(), "Brevane Lumetra");
  EXPECT_TRUE(options.AtEnd());
}

TEST_P(PackageTest, PaletteGlyphIs24By24With256Colours) {
  const PackageCase& c = GetParam();
  Package p(c.Path);
  ASSERT_TRUE(p.Loaded()) << c.Path;
  unsigned language = 0;
  const std::string bitmap = p.Resource("#2", "TLUMETRA", &language);
  EXPECT_EQ(language, 0x041Du);
  ASSERT_EQ(bitmap.size(), 40u + 256 * 4 + 24 * 24) << "header, palette and 24 rows of 24 bytes";
  Reader r(bitmap);
  EXPECT_EQ(r.Dword(), 40u);
  EXPECT_EQ(r.Dword(), 24u);
  EXPECT_EQ(r.Dword(), 24u);
  EXPECT_EQ(r.Word(), 1u);
  EXPECT_EQ(r.Word(), 8u);
  EXPECT_EQ(r.Dword(), 0u) << "uncompressed";
  r.Dword(), r.Dword(), r.Dword();
  EXPECT_EQ(r.Dword(), 256u) << "palette entries";
#ifdef _WIN32
  HANDLE image = LoadImageA(p.Module(), "TLUMETRA", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  ASSERT_NE(image, nullptr);
  BITMAP info{};
  ASSERT_TRUE(GetObjectA(image, sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 24);
  EXPECT_EQ(info.bmHeight, 24);
  EXPECT_EQ(info.bmBitsPixel, 8);
  DeleteObject(image);
#endif
}

TEST_P(PackageTest, EditorFormIsAStoredFormOfTDlgEditor) {
  const PackageCase& c = GetParam();
  Package p(c.Path);
  ASSERT_TRUE(p.Loaded()) << c.Path;
  unsigned language = 0;
  const std::string form = p.Resource("#10", "TDLGEDITOR", &language);
  EXPECT_EQ(language, 0u);
  EXPECT_EQ(form.substr(0, 4), "TPF0");
  EXPECT_EQ(form.substr(4, 11), "\x0ATDlgEditor");
}

TEST_P(PackageTest, MainIconOnlyWhereTheHostHasOne) {
  const PackageCase& c = GetParam();
  Package p(c.Path);
  ASSERT_TRUE(p.Loaded()) << c.Path;
  unsigned language = 0;
  Reader group(p.Resource("#14", "MAINICON", &language));
  if (!c.Icon) {
    EXPECT_TRUE(group.AtEnd()) << c.Name << " has no icon";
    return;
  }
  EXPECT_EQ(language, 0x041Du);
  EXPECT_EQ(group.Word(), 0u);
  EXPECT_EQ(group.Word(), 1u) << "an icon";
  ASSERT_EQ(group.Word(), 1u) << "one image";
  EXPECT_EQ(group.Byte(), 32u);
  EXPECT_EQ(group.Byte(), 32u);
  EXPECT_EQ(group.Byte(), 16u) << "colours";
  group.Byte(), group.Word();
  EXPECT_EQ(group.Word(), 4u) << "bits per pixel";
  const std::uint32_t size = group.Dword();
  const unsigned id = group.Word();
  const std::string image = p.Resource("#3", ("#" + std::to_string(id)).c_str());
  EXPECT_EQ(image.size(), size);
  Reader header(image);
  EXPECT_EQ(header.Dword(), 40u);
  EXPECT_EQ(header.Dword(), 32u);
  EXPECT_EQ(header.Dword(), 64u) << "colours and mask";
#ifdef _WIN32
  HANDLE icon = LoadImageA(p.Module(), "MAINICON", IMAGE_ICON, 32, 32, 0);
  EXPECT_NE(icon, nullptr);
  if (icon) DestroyIcon(static_cast<HICON>(icon));
#endif
}

// The strings of a version block's string table, by key, after checking its frame.
std::vector<std::pair<std::string, std::string>> VersionStrings(const std::string& Block, std::uint32_t& FileMs,
                                                                std::uint32_t& FileLs, std::uint32_t& Translation) {
  std::vector<std::pair<std::string, std::string>> strings;
  Reader r(Block);
  EXPECT_EQ(r.Word(), Block.size());
  EXPECT_EQ(r.Word(), 52u);
  r.Word();
  EXPECT_EQ(r.Wide(), "VS_VERSION_INFO");
  r.Align4(0);
  EXPECT_EQ(r.Dword(), 0xFEEF04BDu);
  r.Dword();
  FileMs = r.Dword(), FileLs = r.Dword();
  EXPECT_EQ(r.Dword(), FileMs) << "product version as file version";
  EXPECT_EQ(r.Dword(), FileLs);
  for (int i = 0; i < 7; ++i) r.Dword();
  while (r.Fits(6)) {
    r.Align4(0);
    const std::size_t start = r.At();
    const unsigned length = r.Word();
    r.Word(), r.Word();
    const std::string key = r.Wide();
    r.Align4(0);
    if (key == "StringFileInfo") {
      r.Word(), r.Word(), r.Word();
      EXPECT_EQ(r.Wide(), "041D04E4");
      r.Align4(0);
      while (r.At() < start + length) {
        const std::size_t at = r.At();
        const unsigned n = r.Word();
        r.Word(), r.Word();
        const std::string name = r.Wide();
        r.Align4(0);
        strings.emplace_back(name, r.Wide());
        r.Seek(at + n);
        r.Align4(0);
      }
    } else if (key == "VarFileInfo") {
      r.Word(), r.Word(), r.Word();
      EXPECT_EQ(r.Wide(), "Translation");
      r.Align4(0);
      Translation = r.Dword();
    }
    r.Seek(start + length);
  }
  return strings;
}

TEST_P(PackageTest, VersionBlockSays1000InTheSwedishStringTable) {
  const PackageCase& c = GetParam();
  Package p(c.Path);
  ASSERT_TRUE(p.Loaded()) << c.Path;
  unsigned language = 0;
  const std::string block = p.Resource("#16", "#1", &language);
  ASSERT_FALSE(block.empty());
  EXPECT_EQ(language, 0x041Du);
  std::uint32_t ms = 0, ls = 0, translation = 0;
  for (const auto& [key, value] : VersionStrings(block, ms, ls, translation))
    EXPECT_EQ(value, key == "FileVersion" || key == "ProductVersion" ? "1.0.0.0" : "") << key;
  EXPECT_EQ(ms, 0x00010000u);
  EXPECT_EQ(ls, 0u);
  EXPECT_EQ(translation, 0x04E4041Du) << "language 0x041D, code page 1252";
#ifdef _WIN32
  // The system's own reader finds the strings where a host looks for them.
  char path[MAX_PATH];
  GetModuleFileNameA(p.Module(), path, MAX_PATH);
  DWORD ignored = 0;
  std::string info(GetFileVersionInfoSizeA(path, &ignored), '\0');
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(info.size()), info.data()));
  char* value = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\041D04E4\\FileVersion", reinterpret_cast<void**>(&value), &size));
  EXPECT_STREQ(value, "1.0.0.0");
#endif
}

TEST_P(PackageTest, LoadingRunsNoUnitCodeAndInitializeRunsEachUnitOnce) {
  const PackageCase& c = GetParam();
  const vcl::TProcedure exitBefore = vcl::ExitProc;
  const vcl::TClass dialog = vcl::TOpenDialog::StaticClass();
  const vcl::TCodePointer ownEntry = dialog->Entry(vcl::TCommonDialog::MessageHookSlot());
  {
    Package p(c.Path);
    ASSERT_TRUE(p.Loaded()) << c.Path;
    EXPECT_EQ(vcl::GetClass("TLumetra"), nullptr) << "loading alone starts no unit";
    EXPECT_EQ(vcl::ExitProc, exitBefore);
    auto initialize = p.Function<design::TPackageProc>("Initialize");
    auto finalize = p.Function<design::TPackageProc>("Finalize");
    auto registerClass = p.Function<bool (*)(vcl::TClass)>("RegisterDialogClass");
    ASSERT_TRUE(initialize && finalize && registerClass);

    initialize();
    const vcl::TProcedure unitExit = vcl::ExitProc;
    EXPECT_NE(unitExit, exitBefore) << "unit Vek chained its exit procedure";
    initialize();
    EXPECT_EQ(vcl::ExitProc, unitExit);
    ASSERT_TRUE(registerClass(dialog));
    EXPECT_FALSE(registerClass(dialog)) << "the same class registry: the unit did not start again";

    finalize();
    EXPECT_NE(vcl::GetClass("TLumetra"), nullptr) << "one Initialize is still open";
    EXPECT_NE(dialog->Entry(vcl::TCommonDialog::MessageHookSlot()), ownEntry);
    finalize();
    EXPECT_EQ(vcl::GetClass("TLumetra"), nullptr);
    EXPECT_EQ(dialog->Entry(vcl::TCommonDialog::MessageHookSlot()), ownEntry);
    EXPECT_EQ(vcl::ExitProc, exitBefore) << "the chain skips the unit, as it was before the first Initialize";
    finalize();  // one too many changes nothing
    EXPECT_EQ(vcl::ExitProc, exitBefore);

    initialize();  // and the unit starts again
    EXPECT_NE(vcl::GetClass("TLumetra"), nullptr);
    finalize();
  }
  EXPECT_EQ(vcl::ExitProc, exitBefore);
}

TEST_P(PackageTest, UnitTableListsTheUnitsInInitializationOrder) {
  const PackageCase& c = GetParam();
  if (!c.InfoTable) GTEST_SKIP() << c.Name << " exports no unit table";
  Package p(c.Path);
  ASSERT_TRUE(p.Loaded()) << c.Path;
  const design::TPackageInfoTable* table = p.Function<design::TGetPackageInfoTable>("GetPackageInfoTable")();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->UnitCount, 2);
  // Only unit Vek's initialization registers the translator with form streaming.
  const int vek = c.EditorFirst ? 1 : 0, vekEdit = 1 - vek;
  table->UnitInfo[vekEdit].Init();
  EXPECT_EQ(vcl::GetClass("TLumetra"), nullptr) << "VekEdit first in " << c.Name;
  table->UnitInfo[vek].Init();
  EXPECT_NE(vcl::GetClass("TLumetra"), nullptr);
  table->UnitInfo[vek].FInit();
  table->UnitInfo[vekEdit].FInit();
  EXPECT_EQ(vcl::GetClass("TLumetra"), nullptr);
}

#ifdef _WIN32
// A language resource module beside the package, named after the user's language, supplies
// the resources in place of the package; without one the package's own are used (above).
TEST(PackageResources, ComeFromTheLanguageResourceModuleBesideThePackage) {
  testing_support::ScratchDir dir;
  char language[16] = "";
  ASSERT_TRUE(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVLANGNAME, language, sizeof language));
  const std::filesystem::path package = dir.Path() / "VekD4.bpl";
  std::filesystem::copy_file(LUMETRA_VEKD4, package);
  std::filesystem::copy_file(LUMETRA_LANGUAGE_MODULE, dir.Path() / ("VekD4." + std::string(language)));
  Package p(package.string().c_str());
  ASSERT_TRUE(p.Loaded()) << package;
  auto find = p.Function<design::TFindPackageResource>("FindPackageResource");
  std::size_t size = 0;
  const void* data = find("#10", "DESCRIPTION", nullptr, &size);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(data), size), std::string("L\0u\0m\0e\0t\0r\0a\0 \0S\0V\0\0\0", 22));
}
#endif

INSTANTIATE_TEST_SUITE_P(Packages, PackageTest, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<PackageCase>& p) { return std::string(p.param.Name); });

}  // namespace
