// The colour-mode data section: the indexed colour table, the duotone
// planes, or bytes that are passed over.
#include <cstdint>

#include "cps30_document.h"

namespace strataread {
namespace {

constexpr std::uint32_t kPlaneBytes = 256;

}  // namespace

// Fills the colour table from up to three planes of 256 bytes (all red, all
// green, all blue), each cut at the section's end; what the section does not
// hold stays zero.
KivResult CPS30Document::ReadColorPlanes(std::uint32_t sectionLength) {
  for (std::uint32_t plane = 0; plane < 3; ++plane) {
    const std::uint32_t first = plane * kPlaneBytes;
    if (first >= sectionLength) break;
    const std::uint32_t left = sectionLength - first;
    const std::uint32_t count = left < kPlaneBytes ? left : kPlaneBytes;
    std::uint8_t bytes[kPlaneBytes];
    if (ReadFully(DocumentStream, bytes, count) != kKivResult_OK) return kKivResult_ReadFailed;
    for (std::uint32_t i = 0; i < count; ++i) colorTable[3 * i + plane] = bytes[i];
  }
  return kKivResult_OK;
}

KivResult CPS30Document::ReadColorModeData() {
  std::uint32_t length = 0;
  if (ReadBigEndian32(DocumentStream, &length) != kKivResult_OK) return kKivResult_ReadFailed;
  std::uint32_t start = 0;
  KivResult result = DocumentStream->GetPosition(&start);
  if (result != kKivResult_OK) return result;
  const std::uint64_t end = std::uint64_t{start} + length;
  if (end > UINT32_MAX) return kKivResult_CorruptFile;

  if (colorMode == kModeIndexed || colorMode == kModeDuotone) {
    result = MakeColorTable();
    if (result != kKivResult_OK) return result;
    result = ReadColorPlanes(length);
    if (result != kKivResult_OK) return result;
  } else {
    ReleaseColorTable();
  }
  return DocumentStream->SetPosition(static_cast<std::uint32_t>(end));
}

}  // namespace strataread
