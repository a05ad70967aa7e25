# The office's UNO API for C++: headers generated from the office's type libraries with the
# SDK's cppumaker (Debian ships the base headers, not the API ones), and the UNO runtime libraries.
#
# Provides the target LibreOffice::UNO and the variables
#   LIBREOFFICE_PROGRAM_DIR  folder of soffice, unopkg and the type libraries
#   LIBREOFFICE_SDK_DIR      the SDK (cppumaker)

set(LIBREOFFICE_ROOT "/usr/lib/libreoffice" CACHE PATH "LibreOffice installation")
set(LIBREOFFICE_PROGRAM_DIR "${LIBREOFFICE_ROOT}/program")
set(LIBREOFFICE_SDK_DIR "${LIBREOFFICE_ROOT}/sdk")

find_program(CPPUMAKER cppumaker PATHS "${LIBREOFFICE_SDK_DIR}/bin" NO_DEFAULT_PATH REQUIRED)

set(_uno_types "${LIBREOFFICE_PROGRAM_DIR}/types.rdb" "${LIBREOFFICE_PROGRAM_DIR}/types/offapi.rdb")
set(UNO_GENERATED_INCLUDE_DIR "${CMAKE_BINARY_DIR}/uno-headers")
set(_uno_stamp "${UNO_GENERATED_INCLUDE_DIR}/.generated")

if(NOT EXISTS "${_uno_stamp}")
  message(STATUS "Generating the office API headers into ${UNO_GENERATED_INCLUDE_DIR}")
  file(MAKE_DIRECTORY "${UNO_GENERATED_INCLUDE_DIR}")
  execute_process(
    COMMAND "${CPPUMAKER}" -Gc "-O${UNO_GENERATED_INCLUDE_DIR}" ${_uno_types}
    RESULT_VARIABLE _uno_result
    ERROR_VARIABLE _uno_error)
  if(NOT _uno_result EQUAL 0)
    message(FATAL_ERROR "cppumaker failed: ${_uno_error}")
  endif()
  file(WRITE "${_uno_stamp}" "")
endif()

find_library(UNO_CPPUHELPER uno_cppuhelpergcc3 PATHS "${LIBREOFFICE_SDK_DIR}/lib" NO_DEFAULT_PATH REQUIRED)
find_library(UNO_CPPU uno_cppu PATHS "${LIBREOFFICE_SDK_DIR}/lib" NO_DEFAULT_PATH REQUIRED)
find_library(UNO_SALHELPER uno_salhelpergcc3 PATHS "${LIBREOFFICE_SDK_DIR}/lib" NO_DEFAULT_PATH REQUIRED)
find_library(UNO_SAL uno_sal PATHS "${LIBREOFFICE_SDK_DIR}/lib" NO_DEFAULT_PATH REQUIRED)

add_library(LibreOffice_UNO INTERFACE)
add_library(LibreOffice::UNO ALIAS LibreOffice_UNO)
# The generated and SDK headers are not ours: keep their warnings out of our build.
target_include_directories(LibreOffice_UNO SYSTEM INTERFACE
  "${UNO_GENERATED_INCLUDE_DIR}" /usr/include/libreoffice)
target_compile_definitions(LibreOffice_UNO INTERFACE UNX GCC LINUX CPPU_ENV=gcc3)
target_link_libraries(LibreOffice_UNO INTERFACE
  ${UNO_CPPUHELPER} ${UNO_CPPU} ${UNO_SALHELPER} ${UNO_SAL})
target_link_options(LibreOffice_UNO INTERFACE "LINKER:-rpath,${LIBREOFFICE_PROGRAM_DIR}")
