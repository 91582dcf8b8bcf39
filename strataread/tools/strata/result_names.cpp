#include "result_names.h"

#include <array>
#include <cstdio>
#include <utility>

namespace strata {
namespace {

constexpr std::array<std::pair<KivResult, std::string_view>, 10> kNames = {{
    {kKivResult_OK, "kKivResult_OK"},
    {kKivResult_BadArgument, "kKivResult_BadArgument"},
    {kKivResult_OutOfMemory, "kKivResult_OutOfMemory"},
    {kKivResult_StillInUse, "kKivResult_StillInUse"},
    {kKivResult_NoSuchInterface, "kKivResult_NoSuchInterface"},
    {kKivResult_NoSuchClass, "kKivResult_NoSuchClass"},
    {kKivResult_ReadFailed, "kKivResult_ReadFailed"},
    {kKivResult_Incomplete, "kKivResult_Incomplete"},
    {kKivResult_CorruptFile, "kKivResult_CorruptFile"},
    {kKivResult_UnsupportedFile, "kKivResult_UnsupportedFile"},
}};

}  // namespace

std::optional<std::string_view> ResultName(KivResult result) {
  for (const auto& [code, name] : kNames) {
    if (code == result) return name;
  }
  return std::nullopt;
}

std::optional<KivResult> ResultFromName(std::string_view name) {
  for (const auto& [code, known] : kNames) {
    if (known == name) return code;
  }
  return std::nullopt;
}

std::string DescribeResult(KivResult result) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(static_cast<std::uint32_t>(result)));
  const std::optional<std::string_view> name = ResultName(result);
  return std::string(name ? *name : std::string_view("result")) + " (" + code + ")";
}

}  // namespace strata
