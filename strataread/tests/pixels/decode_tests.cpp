// PackBits and the row decoder.
#include <optional>
#include <string>

#include "channel_decode.h"
#include "pixel_fixture.h"

namespace strataread {
namespace {

using psdbuild::ByteVector;

constexpr std::uint8_t kGuard = 0xEE;

struct UnpackCase {
  const char* name;
  ByteVector source;
  std::size_t length;
  ByteVector expected;  // the bytes written, no more
};

class UnpackBitsTest : public ::testing::TestWithParam<UnpackCase> {};

TEST_P(UnpackBitsTest, WritesExactlyTheRun) {
  const UnpackCase& c = GetParam();
  ByteVector out(c.length + 16, kGuard);
  const std::size_t written = UnpackBits(c.source.data(), c.source.size(), out.data(), c.length);
  ASSERT_EQ(written, c.expected.size());
  EXPECT_EQ(ByteVector(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(written)), c.expected);
  for (std::size_t i = written; i < out.size(); ++i) ASSERT_EQ(out[i], kGuard) << "byte " << i << " was written";
}

ByteVector Repeat(std::size_t count, std::uint8_t value) { return ByteVector(count, value); }

INSTANTIATE_TEST_SUITE_P(
    Runs, UnpackBitsTest,
    ::testing::Values(
        UnpackCase{"Minus128Gives129Copies", {0x80, 0x41}, 200, Repeat(129, 0x41)},
        UnpackCase{"Minus128CutAtRowEnd", {0x80, 0x41}, 50, Repeat(50, 0x41)},
        UnpackCase{"LiteralCutAtRowEnd", {0x04, 1, 2, 3, 4, 5, 0x00, 9}, 3, {1, 2, 3}},
        UnpackCase{"RepeatCutAtRowEnd", {0x9D, 7, 0x00, 9}, 10, Repeat(10, 7)},
        UnpackCase{"LiteralCutWhereSourceEnds", {0x04, 1, 2}, 5, {1, 2}},
        UnpackCase{"RepeatWithoutItsByte", {0x01, 9, 9, 0xFE}, 5, {9, 9}},
        UnpackCase{"LiteralThenRepeat", {0x02, 1, 2, 3, 0xFE, 4}, 6, {1, 2, 3, 4, 4, 4}},
        UnpackCase{"LongestLiteral", [] {
                     ByteVector s{0x7F};
                     for (int i = 0; i < 128; ++i) s.push_back(static_cast<std::uint8_t>(i));
                     return s;
                   }(),
                   128,
                   [] {
                     ByteVector e;
                     for (int i = 0; i < 128; ++i) e.push_back(static_cast<std::uint8_t>(i));
                     return e;
                   }()},
        UnpackCase{"ShortRunsAcrossALongRow", [] {
                     ByteVector s;
                     for (int i = 0; i < 6; ++i) s.insert(s.end(), {0x02, 1, 2, static_cast<std::uint8_t>(i), 0xFD, 9});
                     return s;
                   }(),
                   40,
                   [] {
                     ByteVector e;
                     for (int i = 0; i < 6; ++i) e.insert(e.end(), {1, 2, static_cast<std::uint8_t>(i), 9, 9, 9, 9});
                     e.resize(40);
                     return e;
                   }()},
        UnpackCase{"EmptySource", {}, 4, {}}),
    CaseName());

constexpr std::uint32_t kBufferSize = 32;

// DecodeRow over a stream holding the stored row, in a document of the given
// depth, colour mode and compression.
class DecodeRowTest : public PixelTest {
protected:
  // The byte count is the stored row's size unless given.
  KivResult Decode(const ByteVector& stored, std::int16_t depth, std::uint32_t mode, std::uint16_t compression,
                   std::int32_t samples, std::optional<std::int64_t> byteCount = {}) {
    Open(stored);
    document->depth = depth;
    document->colorMode = mode;
    document->compression = compression;
    read.assign(kBufferSize, kGuard);
    output.assign(kBufferSize, kGuard);
    return DecodeRow(*document, read.data(), output.data(), kBufferSize,
                     byteCount.value_or(static_cast<std::int64_t>(stored.size())), samples);
  }
  ByteVector Decoded(std::size_t count) const {
    return ByteVector(output.begin(), output.begin() + static_cast<std::ptrdiff_t>(count));
  }

