# The add-in's logic: its life in a host (addin_core.h), connection and menu, the chooser dialog,
# the composers. It reaches the data files, the clipboard and the host through the interfaces of
# addin_services.h.
set(_addin "${CMAKE_CURRENT_LIST_DIR}")
add_library(tarvelo_core STATIC
  ${_addin}/addin_services.cpp
  ${_addin}/module_data.cpp
  ${_addin}/text_util.cpp
  ${_addin}/composer_fragments.cpp
  ${_addin}/composer.cpp
  ${_addin}/frm_choose.cpp
  ${_addin}/connect.cpp
  ${_addin}/addin_core.cpp)
if(WIN32)
  target_sources(tarvelo_core PRIVATE ${_addin}/number_separators_win32.cpp)
else()
  target_sources(tarvelo_core PRIVATE ${_addin}/number_separators_posix.cpp)
endif()
target_link_libraries(tarvelo_core PUBLIC word_interface tarvelo_data tarvelo_autoreplace)

add_executable(tarvelo_core_tests
  ${_addin}/tests/composer_test.cpp
  ${_addin}/tests/frm_choose_test.cpp
  ${_addin}/tests/connect_test.cpp
  ${_addin}/tests/addin_core_test.cpp
  ${_addin}/tests/text_util_test.cpp)
target_link_libraries(tarvelo_core_tests PRIVATE tarvelo_core GTest::gtest_main)
gtest_discover_tests(tarvelo_core_tests)
