// The driver: where the data lies, which plane each channel feeds, the
// alpha combine state, and the one image buffer the channels meet in.
#include "read_pixels.h"

#include <algorithm>
#include <limits>

#include "channel_decode.h"
#include "handle_block.h"
#include "image_channel.h"
#include "mask_channel.h"

namespace strataread {
namespace {

constexpr std::int32_t kTransparencyId = -1;
constexpr std::int32_t kUserMaskId = -2;
constexpr std::uint64_t kCompressionWordBytes = 2;

// The merged image or one layer: where its data starts and its geometry,
// all in 64-bit so that nothing taken from the file can wrap.
struct Source {
  LayerRecord* layer = nullptr;  // null for the merged image
  std::uint64_t start = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::int32_t channels = 0;       // channel records, user mask included
  std::int32_t imageChannels = 0;  // channels that are not user masks
};

LayerRecord* SelectedLayer(const CPS30Document& document) {
  if (document.layers == nullptr || document.currentLayer < 0 || document.currentLayer >= document.layerCount) {
    return nullptr;
  }
  return &document.layers[document.currentLayer];
}

Source ChooseSource(const CPS30Document& document) {
  Source source;
  source.layer = SelectedLayer(document);
  if (source.layer == nullptr) {
    source.start = static_cast<std::uint64_t>(document.layerSectionStart) + document.layerSectionLength;
    source.width = document.width;
    source.height = document.height;
    source.channels = document.channelCount;
    source.imageChannels = document.channelCount;
    return source;
  }
  source.start = document.layerDataStart;
  for (std::int32_t i = 0; i < document.currentLayer; ++i) source.start += document.layers[i].channelDataLength;
  const KivRect& bounds = source.layer->bounds;
  source.width = static_cast<std::int64_t>(bounds.right) - bounds.left;
  source.height = static_cast<std::int64_t>(bounds.bottom) - bounds.top;
  source.channels = source.layer->channelCount;
  source.imageChannels = source.layer->imageChannelCount;
  return source;
}

KivResult SeekTo(std::uint64_t position) {
  if (position > UINT32_MAX) return kKivResult_CorruptFile;
  return DocumentStream->SetPosition(static_cast<std::uint32_t>(position));
}

// The compression word in front of channel data; only raw (0) and PackBits
// (1) are known.
KivResult ReadCompression(CPS30Document& document) {
  std::uint16_t code = 0;
  const KivResult result = ReadBigEndian16(DocumentStream, &code);
  if (result != kKivResult_OK) return result;
  document.compression = code;
  return code > 1 ? kKivResult_UnsupportedFile : kKivResult_OK;
}

// Reads bytes of row byte-count table into a block of its own.
KivResult ReadTable(CPS30Document& document, HandleBlock& table, std::uint64_t bytes) {
  if (!table.Obtain(bytes)) {
    document.ReleaseColorTable();
    return kKivResult_OutOfMemory;
  }
  return ReadFully(DocumentStream, table.Bytes(), static_cast<std::uint32_t>(bytes));
}

// The merged image: one compression word, then the tables of all channels
// back to back, then each channel's rows. Channel c uses its own entries,
// c x H onwards. The first failure ends the read.
KivResult ReadMergedChannels(CPS30Document& document, const Source& source, const PixelPlan& plan,
                             const ImageBuffer& image) {
  KivResult result = ReadCompression(document);
  if (result != kKivResult_OK) return result;
  const auto channels = std::min(source.channels, plan.storedChannels);
  const auto height = static_cast<std::uint64_t>(image.height);
  HandleBlock table(document.handleMemory);
  if (document.compression == 1) {
    const std::uint64_t wanted = static_cast<std::uint64_t>(channels) * height * 2;
    const std::uint64_t stored = static_cast<std::uint64_t>(source.channels) * height * 2;
    result = ReadTable(document, table, wanted);
    if (result != kKivResult_OK) return result;
    result = SeekTo(source.start + kCompressionWordBytes + stored);
    if (result != kKivResult_OK) return result;
  }
  for (std::int32_t c = 0; c < channels; ++c) {
    const RowTable rows = table.Bytes() != nullptr ? RowTable(table.Bytes() + c * height * 2) : RowTable();
    result = ReadImageChannel(document, rows, c, image);
    if (result != kKivResult_OK) return result;
  }
  return kKivResult_OK;
}

// The plane a layer channel feeds, or -1 when it is passed over: a disabled
// mask, transparency and masks where the pixel has no alpha, ids of no plane.
std::int32_t PlaneForChannel(const LayerRecord& layer, std::int32_t id, const PixelPlan& plan) {
  if (id == kTransparencyId) return plan.alphaPlane;
  if (id == kUserMaskId) return layer.maskEnable != 0 ? plan.alphaPlane : -1;
  if (id >= 0 && id < plan.storedChannels) return id;
  return -1;
}

void SetAlphaState(CPS30Document& document, const LayerRecord& layer, std::int32_t id, const PixelPlan& plan) {
  if (id == kTransparencyId || id == kUserMaskId) {
    const bool inverted = id == kUserMaskId && layer.maskInverted != 0;
    document.alphaInvert = inverted != plan.reverseAlphaInvert ? 1 : 0;
    document.alphaMultiply = document.alphaStored;
    document.alphaStored = 1;
  } else {
    document.alphaInvert = 0;
    document.alphaMultiply = 0;
  }
}

// Whether an image channel's rows, as its table (or the raw row length)
// gives them, lie within its recorded length after the word and table.
bool RowsFit(const CPS30Document& document, RowTable table, const ImageBuffer& image, std::uint64_t room) {
  const auto height = static_cast<std::uint64_t>(image.height);
  if (table.Present()) return table.Sum(0, image.height) <= room;
  const std::uint64_t rawLength = RowLength(document.depth, image.width);
  return rawLength == 0 || height <= room / rawLength;
}

// One channel of a layer, from its recorded start to at most its recorded
// end.
KivResult ReadLayerChannel(CPS30Document& document, LayerRecord& layer, std::int32_t id, std::int32_t plane,
                           const PixelPlan& plan, const ImageBuffer& image, std::uint64_t start,
                           std::uint64_t end) {
  if (end - start < kCompressionWordBytes) return kKivResult_CorruptFile;
  KivResult result = SeekTo(start);
  if (result == kKivResult_OK) result = ReadCompression(document);
  if (result != kKivResult_OK) return result;

  std::uint64_t room = end - start - kCompressionWordBytes;
  const std::int64_t rows =
      id == kUserMaskId ? static_cast<std::int64_t>(layer.maskBounds.bottom) - layer.maskBounds.top : image.height;
  HandleBlock table(document.handleMemory);
  if (document.compression == 1 && rows > 0) {
    const std::uint64_t bytes = static_cast<std::uint64_t>(rows) * 2;
    if (bytes > room) return kKivResult_CorruptFile;
    result = ReadTable(document, table, bytes);
    if (result != kKivResult_OK) return result;
    room -= bytes;
  }
  const RowTable rowTable(table.Bytes());
  SetAlphaState(document, layer, id, plan);
  if (id == kUserMaskId) return ReadMaskChannel(document, layer, rowTable, plane, image, end);
  if (!RowsFit(document, rowTable, image, room)) return kKivResult_CorruptFile;
  return ReadImageChannel(document, rowTable, plane, image);
}

// A layer: each channel read from its recorded start, so that one that
// stops short (a mask that ends below the layer, a channel passed over)
// never shifts the next. The read's result is the first failure among its
// channels; running out of memory ends it at once.
KivResult ReadLayerChannels(CPS30Document& document, const Source& source, const PixelPlan& plan,
                            const ImageBuffer& image) {
  LayerRecord& layer = *source.layer;
  const std::int32_t kept = std::min<std::int32_t>(source.channels, kMaxKeptChannels);
  KivResult first = kKivResult_OK;
  std::uint64_t position = source.start;
  for (std::int32_t c = 0; c < kept; ++c) {
    const std::int32_t id = layer.channelIds[c];
    const std::uint64_t end = position + layer.channelLengths[c];
    const std::int32_t plane = PlaneForChannel(layer, id, plan);
    if (plane >= 0) {
      const KivResult result = ReadLayerChannel(document, layer, id, plane, plan, image, position, end);
      if (result == kKivResult_OutOfMemory) return result;
      if (first == kKivResult_OK) first = result;
    }
    position = end;
  }
  return first;
}

std::int32_t ToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// Allocates and locks the image buffer, height rows of width pixels of the
// plan's size; its handle goes to *image as soon as it exists. Sizes above
// kMaxBlockBytes count as memory refused.
KivResult ObtainImage(const CPS30Document& document, const Source& source, const PixelPlan& plan, KivHandle* image,
                      std::uint8_t** pixels) {
  const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
  if (source.width > limit || source.height > limit || document.handleMemory == nullptr) {
    return kKivResult_OutOfMemory;
  }
  const std::uint64_t rowBytes =
      static_cast<std::uint64_t>(source.width) * static_cast<std::uint64_t>(plan.PixelBytes());
  if (rowBytes > kMaxBlockBytes || rowBytes * static_cast<std::uint64_t>(source.height) > kMaxBlockBytes) {
    return kKivResult_OutOfMemory;
  }
  const auto size = static_cast<std::uint32_t>(rowBytes * static_cast<std::uint64_t>(source.height));
  const KivHandle handle = document.handleMemory->NewHandle(size);
  if (handle == 0) return kKivResult_OutOfMemory;
  *image = handle;
  *pixels = static_cast<std::uint8_t*>(document.handleMemory->LockHandle(handle));
  return *pixels != nullptr ? kKivResult_OK : kKivResult_OutOfMemory;
}

KivResult ReadChannels(CPS30Document& document, const Source& source, const PixelPlan& plan,
                       const ImageBuffer& image) {
  if (source.channels <= 0) return kKivResult_OK;
  if (DocumentStream == nullptr) return kKivResult_ReadFailed;
  const KivResult result = SeekTo(source.start);
  if (result != kKivResult_OK) return result;
  return source.layer == nullptr ? ReadMergedChannels(document, source, plan, image)
                                 : ReadLayerChannels(document, source, plan, image);
}

}  // namespace

PixelPlan PlanFor(const CPS30Document& document, std::uint32_t layout) {
  return PlanPixels(document, layout, ChooseSource(document).imageChannels);
}

KivResult ReadPixels(CPS30Document& document, std::uint32_t layout, KivHandle* image) {
  if (image == nullptr) return kKivResult_BadArgument;
  *image = 0;
  document.alphaMultiply = 0;
  document.alphaStored = 0;
  document.alphaInvert = 0;

  const Source source = ChooseSource(document);
  document.readWidth = ToInt32(source.width);
  document.readHeight = ToInt32(source.height);
  document.readChannels = source.channels;
  const PixelPlan plan = PlanPixels(document, layout, source.imageChannels);
  if (document.depth != 1 && document.depth != 8 && document.depth != 16) return kKivResult_UnsupportedFile;
  if (source.width <= 0 || source.height <= 0 || plan.planes <= 0) return kKivResult_OK;

  std::uint8_t* pixels = nullptr;
  KivResult result = ObtainImage(document, source, plan, image, &pixels);
  if (result != kKivResult_OK) return result;
  // No host memory ever reaches the picture: what no channel covers is 0.
  ImageBuffer buffer{pixels, document.readWidth, document.readHeight, plan.planes, plan.sampleBytes, nullptr};
  RowClearing clearing(buffer);
  buffer.clearing = &clearing;
  result = ReadChannels(document, source, plan, buffer);
  clearing.Rest();
  document.handleMemory->UnlockHandle(*image);
  return result;
}

}  // namespace strataread
