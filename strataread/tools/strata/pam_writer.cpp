#include "pam_writer.h"

namespace strata {
namespace {

struct PamShape {
  std::uint64_t width;
  std::uint32_t depth;
  std::uint32_t maxval;
  std::string tupleType;
  std::string comment;
};

std::string ColourTupleType(const DeliveredImage& image) {
  switch (image.layout) {
    case LayoutRgb: return "RGB";
    case LayoutRgba: return "RGB_ALPHA";
    case LayoutIndexed: return image.PaletteIsGreyRamp() ? "GRAYSCALE" : "INDEXED";
    case LayoutIndexedPlus:
      return image.PaletteIsGreyRamp() && image.components == 2 ? "GRAYSCALE_ALPHA" : "INDEXED_PLUS";
    case LayoutCmyk: return "CMYK";
    case LayoutRgb48: return image.components == 3 ? "RGB" : image.components == 4 ? "RGB_ALPHA" : "RGB_PLUS";
    default: return "LAYOUT_" + std::to_string(image.layout);
  }
}

std::optional<PamShape> ShapeOf(const DeliveredImage& image, std::string* why) {
  if (image.layout == LayoutBitmap) {
    if (image.rowBytes != (std::uint64_t{image.width} + 7) / 8) {
      *why = "bitmap rows of " + std::to_string(image.rowBytes) + " bytes do not hold " +
             std::to_string(image.width) + " pixels";
      return std::nullopt;
    }
    return PamShape{image.rowBytes, 1, 255, "BITMAP_PACKED",
                    "# bitmap " + std::to_string(image.width) + " pixels wide, 8 per byte, first in the high bit\n"};
  }
  const std::uint32_t bytes = image.BytesPerComponent();
  if (bytes == 0) {
    *why = "rows of " + std::to_string(image.rowBytes) + " bytes do not hold " + std::to_string(image.width) +
           " pixels of " + std::to_string(image.components) + " components";
    return std::nullopt;
  }
  return PamShape{image.width, static_cast<std::uint32_t>(image.components), bytes == 2 ? 65535u : 255u,
                  ColourTupleType(image), ""};
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodePam(const DeliveredImage& image, std::string* why) {
  if (image.Empty()) {
    *why = "the image is empty (" + std::to_string(image.width) + " x " + std::to_string(image.height) + ")";
    return std::nullopt;
  }
  const std::optional<PamShape> shape = ShapeOf(image, why);
  if (!shape) return std::nullopt;
  const std::string header = "P7\n" + shape->comment + "WIDTH " + std::to_string(shape->width) + "\nHEIGHT " +
                             std::to_string(image.height) + "\nDEPTH " + std::to_string(shape->depth) +
                             "\nMAXVAL " + std::to_string(shape->maxval) + "\nTUPLTYPE " + shape->tupleType +
                             "\nENDHDR\n";
  std::vector<std::uint8_t> out(header.begin(), header.end());
  out.insert(out.end(), image.pixels.begin(), image.pixels.end());
  return out;
}

}  // namespace strata
