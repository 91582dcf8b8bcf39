#include <windows.h>
#include <io.h>

#include <cstdio>

#include "platform.h"

namespace strata {

std::string ExecutableDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::string directory(path, length);
  const std::size_t slash = directory.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : directory.substr(0, slash);
}

bool StandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

unsigned long CurrentProcessId() { return GetCurrentProcessId(); }

}  // namespace strata
