#pragma once
// Where the settings file lives: the Windows directory, and the program's own
// file name cut before its first full stop, plus ".ini".
#include <string>
#include <string_view>

namespace reelshow {

// The Windows directory as the system reports it; an empty report means the
// system names none, and "c:\windows" stands in.
std::string WindowsDirFrom(std::string_view reported);

// The program's file name without its directory, cut before its first ".".
std::string ProgramBaseName(std::string_view programPath);

// WindowsDir + "\" + base name + ".ini".
std::string IniPathFor(std::string_view windowsDir, std::string_view programPath);

}  // namespace reelshow
