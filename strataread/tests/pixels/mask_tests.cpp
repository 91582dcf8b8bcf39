// The user mask at its document position: every pixel of the alpha plane
// combined with the mask sample there, or with the default colour outside
// the mask rectangle.
#include <limits>
#include <string>
#include <tuple>

#include "channel_decode.h"
#include "mask_channel.h"
#include "pixel_fixture.h"

namespace strataread {
namespace {

using psdbuild::ByteVector;
using psdbuild::Compression;

constexpr std::int32_t kPlane = 1;  // grey and alpha: the alpha plane
constexpr std::uint8_t kUntouched = 0xEE;

// The stored mask sample at mask column x, row y: varied, with short runs.
std::uint8_t MaskSample(std::int64_t x, std::int64_t y) { return static_cast<std::uint8_t>((x / 3) * 7 + y * 31 + 1); }
// What the alpha plane holds before the mask is combined into it.
std::uint8_t AlphaBefore(std::int32_t x, std::int32_t y) { return static_cast<std::uint8_t>(x * 3 + y * 5 + 40); }

struct MaskCase {
  const char* name;
  KivRect layer;   // top, left, bottom, right, in the document
  KivRect stored;  // the mask rectangle as the record holds it
  bool relative;
  KivRect placed;  // the mask rectangle in the document
  std::uint8_t defaultColor;
  bool multiply;
  bool invert;
  std::int64_t rowsDecoded;
};

class MaskTest : public PixelTest, public ::testing::WithParamInterface<std::tuple<MaskCase, bool>> {
protected:
  // The mask's stored form at the stream's start: its table (packed) and its
  // rows. Answers the table's address, or null for raw rows.
  const std::uint8_t* StoreMask(const KivRect& placed, bool packed, std::int16_t depth = 8) {
    const std::int64_t width = std::max(placed.right - placed.left, 0);
    const std::int64_t height = std::max(placed.bottom - placed.top, 0);
    const std::size_t rowBytes = RowLength(depth, width);
    ByteVector rows;
    for (std::int64_t y = 0; y < height; ++y) {
      for (std::int64_t x = 0; x < width; ++x) {
        rows.push_back(MaskSample(x, y));
        if (depth == 16) rows.push_back(0x5A);
      }
    }
    encoded = psdbuild::EncodePlane(rows, rowBytes, static_cast<std::size_t>(height),
                                    packed ? Compression::PackBits : Compression::Raw, false);
    tableBytes = packed ? static_cast<std::uint32_t>(2 * height) : 0;
    Open(encoded);
    EXPECT_EQ(stream->SetPosition(tableBytes), kKivResult_OK);
    document->compression = packed ? 1 : 0;
    return packed ? encoded.data() : nullptr;
  }

  // Stored bytes of the mask rows before row.
  std::uint64_t RowsEnd(std::int64_t row, bool packed, std::size_t rowBytes) const {
    if (!packed) return tableBytes + static_cast<std::uint64_t>(row) * rowBytes;
    std::uint64_t end = tableBytes;
    for (std::int64_t i = 0; i < row; ++i) end += static_cast<std::uint64_t>(encoded[2 * i] << 8 | encoded[2 * i + 1]);
    return end;
  }

  ByteVector encoded;
  std::uint32_t tableBytes = 0;
};

TEST_P(MaskTest, CombinesEveryPixelOnce) {
  const auto& [c, packed] = GetParam();
  document->depth = 8;
  document->colorMode = kModeGrayscale;
  document->alphaMultiply = c.multiply ? 1 : 0;
  document->alphaInvert = c.invert ? 1 : 0;
  LayerRecord layer{};
  layer.bounds = c.layer;
  layer.maskBounds = c.stored;
  layer.maskPositionRelative = c.relative ? 1 : 0;
  layer.maskDefaultColor = c.defaultColor;
  const std::int32_t width = c.layer.right - c.layer.left;
  const std::int32_t height = c.layer.bottom - c.layer.top;
  TestImage alpha(width, height, 2, kUntouched);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) alpha.At(x, y, kPlane) = AlphaBefore(x, y);
  }
  const std::uint8_t* table = StoreMask(c.placed, packed);

  ASSERT_EQ(ReadMaskChannel(*document, layer, RowTable(table), kPlane, alpha.buffer, encoded.size()), kKivResult_OK);

