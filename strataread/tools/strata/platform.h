#pragma once
// What strata needs from the operating system beyond the standard library.
#include <string>

namespace strata {

// The directory of the running program (empty when it cannot be found).
std::string ExecutableDirectory();
// Whether standard error is a terminal (progress lines go only there).
bool StandardErrorIsTerminal();
unsigned long CurrentProcessId();

}  // namespace strata
