#pragma once
// File names for exported layers: "NNN-name.ext", the name made safe.
#include <cstdint>
#include <string>
#include <string_view>

namespace strata {

// Letters, digits, '-', '_' and '.' are kept; every run of other bytes
// becomes one '_'; leading and trailing '_' and '.' are dropped; at most 64
// bytes; an empty result is "layer".
std::string SafeFileStem(std::string_view name);

// "007-Background.png" for index 7, name "Background", extension ".png".
std::string LayerFileName(std::int32_t index, std::string_view name, std::string_view extension);

}  // namespace strata
