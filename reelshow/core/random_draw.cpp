#include "random_draw.h"

#include <chrono>
#include <random>

namespace reelshow {

std::int32_t ClockSeededDraw(std::int32_t count) {
  if (count <= 1) return 0;
  // The draw number joins the clock in the seed, so that two draws within one
  // clock step still differ.
  static std::uint32_t draws = 0;
  const auto now = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seed{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32), ++draws};
  std::mt19937 generator(seed);
  return std::uniform_int_distribution<std::int32_t>(0, count - 1)(generator);
}

}  // namespace reelshow
