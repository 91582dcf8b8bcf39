#pragma once
// The settings dialog TForm2 over Win32: classic controls, all children of
// the dialog at their places in its client area.
#include <windows.h>

#include "profile_store.h"
#include "win32_system.h"

namespace reelshow {

// Runs the dialog until it closes; the answer is the exit status.
int RunSettingsDialog(HINSTANCE instance, Win32System& system, ProfileStore& profile);

}  // namespace reelshow
