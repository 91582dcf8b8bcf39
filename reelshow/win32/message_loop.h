#pragma once
// The program's message loop.
#include <windows.h>

namespace reelshow {

// Takes messages from the queue and dispatches them until the quit request.
// With a dialog, its keyboard interface (Tab, arrows, Enter for the default
// button) is served first; Enter on the picture button presses that button,
// which the dialog manager would not do for an owner-drawn one.
void RunMessageLoop(HWND dialog = nullptr, HWND pictureButton = nullptr);

}  // namespace reelshow
