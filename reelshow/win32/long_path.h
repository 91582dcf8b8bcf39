#pragma once
// The program's own path in its long form. Windows records a saver by its
// 8.3 short name and starts it so; the settings file is named after the long
// one.
#include <string>

namespace reelshow {

// The path of the running program, as the system reports it.
std::string OwnModulePath();

// path with every short name expanded; path itself when it cannot be.
std::string LongPathOf(const std::string& path);

}  // namespace reelshow
