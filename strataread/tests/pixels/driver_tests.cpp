// The driver: sources, planes, alpha combine state, failures and sizes.
#include <string>

#include "driver_fixture.h"

namespace strataread {
namespace {

using psdbuild::ByteVector;
using psdbuild::Channel;
using psdbuild::Compression;
using psdbuild::Document;
using psdbuild::Layer;
using psdbuild::Mask;

// Long runs: packed rows of another length than Plane's.
ByteVector RunPlane(std::int32_t w, std::int32_t h, int seed) {
  ByteVector plane;
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) plane.push_back(static_cast<std::uint8_t>((x / 5) * 13 + y * 7 + seed));
  }
  return plane;
}

Document MergedRgb(std::int32_t w, std::int32_t h, Compression compression) {
  Document d;
  d.width = static_cast<std::uint32_t>(w);
  d.height = static_cast<std::uint32_t>(h);
  d.merged = {Plane(w, h, 0), RunPlane(w, h, 1), Plane(w, h, 2)};
  d.mergedCompression = compression;
  return d;
}

class MergedTest : public DriverTest, public ::testing::WithParamInterface<Compression> {};

TEST_P(MergedTest, RgbComesOutPerPixel) {
  const Compression compression = GetParam();
  const Document d = MergedRgb(7, 5, compression);
  ASSERT_EQ(Read(d, -1, LayoutRgb), kKivResult_OK);
  ASSERT_EQ(plan.planes, 3);
  for (std::int32_t y = 0; y < 5; ++y) {
    for (std::int32_t x = 0; x < 7; ++x) {
      for (std::int32_t p = 0; p < 3; ++p) ASSERT_EQ(Pixel(x, y, p), PlaneAt(d.merged[p], 7, x, y));
    }
  }
  // One compression word, the tables of all channels in one read, a read
  // per row.
  EXPECT_EQ(reads, (compression == Compression::PackBits ? 2u : 1u) + 3u * 5u);
}

INSTANTIATE_TEST_SUITE_P(Compressions, MergedTest, ::testing::Values(Compression::Raw, Compression::PackBits),
                         [](const auto& tested) { return tested.param == Compression::Raw ? "Raw" : "PackBits"; });

constexpr std::int32_t kW = 6;  // the layer: rows 1 to 4, columns 2 to 7
constexpr std::int32_t kH = 4;

// An RGB document of 9 x 8 with one layer whose channels are given by id,
// each filled from its own plane; the mask channel from the mask's
// rectangle.
Layer LayerWith(const std::vector<std::int16_t>& ids, std::optional<Mask> mask = {},
                Compression compression = Compression::PackBits) {
  Layer layer;
  layer.top = 1;
  layer.left = 2;
  layer.bottom = 1 + kH;
  layer.right = 2 + kW;
  layer.mask = mask;
  for (const std::int16_t id : ids) {
    Channel channel;
    channel.id = id;
    channel.compression = compression;
    if (id == -2) {
      channel.rows = Plane(mask->right - mask->left, mask->bottom - mask->top, 7);
    } else {
      channel.rows = Plane(kW, kH, id + 3);
    }
    layer.channels.push_back(channel);
  }
  return layer;
}

Document WithLayers(std::vector<Layer> layers, std::uint16_t mode = kModeRgb, std::uint16_t channels = 3) {
  Document d;
  d.width = 9;
  d.height = 8;
  d.mode = mode;
  d.channels = channels;
  d.layers = std::move(layers);
  return d;
}

// The stored sample of channel id at layer pixel x, y.
std::uint8_t LayerSample(std::int16_t id, std::int32_t x, std::int32_t y) {
  return PlaneAt(Plane(kW, kH, id + 3), kW, x, y);
}

struct MaskedCase {
  const char* name;
  std::vector<std::int16_t> ids;
  Mask mask;
  KivRect placed;  // document rectangle of the mask
  std::uint32_t layout;
};

class MaskedLayerTest : public DriverTest, public ::testing::WithParamInterface<MaskedCase> {};

