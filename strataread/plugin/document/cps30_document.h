#pragma once
// What the plug-in knows about one Photoshop 3.0 document: header values,
// colour table, resolution, guides, layer records, the positions of the
// sections read later, the current selection and the pixel pipeline's
// conversion state. All reading goes through DocumentStream.
#include <cstdint>

#include "kiv/kiv_abi.h"

namespace strataread {

// The module-wide stream of the reader operation in progress; null between
// operations.
extern IKivByteStream* DocumentStream;

inline constexpr int kMaxGuides = 256;
inline constexpr int kMaxKeptChannels = 32;
inline constexpr int kMaxBlendRanges = 66;
inline constexpr std::uint32_t kColorTableBytes = 768;

// Conversion flags of the pixel pipeline.
inline constexpr std::uint32_t WideSamples = 0x01;
inline constexpr std::uint32_t PaletteToRgba = 0x02;
inline constexpr std::uint32_t PaletteToRgb = 0x04;
inline constexpr std::uint32_t CopyPlanes = 0x08;
inline constexpr std::uint32_t CmykToRgb = 0x20;
inline constexpr std::uint32_t BitmapToRgb = 0x40;

// Colour modes of the header.
inline constexpr std::uint32_t kModeBitmap = 0;
inline constexpr std::uint32_t kModeGrayscale = 1;
inline constexpr std::uint32_t kModeIndexed = 2;
inline constexpr std::uint32_t kModeRgb = 3;
inline constexpr std::uint32_t kModeCmyk = 4;
inline constexpr std::uint32_t kModeMultichannel = 7;
inline constexpr std::uint32_t kModeDuotone = 8;
inline constexpr std::uint32_t kModeLab = 9;

struct Guide {
  std::int32_t position;  // 1/32 pixel
  std::uint8_t direction;
};

struct KivRect {
  std::int32_t top, left, bottom, right;
};

// One layer as read from the file. A fresh record is all zero.
struct LayerRecord {
  KivRect bounds;
  std::uint32_t channelDataLength;
  std::uint16_t channelCount;       // channel records, user mask included
  std::uint16_t imageChannelCount;  // records whose id is not -2
  std::uint32_t blendMode;          // four characters, first in the high byte
  std::uint8_t opacity;
  std::uint8_t isClippingBase;
  std::uint8_t transparencyProtected;
  std::uint8_t visible;
  std::uint8_t hasMask;
  KivRect maskBounds;
  std::uint8_t maskDefaultColor;
  std::uint8_t maskPositionRelative;
  std::uint8_t maskEnable;
  std::uint8_t maskInverted;
  std::uint8_t numBlendRanges;
  std::int32_t channelIds[kMaxKeptChannels];
  std::uint32_t channelLengths[kMaxKeptChannels];
  std::uint8_t blendRanges[kMaxBlendRanges][4];
  char layerName[256];
};

// The header values as they stand in the file's first 26 bytes.
struct DocumentHeader {
  std::int16_t channelCount;
  std::uint32_t height;
  std::uint32_t width;
  std::int16_t depth;
  std::uint32_t colorMode;
};

// Reads exactly count bytes, asking again after a short delivery. A read
// that delivers nothing before the count is met answers
// kKivResult_ReadFailed; a failing read answers the stream's own result.
// Bytes that were not delivered are never taken as data.
KivResult ReadFully(IKivByteStream* stream, void* buffer, std::uint32_t count);

// Big-endian readers; on failure the target keeps its value.
KivResult ReadBigEndian16(IKivByteStream* stream, std::uint16_t* target);
KivResult ReadBigEndian32(IKivByteStream* stream, std::uint32_t* target);

class CPS30Document {
public:
  CPS30Document();
  ~CPS30Document();
  CPS30Document(const CPS30Document&) = delete;
  CPS30Document& operator=(const CPS30Document&) = delete;

