// The parse as a whole, the description of the merged image or one layer,
// and the choice between them.
#include <cstdint>
#include <initializer_list>

#include "cps30_document.h"

namespace strataread {
namespace {

constexpr const char* kLayerIndexKey = "kKivSelectorKey_layerIndex";
constexpr std::uint16_t kPaletteSize = 256;

// Colour channels a pixel of the mode needs; 0 for modes that cannot be
// imported.
std::int32_t ColourChannelsOf(std::uint32_t mode) {
  switch (mode) {
    case kModeBitmap:
    case kModeGrayscale:
    case kModeIndexed:
    case kModeDuotone: return 1;
    case kModeRgb: return 3;
    case kModeCmyk: return 4;
    default: return 0;
  }
}

// Depths whose rows the pixel pipeline delivers: one bit only for bitmaps,
// sixteen for the modes that store plain 16-bit samples.
bool DepthIsReadable(std::uint32_t mode, std::int16_t depth) {
  switch (mode) {
    case kModeBitmap: return depth == 1;
    case kModeIndexed: return depth == 8;
    case kModeGrayscale:
    case kModeDuotone:
    case kModeRgb:
    case kModeCmyk: return depth == 8 || depth == 16;
    default: return false;
  }
}

std::uint32_t WholePixelsPerInch(double resolution) {
  if (!(resolution >= 0.0 && resolution < 4294967296.0)) return 0;
  return static_cast<std::uint32_t>(resolution);
}

void SetOffers(std::int16_t* offerCount, std::int32_t* offers, std::initializer_list<std::uint32_t> list) {
  std::int16_t count = 0;
  for (std::uint32_t layout : list) offers[count++] = static_cast<std::int32_t>(layout);
  *offerCount = count;
}

void SetPaletteEntry(ImageInfo* info, std::uint32_t i, std::uint16_t red, std::uint16_t green,
                     std::uint16_t blue) {
  info->palette[i] = KivPaletteEntry{0, red, green, blue};
}

}  // namespace

const LayerRecord* CPS30Document::SelectedLayer() const {
  if (layers == nullptr || currentLayer < 0 || currentLayer >= layerCount) return nullptr;
  return &layers[currentLayer];
}

std::int32_t CPS30Document::SelectionChannelCount() const {
  const LayerRecord* layer = SelectedLayer();
  return layer != nullptr ? layer->channelCount : channelCount;
}

// A grey ramp of rampSize steps, in the palette and in the colour table;
// the entries after the ramp repeat its last step.
KivResult CPS30Document::MakeGreyRamp(ImageInfo* info, std::uint32_t rampSize) {
  const KivResult result = MakeColorTable();
  if (result != kKivResult_OK) return result;
  for (std::uint32_t i = 0; i < kPaletteSize; ++i) {
    const std::uint32_t step = i < rampSize ? i : rampSize - 1;
    const auto value = static_cast<std::uint16_t>(step * 65535u / (rampSize - 1));
    SetPaletteEntry(info, i, value, value, value);
    const auto low = static_cast<std::uint8_t>(value & 0xFF);
    colorTable[3 * i] = colorTable[3 * i + 1] = colorTable[3 * i + 2] = low;
  }
  return kKivResult_OK;
}

KivResult CPS30Document::DescribeImage(ImageInfo* info, std::int16_t* offerCount, std::int32_t* offers,
                                       std::int32_t channels, std::uint32_t imageWidth,
                                       std::uint32_t imageHeight) {
  if (channels < 1 || channels > INT16_MAX) return kKivResult_UnsupportedFile;
  // Every row length the chosen layout may ask for must fit rowBytes: up
  // to four components, two bytes each for 16-bit samples.
  const std::uint64_t widest = std::uint64_t{channels > 4 ? static_cast<std::uint32_t>(channels) : 4u} *
                               imageWidth * (depth == 16 ? 2u : 1u);
  if (widest > INT32_MAX) return kKivResult_UnsupportedFile;

  info->height = imageHeight;
  info->width = imageWidth;
  info->horizontalResolution = info->verticalResolution = WholePixelsPerInch(resolution);
  info->rowBytes = static_cast<std::int32_t>(std::uint64_t{static_cast<std::uint32_t>(channels)} * imageWidth);
  info->components = static_cast<std::int16_t>(channels);
  info->bitsPerComponent = static_cast<std::uint16_t>(depth);
  info->reserved = 0xFFFF;
  info->paletteUsed = 0;
  info->paletteSize = kPaletteSize;

  const std::int32_t colourChannels = ColourChannelsOf(colorMode);
  if (colourChannels == 0 || !DepthIsReadable(colorMode, depth) || channels < colourChannels) {
    return kKivResult_UnsupportedFile;
  }
  const LayerRecord* layer = SelectedLayer();
  const bool protectedLayer = layer != nullptr && layer->transparencyProtected == 1;

  switch (colorMode) {
    case kModeBitmap:
      info->pixelLayout = LayoutBitmap;
      info->components = 1;
      info->bitsPerComponent = 1;
      SetOffers(offerCount, offers, {LayoutIndexed, LayoutRgb});
      break;
    case kModeGrayscale:
    case kModeDuotone: {
      const std::uint32_t exponent = static_cast<std::uint32_t>(depth) & 31;
      const std::uint32_t rampSize = exponent >= 8 ? kPaletteSize : 1u << exponent;
      info->pixelLayout = LayoutIndexed;
      info->paletteUsed = rampSize;
      const KivResult result = MakeGreyRamp(info, rampSize);
      if (result != kKivResult_OK) return result;
      info->components = 1;
      SetOffers(offerCount, offers, {LayoutIndexed, LayoutRgb});
      // The channels that will be read, so that the announced row matches
      // the delivered one.
      if (channels > 1) {
        info->pixelLayout = LayoutIndexedPlus;
        info->components = static_cast<std::int16_t>(channels);
        if (protectedLayer) SetOffers(offerCount, offers, {LayoutIndexedPlus, LayoutRgba, LayoutIndexed, LayoutRgb});
      }
      break;
    }
    case kModeIndexed:
      if (colorTable == nullptr) return kKivResult_OutOfMemory;
      if (channels == 1) {
        info->pixelLayout = LayoutIndexed;
        SetOffers(offerCount, offers, {LayoutIndexed, LayoutRgb});
      } else {
        info->pixelLayout = LayoutIndexedPlus;
        if (protectedLayer) {
          SetOffers(offerCount, offers, {LayoutIndexedPlus, LayoutRgba, LayoutIndexed, LayoutRgb});
        } else {
          SetOffers(offerCount, offers, {LayoutIndexed, LayoutRgb});
        }
      }
      info->paletteUsed = kPaletteSize;
      for (std::uint32_t i = 0; i < kPaletteSize; ++i) {
        const std::uint8_t* rgb = colorTable + 3 * i;
        SetPaletteEntry(info, i, static_cast<std::uint16_t>(rgb[0] * 257), static_cast<std::uint16_t>(rgb[1] * 257),
                        static_cast<std::uint16_t>(rgb[2] * 257));
      }
      break;
    case kModeRgb:
      if (depth != 16) {
        info->pixelLayout = channels <= 3 ? LayoutRgb : LayoutRgba;
        if (channels <= 3) {
          SetOffers(offerCount, offers, {LayoutRgb});
        } else {
          SetOffers(offerCount, offers, {LayoutRgba, LayoutRgb});
        }
      } else {
        info->pixelLayout = LayoutRgb48;
        if (channels == 3) {
          SetOffers(offerCount, offers, {LayoutRgb48, LayoutRgb});
        } else {
          SetOffers(offerCount, offers, {LayoutRgb48, LayoutRgba, LayoutRgb});
        }
      }
      break;
    default:  // CMYK; the other modes were refused above
      info->pixelLayout = LayoutCmyk;
      if (SelectionChannelCount() > 4) {
        SetOffers(offerCount, offers, {LayoutCmyk, LayoutRgba, LayoutRgb});
      } else {
        SetOffers(offerCount, offers, {LayoutCmyk, LayoutRgb});
      }
      break;
  }
  return kKivResult_OK;
}

KivResult CPS30Document::ParseDocument(ImageInfo* info, std::int16_t* offerCount, std::int32_t* offers) {
  KivResult result = ReadHeader();
  if (result == kKivResult_OK) result = ReadColorModeData();
  if (result == kKivResult_OK) result = ReadImageResources();
  if (result == kKivResult_OK) result = ReadLayerAndMaskInfo();
  if (result == kKivResult_OK) result = DescribeImage(info, offerCount, offers, channelCount, width, height);
  return result;
}

KivResult CPS30Document::SelectImage(IKivPropertyList* selector, ImageInfo* info, std::int16_t* offerCount,
                                     std::int32_t* offers) {
  std::int32_t index = -1;
  // A list without a layer index selects the merged image, as no list does.
  if (selector == nullptr || selector->Get(kKivType_Int32, &index, sizeof index, kLayerIndexKey) != kKivResult_OK) {
    const KivResult result = DescribeImage(info, offerCount, offers, channelCount, width, height);
    if (result == kKivResult_OK) currentLayer = -1;
    return result;
  }
  if (layers == nullptr || index < 0 || index >= layerCount) return kKivResult_BadArgument;
  const LayerRecord& layer = layers[index];
  // Only the first channel records are kept; a layer with more could not
  // be read whole.
  if (layer.channelCount > kMaxKeptChannels) return kKivResult_UnsupportedFile;
  const std::int64_t layerWidth = std::int64_t{layer.bounds.right} - layer.bounds.left;
  const std::int64_t layerHeight = std::int64_t{layer.bounds.bottom} - layer.bounds.top;
  if (layerWidth < 0 || layerHeight < 0 || layerWidth > INT32_MAX || layerHeight > INT32_MAX) {
    return kKivResult_CorruptFile;
  }
  const KivResult result = DescribeImage(info, offerCount, offers, layer.imageChannelCount,
                                         static_cast<std::uint32_t>(layerWidth),
                                         static_cast<std::uint32_t>(layerHeight));
  if (result == kKivResult_OK) currentLayer = index;
  return result;
}

}  // namespace strataread
