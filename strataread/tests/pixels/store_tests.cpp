// The stores: mul, the combine rules, StoreSamples under every conversion
// and FillSpan.
#include <string>

#include "pixel_fixture.h"

namespace strataread {
namespace {

using psdbuild::ByteVector;

constexpr std::uint8_t E = 0xEE;  // a byte no store should touch

TEST(Mul, MatchesTheRoundedProductForEveryPair) {
  for (unsigned a = 0; a < 256; ++a) {
    for (unsigned b = 0; b < 256; ++b) {
      ASSERT_EQ(mul(static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)), (a * b + 127) / 255)
          << a << " x " << b;
    }
  }
}

TEST(Mul, KnownValues) {
  for (unsigned d = 0; d < 256; ++d) {
    EXPECT_EQ(mul(255, static_cast<std::uint8_t>(d)), d);
    EXPECT_EQ(mul(0, static_cast<std::uint8_t>(d)), 0);
  }
  EXPECT_EQ(mul(128, 128), 64);
  EXPECT_EQ(mul(1, 1), 0);
  EXPECT_EQ(mul(255, 1), 1);
  EXPECT_EQ(mul16(65535, 0x8000), 0x8000);
  EXPECT_EQ(mul16(0x8000, 0x8000), 0x4000);
  EXPECT_EQ(mul16(1, 1), 0);
}

struct StoreCase {
  const char* name;
  std::uint32_t flags;
  std::int16_t depth;
  std::int32_t planes;
  std::int32_t sampleBytes;
  std::int32_t plane;
  std::int32_t startX;
  ByteVector samples;  // the decoded row
  std::int32_t count;
  bool multiply;
  bool invert;
  ByteVector before;  // the one image row, before and after the store
  ByteVector after;
};

class StoreSamplesTest : public ::testing::TestWithParam<StoreCase> {
protected:
  StoreSamplesTest() {
    // Entry i is (i + 3, 2i + 6, 3i + 9): entry 7 is (10, 20, 30).
    for (int i = 0; i < 256; ++i) {
      table[3 * i] = static_cast<std::uint8_t>(i + 3);
      table[3 * i + 1] = static_cast<std::uint8_t>(2 * i + 6);
      table[3 * i + 2] = static_cast<std::uint8_t>(3 * i + 9);
    }
    document.colorTable = table;
  }
  ~StoreSamplesTest() override { document.colorTable = nullptr; }

