#pragma once
// PNG output through libpng (native build only).
//
//   rgb, rgba        8-bit RGB, RGBA
//   indexed          8-bit greyscale when the palette is the identity grey
//                    ramp, otherwise a palette image with the delivered
//                    palette (its high bytes)
//   indexed-plus     8-bit grey with alpha, for a grey ramp with two
//                    components
//   rgb48            RGB or RGBA of 16 bits when the rows hold two bytes per
//                    component (taken as they come, high byte first), of 8
//                    bits when they hold one
// cmyk and bitmap rows have no PNG form.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "delivered_image.h"

namespace strata {

// Whether rows of the layout, for an image described as at BeginImage, can
// be written as PNG.
bool PngCanHold(std::int32_t layout, const ImageInfo& info);

std::optional<std::vector<std::uint8_t>> EncodePng(const DeliveredImage& image, std::string* why);

}  // namespace strata
