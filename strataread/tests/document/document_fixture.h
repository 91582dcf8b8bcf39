#pragma once
// A document object attached to our host, reading from a memory stream that
// is the module's document stream. Every test ends by destroying the
// document and checking that it gave back every handle and allocation.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cps30_document.h"
#include "kivhost/kivhost.h"
#include "psd_builder.h"

namespace strataread {

class DocumentTest : public ::testing::Test {
protected:
  void SetUp() override {
    document = std::make_unique<CPS30Document>();
    document->AttachServices(handles.get(), allocator.get(), services.get());
  }

  void TearDown() override {
    document.reset();
    DocumentStream = nullptr;
    stream = nullptr;
    EXPECT_EQ(handles->LiveHandles(), 0u);
    EXPECT_EQ(allocator->LiveAllocations(), 0u);
    EXPECT_EQ(handles->BadCalls(), 0u);
    EXPECT_EQ(allocator->BadFrees(), 0u);
  }

  // Makes bytes the open document stream.
  void Open(std::vector<std::uint8_t> bytes) {
    stream = kivhost::MemoryStream::Create(std::move(bytes));
    ASSERT_EQ(stream->Open(0, 1), kKivResult_OK);
    DocumentStream = stream.get();
  }

  // A stream holding a 4-byte section length and the section.
  void OpenSection(const std::vector<std::uint8_t>& section) {
    psdbuild::Bytes bytes;
    bytes.U32(static_cast<std::uint32_t>(section.size())).Append(section);
    Open(bytes.Take());
  }

  KivResult Parse(const psdbuild::Document& description) {
    Open(psdbuild::Build(description));
    return document->ParseDocument(&info, &offerCount, offers);
  }

  std::vector<std::int32_t> Offers() const { return std::vector<std::int32_t>(offers, offers + offerCount); }

  kivhost::Ref<kivhost::HandleMemory> handles = kivhost::HandleMemory::Create();
  kivhost::Ref<kivhost::Allocator> allocator = kivhost::Allocator::Create();
  kivhost::Ref<kivhost::HostServices> services = kivhost::HostServices::Create(handles);
  kivhost::Ref<kivhost::MemoryStream> stream;
  std::unique_ptr<CPS30Document> document;
  ImageInfo info{};
  std::int16_t offerCount = 0;
  std::int32_t offers[8] = {};
};

// The layer-and-mask section of a document with the given layers, the
// section's own length first.
inline std::vector<std::uint8_t> LayerSectionOf(const std::vector<psdbuild::Layer>& layers, bool negative = false) {
  psdbuild::Document description;
  description.layers = layers;
  description.negativeLayerCount = negative;
  return psdbuild::LayerSectionBytes(description);
}

// A plain RGB layer of w x h with transparency and three colour channels.
inline psdbuild::Layer RgbLayer(std::int32_t w, std::int32_t h, std::string name = "Layer") {
  psdbuild::Layer layer;
  layer.right = w;
  layer.bottom = h;
  layer.channels = {{-1}, {0}, {1}, {2}};
  layer.name = std::move(name);
  return layer;
}

}  // namespace strataread
