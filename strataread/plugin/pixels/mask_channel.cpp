// Every pixel of the alpha plane is combined with exactly one value: the
// mask sample at its document position inside the mask rectangle, the
// default colour outside it. Only the mask rows that overlap the layer are
// decoded; rows above it are passed with one seek, rows below are not read.
#include "mask_channel.h"

#include <algorithm>
#include <limits>

#include "channel_decode.h"
#include "channel_scratch.h"

namespace strataread {
namespace {

struct Span64 {
  std::int64_t from;
  std::int64_t to;  // exclusive
  bool Empty() const { return from >= to; }
};

std::int32_t Saturate32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// The mask rectangle in document coordinates; a relative one is moved by the
// layer's top-left corner and the moved rectangle kept in the record.
KivRect PlaceMask(LayerRecord& layer) {
  KivRect& mask = layer.maskBounds;
  if (layer.maskPositionRelative != 0) {
    const std::int64_t top = layer.bounds.top;
    const std::int64_t left = layer.bounds.left;
    mask = {Saturate32(mask.top + top), Saturate32(mask.left + left), Saturate32(mask.bottom + top),
            Saturate32(mask.right + left)};
  }
  return mask;
}

// Bytes of count rows of the given raw length, or of the table's entries
// from the first row on; false when they cannot lie within limit bytes.
bool StoredBytes(RowTable table, std::uint64_t rawLength, std::int64_t first, std::int64_t count,
                 std::uint64_t limit, std::uint64_t* bytes) {
  if (count <= 0) {
    *bytes = 0;
    return true;
  }
  if (table.Present()) {
    *bytes = table.Sum(first, count);
  } else {
    if (rawLength != 0 && static_cast<std::uint64_t>(count) > limit / rawLength) return false;
    *bytes = static_cast<std::uint64_t>(count) * rawLength;
  }
  return *bytes <= limit;
}

void FillRows(const CPS30Document& document, const ImageBuffer& image, std::int32_t plane, std::uint8_t value,
              std::int64_t fromRow, std::int64_t toRow) {
  for (std::int64_t y = std::max<std::int64_t>(fromRow, 0); y < std::min<std::int64_t>(toRow, image.height); ++y) {
    FillSpan(document, image, static_cast<std::int32_t>(y), plane, value, 0, image.width);
  }
}

}  // namespace

KivResult ReadMaskChannel(CPS30Document& document, LayerRecord& layer, RowTable table, std::int32_t plane,
                          const ImageBuffer& image, std::uint64_t channelEnd) {
  const KivRect mask = PlaceMask(layer);
  if (plane < 0) return kKivResult_OK;

  // The default colour in the sense of the decoded samples: the decoder
  // inverts every channel of a CMYK document, so the colour goes the same
  // way, and every store that undoes the one undoes the other.
  std::uint8_t fill = layer.maskDefaultColor;
  if (document.colorMode == kModeCmyk) fill = static_cast<std::uint8_t>(255 - fill);

  const std::int64_t layerTop = layer.bounds.top;
  const std::int64_t layerLeft = layer.bounds.left;
  const std::int64_t maskWidth = static_cast<std::int64_t>(mask.right) - mask.left;
  const std::int64_t maskHeight = static_cast<std::int64_t>(mask.bottom) - mask.top;
  // Document rows and columns where mask and layer overlap.
  const Span64 rows{std::max<std::int64_t>(mask.top, layerTop),
                    std::min<std::int64_t>(mask.bottom, layerTop + image.height)};
  const Span64 columns{std::max<std::int64_t>(mask.left, layerLeft),
                       std::min<std::int64_t>(mask.right, layerLeft + image.width)};
  if (maskWidth <= 0 || maskHeight <= 0 || rows.Empty() || columns.Empty()) {
    FillRows(document, image, plane, fill, 0, image.height);
    return kKivResult_OK;
  }
  if (maskWidth > std::numeric_limits<std::int32_t>::max()) return kKivResult_CorruptFile;

  // Rows above the layer are passed over with one seek; the rows to read
  // must lie within the channel's recorded data.
  const bool packed = table.Present() && document.compression != 0;
  const RowTable rowTable = packed ? table : RowTable();
  const std::uint64_t rawLength = RowLength(document.depth, maskWidth);
  const std::int64_t skipRows = rows.from - mask.top;
  const std::int64_t readRows = rows.to - rows.from;
  std::uint32_t position = 0;
  KivResult result = DocumentStream->GetPosition(&position);
  if (result != kKivResult_OK) return result;
  const std::uint64_t room = channelEnd > position ? channelEnd - position : 0;
  std::uint64_t skipBytes = 0;
  std::uint64_t readBytes = 0;
  if (!StoredBytes(rowTable, rawLength, 0, skipRows, room, &skipBytes) ||
      !StoredBytes(rowTable, rawLength, skipRows, readRows, room - skipBytes, &readBytes)) {
    return kKivResult_CorruptFile;
  }
  std::uint64_t size = DecodedRowLength(document.depth, maskWidth);
  if (packed) size = std::max<std::uint64_t>(size, table.Largest(skipRows, readRows));
  ChannelScratch scratch(document.handleMemory);
  result = scratch.Obtain(document, size);
  if (result != kKivResult_OK) return result;
  if (skipBytes != 0) {
    result = DocumentStream->SetPosition(static_cast<std::uint32_t>(position + skipBytes));
    if (result != kKivResult_OK) return result;
  }

  FillRows(document, image, plane, fill, 0, rows.from - layerTop);
  FillRows(document, image, plane, fill, rows.to - layerTop, image.height);

  const auto samples = static_cast<std::int32_t>(maskWidth);
  const auto storeFrom = static_cast<std::int32_t>(columns.from - layerLeft);
  const auto storeTo = static_cast<std::int32_t>(columns.to - layerLeft);
  const std::int64_t firstSample = (columns.from - mask.left) * DecodedSampleBytes(document);
  for (std::int64_t r = rows.from; r < rows.to; ++r) {
    const std::int64_t count = packed ? table.At(r - mask.top) : static_cast<std::int64_t>(rawLength);
    result = DecodeRow(document, scratch.Read(), scratch.Output(), scratch.Size(), count, samples);
    if (result != kKivResult_OK) return result;
    const auto y = static_cast<std::int32_t>(r - layerTop);
    FillSpan(document, image, y, plane, fill, 0, storeFrom);
    StoreSamples(document, image, y, plane, scratch.Output() + firstSample, storeTo - storeFrom, storeFrom);
    FillSpan(document, image, y, plane, fill, storeTo, image.width);
  }
  return kKivResult_OK;
}

}  // namespace strataread
