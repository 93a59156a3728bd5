# SPDX-License-Identifier: GPL-3.0-or-later
# `cpack -G DEB` in a build folder makes brivanselvo_<version>-<release>_<arch>.deb from the
# tree Install.cmake describes. Library dependencies are read from the binaries by
# dpkg-shlibdeps, so they follow whatever the build linked.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brivanselvo)
set(CPACK_PACKAGE_VENDOR "BrivanSelvo development team")
set(CPACK_PACKAGE_CONTACT "BrivanSelvo development team <software@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "administer and score the SELVO personality questionnaire")
set(CPACK_PACKAGE_DESCRIPTION [=[
BrivanSelvo is a desktop program for clinicians and researchers who
administer the SELVO personality questionnaire. The subject answers the 94
items on screen; the program scores the answers dimensionally and
categorically and writes, for each subject, an RTF report, a one-line CSV
data file and a command file for statistics programs (SPSS, PSPP).

The package also holds selvo-batch, which rescores many saved data files
from the command line, BrivanSelvoStudio, which does the same in a window,
and Kalvexlib, a window that checks that the
toolkit's component libraries are installed. The screens and messages are
in Italian.]=])
# Installed under /usr, where Debian packages go, whatever prefix the build was configured
# with.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
