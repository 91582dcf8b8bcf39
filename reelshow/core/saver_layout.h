#pragma once
// The arithmetic of the saver's display area. Every value from the settings
// file or from a device fits: sums and halves are done in 64 bits and the
// results brought back into the 32-bit range.
#include <cstdint>

#include "platform/controls.h"
#include "platform/system.h"

namespace reelshow {

// numerator / denominator (denominator > 0) rounded to the nearest integer,
// an exact half going to the even neighbour.
std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator);

// A panel of width by height centred on the screen.
platform::Bounds CentredOnScreen(platform::ScreenSize screen, std::int64_t width,
                                 std::int64_t height);

// The panel for picture mode picdis (1 full, 2 medium, 3 small, 4 custom and
// 5 own size both from width and height as read).
platform::Bounds PanelLayoutFor(std::int32_t picdis, platform::ScreenSize screen,
                                std::int32_t width, std::int32_t height);

// A panel narrower or lower than one pixel shows nothing.
inline bool ShowsSomething(const platform::Bounds& bounds) {
  return bounds.width >= 1 && bounds.height >= 1;
}

}  // namespace reelshow
