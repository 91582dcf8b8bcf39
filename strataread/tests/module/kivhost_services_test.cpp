#include <gtest/gtest.h>

#include <vector>

#include "case_name.h"
#include "kivhost/kivhost.h"

namespace strataread_test {
namespace {

using kivhost::HostServices;
using kivhost::Owner;
using kivhost::Ref;
using kivhost::Source;
using kivhost::Utility;

struct UtilityCase {
  const char* name;
  KivGuid classId;
  KivGuid interfaceId;
  KivResult expected;
  Utility utility;  // when expected is 0
};

std::int32_t ReferencesOf(HostServices& services, Utility utility) {
  switch (utility) {
    case Utility::StreamMaker: return services.Streams().References();
    case Utility::FormatTable: return services.Formats().References();
    case Utility::PropertyListMaker: return services.Lists().References();
    case Utility::HandleMemory: return services.Handles().References();
  }
  return 0;
}

class CreateInstanceTest : public ::testing::TestWithParam<UtilityCase> {};

TEST_P(CreateInstanceTest, GivesTheUtilitiesOfTheHostClass) {
  const UtilityCase& c = GetParam();
  Ref<HostServices> services = HostServices::Create();
  const std::int32_t before = ReferencesOf(*services, c.utility);
  int sentinel = 0;
  void* out = &sentinel;
  EXPECT_EQ(services->CreateInstance(&c.classId, &c.interfaceId, &out), c.expected);
  if (c.expected == kKivResult_OK) {
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(ReferencesOf(*services, c.utility), before + 1);
    EXPECT_EQ(static_cast<IKivUnknown*>(out)->Release(), before);
  } else {
    EXPECT_EQ(out, nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Utilities, CreateInstanceTest,
    ::testing::Values(
        UtilityCase{"StreamMaker", CLSID_KivHostUtilities, IID_IKivStreamMaker, kKivResult_OK, Utility::StreamMaker},
        UtilityCase{"FormatTable", CLSID_KivHostUtilities, IID_IKivFormatTable, kKivResult_OK, Utility::FormatTable},
        UtilityCase{"ListMaker", CLSID_KivHostUtilities, IID_IKivPropertyListMaker, kKivResult_OK,
                    Utility::PropertyListMaker},
        UtilityCase{"HandleMemoryIsNoUtility", CLSID_KivHostUtilities, IID_IKivHandleMemory,
                    kKivResult_NoSuchInterface, Utility::HandleMemory},
        UtilityCase{"OtherClass", CLSID_CPS30Agent, IID_IKivStreamMaker, kKivResult_NoSuchClass, Utility::StreamMaker}),
    CaseName());

TEST(HostServicesTest, QueryInterfaceGivesTheHandleMemoryUnlessPlannedToFail) {
  Ref<HostServices> services = HostServices::Create();
  Ref<IKivHandleMemory> memory;
  ASSERT_EQ(services->QueryInterface(&IID_IKivHandleMemory, memory.PutVoid()), kKivResult_OK);
  EXPECT_EQ(memory.get(), &services->Handles());
  EXPECT_EQ(services->QueryInterface(&IID_IKivStreamMaker, memory.PutVoid()), kKivResult_NoSuchInterface);
  services->Faults(Utility::HandleMemory).FailNth(1);
  EXPECT_EQ(services->QueryInterface(&IID_IKivHandleMemory, memory.PutVoid()), kKivResult_OutOfMemory);
  EXPECT_EQ(memory.get(), nullptr);
  services->Faults(Utility::FormatTable).FailAlways();
  services->Faults(Utility::FormatTable).SetResult(kKivResult_ReadFailed);
  Ref<IKivFormatTable> formats;
  EXPECT_EQ(services->CreateInstance(&CLSID_KivHostUtilities, &IID_IKivFormatTable, formats.PutVoid()),
            kKivResult_ReadFailed);
  EXPECT_EQ(services->Faults(Utility::FormatTable).Calls(), 1u);
}

// The way the plug-in opens a source: look the format up, make the stream.
KivResult OpenSource(HostServices& services, IKivUnknown* source, const char* format, Ref<IKivByteStream>* stream) {
  KivStreamAccess access{0, {0, 0}, {0, 1, -1, 2147483647}};
  const KivResult looked = services.Formats().LookUpFormat(format, &access);
  if (looked != kKivResult_OK) return looked;
  return services.Streams().MakeSourceStream(source, &access, stream->Put());
}

TEST(StreamMakerTest, MakesStreamsOverItsOwnSourcesOnly) {
  Ref<HostServices> services = HostServices::Create();
  Ref<Source> source = Source::FromBytes({'8', 'B', 'P', 'S'});
  Ref<IKivByteStream> stream;
  ASSERT_EQ(OpenSource(*services, source.get(), "kKivCfFormat_PS30", &stream), kKivResult_OK);
  ASSERT_EQ(stream->Open(0, 1), kKivResult_OK);
  char bytes[4] = {};
  std::uint32_t got = 0;
  ASSERT_EQ(stream->Read(bytes, 4, &got), kKivResult_OK);
  EXPECT_EQ(std::string(bytes, got), "8BPS");
  ASSERT_TRUE(services->Streams().LastAccess().has_value());
  EXPECT_EQ(services->Streams().LastAccess()->formatId, kivhost::kPs30FormatId);
  EXPECT_EQ(services->Streams().LastAccess()->values[3], 2147483647);

  // Not one of the host's sources, or a format nobody looked up.
  Ref<kivhost::PropertyList> stranger = kivhost::PropertyList::Create();
  EXPECT_EQ(OpenSource(*services, stranger.get(), "kKivCfFormat_PS30", &stream), kKivResult_BadArgument);
  EXPECT_EQ(OpenSource(*services, source.get(), "kKivCfFormat_GIF", &stream), kKivResult_BadArgument);
  KivStreamAccess unknown{0x7777, {0, 0}, {0, 1, -1, 2147483647}};
  EXPECT_EQ(services->Streams().MakeSourceStream(source.get(), &unknown, stream.Put()), kKivResult_BadArgument);
  EXPECT_EQ(stream.get(), nullptr);
  EXPECT_EQ(services->Streams().Made().size(), 1u);
}

TEST(StreamMakerTest, AppliesTheSetUpToEveryStream) {
  Ref<HostServices> services = HostServices::Create();
  services->Streams().SetStreamSetup([](kivhost::ByteStream& s) { s.ReadFaults().FailNth(1); });
  Ref<IKivByteStream> stream;
  ASSERT_EQ(services->Streams().MakeFileStream("/nonexistent/file.psd", stream.Put()), kKivResult_OK);
  EXPECT_EQ(stream->Open(0, 1), kKivResult_ReadFailed);  // the file is missing
  Ref<Source> source = Source::FromBytes({1, 2, 3});
  ASSERT_EQ(OpenSource(*services, source.get(), "kKivCfFormat_PS30", &stream), kKivResult_OK);
  ASSERT_EQ(stream->Open(0, 1), kKivResult_OK);
  std::uint8_t byte = 0;
  std::uint32_t got = 0;
  EXPECT_EQ(stream->Read(&byte, 1, &got), kKivResult_ReadFailed);
  EXPECT_EQ(stream->Read(&byte, 1, &got), kKivResult_OK);
  EXPECT_EQ(byte, 1);
  stream.Reset();
  // Released by its user, the stream is held by the maker alone.
  EXPECT_EQ(services->Streams().Made().back()->References(), 1);
}

TEST(OwnerTest, HoldsTheServicesAndAllocatorItHandsOut) {
  const std::int64_t before = kivhost::LiveObjects();
  {
    Ref<Owner> owner = Owner::Create();
    EXPECT_EQ(owner->services, &owner->Services());
    EXPECT_EQ(owner->allocator, &owner->Memory());
    Ref<IKivHandleMemory> memory;
    ASSERT_EQ(owner->services->QueryInterface(&IID_IKivHandleMemory, memory.PutVoid()), kKivResult_OK);
    EXPECT_EQ(memory.get(), &owner->Handles());
  }
  EXPECT_EQ(kivhost::LiveObjects(), before);
}

}  // namespace
}  // namespace strataread_test
