#include "layer_file_name.h"

#include <cstdio>

namespace strata {
namespace {

constexpr std::size_t kMaxStem = 64;

bool IsKept(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.';
}

}  // namespace

std::string SafeFileStem(std::string_view name) {
  std::string stem;
  for (const char c : name) {
    if (IsKept(c)) {
      stem += c;
    } else if (stem.empty() || stem.back() != '_') {
      stem += '_';
    }
  }
  const std::size_t first = stem.find_first_not_of("_.");
  if (first == std::string::npos) return "layer";
  stem.erase(0, first);
  if (stem.size() > kMaxStem) stem.resize(kMaxStem);
  stem.erase(stem.find_last_not_of("_.") + 1);
  return stem;
}

std::string LayerFileName(std::int32_t index, std::string_view name, std::string_view extension) {
  char number[16];
  std::snprintf(number, sizeof number, "%03ld", static_cast<long>(index));
  return std::string(number) + "-" + SafeFileStem(name) + std::string(extension);
}

}  // namespace strata
