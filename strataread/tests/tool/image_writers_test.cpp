// The image files strata writes: PAM byte for byte, PNG read back with
// libpng, and the assembly of delivered rows that feeds both.
#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "delivered_image.h"
#include "kivhost/receptor.h"
#include "pam_writer.h"
#include "png_read.h"
#include "png_writer.h"

namespace {

using strata::DeliveredImage;

DeliveredImage MakeImage(std::uint32_t layout, std::uint32_t width, std::uint32_t height, std::int32_t components,
                         std::size_t rowBytes) {
  DeliveredImage image;
  image.layout = layout;
  image.width = width;
  image.height = height;
  image.components = components;
  image.bitsPerComponent = 8;
  image.rowBytes = rowBytes;
  image.palette.assign(256, KivPaletteEntry{0, 0, 0, 0});
  image.pixels.resize(rowBytes * height);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<std::uint8_t>(i * 37 + 11);
  return image;
}

void GreyRamp(DeliveredImage* image) {
  for (std::uint16_t i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint16_t>(i * 257);
    image->palette[i] = KivPaletteEntry{0, v, v, v};
  }
  image->paletteUsed = 256;
}

std::string Text(const std::vector<std::uint8_t>& bytes, std::size_t count) {
  return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

struct PamCase {
  const char* name;
  DeliveredImage image;
  std::string header;
};

class PamWriterTest : public ::testing::TestWithParam<PamCase> {};

TEST_P(PamWriterTest, HeaderThenTheDeliveredBytes) {
  const PamCase& c = GetParam();
  std::string why;
  const auto pam = strata::EncodePam(c.image, &why);
  ASSERT_TRUE(pam) << why;
  ASSERT_EQ(pam->size(), c.header.size() + c.image.pixels.size());
  EXPECT_EQ(Text(*pam, c.header.size()), c.header);
  EXPECT_TRUE(std::equal(c.image.pixels.begin(), c.image.pixels.end(), pam->begin() + static_cast<std::ptrdiff_t>(c.header.size())));
}

DeliveredImage GreyIndexed() {
  DeliveredImage image = MakeImage(LayoutIndexed, 5, 2, 1, 5);
  GreyRamp(&image);
  return image;
}

DeliveredImage GreyWithAlpha() {
  DeliveredImage image = MakeImage(LayoutIndexedPlus, 2, 2, 2, 4);
  GreyRamp(&image);
  return image;
}

DeliveredImage WideRgb() {
  DeliveredImage image = MakeImage(LayoutRgb48, 2, 1, 3, 12);
  image.bitsPerComponent = 16;
  return image;
}

const PamCase kPamCases[] = {
    {"Rgb", MakeImage(LayoutRgb, 2, 3, 3, 6), "P7\nWIDTH 2\nHEIGHT 3\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n"},
    {"Rgba", MakeImage(LayoutRgba, 1, 2, 4, 4),
     "P7\nWIDTH 1\nHEIGHT 2\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"},
    {"IndexedWithColours", MakeImage(LayoutIndexed, 4, 1, 1, 4),
     "P7\nWIDTH 4\nHEIGHT 1\nDEPTH 1\nMAXVAL 255\nTUPLTYPE INDEXED\nENDHDR\n"},
    {"IndexedGreyRamp", GreyIndexed(), "P7\nWIDTH 5\nHEIGHT 2\nDEPTH 1\nMAXVAL 255\nTUPLTYPE GRAYSCALE\nENDHDR\n"},
    {"GreyWithAlpha", GreyWithAlpha(),
     "P7\nWIDTH 2\nHEIGHT 2\nDEPTH 2\nMAXVAL 255\nTUPLTYPE GRAYSCALE_ALPHA\nENDHDR\n"},
    {"IndexedPlus", MakeImage(LayoutIndexedPlus, 2, 1, 3, 6),
     "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\nTUPLTYPE INDEXED_PLUS\nENDHDR\n"},
    {"CmykWithExtraChannel", MakeImage(LayoutCmyk, 2, 1, 5, 10),
     "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 5\nMAXVAL 255\nTUPLTYPE CMYK\nENDHDR\n"},
    {"Rgb48TwoBytesPerComponent", WideRgb(),
     "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 3\nMAXVAL 65535\nTUPLTYPE RGB\nENDHDR\n"},
    {"Rgb48OneBytePerComponent", MakeImage(LayoutRgb48, 2, 1, 4, 8),
     "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"},
    {"BitmapPacked", MakeImage(LayoutBitmap, 9, 2, 1, 2),
     "P7\n# bitmap 9 pixels wide, 8 per byte, first in the high bit\nWIDTH 2\nHEIGHT 2\nDEPTH 1\nMAXVAL "
     "255\nTUPLTYPE BITMAP_PACKED\nENDHDR\n"},
};

INSTANTIATE_TEST_SUITE_P(Layouts, PamWriterTest, ::testing::ValuesIn(kPamCases),
                         [](const auto& test) { return std::string(test.param.name); });

struct RefusedCase {
  const char* name;
  DeliveredImage image;
};

class ImageRefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(ImageRefusedTest, NeitherWriterTakesIt) {
  std::string why;
  EXPECT_FALSE(strata::EncodePam(GetParam().image, &why));
  EXPECT_FALSE(why.empty());
  why.clear();
  EXPECT_FALSE(strata::EncodePng(GetParam().image, &why));
  EXPECT_FALSE(why.empty());
}

const RefusedCase kRefusedCases[] = {
    {"NoRows", MakeImage(LayoutRgb, 4, 0, 3, 12)},
    {"NoColumns", MakeImage(LayoutRgb, 0, 4, 3, 0)},
    {"RowsShorterThanThePixels", MakeImage(LayoutRgb, 4, 1, 3, 11)},
    {"RowsLongerThanThePixels", MakeImage(LayoutRgba, 2, 1, 4, 9)},
    {"BitmapRowsOfPixelBytes", MakeImage(LayoutBitmap, 9, 1, 1, 9)},
};

INSTANTIATE_TEST_SUITE_P(Shapes, ImageRefusedTest, ::testing::ValuesIn(kRefusedCases),
                         [](const auto& test) { return std::string(test.param.name); });

struct PngCase {
  const char* name;
  DeliveredImage image;
  int colourType;
  int bitDepth;
};

class PngWriterTest : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngWriterTest, ReadsBackAsDelivered) {
  const PngCase& c = GetParam();
  std::string why;
  const auto bytes = strata::EncodePng(c.image, &why);
  ASSERT_TRUE(bytes) << why;
  const auto png = pngread::ReadBytes(*bytes);
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, c.image.width);
  EXPECT_EQ(png->height, c.image.height);
  EXPECT_EQ(png->colourType, c.colourType);
  EXPECT_EQ(png->bitDepth, c.bitDepth);
  EXPECT_EQ(png->rows, c.image.pixels);
}

