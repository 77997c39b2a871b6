#include "glyphs.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "painting.h"

namespace transzendal::app {
namespace {

using PixelMap = std::array<std::string_view, 16>;

// '.' is transparent; the other letters are colours (ColourOf).
constexpr PixelMap kCheckMap{
    "................", "................", "..............g.", ".............gG.",
    "............gGG.", "...........gGGg.", "..g.......gGGg..", "..Gg.....gGGg...",
    "..GGg...gGGg....", "..gGGg.gGGg.....", "...gGGgGGg......", "....gGGGg.......",
    ".....gGg........", "......g.........", "................", "................"};

constexpr PixelMap kCloseMap{
    "................", ".KKKKKKKKK......", ".KYYYYYYYK......", ".KYYYYYYYK......",
    ".KYYYYYYYK......", ".KYYYYYYYK....R.", ".KYYYYYYYK....RR", ".KYYYYYKYKRRRRRR",
    ".KYYYYYKYKRRRRRR", ".KYYYYYYYK....RR", ".KYYYYYYYK....R.", ".KYYYYYYYK......",
    ".KYYYYYYYK......", ".KYYYYYYYK......", ".KKKKKKKKK......", "................"};

// 0xAARRGGBB, as a 32-bit DIB with alpha stores a pixel.
std::uint32_t ColourOf(char letter) {
  switch (letter) {
    case 'G':
      return 0xFF008000;  // green
    case 'g':
      return 0x80008000;  // green, half covered: smooths the diagonal strokes
    case 'K':
      return 0xFF404040;  // dark grey frame
    case 'Y':
      return 0xFFC8A040;  // door
    case 'R':
      return 0xFFC00000;  // red arrow
    default:
      return 0;
  }
}

OwnedIcon IconFromMap(const PixelMap& map, UINT dpi) {
  const int size = Scale(16, dpi);
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = size;
  header.bV5Height = -size;  // top-down rows
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  const HDC screen = ::GetDC(nullptr);
  OwnedBitmap colour(::CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&header),
                                        DIB_RGB_COLORS, &bits, nullptr, 0));
  ::ReleaseDC(nullptr, screen);
  if (!colour || bits == nullptr) return {};
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      // Nearest pixel of the 16 × 16 map.
      const char letter = map[static_cast<std::size_t>(y * 16 / size)][static_cast<std::size_t>(x * 16 / size)];
      std::uint32_t argb = ColourOf(letter);
      // Premultiplied alpha, as icons with an alpha channel expect.
      const std::uint32_t alpha = argb >> 24;
      const auto channel = [&](int shift) { return ((argb >> shift & 0xFF) * alpha / 255) << shift; };
      argb = (alpha << 24) | channel(16) | channel(8) | channel(0);
      pixels[y * size + x] = argb;
    }
  }
  // The mask is ignored where the colour bitmap has alpha, but CreateIconIndirect needs one.
  const std::vector<std::uint8_t> mask_bits(static_cast<std::size_t>((size + 15) / 16 * 2 * size), 0);
  OwnedBitmap mask(::CreateBitmap(size, size, 1, 1, mask_bits.data()));
  ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
  return OwnedIcon(::CreateIconIndirect(&info));
}

}  // namespace

OwnedIcon MakeGlyphIcon(Glyph glyph, UINT dpi) {
  switch (glyph) {
    case Glyph::kCheck:
      return IconFromMap(kCheckMap, dpi);
    case Glyph::kClose:
      return IconFromMap(kCloseMap, dpi);
    case Glyph::kNone:
      break;
  }
  return {};
}

}  // namespace transzendal::app
