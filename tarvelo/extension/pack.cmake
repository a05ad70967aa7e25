# Packs the extension: the registration files, the component library and the add-in's data files
# (the glyph-code and Unicode files, every translation, the data licence) in one zip.
# Arguments: EXTENSION_DIR LIBRARY DATA_DIR STAGE OUTPUT.
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}/META-INF")
foreach(f description.xml description-en.txt tarvelo.components Jobs.xcu ProtocolHandler.xcu)
  file(COPY "${EXTENSION_DIR}/${f}" DESTINATION "${STAGE}")
endforeach()
file(COPY "${EXTENSION_DIR}/META-INF/manifest.xml" DESTINATION "${STAGE}/META-INF")
file(COPY "${LIBRARY}" DESTINATION "${STAGE}")
file(GLOB _data "${DATA_DIR}/*.dabrel" "${DATA_DIR}/*.dbu" "${DATA_DIR}/DATA-LICENSE.txt")
if(NOT _data)
  message(FATAL_ERROR "No data files in ${DATA_DIR}")
endif()
file(COPY ${_data} DESTINATION "${STAGE}")
file(GLOB_RECURSE _entries RELATIVE "${STAGE}" "${STAGE}/*")
list(SORT _entries)
file(REMOVE "${OUTPUT}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${OUTPUT}" --format=zip ${_entries}
                WORKING_DIRECTORY "${STAGE}" RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "Packing ${OUTPUT} failed")
endif()
