// The image-resources section: loaded in one block and walked in memory
// for the resolution (1005) and the guides (1032).
#include <cstdint>

#include "big_endian.h"
#include "cps30_document.h"

namespace strataread {
namespace {

constexpr std::uint16_t kResolutionResource = 1005;
constexpr std::uint16_t kGuideResource = 1032;
constexpr std::int64_t kGuideEntryBytes = 5;
constexpr std::int64_t kGuideHeaderBytes = 16;  // 12 unused bytes, then the count

// Confirms that the section's last byte is really in the stream before a
// block of its length is asked for; the stream is left where it was.
KivResult ProbeSectionEnd(std::uint32_t length) {
  std::uint32_t start = 0;
  KivResult result = DocumentStream->GetPosition(&start);
  if (result != kKivResult_OK) return result;
  const std::uint64_t last = std::uint64_t{start} + length - 1;
  if (last >= UINT32_MAX) return kKivResult_CorruptFile;
  std::uint8_t byte = 0;
  if (DocumentStream->SetPosition(static_cast<std::uint32_t>(last)) != kKivResult_OK ||
      ReadFully(DocumentStream, &byte, 1) != kKivResult_OK) {
    DocumentStream->SetPosition(start);
    return kKivResult_ReadFailed;
  }
  return DocumentStream->SetPosition(start);
}

}  // namespace

KivResult CPS30Document::ReadImageResources() {
  std::uint32_t length = 0;
  if (ReadBigEndian32(DocumentStream, &length) != kKivResult_OK) return kKivResult_ReadFailed;
  if (length == 0) return kKivResult_OK;
  if (handleMemory == nullptr) return kKivResult_OutOfMemory;
  KivResult result = ProbeSectionEnd(length);
  if (result != kKivResult_OK) return result;

  const KivHandle block = handleMemory->NewHandle(length);
  if (block == 0) return kKivResult_OutOfMemory;
  auto* bytes = static_cast<std::uint8_t*>(handleMemory->LockHandle(block));
  if (bytes == nullptr) {
    result = kKivResult_OutOfMemory;
  } else if (ReadFully(DocumentStream, bytes, length) != kKivResult_OK) {
    result = kKivResult_ReadFailed;
  } else {
    result = ParseImageResources(bytes, length);
  }
  if (bytes != nullptr) handleMemory->UnlockHandle(block);
  handleMemory->FreeHandle(block);
  return result;
}

// Every offset is computed in 64 bits, and a field is looked at only once
// it is known to lie wholly inside the block.
KivResult CPS30Document::ParseImageResources(const std::uint8_t* block, std::uint32_t length) {
  const std::int64_t end = length;
  if (end - 10 < 1) return kKivResult_OK;
  std::int64_t p = 0;
  for (;;) {
    // Here p <= end - 11: signature, id and name length byte are inside.
    const std::uint16_t id = BigEndian16At(block + p + 4);
    const std::int64_t nameLength = block[p + 6];
    p += 6 + ((nameLength + 2) & ~std::int64_t{1});
    if (p >= end - 4) return kKivResult_CorruptFile;

    const std::uint32_t size = BigEndian32At(block + p);
    if (size == 0) return kKivResult_OK;
    if (Signed32(size) < 0) return kKivResult_CorruptFile;
    p += 4;

    if (id == kResolutionResource) {
      if (p >= end - 4) return kKivResult_CorruptFile;
      resolution = Signed32(BigEndian32At(block + p)) * (1.0 / 65536.0);
    } else if (id == kGuideResource) {
      if (p + kGuideHeaderBytes > end) {
        guideCount = 0;
      } else {
        const std::int32_t declared = Signed32(BigEndian32At(block + p + 12));
        guideCount = declared < kMaxGuides ? declared : kMaxGuides;
        // Entries past the 256th would be passed over, so the walk stops
        // there, or at the first entry that the block does not hold.
        for (std::int32_t i = 0; i < guideCount; ++i) {
          const std::int64_t entry = p + kGuideHeaderBytes + kGuideEntryBytes * i;
          if (entry + kGuideEntryBytes > end) {
            guideCount = i;
            break;
          }
          guides[i].position = Signed32(BigEndian32At(block + entry));
          guides[i].direction = block[entry + 4];
        }
      }
    }

    p += (std::int64_t{size} + 1) & ~std::int64_t{1};
    if (p >= end - 10) return kKivResult_OK;
  }
}

}  // namespace strataread
