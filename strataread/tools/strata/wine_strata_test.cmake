# strata.exe under Wine, on one document of the shared corpus: info, an
# import to PAM, and the refusal of a file that is not a document.
#   -DEMULATOR=  the Wine launcher (scripts/wine-exec)
#   -DSTRATA=    strata.exe
#   -DCORPUS=    the corpus directory
#   -DWORK=      a scratch directory
if(NOT EXISTS "${CORPUS}/pt_4x4_8bit_rgb.psd")
  message("the PSD corpus is not at ${CORPUS}; skipped")
  return()
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(run_strata)
  execute_process(COMMAND ${EMULATOR} "${STRATA}" ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(status EQUAL 77 OR out MATCHES "skipped")
    message("${out}")
    return()
  endif()
  set(status "${status}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

run_strata(info "${CORPUS}/pt_4x4_8bit_rgb.psd")
if(NOT DEFINED status)
  return()  # no Wine environment: reported as skipped above
endif()
if(NOT status EQUAL 0 OR NOT out MATCHES "\"width\": 4,\n  \"height\": 4,")
  message(FATAL_ERROR "info: status ${status}\n${out}${err}")
endif()

run_strata(import "${CORPUS}/pt_4x4_8bit_rgb.psd" -o "${WORK}/out.pam")
set(header "P7\nWIDTH 4\nHEIGHT 4\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n")
string(LENGTH "${header}" header_length)
math(EXPR expected_size "${header_length} + 4 * 4 * 3")
if(NOT status EQUAL 0 OR NOT EXISTS "${WORK}/out.pam")
  message(FATAL_ERROR "import: status ${status}\n${err}")
endif()
file(SIZE "${WORK}/out.pam" size)
file(READ "${WORK}/out.pam" start LIMIT ${header_length})
if(NOT size EQUAL expected_size OR NOT start STREQUAL header)
  message(FATAL_ERROR "import: ${size} bytes, header:\n${start}")
endif()

run_strata(import "${CORPUS}/INDEX.tsv" -o "${WORK}/refused.pam")
if(NOT status EQUAL 1 OR NOT err MATCHES "^strata: [^\n]*INDEX.tsv: kKivResult_UnsupportedFile \\(0x800412C3\\)\r?\n$"
   OR EXISTS "${WORK}/refused.pam")
  message(FATAL_ERROR "refusal: status ${status}\n${err}")
endif()

run_strata(import "${CORPUS}/pt_4x4_8bit_rgb.psd" -o "${WORK}/out.png")
if(NOT status EQUAL 1 OR NOT err MATCHES "unknown output format \\(use .pam\\)")
  message(FATAL_ERROR "png in the Windows build: status ${status}\n${err}")
endif()
file(REMOVE_RECURSE "${WORK}")
message("strata under Wine: info, import and refusals as expected")
