#include <algorithm>
#include <cstring>

#include "kivhost/streams.h"

namespace kivhost {

Ref<MemoryStream> MemoryStream::Create(std::vector<std::uint8_t> bytes) {
  return Ref<MemoryStream>::Share(new MemoryStream(std::move(bytes)));
}

bool MemoryStream::DoRead(std::uint32_t offset, void* buffer, std::uint32_t count,
                          std::uint32_t* delivered) {
  const std::size_t size = bytes_.size();
  const std::size_t available = offset < size ? size - offset : 0;
  const std::size_t taken = std::min<std::size_t>(count, available);
  if (taken != 0) std::memcpy(buffer, bytes_.data() + offset, taken);
  *delivered = static_cast<std::uint32_t>(taken);
  return true;
}

}  // namespace kivhost