DeliveredImage Palette() {
  DeliveredImage image = MakeImage(LayoutIndexed, 3, 2, 1, 3);
  image.pixels = {0, 1, 2, 2, 1, 0};
  image.paletteUsed = 2;  // index 2 still needs its colour
  image.palette[0] = {0, 0x1200, 0x3400, 0x5600};
  image.palette[1] = {0, 0xFFFF, 0x0000, 0x8000};
  image.palette[2] = {0, 0x0101, 0x0202, 0x0303};
  return image;
}

const PngCase kPngCases[] = {
    {"Rgb", MakeImage(LayoutRgb, 3, 2, 3, 9), PNG_COLOR_TYPE_RGB, 8},
    {"Rgba", MakeImage(LayoutRgba, 2, 3, 4, 8), PNG_COLOR_TYPE_RGBA, 8},
    {"Palette", Palette(), PNG_COLOR_TYPE_PALETTE, 8},
    {"GreyRamp", GreyIndexed(), PNG_COLOR_TYPE_GRAY, 8},
    {"GreyWithAlpha", GreyWithAlpha(), PNG_COLOR_TYPE_GA, 8},
    {"Rgb48", WideRgb(), PNG_COLOR_TYPE_RGB, 16},
    {"Rgb48Alpha", MakeImage(LayoutRgb48, 1, 1, 4, 8), PNG_COLOR_TYPE_RGBA, 16},
};

