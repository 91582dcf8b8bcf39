// strata: imports Photoshop documents through the plug-in, as a host does.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "platform.h"

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    const std::string beside = strata::ExecutableDirectory();
    const std::string plugin = (beside.empty() ? std::string(".") : beside) + "/" + STRATA_PLUGIN_FILE;
    strata::Console console{std::cout, std::cerr, strata::StandardErrorIsTerminal()};
    return strata::Run(arguments, console, plugin);
  } catch (const std::exception& failure) {
    std::cerr << "strata: " << failure.what() << "\n";
    return 1;
  }
}
