#pragma once
// Result codes as users read them: "kKivResult_CorruptFile (0x80040064)".
#include <optional>
#include <string>
#include <string_view>

#include "kiv/kiv_abi.h"

namespace strata {

// The code's name, or nullopt for a code this host does not know.
std::optional<std::string_view> ResultName(KivResult result);
// The code parsed back from its name (for tools that read our messages).
std::optional<KivResult> ResultFromName(std::string_view name);
// "kKivResult_Name (0x8004xxxx)"; an unknown code reads "result (0x...)".
std::string DescribeResult(KivResult result);

}  // namespace strata
