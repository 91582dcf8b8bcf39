#pragma once
// The program's entry decision: from whether a saver is already on the screen
// and the first command-line argument, which of the four ways the program
// lives. Every way ends with exit status 0.
#include <string>
#include <string_view>

#include "platform/system.h"

namespace reelshow {

enum class Action { End, RunSaver, ShowSettings, ChangePassword };

inline constexpr int kExitStatus = 0;

// saverWindowExists: a top-level window of class layout::kSaverClass titled
// layout::kSaverTitle is on the screen. An empty firstArgument means the command line has none. Arguments after the
// first are never looked at.
Action Dispatch(bool saverWindowExists, std::string_view firstArgument);

// The switch as compared: only the letters a to z are upper-cased.
std::string UpperSwitch(std::string_view argument);

// directory + "\" (unless it is empty or already ends with one) + fileName.
std::string SystemLibraryPath(std::string_view directory, std::string_view fileName);

// The system's dialog for changing the screensaver password, from "MPR.DLL"
// in the system directory. A missing library or entry point ends silently.
void ChangePassword(platform::System& system);

}  // namespace reelshow
