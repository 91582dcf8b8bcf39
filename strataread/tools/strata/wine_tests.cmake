# Tests of the Windows build: the import table of the DLL and the program,
# and strata.exe under Wine compared with the native strata on documents of
# the shared corpus (label wine; skipped without a Wine environment, the
# corpus or the native build).
set(STRATA_NATIVE_BUILD_DIR "${CMAKE_SOURCE_DIR}/build/native" CACHE PATH
    "Build directory of the native preset, whose strata the Windows strata is compared with")
set(STRATA_CORPUS "${CMAKE_SOURCE_DIR}/../shared/psd-corpus")

# Neither file may need a DLL beside the system's own.
foreach(binary strataread strata)
  add_test(NAME strataread_imports.${binary}
    COMMAND ${CMAKE_COMMAND} -DBINARY=$<TARGET_FILE:${binary}> -DTOOL=${CMAKE_OBJDUMP}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/check_imports.cmake)
  set_tests_properties(strataread_imports.${binary} PROPERTIES
    LABELS win32
    PASS_REGULAR_EXPRESSION "imports only system DLLs")
endforeach()

# strata_wine_compare(DOCUMENT CASE...): one test per document; a case is
# ok:|fails: followed by strata's arguments after the document, ":"
# between them (see wine_strata_test.cmake).
function(strata_wine_compare document)
  string(REGEX REPLACE "\\.[^.]*$" "" name "${document}")
  string(JOIN "|" cases ${ARGN})
  add_test(NAME wine.strata_compare.${name}
    COMMAND ${CMAKE_COMMAND} "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}" -DSTRATA=$<TARGET_FILE:strata>
            "-DNATIVE=${STRATA_NATIVE_BUILD_DIR}/strataread/tools/strata/strata"
            "-DDOCUMENT=${STRATA_CORPUS}/${document}" "-DCASES=${cases}"
            -DWORK=${CMAKE_CURRENT_BINARY_DIR}/wine-compare/${name}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/wine_strata_test.cmake)
  set_tests_properties(wine.strata_compare.${name} PROPERTIES
    LABELS wine
    TIMEOUT 300
    SKIP_REGULAR_EXPRESSION "skipped"
    PASS_REGULAR_EXPRESSION "strata under Wine: the same as native on every case")
endfunction()

# Every colour mode and depth that imports, each merged image in its own
# layout and converted, layers with transparency, masks (relative, inverted,
# larger than the layer, partly outside the document) and empty ones, a
# negative layer count, guides and names outside ASCII, and refusals.
strata_wine_compare(pt_4x4_8bit_rgb.psd ok:info ok:import fails:import:--layer:0 ok:import:--layer:1
  fails:import:--layer:9 fails:import:--layout:cmyk no-png)
strata_wine_compare(pt_4x4_8bit_rgba.psd ok:info ok:import ok:import:--layout:rgb ok:import:--layer:1)
strata_wine_compare(pt_4x4_8bit_cmyk.psd ok:info ok:import ok:import:--layout:rgb ok:import:--layer:1
  ok:import:--layer:1:--layout:rgb)
strata_wine_compare(pt_4x4_16bit_rgb.psd ok:info ok:import ok:import:--layout:rgb)
strata_wine_compare(pt_4x4_16bit_grayscale.psd ok:info ok:import ok:import:--layout:rgb)
strata_wine_compare(pt_4x4_8bit_duotone.psd ok:info ok:import ok:import:--layer:1)
strata_wine_compare(ag_bitmap-rle.psd ok:info ok:import ok:import:--layout:rgb fails:import:--layout:bitmap)
strata_wine_compare(ag_indexed.psd ok:info ok:import ok:import:--layout:rgb)
strata_wine_compare(ag_grayscale-alpha.psd ok:info ok:import ok:import:--layer:0 ok:import:--layer:0:--layout:rgb)
strata_wine_compare(ag_layer-mask.psd ok:info ok:import ok:import:--layer:0 ok:import:--layer:0:--layout:rgb)
strata_wine_compare(pil_negative_layer_count.psd ok:info ok:import ok:import:--layer:0 ok:import:--layer:1)
strata_wine_compare(pt_masks.psd ok:info ok:import:--layer:3 ok:import:--layer:8 ok:import:--layer:20
  fails:import:--layer:2)
strata_wine_compare(pt_layer_mask_data.psd ok:info ok:import:--layer:1 ok:import:--layer:4)
strata_wine_compare(pt_cmyk-spot.psd ok:info ok:import ok:import:--layout:rgba)
strata_wine_compare(ag_guides.psd ok:info)
strata_wine_compare(pt_layer-name-emoji.psd ok:info ok:import:--layer:0)
strata_wine_compare(pt_4x4_8bit_lab.psd fails:info fails:import)
strata_wine_compare(pt_1layer.psb fails:info fails:import)
strata_wine_compare(pil_combined_larger_than_size.psd fails:import)
strata_wine_compare(INDEX.tsv fails:info fails:import)
