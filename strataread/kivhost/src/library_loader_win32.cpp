#include <windows.h>

#include <cstring>

#include "library_loader.h"

namespace kivhost::detail {

void* OpenSharedLibrary(const std::string& path, std::string* error) {
  HMODULE const library = LoadLibraryA(path.c_str());
  if (library == nullptr) {
    *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
  }
  return reinterpret_cast<void*>(library);
}

void* FindExport(void* library, const char* name) {
  const FARPROC address = GetProcAddress(static_cast<HMODULE>(library), name);
  void* plain = nullptr;
  static_assert(sizeof plain == sizeof address);
  std::memcpy(&plain, &address, sizeof plain);
  return plain;
}

void CloseSharedLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace kivhost::detail
