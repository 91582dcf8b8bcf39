#include "ini_path.h"

namespace reelshow {

std::string WindowsDirFrom(std::string_view reported) {
  if (reported.empty()) return "c:\\windows";
  return std::string(reported);
}

std::string ProgramBaseName(std::string_view programPath) {
  const auto slash = programPath.find_last_of("\\/:");
  std::string_view name = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
  const auto dot = name.find('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

std::string IniPathFor(std::string_view windowsDir, std::string_view programPath) {
  std::string path(windowsDir);
  // A root directory ("C:\") already ends in the separator.
  if (path.empty() || path.back() != '\\') path += '\\';
  path += ProgramBaseName(programPath);
  path += ".ini";
  return path;
}

}  // namespace reelshow
