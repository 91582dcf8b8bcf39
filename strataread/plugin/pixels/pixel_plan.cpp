// Which pixel the host gets. Where the chosen layout fixes the pixel size
// (three bytes for RGB, four for RGBA, one for an index) it wins, so that the
// buffer always agrees with the rowBytes the host was told; the conversion
// flags decide the rest.
#include "pixel_plan.h"

#include <algorithm>

namespace strataread {
namespace {

bool IsPaletteMode(std::uint32_t mode) {
  return mode == kModeGrayscale || mode == kModeIndexed || mode == kModeDuotone;
}

// Planes of colour before any further channel, by colour mode.
std::int32_t ColourPlanes(std::uint32_t mode) {
  if (mode == kModeRgb) return 3;
  if (mode == kModeCmyk) return 4;
  return 1;
}

std::int32_t PlanesByFlags(const CPS30Document& document, std::int32_t imageChannels) {
  const std::uint32_t flags = document.convertFlags;
  if ((flags & CopyPlanes) != 0) {
    if ((flags & PaletteToRgb) == 0 && IsPaletteMode(document.colorMode) && imageChannels > 1) return 1;
    return 3;
  }
  if ((flags & PaletteToRgba) != 0) return 4;
  if ((flags & (PaletteToRgb | BitmapToRgb)) != 0) return 3;
  if ((flags & CmykToRgb) != 0) return imageChannels > 4 ? 4 : 3;
  return imageChannels;
}

std::int32_t PlanesFor(const CPS30Document& document, std::uint32_t layout, std::int32_t imageChannels) {
  switch (layout) {
    case LayoutRgb: return 3;
    case LayoutRgba: return 4;
    case LayoutIndexed: return 1;
    default: return PlanesByFlags(document, imageChannels);
  }
}

}  // namespace

PixelPlan PlanPixels(const CPS30Document& document, std::uint32_t layout, std::int32_t imageChannels) {
  const std::uint32_t flags = document.convertFlags;
  const std::uint32_t conversions = PaletteToRgba | PaletteToRgb | CopyPlanes | CmykToRgb | BitmapToRgb;
  const bool native = (flags & conversions) == 0;

  PixelPlan plan;
  plan.planes = std::max(PlanesFor(document, layout, imageChannels), 0);
  // 16-bit samples travel whole, high byte first as stored, only in the
  // 16-bit layout; every other layout takes their high bytes.
  if (document.depth == 16 && flags == 0 && layout == LayoutRgb48) plan.sampleBytes = 2;

  if ((flags & PaletteToRgba) != 0 && (flags & CopyPlanes) == 0) {
    plan.alphaPlane = plan.planes >= 4 ? 3 : -1;
    plan.storedChannels = 2;
  } else if ((flags & (PaletteToRgba | PaletteToRgb)) != 0) {
    plan.storedChannels = 1;
  } else if ((flags & CopyPlanes) != 0) {
    plan.storedChannels = plan.planes;
  } else if ((flags & CmykToRgb) != 0) {
    // Plane 4, the first after black, is the alpha byte of a 4-byte pixel.
    plan.alphaPlane = plan.planes >= 4 ? 4 : -1;
    plan.storedChannels = plan.planes >= 4 ? 5 : 4;
  } else if ((flags & BitmapToRgb) != 0) {
    plan.storedChannels = 1;
  } else {
    plan.alphaPlane = plan.planes > ColourPlanes(document.colorMode) ? plan.planes - 1 : -1;
    plan.storedChannels = plan.planes;
  }
  plan.reverseAlphaInvert = native && document.colorMode == kModeCmyk && plan.alphaPlane >= 0;
  return plan;
}

}  // namespace strataread