// The alpha byte of a layer with transparency: the transparency times the
// mask (its sample inside the rectangle, its default colour outside).
TEST_P(MaskedLayerTest, AlphaIsTransparencyTimesMask) {
  const MaskedCase& c = GetParam();
  ASSERT_EQ(Read(WithLayers({LayerWith(c.ids, c.mask)}), 0, c.layout), kKivResult_OK);
  const ByteVector maskPlane = Plane(c.mask.right - c.mask.left, c.mask.bottom - c.mask.top, 7);
  const bool enabled = (c.mask.flags & 2) == 0;
  const bool inverted = (c.mask.flags & 4) != 0;
  const bool hasTransparency = std::find(c.ids.begin(), c.ids.end(), -1) != c.ids.end();
  ASSERT_EQ(plan.planes, c.layout == LayoutRgba ? 4 : 3);
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) {
      for (std::int16_t p = 0; p < 3; ++p) ASSERT_EQ(Pixel(x, y, p), LayerSample(p, x, y)) << x << "," << y;
      if (plan.planes < 4) continue;
      const std::int32_t dx = 2 + x, dy = 1 + y;
      const KivRect& m = c.placed;
      std::uint8_t v = dx >= m.left && dx < m.right && dy >= m.top && dy < m.bottom
                           ? PlaneAt(maskPlane, m.right - m.left, dx - m.left, dy - m.top)
                           : c.mask.defaultColor;
      if (inverted) v = static_cast<std::uint8_t>(255 - v);
      const std::uint8_t t = hasTransparency ? LayerSample(-1, x, y) : 255;
      ASSERT_EQ(Pixel(x, y, 3), enabled ? mul(v, t) : t) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskedLayerTest,
    ::testing::Values(
        MaskedCase{"Enabled", {-1, 0, 1, 2, -2}, Mask{2, 3, 4, 6, 40, 0}, {2, 3, 4, 6}, LayoutRgba},
        MaskedCase{"Disabled", {-1, 0, 1, 2, -2}, Mask{2, 3, 4, 6, 40, 2}, {2, 3, 4, 6}, LayoutRgba},
        MaskedCase{"Inverted", {-1, 0, 1, 2, -2}, Mask{2, 3, 4, 6, 40, 4}, {2, 3, 4, 6}, LayoutRgba},
        MaskedCase{"Relative", {-1, 0, 1, 2, -2}, Mask{1, 1, 3, 4, 40, 1}, {2, 3, 4, 6}, LayoutRgba},
        // Mask rows below the layer are not read; the colours after the mask
        // are read from their own recorded start.
        MaskedCase{"BeforeColoursReachingBelow", {-1, -2, 0, 1, 2}, Mask{0, 3, 9, 6, 40, 0}, {0, 3, 9, 6}, LayoutRgba},
        // No alpha in the pixel: the mask is passed over, blue stays.
        MaskedCase{"MaskOnlyAsRgb", {0, 1, 2, -2}, Mask{2, 3, 4, 6, 0, 0}, {2, 3, 4, 6}, LayoutRgb},
        MaskedCase{"TransparencyLastAsRgb", {0, 1, 2, -1, -2}, Mask{2, 3, 4, 6, 0, 0}, {2, 3, 4, 6}, LayoutRgb}),
    CaseName());

class LayerTest : public DriverTest {};

TEST_F(LayerTest, NativeRgbLayerHasTransparencyInByte3) {
  ASSERT_EQ(Read(WithLayers({LayerWith({-1, 0, 1, 2})}), 0, LayoutRgba), kKivResult_OK);
  ASSERT_EQ(plan.planes, 4);
  EXPECT_EQ(document->readWidth, kW);
  EXPECT_EQ(document->readHeight, kH);
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) {
      for (std::int16_t p = 0; p < 3; ++p) ASSERT_EQ(Pixel(x, y, p), LayerSample(p, x, y));
      ASSERT_EQ(Pixel(x, y, 3), LayerSample(-1, x, y));
    }
  }
}

