#include "long_path.h"

#include <windows.h>

#include <vector>

namespace reelshow {

namespace {

using GetLongPathNameFunction = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);

// Not there on Windows 95: bound at run time.
GetLongPathNameFunction LongPathFunction() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) return nullptr;
  const FARPROC proc = GetProcAddress(kernel, "GetLongPathNameA");
  return reinterpret_cast<GetLongPathNameFunction>(reinterpret_cast<void (*)()>(proc));
}

std::string ByLongPathFunction(GetLongPathNameFunction get, const std::string& path) {
  std::vector<char> buffer(MAX_PATH);
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD n = get(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return "";
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(static_cast<std::size_t>(n) + 1);
  }
  return "";
}

// Without the function: the file's own long name from a directory search.
// Only the file name decides the settings file's name.
std::string ByFileSearch(const std::string& path) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  FindClose(search);
  const std::size_t slash = path.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + found.cFileName;
}

}  // namespace

std::string OwnModulePath() {
  std::vector<char> buffer(MAX_PATH);
  for (int attempt = 0; attempt < 6; ++attempt) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return "";
    // A full buffer means the path was cut.
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
  return "";
}

std::string LongPathOf(const std::string& path) {
  if (path.empty()) return path;
  std::string expanded;
  if (const GetLongPathNameFunction get = LongPathFunction()) expanded = ByLongPathFunction(get, path);
  if (expanded.empty()) expanded = ByFileSearch(path);
  return expanded.empty() ? path : expanded;
}

}  // namespace reelshow
