#include "registry_number.h"

namespace reelshow {

std::optional<std::uint32_t> RegistryNumber(std::uint32_t type, const std::uint8_t* data,
                                            std::size_t size) {
  if ((type != kRegDword && type != kRegBinary) || size != 4 || data == nullptr) return std::nullopt;
  return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
         static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

}  // namespace reelshow
