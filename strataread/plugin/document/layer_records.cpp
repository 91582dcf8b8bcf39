// The layer-and-mask section: its framing, the layer table and one record
// per layer. Every length is checked against what holds it before it moves
// the stream, so a record never reads past its own extra data and the
// section never past its own end.
#include <cstring>

#include "big_endian.h"
#include "cps30_document.h"

namespace strataread {
namespace {

constexpr std::uint32_t kBlendSignature = 0x3842494D;  // "8BIM"
constexpr std::int32_t kUserMaskId = -2;
// Rectangle, channel count, blend signature and key, four bytes, extra
// data length: the smallest record the section can hold.
constexpr std::uint64_t kSmallestRecordBytes = 34;

KivResult SetPosition64(std::uint64_t position) {
  if (position > UINT32_MAX) return kKivResult_CorruptFile;
  return DocumentStream->SetPosition(static_cast<std::uint32_t>(position));
}

KivResult ReadChannelRecords(LayerRecord* record) {
  std::uint64_t total = 0;
  for (std::uint32_t i = 0; i < record->channelCount; ++i) {
    std::uint8_t bytes[6];
    const KivResult result = ReadFully(DocumentStream, bytes, sizeof bytes);
    if (result != kKivResult_OK) return result;
    const std::int32_t id = Signed16(BigEndian16At(bytes));
    const std::uint32_t length = BigEndian32At(bytes + 2);
    if (id == kUserMaskId) {
      record->hasMask = 1;
    } else {
      ++record->imageChannelCount;
    }
    total += length;
    if (i < kMaxKeptChannels) {
      record->channelIds[i] = id;
      record->channelLengths[i] = length;
    }
  }
  // The pixel reader adds these sums to stream positions.
  if (total > UINT32_MAX) return kKivResult_CorruptFile;
  record->channelDataLength = static_cast<std::uint32_t>(total);
  return kKivResult_OK;
}

}  // namespace

KivResult CPS30Document::ReadRect(KivRect* rect) {
  std::int32_t* fields[] = {&rect->top, &rect->left, &rect->bottom, &rect->right};
  for (std::int32_t* field : fields) {
    std::uint32_t value = 0;
    const KivResult result = ReadBigEndian32(DocumentStream, &value);
    if (result != kKivResult_OK) return result;
    *field = Signed32(value);
  }
  return kKivResult_OK;
}

KivResult CPS30Document::ReadLayerRecord(LayerRecord* record, std::uint64_t sectionEnd) {
  KivResult result = ReadRect(&record->bounds);
  if (result != kKivResult_OK) return result;
  result = ReadBigEndian16(DocumentStream, &record->channelCount);
  if (result != kKivResult_OK) return result;
  record->channelDataLength = 0;
  record->hasMask = 0;
  result = ReadChannelRecords(record);
  if (result != kKivResult_OK) return result;

  std::uint32_t signature = 0;
  if (ReadBigEndian32(DocumentStream, &signature) != kKivResult_OK || signature != kBlendSignature) {
    return kKivResult_UnsupportedFile;
  }
  result = ReadBigEndian32(DocumentStream, &record->blendMode);
  if (result != kKivResult_OK) return result;
  std::uint8_t bytes[4];  // opacity, clipping, flags, filler
  result = ReadFully(DocumentStream, bytes, sizeof bytes);
  if (result != kKivResult_OK) return result;
  record->opacity = bytes[0];
  record->isClippingBase = bytes[1] != 0;
  record->transparencyProtected = bytes[2] & 1;
  record->visible = (bytes[2] & 2) == 0;
  return ReadLayerExtraData(record, sectionEnd);
}

// Mask data, blending ranges and name. `left` counts the extra data not yet
// accounted for; an inner length larger than it makes the record corrupt.
KivResult CPS30Document::ReadLayerExtraData(LayerRecord* record, std::uint64_t sectionEnd) {
  std::uint32_t extraLength = 0;
  KivResult result = ReadBigEndian32(DocumentStream, &extraLength);
  if (result != kKivResult_OK) return result;
  std::uint32_t start = 0;
  result = DocumentStream->GetPosition(&start);
  if (result != kKivResult_OK) return result;
  const std::uint64_t end = std::uint64_t{start} + extraLength;
  if (end > sectionEnd) return kKivResult_CorruptFile;
  std::uint64_t left = extraLength;

  if (extraLength > 4) {
    std::uint32_t maskLength = 0;
    result = ReadBigEndian32(DocumentStream, &maskLength);
    if (result != kKivResult_OK) return result;
    left -= 4;
    if (maskLength > left) return kKivResult_CorruptFile;
    if (maskLength >= 20) {
      result = ReadRect(&record->maskBounds);
      std::uint8_t bytes[2];  // default colour, flags
      if (result == kKivResult_OK) result = ReadFully(DocumentStream, bytes, sizeof bytes);
      if (result == kKivResult_OK) {
        record->maskDefaultColor = bytes[0];
        record->maskPositionRelative = bytes[1] & 1;
        record->maskEnable = (bytes[1] & 2) == 0;
        record->maskInverted = (bytes[1] >> 2) & 1;
      }
    }
    const KivResult seek = SetPosition64(std::uint64_t{start} + 4 + maskLength);
    if (result != kKivResult_OK) return result;
    if (seek != kKivResult_OK) return seek;
    left -= maskLength;
  }

  if (left >= 4) {
    std::uint32_t rangesLength = 0;
    result = ReadBigEndian32(DocumentStream, &rangesLength);
    if (result != kKivResult_OK) return result;
    left -= 4;
    if (rangesLength > left) return kKivResult_CorruptFile;
    const std::uint32_t stored = rangesLength / 4;
    const std::uint32_t kept = stored < kMaxBlendRanges ? stored : kMaxBlendRanges;
    result = ReadFully(DocumentStream, record->blendRanges, kept * 4);
    if (result != kKivResult_OK) {
      record->numBlendRanges = 0;
      return result;
    }
    record->numBlendRanges = static_cast<std::uint8_t>(kept);
    // Ranges beyond the kept ones, and a tail of fewer than four bytes, are
    // passed over in one move so that the name is read from its own place.
    if (rangesLength > kept * 4) {
      result = SetPosition64(end - left + rangesLength);
      if (result != kKivResult_OK) return result;
    }
    left -= rangesLength;
  }

  if (left > 0) {
    std::uint8_t nameLength = 0;
    result = ReadFully(DocumentStream, &nameLength, 1);
    if (result != kKivResult_OK) return result;
    if (nameLength < left) {
      result = ReadFully(DocumentStream, record->layerName, nameLength);
      if (result != kKivResult_OK) return result;
      record->layerName[nameLength] = '\0';
    }
  }
  return SetPosition64(end);
}

KivResult CPS30Document::ReadLayerTable(std::int32_t count, std::uint64_t sectionEnd) {
  const std::uint64_t bytes = std::uint64_t{sizeof(LayerRecord)} * static_cast<std::uint32_t>(count);
  if (memory == nullptr || bytes > UINT32_MAX) return kKivResult_OutOfMemory;
  void* table = memory->Alloc(static_cast<std::uint32_t>(bytes));
  if (table == nullptr) return kKivResult_OutOfMemory;
  std::memset(table, 0, static_cast<std::size_t>(bytes));
  layers = static_cast<LayerRecord*>(table);
  layerCount = static_cast<std::int16_t>(count);
  for (std::int32_t i = 0; i < count; ++i) {
    if (ReadLayerRecord(&layers[i], sectionEnd) != kKivResult_OK) {
      ReleaseLayerTable();
      return kKivResult_ReadFailed;
    }
  }
  return kKivResult_OK;
}

KivResult CPS30Document::ReadLayerAndMaskInfo() {
  // A new section replaces the table, whatever becomes of the reading.
  ReleaseLayerTable();
  std::uint32_t sectionLength = 0;
  if (ReadBigEndian32(DocumentStream, &sectionLength) != kKivResult_OK) return kKivResult_ReadFailed;
  KivResult result = DocumentStream->GetPosition(&layerSectionStart);
  if (result != kKivResult_OK) return result;
  layerSectionLength = sectionLength;
  const std::uint64_t sectionEnd = std::uint64_t{layerSectionStart} + sectionLength;
  if (sectionEnd > UINT32_MAX) return kKivResult_CorruptFile;
  if (sectionLength <= 4) return SetPosition64(sectionEnd);

  std::uint32_t infoLength = 0;
  if (ReadBigEndian32(DocumentStream, &infoLength) != kKivResult_OK) return kKivResult_ReadFailed;
  if (infoLength <= 2) return SetPosition64(sectionEnd);

  std::uint16_t stored = 0;
  if (ReadBigEndian16(DocumentStream, &stored) != kKivResult_OK) return kKivResult_ReadFailed;
  // The sign marks a transparency channel in the merged image. -32768 has
  // no magnitude that the layer count can hold.
  const std::int32_t signedCount = Signed16(stored);
  if (signedCount == -32768) return kKivResult_CorruptFile;
  const std::int32_t count = signedCount < 0 ? -signedCount : signedCount;
  const std::uint64_t room = sectionLength >= 6 ? sectionLength - 6 : 0;
  if (count * kSmallestRecordBytes > room) return kKivResult_CorruptFile;
  if (count > 0) {
    result = ReadLayerTable(count, sectionEnd);
    if (result != kKivResult_OK) return result;
  }
  result = DocumentStream->GetPosition(&layerDataStart);
  if (result != kKivResult_OK) ReleaseLayerTable();
  return result;
}

}  // namespace strataread
