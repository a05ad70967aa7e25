# The add-in's icons: drawn for it as SVG (the *.svg files beside this one, on a 16-unit grid, a
# white sign on a coloured badge so that they read on light and dark backgrounds alike) and
# rendered at build time with rsvg-convert (Debian's librsvg2-bin) at the sizes each surface
# takes: 16 and 32 pixels for Word's ribbon, 16 and 26 for the office's toolbar.
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert renders the add-in's icons: install librsvg2-bin (scripts/setup.sh does)")
endif()
file(GLOB TARVELO_ICON_SOURCES CONFIGURE_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/*.svg")

# tarvelo_render_icons(<folder> <variable> <size>...): renders every icon at every size into
# <folder>/<icon>_<size>.png; the files go to <variable>.
function(tarvelo_render_icons folder variable)
  set(outputs)
  foreach(svg ${TARVELO_ICON_SOURCES})
    get_filename_component(name "${svg}" NAME_WE)
    foreach(size ${ARGN})
      set(png "${folder}/${name}_${size}.png")
      add_custom_command(
        OUTPUT "${png}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${folder}"
        COMMAND "${RSVG_CONVERT}" -w ${size} -h ${size} -o "${png}" "${svg}"
        DEPENDS "${svg}"
        VERBATIM)
      list(APPEND outputs "${png}")
    endforeach()
  endforeach()
  set(${variable} ${outputs} PARENT_SCOPE)
endfunction()

# tarvelo_icon_resources(<variable>): a resource script that puts every icon at 16 and 32 pixels
# into a Windows module as RCDATA "<ICON>_<size>" (upper case): the pixels as straight-alpha
# RGBA, rows from the top (ImageMagick's raw "rgba:" output of the rendered PNG). Its path goes
# to <variable>; a target that compiles it depends on tarvelo_icon_files.
function(tarvelo_icon_resources variable)
  set(folder "${CMAKE_CURRENT_BINARY_DIR}/icons")
  set(script "${folder}/ribbon_icons.rc")
  if(NOT TARGET tarvelo_icon_files)
    find_program(IMAGEMAGICK_CONVERT convert)
    if(NOT IMAGEMAGICK_CONVERT)
      message(FATAL_ERROR "ImageMagick's convert turns the icons into resources: install imagemagick")
    endif()
    tarvelo_render_icons("${folder}" pngs 16 32)
    set(raws)
    set(lines "// Written by CMake (tarvelo/icons/icons.cmake): the add-in's icons for the ribbon.\n")
    foreach(png ${pngs})
      get_filename_component(stem "${png}" NAME_WE)
      set(raw "${folder}/${stem}.rgba")
      add_custom_command(
        OUTPUT "${raw}"
        COMMAND "${IMAGEMAGICK_CONVERT}" "${png}" -depth 8 "rgba:${raw}"
        DEPENDS "${png}"
        VERBATIM)
      list(APPEND raws "${raw}")
      string(TOUPPER "${stem}" resource)
      string(APPEND lines "${resource} RCDATA \"${raw}\"\n")
    endforeach()
    file(WRITE "${script}.new" "${lines}")
    file(COPY_FILE "${script}.new" "${script}" ONLY_IF_DIFFERENT)
    add_custom_target(tarvelo_icon_files DEPENDS ${raws})
    set_source_files_properties("${script}" PROPERTIES OBJECT_DEPENDS "${raws}")
  endif()
  set(${variable} "${script}" PARENT_SCOPE)
endfunction()
