# The verse and translation source, fetched (pinned and integrity-checked) into the build tree.
# Sets QURAN_JSON_DIST to its dist/ folder.
set(QURAN_JSON_DIR "${CMAKE_BINARY_DIR}/_deps/quran-json")
execute_process(
  COMMAND bash "${PROJECT_SOURCE_DIR}/scripts/fetch-quran-json.sh" "${QURAN_JSON_DIR}"
  RESULT_VARIABLE _qj_result)
if(NOT _qj_result EQUAL 0)
  message(FATAL_ERROR "Could not fetch the quran-json package (see above)")
endif()
set(QURAN_JSON_DIST "${QURAN_JSON_DIR}/package/dist")
