# Lists the exports of the plug-in library and compares them with the five
# the host calls: nothing missing, nothing more, no decorated names.
#   -DLIBRARY=<file> -DTOOL=<nm or objdump> -DMODE=<elf|pe>
set(expected DllCanUnloadNow DllGetClassForm DllGetClassInfo DllGetClassObject DllGetInterface)

if(MODE STREQUAL "elf")
  execute_process(COMMAND ${TOOL} -D --defined-only ${LIBRARY}
                  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
  # "<address> <kind> <name>" lines; kinds in capitals are global.
  string(REGEX MATCHALL "[0-9a-fA-F]+ [A-Z] [^\n]+" lines "${listing}")
  set(found)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[0-9a-fA-F]+ [A-Z] " "" name "${line}")
    list(APPEND found "${name}")
  endforeach()
elseif(MODE STREQUAL "pe")
  execute_process(COMMAND ${TOOL} -p ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
  # The name table of the export directory: "[   n] Name" lines after its title.
  string(FIND "${listing}" "[Ordinal/Name Pointer] Table" start)
  if(start LESS 0)
    message(FATAL_ERROR "no export name table in ${LIBRARY}")
  endif()
  string(SUBSTRING "${listing}" ${start} -1 table)
  string(REGEX MATCHALL "\n[ \t]*\\[[ 0-9]+\\] [^\n]+" lines "${table}")
  set(found)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^\n[ \t]*\\[[ 0-9]+\\] " "" name "${line}")
    string(STRIP "${name}" name)
    list(APPEND found "${name}")
  endforeach()
else()
  message(FATAL_ERROR "MODE must be elf or pe")
endif()

if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TOOL} failed on ${LIBRARY}: ${status}")
endif()
list(SORT found)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "exports of ${LIBRARY}:\n  found    ${found}\n  expected ${expected}")
endif()
message(STATUS "exports: ${found}")
