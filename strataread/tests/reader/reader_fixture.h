#pragma once
// A reader made through the real exports of the built library for a host
// owner of our own, documents written by the test builder, and the check
// that ends every test: once the reader is gone the host holds nothing of
// it, no handle, no object, no stream, no list.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "kivhost/kivhost.h"
#include "kivhost/receptor.h"
#include "plugin_under_test.h"
#include "psd_builder.h"

namespace strataread_test {

using kivhost::ImageReceptor;
using kivhost::Owner;
using kivhost::Ref;
using kivhost::ReceptorCall;

// Plane c of a test image: every sample differs from its neighbours and
// from the same sample of the other planes.
inline psdbuild::ByteVector TestPlane(std::uint32_t width, std::uint32_t height, int c) {
  psdbuild::ByteVector plane(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < plane.size(); ++i) plane[i] = static_cast<std::uint8_t>(17 * c + 3 * i + 1);
  return plane;
}

inline psdbuild::Document RgbDocument(std::uint32_t width, std::uint32_t height) {
  psdbuild::Document document;
  document.width = width;
  document.height = height;
  for (int c = 0; c < 3; ++c) document.merged.push_back(TestPlane(width, height, c));
  return document;
}

inline psdbuild::Document GreyDocument(std::uint32_t width, std::uint32_t height) {
  psdbuild::Document document;
  document.mode = 1;
  document.channels = 1;
  document.width = width;
  document.height = height;
  document.merged = {TestPlane(width, height, 0)};
  return document;
}

// The rows of planes interleaved pixel by pixel, as a native delivery has
// them.
inline std::vector<psdbuild::ByteVector> InterleavedRows(const std::vector<psdbuild::ByteVector>& planes,
                                                         std::uint32_t width, std::uint32_t height) {
  std::vector<psdbuild::ByteVector> rows(height);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      for (const auto& plane : planes) rows[y].push_back(plane[static_cast<std::size_t>(y) * width + x]);
    }
  }
  return rows;
}

inline std::vector<psdbuild::ByteVector> RowsOf(const ImageReceptor& receptor) {
  std::vector<psdbuild::ByteVector> rows;
  for (const auto& row : receptor.Rows()) rows.push_back(row.bytes);
  return rows;
}

// An image receptor that runs a host action inside BeginImage, before our
// receptor answers it: a host calling back into the plug-in mid-import.
class CallbackReceptor final : public kivhost::Object<IKivImageReceptor> {
public:
  static Ref<CallbackReceptor> Create(Ref<ImageReceptor> inner, std::function<void()> onBegin) {
    return Ref<CallbackReceptor>::Share(new CallbackReceptor(std::move(inner), std::move(onBegin)));
  }
  KivResult KIV_CALL Unused3() override { return inner_->Unused3(); }
  KivResult KIV_CALL Unused4() override { return inner_->Unused4(); }
  KivResult KIV_CALL BeginImage(std::int32_t count, std::int32_t* offers, std::int32_t one, ImageInfo* info,
                                std::int32_t zero, std::int32_t alsoOne, std::int32_t* out) override {
    onBegin_();
    return inner_->BeginImage(count, offers, one, info, zero, alsoOne, out);
  }
  KivResult KIV_CALL SetImageInfo(ImageInfo* info) override { return inner_->SetImageInfo(info); }
  KivResult KIV_CALL PutRow(std::int32_t row, const void* address, std::int32_t bytes) override {
    return inner_->PutRow(row, address, bytes);
  }
  KivResult KIV_CALL Finish() override { return inner_->Finish(); }

private:
  CallbackReceptor(Ref<ImageReceptor> inner, std::function<void()> onBegin)
      : inner_(std::move(inner)), onBegin_(std::move(onBegin)) {}

  Ref<ImageReceptor> inner_;
  std::function<void()> onBegin_;
};

template <class Base>
class ReaderFixture : public Base {
protected:
  void SetUp() override {
    Base::SetUp();
    if (::testing::Test::HasFatalFailure()) return;
    hostObjects_ = kivhost::LiveObjects();
    owner = Owner::Create();
    reader = NewReader();
  }

  void TearDown() override {
    if (!owner) return;
    reader.Reset();
    ExpectNothingHeld();
    EXPECT_EQ(this->plugin().CanUnloadNow(), kKivResult_OK);
    owner.Reset();
    EXPECT_EQ(kivhost::LiveObjects(), hostObjects_);
  }

  Ref<IKivReader> NewReader() {
    Ref<IKivReader> made;
    EXPECT_EQ(this->plugin().Create(owner.get(), IID_IKivReader, &made), kKivResult_OK);
    return made;
  }

  KivResult SetSource(IKivReader& target, const psdbuild::Document& document) {
    return target.SetSource(kivhost::Source::FromBytes(psdbuild::Build(document)).get());
  }
  KivResult SetSource(const psdbuild::Document& document) { return SetSource(*reader, document); }

  KivResult Read(IKivImageReceptor* receptor) { return reader->ReadImage(receptor, &IID_IKivImageReceptor); }

  // Every stream the host made is closed and back with the host alone, and
  // no operation holds the module's document stream: a fresh reader's
  // operation is not refused as overlapping.
  void ExpectStreamsAtRest() {
    for (const auto& stream : owner->Services().Streams().Made()) {
      EXPECT_EQ(stream->References(), 1);
      EXPECT_FALSE(stream->IsOpen());
    }
    Ref<IKivReader> probe = NewReader();
    std::int32_t count = -1;
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->CountSelectors(&count), kKivResult_OK);
  }

  // What the host lent the plug-in is back: nothing of either memory, no
  // list or stream held, the owner's references its own.
  void ExpectNothingHeld() {
    ExpectStreamsAtRest();
    EXPECT_EQ(owner->Handles().LiveHandles(), 0u);
    EXPECT_EQ(owner->Handles().BadCalls(), 0u);
    EXPECT_EQ(owner->Memory().LiveAllocations(), 0u);
    EXPECT_EQ(owner->Memory().BadFrees(), 0u);
    for (const auto& list : owner->Services().Lists().Made()) EXPECT_EQ(list->References(), 1);
    EXPECT_EQ(owner->References(), 1);
  }

  // The stream made most recently (null when none was made).
  kivhost::ByteStream* LastStream() {
    const auto& made = owner->Services().Streams().Made();
    return made.empty() ? nullptr : made.back().get();
  }

  Ref<Owner> owner;
  Ref<IKivReader> reader;

private:
  std::int64_t hostObjects_ = 0;
};

using ReaderTest = ReaderFixture<PluginTest>;
template <class Case>
using ReaderParamTest = ReaderFixture<PluginParamTest<Case>>;

}  // namespace strataread_test
