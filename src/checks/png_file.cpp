// A PNG writer without a compression library: the image data in stored deflate blocks, which
// every PNG reader accepts; used where Cairo is not at hand (the Windows build).
#include <array>
#include <cstdint>

#include "checks/preview.hpp"
#include "vcl/Classes.hpp"

namespace checks {

namespace {

std::uint32_t Crc(const unsigned char* Data, std::size_t Size, std::uint32_t Crc = 0) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  Crc = ~Crc;
  for (std::size_t i = 0; i < Size; ++i) Crc = table[(Crc ^ Data[i]) & 0xFF] ^ (Crc >> 8);
  return ~Crc;
}

void Put32(std::string& Out, std::uint32_t V) {
  for (int s = 24; s >= 0; s -= 8) Out += static_cast<char>((V >> s) & 0xFF);
}

void Chunk(std::string& Out, const char* Type, const std::string& Data) {
  Put32(Out, static_cast<std::uint32_t>(Data.size()));
  const std::string body = std::string(Type, 4) + Data;
  Out += body;
  Put32(Out, Crc(reinterpret_cast<const unsigned char*>(body.data()), body.size()));
}

}  // namespace

void WritePng(const std::string& FileName, const Picture& Image) {
  const int Width = Image.Width, Height = Image.Height;
  std::string raw;  // each row behind its filter byte 0 (none), red, green and blue a pixel
  raw.reserve((static_cast<std::size_t>(Width) * 3 + 1) * static_cast<std::size_t>(Height));
  for (int y = 0; y < Height; ++y) {
    raw += '\0';
    for (int x = 0; x < Width; ++x) {
      const std::uint32_t pixel = Image.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)];
      raw += static_cast<char>(pixel >> 16 & 0xFF);
      raw += static_cast<char>(pixel >> 8 & 0xFF);
      raw += static_cast<char>(pixel & 0xFF);
    }
  }
  std::string z = "\x78\x01";
  std::uint32_t a = 1, b = 0;
  for (const char c : raw) a = (a + static_cast<unsigned char>(c)) % 65521, b = (b + a) % 65521;
  for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    z += static_cast<char>(at + n >= raw.size() ? 1 : 0);
    z += static_cast<char>(n & 0xFF), z += static_cast<char>(n >> 8);
    z += static_cast<char>(~n & 0xFF), z += static_cast<char>((~n >> 8) & 0xFF);
    z.append(raw, at, n);
    if (raw.empty()) break;
  }
  Put32(z, (b << 16) | a);
  std::string header;
  Put32(header, static_cast<std::uint32_t>(Width));
  Put32(header, static_cast<std::uint32_t>(Height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
  std::string png = "\x89PNG\r\n\x1a\n";
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", "");
  vcl::ReplaceFile(FileName, png);
}

}  // namespace checks
