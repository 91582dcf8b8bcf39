// The layer-and-mask section and its layer records.
#include "document_fixture.h"

namespace strataread {
namespace {

using psdbuild::Bytes;
using psdbuild::ByteVector;
using psdbuild::Layer;

// The stream after a successful section read stands right after the last
// record; the records' channel data follows there.
std::uint32_t ChannelDataSize(const std::vector<Layer>& layers) {
  std::uint32_t total = 0;
  for (const Layer& layer : layers) {
    for (const ByteVector& data : psdbuild::LayerChannelData(layer, 8)) total += static_cast<std::uint32_t>(data.size());
  }
  return total;
}

class LayerSectionTest : public DocumentTest {
protected:
  KivResult ReadLayers(const std::vector<Layer>& layers, bool negative = false) {
    const ByteVector section = LayerSectionOf(layers, negative);
    sectionBytes = static_cast<std::uint32_t>(section.size());
    OpenSection(section);
    return document->ReadLayerAndMaskInfo();
  }

  // Where the channel data of the first layer begins, counted from the
  // section length field: length, info length, count, then the records.
  std::uint32_t RecordsEnd(const std::vector<Layer>& layers) const {
    std::uint32_t end = 4 + 4 + 2;
    for (const Layer& layer : layers) {
      end += static_cast<std::uint32_t>(
          psdbuild::LayerRecordBytes(layer, psdbuild::LayerChannelData(layer, 8)).size());
    }
    return end;
  }

