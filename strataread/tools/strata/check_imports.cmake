# Lists the DLLs a Windows binary imports and refuses any that does not ship
# with Windows: a run-time library of the compiler (libstdc++, libgcc,
# winpthread) would have to be installed beside the plug-in.
#   -DBINARY=<file> -DTOOL=<objdump>
cmake_minimum_required(VERSION 3.25)
set(system_dlls
  advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll
  shell32.dll shlwapi.dll user32.dll version.dll winmm.dll ws2_32.dll)

execute_process(COMMAND ${TOOL} -p ${BINARY} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TOOL} failed on ${BINARY}: ${status}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${listing}")
if(lines STREQUAL "")
  message(FATAL_ERROR "no import directory in ${BINARY}")
endif()
set(found)
set(foreign)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: " "" name "${line}")
  string(STRIP "${name}" name)
  list(APPEND found "${name}")
  string(TOLOWER "${name}" lower)
  if(NOT lower IN_LIST system_dlls)
    list(APPEND foreign "${name}")
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "${BINARY} needs DLLs that are not the system's: ${foreign} (all: ${found})")
endif()
message("${BINARY} imports only system DLLs: ${found}")
