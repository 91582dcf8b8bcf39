// strata against the real plug-in: what import, info and layers write.
#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "png_read.h"
#include "psd_builder.h"
#include "sample_document.h"
#include "strata_runner.h"

namespace {

using psdbuild::ByteVector;
using strata_test::Outcome;
using strata_test::RunStrata;
using strata_test::ScratchDir;

psdbuild::Document Rgb2x2() {
  psdbuild::Document document;
  document.width = 2;
  document.height = 2;
  document.merged = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
  return document;
}

psdbuild::Document Grey3x1() {
  psdbuild::Document document;
  document.mode = 1;
  document.channels = 1;
  document.width = 3;
  document.merged = {{0, 128, 255}};
  return document;
}

psdbuild::Document Rgba2x1() {
  psdbuild::Document document;
  document.channels = 4;
  document.width = 2;
  document.merged = {{10, 20}, {30, 40}, {50, 60}, {255, 0}};
  document.mergedCompression = psdbuild::Compression::PackBits;
  return document;
}

// Nine pixels of which the first, third and last are set (black).
psdbuild::Document Bitmap9x1() {
  psdbuild::Document document;
  document.mode = 0;
  document.channels = 1;
  document.depth = 1;
  document.width = 9;
  document.merged = {{0xA0, 0x80}};
  return document;
}

psdbuild::Document RgbWithLayer() {
  psdbuild::Document document = Rgb2x2();
  psdbuild::Layer layer;
  layer.top = 1;
  layer.bottom = 2;
  layer.right = 2;
  layer.name = "strip";
  layer.channels = {psdbuild::Channel(-1, {255, 64}), psdbuild::Channel(0, {100, 101}), psdbuild::Channel(1, {110, 111}),
                    psdbuild::Channel(2, {120, 121})};
  document.layers = {layer};
  return document;
}

struct ImportCase {
  const char* name;
  psdbuild::Document (*document)();
  std::vector<std::string> options;
  std::string header;  // of the PAM
  ByteVector rows;
};

class StrataImportTest : public ::testing::TestWithParam<ImportCase> {};

TEST_P(StrataImportTest, PamHoldsTheDeliveredRows) {
  const ImportCase& c = GetParam();
  const ScratchDir dir(std::string("import-") + c.name);
  dir.Write("in.psd", psdbuild::Build(c.document()));
  std::vector<std::string> arguments = {"import", dir.File("in.psd"), "-o", dir.File("out.pam")};
  arguments.insert(arguments.end(), c.options.begin(), c.options.end());
  const Outcome outcome = RunStrata(arguments, dir.path());
  ASSERT_EQ(outcome.status, 0) << (outcome.errLines.empty() ? "" : outcome.errLines[0]);
  EXPECT_TRUE(outcome.errLines.empty());
  ByteVector expected(c.header.begin(), c.header.end());
  expected.insert(expected.end(), c.rows.begin(), c.rows.end());
  EXPECT_EQ(dir.Read("out.pam"), expected);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.psd", "out.pam"}));
}

const ImportCase kImportCases[] = {
    {"Rgb", Rgb2x2, {}, "P7\nWIDTH 2\nHEIGHT 2\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n",
     {1, 5, 9, 2, 6, 10, 3, 7, 11, 4, 8, 12}},
    {"GreyAsIndexed", Grey3x1, {}, "P7\nWIDTH 3\nHEIGHT 1\nDEPTH 1\nMAXVAL 255\nTUPLTYPE GRAYSCALE\nENDHDR\n",
     {0, 128, 255}},
    {"GreyAsRgb", Grey3x1, {"--layout", "rgb"}, "P7\nWIDTH 3\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n",
     {0, 0, 0, 128, 128, 128, 255, 255, 255}},
    {"RgbaPacked", Rgba2x1, {}, "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n",
     {10, 30, 50, 255, 20, 40, 60, 0}},
    {"RgbaAsRgb", Rgba2x1, {"--layout", "rgb"}, "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n",
     {10, 30, 50, 20, 40, 60}},
    {"BitmapAsIndexed", Bitmap9x1, {}, "P7\nWIDTH 9\nHEIGHT 1\nDEPTH 1\nMAXVAL 255\nTUPLTYPE INDEXED\nENDHDR\n",
     {0, 1, 0, 1, 1, 1, 1, 1, 0}},
    {"Layer", RgbWithLayer, {"--layer", "0"},
     "P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", {100, 110, 120, 255, 101, 111, 121, 64}},
};

INSTANTIATE_TEST_SUITE_P(Documents, StrataImportTest, ::testing::ValuesIn(kImportCases),
                         [](const auto& test) { return std::string(test.param.name); });

struct PngCase {
  const char* name;
  psdbuild::Document (*document)();
  int colourType;
  ByteVector rgba;  // every pixel as read back
};

class StrataPngTest : public ::testing::TestWithParam<PngCase> {};

TEST_P(StrataPngTest, ReadsBackAsThePicture) {
  const PngCase& c = GetParam();
  const ScratchDir dir(std::string("png-") + c.name);
  dir.Write("in.psd", psdbuild::Build(c.document()));
  const Outcome outcome = RunStrata({"import", dir.File("in.psd"), "-o", dir.File("out.png")}, dir.path());
  ASSERT_EQ(outcome.status, 0) << (outcome.errLines.empty() ? "" : outcome.errLines[0]);
  const auto png = pngread::ReadFile(dir.File("out.png"));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->colourType, c.colourType);
  EXPECT_EQ(pngread::ToRgba8(*png), c.rgba);
}

