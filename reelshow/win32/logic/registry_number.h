#pragma once
// Which registry values count as a 32-bit number.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace reelshow {

// The registry's value type codes that matter here.
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// A 32-bit number value (four bytes, little-endian), or a four-byte binary
// value, as Windows 95 and 98 store some settings; anything else is not a
// number.
std::optional<std::uint32_t> RegistryNumber(std::uint32_t type, const std::uint8_t* data,
                                            std::size_t size);

}  // namespace reelshow
