#pragma once
// The document the benchmark reads when it is given none.
#include <cstdint>
#include <vector>

namespace strataread::bench {

// A 6000 x 4000 RGB document, 8-bit, PackBits throughout: a noisy picture
// of short runs (so that both kinds of PackBits run occur) and three layers,
// one of them with transparency and a user mask.
std::vector<std::uint8_t> BuildBenchDocument();

}  // namespace strataread::bench
