#include <dlfcn.h>

#include "library_loader.h"

namespace kivhost::detail {

void* OpenSharedLibrary(const std::string& path, std::string* error) {
  void* const library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* const why = dlerror();
    *error = why != nullptr ? why : "cannot load " + path;
  }
  return library;
}

void* FindExport(void* library, const char* name) { return dlsym(library, name); }

void CloseSharedLibrary(void* library) { dlclose(library); }

}  // namespace kivhost::detail
