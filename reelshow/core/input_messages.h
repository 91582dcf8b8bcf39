#pragma once
// The window messages that the saver's input watch tells apart.
#include <cstdint>

namespace reelshow {

inline constexpr std::uint32_t kKeyDown = 0x0100;
inline constexpr std::uint32_t kKeyUp = 0x0101;
inline constexpr std::uint32_t kSysKeyDown = 0x0104;
inline constexpr std::uint32_t kSysKeyUp = 0x0105;
inline constexpr std::uint32_t kLeftButtonDown = 0x0201;
inline constexpr std::uint32_t kRightButtonDown = 0x0204;
inline constexpr std::uint32_t kMiddleButtonDown = 0x0207;

// A key or button press.
constexpr bool IsPress(std::uint32_t message) {
  return message == kKeyDown || message == kSysKeyDown || message == kLeftButtonDown ||
         message == kRightButtonDown || message == kMiddleButtonDown;
}

// A key release (button releases are not watched at all).
constexpr bool IsKeyRelease(std::uint32_t message) {
  return message == kKeyUp || message == kSysKeyUp;
}

// The seven messages that end the saver.
constexpr bool IsEndingMessage(std::uint32_t message) {
  return IsPress(message) || IsKeyRelease(message);
}

}  // namespace reelshow
