// The 26-byte document header.
#include <cstring>

#include "big_endian.h"
#include "cps30_document.h"

namespace strataread {
namespace {

constexpr std::uint32_t kHeaderBytes = 26;

// Reads and checks the header; the values go to the caller's scratch record
// so that a mere check leaves the document as it was.
KivResult ReadHeaderInto(DocumentHeader* header) {
  std::uint8_t bytes[kHeaderBytes];
  if (ReadFully(DocumentStream, bytes, kHeaderBytes) != kKivResult_OK) return kKivResult_ReadFailed;
  if (std::memcmp(bytes, "8BPS", 4) != 0 || BigEndian16At(bytes + 4) != 1) {
    return kKivResult_UnsupportedFile;
  }
  header->channelCount = Signed16(BigEndian16At(bytes + 12));
  header->height = BigEndian32At(bytes + 14);
  header->width = BigEndian32At(bytes + 18);
  header->depth = Signed16(BigEndian16At(bytes + 22));
  header->colorMode = BigEndian16At(bytes + 24);
  return kKivResult_OK;
}

}  // namespace

KivResult CPS30Document::CheckHeader() {
  if (DocumentStream == nullptr) return kKivResult_UnsupportedFile;
  DocumentHeader scratch{};
  return ReadHeaderInto(&scratch);
}

KivResult CPS30Document::ReadHeader() {
  DocumentHeader header{};
  const KivResult result = ReadHeaderInto(&header);
  if (result != kKivResult_OK) return result;
  channelCount = header.channelCount;
  height = header.height;
  width = header.width;
  depth = header.depth;
  colorMode = header.colorMode;
  return kKivResult_OK;
}

}  // namespace strataread
