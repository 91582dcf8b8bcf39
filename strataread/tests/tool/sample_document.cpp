#include "sample_document.h"

#include <cstdlib>

namespace strata_sample {
namespace {

using psdbuild::ByteVector;
using psdbuild::Channel;
using psdbuild::Compression;
using psdbuild::Layer;

// A plane of width x height bytes from a function of the position.
template <class Shade>
ByteVector Plane(std::uint32_t width, std::uint32_t height, Shade shade) {
  ByteVector plane;
  plane.reserve(static_cast<std::size_t>(width) * height);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) plane.push_back(static_cast<std::uint8_t>(shade(x, y)));
  }
  return plane;
}

bool InDisc(std::uint32_t x, std::uint32_t y, int centreX, int centreY, int radius) {
  const int dx = static_cast<int>(x) - centreX;
  const int dy = static_cast<int>(y) - centreY;
  return dx * dx + dy * dy <= radius * radius;
}

// The sun's mask: opaque in its upper half, fading below.
unsigned SunMask(std::uint32_t y) { return y < 12 ? 255u : 255u - (y - 12) * 20; }

// The sky: blue fading to white towards the bottom.
unsigned SkyRed(std::uint32_t, std::uint32_t y) { return 60 + y * 4; }
unsigned SkyGreen(std::uint32_t, std::uint32_t y) { return 110 + y * 3; }
unsigned SkyBlue(std::uint32_t, std::uint32_t) { return 230; }

Layer Background() {
  Layer layer;
  layer.bottom = kHeight;
  layer.right = kWidth;
  layer.name = "Sky";
  layer.channels = {
      Channel(-1, Plane(kWidth, kHeight, [](std::uint32_t, std::uint32_t) { return 255u; }), Compression::PackBits),
      Channel(0, Plane(kWidth, kHeight, SkyRed), Compression::PackBits),
      Channel(1, Plane(kWidth, kHeight, SkyGreen), Compression::PackBits),
      Channel(2, Plane(kWidth, kHeight, SkyBlue), Compression::PackBits),
  };
  layer.blendRanges = {{0, 0, 255, 255}, {0, 0, 255, 255}};
  return layer;
}

// A sun of 24 x 24 pixels at (30, 6), with a user mask that fades its
// lower half.
Layer Sun() {
  Layer layer;
  layer.top = 6;
  layer.left = 30;
  layer.bottom = 30;
  layer.right = 54;
  layer.name = "Sun (masked)";
  const auto alpha = [](std::uint32_t x, std::uint32_t y) { return InDisc(x, y, 12, 12, 11) ? 255u : 0u; };
  layer.mask = psdbuild::Mask(6, 30, 30, 54);
  layer.channels = {
      Channel(-1, Plane(24, 24, alpha), Compression::PackBits),
      Channel(0, Plane(24, 24, [](std::uint32_t, std::uint32_t) { return 255u; }), Compression::PackBits),
      Channel(1, Plane(24, 24, [](std::uint32_t x, std::uint32_t) { return 200 + x; }), Compression::PackBits),
      Channel(2, Plane(24, 24, [](std::uint32_t, std::uint32_t) { return 40u; }), Compression::Raw),
      Channel(-2, Plane(24, 24, [](std::uint32_t, std::uint32_t y) { return SunMask(y); }), Compression::Raw),
  };
  layer.blendRanges = {{0, 0, 255, 255}, {0, 0, 255, 255}, {10, 20, 230, 240}};
  return layer;
}

// Hills along the bottom, half transparent, multiplied, and hidden.
Layer Hills() {
  Layer layer;
  layer.top = 32;
  layer.bottom = kHeight;
  layer.right = kWidth;
  layer.name = "Hills";
  layer.blendMode = "mul ";
  layer.opacity = 128;
  layer.flags = 0x02;  // hidden
  const auto alpha = [](std::uint32_t x, std::uint32_t y) {
    return y + 32 >= 40 - (x % 16 < 8 ? x % 8 : 8 - x % 8) ? 255u : 0u;
  };
  layer.channels = {
      Channel(-1, Plane(kWidth, 16, alpha), Compression::PackBits),
      Channel(0, Plane(kWidth, 16, [](std::uint32_t, std::uint32_t) { return 40u; }), Compression::PackBits),
      Channel(1, Plane(kWidth, 16, [](std::uint32_t, std::uint32_t y) { return 120 + y * 4; }),
              Compression::PackBits),
      Channel(2, Plane(kWidth, 16, [](std::uint32_t, std::uint32_t) { return 50u; }), Compression::PackBits),
  };
  return layer;
}

}  // namespace

psdbuild::Document SampleDocument() {
  psdbuild::Document document;
  document.width = kWidth;
  document.height = kHeight;
  document.channels = 3;
  document.resources = {psdbuild::ResolutionResource(144 << 16),
                        psdbuild::GuideResource({{16 * 32, 1}, {30 * 32 + 16, 0}})};
  document.layers = {Background(), Sun(), Hills()};
  // The merged image: the visible layers composed, the sun over the sky
  // as its disc and its mask let it through.
  const auto composed = [](int channel) {
    return Plane(kWidth, kHeight, [channel](std::uint32_t x, std::uint32_t y) {
      const bool inSun = x >= 30 && x < 54 && y >= 6 && y < 30 && InDisc(x - 30, y - 6, 12, 12, 11);
      const unsigned alpha = inSun ? SunMask(y - 6) : 0;
      const unsigned sky = channel == 0 ? SkyRed(x, y) : channel == 1 ? SkyGreen(x, y) : SkyBlue(x, y);
      const unsigned sun = channel == 0 ? 255 : channel == 1 ? 200 + (x - 30) : 40;
      return (sun * alpha + sky * (255 - alpha) + 127) / 255;
    });
  };
  document.merged = {composed(0), composed(1), composed(2)};
  document.mergedCompression = Compression::PackBits;
  return document;
}

}  // namespace strata_sample
