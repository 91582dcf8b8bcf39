// The image-resources section: resolution, guides and every bound of the
// walk.
#include "document_fixture.h"

namespace strataread {
namespace {

using psdbuild::Bytes;
using psdbuild::ByteVector;
using psdbuild::GuideEntry;
using psdbuild::Resource;
using psdbuild::ResourceBlock;

ByteVector Blocks(const std::vector<Resource>& resources) {
  Bytes out;
  for (const Resource& resource : resources) out.Append(ResourceBlock(resource));
  return out.Take();
}

std::vector<GuideEntry> CountingGuides(int count) {
  std::vector<GuideEntry> guides;
  for (int i = 0; i < count; ++i) guides.push_back({i * 32, static_cast<std::uint8_t>(i & 1)});
  return guides;
}

// A block header (signature, id, empty name) followed by a raw size field.
ByteVector BlockWithSize(std::uint16_t id, std::uint32_t size, std::size_t dataBytes) {
  return Bytes().Text("8BIM").U16(id).U16(0).U32(size).Fill(dataBytes, 0x11).Take();
}

struct WalkCase {
  const char* name;
  ByteVector block;
  KivResult result;
  double resolution;
  std::int32_t guideCount;
};

void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }

class ResourceWalkTest : public DocumentTest, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(ResourceWalkTest, FindsResolutionAndGuides) {
  const WalkCase& c = GetParam();
  document->guideCount = 7;  // what an earlier parse left
  // The block in a buffer of its own size, so reading past it is caught.
  std::vector<std::uint8_t> block(c.block);
  EXPECT_EQ(document->ParseImageResources(block.data(), static_cast<std::uint32_t>(block.size())), c.result);
  EXPECT_DOUBLE_EQ(document->resolution, c.resolution);
  EXPECT_EQ(document->guideCount, c.guideCount);
}

const ByteVector kGuides300ThenResolution =
    Blocks({psdbuild::GuideResource(CountingGuides(300)), psdbuild::ResolutionResource(0x012C0000)});
// Declares two guides; the section ends after the first entry.
const ByteVector kTruncatedGuides = [] {
  ByteVector bytes = Blocks({psdbuild::GuideResource(CountingGuides(2))});
  bytes.resize(bytes.size() - 5);
  return bytes;
}();
const ByteVector kHugeGuideCount = [] {
  ByteVector bytes = Blocks({psdbuild::GuideResource(CountingGuides(3), 0x7FFFFFFF)});
  return bytes;
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, ResourceWalkTest,
    ::testing::Values(
        WalkCase{"empty", {}, kKivResult_OK, 72.0, 7},
        WalkCase{"fiveBytes", ByteVector(5, 0xFF), kKivResult_OK, 72.0, 7},
        WalkCase{"tenBytes", ByteVector(10, 0xFF), kKivResult_OK, 72.0, 7},
        WalkCase{"resolution72", Blocks({psdbuild::ResolutionResource(0x00480000)}), kKivResult_OK, 72.0, 7},
        WalkCase{"resolution300", Blocks({psdbuild::ResolutionResource(0x012C0000)}), kKivResult_OK, 300.0, 7},
        WalkCase{"negativeResolution", Blocks({psdbuild::ResolutionResource(-0x00010000)}), kKivResult_OK, -1.0, 7},
        WalkCase{"namedAndOddSizedFirst",
                 Blocks({Resource{1000, {1, 2, 3}, "abc"}, psdbuild::ResolutionResource(0x00968000)}), kKivResult_OK,
                 150.5, 7},
        WalkCase{"sizeZeroEndsWalk",
                 Blocks({Resource{1000, {}}, psdbuild::ResolutionResource(0x012C0000)}), kKivResult_OK, 72.0, 7},
        WalkCase{"negativeSize",
                 Bytes().Append(BlockWithSize(1000, 0x80000000u, 8)).Take(), kKivResult_CorruptFile, 72.0, 7},
        WalkCase{"sizeFieldAtEnd", Bytes().Text("8BIM").U16(1005).U16(0).U32(4).Take(), kKivResult_CorruptFile, 72.0, 7},
        WalkCase{"resolutionDataAtEnd", BlockWithSize(1005, 4, 4), kKivResult_CorruptFile, 72.0, 7},
        WalkCase{"largestSizeEndsWalk", BlockWithSize(1005, 0x7FFFFFFF, 8), kKivResult_OK,
                 static_cast<double>(0x11111111) / 65536.0, 7},
        WalkCase{"guides300", kGuides300ThenResolution, kKivResult_OK, 300.0, 256},
        WalkCase{"guidesTruncated", kTruncatedGuides, kKivResult_OK, 72.0, 1},
        WalkCase{"guideCountHuge", kHugeGuideCount, kKivResult_OK, 72.0, 3},
        WalkCase{"guideCountNegative", Blocks({psdbuild::GuideResource({}, -1)}), kKivResult_OK, 72.0, -1},
        WalkCase{"guideCountOutsideBlock", BlockWithSize(1032, 12, 13), kKivResult_OK, 72.0, 0},
        WalkCase{"resolutionKeptBeforeCorruption",
                 Bytes().Append(ResourceBlock(psdbuild::ResolutionResource(0x00600000)))
                     .Append(BlockWithSize(1000, 0xFFFFFFFFu, 8))
                     .Take(),
                 kKivResult_CorruptFile, 96.0, 7}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(DocumentTest, GuidesAreStoredInOrder) {
  const ByteVector block = Blocks({psdbuild::GuideResource({{3200, 1}, {-16, 0}, {5, 0xFF}})});
  ASSERT_EQ(document->ParseImageResources(block.data(), static_cast<std::uint32_t>(block.size())), kKivResult_OK);
  ASSERT_EQ(document->guideCount, 3);
  EXPECT_EQ(document->guides[0].position, 3200);
  EXPECT_EQ(document->guides[0].direction, 1);
  EXPECT_EQ(document->guides[1].position, -16);
  EXPECT_EQ(document->guides[2].direction, 0xFF);
}

TEST_F(DocumentTest, GuidesPastTheKeptOnesArePassedOver) {
  const ByteVector block = Blocks({psdbuild::GuideResource(CountingGuides(300))});
  ASSERT_EQ(document->ParseImageResources(block.data(), static_cast<std::uint32_t>(block.size())), kKivResult_OK);
  EXPECT_EQ(document->guides[255].position, 255 * 32);
}

TEST_F(DocumentTest, EmptySectionAsksForNoBlock) {
  OpenSection({});
  EXPECT_EQ(document->ReadImageResources(), kKivResult_OK);
  EXPECT_EQ(handles->NewHandleCalls(), 0u);
  EXPECT_EQ(stream->Position(), 4u);
}

TEST_F(DocumentTest, SectionIsReadInOneBlockAndLeftAtItsEnd) {
  OpenSection(Blocks({psdbuild::ResolutionResource(0x012C0000)}));
  ASSERT_EQ(document->ReadImageResources(), kKivResult_OK);
  EXPECT_EQ(document->resolution, 300.0);
  EXPECT_EQ(handles->NewHandleCalls(), 1u);
  EXPECT_EQ(stream->Position(), stream->Bytes().size());
}

TEST_F(DocumentTest, SectionFailures) {
  struct Case {
    const char* name;
    ByteVector bytes;
    int failNewHandle;
    int failLock;
    KivResult result;
    std::uint64_t newHandleCalls;
  };
  const ByteVector section = Blocks({psdbuild::ResolutionResource(0x012C0000)});
  const ByteVector whole = Bytes().U32(static_cast<std::uint32_t>(section.size())).Append(section).Take();
  const Case cases[] = {
      {"noLength", {0, 0, 1}, 0, 0, kKivResult_ReadFailed, 0},
      // A length far beyond the stream's end is refused before any block.
      {"lengthBeyondStream", Bytes().U32(0x7FFFFFF0u).Append(section).Take(), 0, 0, kKivResult_ReadFailed, 0},
      {"lengthBeyond32Bits", Bytes().U32(0xFFFFFFFFu).Append(section).Take(), 0, 0, kKivResult_CorruptFile, 0},
      {"noBlock", whole, 1, 0, kKivResult_OutOfMemory, 1},
      {"noLock", whole, 0, 1, kKivResult_OutOfMemory, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kivhost::Ref<kivhost::HandleMemory> fresh = kivhost::HandleMemory::Create();
    document->AttachServices(fresh.get(), allocator.get(), services.get());
    if (c.failNewHandle != 0) fresh->NewHandleFaults().FailNth(1);
    if (c.failLock != 0) fresh->LockFaults().FailNth(1);
    Open(c.bytes);
    EXPECT_EQ(document->ReadImageResources(), c.result);
    EXPECT_EQ(fresh->NewHandleCalls(), c.newHandleCalls);
    EXPECT_EQ(fresh->LiveHandles(), 0u);
    EXPECT_EQ(document->resolution, 72.0);
  }
  document->AttachServices(handles.get(), allocator.get(), services.get());
}

}  // namespace
}  // namespace strataread
