#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "case_name.h"
#include "kivhost/kivhost.h"

namespace strataread_test {
namespace {

using kivhost::ByteStream;
using kivhost::FileStream;
using kivhost::MemoryStream;
using kivhost::Ref;

const std::vector<std::uint8_t> kTenBytes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

// A file holding bytes, removed again at the end of the test.
class TempFile {
public:
  explicit TempFile(const std::vector<std::uint8_t>& bytes)
      : path_((std::filesystem::temp_directory_path() /
               ("kivhost-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".bin"))
                  .string()) {
    std::FILE* const file = std::fopen(path_.c_str(), "wb");
    if (file != nullptr) {
      std::fwrite(bytes.data(), 1, bytes.size(), file);
      std::fclose(file);
    }
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

private:
  std::string path_;
};

struct StreamKind {
  const char* name;
  bool file;
};

class StreamTest : public ::testing::TestWithParam<StreamKind> {
protected:
  Ref<ByteStream> Make(const std::vector<std::uint8_t>& bytes) {
    if (!GetParam().file) return MemoryStream::Create(bytes);
    file_ = std::make_unique<TempFile>(bytes);
    return FileStream::Create(file_->path());
  }
  std::unique_ptr<TempFile> file_;
};

TEST_P(StreamTest, ReadsDeliverLessAtTheEndAndStillSucceed) {
  Ref<ByteStream> stream = Make(kTenBytes);
  ASSERT_EQ(stream->Open(0, 1), kKivResult_OK);
  std::uint8_t buffer[8] = {};
  std::uint32_t got = 99;
  ASSERT_EQ(stream->Read(buffer, 6, &got), kKivResult_OK);
  EXPECT_EQ(got, 6u);
  ASSERT_EQ(stream->Read(buffer, 8, &got), kKivResult_OK);
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(buffer[0], 6);
  EXPECT_EQ(buffer[3], 9);
  ASSERT_EQ(stream->Read(buffer, 8, &got), kKivResult_OK);
  EXPECT_EQ(got, 0u);
  std::uint32_t position = 0;
  ASSERT_EQ(stream->GetPosition(&position), kKivResult_OK);
  EXPECT_EQ(position, 10u);
  // Back and beyond.
  ASSERT_EQ(stream->SetPosition(3), kKivResult_OK);
  ASSERT_EQ(stream->Read(buffer, 1, nullptr), kKivResult_OK);
  EXPECT_EQ(buffer[0], 3);
  ASSERT_EQ(stream->SetPosition(0xFFFFFFF0u), kKivResult_OK);
  ASSERT_EQ(stream->Read(buffer, 8, &got), kKivResult_OK);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(stream->Close(), kKivResult_OK);
  EXPECT_EQ(stream->OpenCalls(), 1u);
  EXPECT_EQ(stream->CloseCalls(), 1u);
  EXPECT_EQ(stream->MisuseCalls(), 0u);
}

TEST_P(StreamTest, AClosedStreamRefusesEveryCall) {
  Ref<ByteStream> stream = Make(kTenBytes);
  std::uint8_t buffer[4];
  std::uint32_t got = 99;
  std::uint32_t position = 0;
  EXPECT_EQ(stream->Read(buffer, 4, &got), kKivResult_ReadFailed);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(stream->GetPosition(&position), kKivResult_ReadFailed);
  EXPECT_EQ(stream->SetPosition(1), kKivResult_ReadFailed);
  EXPECT_EQ(stream->Close(), kKivResult_ReadFailed);
  EXPECT_EQ(stream->MisuseCalls(), 4u);
}

struct StreamFault {
  const char* name;
  std::function<void(ByteStream&)> plan;
  std::function<KivResult(ByteStream&)> call;
};

const KivResult kInjected = static_cast<KivResult>(0x8004BEEFu);

std::vector<StreamFault> Faults() {
  return {
      {"ThirdRead",
       [](ByteStream& s) {
         s.ReadFaults().FailNth(3);
         s.ReadFaults().SetResult(kInjected);
       },
       [](ByteStream& s) {
         std::uint8_t byte = 0;
         std::uint32_t got = 0;
         s.Read(&byte, 1, &got);
         s.Read(&byte, 1, &got);
         const KivResult result = s.Read(&byte, 1, &got);
         // A failed read delivers nothing.
         return got == 0 ? result : kKivResult_OK;
       }},
      {"GetPosition",
       [](ByteStream& s) {
         s.GetPositionFaults().FailAlways();
         s.GetPositionFaults().SetResult(kInjected);
       },
       [](ByteStream& s) {
         std::uint32_t position = 0;
         return s.GetPosition(&position);
       }},
      {"SetPosition",
       [](ByteStream& s) {
         s.SetPositionFaults().FailAlways();
         s.SetPositionFaults().SetResult(kInjected);
       },
       [](ByteStream& s) { return s.SetPosition(2); }},
  };
}

class StreamFaultTest : public ::testing::TestWithParam<StreamFault> {};

TEST_P(StreamFaultTest, APlannedFailureAnswersItsResult) {
  Ref<ByteStream> stream = MemoryStream::Create(kTenBytes);
  ASSERT_EQ(stream->Open(0, 1), kKivResult_OK);
  GetParam().plan(*stream);
  EXPECT_EQ(GetParam().call(*stream), kInjected);
}

INSTANTIATE_TEST_SUITE_P(Faults, StreamFaultTest, ::testing::ValuesIn(Faults()),
                         CaseName());

TEST_P(StreamTest, AChunkLimitMakesShortReadsBeforeTheEnd) {
  Ref<ByteStream> stream = Make(kTenBytes);
  stream->SetMaxChunk(3);
  ASSERT_EQ(stream->Open(0, 1), kKivResult_OK);
  std::uint8_t buffer[10] = {};
  std::uint32_t got = 0;
  ASSERT_EQ(stream->Read(buffer, 10, &got), kKivResult_OK);
  EXPECT_EQ(got, 3u);
  ASSERT_EQ(stream->Read(buffer + 3, 7, &got), kKivResult_OK);
  EXPECT_EQ(got, 3u);
  EXPECT_EQ(buffer[5], 5);
  EXPECT_EQ(stream->BytesDelivered(), 6u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, StreamTest, ::testing::Values(StreamKind{"Memory", false}, StreamKind{"File", true}),
                         CaseName());

TEST(FileStreamTest, AMissingFileFailsToOpen) {
  Ref<FileStream> stream = FileStream::Create("/nonexistent/kivhost.bin");
  EXPECT_EQ(stream->Open(0, 1), kKivResult_ReadFailed);
  EXPECT_FALSE(stream->IsOpen());
}

}  // namespace
}  // namespace strataread_test
