#include "saver_layout.h"

#include <algorithm>
#include <limits>

namespace reelshow {

namespace {

std::int32_t To32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

}  // namespace

std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t floor = FloorDiv(numerator, denominator);
  const std::int64_t rest = numerator - floor * denominator;  // 0 <= rest < denominator
  const std::int64_t twice = rest * 2;
  if (twice < denominator) return floor;
  if (twice > denominator) return floor + 1;
  return (floor % 2 == 0) ? floor : floor + 1;
}

platform::Bounds CentredOnScreen(platform::ScreenSize screen, std::int64_t width,
                                 std::int64_t height) {
  const std::int32_t w = To32(width);
  const std::int32_t h = To32(height);
  return {To32(RoundHalfEven(std::int64_t{screen.width} - w, 2)),
          To32(RoundHalfEven(std::int64_t{screen.height} - h, 2)), w, h};
}

platform::Bounds PanelLayoutFor(std::int32_t picdis, platform::ScreenSize screen,
                                std::int32_t width, std::int32_t height) {
  switch (picdis) {
    case 1: return {0, 0, screen.width, screen.height};
    case 2: return CentredOnScreen(screen, RoundHalfEven(screen.width, 2), RoundHalfEven(screen.height, 2));
    case 3: return CentredOnScreen(screen, RoundHalfEven(screen.width, 4), RoundHalfEven(screen.height, 4));
    default: return CentredOnScreen(screen, width, height);
  }
}

}  // namespace reelshow
