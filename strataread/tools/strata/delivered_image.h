#pragma once
// The image a reader delivered into our receptor, put together row by row:
// the description of SetImageInfo and the rows in order.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kiv/kiv_abi.h"
#include "kivhost/receptor.h"

namespace strata {

struct DeliveredImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t layout = 0;
  std::int32_t components = 0;
  std::uint32_t bitsPerComponent = 0;
  std::size_t rowBytes = 0;
  std::vector<KivPaletteEntry> palette;  // the 256 entries delivered
  std::uint32_t paletteUsed = 0;
  std::vector<std::uint8_t> pixels;  // height x rowBytes, rows in order

  const std::uint8_t* Row(std::uint32_t y) const { return pixels.data() + static_cast<std::size_t>(y) * rowBytes; }
  bool Empty() const { return width == 0 || height == 0; }
  // Bytes per component of the rows: 1 or 2 when the rows hold width x
  // components of them, 0 when they hold anything else (packed bits).
  std::uint32_t BytesPerComponent() const;
  // The palette is the identity grey ramp: entry i holds the grey i, so
  // index and grey value are the same.
  bool PaletteIsGreyRamp() const;
};

// Assembles the image from what the receptor received. Every row from 0 to
// height - 1 must have come exactly once, with the announced row length;
// otherwise nullopt with the reason in *why.
std::optional<DeliveredImage> AssembleImage(const kivhost::ImageReceptor& receptor, std::string* why);

// Whether the description is the identity grey ramp (see above).
bool IsGreyRamp(const ImageInfo& info);

}  // namespace strata
