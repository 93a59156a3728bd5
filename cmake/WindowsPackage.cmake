# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installation: one folder holding the programs, the DLLs they load (Qt's and the
# GCC runtime's, installed beside them as the LGPL intends, so a user may replace them, and the
# chart library's, with its licence), Qt's platform plugin and its Italian texts. `cpack` in
# the build folder makes BrivanSelvo-<version>-win64.exe with NSIS.
install(TARGETS ${selvo_programs} RUNTIME DESTINATION .)
install(FILES ${SELVO_RUNTIME_DLLS} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/qt.conf DESTINATION .)
install(FILES ${SELVO_QT_PREFIX}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${SELVO_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
install(FILES ${SELVO_QT_TRANSLATIONS} DESTINATION translations)

# The licences of everything installed, in `licenses`: BrivanSelvo's and the chart library's
# (GPL), Qt's (LGPL, and Debian's record of the libraries built into Qt's DLLs, from the same
# source), and those of the GCC runtime DLLs (GPL with the runtime library exception) and of
# MinGW-w64 (its thread DLL and the start-up code in every program).
get_filename_component(selvo_chart_prefix "${SELVO_CHART_DLL}/../.." ABSOLUTE)
set(selvo_gcc_copyright /usr/share/doc/gcc-mingw-w64-base/copyright)
file(READ ${selvo_gcc_copyright} selvo_gcc_terms)
string(REGEX MATCH "GCC RUNTIME LIBRARY EXCEPTION\n.*requirements of the license of GCC\\.\n"
    selvo_runtime_exception "${selvo_gcc_terms}")
if(NOT selvo_runtime_exception)
    message(FATAL_ERROR "${selvo_gcc_copyright} holds no GCC runtime library exception")
endif()
set(selvo_runtime_exception_txt ${CMAKE_BINARY_DIR}/licenses/GCC-runtime-library-exception.txt)
file(WRITE ${selvo_runtime_exception_txt} "${selvo_runtime_exception}")
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION licenses RENAME BrivanSelvo-GPL.txt)
install(FILES ${selvo_chart_prefix}/share/doc/qcustomplot/GPL.txt
    DESTINATION licenses RENAME QCustomPlot-GPL.txt)
install(FILES /usr/share/common-licenses/LGPL-3 DESTINATION licenses RENAME Qt-LGPL-3.txt)
install(FILES /usr/share/doc/libqt6core6/copyright DESTINATION licenses RENAME Qt-copyright.txt)
install(FILES ${selvo_runtime_exception_txt} DESTINATION licenses)
install(FILES /usr/share/doc/mingw-w64-x86-64-dev/copyright
    DESTINATION licenses RENAME MinGW-w64-copyright.txt)
# ReadStat is linked in statically: its MIT licence asks for its notice beside the programs.
get_filename_component(selvo_readstat_prefix "${READSTAT_INCLUDE_DIR}/.." ABSOLUTE)
install(FILES ${selvo_readstat_prefix}/share/doc/readstat/LICENSE
    DESTINATION licenses RENAME ReadStat-LICENSE.txt)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME BrivanSelvo)
set(CPACK_PACKAGE_VENDOR "BrivanSelvo")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Somministrazione e valutazione del questionario di personalità SELVO")
set(CPACK_PACKAGE_FILE_NAME BrivanSelvo-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY BrivanSelvo)
set(CPACK_STRIP_FILES ON)
# The licence page shows the GPL.
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/LICENSE")
# A Start-menu entry for each window program: executable name, then the entry's name. The
# installer script (WindowsInstallerTemplate.cmake) gives them the user's folder to start in.
set(CPACK_PACKAGE_EXECUTABLES
    BrivanSelvo BrivanSelvo BrivanSelvoStudio "BrivanSelvo - Studio" Kalvexlib Kalvexlib)
set(CPACK_NSIS_PACKAGE_NAME "BrivanSelvo ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "BrivanSelvo")
set(CPACK_NSIS_INSTALLED_ICON_NAME BrivanSelvo.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# The installer's and uninstaller's own icon is the logo too.
set(CPACK_NSIS_MUI_ICON "${SELVO_WINDOWS_ICON}")
set(CPACK_NSIS_MUI_UNIICON "${SELVO_WINDOWS_ICON}")
# No "start BrivanSelvo" box on the last page: the installer runs as administrator, and so would
# the program it started, in the installation folder.
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# NSIS makes a 32-bit installer unless told otherwise; the programs are 64-bit, and so is the
# installer (Debian's NSIS has the amd64 stubs). CPack has no setting for the target, so it
# follows the compressor line of CPack's script.
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma\n  Target amd64-unicode")
include(${CMAKE_CURRENT_LIST_DIR}/WindowsInstallerTemplate.cmake)
include(CPack)
