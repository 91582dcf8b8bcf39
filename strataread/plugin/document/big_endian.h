#pragma once
// Big-endian numbers inside a block that is already in memory.
#include <cstdint>

namespace strataread {

inline std::uint16_t BigEndian16At(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

inline std::uint32_t BigEndian32At(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// The two's-complement reading of a stored 32-bit (16-bit) field.
inline std::int32_t Signed32(std::uint32_t value) { return static_cast<std::int32_t>(value); }
inline std::int16_t Signed16(std::uint16_t value) { return static_cast<std::int16_t>(value); }

}  // namespace strataread
