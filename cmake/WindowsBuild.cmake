# What the Windows cross-build brings in place of the Linux packages: GoogleTest built from Debian's
# source, Qt from a static mingw build (optional: only Versend needs it), the data tool built for the
# build machine, and Wine to run the tests (scripts/wine-run.sh in a prefix that scripts/test.sh
# creates).

# Signing of the shipped files when a certificate is given.
include(Signing)

# A COM server DLL's entry points (DllGetClassObject and the like) under their plain names, as
# COM looks them up: 32-bit __stdcall functions are otherwise exported as Name@bytes.
function(qv_plain_dll_exports target)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE "LINKER:--enable-stdcall-fixup" "LINKER:--kill-at")
  endif()
endfunction()

# Tests run under Wine through CTest, in the prefix named by WINEPREFIX.
set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/wine-run.sh")
# Test programs are asked for their test cases when CTest starts (under Wine), not at build time.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

# GoogleTest from Debian's googletest source package.
set(QV_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source (Debian package googletest)")
if(NOT EXISTS "${QV_GOOGLETEST_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "No GoogleTest source in ${QV_GOOGLETEST_SOURCE}: run scripts/setup-windows.sh")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory("${QV_GOOGLETEST_SOURCE}" "${CMAKE_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL SYSTEM)

# nlohmann/json is header-only: its headers alone, not the build machine's include folder.
set(_qv_json_include "${CMAKE_BINARY_DIR}/_deps/nlohmann-json/include")
if(EXISTS /usr/include/nlohmann/json.hpp AND NOT EXISTS "${_qv_json_include}/nlohmann")
  file(MAKE_DIRECTORY "${_qv_json_include}")
  file(CREATE_LINK /usr/include/nlohmann "${_qv_json_include}/nlohmann" SYMBOLIC)
endif()
add_library(nlohmann_json_headers INTERFACE)
target_include_directories(nlohmann_json_headers SYSTEM INTERFACE "${_qv_json_include}")
add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json_headers)

# Qt: $QT_MINGW_PREFIX (or -DQT_MINGW_PREFIX=...), as found by scripts/build-windows.sh.
if(NOT QT_MINGW_PREFIX AND DEFINED ENV{QT_MINGW_PREFIX})
  set(QT_MINGW_PREFIX "$ENV{QT_MINGW_PREFIX}")
endif()
set(QT_MINGW_PREFIX "${QT_MINGW_PREFIX}" CACHE PATH "Static Qt 6 for mingw-w64 (x86_64)")
if(QT_MINGW_PREFIX AND CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64"
   AND EXISTS "${QT_MINGW_PREFIX}/lib/cmake/Qt6/Qt6Config.cmake")
  # The find mode is ONLY: the Qt prefix is a root path, and its CMake folder the prefix path.
  list(PREPEND CMAKE_FIND_ROOT_PATH "${QT_MINGW_PREFIX}")
  list(PREPEND CMAKE_PREFIX_PATH "${QT_MINGW_PREFIX}/lib/cmake")
  # moc, rcc and uic come from the build machine's Qt of the same version.
  set(QT_HOST_PATH "/usr" CACHE PATH "Host Qt prefix (moc, rcc, uic)")
  set(QT_HOST_PATH_CMAKE_DIR "/usr/lib/x86_64-linux-gnu/cmake" CACHE PATH "Host Qt CMake packages")
  find_package(Qt6 COMPONENTS Core Gui Widgets)
endif()
if(NOT Qt6Widgets_FOUND)
  message(STATUS "No static Qt for mingw: Versend.exe is not built (see scripts/build-windows.sh)")
endif()

# The data files, made by the data tool built for this machine.
include(ExternalProject)
ExternalProject_Add(quran_data_host
  SOURCE_DIR "${PROJECT_SOURCE_DIR}/cmake/host-tools"
  BINARY_DIR "${CMAKE_BINARY_DIR}/_deps/host-tools"
  CMAKE_ARGS
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
    -DCMAKE_CXX_COMPILER=${QV_HOST_CXX_COMPILER}
    -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    -DQV_SOURCE_DIR=${PROJECT_SOURCE_DIR}
    -DQV_OUTPUT_DIR=${QV_OUTPUT_DIR}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)
set(QURAN_JSON_DIST "${CMAKE_BINARY_DIR}/_deps/host-tools/_deps/quran-json/package/dist")
add_custom_target(quran_data_files ALL DEPENDS quran_data_host)
add_library(quran_dain_texts INTERFACE)
target_include_directories(quran_dain_texts INTERFACE "${CMAKE_BINARY_DIR}/_deps/host-tools/tools/quran-data/include")
add_dependencies(quran_dain_texts quran_data_files)
