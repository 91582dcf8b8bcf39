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

  // Parser operations are declared by the parser (document/*.h); pixel
  // operations by the pixel pipeline (pixels/*.h).
};

}  // namespace strataread
