#include "command_line.h"

#include <charconv>

#include "layout_names.h"

namespace strata {
namespace {

std::optional<Command> CommandNamed(const std::string& name) {
  if (name == "info") return Command::Info;
  if (name == "import") return Command::Import;
  if (name == "layers") return Command::Layers;
  if (name == "--help" || name == "-h" || name == "help") return Command::Help;
  return std::nullopt;
}

std::optional<std::int32_t> ParseIndex(const std::string& text) {
  std::int32_t value = 0;
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

const char* UsageText() {
  return "usage:\n"
         "  strata info FILE                 the document as JSON on standard output\n"
         "  strata import FILE -o OUT        the merged image (or --layer N) as OUT (.png or .pam)\n"
         "         [--layer N] [--layout rgb|rgba|indexed|indexed-plus|cmyk|rgb48|bitmap]\n"
         "  strata layers FILE -o DIR        every layer as DIR/NNN-name.png, and DIR/merged.png\n"
         "options: --plugin PATH             the plug-in to load (default: the one beside strata)\n";
}

std::optional<Arguments> ParseArguments(const std::vector<std::string>& arguments, std::string* why) {
  if (arguments.empty()) {
    *why = "no command given (see strata --help)";
    return std::nullopt;
  }
  Arguments parsed;
  const std::optional<Command> command = CommandNamed(arguments[0]);
  if (!command) {
    *why = "unknown command " + arguments[0] + " (see strata --help)";
    return std::nullopt;
  }
  parsed.command = *command;
  if (parsed.command == Command::Help) return parsed;

  std::vector<std::string> files;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool takesValue =
        argument == "-o" || argument == "--layer" || argument == "--layout" || argument == "--plugin";
    if (takesValue && i + 1 >= arguments.size()) {
      *why = argument + " needs a value";
      return std::nullopt;
    }
    if (argument == "-o") {
      parsed.output = arguments[++i];
    } else if (argument == "--plugin") {
      parsed.plugin = arguments[++i];
    } else if (argument == "--layer" && parsed.command == Command::Import) {
      parsed.layer = ParseIndex(arguments[++i]);
      if (!parsed.layer) {
        *why = "--layer wants a layer index, not " + arguments[i];
        return std::nullopt;
      }
    } else if (argument == "--layout" && parsed.command == Command::Import) {
      parsed.layout = LayoutFromName(arguments[++i]);
      if (!parsed.layout) {
        *why = "unknown layout " + arguments[i] + " (rgb, rgba, indexed, indexed-plus, cmyk, rgb48, bitmap)";
        return std::nullopt;
      }
    } else if (argument.size() > 1 && argument[0] == '-') {
      *why = "unknown option " + argument + " (see strata --help)";
      return std::nullopt;
    } else {
      files.push_back(argument);
    }
  }
  if (files.size() != 1) {
    *why = files.empty() ? "no FILE given (see strata --help)" : "more than one FILE given";
    return std::nullopt;
  }
  parsed.file = files[0];
  if (parsed.command != Command::Info && parsed.output.empty()) {
    *why = "-o is missing (see strata --help)";
    return std::nullopt;
  }
  if (parsed.command == Command::Info && !parsed.output.empty()) {
    *why = "info writes to standard output and takes no -o";
    return std::nullopt;
  }
  return parsed;
}

}  // namespace strata