  // Fields, in the order of the document object.
  std::int16_t channelCount = 0;
  std::uint32_t height = 0;
  std::uint32_t width = 0;
  std::int16_t depth = 0;
  std::uint32_t colorMode = 0;
  std::uint8_t* colorTable = nullptr;  // 256 x (R, G, B), the locked block of colorTableHandle
  double resolution = 72.0;
  std::uint16_t compression = 0;
  std::int16_t layerCount = 0;
  std::int32_t guideCount = 0;
  Guide guides[kMaxGuides] = {};
  LayerRecord* layers = nullptr;
  std::int32_t currentLayer = -1;
  std::uint32_t layerSectionStart = 0;
  std::uint32_t layerDataStart = 0;
  std::uint32_t layerSectionLength = 0;
  std::int32_t readWidth = 0;
  std::int32_t readHeight = 0;
  std::int32_t readChannels = 0;
  std::uint32_t convertFlags = 0;
  KivHandle colorTableHandle = 0;
  IKivAllocator* memory = nullptr;          // borrowed
  IKivHandleMemory* handleMemory = nullptr; // counted
  IKivHostServices* services = nullptr;     // borrowed
  std::uint8_t alphaMultiply = 0;
  std::uint8_t alphaInvert = 0;
  std::uint8_t alphaStored = 0;

  // Host services (cps30_document.cpp).
  KivResult AttachServices(IKivHandleMemory* handles, IKivAllocator* allocator,
                           IKivHostServices* hostServices);
  // Replaces the colour table by a fresh, zeroed, locked 768-byte block.
  KivResult MakeColorTable();
  // Frees the colour table, if any; handle and address are cleared with it.
  void ReleaseColorTable();
  // Frees the layer table, if any, and sets layerCount to 0.
  void ReleaseLayerTable();

  // Header, colour-mode data and image resources (document_header.cpp,
  // color_mode_data.cpp, image_resources.cpp).
  KivResult CheckHeader();
  KivResult ReadHeader();
  KivResult ReadColorModeData();
  KivResult ReadImageResources();
  KivResult ParseImageResources(const std::uint8_t* block, std::uint32_t length);

  // Layer-and-mask section (layer_records.cpp).
  KivResult ReadRect(KivRect* rect);
  KivResult ReadLayerAndMaskInfo();
  // Reads one record into a zero-filled LayerRecord; a record whose extra
  // data would end beyond sectionEnd is refused.
  KivResult ReadLayerRecord(LayerRecord* record, std::uint64_t sectionEnd = UINT32_MAX);

  // Parse, description and layout negotiation (image_description.cpp).
  KivResult ParseDocument(ImageInfo* info, std::int16_t* offerCount, std::int32_t* offers);
  KivResult DescribeImage(ImageInfo* info, std::int16_t* offerCount, std::int32_t* offers,
                          std::int32_t channels, std::uint32_t imageWidth, std::uint32_t imageHeight);
  std::int32_t SelectionChannelCount() const;
  KivResult SelectImage(IKivPropertyList* selector, ImageInfo* info, std::int16_t* offerCount,
                        std::int32_t* offers);
  void ApplyChosenLayout(std::uint32_t layout, ImageInfo* info);

  // Option lists (option_lists.cpp).
  KivResult GetLayerOptions(std::int32_t index, IKivPropertyList** out);
  // Puts the guide count and one text per guide; the Puts' results are not
  // consulted.
  void PutGuideOptions(IKivPropertyList* list) const;

  // Pixel operations are declared by the pixel pipeline (pixels/*.h).

private:
  const LayerRecord* SelectedLayer() const;
  KivResult ReadColorPlanes(std::uint32_t sectionLength);
  KivResult MakeGreyRamp(ImageInfo* info, std::uint32_t rampSize);
  KivResult ReadLayerExtraData(LayerRecord* record, std::uint64_t sectionEnd);
  KivResult ReadLayerTable(std::int32_t count, std::uint64_t sectionEnd);
};

}  // namespace strataread
