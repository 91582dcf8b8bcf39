#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "command_line.h"
#include "registry_number.h"
#include "window_geometry.h"

namespace reelshow {
namespace {

struct ArgumentCase {
  const char* commandLine;
  const char* first;
};

class FirstArgumentTest : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(FirstArgumentTest, SkipsTheProgramPath) {
  EXPECT_EQ(FirstArgument(GetParam().commandLine), GetParam().first);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, FirstArgumentTest,
    ::testing::Values(ArgumentCase{"reelshow.scr /s", "/s"},
                      ArgumentCase{"C:\\WINDOWS\\REELSH~1.SCR /p 1234", "/p"},
                      ArgumentCase{"\"C:\\Program Files\\reel show.scr\" /c:4711", "/c:4711"},
                      ArgumentCase{"  reelshow.scr\t\t/A 0x1234", "/A"},
                      ArgumentCase{"reelshow.scr", ""},
                      ArgumentCase{"reelshow.scr   ", ""},
                      ArgumentCase{"", ""},
                      // A quoted path ends only at a blank after its quote.
                      ArgumentCase{"\"C:\\a b\\x.scr\"/S", ""},
                      ArgumentCase{"\"C:\\a b\\x.scr", ""},
                      ArgumentCase{"x.scr \"/s\"", "/s"},
                      ArgumentCase{"x.scr /c:\"4 7\" more", "/c:4 7"},
                      ArgumentCase{"x.scr \"\" /s", ""}));

struct RegistryCase {
  std::uint32_t type;
  std::vector<std::uint8_t> data;
  std::optional<std::uint32_t> number;
};

class RegistryNumberTest : public ::testing::TestWithParam<RegistryCase> {};

TEST_P(RegistryNumberTest, OnlyFourByteNumbersAndBinariesCount) {
  const RegistryCase& c = GetParam();
  EXPECT_EQ(RegistryNumber(c.type, c.data.data(), c.data.size()), c.number);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegistryNumberTest,
    ::testing::Values(RegistryCase{kRegDword, {1, 0, 0, 0}, 1u},
                      RegistryCase{kRegDword, {0, 0, 0, 0}, 0u},
                      RegistryCase{kRegBinary, {1, 2, 3, 4}, 0x04030201u},
                      RegistryCase{kRegBinary, {1, 0, 0}, std::nullopt},
                      RegistryCase{kRegBinary, {1, 0, 0, 0, 0}, std::nullopt},
                      RegistryCase{kRegDword, {1, 0}, std::nullopt},
                      RegistryCase{1 /* string */, {'1', 0, 0, 0}, std::nullopt},
                      RegistryCase{11 /* 64-bit number */, {1, 0, 0, 0, 0, 0, 0, 0}, std::nullopt}));

struct PlacedControl {
  const char* name;
  platform::Bounds bounds;
};

class DialogClientBoundsTest : public ::testing::TestWithParam<PlacedControl> {};

TEST_P(DialogClientBoundsTest, AddsTheGroupBoxesAround) {
  const layout::Control* control = DialogControl(GetParam().name);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(DialogClientBounds(*control), GetParam().bounds);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, DialogClientBoundsTest,
    ::testing::Values(PlacedControl{"GroupBox6", {6, 7, 253, 213}},
                      PlacedControl{"radpicl", {20, 22, 211, 17}},
                      PlacedControl{"Groupcust", {16, 127, 231, 81}},
                      PlacedControl{"ScrollBar1", {26, 162, 74, 13}},
                      PlacedControl{"Lblheight", {122, 185, 0, 0}},
                      PlacedControl{"RadioButton2", {278, 48, 148, 17}},
                      PlacedControl{"CmdClose", {311, 196, 166, 24}}));

TEST(DialogControlTest, UnknownNameHasNoControl) { EXPECT_EQ(DialogControl("Panel9"), nullptr); }

TEST(CentredStartTest, PutsTheOddPixelAfter) {
  EXPECT_EQ(CentredStart(1024, 485), 269);
  EXPECT_EQ(CentredStart(10, 3), 3);
  EXPECT_EQ(CentredStart(100, 100), 0);
  EXPECT_EQ(CentredStart(INT32_MAX, INT32_MIN), INT32_MAX);
}

TEST(PlaceGlyphTest, CentresGlyphAndCaptionAsOneBlock) {
  const GlyphPlacement up = PlaceGlyph(166, 24, 80, 13, false);
  EXPECT_EQ(up.glyphLeft, 33);
  EXPECT_EQ(up.glyphTop, 4);
  EXPECT_EQ(up.textLeft, 53);
  EXPECT_EQ(up.textTop, 5);
  const GlyphPlacement down = PlaceGlyph(166, 24, 80, 13, true);
  EXPECT_EQ(down.glyphLeft, 34);
  EXPECT_EQ(down.glyphTop, 5);
  EXPECT_EQ(down.textLeft, 54);
  EXPECT_EQ(down.textTop, 6);
  EXPECT_EQ(PlaceGlyph(166, 24, 0, 0, false).glyphLeft, 75);
  EXPECT_EQ(PlaceGlyph(10, 24, INT32_MAX, 13, false).textLeft, -1073741808);
}

TEST(OwnSizeRectTest, TakesMagnitudesAtTheTopLeft) {
  EXPECT_EQ(OwnSizeRect({3, 4, 320, -240}), (platform::Bounds{0, 0, 320, 240}));
  EXPECT_EQ(OwnSizeRect({0, 0, -352, 288}), (platform::Bounds{0, 0, 352, 288}));
  EXPECT_EQ(OwnSizeRect({0, 0, INT32_MIN, 1}), (platform::Bounds{0, 0, INT32_MAX, 1}));
}

}  // namespace
}  // namespace reelshow
