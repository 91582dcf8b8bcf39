#pragma once
// Input for the program under test: messages posted to its windows, and real
// input through the system's input queue.
#include <windows.h>

#include <optional>
#include <string>

namespace driver {

// A message by its short name ("keydown", "lbuttondown", ...) or a number.
std::optional<UINT> MessageCode(const std::string& name);

// A number in decimal or with "0x".
std::optional<unsigned long> Number(const std::string& text);

bool PostTo(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Sends a scroll request for scrollBar to its parent, as the control itself
// does when the user clicks it, followed by the end of the scroll action.
bool ScrollRequest(HWND scrollBar, const std::string& code, unsigned count);

// Brings top to the foreground and presses and releases the virtual key.
bool SendKey(HWND top, WORD vk);

// Moves the pointer to the screen point, and clicks there when button is
// "left", "right" or "middle".
bool SendMouse(int x, int y, const std::string& button);

// Gives the keyboard focus to a control of another thread.
bool FocusControl(HWND control);

}  // namespace driver