INSTANTIATE_TEST_SUITE_P(Layouts, PngWriterTest, ::testing::ValuesIn(kPngCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(PngWriterTest, PaletteIsTheDeliveredOneCoveringEveryIndex) {
  std::string why;
  const auto bytes = strata::EncodePng(Palette(), &why);
  ASSERT_TRUE(bytes) << why;
  const auto png = pngread::ReadBytes(*bytes);
  ASSERT_TRUE(png);
  EXPECT_EQ(png->palette, (std::vector<std::uint8_t>{0x12, 0x34, 0x56, 0xFF, 0x00, 0x80, 0x01, 0x02, 0x03}));
}

TEST(PngWriterTest, LayoutsWithoutPngForm) {
  std::string why;
  EXPECT_FALSE(strata::EncodePng(MakeImage(LayoutCmyk, 2, 1, 4, 8), &why));
  EXPECT_FALSE(strata::EncodePng(MakeImage(LayoutIndexedPlus, 2, 1, 2, 4), &why));  // colours, no grey ramp
  EXPECT_FALSE(strata::EncodePng(MakeImage(LayoutBitmap, 8, 1, 1, 1), &why));
  EXPECT_FALSE(strata::EncodePng(MakeImage(LayoutRgb48, 2, 1, 5, 10), &why));
}

struct HoldCase {
  std::int32_t layout;
  std::int16_t components;
  bool greyRamp;
  bool holds;
};

class PngCanHoldTest : public ::testing::TestWithParam<HoldCase> {};

TEST_P(PngCanHoldTest, DecidesFromTheOffer) {
  ImageInfo info{};
  info.components = GetParam().components;
  if (GetParam().greyRamp) {
    for (std::uint16_t i = 0; i < 256; ++i) {
      const auto v = static_cast<std::uint16_t>(i * 257);
      info.palette[i] = KivPaletteEntry{0, v, v, v};
    }
    info.paletteUsed = 256;
  }
  EXPECT_EQ(strata::PngCanHold(GetParam().layout, info), GetParam().holds);
}

INSTANTIATE_TEST_SUITE_P(Offers, PngCanHoldTest,
                         ::testing::Values(HoldCase{0, 1, false, true}, HoldCase{1, 3, false, true},
                                           HoldCase{2, 1, false, true}, HoldCase{3, 2, true, true},
                                           HoldCase{3, 2, false, false}, HoldCase{3, 3, true, false},
                                           HoldCase{4, 4, false, false}, HoldCase{6, 3, false, true},
                                           HoldCase{6, 4, false, true}, HoldCase{6, 5, false, false},
                                           HoldCase{7, 1, false, false}));

// Assembly from what a receptor received.
class AssembleTest : public ::testing::Test {
protected:
  void Begin(std::uint32_t height, std::int32_t rowBytes) {
    ImageInfo info{};
    info.width = 2;
    info.height = height;
    info.rowBytes = rowBytes;
    info.components = 1;
    info.pixelLayout = LayoutIndexed;
    receptor_->SetImageInfo(&info);
  }
  void Put(std::int32_t row, std::vector<std::uint8_t> bytes) {
    receptor_->PutRow(row, bytes.data(), static_cast<std::int32_t>(bytes.size()));
  }
  std::optional<DeliveredImage> Assemble() { return strata::AssembleImage(*receptor_, &why_); }

  kivhost::Ref<kivhost::ImageReceptor> receptor_ = kivhost::ImageReceptor::Create();
  std::string why_;
};

TEST_F(AssembleTest, RowsGoToTheirPlace) {
  Begin(2, 2);
  Put(1, {3, 4});
  Put(0, {1, 2});
  const auto image = Assemble();
  ASSERT_TRUE(image) << why_;
  EXPECT_EQ(image->pixels, (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

TEST_F(AssembleTest, RefusesIncompleteOrInconsistentRows) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::int32_t, std::vector<std::uint8_t>>> rows;
  };
  const Case cases[] = {
      {"MissingRow", {{0, {1, 2}}}},
      {"RowTwice", {{0, {1, 2}}, {0, {1, 2}}}},
      {"RowBeyondTheHeight", {{0, {1, 2}}, {2, {1, 2}}}},
      {"NegativeRow", {{0, {1, 2}}, {-1, {1, 2}}}},
      {"ShortRow", {{0, {1, 2}}, {1, {1}}}},
      {"ExtraRow", {{0, {1, 2}}, {1, {1, 2}}, {2, {1, 2}}}},
  };
  for (const Case& c : cases) {
    receptor_ = kivhost::ImageReceptor::Create();
    Begin(2, 2);
    for (const auto& [row, bytes] : c.rows) Put(row, bytes);
    why_.clear();
    EXPECT_FALSE(Assemble()) << c.name;
    EXPECT_FALSE(why_.empty()) << c.name;
  }
}

TEST_F(AssembleTest, NeedsADescription) {
  Put(0, {1, 2});
  EXPECT_FALSE(Assemble());
}

}  // namespace