  const KivRect& m = c.placed;
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const std::int64_t dx = static_cast<std::int64_t>(c.layer.left) + x;
      const std::int64_t dy = static_cast<std::int64_t>(c.layer.top) + y;
      const bool inside = dx >= m.left && dx < m.right && dy >= m.top && dy < m.bottom;
      std::uint8_t v = inside ? MaskSample(dx - m.left, dy - m.top) : c.defaultColor;
      if (c.invert) v = static_cast<std::uint8_t>(255 - v);
      const std::uint8_t expected = c.multiply ? mul(v, AlphaBefore(x, y)) : v;
      ASSERT_EQ(alpha.At(x, y, kPlane), expected) << "pixel " << x << ", " << y << (inside ? " inside" : " outside");
      ASSERT_EQ(alpha.At(x, y, 0), kUntouched);
    }
  }
  EXPECT_EQ(layer.maskBounds.top, m.top);
  EXPECT_EQ(layer.maskBounds.left, m.left);
  EXPECT_EQ(layer.maskBounds.bottom, m.bottom);
  EXPECT_EQ(layer.maskBounds.right, m.right);
  // Only overlapping rows are decoded: rows above are passed with a seek,
  // rows below are not read.
  EXPECT_EQ(stream->ReadCalls(), static_cast<std::uint64_t>(c.rowsDecoded));
  if (c.rowsDecoded > 0) {
    const std::int64_t lastRow = std::min(m.bottom, c.layer.bottom) - m.top;
    EXPECT_EQ(stream->Position(), RowsEnd(lastRow, packed, static_cast<std::size_t>(m.right - m.left)));
  }
}

constexpr KivRect kLayer100{0, 0, 100, 100};
constexpr KivRect kTenByTen{20, 30, 30, 40};

INSTANTIATE_TEST_SUITE_P(
    Placements, MaskTest,
    ::testing::Combine(
        ::testing::Values(
            MaskCase{"EqualRectangles", {0, 0, 6, 8}, {0, 0, 6, 8}, false, {0, 0, 6, 8}, 9, false, false, 6},
            MaskCase{"TenByTenInHundred", kLayer100, kTenByTen, false, kTenByTen, 9, false, false, 10},
            MaskCase{"Relative", {100, 200, 200, 300}, kTenByTen, true, {120, 230, 130, 240}, 9, false, false, 10},
            MaskCase{"LeftOverhang", {0, 10, 5, 20}, {0, 7, 5, 15}, false, {0, 7, 5, 15}, 9, false, false, 5},
            MaskCase{"RightOverhang", {0, 0, 5, 10}, {1, 6, 4, 14}, false, {1, 6, 4, 14}, 9, false, false, 3},
            MaskCase{"WhollyRight", {0, 0, 5, 10}, {0, 12, 5, 20}, false, {0, 12, 5, 20}, 9, false, false, 0},
            MaskCase{"WhollyBelow", {0, 0, 5, 10}, {7, 0, 9, 10}, false, {7, 0, 9, 10}, 9, false, false, 0},
            MaskCase{"BeginsAbove", {10, 0, 15, 6}, {4, 0, 12, 6}, false, {4, 0, 12, 6}, 9, false, false, 2},
            MaskCase{"WhollyAbove", {10, 0, 15, 6}, {0, 0, 5, 6}, false, {0, 0, 5, 6}, 9, false, false, 0},
            MaskCase{"EmptyRectangle", {0, 0, 5, 10}, {2, 3, 2, 9}, false, {2, 3, 2, 9}, 9, false, false, 0},
            MaskCase{"ReversedRectangle", {0, 0, 5, 10}, {4, 8, 1, 2}, false, {4, 8, 1, 2}, 9, false, false, 0},
            MaskCase{"OpaqueDefaultTimesAlpha", kLayer100, kTenByTen, false, kTenByTen, 255, true, false, 10},
            MaskCase{"ClearDefaultTimesAlpha", kLayer100, kTenByTen, false, kTenByTen, 0, true, false, 10},
            MaskCase{"Inverted", kLayer100, kTenByTen, false, kTenByTen, 9, false, true, 10},
            MaskCase{"InvertedTimesAlpha", kLayer100, kTenByTen, false, kTenByTen, 200, true, true, 10}),
        ::testing::Bool()),
    [](const auto& tested) {
      return std::string(std::get<0>(tested.param).name) + (std::get<1>(tested.param) ? "Packed" : "Raw");
    });

class MaskFaultTest : public MaskTest {};

