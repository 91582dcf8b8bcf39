#include "background_colors.h"

namespace reelshow {

namespace {

constexpr platform::Rgb kSets[3][4] = {
    {{0, 0, 0}, {128, 128, 128}, {192, 192, 192}, {255, 255, 255}},
    {{0, 0, 128}, {0, 0, 0}, {128, 0, 128}, {128, 0, 0}},
    {{0, 128, 0}, {0, 255, 255}, {255, 0, 255}, {255, 255, 0}},
};

}  // namespace

std::int32_t NextColorStep(std::int32_t step) {
  return (step < 0 || step >= 12) ? 1 : step + 1;
}

platform::Rgb BackgroundColor(std::int32_t colorSet, std::int32_t step) {
  if (colorSet < 1 || colorSet > 3) return {0, 0, 0};
  int colour = 3;
  if (step >= 1 && step <= 3) colour = 0;
  else if (step >= 4 && step <= 6) colour = 1;
  else if (step >= 7 && step <= 9) colour = 2;
  return kSets[colorSet - 1][colour];
}

}  // namespace reelshow
