#pragma once
// The saver's background colour sets and the colour counter's steps.
#include <cstdint>

#include "platform/controls.h"

namespace reelshow {

// The colour counter after one more tick: 1 to 12, then 1 again.
std::int32_t NextColorStep(std::int32_t step);

// The background for colour set colorSet (1 to 3; any other set stays
// black) at counter step (1 to 12): each colour of the set holds for three
// steps.
platform::Rgb BackgroundColor(std::int32_t colorSet, std::int32_t step);

}  // namespace reelshow
