// The parse as a whole, the image description of every colour mode, the
// choice of merged image or layer, and the chosen layout.
#include "document_fixture.h"

namespace strataread {
namespace {

using psdbuild::Document;
using psdbuild::Layer;

struct DescribeCase {
  const char* name;
  std::uint16_t mode;
  std::uint16_t depth;
  std::uint16_t channels;
  KivResult result;
  std::uint32_t layout;
  std::int16_t components;
  std::uint16_t bits;
  std::uint32_t paletteUsed;
  std::vector<std::int32_t> offers;
};

void PrintTo(const DescribeCase& c, std::ostream* os) { *os << c.name; }

class DescribeTest : public DocumentTest, public ::testing::WithParamInterface<DescribeCase> {};

Document Plain(std::uint16_t mode, std::uint16_t depth, std::uint16_t channels) {
  Document description;
  description.mode = mode;
  description.depth = depth;
  description.channels = channels;
  description.width = 9;
  description.height = 2;
  if (mode == kModeIndexed) description.colorModeData.assign(768, 0);
  return description;
}

TEST_P(DescribeTest, DescribesTheMergedImage) {
  const DescribeCase& c = GetParam();
  ASSERT_EQ(Parse(Plain(c.mode, c.depth, c.channels)), c.result);
  if (c.result != kKivResult_OK) return;
  EXPECT_EQ(info.width, 9u);
  EXPECT_EQ(info.height, 2u);
  EXPECT_EQ(info.rowBytes, 9 * c.channels);
  EXPECT_EQ(info.pixelLayout, c.layout);
  EXPECT_EQ(info.components, c.components);
  EXPECT_EQ(info.bitsPerComponent, c.bits);
  EXPECT_EQ(info.paletteUsed, c.paletteUsed);
  EXPECT_EQ(info.paletteSize, 256u);
  EXPECT_EQ(info.reserved, 0xFFFF);
  EXPECT_EQ(info.horizontalResolution, 72u);
  EXPECT_EQ(info.verticalResolution, 72u);
  EXPECT_EQ(Offers(), c.offers);
}

constexpr KivResult kOk = kKivResult_OK;
constexpr KivResult kRefused = kKivResult_UnsupportedFile;

INSTANTIATE_TEST_SUITE_P(
    Modes, DescribeTest,
    ::testing::Values(
        DescribeCase{"bitmap", kModeBitmap, 1, 1, kOk, LayoutBitmap, 1, 1, 0, {2, 0}},
        DescribeCase{"grey8", kModeGrayscale, 8, 1, kOk, LayoutIndexed, 1, 8, 256, {2, 0}},
        DescribeCase{"grey8TwoChannels", kModeGrayscale, 8, 2, kOk, LayoutIndexedPlus, 2, 8, 256, {2, 0}},
        DescribeCase{"grey16", kModeGrayscale, 16, 1, kOk, LayoutIndexed, 1, 16, 256, {2, 0}},
        DescribeCase{"duotone8", kModeDuotone, 8, 1, kOk, LayoutIndexed, 1, 8, 256, {2, 0}},
        DescribeCase{"indexed", kModeIndexed, 8, 1, kOk, LayoutIndexed, 1, 8, 256, {2, 0}},
        DescribeCase{"indexedTwoChannels", kModeIndexed, 8, 2, kOk, LayoutIndexedPlus, 2, 8, 256, {2, 0}},
        DescribeCase{"rgb8", kModeRgb, 8, 3, kOk, LayoutRgb, 3, 8, 0, {0}},
        DescribeCase{"rgb8FourChannels", kModeRgb, 8, 4, kOk, LayoutRgba, 4, 8, 0, {1, 0}},
        DescribeCase{"rgb16", kModeRgb, 16, 3, kOk, LayoutRgb48, 3, 16, 0, {6, 0}},
        DescribeCase{"rgb16FourChannels", kModeRgb, 16, 4, kOk, LayoutRgb48, 4, 16, 0, {6, 1, 0}},
        DescribeCase{"cmyk", kModeCmyk, 8, 4, kOk, LayoutCmyk, 4, 8, 0, {4, 0}},
        DescribeCase{"cmykFiveChannels", kModeCmyk, 8, 5, kOk, LayoutCmyk, 5, 8, 0, {4, 1, 0}},
        DescribeCase{"cmyk16", kModeCmyk, 16, 4, kOk, LayoutCmyk, 4, 16, 0, {4, 0}},
        DescribeCase{"lab", kModeLab, 8, 3, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"multichannel", kModeMultichannel, 8, 3, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"unknownMode", 5, 8, 3, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"rgb32", kModeRgb, 32, 3, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"rgb1", kModeRgb, 1, 3, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"bitmap8", kModeBitmap, 8, 1, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"grey1", kModeGrayscale, 1, 1, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"grey0", kModeGrayscale, 0, 1, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"grey32", kModeGrayscale, 32, 1, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"duotoneDepth0x8008", kModeDuotone, 0x8008, 1, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"indexed16", kModeIndexed, 16, 1, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"noChannels", kModeGrayscale, 8, 0, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"channels0x8000", kModeRgb, 8, 0x8000, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"rgbTwoChannels", kModeRgb, 8, 2, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"rgb16TwoChannels", kModeRgb, 16, 2, kRefused, 0, 0, 0, 0, {}},
        DescribeCase{"cmykThreeChannels", kModeCmyk, 8, 3, kRefused, 0, 0, 0, 0, {}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(DocumentTest, UnimportableModeIsRefusedAfterEverySection) {
  Document lab = Plain(kModeLab, 8, 3);
  lab.layers = {RgbLayer(2, 2)};
  EXPECT_EQ(Parse(lab), kKivResult_UnsupportedFile);
  EXPECT_EQ(document->layerCount, 1);
  // The common fields were written before the refusal.
  EXPECT_EQ(info.width, 9u);
  EXPECT_EQ(info.rowBytes, 27);
}

TEST_F(DocumentTest, RowLengthsThatDoNotFitAreRefused) {
  struct Case {
    std::uint32_t width;
    std::uint16_t depth;
    KivResult result;
  };
  // The widest row any layout may ask for is four components, two bytes
  // each at depth 16.
  const Case cases[] = {{INT32_MAX / 4, 8, kKivResult_OK},
                        {INT32_MAX / 4 + 1, 8, kKivResult_UnsupportedFile},
                        {INT32_MAX / 8, 16, kKivResult_OK},
                        {INT32_MAX / 8 + 1, 16, kKivResult_UnsupportedFile},
                        {0xFFFFFFFFu, 8, kKivResult_UnsupportedFile}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    document->colorMode = kModeRgb;
    document->depth = static_cast<std::int16_t>(c.depth);
    EXPECT_EQ(document->DescribeImage(&info, &offerCount, offers, 3, c.width, 1), c.result);
  }
}

TEST_F(DocumentTest, GreyRampInPaletteAndColourTable) {
  ASSERT_EQ(Parse(Plain(kModeGrayscale, 8, 1)), kKivResult_OK);
  ASSERT_NE(document->colorTable, nullptr);
  for (std::uint16_t i = 0; i < 256; ++i) {
    const std::uint16_t v = static_cast<std::uint16_t>(257 * i);
    ASSERT_EQ(info.palette[i].reserved, 0);
    ASSERT_EQ(info.palette[i].red, v);
    ASSERT_EQ(info.palette[i].green, v);
    ASSERT_EQ(info.palette[i].blue, v);
    ASSERT_EQ(document->colorTable[3 * i], i);
    ASSERT_EQ(document->colorTable[3 * i + 2], i);
  }
}

TEST_F(DocumentTest, DuotoneTableGivesWayToTheGreyRamp) {
  Document duotone = Plain(kModeDuotone, 8, 1);
  duotone.colorModeData.assign(1000, 0x42);
  ASSERT_EQ(Parse(duotone), kKivResult_OK);
  EXPECT_EQ(document->colorTable[3 * 10], 10);
  EXPECT_EQ(handles->LiveHandles(), 1u);
}

TEST_F(DocumentTest, GreyRampWithoutMemory) {
  Open(psdbuild::Build(Plain(kModeGrayscale, 8, 1)));
  handles->NewHandleFaults().FailAlways();
  EXPECT_EQ(document->ParseDocument(&info, &offerCount, offers), kKivResult_OutOfMemory);
}

TEST_F(DocumentTest, IndexedPaletteFromTheColourTable) {
  Document indexed = Plain(kModeIndexed, 8, 1);
  indexed.colorModeData[5] = 0x12;
  indexed.colorModeData[256 + 5] = 0x34;
  indexed.colorModeData[512 + 5] = 0x56;
  ASSERT_EQ(Parse(indexed), kKivResult_OK);
  EXPECT_EQ(info.palette[5].reserved, 0);
  EXPECT_EQ(info.palette[5].red, 0x1212);
  EXPECT_EQ(info.palette[5].green, 0x3434);
  EXPECT_EQ(info.palette[5].blue, 0x5656);
  EXPECT_EQ(info.palette[4].red, 0);
}

TEST_F(DocumentTest, IndexedColourSectionOfOtherLengthKeepsLaterSectionsInPlace) {
  Document indexed = Plain(kModeIndexed, 8, 1);
  indexed.colorModeData.assign(300, 0x20);
  indexed.resources = {psdbuild::ResolutionResource(0x012C0000)};
  indexed.layers = {RgbLayer(1, 1, "after")};
  ASSERT_EQ(Parse(indexed), kKivResult_OK);
  EXPECT_EQ(document->resolution, 300.0);
  ASSERT_EQ(document->layerCount, 1);
  EXPECT_STREQ(document->layers[0].layerName, "after");
  EXPECT_EQ(info.palette[1].green, 0x2020);  // plane 1 holds bytes 256 to 299
  EXPECT_EQ(info.palette[100].green, 0);
  EXPECT_EQ(info.palette[100].blue, 0);
}

TEST_F(DocumentTest, ResolutionIsCutToWholePixels) {
  const struct {
    std::int32_t fixed;
    std::uint32_t whole;
  } cases[] = {{0x0048E666, 72}, {0x00000000, 0}, {-0x00480000, 0}, {0x7FFFFFFF, 32767}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixed);
    Document rgb = Plain(kModeRgb, 8, 3);
    rgb.resources = {psdbuild::ResolutionResource(c.fixed)};
    ASSERT_EQ(Parse(rgb), kKivResult_OK);
    EXPECT_EQ(info.horizontalResolution, c.whole);
    EXPECT_EQ(info.verticalResolution, c.whole);
  }
}

TEST_F(DocumentTest, ParseReadsThroughAStreamThatDeliversLittleAtATime) {
  Document rgb = Plain(kModeRgb, 8, 3);
  rgb.resources = {psdbuild::ResolutionResource(0x012C0000), psdbuild::GuideResource({{64, 1}})};
  rgb.layers = {RgbLayer(2, 2, "slow")};
  Open(psdbuild::Build(rgb));
  stream->SetMaxChunk(3);
  ASSERT_EQ(document->ParseDocument(&info, &offerCount, offers), kKivResult_OK);
  EXPECT_EQ(document->resolution, 300.0);
  EXPECT_EQ(document->guideCount, 1);
  ASSERT_EQ(document->layerCount, 1);
  EXPECT_STREQ(document->layers[0].layerName, "slow");
}

TEST_F(DocumentTest, SecondParseReplacesTablesAndKeepsResolutionAndGuides) {
  Document first = Plain(kModeIndexed, 8, 1);
  first.resources = {psdbuild::ResolutionResource(0x012C0000), psdbuild::GuideResource({{32, 0}, {64, 1}})};
  first.layers = {RgbLayer(1, 1), RgbLayer(1, 1)};
  ASSERT_EQ(Parse(first), kKivResult_OK);
  Document second = Plain(kModeIndexed, 8, 1);
  second.layers = {RgbLayer(1, 1)};
  ASSERT_EQ(Parse(second), kKivResult_OK);
  EXPECT_EQ(document->layerCount, 1);
  EXPECT_EQ(allocator->LiveAllocations(), 1u);
  EXPECT_EQ(handles->LiveHandles(), 1u);
  EXPECT_EQ(document->resolution, 300.0);
  EXPECT_EQ(document->guideCount, 2);
  EXPECT_EQ(info.horizontalResolution, 300u);
}

// ---------------------------------------------------------------------------
// Selection

class SelectTest : public DocumentTest {
protected:
  void SetUp() override {
    DocumentTest::SetUp();
    Document rgb = Plain(kModeRgb, 8, 3);
    Layer masked = RgbLayer(5, 4, "masked");
    masked.top = 10;
    masked.left = 20;
    masked.bottom = 14;
    masked.right = 25;
    masked.channels.push_back({-2});
    masked.mask = psdbuild::Mask{0, 0, 2, 2};
    Layer reversed = RgbLayer(1, 1, "reversed");
    reversed.right = -1;
    Layer upsideDown = RgbLayer(1, 1, "upsideDown");
    upsideDown.bottom = -3;
    Layer many = RgbLayer(1, 1, "many");
    for (int i = 3; i < 33; ++i) many.channels.push_back({static_cast<std::int16_t>(i)});
    Layer wide = RgbLayer(1, 1, "wide");
    wide.left = INT32_MIN;
    wide.right = INT32_MAX;
    for (psdbuild::Channel& channel : wide.channels) channel.stored = psdbuild::ByteVector{0, 0};
    rgb.layers = {RgbLayer(3, 3, "plain"), masked, reversed, upsideDown, many, wide};
    ASSERT_EQ(Parse(rgb), kKivResult_OK);
    selector = kivhost::PropertyList::Create();
  }

  KivResult Select(std::int32_t index) {
    selector->PutInt32("kKivSelectorKey_layerIndex", index);
    return document->SelectImage(selector.get(), &info, &offerCount, offers);
  }

  kivhost::Ref<kivhost::PropertyList> selector;
};

TEST_F(SelectTest, LayerIsDescribedFromItsRecord) {
  ASSERT_EQ(Select(1), kKivResult_OK);
  EXPECT_EQ(document->currentLayer, 1);
  EXPECT_EQ(info.width, 5u);
  EXPECT_EQ(info.height, 4u);
  EXPECT_EQ(info.components, 4);  // the user mask is not an image channel
  EXPECT_EQ(info.rowBytes, 20);
  EXPECT_EQ(info.pixelLayout, LayoutRgba);
}

TEST_F(SelectTest, RefusedSelectionsKeepTheCurrentLayer) {
  ASSERT_EQ(Select(0), kKivResult_OK);
  const struct {
    std::int32_t index;
    KivResult result;
  } cases[] = {{6, kKivResult_BadArgument},        {-1, kKivResult_BadArgument},
               {INT32_MIN, kKivResult_BadArgument}, {2, kKivResult_CorruptFile},
               {3, kKivResult_CorruptFile},         {4, kKivResult_UnsupportedFile},
               {5, kKivResult_CorruptFile}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(Select(c.index), c.result);
    EXPECT_EQ(document->currentLayer, 0);
  }
}

TEST_F(SelectTest, WithoutAnIndexTheMergedImageIsRead) {
  ASSERT_EQ(Select(1), kKivResult_OK);
  ASSERT_EQ(document->SelectImage(nullptr, &info, &offerCount, offers), kKivResult_OK);
  EXPECT_EQ(document->currentLayer, -1);
  EXPECT_EQ(info.width, 9u);
  ASSERT_EQ(Select(1), kKivResult_OK);
  auto other = kivhost::PropertyList::Create();
  other->PutInt32("kKivSelectorKey_somethingElse", 1);
  ASSERT_EQ(document->SelectImage(other.get(), &info, &offerCount, offers), kKivResult_OK);
  EXPECT_EQ(document->currentLayer, -1);
  EXPECT_EQ(info.width, 9u);
}

TEST_F(DocumentTest, GreyLayerWithMaskAnnouncesTheChannelsThatAreRead) {
  Document grey = Plain(kModeGrayscale, 8, 1);
  Layer layer;
  layer.right = 6;
  layer.bottom = 2;
  layer.flags = 0x01;  // transparency protected
  layer.channels = {{-1}, {0}, {-2}};
  layer.mask = psdbuild::Mask{0, 0, 1, 1};
  grey.layers = {layer};
  ASSERT_EQ(Parse(grey), kKivResult_OK);
  auto selector = kivhost::PropertyList::Create();
  selector->PutInt32("kKivSelectorKey_layerIndex", 0);
  // The first description consults the selection in force before it; the
  // second, with the layer selected, offers the layouts with alpha.
  ASSERT_EQ(document->SelectImage(selector.get(), &info, &offerCount, offers), kKivResult_OK);
  EXPECT_EQ(Offers(), (std::vector<std::int32_t>{2, 0}));
  ASSERT_EQ(document->SelectImage(selector.get(), &info, &offerCount, offers), kKivResult_OK);
  EXPECT_EQ(info.pixelLayout, LayoutIndexedPlus);
  EXPECT_EQ(info.components, 2);
  EXPECT_EQ(info.rowBytes, 12);
  EXPECT_EQ(Offers(), (std::vector<std::int32_t>{3, 1, 2, 0}));
}

// ---------------------------------------------------------------------------
// Chosen layout

struct LayoutCase {
  const char* name;
  std::uint32_t chosen;
  std::uint32_t described;
  std::int16_t depth;
  std::int16_t components;  // afterwards
  std::uint16_t bits;
  std::uint32_t flags;
  std::int32_t rowBytes;  // for width 9
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class ChosenLayoutTest : public DocumentTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(ChosenLayoutTest, AdaptsTheDescription) {
  const LayoutCase& c = GetParam();
  document->depth = c.depth;
  document->convertFlags = 0xFFFFFFFF;  // a flag of an earlier read never remains
  info.width = 9;
  info.pixelLayout = c.described;
  info.components = 2;
  info.bitsPerComponent = static_cast<std::uint16_t>(c.depth);
  document->ApplyChosenLayout(c.chosen, &info);
  EXPECT_EQ(info.pixelLayout, c.chosen);
  EXPECT_EQ(info.components, c.components);
  EXPECT_EQ(info.bitsPerComponent, c.bits);
  EXPECT_EQ(document->convertFlags, c.flags);
  EXPECT_EQ(info.rowBytes, c.rowBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChosenLayoutTest,
    ::testing::Values(LayoutCase{"rgbFromRgba", 0, 1, 8, 3, 8, CopyPlanes, 27},
                      LayoutCase{"rgbFromIndexed", 0, 2, 8, 3, 8, PaletteToRgb, 27},
                      LayoutCase{"rgbFromIndexedPlus", 0, 3, 8, 3, 8, CopyPlanes | PaletteToRgb, 27},
                      LayoutCase{"rgbFromCmyk", 0, 4, 8, 3, 8, CmykToRgb, 27},
                      LayoutCase{"rgbFromRgb48", 0, 6, 16, 3, 8, WideSamples | CopyPlanes, 27},
                      LayoutCase{"rgbFromBitmap", 0, 7, 1, 3, 8, BitmapToRgb, 27},
                      LayoutCase{"rgbaFromIndexedPlus", 1, 3, 8, 4, 8, PaletteToRgba, 36},
                      LayoutCase{"rgbaFromCmyk", 1, 4, 8, 4, 8, CmykToRgb, 36},
                      LayoutCase{"rgbaFromRgb48", 1, 6, 16, 4, 8, WideSamples, 36},
                      LayoutCase{"indexedFromIndexedPlus", 2, 3, 8, 1, 8, CopyPlanes, 9},
                      LayoutCase{"indexedFromBitmap", 2, 7, 1, 2, 8, 0, 18},
                      LayoutCase{"bitmapAsIs", 7, 7, 1, 2, 1, 0, 2},
                      LayoutCase{"rgbAsIs", 0, 0, 8, 2, 8, 0, 18},
                      LayoutCase{"cmykAsIs", 4, 4, 8, 2, 8, 0, 18},
                      LayoutCase{"rgb48AsIs", 6, 6, 16, 2, 16, 0, 36},
                      LayoutCase{"cmyk16AsIs", 4, 4, 16, 2, 8, 0, 18},
                      LayoutCase{"grey16AsIndexed", 2, 2, 16, 2, 8, 0, 18},
                      LayoutCase{"grey16AsRgb", 0, 2, 16, 3, 8, PaletteToRgb, 27},
                      LayoutCase{"grey16AsRgb48", 6, 2, 16, 2, 16, 0, 36}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(DocumentTest, BitmapChosenAsIndexedGetsABlackAndWhitePalette) {
  ASSERT_EQ(Parse(Plain(kModeBitmap, 1, 1)), kKivResult_OK);
  document->ApplyChosenLayout(LayoutIndexed, &info);
  EXPECT_EQ(info.paletteUsed, 2u);
  EXPECT_EQ(info.paletteSize, 256u);
  EXPECT_EQ(info.rowBytes, 9);
  EXPECT_EQ(info.palette[0].red, 0);
  EXPECT_EQ(info.palette[0].blue, 0);
  ASSERT_NE(document->colorTable, nullptr);
  EXPECT_EQ(document->colorTable[0], 0);
  for (int i = 1; i < 256; ++i) {
    ASSERT_EQ(info.palette[i].green, 65535);
    ASSERT_EQ(document->colorTable[3 * i + 1], 255);
  }
  // Without memory for the table the palette is still described.
  handles->NewHandleFaults().FailAlways();
  info = ImageInfo{};
  info.pixelLayout = LayoutBitmap;
  document->ApplyChosenLayout(LayoutIndexed, &info);
  EXPECT_EQ(document->colorTable, nullptr);
  EXPECT_EQ(info.paletteUsed, 2u);
}

TEST_F(DocumentTest, TwoImageReadsOnOneObject) {
  const std::uint32_t chosen[] = {LayoutRgb, LayoutIndexed};
  const std::uint32_t flags[] = {PaletteToRgb, 0};
  for (int read = 0; read < 2; ++read) {
    ASSERT_EQ(Parse(Plain(kModeGrayscale, 8, 1)), kKivResult_OK);
    ASSERT_EQ(document->SelectImage(nullptr, &info, &offerCount, offers), kKivResult_OK);
    document->ApplyChosenLayout(chosen[read], &info);
    EXPECT_EQ(document->convertFlags, flags[read]);
  }
  EXPECT_EQ(info.components, 1);
  EXPECT_EQ(handles->LiveHandles(), 1u);
}

// A document cut anywhere before its channel data is refused, whatever
// section the cut falls in; cut later, it parses (pixels are read later).
TEST_F(DocumentTest, EveryTruncationBeforeTheChannelDataFails) {
  Document rgb = Plain(kModeRgb, 8, 3);
  rgb.colorModeData = {1, 2, 3, 4};
  rgb.resources = {psdbuild::Resource{1000, {9, 9, 9}, "x"}, psdbuild::ResolutionResource(0x012C0000),
                   psdbuild::GuideResource({{32, 0}, {64, 1}})};
  Layer masked = RgbLayer(2, 2, "masked");
  masked.channels.push_back({-2});
  masked.mask = psdbuild::Mask{0, 0, 1, 1, 0, 0, 36};
  masked.blendRanges = {{1, 2, 3, 4}};
  rgb.layers = {masked, RgbLayer(1, 1, "no-pads")};  // length byte and name fill 8 bytes
  const psdbuild::ByteVector whole = psdbuild::Build(rgb);
  Open(whole);
  ASSERT_EQ(document->ParseDocument(&info, &offerCount, offers), kKivResult_OK);
  const std::uint32_t recordsEnd = document->layerDataStart;
  for (std::uint32_t length = 0; length <= recordsEnd + 2; ++length) {
    SCOPED_TRACE(length);
    Open(psdbuild::ByteVector(whole.begin(), whole.begin() + length));
    stream->SetMaxChunk(length % 3 == 0 ? 5 : 0);
    const KivResult result = document->ParseDocument(&info, &offerCount, offers);
    EXPECT_EQ(result == kKivResult_OK, length >= recordsEnd);
    EXPECT_EQ(document->layers == nullptr, document->layerCount == 0);
  }
}

}  // namespace
}  // namespace strataread