TEST_F(LayerTest, ChannelMinus3IsPassedOver) {
  ASSERT_EQ(Read(WithLayers({LayerWith({-1, -3, 0, 1, 2}, {}, Compression::Raw)}), 0, LayoutRgba), kKivResult_OK);
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) {
      for (std::int16_t p = 0; p < 3; ++p) ASSERT_EQ(Pixel(x, y, p), LayerSample(p, x, y));
      ASSERT_EQ(Pixel(x, y, 3), LayerSample(-1, x, y));
    }
  }
}

TEST_F(LayerTest, EmptyLayerReadsNothing) {
  Layer empty = LayerWith({-1, 0, 1, 2});
  empty.bottom = empty.top;
  for (Channel& channel : empty.channels) channel.rows.clear();
  ASSERT_EQ(Read(WithLayers({empty}), 0, LayoutRgba), kKivResult_OK);
  EXPECT_EQ(image, 0u);
  EXPECT_EQ(reads, 0u);
}

TEST_F(LayerTest, InvertIsClearedOnTheNextRead) {
  const Document d = WithLayers({LayerWith({-1, 0, 1, 2, -2}, Mask{2, 3, 4, 6, 40, 4}), LayerWith({-1, 0, 1, 2})});
  ASSERT_EQ(Read(d, 0, LayoutRgba), kKivResult_OK);
  EXPECT_EQ(document->alphaInvert, 1);
  ASSERT_EQ(Select(1), kKivResult_OK);
  document->ApplyChosenLayout(LayoutRgba, &info);
  ASSERT_EQ(ReadAgain(LayoutRgba), kKivResult_OK);
  EXPECT_EQ(document->alphaInvert, 0);
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) ASSERT_EQ(Pixel(x, y, 3), LayerSample(-1, x, y));
  }
}

// A layer's result is its first failure; the channels after it are still
// read from their recorded starts.
TEST_F(LayerTest, FirstFailureIsKept) {
  Layer layer = LayerWith({-1, 0, 1, 2});
  layer.channels[1].stored = ByteVector{0x00, 0x02, 1, 2, 3};
  ASSERT_EQ(Read(WithLayers({layer}), 0, LayoutRgba), kKivResult_UnsupportedFile);
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) {
      ASSERT_EQ(Pixel(x, y, 0), 0) << "no host memory reaches the picture";
      ASSERT_EQ(Pixel(x, y, 1), LayerSample(1, x, y));
      ASSERT_EQ(Pixel(x, y, 2), LayerSample(2, x, y));
      ASSERT_EQ(Pixel(x, y, 3), LayerSample(-1, x, y));
    }
  }
}

// Channel data that its record cannot hold: the channel is refused, the
// channels before it stand.
struct CorruptCase {
  const char* name;
  std::vector<std::int16_t> ids;
  Compression compression;
  std::size_t channel;  // the one whose recorded length is one byte short
};

class CorruptChannelTest : public DriverTest, public ::testing::WithParamInterface<CorruptCase> {};

TEST_P(CorruptChannelTest, IsRefused) {
  const CorruptCase& c = GetParam();
  Layer layer = LayerWith(c.ids, Mask{0, 2, 5, 8, 40, 0}, c.compression);
  const std::vector<ByteVector> stored = psdbuild::LayerChannelData(layer, 8);
  layer.channels[c.channel].recordedLength = static_cast<std::uint32_t>(stored[c.channel].size() - 1);
  ASSERT_EQ(Read(WithLayers({layer}), 0, LayoutRgba), kKivResult_CorruptFile);
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) ASSERT_EQ(Pixel(x, y, 0), LayerSample(0, x, y));
  }
}

INSTANTIATE_TEST_SUITE_P(Lengths, CorruptChannelTest,
                         ::testing::Values(CorruptCase{"RawRows", {-1, 0, 1, 2}, Compression::Raw, 3},
                                           CorruptCase{"PackedRows", {-1, 0, 1, 2}, Compression::PackBits, 3},
                                           CorruptCase{"RawMaskRows", {-1, 0, 1, 2, -2}, Compression::Raw, 4},
                                           CorruptCase{"PackedMaskRows", {-1, 0, 1, 2, -2}, Compression::PackBits, 4}),
                         CaseName());

