#pragma once
// The running saver: the hidden application window, the saver window TForm1
// with its panel and label, the players and the timer, the message hook and
// the message loop.
#include <windows.h>

#include "profile_store.h"
#include "win32_system.h"

namespace reelshow {

// Runs the saver until it ends; the answer is the exit status.
int RunSaver(HINSTANCE instance, Win32System& system, ProfileStore& profile);

}  // namespace reelshow
