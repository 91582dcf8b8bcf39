#pragma once
// Starting the program under test and watching it until it ends.
#include <string>
#include <vector>

namespace driver {

// Starts program with args, waits up to timeoutMs for it to end and prints
// its exit code, the time it took and every top-level window it showed.
// A program still running at the timeout is ended, and "exit=timeout" shown.
int RunProgram(unsigned timeoutMs, const std::string& program, const std::vector<std::string>& args);

// The Windows command line for program and args, quoted as the C run-time
// splits it again.
std::string CommandLine(const std::string& program, const std::vector<std::string>& args);

}  // namespace driver
