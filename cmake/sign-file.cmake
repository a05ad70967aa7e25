# Signs one Windows file in place with osslsigncode (cmake -P; see cmake/Signing.cmake):
#   cmake -DSETTINGS=<build>/signing/settings.cmake -DFILE=<file> -P sign-file.cmake
# Does nothing when the settings name no certificate. The certificate's password comes from the
# environment (QV_SIGN_PASSWORD) and reaches osslsigncode in a file only this user can read.
cmake_minimum_required(VERSION 3.25)
include("${SETTINGS}")
if(PKCS12 STREQUAL "")
  return()
endif()
if(NOT EXISTS "${FILE}")
  message(FATAL_ERROR "sign-file: no file ${FILE}")
endif()
if(NOT DEFINED ENV{QV_SIGN_PASSWORD})
  message(FATAL_ERROR "sign-file: QV_SIGN_PASSWORD is not set (the password of ${PKCS12})")
endif()

string(RANDOM LENGTH 12 _token)
set(_private "${FILE}.signing-${_token}")
file(MAKE_DIRECTORY "${_private}")
file(CHMOD "${_private}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
file(WRITE "${_private}/password" "$ENV{QV_SIGN_PASSWORD}")
set(_timestamp "")
if(NOT TIMESTAMP_URL STREQUAL "")
  set(_timestamp -ts "${TIMESTAMP_URL}")
endif()
execute_process(
  COMMAND "${OSSLSIGNCODE}" sign -pkcs12 "${PKCS12}" -readpass "${_private}/password" -h sha256
          -n "Quran Verses" ${_timestamp} -in "${FILE}" -out "${_private}/signed"
  RESULT_VARIABLE _status OUTPUT_VARIABLE _output ERROR_VARIABLE _output)
if(_status EQUAL 0)
  file(RENAME "${_private}/signed" "${FILE}")
endif()
file(REMOVE_RECURSE "${_private}")
if(NOT _status EQUAL 0)
  message(FATAL_ERROR "sign-file: signing ${FILE} failed:\n${_output}")
endif()
