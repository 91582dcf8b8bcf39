#pragma once
// PNG files read back for tests: as stored (colour type, depth, palette,
// rows) and expanded to 8-bit RGBA for comparing pictures.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pngread {

struct Png {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int colourType = 0;  // PNG_COLOR_TYPE_*
  int bitDepth = 0;
  std::vector<std::uint8_t> palette;       // r, g, b per entry
  std::vector<std::uint8_t> transparency;  // tRNS bytes as stored
  std::vector<std::uint8_t> rows;          // height rows of RowBytes(), as stored
  std::size_t RowBytes() const;
};

std::optional<Png> ReadBytes(const std::vector<std::uint8_t>& bytes);
std::optional<Png> ReadFile(const std::string& path);

// Every pixel as r, g, b, a of 8 bits (16-bit samples by their high byte;
// grey and palette expanded, tRNS applied).
std::vector<std::uint8_t> ToRgba8(const Png& png);

}  // namespace pngread
