# Coverage-guided fuzz targets. With BUILD_FUZZERS (the fuzz preset, clang)
# each target is a libFuzzer program; otherwise it is built with a small
# replay main, and its saved regression inputs are replayed as a test.
option(BUILD_FUZZERS "Build the libFuzzer targets (needs clang)" OFF)

# add_fuzz_target(NAME SOURCES src... LIBS lib... [REGRESSIONS dir])
function(add_fuzz_target name)
  cmake_parse_arguments(F "" "REGRESSIONS" "SOURCES;LIBS" ${ARGN})
  if(BUILD_FUZZERS)
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  elseif(NOT WIN32)
    add_executable(${name}_replay ${F_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/fuzz_replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE ${F_LIBS} project_warnings)
    if(F_REGRESSIONS)
      add_test(NAME fuzz.${name}.regressions COMMAND ${name}_replay ${F_REGRESSIONS})
      set_tests_properties(fuzz.${name}.regressions PROPERTIES LABELS native
        PASS_REGULAR_EXPRESSION "replayed [1-9][0-9]* inputs")
    endif()
  endif()
endfunction()
