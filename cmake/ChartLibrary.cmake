# SPDX-License-Identifier: GPL-3.0-or-later
# The chart library's header still uses Qt's foreach, which the rest of the program forbids:
# a folder whose sources include it compiles without that ban.
macro(selvo_allow_chart_header)
    get_property(selvo_definitions DIRECTORY PROPERTY COMPILE_DEFINITIONS)
    list(REMOVE_ITEM selvo_definitions QT_NO_FOREACH)
    set_property(DIRECTORY PROPERTY COMPILE_DEFINITIONS "${selvo_definitions}")
endmacro()
