#include "image_channel.h"

#include <algorithm>

#include "channel_decode.h"
#include "channel_scratch.h"

namespace strataread {

KivResult ReadImageChannel(CPS30Document& document, RowTable table, std::int32_t plane,
                           const ImageBuffer& image) {
  const std::int32_t width = image.width;
  const std::int32_t height = image.height;
  if (width <= 0 || height <= 0) return kKivResult_OK;
  const bool packed = table.Present() && document.compression != 0;
  const std::uint64_t rawLength = RowLength(document.depth, width);

  std::uint64_t size = DecodedRowLength(document.depth, width);
  if (packed) size = std::max<std::uint64_t>(size, table.Largest(0, height));
  ChannelScratch scratch(document.handleMemory);
  KivResult result = scratch.Obtain(document, size);
  if (result != kKivResult_OK) return result;

  for (std::int32_t y = 0; y < height; ++y) {
    const std::int64_t count = packed ? table.At(y) : static_cast<std::int64_t>(rawLength);
    result = DecodeRow(document, scratch.Read(), scratch.Output(), scratch.Size(), count, width);
    if (result != kKivResult_OK) return result;
    if (plane >= 0) StoreSamples(document, image, y, plane, scratch.Output(), width, 0);
  }
  return kKivResult_OK;
}

}  // namespace strataread
