# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT

# The Debian package: `cpack -G DEB` in a build folder; tools/package.sh makes
# a release build for it and checks the result with lintian.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sosudnik)
set(CPACK_PACKAGE_VENDOR "The Sosudnik developers")
set(CPACK_PACKAGE_CONTACT "The Sosudnik developers <sosudnik@users.noreply.github.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${SOSUDNIK_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "measuring-by-pouring puzzle with three vessels")
set(CPACK_PACKAGE_DESCRIPTION [[
Sosudnik, Russian for the vessel game, is a small puzzle game. Three
vessels of given sizes hold some liquid; drag one vessel onto another to
pour as much as will go, until the wanted amount is measured out in one of
them.

Type in a puzzle of your own or pick one of the two classic tasks, take
moves back one at a time, and save the list of moves as an XML file. The
game speaks Russian.
]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Whatever the umask of the one who builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What dpkg-shlibdeps cannot see: the X11 platform plugin is loaded at run
# time, and the layout is measured for Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
