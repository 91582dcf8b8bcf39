#pragma once
// The sample document of the demo: a small RGB picture with three layers
// (one with a user mask), two guides and a resolution, built with the test
// document writer.
#include "psd_builder.h"

namespace strata_sample {

inline constexpr std::uint32_t kWidth = 64;
inline constexpr std::uint32_t kHeight = 48;

psdbuild::Document SampleDocument();

}  // namespace strata_sample
