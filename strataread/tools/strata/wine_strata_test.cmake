# strata.exe under Wine against the native strata, on one document: each
# case runs both programs with the same arguments and compares what they
# give, so that the exports, the calling convention, the interface tables,
# the word size and the byte order of the Windows build are proven on the
# real platform.
#   -DEMULATOR=  the Wine launcher (scripts/wine-exec)
#   -DSTRATA=    strata.exe
#   -DNATIVE=    the native strata
#   -DDOCUMENT=  the document
#   -DCASES=     cases separated by "|"; each is "ok:" or "fails:" (the
#                exit status both must give) and the strata arguments after
#                the document, separated by ":". An "import" case gets
#                "-o <scratch>.pam" appended. The case "no-png" checks that
#                the Windows build, which has no PNG writer, refuses .png.
#   -DWORK=      a scratch directory
#
# An import compares exit status, standard error and the PAM file byte for
# byte (none may be left by a failure); info compares exit status and the
# JSON. Standard output and error are text streams, so the Windows line
# end (CR LF) is read as LF there; files are compared as they are.
if(NOT EXISTS "${DOCUMENT}")
  message("the document ${DOCUMENT} is not there (no shared corpus); skipped")
  return()
endif()
if(NOT EXISTS "${NATIVE}")
  message("the native strata is not at ${NATIVE} (build the native preset first); skipped")
  return()
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(output "${WORK}/out.pam")

# run(VARIABLE_PREFIX program...): exit status, output and error of one run,
# the output file (when one was written) renamed to <prefix>.pam.
function(run prefix)
  file(REMOVE "${output}")
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REPLACE "\r\n" "\n" out "${out}")
  string(REPLACE "\r\n" "\n" err "${err}")
  set(${prefix}_status "${status}" PARENT_SCOPE)
  set(${prefix}_out "${out}" PARENT_SCOPE)
  set(${prefix}_err "${err}" PARENT_SCOPE)
  file(REMOVE "${WORK}/${prefix}.pam")
  if(EXISTS "${output}")
    file(RENAME "${output}" "${WORK}/${prefix}.pam")
  endif()
endfunction()

set(failures "")
string(REPLACE "|" ";" cases "${CASES}")
foreach(case IN LISTS cases)
  if(case STREQUAL "no-png")
    run(windows ${EMULATOR} "${STRATA}" import "${DOCUMENT}" -o "${WORK}/out.png")
    if(windows_status EQUAL 77)
      message("${windows_out}")
      return()
    endif()
    if(NOT windows_status EQUAL 1 OR NOT windows_err MATCHES "unknown output format \\(use .pam\\)"
       OR EXISTS "${WORK}/out.png")
      string(APPEND failures "\nstrata import -o out.png: status ${windows_status}\n${windows_err}")
    else()
      message("refused: strata import -o out.png")
    endif()
    continue()
  endif()
  string(REPLACE ":" ";" words "${case}")
  list(POP_FRONT words expectation command)
  set(arguments ${command} "${DOCUMENT}" ${words})
  if(command STREQUAL "import")
    list(APPEND arguments -o "${output}")
  endif()

  run(native "${NATIVE}" ${arguments})
  run(windows ${EMULATOR} "${STRATA}" ${arguments})
  if(windows_status EQUAL 77 OR windows_out MATCHES "wine-exec: .*skipped")
    message("${windows_out}")
    return()
  endif()

  set(problems "")
  if(expectation STREQUAL "ok")
    set(wanted 0)
  else()
    set(wanted 1)
  endif()
  if(NOT native_status STREQUAL wanted OR NOT windows_status STREQUAL wanted)
    string(APPEND problems "\n  exit status: native ${native_status}, Windows ${windows_status}, wanted ${wanted}")
  endif()
  if(NOT native_out STREQUAL windows_out)
    string(APPEND problems "\n  standard output differs:\n--- native\n${native_out}\n--- Windows\n${windows_out}")
  endif()
  if(NOT native_err STREQUAL windows_err)
    string(APPEND problems "\n  standard error differs:\n--- native\n${native_err}--- Windows\n${windows_err}")
  endif()
  if(command STREQUAL "info" AND wanted EQUAL 0 AND NOT native_out MATCHES "^{\n  \"width\": [0-9]+,")
    string(APPEND problems "\n  no document description:\n${native_out}")
  endif()
  if(command STREQUAL "import")
    set(native_pam "${WORK}/native.pam")
    set(windows_pam "${WORK}/windows.pam")
    if(wanted EQUAL 0)
      if(NOT EXISTS "${native_pam}" OR NOT EXISTS "${windows_pam}")
        string(APPEND problems "\n  an image is missing")
      else()
        file(SHA256 "${native_pam}" native_hash)
        file(SHA256 "${windows_pam}" windows_hash)
        file(READ "${native_pam}" start LIMIT 3)
        if(NOT native_hash STREQUAL windows_hash)
          file(SIZE "${native_pam}" native_size)
          file(SIZE "${windows_pam}" windows_size)
          string(APPEND problems "\n  the images differ (native ${native_size} bytes, Windows ${windows_size} bytes)")
        elseif(NOT start STREQUAL "P7\n")
          string(APPEND problems "\n  the image is not a PAM file")
        endif()
      endif()
    elseif(EXISTS "${native_pam}" OR EXISTS "${windows_pam}")
      string(APPEND problems "\n  a failed import left an image")
    endif()
  endif()

  if(problems STREQUAL "")
    message("same: strata ${case}")
  else()
    string(APPEND failures "\nstrata ${case}:${problems}")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
if(NOT failures STREQUAL "")
  message(FATAL_ERROR "native and Windows strata disagree on ${DOCUMENT}:${failures}")
endif()
message("strata under Wine: the same as native on every case")
