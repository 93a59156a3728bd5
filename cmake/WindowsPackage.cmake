# The Windows installation: one folder holding the programs, the DLLs they load (Qt's and the
# GCC runtime's, installed beside them as the LGPL intends, so a user may replace them, and the
# chart library's, with its licence), Qt's platform plugin and its Italian texts. `cpack` in
# the build folder makes BrivanSelvo-<version>-win64.exe with NSIS.
install(TARGETS ${selvo_programs} RUNTIME DESTINATION .)
install(FILES ${SELVO_RUNTIME_DLLS} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/qt.conf DESTINATION .)
install(FILES ${SELVO_QT_PREFIX}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${SELVO_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
install(FILES ${SELVO_QT_TRANSLATIONS} DESTINATION translations)
get_filename_component(selvo_chart_prefix "${SELVO_CHART_DLL}/../.." ABSOLUTE)
install(FILES ${selvo_chart_prefix}/share/doc/qcustomplot/GPL.txt
    DESTINATION licenses RENAME QCustomPlot-GPL.txt)
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
# A Start-menu entry for each window program: executable name, then the entry's name.
set(CPACK_PACKAGE_EXECUTABLES BrivanSelvo BrivanSelvo Kalvexlib Kalvexlib)
set(CPACK_NSIS_PACKAGE_NAME "BrivanSelvo ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "BrivanSelvo")
set(CPACK_NSIS_INSTALLED_ICON_NAME BrivanSelvo.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_MUI_FINISHPAGE_RUN BrivanSelvo.exe)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# NSIS makes a 32-bit installer unless told otherwise; the programs are 64-bit, and so is the
# installer (Debian's NSIS has the amd64 stubs). CPack has no setting for the target, so it
# follows the compressor line of CPack's script.
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma\n  Target amd64-unicode")
include(CPack)
