# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build, cross-compiled with MinGW-w64 and tested under Wine.

# Debian ships GoogleTest as source; it is built here with the same compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main gmock gmock_main)
    target_compile_options(${target} PRIVATE -w)
endforeach()

# UTF-8 source texts stay UTF-8 in the program.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
# Version details and icons of the programs (selvo_windows_resources).
include(${CMAKE_CURRENT_LIST_DIR}/WindowsResources.cmake)

# Programs and tests find their DLLs beside them, as an installed program does: Qt's, its
# platform plugins, the chart library's, and the GCC runtime.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_target_property(SELVO_CHART_DLL QCustomPlotQt6::QCustomPlotQt6 IMPORTED_LOCATION_RELEASE)
get_filename_component(SELVO_QT_BIN "${qt_core_dll}" DIRECTORY)
get_filename_component(SELVO_QT_PREFIX "${SELVO_QT_BIN}" DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE stdcxx_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
    OUTPUT_VARIABLE gcc_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
set(SELVO_RUNTIME_DLLS
    ${stdcxx_dll} ${gcc_dll} /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll
    ${SELVO_QT_BIN}/Qt6Core.dll ${SELVO_QT_BIN}/Qt6Gui.dll ${SELVO_QT_BIN}/Qt6Widgets.dll
    ${SELVO_QT_BIN}/Qt6PrintSupport.dll ${SELVO_CHART_DLL})
set(SELVO_PLATFORM_PLUGINS
    ${SELVO_QT_PREFIX}/plugins/platforms/qwindows.dll
    ${SELVO_QT_PREFIX}/plugins/platforms/qoffscreen.dll)
file(COPY ${SELVO_RUNTIME_DLLS} ${SELVO_QT_BIN}/Qt6Test.dll
    DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
file(COPY ${SELVO_PLATFORM_PLUGINS} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/platforms)
file(COPY ${SELVO_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll
    DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/styles)

# Qt reads its folders from qt.conf beside the program: plugins and Italian texts are in the
# program's own folder, wherever it is installed.
file(WRITE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/qt.conf
    "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n")
# The Italian texts are data, the same on every system: those of Debian's Linux package.
set(SELVO_QT_TRANSLATIONS
    /usr/share/qt6/translations/qtbase_it.qm)
file(COPY ${SELVO_QT_TRANSLATIONS} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/translations)

# Tests run under Wine, in a prefix of this build's own. Wine passes no QT_* variable to a
# Windows program, so Qt's settings are given with the WINEQT_ prefix.
set(SELVO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${SELVO_WINEPREFIX})
set(SELVO_GUI_TEST_ENVIRONMENT
    "WINEQT_QPA_PLATFORM=offscreen;WINEQT_QPA_FONTDIR=Z:\\\\usr\\\\share\\\\fonts\\\\truetype\\\\dejavu")
