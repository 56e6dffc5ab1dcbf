// lumetra-pkgres: writes the resources of the three packages at build time, as files for the
// resource compiler and as byte tables for the shared libraries that carry them as data.
//
//   lumetra-pkgres OUTDIR EDITOR.form
//
// For each package it writes OUTDIR/<package>/ PACKAGEINFO, DESCRIPTION, PACKAGEOPTIONS,
// TLUMETRA.bmp, MAINICON.ico (VekD4 and Vekc3), VERSION (the binary version block) and
// resources.cpp (every resource as it reads on Windows, with its type, name and language).
//
// Notes:
// - The package information follows the hosts' published layout: flags, the required packages
//   (hash byte, zero-ended name), the contained units (flags byte, hash byte, zero-ended name).
//   The hosts' compilers fill the hash bytes with a hash of their own; ours is the 8-bit
//   rotate-and-xor of the upper-case name (PackageHash), which no reader of ours depends on.
// - The bitmap and the icon are drawn here, so that the glyph is code under review rather than
//   an opaque file: a dialog window with its title bar and a speech mark on it.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutByte(Bytes& B, unsigned V) { B.push_back(static_cast<std::uint8_t>(V)); }
void PutWord(Bytes& B, unsigned V) {
  PutByte(B, V & 0xFF);
  PutByte(B, (V >> 8) & 0xFF);
}
void PutDword(Bytes& B, std::uint32_t V) {
  PutWord(B, V & 0xFFFF);
  PutWord(B, V >> 16);
}
void PatchWord(Bytes& B, std::size_t At, unsigned V) {
  B[At] = static_cast<std::uint8_t>(V & 0xFF);
  B[At + 1] = static_cast<std::uint8_t>((V >> 8) & 0xFF);
}
void PutZString(Bytes& B, const std::string& S) {
  for (char c : S) PutByte(B, static_cast<unsigned char>(c));
  PutByte(B, 0);
}
void PutShortString(Bytes& B, const std::string& S) {
  if (S.size() > 255) throw std::length_error("string of " + std::to_string(S.size()) + " bytes has no length byte: " + S);
  PutByte(B, static_cast<unsigned>(S.size()));
  for (char c : S) PutByte(B, static_cast<unsigned char>(c));
}
void PutWide(Bytes& B, const std::string& S) {  // ASCII text as UTF-16LE, zero-ended
  for (char c : S) PutWord(B, static_cast<unsigned char>(c));
  PutWord(B, 0);
}
void Align4(Bytes& B) {
  while (B.size() % 4) PutByte(B, 0);
}

std::uint8_t PackageHash(const std::string& Name) {
  unsigned h = 0;
  for (char c : Name) {
    h = ((h << 1) | (h >> 7)) & 0xFF;
    h ^= static_cast<unsigned>(std::toupper(static_cast<unsigned char>(c)));
  }
  return static_cast<std::uint8_t>(h);
}

// Unit flags of the package information.
enum : std::uint8_t {
  ufMainUnit = 0x01,
  ufPackageUnit = 0x02,
  ufWeakUnit = 0x04,
  ufOrgWeakUnit = 0x08,
  ufImplicitUnit = 0x10,
};

struct Unit {
  std::string Name;
  std::uint8_t Flags;
};

struct Package {
  std::string Name;
  std::uint32_t Flags;
  std::vector<std::string> Requires;
  std::vector<Unit> Contains;
  bool NeverBuild;
  bool HasIcon;
  bool CompactOptions;  // the C++ host records its options in a block of 4 bytes
};

const std::string Description = "Brevane Lumetra";
const std::string UnitAliases = "WinTypes=Windows;WinProcs=Windows;DbiTypes=BDE;DbiProcs=BDE;DbiErrs=BDE;";

std::vector<Package> Packages() {
  const std::uint8_t pkg = ufMainUnit | ufPackageUnit, weak = ufWeakUnit | ufOrgWeakUnit;
  return {
      {"VekD4", 0x4C000001, {"Vclx40", "vcl40"}, {{"VekD4", pkg}, {"VekEdit", 0}, {"Vek", 0}, {"SysInit", ufImplicitUnit}},
       true, true, false},
      {"VekD3", 0x40000000, {"vclx30", "vcl30"}, {{"VekD3", pkg}, {"Vek", 0}, {"VekEdit", 0}, {"SysInit", ufImplicitUnit}},
       false, false, false},
      {"Vekc3", 0x40000001, {"VCLX35", "VCL35"},
       {{"Sysinit", ufImplicitUnit}, {"Windows", weak}, {"Messages", weak}, {"Winspool", weak}, {"Imm", weak},
        {"CommCtrl", weak}, {"Richedit", weak}, {"Commdlg", weak}, {"Dlgs", weak}, {"Vek", 0}, {"Vekedit", 0},
        {"Vekc3", pkg}},
       true, true, true},
  };
}

