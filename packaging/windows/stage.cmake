# Stages what the installer carries and writes files.nsh, the install and remove steps for exactly
# those files (cmake -P; run by the target windows_installer at build time).
#   BIN        the 64-bit build's programs folder (Versend.exe, Tarvelo.dll, data, fonts/)
#   X86_DLL    the 32-bit build's Tarvelo.dll
#   STAGE      folder to fill: app/ (the install folder's tree) and user-fonts/
#   NSH        files.nsh to write
#   STRIP64, STRIP32   strip programs for the two add-in libraries (their debug information
#                      is most of their size)
#   DISPLAY_FONT_NAME  the display font's name in the fonts registry
#   SIGN_SETTINGS, SIGN_SCRIPT  signing of the stripped libraries (cmake/Signing.cmake)
cmake_minimum_required(VERSION 3.25)

foreach(_var BIN X86_DLL STAGE NSH STRIP64 STRIP32 DISPLAY_FONT_NAME SIGN_SETTINGS SIGN_SCRIPT)
  if(NOT DEFINED ${_var} OR "${${_var}}" STREQUAL "")
    message(FATAL_ERROR "stage.cmake: ${_var} is not set")
  endif()
endforeach()
if(NOT EXISTS "${X86_DLL}")
  message(FATAL_ERROR "No 32-bit Tarvelo.dll at ${X86_DLL}: build it first (bash scripts/build-windows.sh --x86)")
endif()

file(REMOVE_RECURSE "${STAGE}")
set(_app "${STAGE}/app")

# What each folder of the install holds, relative to BIN.
file(GLOB _translations RELATIVE "${BIN}" "${BIN}/*.dabrel")
set(_addin_data UnicodeArabic.dbu ${_translations})
set(_program_files Versend.exe QuranV.Qur Qurant.Qur AmiriQuran.ttf DATA-LICENSE.txt AmiriQuran-LICENSE.txt)
file(GLOB _glyph_fonts RELATIVE "${BIN}/fonts" "${BIN}/fonts/*.ttf")
list(SORT _glyph_fonts)
if(NOT _glyph_fonts)
  message(FATAL_ERROR "No glyph fonts in ${BIN}/fonts: the add-in's glyph form needs them")
endif()
if(NOT "Arabic.dabrel" IN_LIST _translations)
  message(FATAL_ERROR "No Arabic.dabrel in ${BIN}: the data files are not built")
endif()

set(_install "")
set(_remove "")
# Copies files (relative to `from`) into the staged `folder` and adds their steps.
macro(_stage folder from)
  if("${folder}" STREQUAL "")
    set(_target "$INSTDIR")
  else()
    string(REPLACE "/" "\\" _target "$INSTDIR\\${folder}")
  endif()
  string(REGEX REPLACE "/$" "" _staged "${_app}/${folder}")
  string(APPEND _install "  SetOutPath \"${_target}\"\n")
  foreach(_file ${ARGN})
    if(NOT EXISTS "${from}/${_file}")
      message(FATAL_ERROR "stage.cmake: missing ${from}/${_file}")
    endif()
    file(COPY "${from}/${_file}" DESTINATION "${_app}/${folder}")
    string(APPEND _install "  File \"${_staged}/${_file}\"\n")
    string(APPEND _remove "  Delete \"${_target}\\${_file}\"\n")
  endforeach()
endmacro()

_stage("" "${BIN}" ${_program_files})
_stage("fonts" "${BIN}/fonts" OFL.txt)
_stage("AddIn/x64" "${BIN}" ${_addin_data})
_stage("AddIn/x86" "${BIN}" ${_addin_data})
# The libraries, stripped.
foreach(_pair "x64|${BIN}/Tarvelo.dll|${STRIP64}" "x86|${X86_DLL}|${STRIP32}")
  string(REPLACE "|" ";" _pair "${_pair}")
  list(GET _pair 0 _bits)
  list(GET _pair 1 _dll)
  list(GET _pair 2 _strip)
  execute_process(COMMAND "${_strip}" --strip-all -o "${_app}/AddIn/${_bits}/Tarvelo.dll" "${_dll}"
                  RESULT_VARIABLE _status)
  if(NOT _status EQUAL 0)
    message(FATAL_ERROR "stage.cmake: ${_strip} failed on ${_dll}")
  endif()
  # Stripping drops the built library's signature: the stripped one is signed anew.
  execute_process(COMMAND "${CMAKE_COMMAND}" -DSETTINGS=${SIGN_SETTINGS} -DFILE=${_app}/AddIn/${_bits}/Tarvelo.dll
                          -P "${SIGN_SCRIPT}" RESULT_VARIABLE _status)
  if(NOT _status EQUAL 0)
    message(FATAL_ERROR "stage.cmake: signing the ${_bits} Tarvelo.dll failed")
  endif()
  string(APPEND _install "  SetOutPath \"$INSTDIR\\AddIn\\${_bits}\"\n  File \"${_app}/AddIn/${_bits}/Tarvelo.dll\"\n")
  string(APPEND _remove "  Delete \"$INSTDIR\\AddIn\\${_bits}\\Tarvelo.dll\"\n")
endforeach()
# Folders, deepest first; each goes only when empty.
string(APPEND _remove "  RMDir \"$INSTDIR\\AddIn\\x64\"\n  RMDir \"$INSTDIR\\AddIn\\x86\"\n"
                      "  RMDir \"$INSTDIR\\AddIn\"\n  RMDir \"$INSTDIR\\fonts\"\n")

# Fonts for the user: the glyph fonts (named as their files) and the display font.
set(_fonts_install "")
set(_fonts_remove "")
set(_fonts_bytes 0)
file(MAKE_DIRECTORY "${STAGE}/user-fonts")
foreach(_font ${_glyph_fonts} AmiriQuran.ttf)
  if(_font STREQUAL "AmiriQuran.ttf")
    set(_source "${BIN}/${_font}")
    set(_name "${DISPLAY_FONT_NAME} (TrueType)")
  else()
    set(_source "${BIN}/fonts/${_font}")
    string(REGEX REPLACE "\\.ttf$" "" _name "${_font}")
    set(_name "${_name} (TrueType)")
  endif()
  file(COPY "${_source}" DESTINATION "${STAGE}/user-fonts")
  file(SIZE "${_source}" _size)
  math(EXPR _fonts_bytes "${_fonts_bytes} + ${_size}")
  string(APPEND _fonts_install "  !insertmacro QV_INSTALL_FONT \"${_font}\" \"${_name}\"\n")
  string(APPEND _fonts_remove "  !insertmacro QV_REMOVE_FONT \"${_font}\" \"${_name}\"\n")
endforeach()
math(EXPR _fonts_kb "(${_fonts_bytes} + 1023) / 1024")

file(WRITE "${NSH}"
  "; Written by stage.cmake: the staged files and the steps that install and remove them.\n"
  "!define QV_STAGE \"${STAGE}\"\n"
  "!define QV_FONTS_KB ${_fonts_kb}\n\n"
  "!macro QV_INSTALL_FILES\n${_install}!macroend\n\n"
  "!macro QV_REMOVE_FILES\n${_remove}!macroend\n\n"
  "!macro QV_INSTALL_FONTS\n${_fonts_install}!macroend\n\n"
  "!macro QV_REMOVE_FONTS\n${_fonts_remove}!macroend\n")
