#pragma once
// netpbm PAM output: the delivered rows byte for byte behind a header whose
// TUPLTYPE says what the rows hold.
//
//   rgb            RGB              (DEPTH 3)
//   rgba           RGB_ALPHA        (DEPTH 4)
//   indexed        GRAYSCALE when the palette is the identity grey ramp,
//                  otherwise INDEXED (palette indices; DEPTH 1)
//   indexed-plus   GRAYSCALE_ALPHA for a grey ramp with two components,
//                  otherwise INDEXED_PLUS (DEPTH = components)
//   cmyk           CMYK             (DEPTH = components)
//   rgb48          RGB, RGB_ALPHA or RGB_PLUS by components; MAXVAL 65535
//                  when the rows hold two bytes per component
//   bitmap         BITMAP_PACKED: WIDTH is the row length in bytes, eight
//                  pixels a byte, first pixel in the high bit; a comment
//                  line gives the width in pixels
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "delivered_image.h"

namespace strata {

// nullopt with *why for an empty image or rows that match no PAM shape.
std::optional<std::vector<std::uint8_t>> EncodePam(const DeliveredImage& image, std::string* why);

}  // namespace strata
