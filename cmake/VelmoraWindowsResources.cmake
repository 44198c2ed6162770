# What Explorer shows of every Windows program (its icon, and the Details
# tab of its properties: company, description, versions, copyright, names)
# and how Windows starts it (its manifest), in one place, from project().
#
#   velmora_windows_resources(<target> "<FileDescription>")
#
# gives the executable <target> its icon, version record and manifest: a GUI
# program (WIN32_EXECUTABLE) the window's manifest (common controls 6,
# per-monitor DPI), a console program the command's (UTF-8 as its active
# code page, where Windows has it: arguments, file names and console text
# then come as UTF-8). Both run as the user who starts them and name the
# Windows versions they were tested on. Elsewhere than on Windows the call
# does nothing, so a program's CMakeLists calls it without a condition.
set(VELMORA_COMPANY "The Velmora developers")
set(VELMORA_COPYRIGHT "Copyright (c) 2026 The Velmora developers")  # as LICENSE says it

if(NOT WIN32)
  function(velmora_windows_resources target description)
  endfunction()
  return()
endif()

enable_language(RC)
set(VELMORA_WINDOWS_TEMPLATES ${PROJECT_SOURCE_DIR}/packaging/windows)

# The icon is made from the project's SVG at build time: one image per usual
# size, the largest stored as PNG as Windows expects it. One icon for all
# programs, built once (target velmora_icon).
find_program(VELMORA_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(VELMORA_ICOTOOL icotool REQUIRED)
set(VELMORA_ICON_FILE ${PROJECT_BINARY_DIR}/icon/velmora.ico)
block()
  set(svg ${PROJECT_SOURCE_DIR}/assets/velmora.svg)
  set(icon_args)
  set(pngs)
  foreach(size 16 24 32 48 64 256)
    set(png ${PROJECT_BINARY_DIR}/icon/velmora-${size}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icon
      COMMAND ${VELMORA_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg}
      DEPENDS ${svg} VERBATIM)
    list(APPEND pngs ${png})
    if(size EQUAL 256)
      list(APPEND icon_args -r ${png})
    else()
      list(APPEND icon_args ${png})
    endif()
  endforeach()
  add_custom_command(OUTPUT ${VELMORA_ICON_FILE}
    COMMAND ${VELMORA_ICOTOOL} -c -o ${VELMORA_ICON_FILE} ${icon_args}
    DEPENDS ${pngs} VERBATIM)
endblock()
add_custom_target(velmora_icon DEPENDS ${VELMORA_ICON_FILE})

# Windows reads a version as four numbers; project() may give fewer.
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    set(VELMORA_VERSION_${part} 0)
  else()
    set(VELMORA_VERSION_${part} ${PROJECT_VERSION_${part}})
  endif()
endforeach()
set(VELMORA_VERSION4
    ${VELMORA_VERSION_MAJOR}.${VELMORA_VERSION_MINOR}.${VELMORA_VERSION_PATCH}.${VELMORA_VERSION_TWEAK})
# The icon's resource id, which the window class loads.
set(VELMORA_RESOURCE_IDS ${PROJECT_SOURCE_DIR}/src/gui/win32/VelmoraResources.h)

function(velmora_windows_resources target description)
  get_target_property(gui ${target} WIN32_EXECUTABLE)
  if(gui)
    set(kind window)
  else()
    set(kind console)
  endif()
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(VELMORA_PROGRAM ${name})
  set(VELMORA_FILENAME ${name}${CMAKE_EXECUTABLE_SUFFIX})
  set(VELMORA_DESCRIPTION ${description})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/resources/${target})
  set(VELMORA_MANIFEST_FILE ${out}/${name}.manifest)
  configure_file(${VELMORA_WINDOWS_TEMPLATES}/${kind}.manifest.in ${VELMORA_MANIFEST_FILE} @ONLY)
  configure_file(${VELMORA_WINDOWS_TEMPLATES}/program.rc.in ${out}/${name}.rc @ONLY)
  target_sources(${target} PRIVATE ${out}/${name}.rc)
  set_source_files_properties(${out}/${name}.rc TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${VELMORA_ICON_FILE};${VELMORA_MANIFEST_FILE};${VELMORA_RESOURCE_IDS}")
  add_dependencies(${target} velmora_icon)
endfunction()
