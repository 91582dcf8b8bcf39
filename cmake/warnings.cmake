# One warning set for every target of the project, both presets.
option(WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ON)

add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wundef -Wformat=2
  -Wimplicit-fallthrough -Wdouble-promotion
  -Wcast-qual -Wmissing-declarations)
if(WARNINGS_AS_ERRORS)
  target_compile_options(project_warnings INTERFACE -Werror)
endif()

# GCC 12 reports std::string concatenation at -O3 as overlapping memcpy
# (a false positive fixed in later releases).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(project_warnings INTERFACE -Wno-restrict)
endif()
