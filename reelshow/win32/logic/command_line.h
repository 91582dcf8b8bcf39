#pragma once
// The program's command line as the system hands it over, one string.
#include <string>
#include <string_view>

namespace reelshow {

// The first argument after the program's own path, "" when there is none.
// Words are split as the C run-time splits them (backslashes aside): a
// double quote opens or closes a quoted part and is dropped, and only an
// unquoted blank or tab ends a word, so a quoted path may hold blanks.
std::string FirstArgument(std::string_view commandLine);

}  // namespace reelshow