// Opaque black (B) and white (W) pixels.
ByteVector BlackAndWhite(const std::string& pixels) {
  ByteVector rgba;
  for (const char pixel : pixels) {
    const std::uint8_t v = pixel == 'B' ? 0 : 255;
    rgba.insert(rgba.end(), {v, v, v, 255});
  }
  return rgba;
}

const PngCase kPngCases[] = {
    {"Rgb", Rgb2x2, PNG_COLOR_TYPE_RGB, {1, 5, 9, 255, 2, 6, 10, 255, 3, 7, 11, 255, 4, 8, 12, 255}},
    {"Grey", Grey3x1, PNG_COLOR_TYPE_GRAY, {0, 0, 0, 255, 128, 128, 128, 255, 255, 255, 255, 255}},
    {"Rgba", Rgba2x1, PNG_COLOR_TYPE_RGBA, {10, 30, 50, 255, 20, 40, 60, 0}},
    {"BitmapPalette", Bitmap9x1, PNG_COLOR_TYPE_PALETTE, BlackAndWhite("BWBWWWWWB")},
};

INSTANTIATE_TEST_SUITE_P(Documents, StrataPngTest, ::testing::ValuesIn(kPngCases),
                         [](const auto& test) { return std::string(test.param.name); });

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(StrataInfoTest, DescribesTheSample) {
  const ScratchDir dir("info-sample");
  dir.Write("sample.psd", psdbuild::Build(strata_sample::SampleDocument()));
  const Outcome outcome = RunStrata({"info", dir.File("sample.psd")}, dir.path());
  ASSERT_EQ(outcome.status, 0) << (outcome.errLines.empty() ? "" : outcome.errLines[0]);
  const std::string& json = outcome.out;
  const char* const expected[] = {
      "\"width\": 64,",
      "\"height\": 48,",
      "\"channels\": 3,",
      "\"depth\": 8,",
      "\"colorMode\": 3,",
      "\"resolution\": 144,",
      "\"offers\": [0],",
      "\"numGuides\": 2,",
      "\"guides\": [{\"position\": 16.000000, \"direction\": 1}, {\"position\": 30.500000, \"direction\": 0}],",
      "{\"SelectorID\": \"{E64A762C-172E-11D1-93A6-000502E85810}\", \"layerName\": \"Sky\", \"layerIndex\": 0, "
      "\"layerBounds\": [0, 0, 48, 64], \"docBounds\": [0, 0, 48, 64], \"numChannels\": 4, \"blendMode\": 1852797549, "
      "\"blendModeKey\": \"norm\", \"opacity\": 255, \"isClippingBase\": false, \"transparencyProtected\": false, "
      "\"visible\": true, \"hasMask\": false, \"numBlendRanges\": 2, \"blendRanges\": [[0, 0, 255, 255], [0, 0, 255, "
      "255]]}",
      "\"layerName\": \"Sun (masked)\", \"layerIndex\": 1, \"layerBounds\": [6, 30, 30, 54]",
      "\"numChannels\": 5",
      "\"hasMask\": true, \"maskBounds\": [6, 30, 30, 54], \"maskDefaultColor\": 0, \"maskPositionRelative\": false, "
      "\"maskEnable\": true, \"maskInverted\": false, \"numBlendRanges\": 3",
      "[10, 20, 230, 240]]}",
      "\"layerName\": \"Hills\", \"layerIndex\": 2",
      "\"blendModeKey\": \"mul \", \"opacity\": 128",
      "\"visible\": false",
  };
  for (const char* part : expected) EXPECT_TRUE(Has(json, part)) << part << "\nin\n" << json;
}

