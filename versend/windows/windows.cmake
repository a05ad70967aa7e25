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
# The program that is shipped carries no debug information (it would more than double its size).
target_link_options(versend PRIVATE -s)
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
    # The real verse files, for the tests that compare with the text of the verses.
    target_compile_definitions(${name} PRIVATE QV_VERSE_FOLDER="${QV_OUTPUT_DIR}")
    add_dependencies(${name} quran_data_files)
    versend_windows_plugins(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
    gtest_discover_tests(${name}
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      DISCOVERY_TIMEOUT 120)
  endfunction()
endif()

# The window's look under Wine on the test run's X display (Wine's X11 driver): pictures of both
# shapes in versend/window-pictures/. Run by scripts/test-windows.sh in a prefix of its own
# (label wine-display); the other tests run with Wine's null graphics driver.
if(BUILD_TESTING)
  add_executable(versend_look_test "${CMAKE_CURRENT_SOURCE_DIR}/tests/window_look_test.cpp"
                 "${_win}/tests/window_look_main_win.cpp")
  target_link_libraries(versend_look_test PRIVATE versend_windows GTest::gtest)
  target_include_directories(versend_look_test BEFORE PRIVATE "${_win}/tests")
  target_compile_definitions(versend_look_test PRIVATE QV_VERSE_FOLDER="${QV_OUTPUT_DIR}")
  versend_windows_plugins(versend_look_test)
  set_target_properties(versend_look_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  add_dependencies(versend_look_test quran_data_files)
  if(TARGET versend_display_font)
    add_dependencies(versend_look_test versend_display_font)
  endif()
  gtest_discover_tests(versend_look_test PROPERTIES LABELS wine-display DISCOVERY_TIMEOUT 120)
endif()

# Sending into Word end to end under Wine: the window's send path through the Word backend into
# the Word stand-in (beside the test, in the programs' folder).
if(BUILD_TESTING AND TARGET word_standin)
  add_executable(versend_send_word_test "${CMAKE_CURRENT_SOURCE_DIR}/tests/qt_test_main.cpp"
                 "${_win}/tests/send_word_test.cpp")
  target_link_libraries(versend_send_word_test PRIVATE versend_windows word_recording word_standin GTest::gtest)
  target_include_directories(versend_send_word_test BEFORE PRIVATE "${_win}/tests")
  target_compile_definitions(versend_send_word_test PRIVATE QV_VERSE_FOLDER="${QV_OUTPUT_DIR}")
  add_dependencies(versend_send_word_test quran_data_files)
  versend_windows_plugins(versend_send_word_test)
  add_dependencies(versend_send_word_test WordStandin)
  # One Word at a time in the running object table.
  gtest_discover_tests(versend_send_word_test
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" RESOURCE_LOCK WordStandin TIMEOUT 120
    DISCOVERY_TIMEOUT 120)
endif()

# The Windows keyboard layer, under Wine.
if(BUILD_TESTING)
  add_executable(versend_keyboard_layout_test "${_win}/tests/keyboard_layout_test.cpp")
  target_link_libraries(versend_keyboard_layout_test PRIVATE versend_core GTest::gtest_main)
  versend_windows_plugins(versend_keyboard_layout_test)
  set_target_properties(versend_keyboard_layout_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  gtest_discover_tests(versend_keyboard_layout_test DISCOVERY_TIMEOUT 120)
endif()
