// ReadImage: what the receptor receives, how an import ends, and the
// imports that are refused or deliver nothing.
#include "reader_fixture.h"

namespace strataread_test {
namespace {

constexpr KivResult kHostFailure = static_cast<KivResult>(0x80049999u);
constexpr char kLayerIndexKey[] = "kKivSelectorKey_layerIndex";

std::vector<ReceptorCall> Expected(std::initializer_list<ReceptorCall> calls) { return calls; }

// A layer covering the whole document, its colour channels given.
psdbuild::Layer WholeLayer(const psdbuild::Document& document, std::vector<psdbuild::Channel> channels) {
  psdbuild::Layer layer;
  layer.bottom = static_cast<std::int32_t>(document.height);
  layer.right = static_cast<std::int32_t>(document.width);
  layer.channels = std::move(channels);
  return layer;
}

psdbuild::Channel ChannelWith(std::int16_t id, psdbuild::ByteVector rows) {
  psdbuild::Channel channel(id);
  channel.rows = std::move(rows);
  channel.compression = psdbuild::Compression::PackBits;
  return channel;
}

// -1 selects nothing (the merged image); otherwise the layer of that index.
class WhatIsReadTest : public ReaderParamTest<std::int32_t> {};

TEST_P(WhatIsReadTest, RowsComeFromTheChosenImage) {
  constexpr std::uint32_t kWidth = 3;
  constexpr std::uint32_t kHeight = 4;
  psdbuild::Document document = RgbDocument(kWidth, kHeight);
  std::vector<std::vector<psdbuild::ByteVector>> layerPlanes;
  for (int l = 0; l < 2; ++l) {
    std::vector<psdbuild::Channel> channels;
    layerPlanes.emplace_back();
    for (std::int16_t c = 0; c < 3; ++c) {
      layerPlanes.back().push_back(TestPlane(kWidth, kHeight, 4 + 3 * l + c));
      channels.push_back(ChannelWith(c, layerPlanes.back().back()));
    }
    document.layers.push_back(WholeLayer(document, channels));
  }
  ASSERT_EQ(SetSource(document), kKivResult_OK);
  Ref<kivhost::PropertyList> selector = kivhost::PropertyList::Create();
  if (GetParam() >= 0) {
    selector->PutInt32(kLayerIndexKey, GetParam());
    ASSERT_EQ(reader->SetSelector(selector.get()), kKivResult_OK);
  }

  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  ASSERT_EQ(Read(receptor.get()), kKivResult_OK);
  EXPECT_EQ(receptor->Calls(), Expected({ReceptorCall::BeginImage, ReceptorCall::SetImageInfo, ReceptorCall::PutRow,
                                         ReceptorCall::PutRow, ReceptorCall::PutRow, ReceptorCall::PutRow,
                                         ReceptorCall::Finish}));
  EXPECT_EQ(receptor->BeginConstants(), (std::array<std::int32_t, 3>{1, 0, 1}));
  EXPECT_EQ(receptor->OfferCount(), 1);
  EXPECT_EQ(receptor->Offers(), std::vector<std::int32_t>{static_cast<std::int32_t>(LayoutRgb)});
  const auto& planes = GetParam() < 0 ? document.merged : layerPlanes[static_cast<std::size_t>(GetParam())];
  EXPECT_EQ(RowsOf(*receptor), InterleavedRows(planes, kWidth, kHeight));
  for (std::size_t y = 0; y < receptor->Rows().size(); ++y) {
    EXPECT_EQ(receptor->Rows()[y].row, static_cast<std::int32_t>(y));
    EXPECT_EQ(receptor->Rows()[y].length, static_cast<std::int32_t>(3 * kWidth));
  }
  ASSERT_TRUE(receptor->Info().has_value());
  EXPECT_EQ(receptor->Info()->rowBytes, static_cast<std::int32_t>(3 * kWidth));
  EXPECT_EQ(owner->Handles().LiveHandles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Images, WhatIsReadTest, ::testing::Values(-1, 0, 1), [](const auto& test) {
  return test.param < 0 ? std::string("Merged") : "Layer" + std::to_string(test.param);
});

// How the receptor's answers end an import.
struct EndingCase {
  const char* name;
  KivResult beginResult;
  std::int32_t failingRow;  // -1: every row accepted
  KivResult rowResult;
  std::vector<KivResult> finishResults;
  KivResult expected;
  std::size_t rowsDelivered;
  std::uint64_t finishCalls;
};

class EndingTest : public ReaderParamTest<EndingCase> {};

TEST_P(EndingTest, ReceptorAnswersDecide) {
  const EndingCase& c = GetParam();
  ASSERT_EQ(SetSource(RgbDocument(2, 8)), kKivResult_OK);
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  receptor->FailBeginImage(c.beginResult);
  if (c.failingRow >= 0) receptor->FailPutRowAt(c.failingRow, c.rowResult);
  receptor->SetFinishResults(c.finishResults);
  EXPECT_EQ(Read(receptor.get()), c.expected);
  EXPECT_EQ(receptor->Rows().size(), c.rowsDelivered);
  EXPECT_EQ(receptor->CountOf(ReceptorCall::Finish), c.finishCalls);
  // The image is given back by the import itself, whatever its end.
  EXPECT_EQ(owner->Handles().LiveHandles(), 0u);
  ExpectStreamsAtRest();
}

const EndingCase kEndingCases[] = {
    {"IncompleteAtRow5", kKivResult_OK, 5, kKivResult_Incomplete,
     {kKivResult_Incomplete, kKivResult_Incomplete, kKivResult_OK}, kKivResult_OK, 6, 3},
    {"FinishIncompleteTwice", kKivResult_OK, -1, kKivResult_OK,
     {kKivResult_Incomplete, kKivResult_Incomplete, kKivResult_OK}, kKivResult_OK, 8, 3},
    {"FinishIncompleteThenFails", kKivResult_OK, -1, kKivResult_OK, {kKivResult_Incomplete, kHostFailure},
     kHostFailure, 8, 2},
    {"FinishFailsAfterAllRows", kKivResult_OK, -1, kKivResult_OK, {kHostFailure}, kHostFailure, 8, 1},
    {"RowRefused", kKivResult_OK, 3, kHostFailure, {}, kHostFailure, 4, 0},
    {"BeginImageIncomplete", kKivResult_Incomplete, -1, kKivResult_OK, {kKivResult_OK}, kKivResult_OK, 0, 1},
    {"BeginImageFails", kHostFailure, -1, kKivResult_OK, {}, kHostFailure, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Answers, EndingTest, ::testing::ValuesIn(kEndingCases), CaseName());

// kKivResult_Incomplete from the host's stream side is a failure like any
// other: passed on, with no Finish and no row.
struct HostIncompleteCase {
  const char* name;
  // Plans the fault; lastSeek is the number of SetPosition calls a whole
  // import makes.
  void (*plan)(Owner& owner, std::uint64_t lastSeek);
  std::vector<ReceptorCall> calls;
};

class HostIncompleteTest : public ReaderParamTest<HostIncompleteCase> {};

TEST_P(HostIncompleteTest, IsPassedOnUnchanged) {
  const psdbuild::Document document = RgbDocument(2, 3);
  ASSERT_EQ(SetSource(document), kKivResult_OK);
  Ref<ImageReceptor> clean = ImageReceptor::Create();
  ASSERT_EQ(Read(clean.get()), kKivResult_OK);
  const std::uint64_t seeks = LastStream()->SetPositionCalls();

  GetParam().plan(*owner, seeks);
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  EXPECT_EQ(Read(receptor.get()), kKivResult_Incomplete);
  EXPECT_EQ(receptor->Calls(), GetParam().calls);
  EXPECT_EQ(owner->Handles().LiveHandles(), 0u);
  ExpectStreamsAtRest();
}

const HostIncompleteCase kHostIncompleteCases[] = {
    {"StreamMaker",
     [](Owner& host, std::uint64_t) {
       host.Services().Streams().SourceStreamFaults().SetResult(kKivResult_Incomplete);
       host.Services().Streams().SourceStreamFaults().FailNth(1);
     },
     {}},
    {"FormatTable",
     [](Owner& host, std::uint64_t) {
       host.Services().Formats().Faults().SetResult(kKivResult_Incomplete);
       host.Services().Formats().Faults().FailNth(1);
     },
     {}},
    {"StreamOpen",
     [](Owner& host, std::uint64_t) {
       host.Services().Streams().SetStreamSetup([](kivhost::ByteStream& stream) {
         stream.OpenFaults().SetResult(kKivResult_Incomplete);
         stream.OpenFaults().FailNth(1);
       });
     },
     {}},
    {"PixelSeek",
     [](Owner& host, std::uint64_t lastSeek) {
       host.Services().Streams().SetStreamSetup([lastSeek](kivhost::ByteStream& stream) {
         stream.SetPositionFaults().SetResult(kKivResult_Incomplete);
         stream.SetPositionFaults().FailNth(lastSeek);
       });
     },
     {ReceptorCall::BeginImage, ReceptorCall::SetImageInfo}},
};

INSTANTIATE_TEST_SUITE_P(Sources, HostIncompleteTest, ::testing::ValuesIn(kHostIncompleteCases), CaseName());

// A host that forces a layout whose rows the read buffer cannot hold gets
// no row at all.
struct ForcedLayoutCase {
  const char* name;
  psdbuild::Document document;
  std::uint32_t layout;
};

class ForcedLayoutTest : public ReaderParamTest<ForcedLayoutCase> {};

TEST_P(ForcedLayoutTest, RowsThatDoNotMatchTheBufferAreNotDelivered) {
  ASSERT_EQ(SetSource(GetParam().document), kKivResult_OK);
  // The document keeps its colour table; the image must not stay too.
  const std::size_t handles = owner->Handles().LiveHandles();
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  const auto layout = static_cast<std::int32_t>(GetParam().layout);
  receptor->SetLayoutChoice([layout](std::span<const std::int32_t>, const ImageInfo&) { return layout; });
  EXPECT_EQ(Read(receptor.get()), kKivResult_UnsupportedFile);
  EXPECT_EQ(receptor->Calls(), Expected({ReceptorCall::BeginImage, ReceptorCall::SetImageInfo}));
  EXPECT_EQ(owner->Handles().LiveHandles(), handles);
}

const ForcedLayoutCase kForcedLayoutCases[] = {
    {"BitmapRowsOverRgb", RgbDocument(5, 2), LayoutBitmap},
    {"RgbaOverAGreyIndex", GreyDocument(3, 2), LayoutRgba},
};

INSTANTIATE_TEST_SUITE_P(Layouts, ForcedLayoutTest, ::testing::ValuesIn(kForcedLayoutCases), CaseName());

// A layer without area reads into no buffer: nothing to lock or deliver,
// and the receptor is still finished.
struct EmptyReadCase {
  const char* name;
  std::int32_t bottom, right;
  std::vector<KivResult> finishResults;
  KivResult expected;
  std::uint64_t finishCalls;
};

class EmptyReadTest : public ReaderParamTest<EmptyReadCase> {};

TEST_P(EmptyReadTest, FinishesWithoutRows) {
  const EmptyReadCase& c = GetParam();
  psdbuild::Document document = RgbDocument(4, 4);
  psdbuild::Layer layer;
  layer.bottom = c.bottom;
  layer.right = c.right;
  layer.channels = {0, 1, 2};
  document.layers = {layer};
  ASSERT_EQ(SetSource(document), kKivResult_OK);
  Ref<kivhost::PropertyList> selector = kivhost::PropertyList::Create();
  selector->PutInt32(kLayerIndexKey, 0);
  ASSERT_EQ(reader->SetSelector(selector.get()), kKivResult_OK);

  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  receptor->SetFinishResults(c.finishResults);
  EXPECT_EQ(Read(receptor.get()), c.expected);
  EXPECT_EQ(receptor->CountOf(ReceptorCall::PutRow), 0u);
  EXPECT_EQ(receptor->CountOf(ReceptorCall::Finish), c.finishCalls);
  EXPECT_EQ(owner->Handles().BadCalls(), 0u);  // no lock of handle 0
}

const EmptyReadCase kEmptyReadCases[] = {
    {"NoRows", 0, 4, {kKivResult_OK}, kKivResult_OK, 1},
    {"NoColumns", 4, 0, {kKivResult_OK}, kKivResult_OK, 1},
    {"FinishFails", 4, 0, {kHostFailure}, kHostFailure, 1},
    {"FinishIncompleteOnce", 4, 0, {kKivResult_Incomplete, kKivResult_OK}, kKivResult_OK, 2},
};

INSTANTIATE_TEST_SUITE_P(Layers, EmptyReadTest, ::testing::ValuesIn(kEmptyReadCases), CaseName());

// PutRow numbers rows with a signed 16-bit counter.
struct TallImageCase {
  const char* name;
  std::uint32_t height;
  KivResult expected;
};

class TallImageTest : public ReaderParamTest<TallImageCase> {};

TEST_P(TallImageTest, OnlyRowsThatCanBeNumberedAreDelivered) {
  const TallImageCase& c = GetParam();
  ASSERT_EQ(SetSource(GreyDocument(1, c.height)), kKivResult_OK);
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  EXPECT_EQ(Read(receptor.get()), c.expected);
  if (c.expected == kKivResult_OK) {
    ASSERT_EQ(receptor->Rows().size(), c.height);
    EXPECT_EQ(receptor->Rows().back().row, static_cast<std::int32_t>(c.height - 1));
  } else {
    EXPECT_TRUE(receptor->Calls().empty());
  }
  ExpectStreamsAtRest();
}

const TallImageCase kTallImageCases[] = {
    {"Rows32767", 32767, kKivResult_OK},
    {"Rows32768", 32768, kKivResult_UnsupportedFile},
};

INSTANTIATE_TEST_SUITE_P(Heights, TallImageTest, ::testing::ValuesIn(kTallImageCases), CaseName());

// A grey document with an extra channel whose second layer has
// transparency and is protected: while that layer is chosen, every image of
// the document is offered with an alpha layout first.
psdbuild::Document GreyWithProtectedLayer(int seed) {
  psdbuild::Document document = GreyDocument(2, 2);
  document.channels = 2;
  document.merged = {TestPlane(2, 2, seed), TestPlane(2, 2, seed + 4)};
  document.layers.push_back(WholeLayer(document, {ChannelWith(0, TestPlane(2, 2, seed + 1))}));
  psdbuild::Layer layer =
      WholeLayer(document, {ChannelWith(-1, TestPlane(2, 2, seed + 2)), ChannelWith(0, TestPlane(2, 2, seed + 3))});
  layer.flags = 1;  // transparency protected
  document.layers.push_back(layer);
  return document;
}

TEST_F(ReaderTest, ANewSourceForgetsTheChosenLayer) {
  ASSERT_EQ(SetSource(GreyWithProtectedLayer(1)), kKivResult_OK);
  Ref<kivhost::PropertyList> selector = kivhost::PropertyList::Create();
  selector->PutInt32(kLayerIndexKey, 1);
  ASSERT_EQ(reader->SetSelector(selector.get()), kKivResult_OK);

  const psdbuild::Document second = GreyWithProtectedLayer(7);
  ASSERT_EQ(SetSource(second), kKivResult_OK);
  EXPECT_EQ(selector->References(), 1);
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  ASSERT_EQ(Read(receptor.get()), kKivResult_OK);
  // The merged image's own offers, not those of the layer chosen before.
  EXPECT_EQ(receptor->Offers(),
            (std::vector<std::int32_t>{static_cast<std::int32_t>(LayoutIndexed), static_cast<std::int32_t>(LayoutRgb)}));
  // The grey index alone: the first offer, which drops the extra channel.
  EXPECT_EQ(RowsOf(*receptor), InterleavedRows({second.merged[0]}, 2, 2));
}

}  // namespace
}  // namespace strataread_test