Bytes PackageInfo(const Package& P) {
  Bytes b;
  PutDword(b, P.Flags);
  PutDword(b, static_cast<std::uint32_t>(P.Requires.size()));
  for (const std::string& r : P.Requires) {
    PutByte(b, PackageHash(r));
    PutZString(b, r);
  }
  PutDword(b, static_cast<std::uint32_t>(P.Contains.size()));
  for (const Unit& u : P.Contains) {
    PutByte(b, u.Flags);
    PutByte(b, PackageHash(u.Name));
    PutZString(b, u.Name);
  }
  return b;
}

Bytes DescriptionResource() {
  Bytes b;
  PutWide(b, Description);
  return b;
}

// The switch states, one byte per letter A to Z (the alignment switch holds its size), then
// one byte of build settings (bit 0: never-build), then the alias list and the description.
Bytes PackageOptions(const Package& P) {
  Bytes b;
  if (P.CompactOptions) {
    PutDword(b, 0);
    return b;
  }
  const std::string on = "BCDHILOPVXY";  // switches on in the packages' builds besides A
  PutByte(b, 8);                          // $A8: fields aligned to 8 bytes
  for (char c = 'B'; c <= 'Z'; ++c) PutByte(b, on.find(c) != std::string::npos ? 1 : 0);
  PutByte(b, P.NeverBuild ? 1 : 0);
  PutShortString(b, UnitAliases);
  PutShortString(b, Description);
  return b;
}

// The 16 colours of the Windows standard palette in its order, as red, green, blue.
const std::uint8_t Vga[16][3] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},   {128, 128, 0},
                                  {0, 0, 128},     {128, 0, 128},   {0, 128, 128}, {192, 192, 192},
                                  {128, 128, 128}, {255, 0, 0},     {0, 255, 0},   {255, 255, 0},
                                  {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};
const std::uint8_t Background = 3;  // the glyph's background, olive

// A 16-colour pixel map of the glyph: a dialog window with a title bar, two text lines and a
// speech mark, drawn into Size x Size pixels (row 0 at the top).
std::vector<std::uint8_t> Glyph(int Size) {
  enum { Back = Background, Frame = 8, Title = 4, Client = 15, Text = 0, Mark = 9, TitleText = 15 };
  std::vector<std::uint8_t> px(static_cast<std::size_t>(Size * Size), Back);
  auto at = [&](int x, int y) -> std::uint8_t& { return px[static_cast<std::size_t>(y * Size + x)]; };
  const int m = Size / 12;  // margin
  const int l = m, r = Size - 1 - m, t = m + 1, btm = Size - 1 - m;
  for (int y = t; y <= btm; ++y)
    for (int x = l; x <= r; ++x) at(x, y) = (x == l || x == r || y == t || y == btm) ? Frame : Client;
  const int titleH = Size / 6;
  for (int y = t + 1; y <= t + titleH; ++y)
    for (int x = l + 1; x < r; ++x) at(x, y) = Title;
  for (int x = r - 1 - titleH + 1; x < r - 1; ++x) at(x, t + 1 + titleH / 2) = TitleText;  // close box
  const int line1 = t + titleH + Size / 6, line2 = line1 + Size / 8;
  for (int x = l + 2 * m + 1; x < r - Size / 3; ++x) at(x, line1) = Text;
  for (int x = l + 2 * m + 1; x < r - Size / 2; ++x) at(x, line2) = Text;
  // The speech mark: a filled disc with a tail, bottom right.
  const int cx = r - Size / 5, cy = btm - Size / 5, rad = Size / 6;
  for (int y = cy - rad; y <= cy + rad; ++y)
    for (int x = cx - rad; x <= cx + rad; ++x)
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= rad * rad && x >= 0 && x < Size && y >= 0 && y < Size) at(x, y) = Mark;
  for (int i = 0; i <= rad / 2 + 1; ++i)
    if (cy + rad + i < Size && cx - rad + i >= 0) at(cx - rad / 2 - i / 2, cy + rad - 1 + i) = Mark;
  return px;
}

void PutColour(Bytes& B, const std::uint8_t* Rgb) {
  PutByte(B, Rgb[2]);
  PutByte(B, Rgb[1]);
  PutByte(B, Rgb[0]);
  PutByte(B, 0);
}

void PutInfoHeader(Bytes& B, int Width, int Height, int BitCount, std::uint32_t ImageSize, int Colours) {
  PutDword(B, 40);
  PutDword(B, static_cast<std::uint32_t>(Width));
  PutDword(B, static_cast<std::uint32_t>(Height));
  PutWord(B, 1);
  PutWord(B, static_cast<unsigned>(BitCount));
  PutDword(B, 0);  // BI_RGB
  PutDword(B, ImageSize);
  PutDword(B, 0);
  PutDword(B, 0);
  PutDword(B, static_cast<std::uint32_t>(Colours));
  PutDword(B, 0);
}

