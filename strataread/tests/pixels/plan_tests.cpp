// The delivered pixel: planes, sample width and alpha plane for each
// colour mode, depth, conversion and layout.
#include <string>

#include "pixel_plan.h"
#include "pixel_fixture.h"

namespace strataread {
namespace {

struct PlanCase {
  const char* name;
  std::uint32_t mode;
  std::int16_t depth;
  std::uint32_t flags;
  std::uint32_t layout;
  std::int32_t channels;
  std::int32_t planes;
  std::int32_t sampleBytes;
  std::int32_t alphaPlane;
  bool reverse;
};

class PlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanTest, FitsTheLayout) {
  const PlanCase& c = GetParam();
  CPS30Document document;
  document.colorMode = c.mode;
  document.depth = c.depth;
  document.convertFlags = c.flags;
  const PixelPlan plan = PlanPixels(document, c.layout, c.channels);
  EXPECT_EQ(plan.planes, c.planes);
  EXPECT_EQ(plan.sampleBytes, c.sampleBytes);
  EXPECT_EQ(plan.alphaPlane, c.alphaPlane);
  EXPECT_EQ(plan.reverseAlphaInvert, c.reverse);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PlanTest,
    ::testing::Values(
        PlanCase{"RgbNative", kModeRgb, 8, 0, LayoutRgb, 3, 3, 1, -1, false},
        PlanCase{"RgbaNative", kModeRgb, 8, 0, LayoutRgba, 4, 4, 1, 3, false},
        PlanCase{"RgbaNativeWithSpotChannel", kModeRgb, 8, 0, LayoutRgba, 5, 4, 1, 3, false},
        PlanCase{"RgbaAsRgb", kModeRgb, 8, CopyPlanes, LayoutRgb, 4, 3, 1, -1, false},
        PlanCase{"Rgb48", kModeRgb, 16, 0, LayoutRgb48, 3, 3, 2, -1, false},
        PlanCase{"Rgb48WithAlpha", kModeRgb, 16, 0, LayoutRgb48, 4, 4, 2, 3, false},
        PlanCase{"Rgb16AsRgb", kModeRgb, 16, WideSamples | CopyPlanes, LayoutRgb, 4, 3, 1, -1, false},
        PlanCase{"Rgb16AsRgba", kModeRgb, 16, WideSamples, LayoutRgba, 4, 4, 1, 3, false},
        PlanCase{"GreyAsRgb", kModeGrayscale, 8, PaletteToRgb, LayoutRgb, 1, 3, 1, -1, false},
        PlanCase{"GreyAlphaAsIndexed", kModeGrayscale, 8, CopyPlanes, LayoutIndexed, 2, 1, 1, -1, false},
        PlanCase{"GreyAlphaAsRgb", kModeGrayscale, 8, CopyPlanes | PaletteToRgb, LayoutRgb, 2, 3, 1, -1, false},
        PlanCase{"GreyAlphaAsRgba", kModeGrayscale, 8, PaletteToRgba, LayoutRgba, 2, 4, 1, 3, false},
        PlanCase{"GreyAlphaNative", kModeGrayscale, 8, 0, LayoutIndexedPlus, 2, 2, 1, 1, false},
        PlanCase{"GreyIndexed", kModeGrayscale, 8, 0, LayoutIndexed, 1, 1, 1, -1, false},
        PlanCase{"Grey16Indexed", kModeGrayscale, 16, 0, LayoutIndexed, 1, 1, 1, -1, false},
        PlanCase{"IndexedAlphaNative", kModeIndexed, 8, 0, LayoutIndexedPlus, 2, 2, 1, 1, false},
        PlanCase{"CmykFourAsRgb", kModeCmyk, 8, CmykToRgb, LayoutRgb, 4, 3, 1, -1, false},
        PlanCase{"CmykFiveAsRgb", kModeCmyk, 8, CmykToRgb, LayoutRgb, 5, 3, 1, -1, false},
        PlanCase{"CmykFiveAsRgba", kModeCmyk, 8, CmykToRgb, LayoutRgba, 5, 4, 1, 4, false},
        PlanCase{"CmykNative", kModeCmyk, 8, 0, LayoutCmyk, 4, 4, 1, -1, false},
        PlanCase{"CmykNativeWithAlpha", kModeCmyk, 8, 0, LayoutCmyk, 5, 5, 1, 4, true},
        PlanCase{"Cmyk16Native", kModeCmyk, 16, 0, LayoutCmyk, 4, 4, 1, -1, false},
        PlanCase{"BitmapAsRgb", kModeBitmap, 1, BitmapToRgb, LayoutRgb, 1, 3, 1, -1, false},
        PlanCase{"BitmapAsIndexed", kModeBitmap, 1, 0, LayoutIndexed, 1, 1, 1, -1, false}),
    CaseName());

}  // namespace
}  // namespace strataread
