// Fuzz target: the whole import of a document through the built plug-in.
// Any fault the host finds in the plug-in's conduct ends the run, as a
// sanitizer's finding does.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "import_driver.h"
#include "kivhost/plugin.h"

namespace {

// Loaded once and never unloaded, so that the plug-in's code (and its
// coverage counters) stays put from the first input to the last.
const kivhost::Plugin& KeptPlugin() {
  static const std::unique_ptr<kivhost::Plugin> plugin = [] {
    std::string error;
    auto loaded = kivhost::Plugin::Load(STRATAREAD_PLUGIN_PATH, &error);
    if (!loaded) {
      std::fprintf(stderr, "cannot load %s: %s\n", STRATAREAD_PLUGIN_PATH, error.c_str());
      std::abort();
    }
    return loaded;
  }();
  return *plugin;
}

// The format's dictionary is used unless the command line names another:
// every run, the short ones of the test script and the long ones, mutates
// with the format's markers.
void AddDictionary(int* argc, char*** argv) {
  static std::string flag = std::string("-dict=") + STRATAREAD_FUZZ_DICTIONARY;
  static std::vector<char*> arguments;
  for (int i = 0; i < *argc; ++i) {
    if (std::string_view((*argv)[i]).starts_with("-dict=")) return;
  }
  arguments.assign(*argv, *argv + *argc);
  arguments.push_back(flag.data());
  arguments.push_back(nullptr);
  *argv = arguments.data();
  ++*argc;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  AddDictionary(argc, argv);
  KeptPlugin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  KeptPlugin();
  const auto outcome = strataread_fuzz::ImportDocument(STRATAREAD_PLUGIN_PATH, std::span(data, size));
  if (!outcome.faults.empty()) {
    for (const std::string& fault : outcome.faults) std::fprintf(stderr, "import fault: %s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
