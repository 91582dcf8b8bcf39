#include "layout_names.h"

#include <array>
#include <utility>

#include "kiv/kiv_abi.h"

namespace strata {
namespace {

constexpr std::array<std::pair<std::uint32_t, std::string_view>, 7> kNames = {{
    {LayoutRgb, "rgb"},
    {LayoutRgba, "rgba"},
    {LayoutIndexed, "indexed"},
    {LayoutIndexedPlus, "indexed-plus"},
    {LayoutCmyk, "cmyk"},
    {LayoutRgb48, "rgb48"},
    {LayoutBitmap, "bitmap"},
}};

}  // namespace

std::optional<std::int32_t> LayoutFromName(std::string_view name) {
  for (const auto& [code, known] : kNames) {
    if (known == name) return static_cast<std::int32_t>(code);
  }
  return std::nullopt;
}

std::string LayoutName(std::int32_t layout) {
  for (const auto& [code, name] : kNames) {
    if (static_cast<std::int32_t>(code) == layout) return std::string(name);
  }
  return "layout " + std::to_string(layout);
}

std::string LayoutList(const std::vector<std::int32_t>& layouts) {
  std::string list;
  for (const std::int32_t layout : layouts) {
    if (!list.empty()) list += ", ";
    list += LayoutName(layout);
  }
  return list.empty() ? "none" : list;
}

}  // namespace strata
