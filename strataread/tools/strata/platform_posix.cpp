#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform.h"

namespace strata {

std::string ExecutableDirectory() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

unsigned long CurrentProcessId() { return static_cast<unsigned long>(getpid()); }

}  // namespace strata