// CMYK: the decoder inverts every channel; colours come out as ink (native)
// or as RGB, transparency and mask in the file's sense either way.
class CmykLayerTest : public DriverTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(CmykLayerTest, AlphaKeepsTheFileSense) {
  const std::uint32_t layout = GetParam();
  const Mask mask{2, 3, 4, 6, 200, 0};
  ASSERT_EQ(Read(WithLayers({LayerWith({-1, 0, 1, 2, 3, -2}, mask)}, kModeCmyk, 4), 0, layout), kKivResult_OK);
  ASSERT_EQ(plan.planes, layout == LayoutCmyk ? 5 : layout == LayoutRgba ? 4 : 3);
  const ByteVector maskPlane = Plane(3, 2, 7);
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) {
      const auto ink = [&](std::int16_t p) { return static_cast<std::uint8_t>(255 - LayerSample(p, x, y)); };
      for (std::int16_t p = 0; p < 3; ++p) {
        const int sum = ink(p) + ink(3);
        ASSERT_EQ(Pixel(x, y, p), layout == LayoutCmyk ? ink(p) : sum < 255 ? 255 - sum : 0);
      }
      if (layout == LayoutCmyk) {
        ASSERT_EQ(Pixel(x, y, 3), ink(3));
      }
      if (layout == LayoutRgb) continue;
      const std::int32_t dx = 2 + x, dy = 1 + y;
      const bool inside = dx >= 3 && dx < 6 && dy >= 2 && dy < 4;
      const std::uint8_t m = inside ? PlaneAt(maskPlane, 3, dx - 3, dy - 2) : mask.defaultColor;
      ASSERT_EQ(Pixel(x, y, plan.planes - 1), mul(m, LayerSample(-1, x, y))) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, CmykLayerTest, ::testing::Values(LayoutCmyk, LayoutRgba, LayoutRgb),
                         [](const auto& tested) {
                           return tested.param == LayoutCmyk ? "Cmyk" : tested.param == LayoutRgba ? "Rgba" : "Rgb";
                         });

class MergedReadTest : public DriverTest {};

TEST_F(MergedReadTest, CmykFifthChannelIsAlpha) {
  Document d;
  d.width = 3;
  d.height = 2;
  d.mode = kModeCmyk;
  d.channels = 5;
  for (int c = 0; c < 5; ++c) d.merged.push_back(Plane(3, 2, c));
  ASSERT_EQ(Read(d, -1, LayoutRgba), kKivResult_OK);
  for (std::int32_t y = 0; y < 2; ++y) {
    for (std::int32_t x = 0; x < 3; ++x) ASSERT_EQ(Pixel(x, y, 3), PlaneAt(d.merged[4], 3, x, y));
  }
}

TEST_F(MergedReadTest, GreyWithAlphaAsIndexedReadsOnlyGrey) {
  Document d;
  d.width = 4;
  d.height = 3;
  d.mode = kModeGrayscale;
  d.channels = 2;
  d.merged = {Plane(4, 3, 0), Plane(4, 3, 1)};
  ASSERT_EQ(Read(d, -1, LayoutIndexed), kKivResult_OK);
  EXPECT_EQ(plan.planes, 1);
  EXPECT_EQ(pixels, d.merged[0]);
  EXPECT_EQ(reads, 1u + 3u);
}

TEST_F(MergedReadTest, FailureInChannel1EndsTheRead) {
  const Document d = MergedRgb(4, 3, Compression::Raw);
  ASSERT_EQ(Prepare(psdbuild::Build(d), -1, LayoutRgb), kKivResult_OK);
  stream->ReadFaults().FailNth(1 + 3 + 1);  // word, channel 0, first row of channel 1
  ASSERT_EQ(ReadAgain(LayoutRgb), kKivResult_ReadFailed);
  EXPECT_EQ(reads, 5u);
  for (std::int32_t y = 0; y < 3; ++y) {
    for (std::int32_t x = 0; x < 4; ++x) {
      ASSERT_EQ(Pixel(x, y, 0), PlaneAt(d.merged[0], 4, x, y));
      ASSERT_EQ(Pixel(x, y, 1), 0);
      ASSERT_EQ(Pixel(x, y, 2), 0);
    }
  }
}

