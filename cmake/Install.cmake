# Installation: the binary and its manual page.
#
#   cmake --install build --prefix /usr/local       # bin/ and share/man/man1/
#   DESTDIR=/tmp/root cmake --install build         # staged install
#
# `make install` wraps these. The Debian package (debian/, `make package`)
# installs through the same rules; dh compresses the manual page.

include(GNUInstallDirs)

# The manual page takes the project version for its title line, as --version
# does, so neither can be forgotten when the version changes.
configure_file(man/ppd-localize.1.in ${PROJECT_BINARY_DIR}/man/ppd-localize.1 @ONLY)

install(TARGETS ppd-localize RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/man/ppd-localize.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# debian/rules passes the version of the newest debian/changelog entry: a
# package whose version differs from what the binary reports is not built.
if(DEFINED PPD_LOCALIZE_PACKAGE_VERSION
   AND NOT PPD_LOCALIZE_PACKAGE_VERSION STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR
    "debian/changelog is at version ${PPD_LOCALIZE_PACKAGE_VERSION} but the "
    "project is at ${PROJECT_VERSION}; add a changelog entry for "
    "${PROJECT_VERSION} (dch -v ${PROJECT_VERSION}).")
endif()
