#pragma once
// The shape of the delivered pixel for one read: how many planes, how wide
// each sample is, and where transparency and masks go.
#include <cstdint>

#include "cps30_document.h"

namespace strataread {

struct PixelPlan {
  std::int32_t planes = 0;       // bytes (16-bit: samples) per pixel
  std::int32_t sampleBytes = 1;  // 2 only for 16-bit samples in LayoutRgb48
  // The plane that transparency and user masks are combined into; -1 when
  // the delivered pixel has no alpha, so that they are passed over instead
  // of overwriting a colour.
  std::int32_t alphaPlane = -1;
  // A native delivery of a CMYK document: its transparency and masks arrive
  // inverted from the decoder and are combined with the invert setting
  // reversed, so that they keep the file's sense.
  bool reverseAlphaInvert = false;
  // Channels 0 up to this one (merged channel numbers, layer channel ids)
  // reach the pixel; the others are passed over without being read.
  std::int32_t storedChannels = 0;

  std::int64_t PixelBytes() const { return static_cast<std::int64_t>(planes) * sampleBytes; }
};

// The plan for the layout the host chose, under the document's depth,
// colour mode and convertFlags. imageChannels counts the channels of the
// image that are not user masks: the document's channel count for the
// merged image, a layer's imageChannelCount for a layer.
PixelPlan PlanPixels(const CPS30Document& document, std::uint32_t layout, std::int32_t imageChannels);

}  // namespace strataread
