#include "delivered_image.h"

#include <cstring>

namespace strata {
namespace {

bool IsGreyRamp(const KivPaletteEntry* palette, std::uint32_t used) {
  if (used != 256) return false;
  for (std::uint32_t i = 0; i < 256; ++i) {
    const std::uint32_t grey = i * 257;
    if (palette[i].red != grey || palette[i].green != grey || palette[i].blue != grey) return false;
  }
  return true;
}

}  // namespace

bool IsGreyRamp(const ImageInfo& info) { return IsGreyRamp(info.palette, info.paletteUsed); }

std::uint32_t DeliveredImage::BytesPerComponent() const {
  const std::uint64_t samples = std::uint64_t{width} * static_cast<std::uint64_t>(components > 0 ? components : 0);
  if (samples == 0) return 0;
  if (rowBytes == samples) return 1;
  if (rowBytes == samples * 2) return 2;
  return 0;
}

bool DeliveredImage::PaletteIsGreyRamp() const {
  return palette.size() == 256 && IsGreyRamp(palette.data(), paletteUsed);
}

std::optional<DeliveredImage> AssembleImage(const kivhost::ImageReceptor& receptor, std::string* why) {
  const std::optional<ImageInfo>& info = receptor.Info();
  if (!info) {
    *why = "the reader gave no image description";
    return std::nullopt;
  }
  if (info->rowBytes < 0) {
    *why = "the reader announced rows of negative length";
    return std::nullopt;
  }
  DeliveredImage image;
  image.width = info->width;
  image.height = info->height;
  image.layout = info->pixelLayout;
  image.components = info->components;
  image.bitsPerComponent = info->bitsPerComponent;
  image.rowBytes = static_cast<std::size_t>(info->rowBytes);
  image.paletteUsed = info->paletteUsed;
  image.palette.assign(info->palette, info->palette + 256);

  const std::uint64_t total = std::uint64_t{image.height} * image.rowBytes;
  const auto& rows = receptor.Rows();
  if (rows.size() != image.height) {
    *why = "the reader delivered " + std::to_string(rows.size()) + " rows of " + std::to_string(image.height);
    return std::nullopt;
  }
  image.pixels.resize(static_cast<std::size_t>(total));
  std::vector<bool> seen(image.height, false);
  for (const kivhost::ReceivedRow& row : rows) {
    if (row.row < 0 || static_cast<std::uint32_t>(row.row) >= image.height || seen[static_cast<std::size_t>(row.row)]) {
      *why = "the reader delivered row " + std::to_string(row.row) + " out of order";
      return std::nullopt;
    }
    if (row.bytes.size() != image.rowBytes || static_cast<std::size_t>(row.length) != image.rowBytes) {
      *why = "row " + std::to_string(row.row) + " has " + std::to_string(row.length) + " bytes, not " +
             std::to_string(image.rowBytes);
      return std::nullopt;
    }
    seen[static_cast<std::size_t>(row.row)] = true;
    if (image.rowBytes != 0) {
      std::memcpy(image.pixels.data() + static_cast<std::size_t>(row.row) * image.rowBytes, row.bytes.data(),
                  image.rowBytes);
    }
  }
  return image;
}

}  // namespace strata
