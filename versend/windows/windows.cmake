# Versend on Windows: Versend.exe (static Qt, Windows resources, the Word backend when it is
# built) and the window's test programs, which run under Wine.
set(_win "${CMAKE_CURRENT_LIST_DIR}")

# The platform plugins that are not linked in by themselves: offscreen for the tests and for
# pictures without a display.
function(versend_windows_plugins target)
  qt_import_plugins(${target} INCLUDE Qt6::QOffscreenIntegrationPlugin)
endfunction()

# The window's Windows services that are not Qt's (keyboard_layout_win.cpp is part of versend_core).
add_library(versend_windows STATIC "${_win}/display_font.cpp")
target_link_libraries(versend_windows PUBLIC versend_core)
if(TARGET word_com)
  target_sources(versend_windows PRIVATE "${_win}/word_connection.cpp")
  target_link_libraries(versend_windows PUBLIC word_com)
else()
  target_sources(versend_windows PRIVATE "${_win}/word_connection_absent.cpp")
endif()

add_executable(versend WIN32 "${_win}/main_win.cpp" "${_win}/versend.rc")
set_target_properties(versend PROPERTIES OUTPUT_NAME Versend)
target_link_libraries(versend PRIVATE versend_windows)
versend_windows_plugins(versend)

# The display font and its licence beside the program.
set(QV_DISPLAY_FONT "/usr/share/fonts/opentype/fonts-hosny-amiri/AmiriQuran.ttf" CACHE FILEPATH
    "Amiri Quran (Debian package fonts-hosny-amiri), shipped beside Versend.exe")
if(EXISTS "${QV_DISPLAY_FONT}")
  add_custom_command(
    OUTPUT "${QV_OUTPUT_DIR}/AmiriQuran.ttf" "${QV_OUTPUT_DIR}/AmiriQuran-LICENSE.txt"
    COMMAND ${CMAKE_COMMAND} -E copy "${QV_DISPLAY_FONT}" "${QV_OUTPUT_DIR}/AmiriQuran.ttf"
    COMMAND ${CMAKE_COMMAND} -E copy "/usr/share/doc/fonts-hosny-amiri/copyright" "${QV_OUTPUT_DIR}/AmiriQuran-LICENSE.txt"
    DEPENDS "${QV_DISPLAY_FONT}"
    COMMENT "Shipping the display font beside Versend.exe"
    VERBATIM)
  add_custom_target(versend_display_font ALL DEPENDS "${QV_OUTPUT_DIR}/AmiriQuran.ttf")
  add_dependencies(versend versend_display_font)
else()
  message(WARNING "No ${QV_DISPLAY_FONT}: Versend.exe is built without its display font (install fonts-hosny-amiri)")
endif()

if(BUILD_TESTING)
  # A test program of the window: offscreen Qt under Wine, input through windows/tests/QTest.
  function(versend_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE versend_core GTest::gtest GTest::gmock)
    target_include_directories(${name} BEFORE PRIVATE "${_win}/tests")
    versend_windows_plugins(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
    gtest_discover_tests(${name}
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      DISCOVERY_TIMEOUT 120)
  endfunction()
endif()
