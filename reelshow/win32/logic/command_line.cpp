#include "command_line.h"

namespace reelshow {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The word that starts at i, as the C run-time splits words: up to an
// unquoted blank or tab, double quotes dropped. Moves i past it.
std::string NextWord(std::string_view line, std::size_t& i) {
  std::string word;
  bool quoted = false;
  for (; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (IsBlank(c) && !quoted) {
      break;
    } else {
      word += c;
    }
  }
  return word;
}

}  // namespace

std::string FirstArgument(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  (void)NextWord(line, i);
  while (i < line.size() && IsBlank(line[i])) ++i;
  return NextWord(line, i);
}

}  // namespace reelshow
