#pragma once
// The names users give pixel layouts on the command line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace strata {

// "rgb", "rgba", "indexed", "indexed-plus", "cmyk", "rgb48", "bitmap".
std::optional<std::int32_t> LayoutFromName(std::string_view name);
// The name of a layout code; a code without one reads "layout N".
std::string LayoutName(std::int32_t layout);
// "indexed, rgb"
std::string LayoutList(const std::vector<std::int32_t>& layouts);

}  // namespace strata