TEST(StrataInfoTest, OffersOfAGreyDocumentAndNoGuides) {
  const ScratchDir dir("info-grey");
  dir.Write("grey.psd", psdbuild::Build(Grey3x1()));
  const Outcome outcome = RunStrata({"info", dir.File("grey.psd")}, dir.path());
  ASSERT_EQ(outcome.status, 0);
  for (const char* part : {"\"colorMode\": 1,", "\"offers\": [2, 0],", "\"resolution\": 72,", "\"numGuides\": 0,",
                           "\"guides\": [],", "\"layers\": []"}) {
    EXPECT_TRUE(Has(outcome.out, part)) << part << "\nin\n" << outcome.out;
  }
}

TEST(StrataLayersTest, EveryLayerAndTheMergedImage) {
  const ScratchDir dir("layers-sample");
  dir.Write("sample.psd", psdbuild::Build(strata_sample::SampleDocument()));
  const Outcome outcome = RunStrata({"layers", dir.File("sample.psd"), "-o", dir.File("out")}, dir.path());
  ASSERT_EQ(outcome.status, 0) << (outcome.errLines.empty() ? "" : outcome.errLines[0]);
  EXPECT_TRUE(outcome.errLines.empty());  // no progress lines: not a terminal
  EXPECT_EQ(dir.Entries("out"),
            (std::vector<std::string>{"000-Sky.png", "001-Sun_masked.png", "002-Hills.png", "merged.png"}));
  struct Size {
    const char* file;
    std::uint32_t width, height;
  };
  for (const Size& size : {Size{"000-Sky.png", 64, 48}, Size{"001-Sun_masked.png", 24, 24},
                           Size{"002-Hills.png", 64, 16}, Size{"merged.png", 64, 48}}) {
    const auto png = pngread::ReadFile(dir.File(std::string("out/") + size.file));
    ASSERT_TRUE(png) << size.file;
    EXPECT_EQ(png->width, size.width) << size.file;
    EXPECT_EQ(png->height, size.height) << size.file;
  }
  const auto sky = pngread::ReadFile(dir.File("out/000-Sky.png"));
  ASSERT_TRUE(sky);
  EXPECT_EQ(sky->colourType, PNG_COLOR_TYPE_RGBA);
  // Row 10, pixel 0 of the sky: red 60 + 4 x 10, green 110 + 3 x 10, blue 230, opaque.
  const ByteVector rgba = pngread::ToRgba8(*sky);
  EXPECT_EQ(ByteVector(rgba.begin() + 10 * 64 * 4, rgba.begin() + 10 * 64 * 4 + 4), (ByteVector{100, 140, 230, 255}));
}

TEST(StrataLayersTest, PassesOverALayerThePluginCannotRead) {
  psdbuild::Document document = Rgb2x2();
  psdbuild::Layer zipped;  // compression 2 (zip) is a later format's
  zipped.bottom = 2;
  zipped.right = 2;
  zipped.name = "zipped";
  for (std::int16_t id = 0; id < 3; ++id) {
    psdbuild::Channel channel(id);
    channel.stored = ByteVector{0, 2, 0x78, 0x9C, 0, 0};
    zipped.channels.push_back(channel);
  }
  psdbuild::Layer plain = zipped;
  plain.name = "plain";
  plain.channels = {psdbuild::Channel(0, {1, 2, 3, 4}), psdbuild::Channel(1, {5, 6, 7, 8}), psdbuild::Channel(2, {9, 10, 11, 12})};
  document.layers = {zipped, plain};
  const ScratchDir dir("layers-pass-over");
  dir.Write("in.psd", psdbuild::Build(document));
  const Outcome outcome = RunStrata({"layers", dir.File("in.psd"), "-o", dir.File("out")}, dir.path());
  ASSERT_EQ(outcome.status, 0) << (outcome.errLines.empty() ? "" : outcome.errLines[0]);
  EXPECT_EQ(outcome.errLines, (std::vector<std::string>{"strata: " + dir.File("in.psd") +
                                                        " layer 0: kKivResult_UnsupportedFile (0x800412C3): layer "
                                                        "passed over"}));
  EXPECT_EQ(dir.Entries("out"), (std::vector<std::string>{"001-plain.png", "merged.png"}));
}

}  // namespace
