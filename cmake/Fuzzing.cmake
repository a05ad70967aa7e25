# libFuzzer targets. The project compiles with g++; fuzz targets are compiled with clang++
# directly, with the address and undefined-behaviour sanitizers, into <build>/fuzz/<name>_fuzzer
# (scripts/fuzz.sh runs every such binary for longer). Each gets a short CTest run.
#
#   qv_add_fuzzer(<name> SOURCES <files relative to the calling folder>
#                 [SEEDS <folder of seed files> | SEED_PROGRAM <target writing seeds into argv[1]>]
#                 [SECONDS <CTest run, default 10>])
find_program(QV_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)
set(QV_FUZZ_DIR "${CMAKE_BINARY_DIR}/fuzz")

function(qv_add_fuzzer name)
  cmake_parse_arguments(F "" "SEEDS;SEED_PROGRAM;SECONDS" "SOURCES" ${ARGN})
  # Fuzz targets run on the build machine: none in a cross-build.
  if(CMAKE_CROSSCOMPILING OR NOT QV_CLANGXX OR NOT BUILD_TESTING)
    return()
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 10)
  endif()
  set(binary "${QV_FUZZ_DIR}/${name}_fuzzer")
  list(TRANSFORM F_SOURCES PREPEND "${CMAKE_CURRENT_SOURCE_DIR}/" OUTPUT_VARIABLE sources)
  # Rebuilt when a source or a header beside one of them changes.
  set(headers)
  foreach(source IN LISTS sources)
    get_filename_component(folder "${source}" DIRECTORY)
    file(GLOB beside CONFIGURE_DEPENDS "${folder}/*.h")
    list(APPEND headers ${beside})
  endforeach()
  list(REMOVE_DUPLICATES headers)
  add_custom_command(
    OUTPUT "${binary}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${QV_FUZZ_DIR}"
    COMMAND "${QV_CLANGXX}" -std=c++20 -g -O1 -Wall -Wextra
            -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
            "-I${PROJECT_SOURCE_DIR}" ${sources} -o "${binary}"
    DEPENDS ${sources} ${headers}
    COMMENT "Building the fuzz target ${name}_fuzzer with clang++"
    VERBATIM)
  set(stamp "${binary}.seeds")
  if(F_SEED_PROGRAM)
    add_custom_command(
      OUTPUT "${stamp}/.written"
      COMMAND "${CMAKE_COMMAND}" -E rm -rf "${stamp}"
      COMMAND $<TARGET_FILE:${F_SEED_PROGRAM}> "${stamp}"
      COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}/.written"
      DEPENDS ${F_SEED_PROGRAM}
      VERBATIM)
    set(seed_output "${stamp}/.written")
  elseif(F_SEEDS)
    file(GLOB seed_files CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${F_SEEDS}/*")
    add_custom_command(
      OUTPUT "${stamp}/.written"
      COMMAND "${CMAKE_COMMAND}" -E rm -rf "${stamp}"
      COMMAND "${CMAKE_COMMAND}" -E copy_directory "${CMAKE_CURRENT_SOURCE_DIR}/${F_SEEDS}" "${stamp}"
      COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}/.written"
      DEPENDS ${seed_files}
      VERBATIM)
    set(seed_output "${stamp}/.written")
  endif()
  add_custom_target(${name}_fuzzer ALL DEPENDS "${binary}" ${seed_output})
  add_test(NAME ${name}_fuzz
    COMMAND "${CMAKE_COMMAND}" -E env FUZZ_FRESH=1 "FUZZ_WORK=${CMAKE_CURRENT_BINARY_DIR}/fuzz-test"
            bash "${PROJECT_SOURCE_DIR}/scripts/fuzz.sh" ${F_SECONDS} "${binary}")
  set_tests_properties(${name}_fuzz PROPERTIES TIMEOUT 300 LABELS fuzz)
endfunction()
