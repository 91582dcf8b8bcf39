#pragma once
// The platform's run-time library loading, behind three calls.
#include <string>

namespace kivhost::detail {

// Null with *error set on failure.
void* OpenSharedLibrary(const std::string& path, std::string* error);
// The address of an exported function, or null.
void* FindExport(void* library, const char* name);
void CloseSharedLibrary(void* library);

}  // namespace kivhost::detail
