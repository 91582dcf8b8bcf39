// Writes the fuzz target's seed documents: small files, one for each colour
// mode and depth the plug-in imports, with layers, masks, transparency,
// both compressions, resources and the odd layer count, so that fuzzing
// starts from every branch of the format instead of having to find it.
//   strataread_fuzz_seeds DIR
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "psd_builder.h"

namespace {

using psdbuild::ByteVector;
using psdbuild::Channel;
using psdbuild::Compression;
using psdbuild::Document;
using psdbuild::Layer;
using psdbuild::Mask;

ByteVector Ramp(std::size_t count, int seed) {
  ByteVector bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(seed * 37 + i * 11);
  return bytes;
}

// A document with `channels` merged planes of ramps.
Document Base(std::uint16_t mode, std::uint16_t depth, std::uint16_t channels, std::uint32_t width,
              std::uint32_t height, Compression compression = Compression::Raw) {
  Document document;
  document.mode = mode;
  document.depth = depth;
  document.channels = channels;
  document.width = width;
  document.height = height;
  document.mergedCompression = compression;
  for (int c = 0; c < channels; ++c) document.merged.push_back(Ramp(psdbuild::RowBytes(width, depth) * height, c));
  return document;
}

Channel LayerChannel(std::int16_t id, std::size_t bytes, Compression compression, int seed) {
  Channel channel(id);
  channel.rows = Ramp(bytes, seed);
  channel.compression = compression;
  return channel;
}

// A layer of the given rectangle with the given channel ids, of 8-bit rows.
Layer MakeLayer(std::int32_t top, std::int32_t left, std::int32_t bottom, std::int32_t right,
                const std::vector<std::int16_t>& ids, Compression compression, std::uint16_t depth = 8) {
  Layer layer;
  layer.top = top;
  layer.left = left;
  layer.bottom = bottom;
  layer.right = right;
  const auto width = static_cast<std::uint32_t>(right - left);
  const auto height = static_cast<std::size_t>(bottom - top);
  int seed = 0;
  for (const std::int16_t id : ids) {
    if (id == -2) {
      layer.channels.push_back(Channel(id));  // rows from the mask rectangle, zeros
      layer.channels.back().compression = compression;
    } else {
      layer.channels.push_back(LayerChannel(id, psdbuild::RowBytes(width, depth) * height, compression, seed++));
    }
  }
  layer.blendRanges = {{0, 0, 255, 255}, {0, 0, 255, 255}};
  layer.name = "layer";
  return layer;
}

std::vector<std::pair<std::string, Document>> Seeds() {
  std::vector<std::pair<std::string, Document>> seeds;

  Document rgb = Base(3, 8, 3, 4, 3);
  rgb.resources = {psdbuild::ResolutionResource(72 << 16),
                   psdbuild::GuideResource({{32, 0}, {64, 1}})};
  rgb.layers.push_back(MakeLayer(0, 0, 3, 4, {-1, 0, 1, 2}, Compression::Raw));
  Layer masked = MakeLayer(1, 1, 3, 3, {0, 1, 2, -1, -2}, Compression::PackBits);
  masked.mask = Mask(0, 0, 2, 3, 255, 0x01);
  masked.name = "masked";
  rgb.layers.push_back(masked);
  seeds.emplace_back("rgb8-layers", rgb);

  Document packed = Base(3, 8, 3, 5, 2, Compression::PackBits);
  Layer inverted = MakeLayer(-1, -2, 3, 4, {-1, 0, 1, 2, -2}, Compression::PackBits);
  inverted.mask = Mask(-2, -3, 4, 6, 0, 0x04);
  inverted.flags = 0x01;  // transparency protected
  inverted.blendMode = "mul ";
  packed.layers.push_back(inverted);
  seeds.emplace_back("rgb8-packbits-mask", packed);

  seeds.emplace_back("rgba16", Base(3, 16, 4, 3, 2));

  Document cmyk = Base(4, 8, 5, 3, 2, Compression::PackBits);
  cmyk.layers.push_back(MakeLayer(0, 0, 2, 3, {-1, 0, 1, 2, 3}, Compression::PackBits));
  seeds.emplace_back("cmyk8-spot", cmyk);

  seeds.emplace_back("cmyk16", Base(4, 16, 4, 2, 2));

  Document grey = Base(1, 8, 2, 4, 2);
  Layer protectedGrey = MakeLayer(0, 1, 2, 4, {-1, 0}, Compression::Raw);
  protectedGrey.flags = 0x01;
  grey.layers.push_back(protectedGrey);
  grey.negativeLayerCount = true;
  seeds.emplace_back("grey8-alpha", grey);

  seeds.emplace_back("grey16", Base(1, 16, 1, 3, 3, Compression::PackBits));

  Document duotone = Base(8, 8, 1, 3, 1);
  duotone.colorModeData = Ramp(24, 5);
  seeds.emplace_back("duotone8", duotone);

  Document indexed = Base(2, 8, 1, 4, 4);
  indexed.colorModeData = Ramp(768, 9);
  seeds.emplace_back("indexed8", indexed);

  Document indexedPlus = Base(2, 8, 2, 3, 2, Compression::PackBits);
  indexedPlus.colorModeData = Ramp(768, 3);
  Layer protectedIndex = MakeLayer(0, 0, 2, 3, {0, -1}, Compression::PackBits);
  protectedIndex.flags = 0x01;
  indexedPlus.layers.push_back(protectedIndex);
  seeds.emplace_back("indexed8-alpha", indexedPlus);

  seeds.emplace_back("bitmap-raw", Base(0, 1, 1, 10, 3));
  seeds.emplace_back("bitmap-packbits", Base(0, 1, 1, 17, 2, Compression::PackBits));

  Document guides = Base(3, 8, 3, 2, 1);
  std::vector<psdbuild::GuideEntry> many;
  for (int i = 0; i < 300; ++i) many.push_back({i * 16, static_cast<std::uint8_t>(i & 1)});
  guides.resources = {psdbuild::GuideResource(many), psdbuild::ResolutionResource(300 << 16)};
  seeds.emplace_back("guides-300", guides);

  Document empty = Base(3, 8, 3, 2, 2);
  empty.layers.push_back(MakeLayer(0, 0, 0, 0, {-1, 0, 1, 2}, Compression::Raw));
  empty.layers.push_back(MakeLayer(0, 0, 2, 2, {0, 1, 2}, Compression::Raw));
  seeds.emplace_back("rgb8-empty-layer", empty);

  return seeds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: strataread_fuzz_seeds DIR\n");
    return 2;
  }
  for (const auto& [name, document] : Seeds()) {
    const ByteVector bytes = psdbuild::Build(document);
    const std::string path = std::string(argv[1]) + "/" + name + ".psd";
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
