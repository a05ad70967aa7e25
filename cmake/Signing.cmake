# Code signing of the shipped Windows files (Versend.exe, Tarvelo.dll, the installer and its
# uninstaller) with osslsigncode, when a code-signing certificate is given in the environment:
#   QV_SIGN_PKCS12         the certificate with its private key, a PKCS#12 file (read when the
#                          build is configured)
#   QV_SIGN_PASSWORD       its password (read only while the build signs; never stored)
#   QV_SIGN_TIMESTAMP_URL  optional: an RFC 3161 timestamp server, so that signatures stay valid
#                          after the certificate expires
# Without a certificate the files stay unsigned, and the configure step says so in one line.
#
# One command signs a file in place: QV_SIGN_COMMAND followed by -DFILE=<file> -P "${QV_SIGN_SCRIPT}"
# (a cmake -P call that does nothing when no certificate is given). qv_sign_target(target) runs it
# after each link of a target; the installer's stage script and makensis run it on the files they
# make. A change of certificate rewrites the settings file, which links the signed targets again.
set(QV_SIGN_PKCS12 "$ENV{QV_SIGN_PKCS12}")
set(QV_SIGN_TIMESTAMP_URL "$ENV{QV_SIGN_TIMESTAMP_URL}")
set(QV_SIGN_SETTINGS "${CMAKE_BINARY_DIR}/signing/settings.cmake")
set(QV_SIGN_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/sign-file.cmake")

if(QV_SIGN_PKCS12)
  get_filename_component(QV_SIGN_PKCS12 "${QV_SIGN_PKCS12}" ABSOLUTE)
  if(NOT EXISTS "${QV_SIGN_PKCS12}")
    message(FATAL_ERROR "QV_SIGN_PKCS12: no certificate at ${QV_SIGN_PKCS12}")
  endif()
  find_program(QV_OSSLSIGNCODE osslsigncode)
  if(NOT QV_OSSLSIGNCODE)
    message(FATAL_ERROR "A code-signing certificate is given but osslsigncode is missing (run scripts/setup-windows.sh)")
  endif()
  file(SHA256 "${QV_SIGN_PKCS12}" _qv_certificate_hash)
  message(STATUS "Windows files: signed with ${QV_SIGN_PKCS12}")
else()
  set(QV_OSSLSIGNCODE "")
  set(_qv_certificate_hash "")
  message(STATUS "Windows files: not signed (no code-signing certificate in QV_SIGN_PKCS12)")
endif()
# Written only when it changes, so that only a new certificate (or none) signs the files anew.
file(CONFIGURE OUTPUT "${QV_SIGN_SETTINGS}" CONTENT
"# Written by cmake/Signing.cmake.
set(PKCS12 \"${QV_SIGN_PKCS12}\")
set(PKCS12_SHA256 \"${_qv_certificate_hash}\")
set(TIMESTAMP_URL \"${QV_SIGN_TIMESTAMP_URL}\")
set(OSSLSIGNCODE \"${QV_OSSLSIGNCODE}\")
")
set(QV_SIGN_COMMAND "${CMAKE_COMMAND}" "-DSETTINGS=${QV_SIGN_SETTINGS}")

# Signs the file of `target` after each link.
function(qv_sign_target target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${QV_SIGN_COMMAND} "-DFILE=$<TARGET_FILE:${target}>" -P "${QV_SIGN_SCRIPT}"
    VERBATIM)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${QV_SIGN_SETTINGS}")
endfunction()