TEST_F(MergedReadTest, ImageRefusedReadsNothing) {
  ASSERT_EQ(Prepare(psdbuild::Build(MergedRgb(4, 3, Compression::PackBits)), -1, LayoutRgb), kKivResult_OK);
  handles->NewHandleFaults().FailNth(1);
  EXPECT_EQ(ReadAgain(LayoutRgb), kKivResult_OutOfMemory);
  EXPECT_EQ(image, 0u);
  EXPECT_EQ(reads, 0u);
}

// The table and the two scratch rows: any of them refused ends the read,
// gives back what was taken and releases the colour table.
class RefusedBlockTest : public DriverTest, public ::testing::WithParamInterface<int> {};

TEST_P(RefusedBlockTest, GivesEverythingBack) {
  Document d = WithLayers({LayerWith({-1, 0})}, kModeGrayscale, 1);
  d.merged = {Plane(9, 8, 0)};
  d.mergedCompression = Compression::PackBits;
  for (const std::int32_t layer : {-1, 0}) {
    SCOPED_TRACE(layer);
    ASSERT_EQ(Prepare(psdbuild::Build(d), layer, LayoutRgb), kKivResult_OK);
    ASSERT_NE(document->colorTableHandle, 0u);
    handles->NewHandleFaults().FailNth(static_cast<std::uint64_t>(GetParam()));
    EXPECT_EQ(ReadAgain(LayoutRgb), kKivResult_OutOfMemory);
    EXPECT_EQ(document->colorTableHandle, 0u);
    EXPECT_EQ(document->colorTable, nullptr);
    EXPECT_EQ(handles->LiveHandles(), 1u) << "only the image is left";
  }
}

INSTANTIATE_TEST_SUITE_P(Blocks, RefusedBlockTest, ::testing::Values(2, 3, 4),
                         [](const auto& tested) { return "Request" + std::to_string(tested.param); });

TEST_F(MergedReadTest, CompressionBeyondPackBitsIsRefused) {
  const Document d = MergedRgb(4, 3, Compression::Raw);
  for (const std::uint16_t code : {2, 3, 0x0101}) {
    SCOPED_TRACE(code);
    ByteVector file = psdbuild::Build(d);
    const std::size_t word = file.size() - psdbuild::MergedImageBytes(d).size();
    file[word] = static_cast<std::uint8_t>(code >> 8);
    file[word + 1] = static_cast<std::uint8_t>(code);
    ASSERT_EQ(Prepare(file, -1, LayoutRgb), kKivResult_OK);
    EXPECT_EQ(ReadAgain(LayoutRgb), kKivResult_UnsupportedFile);
    EXPECT_EQ(reads, 1u);
  }
}

// 32767 channels of 65539 rows: the tables alone would be more than 4 GiB,
// so the rows cannot start anywhere a stream can reach.
struct CraftedCase {
  const char* name;
  std::uint32_t layout;
  std::size_t fileBytes;
  KivResult expected;
};

class CraftedTableTest : public DriverTest, public ::testing::WithParamInterface<CraftedCase> {};