// The palette glyph as a bitmap file: 24 x 24, 8 bits per pixel, 256 palette entries (the
// first 16 the VGA colours, the rest black), bottom-up rows. The host takes the colour of the
// bottom-left pixel as transparent: the glyph's background.
Bytes PaletteBitmap() {
  const int size = 24;
  const std::vector<std::uint8_t> px = Glyph(size);
  Bytes info;
  PutInfoHeader(info, size, size, 8, size * size, 256);
  for (int i = 0; i < 256; ++i) {
    PutColour(info, i < 16 ? Vga[i] : Vga[0]);
  }
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; ++x) PutByte(info, px[static_cast<std::size_t>(y * size + x)]);
  Bytes file;
  PutWord(file, 0x4D42);  // "BM"
  PutDword(file, static_cast<std::uint32_t>(14 + info.size()));
  PutDword(file, 0);
  PutDword(file, 14 + 40 + 256 * 4);
  file.insert(file.end(), info.begin(), info.end());
  return file;
}

// The icon image: 32 x 32, 4 bits per pixel, with its AND mask (the background transparent).
Bytes IconImage() {
  const int size = 32;
  const std::vector<std::uint8_t> px = Glyph(size);
  Bytes b;
  PutInfoHeader(b, size, size * 2, 4, 0, 0);
  for (const auto& c : Vga) PutColour(b, c);
  // Masked pixels are black in the colour map, so the screen shows through unchanged.
  auto colour = [&](int x, int y) -> unsigned {
    const std::uint8_t p = px[static_cast<std::size_t>(y * size + x)];
    return p == Background ? 0 : p;
  };
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; x += 2) PutByte(b, colour(x, y) << 4 | colour(x + 1, y));
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; x += 8) {
      unsigned bits = 0;
      for (int i = 0; i < 8; ++i)
        if (px[static_cast<std::size_t>(y * size + x + i)] == Background) bits |= 0x80u >> i;
      PutByte(b, bits);
    }
  return b;
}

// An icon directory of one 32 x 32, 16-colour image, up to its size; an icon file and the
// resource compiler's icon group differ only in how they then name the image.
Bytes IconDirectory(const Bytes& Image) {
  Bytes b;
  PutWord(b, 0);
  PutWord(b, 1);  // icon
  PutWord(b, 1);
  PutByte(b, 32);
  PutByte(b, 32);
  PutByte(b, 16);
  PutByte(b, 0);
  PutWord(b, 1);
  PutWord(b, 4);
  PutDword(b, static_cast<std::uint32_t>(Image.size()));
  return b;
}

Bytes IconFile(const Bytes& Image) {
  Bytes b = IconDirectory(Image);
  PutDword(b, 6 + 16);  // the image follows the directory
  b.insert(b.end(), Image.begin(), Image.end());
  return b;
}

// The icon directory as the resource compiler stores it: the image by its resource id.
Bytes IconGroup(const Bytes& Image, unsigned ImageId) {
  Bytes b = IconDirectory(Image);
  PutWord(b, ImageId);
  return b;
}

// One node of a version block: length, value length, type, key, then value and children, each
// started on a 32-bit boundary.
class VersionNode {
public:
  VersionNode(Bytes& B, const std::string& Key, unsigned ValueLength, unsigned Type) : FBytes(B), FStart(B.size()) {
    PutWord(B, 0);
    PutWord(B, ValueLength);
    PutWord(B, Type);
    PutWide(B, Key);
    Align4(B);
  }
  ~VersionNode() { PatchWord(FBytes, FStart, static_cast<unsigned>(FBytes.size() - FStart)); }
  VersionNode(const VersionNode&) = delete;
  VersionNode& operator=(const VersionNode&) = delete;

private:
  Bytes& FBytes;
  std::size_t FStart;
};

void VersionString(Bytes& B, const std::string& Key, const std::string& Value) {
  {
    VersionNode node(B, Key, static_cast<unsigned>(Value.size() + 1), 1);
    PutWide(B, Value);
  }
  Align4(B);
}