  ByteVector read;
  ByteVector output;
};

struct RowCase {
  const char* name;
  std::int16_t depth;
  std::uint32_t mode;
  std::uint16_t compression;
  ByteVector stored;
  std::int32_t samples;
  ByteVector expected;
};

class DecodedRows : public DecodeRowTest, public ::testing::WithParamInterface<RowCase> {};

TEST_P(DecodedRows, GiveTheirSamples) {
  const RowCase& c = GetParam();
  ASSERT_EQ(Decode(c.stored, c.depth, c.mode, c.compression, c.samples), kKivResult_OK);
  EXPECT_EQ(Decoded(c.expected.size()), c.expected);
  EXPECT_EQ(stream->Position(), c.stored.size()) << "the stream advances by the byte count";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DecodedRows,
    ::testing::Values(
        // A set bit is black (0); the last six bits of the second byte are not samples.
        RowCase{"OneBitRawWidth10", 1, kModeBitmap, 0, {0x80, 0x7F}, 10, {0, 1, 1, 1, 1, 1, 1, 1, 1, 0}},
        RowCase{"OneBitPackedWidth10", 1, kModeBitmap, 1, {0x01, 0x80, 0x40}, 10, {0, 1, 1, 1, 1, 1, 1, 1, 1, 0}},
        RowCase{"OneBitRepeatExpandsInPlace", 1, kModeBitmap, 1, {0xFF, 0x0F}, 16,
                {1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0}},
        RowCase{"EightBitRaw", 8, kModeRgb, 0, {3, 1, 2}, 3, {3, 1, 2}},
        RowCase{"EightBitPacked", 8, kModeGrayscale, 1, {0xFD, 9, 0x00, 4}, 5, {9, 9, 9, 9, 4}},
        RowCase{"CmykInvertedRaw", 8, kModeCmyk, 0, {0, 255, 100}, 3, {255, 0, 155}},
        RowCase{"CmykInvertedPacked", 8, kModeCmyk, 1, {0xFE, 0, 0x00, 255}, 4, {255, 255, 255, 0}},
        RowCase{"SixteenBitKeepsBothBytes", 16, kModeRgb, 0, {0x12, 0x34, 0xAB, 0xCD}, 2, {0x12, 0x34, 0xAB, 0xCD}},
        RowCase{"SixteenBitCmykInverted", 16, kModeCmyk, 1, {0x03, 0x00, 0x01, 0xFF, 0xFF}, 2, {0xFF, 0xFE, 0, 0}},
        // Stored bytes that run out leave zeros, never an earlier row's bytes.
        RowCase{"PackedDataRunsOut", 8, kModeRgb, 1, {0x01, 5, 6}, 5, {5, 6, 0, 0, 0}},
        RowCase{"ByteCountZero", 8, kModeRgb, 1, {}, 4, {0, 0, 0, 0}},
        RowCase{"OneBitPackedRunsOut", 1, kModeBitmap, 1, {0x00, 0x00}, 12, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}}),
    CaseName());

struct FailureCase {
  const char* name;
  std::int16_t depth;
  std::uint16_t compression;
};

class FailedReads : public DecodeRowTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailedReads, AnswerReadFailed) {
  const FailureCase& c = GetParam();
  Open({1, 2, 3, 4});
  stream->ReadFaults().FailAlways();
  document->depth = c.depth;
  document->compression = c.compression;
  read.assign(kBufferSize, 0);
  output.assign(kBufferSize, 0);
  EXPECT_EQ(DecodeRow(*document, read.data(), output.data(), kBufferSize, 4, 8), kKivResult_ReadFailed);
}

TEST_P(FailedReads, AnswerReadFailedWhenTheStreamEnds) {
  const FailureCase& c = GetParam();
  EXPECT_EQ(Decode({1, 2}, c.depth, kModeRgb, c.compression, 8, 4), kKivResult_ReadFailed);
}

INSTANTIATE_TEST_SUITE_P(Depths, FailedReads,
                         ::testing::Values(FailureCase{"EightBitRaw", 8, 0}, FailureCase{"EightBitPacked", 8, 1},
                                           FailureCase{"OneBitRaw", 1, 0}, FailureCase{"SixteenBit", 16, 0}),
                         CaseName());

struct BoundCase {
  const char* name;
  std::int16_t depth;
  std::int64_t byteCount;
  std::int32_t samples;
  KivResult expected;
};

class RowBounds : public DecodeRowTest, public ::testing::WithParamInterface<BoundCase> {};

TEST_P(RowBounds, AreCheckedBeforeAnyRead) {
  const BoundCase& c = GetParam();
  ByteVector stored(64, 0x11);
  EXPECT_EQ(Decode(stored, c.depth, kModeRgb, 1, c.samples, c.byteCount), c.expected);
  if (c.expected != kKivResult_OK) {
    EXPECT_EQ(stream->Position(), 0u);
    for (std::uint8_t b : read) ASSERT_EQ(b, kGuard);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, RowBounds,
    ::testing::Values(BoundCase{"NegativeByteCount", 8, -2, 4, kKivResult_CorruptFile},
                      BoundCase{"ByteCountBeyondBuffer", 8, kBufferSize + 1, 4, kKivResult_CorruptFile},
                      BoundCase{"ByteCountFillsBuffer", 8, kBufferSize, 4, kKivResult_OK},
                      BoundCase{"SamplesBeyondBuffer", 8, 2, kBufferSize + 1, kKivResult_CorruptFile},
                      BoundCase{"WideRowBeyondBuffer", 16, 2, kBufferSize / 2 + 1,
                                kKivResult_CorruptFile},
                      BoundCase{"DepthThirtyTwo", 32, 2, 4, kKivResult_UnsupportedFile}),
    CaseName());

}  // namespace
}  // namespace strataread
