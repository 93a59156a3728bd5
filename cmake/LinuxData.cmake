# SPDX-License-Identifier: GPL-3.0-or-later
# The files a Linux desktop and package tools look for besides the programs. The generated
# ones (PNG icons, compressed pages) are made by the selvo_linux_data target in every build,
# so `cmake --install` never finds them missing.
include(${CMAKE_CURRENT_LIST_DIR}/LogoPng.cmake)
find_program(SELVO_GZIP gzip REQUIRED)

set(selvo_out "${CMAKE_CURRENT_BINARY_DIR}/linux")
set(selvo_doc_dir "${CMAKE_INSTALL_DATADIR}/doc/brivanselvo")
set(selvo_generated "")

# Debian wants manual pages and changelogs compressed; -n leaves out the name and time, so
# the same source always gives the same bytes.
function(selvo_gzip source output)
    add_custom_command(
        OUTPUT "${output}"
        COMMAND sh -c "\"$1\" -9n -c \"$2\" > \"$3\"" sh "${SELVO_GZIP}" "${source}" "${output}"
        DEPENDS "${source}"
        COMMENT "Compressing ${source}"
        VERBATIM)
endfunction()
file(MAKE_DIRECTORY "${selvo_out}/man" "${selvo_out}/doc")

install(FILES
    "${SELVO_LINUX_DATA}/${SELVO_APP_ID}.desktop"
    "${SELVO_LINUX_DATA}/it.brivanselvo.Studio.desktop"
    "${SELVO_LINUX_DATA}/it.brivanselvo.Kalvexlib.desktop"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${SELVO_LINUX_DATA}/${SELVO_APP_ID}.metainfo.xml"
    "${SELVO_LINUX_DATA}/it.brivanselvo.Studio.metainfo.xml"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The SVG for desktops that scale it, a PNG per size for those that want bitmaps.
install(FILES "${SELVO_LOGO_SVG}"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME ${SELVO_APP_ID}.svg)
foreach(size 48 128 256)
    set(png "${selvo_out}/icons/${size}x${size}/${SELVO_APP_ID}.png")
    selvo_render_logo("${png}" ${size})
    list(APPEND selvo_generated "${png}")
    install(FILES "${png}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

foreach(page BrivanSelvo.1 BrivanSelvoStudio.1 Kalvexlib.1 selvo-batch.1)
    selvo_gzip("${SELVO_LINUX_DATA}/man/${page}" "${selvo_out}/man/${page}.gz")
    list(APPEND selvo_generated "${selvo_out}/man/${page}.gz")
    install(FILES "${selvo_out}/man/${page}.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

selvo_gzip("${SELVO_LINUX_DATA}/deb/changelog.Debian" "${selvo_out}/doc/changelog.Debian.gz")
list(APPEND selvo_generated "${selvo_out}/doc/changelog.Debian.gz")
install(FILES "${SELVO_LINUX_DATA}/deb/copyright" "${selvo_out}/doc/changelog.Debian.gz"
    DESTINATION ${selvo_doc_dir})

install(FILES "${SELVO_LINUX_DATA}/deb/lintian-overrides"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME brivanselvo)

add_custom_target(selvo_linux_data ALL DEPENDS ${selvo_generated})

# The installed tree checked as a whole in every `make test`: a file left out, a wrong mode,
# a stale version or an invalid entry shows here before anyone builds a package.
add_test(NAME InstalledTree
    COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/../tests/packaging/check-install-tree.sh"
            "${CMAKE_BINARY_DIR}" "${PROJECT_VERSION}")
set_tests_properties(InstalledTree PROPERTIES LABELS packaging)
