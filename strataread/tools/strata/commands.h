#pragma once
// The three commands of strata. Each answers the program's exit status:
// 0, or 1 after one line "strata: SUBJECT: what went wrong" on the error
// stream.
#include <ostream>
#include <string>
#include <vector>

#include "command_line.h"

namespace strata {

struct Console {
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal = false;  // progress lines go only to a terminal
};

// Parses the arguments (without the program name) and runs the command;
// defaultPlugin is used when no --plugin is given.
int Run(const std::vector<std::string>& arguments, Console& console, const std::string& defaultPlugin);

int RunInfo(const Arguments& arguments, Console& console);
int RunImport(const Arguments& arguments, Console& console);
int RunLayers(const Arguments& arguments, Console& console);

}  // namespace strata
