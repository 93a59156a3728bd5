# SPDX-License-Identifier: GPL-3.0-or-later
# The installer script CPack fills in, made from CMake's own with the changes our users need:
# Italian throughout, Start-menu entries that start the programs in the user's own folder, and
# a licence page that asks for no acceptance. CPack looks for NSIS.template.in in
# CPACK_MODULE_PATH before its own. Each change checks that its anchor is still there, so a
# CMake whose template differs fails here instead of building a different installer.
set(selvo_nsis_source "${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in")
set(selvo_nsis_folder "${CMAKE_BINARY_DIR}/nsis")
file(READ "${selvo_nsis_source}" selvo_nsis)

function(selvo_nsis_replace old new)
    string(FIND "${selvo_nsis}" "${old}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${selvo_nsis_source} no longer holds:\n${old}")
    endif()
    string(REPLACE "${old}" "${new}" selvo_nsis "${selvo_nsis}")
    set(selvo_nsis "${selvo_nsis}" PARENT_SCOPE)
endfunction()

# One language: the pages, the buttons and the uninstaller in Italian on every Windows.
string(REGEX REPLACE "\n *!insertmacro MUI_LANGUAGE \"[A-Za-z]+\"[^\n]*" "" selvo_nsis
    "${selvo_nsis}")
selvo_nsis_replace(";Languages\n" ";Languages\n  !insertmacro MUI_LANGUAGE \"Italian\"\n")

selvo_nsis_replace(
    "@CPACK_NSIS_PACKAGE_NAME@ is already installed. $\\n$\\nDo you want to uninstall the old version before installing the new one?"
    "@CPACK_NSIS_PACKAGE_NAME@ è già installato.$\\n$\\nDisinstallare la versione presente prima di installare quella nuova?")
selvo_nsis_replace("\"Uninstall failed.\"" "\"La disinstallazione non è riuscita.\"")
selvo_nsis_replace("\\Uninstall.lnk\"" "\\Disinstalla BrivanSelvo.lnk\"")

# The GPL governs copying and changing the program, not using it: the page shows it and goes
# on with the usual Next button.
selvo_nsis_replace("  @CPACK_NSIS_LICENSE_PAGE@\n" [=[
  !define MUI_LICENSEPAGE_TEXT_BOTTOM "Per usare il programma non occorre accettare la licenza: dice a quali condizioni lo si può copiare, modificare e distribuire."
  !define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
  @CPACK_NSIS_LICENSE_PAGE@
]=])

# A shortcut's working folder is $OUTDIR when it is made, the installation folder here: a
# program started from it would write its files among the program files. The user's own
# folder exists for every user, and Windows fills in the variable when the entry is opened, so
# an entry shared by all users starts each of them in their own folder.
selvo_nsis_replace("@CPACK_NSIS_CREATE_ICONS@\n"
    "  StrCpy $OUTDIR \"%USERPROFILE%\"\n@CPACK_NSIS_CREATE_ICONS@\n")
selvo_nsis_replace("@CPACK_NSIS_UNINSTALL_NAME@.exe\"\n\n  ;Read a value"
    "@CPACK_NSIS_UNINSTALL_NAME@.exe\"\n  StrCpy $OUTDIR \"$INSTDIR\"\n\n  ;Read a value")

file(WRITE "${selvo_nsis_folder}/NSIS.template.in" "${selvo_nsis}")
set(CPACK_MODULE_PATH "${selvo_nsis_folder}")
