# Installing Velmora like any Linux desktop program: the three programs, the
# desktop entry, the icon in the hicolor theme, the AppStream metainfo, the
# manual pages and the Debian documents, and the .deb that CPack builds from
# exactly these install rules. Only the desktop build has anything to install.
if(NOT TARGET velmora OR NOT TARGET velmora-instrument OR NOT TARGET velmora-capture
   OR NOT TARGET velmora-bode)
  return()
endif()

include(GNUInstallDirs)

# One reverse-DNS id names the desktop entry, the metainfo and the icon, so
# that menus, software centres and Wayland shells tie the three together.
set(VELMORA_APP_ID org.velmora.Velmora)
# The day the version in project() was released: change the two together.
set(VELMORA_RELEASE_DATE 2026-12-09)
set(VELMORA_MAINTAINER "The Velmora developers <dev@velmora.org>")
set(VELMORA_ICON_SIZES 16 22 24 32 48 64 128 256)

set(packaging_src ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_out ${PROJECT_BINARY_DIR}/packaging)
set(icon_svg ${PROJECT_SOURCE_DIR}/assets/velmora.svg)
set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/velmora)

# The changelog's time stamp and the manual pages' month, in English whatever
# the builder's locale.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C date -u -R -d ${VELMORA_RELEASE_DATE}
                OUTPUT_VARIABLE VELMORA_RELEASE_STAMP OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C date -u "+%B %Y" -d ${VELMORA_RELEASE_DATE}
                OUTPUT_VARIABLE VELMORA_RELEASE_MONTH OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(GZIP gzip REQUIRED)

# Bitmaps for desktops and menus that do not draw SVG at every size.
set(generated)
foreach(size ${VELMORA_ICON_SIZES})
  set(dir ${packaging_out}/icons/${size}x${size})
  add_custom_command(
    OUTPUT ${dir}/${VELMORA_APP_ID}.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${dir}/${VELMORA_APP_ID}.png ${icon_svg}
    DEPENDS ${icon_svg}
    COMMENT "Rendering the ${size} px icon" VERBATIM)
  list(APPEND generated ${dir}/${VELMORA_APP_ID}.png)
  install(FILES ${dir}/${VELMORA_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VELMORA_APP_ID}.svg)

# Manual pages and the Debian changelog carry the version and are installed
# compressed (-n: no name or time in the header, so rebuilds are identical).
# The version has no Debian revision, so Debian tools read the package as
# native, whose changelog is called changelog.gz.
configure_file(${packaging_src}/velmora.1 ${packaging_out}/velmora.1 @ONLY)
configure_file(${packaging_src}/velmora-instrument.1 ${packaging_out}/velmora-instrument.1 @ONLY)
configure_file(${packaging_src}/velmora-capture.1 ${packaging_out}/velmora-capture.1 @ONLY)
configure_file(${packaging_src}/velmora-bode.1 ${packaging_out}/velmora-bode.1 @ONLY)
configure_file(${packaging_src}/changelog ${packaging_out}/changelog @ONLY)
foreach(file velmora.1 velmora-instrument.1 velmora-capture.1 velmora-bode.1 changelog)
  add_custom_command(
    OUTPUT ${packaging_out}/${file}.gz
    COMMAND ${GZIP} -9nkf ${packaging_out}/${file}
    DEPENDS ${packaging_out}/${file} VERBATIM)
  list(APPEND generated ${packaging_out}/${file}.gz)
endforeach()
add_custom_target(velmora_packaging_files ALL DEPENDS ${generated})

configure_file(${packaging_src}/${VELMORA_APP_ID}.metainfo.xml.in
               ${packaging_out}/${VELMORA_APP_ID}.metainfo.xml @ONLY)

install(TARGETS velmora velmora-instrument velmora-capture velmora-bode
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packaging_src}/${VELMORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging_out}/${VELMORA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging_out}/velmora.1.gz ${packaging_out}/velmora-instrument.1.gz
              ${packaging_out}/velmora-capture.1.gz ${packaging_out}/velmora-bode.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging_src}/copyright ${packaging_out}/changelog.gz DESTINATION ${doc_dir})

# The Debian package. Its dependencies are what dpkg-shlibdeps finds the
# installed binaries linked against; nothing from the build tree goes in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Velmora developers")
set(CPACK_PACKAGE_CONTACT ${VELMORA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-channel oscilloscope and signal generator front end")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora is the desktop front end of a small two-channel oscilloscope with a
two-channel signal generator on a serial port. One window sets the
oscilloscope (sweep or XY mode, probe and range per channel, trigger source,
slope, level and position, Hold), shows each channel's time trace and
spectrum, and sets each generator channel's waveform, frequency and
amplitude.

The package also holds velmora-capture, which writes the instrument's
frames, spectra and measurements to CSV files for scripts and data logging,
velmora-bode, which measures a circuit's frequency response (gain and phase,
a Bode plot) with the instrument's generator and both channels,
and velmora-instrument, a virtual instrument on a pseudo-terminal for trying
the programs without hardware.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
# Debian's directories are 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELMORA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://velmora.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
