// The largest block the plug-in asks the host for: a buffer of exactly the
// limit is asked for (here the host refuses it, having little memory), one
// byte more is refused by the plug-in without asking. Both end the import
// with kKivResult_OutOfMemory.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "handle_block.h"
#include "kivhost/import.h"
#include "kivhost/kivhost.h"
#include "kivhost/receptor.h"
#include "psd_builder.h"

namespace {

using kivhost::Ref;
using psdbuild::ByteVector;

constexpr std::uint32_t kLimit = static_cast<std::uint32_t>(strataread::kMaxBlockBytes);
constexpr std::uint32_t kSide = 16384;  // kLimit is kSide x kSide
static_assert(std::uint64_t{kSide} * kSide == strataread::kMaxBlockBytes);

// A greyscale document of width x height whose merged rows are not stored:
// the buffer is asked for before any row is read.
ByteVector GreyHeaderOnly(std::uint32_t width, std::uint32_t height) {
  psdbuild::Document d;
  d.mode = 1;
  d.channels = 1;
  d.width = width;
  d.height = height;
  psdbuild::Bytes file;
  file.Append(psdbuild::HeaderBytes(d)).U32(0).U32(0).U32(0).U16(0);
  return file.Take();
}

// An RGB document with one 1 x 1 layer whose user mask is maskWidth pixels
// wide and one row high, stored as one PackBits run: the mask's work rows
// are a mask row long.
ByteVector MaskedLayer(std::int32_t maskWidth) {
  psdbuild::Document d;
  d.merged = {{1}, {2}, {3}};
  psdbuild::Layer layer;
  layer.bottom = 1;
  layer.right = 1;
  for (const std::int16_t id : {-1, 0, 1, 2}) {
    psdbuild::Channel channel(id);
    channel.rows = {0x40};
    layer.channels.push_back(channel);
  }
  psdbuild::Channel mask(-2);
  mask.stored = ByteVector{0, 1, 0, 2, 0, 0x7F};
  layer.channels.push_back(mask);
  layer.mask = psdbuild::Mask(0, 0, 1, maskWidth);
  d.layers.push_back(layer);
  return psdbuild::Build(d);
}

struct LimitCase {
  const char* name;
  ByteVector (*document)();
  std::int32_t layer;  // -1: the merged image
  std::uint32_t layout;
  bool hostAsked;
};

class BlockLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(BlockLimitTest, LargerBlocksAreRefusedWithoutAskingTheHost) {
  const LimitCase& c = GetParam();
  Ref<kivhost::Owner> owner = kivhost::Owner::Create();
  owner->Handles().SetByteLimit(std::uint64_t{1} << 20);
  std::unique_ptr<kivhost::Importer> importer;
  std::string detail;
  ASSERT_EQ(kivhost::Importer::Open(STRATAREAD_PLUGIN_PATH, &importer, &detail, owner), kKivResult_OK) << detail;
  ASSERT_EQ(importer->SetSourceBytes(c.document()), kKivResult_OK);
  ASSERT_EQ(c.layer < 0 ? importer->SelectMerged() : importer->SelectLayer(c.layer), kKivResult_OK);
  Ref<kivhost::ImageReceptor> receptor = kivhost::ImageReceptor::Create();
  receptor->SetLayoutChoice(kivhost::OnlyLayout(static_cast<std::int32_t>(c.layout)));

  const std::uint64_t refusedBefore = owner->Handles().FailedNewHandles();
  EXPECT_EQ(importer->ReadImage(*receptor), kKivResult_OutOfMemory);
  EXPECT_EQ(owner->Handles().FailedNewHandles() - refusedBefore, c.hostAsked ? 1u : 0u);
  EXPECT_TRUE(receptor->Rows().empty());
  importer.reset();
  EXPECT_EQ(owner->Handles().LiveHandles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, BlockLimitTest,
    ::testing::Values(
        LimitCase{"ImageAtTheLimit", [] { return GreyHeaderOnly(kSide, kSide); }, -1, LayoutIndexed, true},
        LimitCase{"ImageAboveTheLimit", [] { return GreyHeaderOnly(kSide, kSide + 1); }, -1, LayoutIndexed, false},
        LimitCase{"MaskRowAtTheLimit", [] { return MaskedLayer(static_cast<std::int32_t>(kLimit)); }, 0, LayoutRgba,
                  true},
        LimitCase{"MaskRowAboveTheLimit", [] { return MaskedLayer(static_cast<std::int32_t>(kLimit) + 1); }, 0,
                  LayoutRgba, false}),
    [](const auto& tested) { return std::string(tested.param.name); });

}  // namespace
