#pragma once
// The whole road of a pixel read, as the reader takes it: parse, select
// the merged image or a layer, apply the chosen layout, read the pixels.
#include <cstdint>
#include <vector>

#include "pixel_fixture.h"
#include "read_pixels.h"

namespace strataread {

// A stored plane of w x h samples, varied from pixel to pixel, with short
// runs so that PackBits has both kinds of run to write.
inline psdbuild::ByteVector Plane(std::int32_t w, std::int32_t h, int seed) {
  psdbuild::ByteVector plane;
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) plane.push_back(static_cast<std::uint8_t>((x / 2) * 17 + y * 29 + seed * 53));
  }
  return plane;
}

inline std::uint8_t PlaneAt(const psdbuild::ByteVector& plane, std::int32_t w, std::int32_t x, std::int32_t y) {
  return plane[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)];
}

class DriverTest : public PixelTest {
protected:
  // Reads the merged image (layer -1) or a layer of the described document
  // for delivery in layout. Afterwards pixels holds the image buffer.
  KivResult Read(const psdbuild::Document& description, std::int32_t layer, std::uint32_t layout) {
    const KivResult result = Prepare(psdbuild::Build(description), layer, layout);
    return result != kKivResult_OK ? result : ReadAgain(layout);
  }

  // Everything up to the pixel read.
  KivResult Prepare(std::vector<std::uint8_t> file, std::int32_t layer, std::uint32_t layout) {
    Open(std::move(file));
    KivResult result = document->ParseDocument(&info, &offerCount, offers);
    if (result == kKivResult_OK) result = Select(layer);
    if (result == kKivResult_OK) document->ApplyChosenLayout(layout, &info);
    return result;
  }

  KivResult Select(std::int32_t layer) {
    kivhost::Ref<kivhost::PropertyList> selector;
    if (layer >= 0) {
      selector = kivhost::PropertyList::Create();
      selector->Put(kKivType_Int32, &layer, sizeof layer, "kKivSelectorKey_layerIndex");
    }
    return document->SelectImage(selector.get(), &info, &offerCount, offers);
  }

  // ReadPixels alone, on the document as it stands.
  KivResult ReadAgain(std::uint32_t layout) {
    if (image != 0) handles->FreeHandle(image);
    image = 0;
    readsBefore = stream->ReadCalls();
    const KivResult result = ReadPixels(*document, layout, &image);
    reads = stream->ReadCalls() - readsBefore;
    pixels.clear();
    plan = PlanFor(*document, layout);
    if (image != 0) {
      EXPECT_EQ(handles->LockCount(image), 0);
      const std::uint8_t* bytes = handles->Peek(image);
      pixels.assign(bytes, bytes + handles->SizeOf(image));
      // The buffer holds exactly the rows the host was told of.
      EXPECT_EQ(static_cast<std::int64_t>(info.rowBytes), plan.PixelBytes() * document->readWidth);
      EXPECT_EQ(pixels.size(), static_cast<std::size_t>(info.rowBytes) * info.height);
    }
    return result;
  }

  std::uint8_t Pixel(std::int32_t x, std::int32_t y, std::int32_t byte) const {
    return pixels.at(static_cast<std::size_t>((static_cast<std::int64_t>(y) * document->readWidth + x) *
                                                  plan.PixelBytes() +
                                              byte));
  }

  ImageInfo info{};
  std::int16_t offerCount = 0;
  std::int32_t offers[8] = {};
  std::vector<std::uint8_t> pixels;
  PixelPlan plan;
  std::uint64_t readsBefore = 0;
  std::uint64_t reads = 0;  // stream reads made by the last ReadPixels
};

}  // namespace strataread
