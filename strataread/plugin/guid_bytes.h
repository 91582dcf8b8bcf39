#pragma once
// A GUID in its usual 16-byte layout: the first three fields little-endian,
// then the eight bytes as written, whatever the machine's byte order.
#include <array>
#include <cstdint>

#include "kiv/kiv_abi.h"

namespace strataread {

inline std::array<std::uint8_t, 16> GuidBytes(const KivGuid& id) {
  std::array<std::uint8_t, 16> bytes{};
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(id.data1 >> (8 * i));
  for (int i = 0; i < 2; ++i) bytes[4 + i] = static_cast<std::uint8_t>(id.data2 >> (8 * i));
  for (int i = 0; i < 2; ++i) bytes[6 + i] = static_cast<std::uint8_t>(id.data3 >> (8 * i));
  for (int i = 0; i < 8; ++i) bytes[8 + i] = id.data4[i];
  return bytes;
}

}  // namespace strataread
