// Every host call of one import made to fail in turn: the import answers
// the failure, hands the receptor no row and leaves nothing alive.
#include "reader_fixture.h"

namespace strataread_test {
namespace {

using kivhost::ByteStream;
using kivhost::FaultPlan;

enum class Site { NewHandle, LockHandle, Alloc, Read, GetPosition, SetPosition };

bool IsStreamSite(Site site) { return site == Site::Read || site == Site::GetPosition || site == Site::SetPosition; }

FaultPlan& HostPlan(Owner& owner, Site site) {
  switch (site) {
    case Site::NewHandle: return owner.Handles().NewHandleFaults();
    case Site::LockHandle: return owner.Handles().LockFaults();
    default: return owner.Memory().Faults();
  }
}

FaultPlan& StreamPlan(ByteStream& stream, Site site) {
  switch (site) {
    case Site::Read: return stream.ReadFaults();
    case Site::GetPosition: return stream.GetPositionFaults();
    default: return stream.SetPositionFaults();
  }
}

// Grey, packed, with guides and a layer whose transparency and user mask
// are combined: an import that asks the host for much.
psdbuild::Document BusyDocument() {
  psdbuild::Document document = GreyDocument(4, 3);
  document.mergedCompression = psdbuild::Compression::PackBits;
  document.resources.push_back(psdbuild::GuideResource({{64, 0}, {96, 1}}));
  psdbuild::Layer layer;
  layer.top = 0;
  layer.left = 1;
  layer.bottom = 3;
  layer.right = 4;
  for (const std::int16_t id : {-1, 0, -2}) {
    psdbuild::Channel channel(id);
    channel.rows = TestPlane(3, 3, id + 3);
    channel.compression = psdbuild::Compression::PackBits;
    layer.channels.push_back(channel);
  }
  layer.mask = psdbuild::Mask(0, 1, 3, 4, 0, 0);
  layer.name = "busy";
  document.layers = {layer};
  return document;
}

struct SweepCase {
  const char* name;
  Site site;
  bool layer;  // the layer rather than the merged image
  KivResult expected;
};

class FaultSweepTest : public ReaderParamTest<SweepCase> {
protected:
  // A reader with the busy document as source and the image chosen.
  Ref<IKivReader> Prepared() {
    Ref<IKivReader> prepared = NewReader();
    EXPECT_EQ(SetSource(*prepared, BusyDocument()), kKivResult_OK);
    if (GetParam().layer) {
      Ref<kivhost::PropertyList> selector = kivhost::PropertyList::Create();
      selector->PutInt32("kKivSelectorKey_layerIndex", 0);
      EXPECT_EQ(prepared->SetSelector(selector.get()), kKivResult_OK);
    }
    return prepared;
  }

  // The calls of the swept kind that one import makes.
  std::uint64_t CallsOfOneImport() {
    Ref<IKivReader> prepared = Prepared();
    FaultPlan& host = HostPlan(*owner, GetParam().site);
    const std::uint64_t before = host.Calls();
    Ref<ImageReceptor> receptor = ImageReceptor::Create();
    EXPECT_EQ(prepared->ReadImage(receptor.get(), &IID_IKivImageReceptor), kKivResult_OK);
    EXPECT_FALSE(receptor->Rows().empty());
    if (!IsStreamSite(GetParam().site)) return host.Calls() - before;
    return StreamPlan(*LastStream(), GetParam().site).Calls();
  }
};

TEST_P(FaultSweepTest, EachFailureEndsTheImportCleanly) {
  const SweepCase& c = GetParam();
  reader.Reset();  // each round makes its own
  const std::uint64_t calls = CallsOfOneImport();
  ASSERT_GT(calls, 0u);
  for (std::uint64_t n = 1; n <= calls; ++n) {
    SCOPED_TRACE("failing call " + std::to_string(n));
    Ref<IKivReader> prepared = Prepared();
    if (IsStreamSite(c.site)) {
      owner->Services().Streams().SetStreamSetup(
          [&c, n](ByteStream& stream) { StreamPlan(stream, c.site).FailNth(n); });
    } else {
      HostPlan(*owner, c.site).FailNth(n);
    }
    Ref<ImageReceptor> receptor = ImageReceptor::Create();
    EXPECT_EQ(prepared->ReadImage(receptor.get(), &IID_IKivImageReceptor), c.expected);
    EXPECT_EQ(receptor->CountOf(ReceptorCall::PutRow), 0u);
    EXPECT_EQ(receptor->CountOf(ReceptorCall::Finish), 0u);
    owner->Services().Streams().SetStreamSetup(nullptr);
    HostPlan(*owner, c.site).Clear();
    prepared.Reset();
    EXPECT_EQ(owner->Handles().LiveHandles(), 0u);
    EXPECT_EQ(owner->Memory().LiveAllocations(), 0u);
    ExpectStreamsAtRest();
    if (HasFailure()) break;
  }
}

const SweepCase kSweepCases[] = {
    {"MergedNewHandle", Site::NewHandle, false, kKivResult_OutOfMemory},
    {"MergedLockHandle", Site::LockHandle, false, kKivResult_OutOfMemory},
    {"MergedRead", Site::Read, false, kKivResult_ReadFailed},
    {"MergedGetPosition", Site::GetPosition, false, kKivResult_ReadFailed},
    {"MergedSetPosition", Site::SetPosition, false, kKivResult_ReadFailed},
    {"LayerNewHandle", Site::NewHandle, true, kKivResult_OutOfMemory},
    {"LayerLockHandle", Site::LockHandle, true, kKivResult_OutOfMemory},
    {"LayerAlloc", Site::Alloc, true, kKivResult_OutOfMemory},
    {"LayerRead", Site::Read, true, kKivResult_ReadFailed},
    {"LayerSetPosition", Site::SetPosition, true, kKivResult_ReadFailed},
};

INSTANTIATE_TEST_SUITE_P(Sites, FaultSweepTest, ::testing::ValuesIn(kSweepCases), CaseName());

}  // namespace
}  // namespace strataread_test
