# The Debian package of the X11 program: `cpack -G DEB` in the native build folder writes
# tellaro_<version>_<arch>.deb with everything the install rules name (x11/, x11/package/).
file(STRINGS ${PROJECT_SOURCE_DIR}/base/product.h version_line REGEX "define TELLARO_VERSION_TEXT")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" TELLARO_VERSION "${version_line}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tellaro)
set(CPACK_PACKAGE_VERSION ${TELLARO_VERSION})
set(CPACK_PACKAGE_VENDOR Kestrune)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D screensaver: a planet turning in space, for XScreenSaver")
# Lines of at most 80 columns, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION "Tellaro shows a planet turning in space with its clouds, a small irregular
moon, several thousand catalogue stars, a sun with lens flares and three
camera tours. It is a display program for XScreenSaver: the program goes to
/usr/libexec/xscreensaver, its settings page to /usr/share/xscreensaver/config.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kestrune <support@kestrune.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.kestrune.example/")
# Depends: the packages of the libraries the program links, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A display program is found with the daemon that runs it in all but unusual installations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xscreensaver)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
