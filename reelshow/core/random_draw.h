#pragma once
#include <cstdint>

namespace reelshow {

// A whole number from 0 to count - 1 (count > 0), drawn uniformly by a
// generator seeded afresh from the clock.
std::int32_t ClockSeededDraw(std::int32_t count);

}  // namespace reelshow
