// The reader's fixed answers, the source, the file check, and what it
// answers when the host could not give it what an import needs.
#include <cstdio>
#include <fstream>

#include "reader_fixture.h"

namespace strataread_test {
namespace {

using kivhost::Utility;

TEST_F(ReaderTest, DeliversToTheImageReceptorOnly) {
  std::int32_t count = 0;
  EXPECT_EQ(reader->CountReceptors(&count), kKivResult_OK);
  EXPECT_EQ(count, 1);
  KivGuid id = kKivNullId;
  EXPECT_EQ(reader->GetReceptorId(0, &id), kKivResult_OK);
  EXPECT_TRUE(KivSameId(id, IID_IKivImageReceptor));
  for (const std::int32_t index : {1, -1, 2}) {
    KivGuid untouched = IID_IKivReader;
    EXPECT_EQ(reader->GetReceptorId(index, &untouched), kKivResult_BadArgument) << index;
    EXPECT_TRUE(KivSameId(untouched, IID_IKivReader)) << index;
  }
}

TEST_F(ReaderTest, OptionsAndExtrasAreNotTaken) {
  EXPECT_EQ(reader->SetOptions(nullptr), kKivResult_OK);
  int sentinel = 0;
  void* value = &sentinel;
  EXPECT_EQ(reader->QueryExtra(&sentinel, &value), kKivResult_BadArgument);
  EXPECT_EQ(value, nullptr);
}

TEST_F(ReaderTest, NoLayersBeforeAnySource) {
  std::int32_t count = -1;
  EXPECT_EQ(reader->CountSelectors(&count), kKivResult_OK);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(owner->Services().CreateInstanceCalls(), 0u);
}

TEST_F(ReaderTest, CountsTheLayersOfTheSource) {
  psdbuild::Document document = RgbDocument(2, 2);
  document.layers.resize(3);
  ASSERT_EQ(SetSource(document), kKivResult_OK);
  std::int32_t count = -1;
  EXPECT_EQ(reader->CountSelectors(&count), kKivResult_OK);
  EXPECT_EQ(count, 3);
  // The stream was made for the PS30 format and opened for reading.
  const auto access = owner->Services().Streams().LastAccess();
  ASSERT_TRUE(access.has_value());
  EXPECT_EQ(access->formatId, kivhost::kPs30FormatId);
  EXPECT_EQ(access->values[0], 0);
  EXPECT_EQ(access->values[1], 1);
  EXPECT_EQ(access->values[2], -1);
  EXPECT_EQ(access->values[3], 2147483647);
  ASSERT_NE(LastStream(), nullptr);
  EXPECT_EQ(LastStream()->LastOpenMode(), 0);
  EXPECT_EQ(LastStream()->LastOpenFlags(), 1);
}

TEST_F(ReaderTest, NoSourceAnswersOutOfMemoryAndCallsNoReceptor) {
  EXPECT_EQ(reader->SetSource(nullptr), kKivResult_OutOfMemory);
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  EXPECT_EQ(Read(receptor.get()), kKivResult_OutOfMemory);
  EXPECT_TRUE(receptor->Calls().empty());
  EXPECT_TRUE(owner->Services().Streams().Made().empty());
}

// An import needs handle memory for its image; without it nothing is asked
// of the host or the receptor.
struct NoHandleMemoryCase {
  const char* name;
  bool setSource;        // whether SetSource is called, its query failing
  KivResult queryFailure;
  KivResult expected;    // of SetSource and of ReadImage
};

class NoHandleMemoryTest : public ReaderParamTest<NoHandleMemoryCase> {};

TEST_P(NoHandleMemoryTest, ReadImageRefusesBeforeOpeningTheStream) {
  const NoHandleMemoryCase& c = GetParam();
  if (c.setSource) {
    kivhost::FaultPlan& query = owner->Services().Faults(Utility::HandleMemory);
    query.SetResult(c.queryFailure);
    query.FailAlways();
    EXPECT_EQ(SetSource(RgbDocument(2, 2)), c.expected);
    EXPECT_TRUE(owner->Services().Streams().Made().empty());  // nothing parsed
  }
  const std::uint64_t created = owner->Services().CreateInstanceCalls();
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  EXPECT_EQ(Read(receptor.get()), c.expected);
  EXPECT_TRUE(receptor->Calls().empty());
  EXPECT_EQ(owner->Services().CreateInstanceCalls(), created);
  EXPECT_TRUE(owner->Services().Streams().Made().empty());
}

const NoHandleMemoryCase kNoHandleMemoryCases[] = {
    {"NoSourceEver", false, kKivResult_OK, kKivResult_OutOfMemory},
    {"QueryRefused", true, kKivResult_NoSuchInterface, kKivResult_NoSuchInterface},
    {"QueryHostFailure", true, static_cast<KivResult>(0x80049999u), static_cast<KivResult>(0x80049999u)},
};

INSTANTIATE_TEST_SUITE_P(Cases, NoHandleMemoryTest, ::testing::ValuesIn(kNoHandleMemoryCases), CaseName());

TEST_F(ReaderTest, ASourceAfterAFailedQueryStillGetsHandleMemory) {
  kivhost::FaultPlan& query = owner->Services().Faults(Utility::HandleMemory);
  query.FailNth(1);
  EXPECT_EQ(SetSource(RgbDocument(2, 1)), kKivResult_OutOfMemory);
  EXPECT_EQ(SetSource(RgbDocument(2, 1)), kKivResult_OK);
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  EXPECT_EQ(Read(receptor.get()), kKivResult_OK);
  EXPECT_EQ(receptor->Rows().size(), 1u);
}

// The wrong receptor kind is refused before anything is called.
class WrongReceptorIdTest : public ReaderParamTest<int> {};

TEST_P(WrongReceptorIdTest, NothingIsCalled) {
  ASSERT_EQ(SetSource(RgbDocument(2, 2)), kKivResult_OK);
  const std::uint64_t created = owner->Services().CreateInstanceCalls();
  const std::size_t streams = owner->Services().Streams().Made().size();
  Ref<ImageReceptor> receptor = ImageReceptor::Create();
  const KivGuid id = AlteredId(IID_IKivImageReceptor, GetParam());
  EXPECT_EQ(reader->ReadImage(receptor.get(), &id), kKivResult_BadArgument);
  EXPECT_EQ(reader->ReadImage(receptor.get(), nullptr), kKivResult_BadArgument);
  EXPECT_TRUE(receptor->Calls().empty());
  EXPECT_EQ(owner->Services().CreateInstanceCalls(), created);
  EXPECT_EQ(owner->Services().Streams().Made().size(), streams);
}

INSTANTIATE_TEST_SUITE_P(Words, WrongReceptorIdTest, ::testing::Values(0, 1, 2, 3));

// CheckFile reads the header of a file the host names.
struct CheckFileCase {
  const char* name;
  psdbuild::ByteVector bytes;  // written to the file; no file when empty
  KivResult expected;
};

psdbuild::ByteVector HeaderWith(const char* signature, std::uint16_t version) {
  psdbuild::Document document = RgbDocument(1, 1);
  document.signature = signature;
  document.version = version;
  return psdbuild::Build(document);
}

class CheckFileTest : public ReaderParamTest<CheckFileCase> {};

TEST_P(CheckFileTest, AnswersFromTheHeader) {
  const CheckFileCase& c = GetParam();
  const std::string path = ::testing::TempDir() + "strataread-check-" + c.name + ".psd";
  std::remove(path.c_str());
  if (!c.bytes.empty()) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
  }
  EXPECT_EQ(reader->CheckFile(path.c_str(), nullptr), c.expected);
  ASSERT_EQ(owner->Services().Streams().Made().size(), 1u);
  EXPECT_EQ(LastStream()->OpenCalls(), 1u);
  ExpectStreamsAtRest();
  std::remove(path.c_str());
}

const CheckFileCase kCheckFileCases[] = {
    {"Document", HeaderWith("8BPS", 1), kKivResult_OK},
    {"OtherSignature", HeaderWith("8BPT", 1), kKivResult_UnsupportedFile},
    {"NotAnImage", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     kKivResult_UnsupportedFile},
    {"Version2", HeaderWith("8BPS", 2), kKivResult_UnsupportedFile},
    {"ShortHeader", {'8', 'B', 'P', 'S', 0, 1}, kKivResult_ReadFailed},
    {"Missing", {}, kKivResult_ReadFailed},
};

INSTANTIATE_TEST_SUITE_P(Files, CheckFileTest, ::testing::ValuesIn(kCheckFileCases), CaseName());

}  // namespace
}  // namespace strataread_test
