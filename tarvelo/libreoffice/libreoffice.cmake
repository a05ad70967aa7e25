# The add-in as a LibreOffice extension: the component library (exporting only the two component
# entry points) and Tarvelo.oxt with its registration files and the data files beside the library.
set(_lo "${CMAKE_CURRENT_LIST_DIR}")
add_library(tarvelo_office STATIC
  ${_lo}/adapters.cpp
  ${_lo}/choose_dialog.cpp
  ${_lo}/office_host.cpp
  ${_lo}/x11_window.cpp
  ${_lo}/main_thread.cpp
  ${_lo}/toolbar_commands.cpp)
target_link_libraries(tarvelo_office PUBLIC tarvelo_core tarvelo_data tarvelo_clipboard word_libreoffice
                      nlohmann_json::nlohmann_json ${X11_LIBRARIES})
target_include_directories(tarvelo_office PRIVATE ${X11_INCLUDE_DIR})

add_library(tarvelo MODULE ${_lo}/component.cpp)
target_link_libraries(tarvelo PRIVATE tarvelo_office tarvelo_autoreplace)
set_target_properties(tarvelo PROPERTIES
  PREFIX "lib"
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON
  LIBRARY_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/oxt")
# The static libraries' symbols stay inside; every reference must resolve at link time.
target_link_options(tarvelo PRIVATE "LINKER:--exclude-libs,ALL" "LINKER:-z,defs")

# The toolbar (Addons.xcu, and its name and place in WriterWindowState.xcu), written from the
# add-in's commands by a program of this build, and its icons.
add_executable(tarvelo_addons_xcu ${_lo}/addons_xcu.cpp)
target_link_libraries(tarvelo_addons_xcu PRIVATE tarvelo_data)
set(_addons_xcu "${CMAKE_CURRENT_BINARY_DIR}/Addons.xcu")
set(_window_state_xcu "${CMAKE_CURRENT_BINARY_DIR}/WriterWindowState.xcu")
add_custom_command(
  OUTPUT "${_addons_xcu}" "${_window_state_xcu}"
  COMMAND tarvelo_addons_xcu "${_addons_xcu}" "${_window_state_xcu}"
  DEPENDS tarvelo_addons_xcu
  VERBATIM)
set(_toolbar_icons "${CMAKE_CURRENT_BINARY_DIR}/toolbar-icons")
tarvelo_render_icons("${_toolbar_icons}" _toolbar_pngs 16 26)

set(TARVELO_OXT "${QV_OUTPUT_DIR}/Tarvelo.oxt")
set(_ext "${PROJECT_SOURCE_DIR}/tarvelo/extension")
set(_ext_files description.xml description-en.txt META-INF/manifest.xml tarvelo.components
    Jobs.xcu ProtocolHandler.xcu)
list(TRANSFORM _ext_files PREPEND "${_ext}/" OUTPUT_VARIABLE _ext_paths)
add_custom_command(
  OUTPUT "${TARVELO_OXT}"
  COMMAND "${CMAKE_COMMAND}" -DEXTENSION_DIR=${_ext} -DLIBRARY=$<TARGET_FILE:tarvelo>
          "-DTOOLBAR=${_addons_xcu}$<SEMICOLON>${_window_state_xcu}" -DICONS_DIR=${_toolbar_icons}
          -DDATA_DIR=${QV_OUTPUT_DIR} -DSTAGE=${CMAKE_CURRENT_BINARY_DIR}/oxt-stage
          -DOUTPUT=${TARVELO_OXT} -P "${_ext}/pack.cmake"
  DEPENDS tarvelo ${_ext_paths} "${_ext}/pack.cmake" "${_addons_xcu}" "${_window_state_xcu}" ${_toolbar_pngs}
  COMMENT "Packing Tarvelo.oxt"
  VERBATIM)
add_custom_target(tarvelo_oxt ALL DEPENDS "${TARVELO_OXT}")
if(TARGET quran_data_files)
  add_dependencies(tarvelo_oxt quran_data_files)
endif()

# Tests against a private headless office with the extension installed.
if(TARGET word_office_testing)
  add_library(tarvelo_office_testing STATIC ${_lo}/tests/extension_office.cpp)
  target_link_libraries(tarvelo_office_testing PUBLIC word_office_testing)
  target_compile_definitions(tarvelo_office_testing PRIVATE
    TARVELO_OXT_PATH="${TARVELO_OXT}" QV_UNOPKG="${LIBREOFFICE_PROGRAM_DIR}/unopkg")
  add_dependencies(tarvelo_office_testing tarvelo_oxt)

  if(BUILD_TESTING)
    add_executable(tarvelo_extension_test ${_lo}/tests/extension_test.cpp ${_lo}/tests/toolbar_test.cpp)
    target_link_libraries(tarvelo_extension_test PRIVATE tarvelo_office_testing GTest::gtest_main)
    # The office inherits the environment: its per-user setting goes to the build folder.
    # Figures: the add-in at work inside the office (not a test).
    add_executable(tarvelo_extension_benchmark ${_lo}/tests/extension_benchmark.cpp)
    target_link_libraries(tarvelo_extension_benchmark PRIVATE tarvelo_office_testing benchmark::benchmark)
    gtest_discover_tests(tarvelo_extension_test DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/extension-test-config")
  endif()
endif()

# The add-in's logic against a private headless office over its pipe, and its figures.
if(BUILD_TESTING AND TARGET word_office_testing)
  add_executable(tarvelo_office_test ${_lo}/tests/composer_office_test.cpp)
  target_link_libraries(tarvelo_office_test PRIVATE tarvelo_office word_office_testing GTest::gtest_main)
  target_compile_definitions(tarvelo_office_test PRIVATE QV_DATA_DIR="${QV_OUTPUT_DIR}")
  if(TARGET quran_data_files)
    add_dependencies(tarvelo_office_test quran_data_files)
  endif()
  gtest_discover_tests(tarvelo_office_test DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/office-test-config")
endif()
if(TARGET word_office_testing)
  # Figures: the composers on Writer over the pipe (starts its own office; not a test).
  add_executable(tarvelo_composer_benchmark ${_lo}/tests/composer_benchmark.cpp)
  target_link_libraries(tarvelo_composer_benchmark PRIVATE tarvelo_office word_office_testing benchmark::benchmark)
  target_compile_definitions(tarvelo_composer_benchmark PRIVATE QV_DATA_DIR="${QV_OUTPUT_DIR}")
endif()
