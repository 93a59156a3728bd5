# SPDX-License-Identifier: GPL-3.0-or-later
# The logo as a PNG of a given size, rendered from the SVG at build time, for every place that
# wants a bitmap (Linux icons, the Windows icon). The PNGs are build products, never committed,
# so they cannot drift from the SVG.
include_guard(GLOBAL)

find_program(SELVO_RSVG_CONVERT rsvg-convert REQUIRED) # Debian: librsvg2-bin
set(SELVO_LOGO_SVG "${CMAKE_CURRENT_LIST_DIR}/../src/menu/ui/resources/logo.svg")
cmake_path(NORMAL_PATH SELVO_LOGO_SVG)

# Adds the rule that writes `output` as a `size` x `size` PNG of the logo. As with any custom
# command, a target of the same directory must list `output` among its sources or DEPENDS.
function(selvo_render_logo output size)
    get_filename_component(folder "${output}" DIRECTORY)
    add_custom_command(
        OUTPUT "${output}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${folder}"
        COMMAND "${SELVO_RSVG_CONVERT}" --width=${size} --height=${size}
                "--output=${output}" "${SELVO_LOGO_SVG}"
        DEPENDS "${SELVO_LOGO_SVG}"
        COMMENT "Rendering the logo at ${size} px"
        VERBATIM)
endfunction()