TEST_P(CraftedTableTest, FailsWithoutReadingPastIt) {
  const CraftedCase& c = GetParam();
  Document d;
  d.mode = kModeGrayscale;
  d.channels = 32767;
  d.height = 65539;
  d.width = 1;
  psdbuild::Bytes file;
  file.Append(psdbuild::HeaderBytes(d)).U32(0).U32(0).U32(0).U16(1);
  file.Fill(c.fileBytes - file.size(), 0);
  ASSERT_EQ(Prepare(file.Take(), -1, c.layout), kKivResult_OK);
  EXPECT_EQ(ReadAgain(c.layout), c.expected);
  EXPECT_LE(stream->BytesDelivered(), c.fileBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, CraftedTableTest,
    ::testing::Values(CraftedCase{"TableBeyondFile", LayoutIndexed, 66 * 1024, kKivResult_ReadFailed},
                      CraftedCase{"RowsBeyondStream", LayoutIndexed, 140 * 1024, kKivResult_CorruptFile},
                      CraftedCase{"ImageTooLarge", LayoutIndexedPlus, 66 * 1024, kKivResult_OutOfMemory}),
    CaseName());

// Every layout a 16-bit document is offered in.
struct WideCase {
  const char* name;
  std::uint16_t mode;
  std::uint16_t channels;
  std::uint32_t layout;
  std::int32_t planes;
  std::int32_t sampleBytes;
};

class SixteenBitTest : public DriverTest, public ::testing::WithParamInterface<WideCase> {};

TEST_P(SixteenBitTest, ComesOutRight) {
  const WideCase& c = GetParam();
  Document d;
  d.width = 3;
  d.height = 2;
  d.depth = 16;
  d.mode = c.mode;
  d.channels = c.channels;
  for (int p = 0; p < c.channels; ++p) d.merged.push_back(Plane(6, 2, p));
  ASSERT_EQ(Read(d, -1, c.layout), kKivResult_OK);
  ASSERT_EQ(plan.planes, c.planes);
  ASSERT_EQ(plan.sampleBytes, c.sampleBytes);
  for (std::int32_t y = 0; y < 2; ++y) {
    for (std::int32_t x = 0; x < 3; ++x) {
      for (std::int32_t p = 0; p < c.planes; ++p) {
        // Grey through the ramp gives its index in all three bytes.
        const ByteVector& stored = d.merged[c.mode == kModeGrayscale ? 0 : p];
        // CMYK samples come out as ink: 65535 minus the stored value.
        const auto ink = [&](std::uint8_t b) { return c.mode == kModeCmyk ? static_cast<std::uint8_t>(255 - b) : b; };
        const std::uint8_t high = ink(PlaneAt(stored, 6, 2 * x, y));
        ASSERT_EQ(Pixel(x, y, p * c.sampleBytes), high);
        if (c.sampleBytes == 2) {
          ASSERT_EQ(Pixel(x, y, 2 * p + 1), ink(PlaneAt(stored, 6, 2 * x + 1, y)));
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, SixteenBitTest,
                         ::testing::Values(WideCase{"RgbAsRgb48", kModeRgb, 3, LayoutRgb48, 3, 2},
                                           WideCase{"RgbaAsRgb48", kModeRgb, 4, LayoutRgb48, 4, 2},
                                           WideCase{"RgbAsRgb", kModeRgb, 3, LayoutRgb, 3, 1},
                                           WideCase{"RgbaAsRgba", kModeRgb, 4, LayoutRgba, 4, 1},
                                           WideCase{"GreyAsIndexed", kModeGrayscale, 1, LayoutIndexed, 1, 1},
                                           WideCase{"GreyAsRgb", kModeGrayscale, 1, LayoutRgb, 3, 1},
                                           WideCase{"CmykAsCmyk", kModeCmyk, 4, LayoutCmyk, 4, 1}),
                         CaseName());

TEST_F(MergedReadTest, BitmapIsBlackAndWhite) {
  Document d;
  d.width = 10;
  d.height = 2;
  d.depth = 1;
  d.mode = kModeBitmap;
  d.channels = 1;
  d.merged = {{0x80, 0x40, 0x0F, 0xC0}};
  for (const std::uint32_t layout : {LayoutIndexed, LayoutRgb}) {
    SCOPED_TRACE(layout);
    ASSERT_EQ(Read(d, -1, layout), kKivResult_OK);
    for (std::int32_t y = 0; y < 2; ++y) {
      for (std::int32_t x = 0; x < 10; ++x) {
        const std::uint8_t stored = d.merged[0][static_cast<std::size_t>(2 * y + x / 8)];
        const bool black = (stored >> (7 - x % 8) & 1) != 0;
        for (std::int32_t p = 0; p < plan.planes; ++p) {
          ASSERT_EQ(Pixel(x, y, p), layout == LayoutIndexed ? (black ? 0 : 1) : (black ? 0 : 255));
        }
      }
    }
  }
}

}  // namespace
}  // namespace strataread
