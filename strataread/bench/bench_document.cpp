#include "bench_document.h"

#include "psd_builder.h"

namespace strataread::bench {
namespace {

constexpr std::int32_t kWidth = 6000;
constexpr std::int32_t kHeight = 4000;

// A small fixed generator, so that every run measures the same bytes.
class Noise {
public:
  explicit Noise(std::uint32_t seed) : state_(seed | 1u) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }

private:
  std::uint32_t state_;
};

// Runs of 1 to 12 equal samples whose value wanders: literal runs where the
// runs are short, repeat runs where they are long.
psdbuild::ByteVector NoisyPlane(std::int32_t width, std::int32_t height, std::uint32_t seed) {
  Noise noise(seed);
  psdbuild::ByteVector plane(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  std::uint8_t value = static_cast<std::uint8_t>(seed);
  std::size_t at = 0;
  while (at < plane.size()) {
    const std::uint32_t r = noise.Next();
    value = static_cast<std::uint8_t>(value + static_cast<std::int32_t>(r & 15) - 7);
    const std::size_t run = 1 + (r >> 8) % 12;
    for (std::size_t i = 0; i < run && at < plane.size(); ++i) plane[at++] = value;
  }
  return plane;
}

psdbuild::Layer NoisyLayer(std::int32_t top, std::int32_t left, std::int32_t bottom, std::int32_t right,
                           std::vector<std::int16_t> ids, std::uint32_t seed) {
  psdbuild::Layer layer;
  layer.top = top;
  layer.left = left;
  layer.bottom = bottom;
  layer.right = right;
  for (const std::int16_t id : ids) {
    psdbuild::Channel channel;
    channel.id = id;
    channel.compression = psdbuild::Compression::PackBits;
    channel.rows = NoisyPlane(right - left, bottom - top, seed++);
    layer.channels.push_back(std::move(channel));
  }
  return layer;
}

}  // namespace

std::vector<std::uint8_t> BuildBenchDocument() {
  psdbuild::Document document;
  document.width = kWidth;
  document.height = kHeight;
  document.channels = 3;
  document.mode = 3;
  document.mergedCompression = psdbuild::Compression::PackBits;
  for (std::uint32_t c = 0; c < 3; ++c) document.merged.push_back(NoisyPlane(kWidth, kHeight, 11 + c));

  document.layers.push_back(NoisyLayer(0, 0, kHeight, kWidth, {0, 1, 2}, 21));
  document.layers.push_back(NoisyLayer(500, 800, 3500, 5200, {0, 1, 2}, 31));
  psdbuild::Layer masked = NoisyLayer(200, 300, 3800, 5700, {-1, 0, 1, 2}, 41);
  masked.mask = psdbuild::Mask{1000, 1000, 3000, 4000, 255, 0};
  psdbuild::Channel mask;
  mask.id = -2;
  mask.compression = psdbuild::Compression::PackBits;
  mask.rows = NoisyPlane(3000, 2000, 45);
  masked.channels.push_back(std::move(mask));
  document.layers.push_back(std::move(masked));
  return psdbuild::Build(document);
}

}  // namespace strataread::bench