  CPS30Document document;
  std::uint8_t table[768];
};

TEST_P(StoreSamplesTest, StoresIntoThePixelOnly) {
  const StoreCase& c = GetParam();
  document.convertFlags = c.flags;
  document.depth = c.depth;
  document.alphaMultiply = c.multiply ? 1 : 0;
  document.alphaInvert = c.invert ? 1 : 0;
  ByteVector row = c.before;
  const auto width = static_cast<std::int32_t>(row.size() / static_cast<std::size_t>(c.planes * c.sampleBytes));
  const ImageBuffer image{row.data(), width, 1, c.planes, c.sampleBytes};
  EXPECT_EQ(StoreSamples(document, image, 0, c.plane, c.samples.data(), c.count, c.startX), kKivResult_OK);
  EXPECT_EQ(row, c.after);
}

// The combine rules on s = 200 over d = 100.
const std::uint8_t kS = 200, kD = 100, kInvS = 55;

INSTANTIATE_TEST_SUITE_P(
    Rules, StoreSamplesTest,
    ::testing::Values(
        StoreCase{"NativeGoesToItsPlane", 0, 8, 3, 1, 1, 0, {5, 6}, 2, false, false, {0, 0, 0, 0, 0, 0},
                  {0, 5, 0, 0, 6, 0}},
        StoreCase{"NativeStores", 0, 8, 2, 1, 1, 0, {kS}, 1, false, false, {E, kD}, {E, kS}},
        StoreCase{"NativeInverts", 0, 8, 2, 1, 1, 0, {kS}, 1, false, true, {E, kD}, {E, kInvS}},
        StoreCase{"NativeMultiplies", 0, 8, 2, 1, 1, 0, {kS}, 1, true, false, {E, kD}, {E, mul(kS, kD)}},
        StoreCase{"NativeInvertsAndMultiplies", 0, 8, 2, 1, 1, 0, {kS}, 1, true, true, {E, kD}, {E, mul(kInvS, kD)}},
        StoreCase{"NativePlaneBeyondPixel", 0, 8, 2, 1, 2, 0, {kS}, 1, false, false, {E, E}, {E, E}},
        StoreCase{"NativeNegativePlane", 0, 8, 2, 1, -1, 0, {kS}, 1, false, false, {E, E}, {E, E}},
        StoreCase{"CmykAlphaStores", CmykToRgb, 8, 4, 1, 4, 0, {kS}, 1, false, false, {1, 2, 3, kD}, {1, 2, 3, kInvS}},
        StoreCase{"CmykAlphaInverts", CmykToRgb, 8, 4, 1, 4, 0, {kS}, 1, false, true, {1, 2, 3, kD}, {1, 2, 3, kS}},
        StoreCase{"CmykAlphaMultiplies", CmykToRgb, 8, 4, 1, 4, 0, {kS}, 1, true, false, {1, 2, 3, kD},
                  {1, 2, 3, mul(kInvS, kD)}},
        StoreCase{"CmykAlphaInvertsAndMultiplies", CmykToRgb, 8, 4, 1, 4, 0, {kS}, 1, true, true, {1, 2, 3, kD},
                  {1, 2, 3, mul(kS, kD)}},
        StoreCase{"CmykBeyondAlphaPassedOver", CmykToRgb, 8, 4, 1, 5, 0, {kS}, 1, false, false, {1, 2, 3, kD},
                  {1, 2, 3, kD}},
        StoreCase{"CmykAlphaWithoutAlphaByte", CmykToRgb, 8, 3, 1, 4, 0, {kS}, 1, false, false, {1, 2, 3}, {1, 2, 3}},
        StoreCase{"CmykColourPlane", CmykToRgb, 8, 3, 1, 1, 0, {100}, 1, false, false, {E, E, E}, {E, 100, E}},
        // Ink amounts cyan 0, magenta 100, yellow 255 and black 50.
        StoreCase{"CmykBlackGivesRgb", CmykToRgb, 8, 3, 1, 3, 0, {50}, 1, false, false, {0, 100, 255}, {205, 105, 0}},
        StoreCase{"CmykFullInkIsZero", CmykToRgb, 8, 4, 1, 3, 0, {50}, 1, false, false, {205, 204, 206, E},
                  {0, 1, 0, E}},
        StoreCase{"CmykSixteenBitTakesHighByte", CmykToRgb, 16, 3, 1, 1, 0, {100, 7}, 1, false, false, {E, E, E},
                  {E, 100, E}},
        StoreCase{"PaletteEntryToRgb", PaletteToRgb, 8, 3, 1, 0, 0, {7}, 1, false, false, {E, E, E, E, E, E},
                  {10, 20, 30, E, E, E}},
        StoreCase{"PaletteEntryToRgba", PaletteToRgba, 8, 4, 1, 0, 0, {7}, 1, false, false, {E, E, E, E},
                  {10, 20, 30, E}},
        StoreCase{"PaletteSixteenBitIndexIsHighByte", PaletteToRgb, 16, 3, 1, 0, 0, {7, 0xFF}, 1, false, false,
                  {E, E, E}, {10, 20, 30}},
        StoreCase{"PaletteAlphaCombined", PaletteToRgba, 8, 4, 1, 1, 0, {128}, 1, true, false, {1, 2, 3, 200},
                  {1, 2, 3, mul(128, 200)}},
        StoreCase{"PaletteAlphaWithoutAlphaByte", PaletteToRgb, 8, 3, 1, 1, 0, {128}, 1, false, false, {1, 2, 3},
                  {1, 2, 3}},
        StoreCase{"PaletteFurtherPlaneUnderCopyPlanes", PaletteToRgb | CopyPlanes, 8, 3, 1, 1, 0, {128}, 1, false,
                  false, {1, 2, 3}, {1, 2, 3}},
        StoreCase{"CopyPlanesDropsPlane3", CopyPlanes, 8, 3, 1, 3, 0, {9, 9}, 2, false, false, {E, E, E, E, E, E},
                  {E, E, E, E, E, E}},
        StoreCase{"CopyPlanesCopies", CopyPlanes, 8, 3, 1, 2, 0, {9, 8}, 2, true, true, {E, E, E, E, E, E},
                  {E, E, 9, E, E, 8}},
        StoreCase{"WideSamplesTakeHighBytes", WideSamples | CopyPlanes, 16, 3, 1, 0, 0, {0x12, 0x34, 0x56, 0x78}, 2,
                  false, false, {0, 0, 0, 0, 0, 0}, {0x12, 0, 0, 0x56, 0, 0}},
        StoreCase{"ClippedAtRowEnd", 0, 8, 1, 1, 0, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 10, false, false,
                  {E, E, E, E, E, E, E, E}, {E, E, E, E, E, 1, 2, 3}},
        StoreCase{"StartBeyondRow", 0, 8, 1, 1, 0, 8, {1}, 1, false, false, {E, E, E, E, E, E, E, E},
                  {E, E, E, E, E, E, E, E}},
        StoreCase{"BitmapBlackAndWhite", BitmapToRgb, 1, 3, 1, 0, 0, {0, 1}, 2, false, false, {E, E, E, E, E, E},
                  {0, 0, 0, 255, 255, 255}},
        StoreCase{"SixteenBitPlane", 0, 16, 3, 2, 2, 0, {0x12, 0x34}, 1, false, false, {0, 0, 0, 0, 0, 0},
                  {0, 0, 0, 0, 0x12, 0x34}},
        StoreCase{"SixteenBitAlphaMultiplies", 0, 16, 2, 2, 1, 0, {0xFF, 0xFF}, 1, true, false, {E, E, 0x80, 0x00},
                  {E, E, 0x80, 0x00}},
        StoreCase{"SixteenBitAlphaInverts", 0, 16, 2, 2, 1, 0, {0x00, 0x01}, 1, false, true, {E, E, 0, 0},
                  {E, E, 0xFF, 0xFE}}),
    CaseName());

struct FillCase {
  const char* name;
  std::int32_t planes;
  std::int32_t sampleBytes;
  std::int32_t plane;
  std::uint8_t value;
  std::int32_t from;
  std::int32_t to;
  bool multiply;
  bool invert;
  ByteVector before;
  ByteVector after;
};

class FillSpanTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillSpanTest, CombinesTheValue) {
  const FillCase& c = GetParam();
  CPS30Document document;
  document.convertFlags = CmykToRgb | PaletteToRgb;  // FillSpan looks at no flag
  document.alphaMultiply = c.multiply ? 1 : 0;
  document.alphaInvert = c.invert ? 1 : 0;
  ByteVector row = c.before;
  const auto width = static_cast<std::int32_t>(row.size() / static_cast<std::size_t>(c.planes * c.sampleBytes));
  FillSpan(document, ImageBuffer{row.data(), width, 1, c.planes, c.sampleBytes}, 0, c.plane, c.value, c.from, c.to);
  EXPECT_EQ(row, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, FillSpanTest,
    ::testing::Values(
        FillCase{"OpaqueTimesLeavesPlane", 2, 1, 1, 255, 0, 3, true, false, {9, 0, 9, 77, 9, 255},
                 {9, 0, 9, 77, 9, 255}},
        FillCase{"OpaqueInvertedTimesIsZero", 2, 1, 1, 255, 0, 3, true, true, {9, 0, 9, 77, 9, 255},
                 {9, 0, 9, 0, 9, 0}},
        FillCase{"ZeroTimesIsZero", 2, 1, 1, 0, 0, 3, true, false, {9, 1, 9, 77, 9, 255}, {9, 0, 9, 0, 9, 0}},
        FillCase{"Stores", 2, 1, 1, 200, 0, 3, false, false, {9, 1, 9, 2, 9, 3}, {9, 200, 9, 200, 9, 200}},
        FillCase{"Plane4OfFourIsByte3Inverted", 4, 1, 4, 200, 0, 1, false, false, {E, E, E, E}, {E, E, E, 55}},
        FillCase{"Plane4OfFourInvertedTwice", 4, 1, 4, 200, 0, 1, false, true, {E, E, E, E}, {E, E, E, 200}},
        FillCase{"EndLimitedToRow", 1, 1, 0, 7, 1, 99, false, false, {E, E, E}, {E, 7, 7}},
        FillCase{"NegativeStartLimited", 1, 1, 0, 7, -5, 2, false, false, {E, E, E}, {7, 7, E}},
        FillCase{"EmptySpan", 1, 1, 0, 7, 2, 2, false, false, {E, E, E}, {E, E, E}},
        FillCase{"NegativePlane", 1, 1, -1, 7, 0, 3, false, false, {E, E, E}, {E, E, E}},
        FillCase{"SixteenBitPlane", 2, 2, 1, 0x80, 0, 1, false, false, {E, E, 0, 0}, {E, E, 0x80, 0x80}},
        FillCase{"SixteenBitOpaqueTimes", 2, 2, 1, 255, 0, 1, true, false, {E, E, 0x12, 0x34},
                 {E, E, 0x12, 0x34}}),
    CaseName());

}  // namespace
}  // namespace strataread
