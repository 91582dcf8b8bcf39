#pragma once
// The pixel pipeline over our host: a document object attached to handle
// memory that counts and checks every block, reading from a memory stream
// that is the module's document stream. Every test ends by giving back the
// image and the document and checking that no handle is left, none is
// still locked and no call was made on a handle that was not live.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cps30_document.h"
#include "kivhost/kivhost.h"
#include "pixel_store.h"
#include "psd_builder.h"

namespace strataread {

class PixelTest : public ::testing::Test {
protected:
  void SetUp() override {
    document = std::make_unique<CPS30Document>();
    document->AttachServices(handles.get(), allocator.get(), services.get());
  }

  void TearDown() override {
    if (image != 0) {
      EXPECT_EQ(handles->LockCount(image), 0) << "the image is handed back unlocked";
      handles->FreeHandle(image);
    }
    document.reset();
    DocumentStream = nullptr;
    stream = nullptr;
    EXPECT_EQ(handles->LiveHandles(), 0u);
    EXPECT_EQ(handles->BadCalls(), 0u);
    EXPECT_EQ(allocator->LiveAllocations(), 0u);
  }

  // Makes bytes the open document stream.
  void Open(std::vector<std::uint8_t> bytes) {
    stream = kivhost::MemoryStream::Create(std::move(bytes));
    ASSERT_EQ(stream->Open(0, 1), kKivResult_OK);
    DocumentStream = stream.get();
  }

  kivhost::Ref<kivhost::HandleMemory> handles = kivhost::HandleMemory::Create();
  kivhost::Ref<kivhost::Allocator> allocator = kivhost::Allocator::Create();
  kivhost::Ref<kivhost::HostServices> services = kivhost::HostServices::Create(handles);
  kivhost::Ref<kivhost::MemoryStream> stream;
  std::unique_ptr<CPS30Document> document;
  KivHandle image = 0;
};

namespace {

// Prints a test case as its name, in place of its bytes. Lives in the
// unnamed namespace that the cases of each test file share.
template <class Case>
  requires requires(const Case& c) { std::string(c.name); }
void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

}  // namespace

// Names a parameterised test after its case.
struct CaseName {
  template <class T>
  std::string operator()(const ::testing::TestParamInfo<T>& tested) const {
    return tested.param.name;
  }
};

// An image buffer over a vector, for the stores and the mask reader.
struct TestImage {
  TestImage(std::int32_t width, std::int32_t height, std::int32_t planes, std::uint8_t fill = 0,
            std::int32_t sampleBytes = 1)
      : bytes(static_cast<std::size_t>(width) * height * planes * sampleBytes, fill) {
    buffer = ImageBuffer{bytes.data(), width, height, planes, sampleBytes};
  }
  std::uint8_t& At(std::int32_t x, std::int32_t y, std::int32_t byte) {
    return bytes[static_cast<std::size_t>((static_cast<std::int64_t>(y) * buffer.width + x) * buffer.PixelBytes() +
                                          byte)];
  }

  std::vector<std::uint8_t> bytes;
  ImageBuffer buffer;
};

}  // namespace strataread
