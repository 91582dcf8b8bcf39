// The document object's life, the header and the colour-mode data.
#include "document_fixture.h"

namespace strataread {
namespace {

using psdbuild::Bytes;
using psdbuild::ByteVector;

TEST(DocumentLifeTest, ConstructionDefaultsAndReleaseWithoutServices) {
  auto document = std::make_unique<CPS30Document>();
  EXPECT_EQ(document->resolution, 72.0);
  EXPECT_EQ(document->currentLayer, -1);
  EXPECT_EQ(document->layers, nullptr);
  EXPECT_EQ(document->colorTable, nullptr);
  EXPECT_EQ(document->memory, nullptr);
  // Released without ever receiving services: nothing to free, no allocator.
  document.reset();
}

TEST(DocumentLifeTest, AttachServicesCountsHandleMemoryAndReplacesIt) {
  auto first = kivhost::HandleMemory::Create();
  auto second = kivhost::HandleMemory::Create();
  auto allocator = kivhost::Allocator::Create();
  {
    CPS30Document document;
    EXPECT_EQ(document.AttachServices(first.get(), allocator.get(), nullptr), kKivResult_OK);
    EXPECT_EQ(first->References(), 2);
    ASSERT_EQ(document.MakeColorTable(), kKivResult_OK);
    EXPECT_EQ(document.AttachServices(second.get(), allocator.get(), nullptr), kKivResult_OK);
    EXPECT_EQ(first->References(), 1);
    EXPECT_EQ(second->References(), 2);
    // The table went back to the memory it came from.
    EXPECT_EQ(first->LiveHandles(), 0u);
    EXPECT_EQ(document.colorTable, nullptr);
  }
  EXPECT_EQ(second->References(), 1);
}

TEST(DocumentLifeTest, LayerTableGoesBackToItsAllocator) {
  auto handles = kivhost::HandleMemory::Create();
  auto first = kivhost::Allocator::Create();
  CPS30Document document;
  document.AttachServices(handles.get(), first.get(), nullptr);
  const ByteVector layers = LayerSectionOf({RgbLayer(1, 1)});
  auto stream = kivhost::MemoryStream::Create(Bytes().U32(static_cast<std::uint32_t>(layers.size())).Append(layers).Take());
  ASSERT_EQ(stream->Open(0, 1), kKivResult_OK);
  DocumentStream = stream.get();
  ASSERT_EQ(document.ReadLayerAndMaskInfo(), kKivResult_OK);
  DocumentStream = nullptr;
  ASSERT_EQ(first->LiveAllocations(), 1u);
  // Without an allocator the document keeps no table it could not free.
  document.AttachServices(handles.get(), nullptr, nullptr);
  EXPECT_EQ(first->LiveAllocations(), 0u);
  EXPECT_EQ(document.layers, nullptr);
  EXPECT_EQ(document.layerCount, 0);
}

TEST(DocumentLifeTest, ReadersAnswerReadFailedWithoutStream) {
  std::uint16_t value16 = 7;
  std::uint32_t value32 = 9;
  EXPECT_EQ(ReadBigEndian16(nullptr, &value16), kKivResult_ReadFailed);
  EXPECT_EQ(ReadBigEndian32(nullptr, &value32), kKivResult_ReadFailed);
  EXPECT_EQ(value16, 7);
  EXPECT_EQ(value32, 9u);
}

using ReaderTest = DocumentTest;

TEST_F(ReaderTest, BigEndianReadersAndShortStreams) {
  Open({0x12, 0x34, 0x89, 0xAB, 0xCD, 0xEF, 0x01});
  stream->SetMaxChunk(1);  // every read delivers one byte
  std::uint16_t value16 = 0;
  std::uint32_t value32 = 0;
  ASSERT_EQ(ReadBigEndian16(DocumentStream, &value16), kKivResult_OK);
  ASSERT_EQ(ReadBigEndian32(DocumentStream, &value32), kKivResult_OK);
  EXPECT_EQ(value16, 0x1234);
  EXPECT_EQ(value32, 0x89ABCDEFu);
  // One byte left: the missing bytes are not data.
  value16 = 5;
  EXPECT_EQ(ReadBigEndian16(DocumentStream, &value16), kKivResult_ReadFailed);
  EXPECT_EQ(value16, 5);
}

TEST_F(ReaderTest, FailingReadKeepsTheStreamsResultAndTheTarget) {
  Open({1, 2, 3, 4});
  stream->ReadFaults().SetResult(kKivResult_CorruptFile);
  stream->ReadFaults().FailNth(1);
  std::uint32_t value = 11;
  EXPECT_EQ(ReadBigEndian32(DocumentStream, &value), kKivResult_CorruptFile);
  EXPECT_EQ(value, 11u);
}

// ---------------------------------------------------------------------------
// Header

struct HeaderCase {
  const char* name;
  std::size_t offset;  // bytes patched into a valid RGB header
  ByteVector patch;
  std::size_t keep;    // header bytes kept (26: all)
  KivResult result;
  std::int16_t channelCount;  // when the result is 0
  std::int16_t depth;
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }

class HeaderTest : public DocumentTest, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderTest, ReadsOrRefuses) {
  const HeaderCase& c = GetParam();
  psdbuild::Document description;
  description.width = 640;
  description.height = 480;
  ByteVector header = psdbuild::HeaderBytes(description);
  std::copy(c.patch.begin(), c.patch.end(), header.begin() + static_cast<std::ptrdiff_t>(c.offset));
  header.resize(c.keep);
  Open(header);
  document->channelCount = 99;
  EXPECT_EQ(document->ReadHeader(), c.result);
  if (c.result == kKivResult_OK) {
    EXPECT_EQ(document->channelCount, c.channelCount);
    EXPECT_EQ(document->depth, c.depth);
    EXPECT_EQ(document->width, 640u);
    EXPECT_EQ(document->height, 480u);
    EXPECT_EQ(document->colorMode, kModeRgb);
  } else {
    EXPECT_EQ(document->channelCount, 99);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderTest,
    ::testing::Values(HeaderCase{"plain", 0, {}, 26, kKivResult_OK, 3, 8},
                      HeaderCase{"version2", 4, {0, 2}, 26, kKivResult_UnsupportedFile, 0, 0},
                      HeaderCase{"lastSignatureCharacter", 3, {'T'}, 26, kKivResult_UnsupportedFile, 0, 0},
                      HeaderCase{"channels128", 12, {0x00, 0x80}, 26, kKivResult_OK, 128, 8},
                      HeaderCase{"channels0x8000", 12, {0x80, 0x00}, 26, kKivResult_OK, -32768, 8},
                      HeaderCase{"depth0x8010", 22, {0x80, 0x10}, 26, kKivResult_OK, 3, -32752},
                      HeaderCase{"reservedNotZero", 6, {1, 2, 3, 4, 5, 6}, 26, kKivResult_OK, 3, 8},
                      HeaderCase{"truncated", 0, {}, 25, kKivResult_ReadFailed, 0, 0},
                      HeaderCase{"empty", 0, {}, 0, kKivResult_ReadFailed, 0, 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ReaderTest, CheckHeaderLeavesTheDocumentAsItWas) {
  EXPECT_EQ(document->CheckHeader(), kKivResult_UnsupportedFile);  // no stream
  psdbuild::Document indexed;
  indexed.mode = kModeIndexed;
  indexed.channels = 1;
  indexed.width = 5;
  Open(psdbuild::HeaderBytes(indexed));
  EXPECT_EQ(document->CheckHeader(), kKivResult_OK);
  EXPECT_EQ(document->colorMode, 0u);
  EXPECT_EQ(document->width, 0u);
  // A description without a parse finds no indexed document and no table.
  EXPECT_EQ(document->SelectImage(nullptr, &info, &offerCount, offers), kKivResult_UnsupportedFile);
}

TEST_F(ReaderTest, IndexedDescriptionWithoutColourTableIsRefused) {
  document->colorMode = kModeIndexed;
  document->depth = 8;
  EXPECT_EQ(document->DescribeImage(&info, &offerCount, offers, 1, 4, 4), kKivResult_OutOfMemory);
}

// ---------------------------------------------------------------------------
// Colour-mode data

struct ColourCase {
  const char* name;
  std::uint32_t mode;
  std::uint32_t length;
  bool table;
};

void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.name; }

class ColourModeTest : public DocumentTest, public ::testing::WithParamInterface<ColourCase> {};

// Byte i of the section is (i * 7 + 3) mod 256, so every plane differs.
std::uint8_t SectionByte(std::uint32_t i) { return static_cast<std::uint8_t>(i * 7 + 3); }

TEST_P(ColourModeTest, FillsTheTableAndEndsAtTheSectionsEnd) {
  const ColourCase& c = GetParam();
  ByteVector section(c.length);
  for (std::uint32_t i = 0; i < c.length; ++i) section[i] = SectionByte(i);
  OpenSection(section);
  document->colorMode = c.mode;
  ASSERT_EQ(document->ReadColorModeData(), kKivResult_OK);
  std::uint32_t position = 0;
  ASSERT_EQ(stream->GetPosition(&position), kKivResult_OK);
  EXPECT_EQ(position, 4 + c.length);
  ASSERT_EQ(document->colorTable != nullptr, c.table);
  if (!c.table) return;
  for (std::uint32_t entry = 0; entry < 256; ++entry) {
    for (std::uint32_t plane = 0; plane < 3; ++plane) {
      const std::uint32_t at = plane * 256 + entry;
      const std::uint8_t expected = at < c.length ? SectionByte(at) : 0;
      ASSERT_EQ(document->colorTable[3 * entry + plane], expected) << entry << "/" << plane;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ColourModeTest,
                         ::testing::Values(ColourCase{"rgbFourBytes", kModeRgb, 4, false},
                                           ColourCase{"rgbEmpty", kModeRgb, 0, false},
                                           ColourCase{"indexed768", kModeIndexed, 768, true},
                                           ColourCase{"indexedShort300", kModeIndexed, 300, true},
                                           ColourCase{"indexedLong1000", kModeIndexed, 1000, true},
                                           ColourCase{"duotone1000", kModeDuotone, 1000, true},
                                           ColourCase{"duotone300", kModeDuotone, 300, true},
                                           ColourCase{"duotoneEmpty", kModeDuotone, 0, true}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(ReaderTest, ColourModeFailures) {
  struct Case {
    const char* name;
    std::uint32_t mode;
    ByteVector bytes;
    void (*plan)(kivhost::HandleMemory&, kivhost::MemoryStream&);
    KivResult result;
  };
  const ByteVector truncated = Bytes().U32(768).Fill(100).Take();
  const ByteVector full = Bytes().U32(768).Fill(768).Take();
  const Case cases[] = {
      {"noLength", kModeRgb, {0, 0}, nullptr, kKivResult_ReadFailed},
      {"truncatedPlanes", kModeIndexed, truncated, nullptr, kKivResult_ReadFailed},
      {"noTable", kModeIndexed, full, [](kivhost::HandleMemory& h, kivhost::MemoryStream&) { h.NewHandleFaults().FailNth(1); },
       kKivResult_OutOfMemory},
      {"noLock", kModeDuotone, full, [](kivhost::HandleMemory& h, kivhost::MemoryStream&) { h.LockFaults().FailNth(1); },
       kKivResult_OutOfMemory},
      {"getPositionFails", kModeRgb, full,
       [](kivhost::HandleMemory&, kivhost::MemoryStream& s) {
         s.GetPositionFaults().SetResult(kKivResult_CorruptFile);
         s.GetPositionFaults().FailNth(1);
       },
       kKivResult_CorruptFile},
      {"setPositionFails", kModeRgb, full,
       [](kivhost::HandleMemory&, kivhost::MemoryStream& s) {
         s.SetPositionFaults().SetResult(kKivResult_BadArgument);
         s.SetPositionFaults().FailNth(1);
       },
       kKivResult_BadArgument},
      {"positionBeyond32Bits", kModeRgb, Bytes().U32(0xFFFFFFFFu).Take(), nullptr, kKivResult_CorruptFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.bytes);
    if (c.plan != nullptr) c.plan(*handles, *stream);
    document->colorMode = c.mode;
    EXPECT_EQ(document->ReadColorModeData(), c.result);
    handles->NewHandleFaults().Clear();
    handles->LockFaults().Clear();
  }
}

TEST_F(ReaderTest, OtherModeDropsTheTableHeldBefore) {
  ASSERT_EQ(document->MakeColorTable(), kKivResult_OK);
  OpenSection({});
  document->colorMode = kModeCmyk;
  ASSERT_EQ(document->ReadColorModeData(), kKivResult_OK);
  EXPECT_EQ(document->colorTable, nullptr);
  EXPECT_EQ(document->colorTableHandle, 0u);
  EXPECT_EQ(handles->LiveHandles(), 0u);
}

TEST_F(ReaderTest, FailedReplacementLeavesNoPointerToFreedTable) {
  ASSERT_EQ(document->MakeColorTable(), kKivResult_OK);
  handles->NewHandleFaults().FailNth(1);
  EXPECT_EQ(document->MakeColorTable(), kKivResult_OutOfMemory);
  EXPECT_EQ(document->colorTable, nullptr);
  EXPECT_EQ(document->colorTableHandle, 0u);
  // Destruction (in TearDown) frees nothing twice: BadCalls stays 0.
}

}  // namespace
}  // namespace strataread
