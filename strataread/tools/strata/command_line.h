#pragma once
// strata's command line:
//   strata info FILE
//   strata import FILE -o OUT [--layer N] [--layout NAME]
//   strata layers FILE -o DIR
// each with [--plugin PATH]; and strata --help.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace strata {

enum class Command { Help, Info, Import, Layers };

struct Arguments {
  Command command = Command::Help;
  std::string file;
  std::string output;
  std::optional<std::int32_t> layer;
  std::optional<std::int32_t> layout;
  std::string plugin;  // empty: the one beside the program
};

// The parsed arguments (without the program name), or nullopt with a
// one-line reason in *why.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& arguments, std::string* why);

const char* UsageText();

}  // namespace strata
