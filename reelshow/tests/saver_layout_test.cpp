#include "saver_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "background_colors.h"

namespace reelshow {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct RoundCase {
  std::int64_t numerator;
  std::int64_t denominator;
  std::int64_t rounded;
};

class RoundHalfEvenTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
  const RoundCase& c = GetParam();
  EXPECT_EQ(RoundHalfEven(c.numerator, c.denominator), c.rounded) << c.numerator << "/" << c.denominator;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundHalfEvenTest,
    ::testing::Values(RoundCase{701, 2, 350}, RoundCase{703, 2, 352}, RoundCase{683, 2, 342},
                      RoundCase{700, 2, 350}, RoundCase{-1, 2, 0}, RoundCase{-3, 2, -2},
                      RoundCase{-977, 2, -488}, RoundCase{1366, 4, 342}, RoundCase{1363, 4, 341},
                      RoundCase{1365, 4, 341}, RoundCase{1367, 4, 342}, RoundCase{-5, 4, -1},
                      RoundCase{-6, 4, -2}, RoundCase{-7, 4, -2}, RoundCase{0, 4, 0}));

struct LayoutCase {
  const char* name;
  std::int32_t picdis;
  platform::ScreenSize screen;
  std::int32_t width;
  std::int32_t height;
  platform::Bounds panel;
};

class PanelLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PanelLayoutTest, PlacesThePanel) {
  const LayoutCase& c = GetParam();
  EXPECT_EQ(PanelLayoutFor(c.picdis, c.screen, c.width, c.height), c.panel);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PanelLayoutTest,
    ::testing::Values(
        LayoutCase{"full", 1, {1024, 768}, 5, 5, {0, 0, 1024, 768}},
        LayoutCase{"medium", 2, {1024, 768}, -1, -1, {256, 192, 512, 384}},
        LayoutCase{"small", 3, {1024, 768}, -1, -1, {384, 288, 256, 192}},
        LayoutCase{"medium_odd_half", 2, {1366, 768}, -1, -1, {342, 192, 683, 384}},
        LayoutCase{"custom_half_left", 4, {1024, 768}, 323, 200, {350, 284, 323, 200}},
        LayoutCase{"custom_wider_than_screen", 4, {1024, 768}, 2000, 100, {-488, 334, 2000, 100}},
        LayoutCase{"custom_missing", 4, {1024, 768}, -1, -1, {512, 384, -1, -1}},
        LayoutCase{"own_size_as_read", 5, {1024, 768}, 320, 240, {352, 264, 320, 240}},
        LayoutCase{"custom_largest", 4, {1024, 768}, kMax, kMax, {-1073741312, -1073741440, kMax, kMax}},
        LayoutCase{"custom_smallest", 4, {1024, 768}, kMin, kMin, {1073742336, 1073742208, kMin, kMin}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ShowsSomethingTest, NeedsAtLeastOnePixelEachWay) {
  EXPECT_TRUE(ShowsSomething({0, 0, 1, 1}));
  EXPECT_FALSE(ShowsSomething({0, 0, 0, 10}));
  EXPECT_FALSE(ShowsSomething({0, 0, 10, -1}));
}

TEST(BackgroundColorTest, EachColourHoldsThreeSteps) {
  const platform::Rgb expected[3][4] = {
      {{0, 0, 0}, {128, 128, 128}, {192, 192, 192}, {255, 255, 255}},
      {{0, 0, 128}, {0, 0, 0}, {128, 0, 128}, {128, 0, 0}},
      {{0, 128, 0}, {0, 255, 255}, {255, 0, 255}, {255, 255, 0}},
  };
  for (std::int32_t set = 1; set <= 3; ++set) {
    for (std::int32_t step = 1; step <= 12; ++step) {
      EXPECT_EQ(BackgroundColor(set, step), expected[set - 1][(step - 1) / 3]) << set << "/" << step;
    }
  }
  EXPECT_EQ(BackgroundColor(4, 5), (platform::Rgb{0, 0, 0}));
}

TEST(NextColorStepTest, WrapsAfterTwelve) {
  EXPECT_EQ(NextColorStep(0), 1);
  EXPECT_EQ(NextColorStep(11), 12);
  EXPECT_EQ(NextColorStep(12), 1);
}

}  // namespace
}  // namespace reelshow
