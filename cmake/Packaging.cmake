# Installation and the Debian package.
#
#   cmake --install build --prefix /usr/local       # bin/ and share/man/man1/
#   DESTDIR=/tmp/root cmake --install build         # staged install
#   cpack -G DEB --config build/CPackConfig.cmake   # ppd-localize_<version>_<arch>.deb
#
# The top-level Makefile wraps these as `make install` and `make package`.

include(GNUInstallDirs)

# The manual page takes the project version for its title line, as --version
# does, so neither can be forgotten when the version changes.
configure_file(man/ppd-localize.1.in ${PROJECT_BINARY_DIR}/man/ppd-localize.1 @ONLY)

install(TARGETS ppd-localize RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/man/ppd-localize.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(PPD_LOCALIZE_MAINTAINER "ppd-localize maintainers <maintainers@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME ppd-localize)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ppd-localize")
set(CPACK_PACKAGE_CONTACT "${PPD_LOCALIZE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "localise a printer's PPD file to the user's country")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PPD_LOCALIZE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts the summary above this as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "ppd-localize reads a PostScript Printer Description (PPD) file and removes
the paper sizes that the printer must not offer in the country of the
person who sets it up, with their translation and constraint lines. For
some monochrome laser models it sets the two-sided default to long-edge
binding, and it records the country in the PPD's ISOCountryCode line. The
country comes from LC_ALL, LC_PAPER or LANG. The edited PPD goes to
standard output, ready for the install steps of printer-driver packages.")
# Depends from the ELF binary's shared libraries, through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian ships manual pages compressed; `cmake --install` keeps them plain.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/CompressManPages.cmake)

include(CPack)