// A 16-bit mask wider than its layer: raw rows are twice the mask width in
// bytes, and the scratch rows must hold them.
TEST_F(MaskFaultTest, WideSixteenBitMaskKeepsHighBytes) {
  document->depth = 16;
  document->colorMode = kModeRgb;
  LayerRecord layer{};
  layer.bounds = {0, 0, 2, 4};
  layer.maskBounds = {0, -3, 2, 7};
  for (const std::int32_t sampleBytes : {1, 2}) {
    SCOPED_TRACE(sampleBytes);
    TestImage alpha(4, 2, 4, 0, sampleBytes);
    const std::uint8_t* table = StoreMask(layer.maskBounds, false, 16);
    ASSERT_EQ(ReadMaskChannel(*document, layer, RowTable(table), 3, alpha.buffer, encoded.size()), kKivResult_OK);
    for (std::int32_t y = 0; y < 2; ++y) {
      for (std::int32_t x = 0; x < 4; ++x) {
        ASSERT_EQ(alpha.At(x, y, 3 * sampleBytes), MaskSample(x + 3, y));
        if (sampleBytes == 2) {
          ASSERT_EQ(alpha.At(x, y, 7), 0x5A);
        }
      }
    }
  }
}

// A rectangle that begins 2^31 rows above the layer: its rows are not
// decoded one by one but measured against the channel's data, which cannot
// hold them.
TEST_F(MaskFaultTest, RowsAboveBeyondTheChannelAreRefused) {
  document->depth = 8;
  document->colorMode = kModeGrayscale;
  LayerRecord layer{};
  layer.bounds = {1000, 0, 1002, 4};
  layer.maskBounds = {std::numeric_limits<std::int32_t>::min() + 1, 0, 1002, 4};
  layer.maskDefaultColor = 7;
  TestImage alpha(4, 2, 2, kUntouched);
  Open(ByteVector(64, 1));
  document->compression = 0;
  EXPECT_EQ(ReadMaskChannel(*document, layer, RowTable(), kPlane, alpha.buffer, 64), kKivResult_CorruptFile);
  EXPECT_EQ(stream->ReadCalls(), 0u);
  EXPECT_EQ(handles->NewHandleCalls(), 0u);
}

TEST_F(MaskFaultTest, RowsBeyondTheChannelEndAreRefused) {
  document->depth = 8;
  document->colorMode = kModeGrayscale;
  LayerRecord layer{};
  layer.bounds = {0, 0, 4, 4};
  layer.maskBounds = layer.bounds;
  TestImage alpha(4, 4, 2, kUntouched);
  const std::uint8_t* table = StoreMask(layer.maskBounds, false);
  EXPECT_EQ(ReadMaskChannel(*document, layer, RowTable(table), kPlane, alpha.buffer, encoded.size() - 1),
            kKivResult_CorruptFile);
  for (const std::uint8_t b : alpha.bytes) ASSERT_EQ(b, kUntouched);
}

TEST_F(MaskFaultTest, ScratchRefusedWritesNothing) {
  document->depth = 8;
  document->colorMode = kModeGrayscale;
  ASSERT_EQ(document->MakeColorTable(), kKivResult_OK);
  LayerRecord layer{};
  layer.bounds = {0, 0, 4, 4};
  layer.maskBounds = {1, 1, 3, 3};
  TestImage alpha(4, 4, 2, kUntouched);
  const std::uint8_t* table = StoreMask(layer.maskBounds, true);
  handles->NewHandleFaults().FailNth(2);
  EXPECT_EQ(ReadMaskChannel(*document, layer, RowTable(table), kPlane, alpha.buffer, encoded.size()),
            kKivResult_OutOfMemory);
  EXPECT_EQ(document->colorTableHandle, 0u);
  EXPECT_EQ(document->colorTable, nullptr);
  for (const std::uint8_t b : alpha.bytes) ASSERT_EQ(b, kUntouched);
}

TEST_F(MaskFaultTest, FailedRowStopsTheMask) {
  document->depth = 8;
  document->colorMode = kModeGrayscale;
  LayerRecord layer{};
  layer.bounds = {0, 0, 4, 4};
  layer.maskBounds = layer.bounds;
  layer.maskDefaultColor = 3;
  TestImage alpha(4, 4, 2, kUntouched);
  const std::uint8_t* table = StoreMask(layer.maskBounds, false);
  stream->ReadFaults().FailNth(3);
  EXPECT_EQ(ReadMaskChannel(*document, layer, RowTable(table), kPlane, alpha.buffer, encoded.size()),
            kKivResult_ReadFailed);
  for (std::int32_t x = 0; x < 4; ++x) {
    EXPECT_EQ(alpha.At(x, 1, kPlane), MaskSample(x, 1));
    EXPECT_EQ(alpha.At(x, 2, kPlane), kUntouched);
  }
}

}  // namespace
}  // namespace strataread
