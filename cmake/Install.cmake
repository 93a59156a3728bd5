# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where: the programs and, on Linux, their menu entries, the
# icons, the software-centre metadata and the manual pages. Package.cmake turns the same tree
# into a .deb.
include(GNUInstallDirs)

set(SELVO_APP_ID it.brivanselvo.BrivanSelvo)
set(SELVO_LINUX_DATA "${CMAKE_CURRENT_LIST_DIR}/../data/linux")
cmake_path(NORMAL_PATH SELVO_LINUX_DATA)

# Installed folders are 0755 under a umask that would let the group write them. A stricter
# umask still narrows them, since folders are made with mkdir().
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(selvo_programs BrivanSelvo BrivanSelvoStudio selvo-batch)
if(TARGET Kalvexlib)
    list(APPEND selvo_programs Kalvexlib)
endif()
# The toolkit's project setup gives every program an $ORIGIN library search path, for
# libraries installed beside it; these programs ship none and use the system's, so the
# installed binaries carry no search path at all.
set_target_properties(${selvo_programs} PROPERTIES INSTALL_RPATH "")

if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/WindowsPackage.cmake)
else()
    install(TARGETS ${selvo_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    include(${CMAKE_CURRENT_LIST_DIR}/LinuxData.cmake)
    include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
endif()