  std::uint32_t sectionBytes = 0;
};

TEST_F(LayerSectionTest, FramingAndPositions) {
  const std::vector<Layer> layers = {RgbLayer(4, 3, "one"), RgbLayer(2, 2, "two")};
  ASSERT_EQ(ReadLayers(layers), kKivResult_OK);
  ASSERT_EQ(document->layerCount, 2);
  EXPECT_EQ(document->layerSectionStart, 4u);
  EXPECT_EQ(document->layerSectionLength, sectionBytes);
  EXPECT_EQ(document->layerDataStart, RecordsEnd(layers));
  EXPECT_STREQ(document->layers[0].layerName, "one");
  EXPECT_STREQ(document->layers[1].layerName, "two");
  // The channel data lies where the records say, inside the section.
  EXPECT_EQ(document->layers[0].channelDataLength + document->layers[1].channelDataLength, ChannelDataSize(layers));
  EXPECT_LE(document->layerDataStart + ChannelDataSize(layers), 4 + sectionBytes);
}

TEST_F(LayerSectionTest, NegativeCountGivesItsMagnitude) {
  ASSERT_EQ(ReadLayers({RgbLayer(1, 1), RgbLayer(1, 1), RgbLayer(1, 1)}, true), kKivResult_OK);
  EXPECT_EQ(document->layerCount, 3);
}

struct FramingCase {
  const char* name;
  ByteVector bytes;  // the stream, the section length first
  KivResult result;
  std::uint32_t position;  // stream position afterwards (0: not checked)
  std::uint64_t allocations;
};

void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.name; }

class LayerFramingTest : public DocumentTest, public ::testing::WithParamInterface<FramingCase> {};

TEST_P(LayerFramingTest, EndsWithoutLayers) {
  const FramingCase& c = GetParam();
  Open(c.bytes);
  EXPECT_EQ(document->ReadLayerAndMaskInfo(), c.result);
  EXPECT_EQ(document->layerCount, 0);
  EXPECT_EQ(document->layers, nullptr);
  if (c.position != 0) {
    EXPECT_EQ(stream->Position(), c.position);
  }
  EXPECT_EQ(allocator->AllocCalls(), c.allocations);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayerFramingTest,
    ::testing::Values(
        FramingCase{"sectionOfFour", Bytes().U32(4).U32(20).Take(), kKivResult_OK, 8, 0},
        FramingCase{"infoOfTwo", Bytes().U32(16).U32(2).U16(1).Fill(10).Take(), kKivResult_OK, 20, 0},
        FramingCase{"countZero", Bytes().U32(24).U32(20).U16(0).Fill(18).Take(), kKivResult_OK, 10, 0},
        FramingCase{"countMinus32768", Bytes().U32(46).U32(40).U16(0x8000).Fill(40).Take(), kKivResult_CorruptFile, 0,
                    0},
        FramingCase{"countBeyondSection", Bytes().U32(46).U32(40).U16(2).Fill(40).Take(), kKivResult_CorruptFile, 0, 0},
        FramingCase{"sectionLengthUnreadable", Bytes().U16(0).Take(), kKivResult_ReadFailed, 0, 0},
        FramingCase{"infoUnreadable", Bytes().U32(46).U16(40).Take(), kKivResult_ReadFailed, 0, 0},
        FramingCase{"countUnreadable", Bytes().U32(46).U32(40).U8(0).Take(), kKivResult_ReadFailed, 0, 0},
        FramingCase{"recordTruncated", Bytes().U32(100).U32(60).U16(1).U32(0).U32(0).Take(), kKivResult_ReadFailed, 0,
                    1}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(LayerSectionTest, SectionBeyond32BitPositionsIsRefused) {
  Open(Bytes().U32(0xFFFFFFFFu).U32(10).Take());
  EXPECT_EQ(document->ReadLayerAndMaskInfo(), kKivResult_CorruptFile);
}

TEST_F(LayerSectionTest, TableThatCannotBeAllocated) {
  allocator->Faults().FailNth(1);
  EXPECT_EQ(ReadLayers({RgbLayer(1, 1)}), kKivResult_OutOfMemory);
  EXPECT_EQ(document->layerCount, 0);
  EXPECT_EQ(document->layers, nullptr);
}

TEST_F(LayerSectionTest, SecondSectionReplacesTheFirstTable) {
  ASSERT_EQ(ReadLayers({RgbLayer(1, 1), RgbLayer(1, 1)}), kKivResult_OK);
  ASSERT_EQ(ReadLayers({RgbLayer(1, 1)}), kKivResult_OK);
  EXPECT_EQ(document->layerCount, 1);
  EXPECT_EQ(allocator->LiveAllocations(), 1u);
  // A section that fails drops the table too, and so does one without
  // layers.
  Open(Bytes().U32(100).U32(60).U16(1).Take());
  EXPECT_EQ(document->ReadLayerAndMaskInfo(), kKivResult_ReadFailed);
  EXPECT_EQ(allocator->LiveAllocations(), 0u);
  ASSERT_EQ(ReadLayers({RgbLayer(1, 1)}), kKivResult_OK);
  Open(Bytes().U32(4).U32(0).Take());
  EXPECT_EQ(document->ReadLayerAndMaskInfo(), kKivResult_OK);
  EXPECT_EQ(allocator->LiveAllocations(), 0u);
  EXPECT_EQ(document->layers, nullptr);
}

// ---------------------------------------------------------------------------
// Records that are read

struct RecordExpectation {
  std::uint16_t channelCount;
  std::uint16_t imageChannelCount;
  std::uint8_t hasMask;
  std::uint8_t visible;
  std::uint8_t transparencyProtected;
  std::uint8_t isClippingBase;
  std::uint8_t numBlendRanges;
  const char* name;
};

struct RecordCase {
  const char* label;
  Layer layer;
  RecordExpectation expected;
};

void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.label; }

Layer WithChannels(std::vector<std::int16_t> ids) {
  Layer layer = RgbLayer(2, 2, "chan");
  layer.channels.clear();
  for (std::int16_t id : ids) layer.channels.push_back({id});
  if (std::find(ids.begin(), ids.end(), -2) != ids.end()) layer.mask = psdbuild::Mask{0, 0, 1, 1};
  return layer;
}

Layer WithFlags(std::uint8_t flags, std::uint8_t clipping) {
  Layer layer = RgbLayer(1, 1, "flags");
  layer.flags = flags;
  layer.clipping = clipping;
  return layer;
}

Layer WithRanges(std::size_t count) {
  Layer layer = RgbLayer(1, 1, "ranges");
  for (std::size_t i = 0; i < count; ++i) {
    const auto b = static_cast<std::uint8_t>(i);
    layer.blendRanges.push_back({b, 1, 2, 3});
  }
  return layer;
}

// Extra data written by hand: mask length 0, ranges of `rangeBytes` bytes,
// then the name "ok" padded.
Layer WithRangeBytes(std::uint32_t rangeBytes) {
  Layer layer = RgbLayer(1, 1);
  layer.extra = Bytes().U32(0).U32(rangeBytes).Fill(rangeBytes, 9).U8(2).Text("ok").U8(0).Take();
  return layer;
}

Layer WithExtra(ByteVector extra) {
  Layer layer = RgbLayer(1, 1);
  layer.extra = std::move(extra);
  return layer;
}

class LayerRecordTest : public LayerSectionTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(LayerRecordTest, ReadsTheFields) {
  const RecordCase& c = GetParam();
  // A second layer after it shows that the record ended in the right place.
  ASSERT_EQ(ReadLayers({c.layer, RgbLayer(3, 3, "next")}), kKivResult_OK);
  const LayerRecord& record = document->layers[0];
  const RecordExpectation& e = c.expected;
  EXPECT_EQ(record.channelCount, e.channelCount);
  EXPECT_EQ(record.imageChannelCount, e.imageChannelCount);
  EXPECT_EQ(record.hasMask, e.hasMask);
  EXPECT_EQ(record.visible, e.visible);
  EXPECT_EQ(record.transparencyProtected, e.transparencyProtected);
  EXPECT_EQ(record.isClippingBase, e.isClippingBase);
  EXPECT_EQ(record.numBlendRanges, e.numBlendRanges);
  EXPECT_STREQ(record.layerName, e.name);
  EXPECT_STREQ(document->layers[1].layerName, "next");
  EXPECT_EQ(document->layers[1].bounds.right, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayerRecordTest,
    ::testing::Values(
        RecordCase{"idsWithoutMask", WithChannels({-1, 0, 1, 2}), {4, 4, 0, 1, 0, 0, 0, "chan"}},
        RecordCase{"idsWithMask", WithChannels({-1, 0, 1, 2, -2}), {5, 4, 1, 1, 0, 0, 0, "chan"}},
        RecordCase{"flagsClear", WithFlags(0x00, 0), {4, 4, 0, 1, 0, 0, 0, "flags"}},
        RecordCase{"flagsThree", WithFlags(0x03, 1), {4, 4, 0, 0, 1, 1, 0, "flags"}},
        RecordCase{"clippingNotOne", WithFlags(0x00, 0x80), {4, 4, 0, 1, 0, 1, 0, "flags"}},
        RecordCase{"tenRanges", WithRanges(10), {4, 4, 0, 1, 0, 0, 10, "ranges"}},
        RecordCase{"seventyFiveRanges", WithRanges(75), {4, 4, 0, 1, 0, 0, 66, "ranges"}},
        RecordCase{"rangeTailSkipped", WithRangeBytes(10), {4, 4, 0, 1, 0, 0, 2, "ok"}},
        RecordCase{"extraOfZero", WithExtra({}), {4, 4, 0, 1, 0, 0, 0, ""}},
        RecordCase{"shortMaskData", WithExtra(Bytes().U32(16).Fill(16, 0x7F).U32(0).U8(1).Text("m").U16(0).Take()),
                   {4, 4, 0, 1, 0, 0, 0, "m"}},
        RecordCase{"fiveCharacterName", WithExtra(Bytes().U32(0).U32(0).U8(5).Text("abcde").U16(0).Take()),
                   {4, 4, 0, 1, 0, 0, 0, "abcde"}},
        RecordCase{"nameLongerThanExtra", WithExtra(Bytes().U32(0).U32(0).U8(200).Fill(11, 'x').Take()),
                   {4, 4, 0, 1, 0, 0, 0, ""}}),
    [](const auto& p) { return std::string(p.param.label); });

TEST_F(LayerSectionTest, LongestNameIsKeptWhole) {
  ASSERT_EQ(ReadLayers({RgbLayer(1, 1, std::string(255, 'n'))}), kKivResult_OK);
  EXPECT_EQ(std::string(document->layers[0].layerName), std::string(255, 'n'));
}

TEST_F(LayerSectionTest, FortyChannelRecordsKeepThirtyTwo) {
  Layer layer = RgbLayer(1, 1, "forty");
  layer.channels.clear();
  std::uint32_t total = 0;
  for (int i = 0; i < 40; ++i) {
    psdbuild::Channel channel{static_cast<std::int16_t>(i)};
    channel.stored = ByteVector(static_cast<std::size_t>(2 + i), 0);
    total += static_cast<std::uint32_t>(2 + i);
    layer.channels.push_back(channel);
  }
  ASSERT_EQ(ReadLayers({layer}), kKivResult_OK);
  const LayerRecord& record = document->layers[0];
  EXPECT_EQ(record.channelCount, 40);
  EXPECT_EQ(record.imageChannelCount, 40);
  EXPECT_EQ(record.channelDataLength, total);
  EXPECT_EQ(record.channelIds[31], 31);
  EXPECT_EQ(record.channelLengths[31], 33u);
  EXPECT_STREQ(record.layerName, "forty");
}

TEST_F(LayerSectionTest, BlendValuesAndRangesAsStored) {
  Layer layer = WithRanges(3);
  layer.blendMode = "mul ";
  layer.opacity = 200;
  layer.top = -5;
  layer.left = -7;
  ASSERT_EQ(ReadLayers({layer}), kKivResult_OK);
  const LayerRecord& record = document->layers[0];
  EXPECT_EQ(record.blendMode, 0x6D756C20u);
  EXPECT_EQ(record.opacity, 200);
  EXPECT_EQ(record.bounds.top, -5);
  EXPECT_EQ(record.bounds.left, -7);
  EXPECT_EQ(record.bounds.bottom, 1);
  EXPECT_EQ(record.blendRanges[2][0], 2);
  EXPECT_EQ(record.blendRanges[2][3], 3);
}

TEST_F(LayerSectionTest, RangesPastTheKeptOnesCostOneReadAndOneMove) {
  // Against a record without ranges: one more read (the kept 66 ranges)
  // and one more move (past the other 934), however many are stored.
  std::uint64_t reads[2];
  std::uint64_t moves[2];
  const std::size_t counts[] = {0, 1000};
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(ReadLayers({WithRanges(counts[i])}), kKivResult_OK);
    reads[i] = stream->ReadCalls();
    moves[i] = stream->SetPositionCalls();
  }
  EXPECT_EQ(reads[1], reads[0] + 1);
  EXPECT_EQ(moves[1], moves[0] + 1);
  EXPECT_EQ(document->layers[0].numBlendRanges, 66);
  EXPECT_STREQ(document->layers[0].layerName, "ranges");
}

struct MaskCase {
  const char* name;
  std::uint8_t flags;
  std::uint32_t length;
  std::uint8_t relative, enable, inverted;
};

void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.name; }

class LayerMaskTest : public LayerSectionTest, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(LayerMaskTest, DecodesTheMaskData) {
  const MaskCase& c = GetParam();
  Layer layer = WithChannels({-1, 0, 1, 2, -2});
  layer.mask = psdbuild::Mask{2, 3, 12, 13, 255, c.flags, c.length};
  layer.name = "masked";
  ASSERT_EQ(ReadLayers({layer, RgbLayer(1, 1, "after")}), kKivResult_OK);
  const LayerRecord& record = document->layers[0];
  EXPECT_EQ(record.maskBounds.top, 2);
  EXPECT_EQ(record.maskBounds.left, 3);
  EXPECT_EQ(record.maskBounds.bottom, 12);
  EXPECT_EQ(record.maskBounds.right, 13);
  EXPECT_EQ(record.maskDefaultColor, 255);
  EXPECT_EQ(record.maskPositionRelative, c.relative);
  EXPECT_EQ(record.maskEnable, c.enable);
  EXPECT_EQ(record.maskInverted, c.inverted);
  EXPECT_STREQ(record.layerName, "masked");
  EXPECT_STREQ(document->layers[1].layerName, "after");
}

INSTANTIATE_TEST_SUITE_P(Cases, LayerMaskTest,
                         ::testing::Values(MaskCase{"flags05", 0x05, 20, 1, 1, 1}, MaskCase{"flags02", 0x02, 20, 0, 0, 0},
                                           MaskCase{"flags00", 0x00, 20, 0, 1, 0},
                                           MaskCase{"thirtySixBytes", 0x01, 36, 1, 1, 0}),
                         [](const auto& p) { return std::string(p.param.name); });

// ---------------------------------------------------------------------------
// Records that are refused: the section fails and keeps no table.

struct RefusedCase {
  const char* name;
  Layer layer;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

Layer WrongSignature() {
  Layer layer = RgbLayer(1, 1);
  layer.blendSignature = "8BIN";
  return layer;
}

Layer HugeChannelLengths() {
  Layer layer = RgbLayer(1, 1);
  layer.channels[0].recordedLength = 0xFFFFFFFFu;
  layer.channels[1].recordedLength = 0xFFFFFFFFu;
  return layer;
}

class RefusedRecordTest : public LayerSectionTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedRecordTest, FailsTheSection) {
  EXPECT_EQ(ReadLayers({RgbLayer(1, 1), GetParam().layer}), kKivResult_ReadFailed);
  EXPECT_EQ(document->layerCount, 0);
  EXPECT_EQ(document->layers, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedRecordTest,
    ::testing::Values(
        RefusedCase{"wrongBlendSignature", WrongSignature()},
        RefusedCase{"maskLongerThanExtra", WithExtra(Bytes().U32(40).Fill(20).U32(0).U8(0).Take())},
        RefusedCase{"rangesLongerThanExtra", WithExtra(Bytes().U32(0).U32(400).Fill(8).Take())},
        RefusedCase{"channelLengthsBeyond32Bits", HugeChannelLengths()}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(LayerSectionTest, ExtraDataBeyondTheSectionIsRefused) {
  // One record whose extra data length runs past the section's end.
  const ByteVector record = psdbuild::LayerRecordBytes(WithExtra({}), {});
  ByteVector patched = record;
  const std::size_t extraField = patched.size() - 4;
  patched[extraField] = 0x00;
  patched[extraField + 1] = 0x01;  // 65536 bytes of extra data
  OpenSection(Bytes().U32(static_cast<std::uint32_t>(2 + patched.size())).U16(1).Append(patched).Fill(64).Take());
  EXPECT_EQ(document->ReadLayerAndMaskInfo(), kKivResult_ReadFailed);
}

TEST_F(LayerSectionTest, StreamFaultsInsideARecord) {
  struct Case {
    const char* name;
    kivhost::FaultPlan& (kivhost::ByteStream::*plan)();
  };
  const Case cases[] = {{"read", &kivhost::ByteStream::ReadFaults},
                        {"getPosition", &kivhost::ByteStream::GetPositionFaults},
                        {"setPosition", &kivhost::ByteStream::SetPositionFaults}};
  Layer layer = WithChannels({-1, 0, 1, 2, -2});
  layer.blendRanges = {{1, 2, 3, 4}, {5, 6, 7, 8}};
  const ByteVector section = LayerSectionOf({layer});
  for (const Case& c : cases) {
    // Fail each call of the kind in turn until a read of the section
    // succeeds: every failure leaves no table.
    for (std::uint64_t n = 1;; ++n) {
      SCOPED_TRACE(std::string(c.name) + " #" + std::to_string(n));
      OpenSection(section);
      ((*stream).*c.plan)().FailNth(n);
      const KivResult result = document->ReadLayerAndMaskInfo();
      if (((*stream).*c.plan)().Failures() == 0) {
        EXPECT_EQ(result, kKivResult_OK);
        break;
      }
      EXPECT_NE(result, kKivResult_OK);
      EXPECT_EQ(document->layers, nullptr);
      EXPECT_EQ(document->layerCount, 0);
    }
  }
}

}  // namespace
}  // namespace strataread
