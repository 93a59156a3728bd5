# SPDX-License-Identifier: GPL-3.0-or-later
# The resources Windows reads from a program file: its version details, which follow project(),
# and, for the window programs, the logo as a multi-size icon made at build time from the SVG.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/LogoPng.cmake)
enable_language(RC)
find_program(SELVO_ICOTOOL icotool REQUIRED) # Debian: icoutils

# Windows picks the size it needs: 16-32 px in lists and title bars, 48 px and up in Explorer's
# large views. Sizes to 128 px are stored as bitmaps; the 256 px one as PNG, as Windows expects.
set(SELVO_WINDOWS_ICON "${CMAKE_BINARY_DIR}/windows/BrivanSelvo.ico")
set(selvo_icon_args "")
set(selvo_icon_pngs "")
foreach(size 16 24 32 48 64 128 256)
    set(png "${CMAKE_BINARY_DIR}/windows/icon/${size}.png")
    selvo_render_logo("${png}" ${size})
    list(APPEND selvo_icon_pngs "${png}")
    if(size EQUAL 256)
        list(APPEND selvo_icon_args "--raw=${png}")
    else()
        list(APPEND selvo_icon_args "${png}")
    endif()
endforeach()
add_custom_command(
    OUTPUT "${SELVO_WINDOWS_ICON}"
    COMMAND "${SELVO_ICOTOOL}" --create "--output=${SELVO_WINDOWS_ICON}" ${selvo_icon_args}
    DEPENDS ${selvo_icon_pngs}
    COMMENT "Making the Windows icon"
    VERBATIM)
add_custom_target(selvo_windows_icon DEPENDS "${SELVO_WINDOWS_ICON}")

# Each component of a Windows version is a number, four of them.
set(selvo_version_numbers ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR})
foreach(part PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        list(APPEND selvo_version_numbers 0)
    else()
        list(APPEND selvo_version_numbers ${PROJECT_VERSION_${part}})
    endif()
endforeach()
string(REPLACE ";" "," SELVO_RC_VERSION_COMMAS "${selvo_version_numbers}")

# selvo_windows_resources(TARGET DESCRIPTION [ICON]): compiles the version details (the
# description in Italian, ASCII only) and, with ICON, the logo into TARGET.
function(selvo_windows_resources target description)
    set(SELVO_RC_NAME "${target}")
    set(SELVO_RC_DESCRIPTION "${description}")
    set(SELVO_RC_ICON "")
    set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
    if("ICON" IN_LIST ARGN)
        set(SELVO_RC_ICON "IDI_ICON1 ICON \"${SELVO_WINDOWS_ICON}\"")
        add_dependencies(${target} selvo_windows_icon)
        set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${SELVO_WINDOWS_ICON}")
    endif()
    configure_file("${CMAKE_SOURCE_DIR}/data/windows/version.rc.in" "${rc}" @ONLY)
    target_sources(${target} PRIVATE "${rc}")
endfunction()