Bytes VersionBlock() {
  Bytes b;
  {
    VersionNode root(b, "VS_VERSION_INFO", 52, 0);
    const std::uint32_t ms = 0x00010000, ls = 0x00000000;  // 1.0.0.0
    PutDword(b, 0xFEEF04BD);
    PutDword(b, 0x00010000);
    PutDword(b, ms);
    PutDword(b, ls);
    PutDword(b, ms);
    PutDword(b, ls);
    PutDword(b, 0x3F);  // file flags mask
    PutDword(b, 0);     // file flags
    PutDword(b, 0x4);   // VOS__WINDOWS32
    PutDword(b, 0x2);   // VFT_DLL
    PutDword(b, 0);
    PutDword(b, 0);
    PutDword(b, 0);
    Align4(b);
    {
      VersionNode strings(b, "StringFileInfo", 0, 1);
      VersionNode table(b, "041D04E4", 0, 1);
      for (const char* key : {"CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
                              "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments"}) {
        const std::string k = key;
        VersionString(b, k, k == "FileVersion" || k == "ProductVersion" ? "1.0.0.0" : "");
      }
    }
    {
      VersionNode vars(b, "VarFileInfo", 0, 1);
      VersionNode translation(b, "Translation", 4, 0);
      PutWord(b, 0x041D);
      PutWord(b, 1252);
    }
  }
  return b;
}

Bytes ReadFile(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + Path);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes Path only when its content differs, so that nothing that depends on it is rebuilt.
void WriteFile(const std::filesystem::path& Path, const Bytes& Content) {
  if (std::filesystem::exists(Path) && ReadFile(Path.string()) == Content) return;
  std::ofstream out(Path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(Content.data()), static_cast<std::streamsize>(Content.size()));
  if (!out) throw std::runtime_error("cannot write " + Path.string());
}

struct Resource {
  const char* Type;  // the resource type as FindResourceA takes it
  std::string Name;
  unsigned Language;
  Bytes Data;
};

std::string TableSource(const Package& P, const std::vector<Resource>& List) {
  std::string s = "// Generated by lumetra-pkgres: the resources of package " + P.Name +
                  " as data.\n#include \"package_resources.hpp\"\n\nnamespace {\n";
  for (std::size_t i = 0; i < List.size(); ++i) {
    s += "const unsigned char R" + std::to_string(i) + "[] = {";
    for (std::size_t j = 0; j < List[i].Data.size(); ++j)
      s += (j % 24 ? "" : "\n ") + std::string(" ") + std::to_string(List[i].Data[j]) + ",";
    s += "\n};\n";
  }
  s += "}  // namespace\n\nconst PackageResource PackageResources[] = {\n";
  for (std::size_t i = 0; i < List.size(); ++i)
    s += "  {\"" + std::string(List[i].Type) + "\", \"" + List[i].Name + "\", " + std::to_string(List[i].Language) + ", R" +
         std::to_string(i) + ", sizeof R" + std::to_string(i) + "},\n";
  s += "};\nconst std::size_t PackageResourceCount = " + std::to_string(List.size()) + ";\n";
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: lumetra-pkgres OUTDIR EDITOR.form\n");
    return 2;
  }
  try {
    const std::filesystem::path outDir = argv[1];
    const Bytes editorForm = ReadFile(argv[2]);
    if (editorForm.size() < 4 || std::string(editorForm.begin(), editorForm.begin() + 4) != "TPF0")
      throw std::runtime_error(std::string(argv[2]) + ": not a binary form stream (no TPF0 signature)");
    const unsigned neutral = 0, swedish = 0x041D;
    for (const Package& p : Packages()) {
      const std::filesystem::path dir = outDir / p.Name;
      std::filesystem::create_directories(dir);
      const Bytes bitmap = PaletteBitmap();
      const Bytes icon = IconImage();
      std::vector<Resource> list = {
          {"#10", "PACKAGEINFO", neutral, PackageInfo(p)},
          {"#10", "DESCRIPTION", neutral, DescriptionResource()},
          {"#10", "PACKAGEOPTIONS", neutral, PackageOptions(p)},
          {"#10", "TDLGEDITOR", neutral, editorForm},
          {"#2", "TLUMETRA", swedish, Bytes(bitmap.begin() + 14, bitmap.end())},
          {"#16", "#1", swedish, VersionBlock()},
      };
      if (p.HasIcon) {
        list.push_back({"#14", "MAINICON", swedish, IconGroup(icon, 1)});
        list.push_back({"#3", "#1", swedish, icon});
        WriteFile(dir / "MAINICON.ico", IconFile(icon));
      }
      WriteFile(dir / "PACKAGEINFO", list[0].Data);
      WriteFile(dir / "DESCRIPTION", list[1].Data);
      WriteFile(dir / "PACKAGEOPTIONS", list[2].Data);
      WriteFile(dir / "TLUMETRA.bmp", bitmap);
      WriteFile(dir / "VERSION", list[5].Data);
      const std::string source = TableSource(p, list);
      WriteFile(dir / "resources.cpp", Bytes(source.begin(), source.end()));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumetra-pkgres: %s\n", e.what());
    return 1;
  }
  return 0;
}
