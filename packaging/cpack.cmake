# The packages: `cmake --build BUILD --target package` makes the zip in a Windows (mingw-w64) build
# and the Debian package in a Linux build, in BUILD/packages.
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "the Quorvel developers")
set(CPACK_PACKAGE_CONTACT "The Quorvel developers <quorvel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "symbol tables of WSJT beacon modes for beacon firmware")
# CPack writes this text into its configuration unescaped: debian/description has no double quotes.
file(READ ${QUORVEL_PACKAGE_SOURCE}/debian/description CPACK_PACKAGE_DESCRIPTION)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_SOURCE_GENERATOR "")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
  # The zip unpacks into one folder named after the package, which is the working folder.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The programs are linked statically (see the top CMakeLists.txt): they need nothing installed.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
  # The files Debian wants in every package (copyright, changelog, lintian's overrides) are added
  # to the staged tree just before it is packed, so that `cmake --install` stays plain.
  set(CPACK_QUORVEL_DEBIAN_FILES ${QUORVEL_PACKAGE_SOURCE}/debian)
  set(CPACK_PRE_BUILD_SCRIPTS ${QUORVEL_PACKAGE_SOURCE}/debian-files.cmake)
endif()

include(CPack)
