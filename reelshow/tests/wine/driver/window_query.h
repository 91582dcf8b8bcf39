#pragma once
// Finding the program's windows from another process and describing them as
// lines of tab-separated key=value fields, so that a shell script can pick
// the fields it checks.
#include <windows.h>

#include <string>
#include <vector>

namespace driver {

struct WindowLine {
  HWND hwnd = nullptr;
  std::string text;  // the whole line, fields separated by tabs
};

// "-" stands for any class or any title.
HWND FindTop(const std::string& cls, const std::string& title);

// The top-level window first (screen coordinates), then every descendant with
// its position relative to the top-level window's client area.
std::vector<WindowLine> DescribeTree(HWND top);

// True when every token (key=value) equals one of the line's fields.
bool LineMatches(const std::string& line, const std::vector<std::string>& tokens);

// The first descendant whose line matches all tokens; nullptr if none.
HWND FindChild(HWND top, const std::vector<std::string>& tokens);

std::string ClassOf(HWND hwnd);
std::string TextOf(HWND hwnd);

}  // namespace driver
