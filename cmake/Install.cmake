# Installation: the binary, the CUPS driver program, their manual pages, and
# the driver's PPD directory with the rules files in its rules/.
#
#   cmake --install build --prefix /usr/local       # bin/ and share/man/man{1,5,8}/
#   DESTDIR=/tmp/root cmake --install build         # staged install
#
# The driver program goes to CUPS's driver directory, <serverbin>/driver/,
# and its PPD directory to PPD_LOCALIZE_PPD_DIR: both absolute, whatever
# the prefix (under DESTDIR when set), as cups-driverd only looks there.
# The rules files go to PPD_LOCALIZE_PPD_DIR/rules/, where
# ppd-localize.rules(5) and ppd-localize.conf(5) name them; the driver's
# catalog passes over *.rules files without a word.
# `make install` wraps these. The Debian package (debian/, `make package`)
# installs through the same rules; dh compresses the manual pages.

include(GNUInstallDirs)

# The manual page takes the project version for its title line, as --version
# does, so neither can be forgotten when the version changes.
configure_file(man/ppd-localize.1.in ${PROJECT_BINARY_DIR}/man/ppd-localize.1 @ONLY)

# CUPS's server programs directory, asked of cups-config when configuring
# (Debian: /usr/lib/cups).
if(NOT PPD_LOCALIZE_CUPS_SERVERBIN)
  find_program(PPD_LOCALIZE_CUPS_CONFIG cups-config REQUIRED)
  execute_process(COMMAND ${PPD_LOCALIZE_CUPS_CONFIG} --serverbin
                  OUTPUT_VARIABLE serverbin OUTPUT_STRIP_TRAILING_WHITESPACE
                  COMMAND_ERROR_IS_FATAL ANY)
  set(PPD_LOCALIZE_CUPS_SERVERBIN "${serverbin}" CACHE PATH
      "CUPS's server programs (cups-config --serverbin); the driver goes to its driver/")
endif()
configure_file(man/ppd-localize-driver.8.in ${PROJECT_BINARY_DIR}/man/ppd-localize-driver.8 @ONLY)
configure_file(man/ppd-localize.conf.5.in ${PROJECT_BINARY_DIR}/man/ppd-localize.conf.5 @ONLY)
configure_file(man/ppd-localize.rules.5.in ${PROJECT_BINARY_DIR}/man/ppd-localize.rules.5 @ONLY)

install(TARGETS ppd-localize RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/man/ppd-localize.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(PROGRAMS $<TARGET_FILE:ppd-localize-driver>
        DESTINATION ${PPD_LOCALIZE_CUPS_SERVERBIN}/driver RENAME ppd-localize)
install(DIRECTORY DESTINATION ${PPD_LOCALIZE_PPD_DIR})
# The built-in rules, as --print-rules prints them, for a Rules line or a
# copy to edit, and the rules for other vendors' PPDs.
install(FILES rules/default.rules examples/rules/regional.rules
        DESTINATION ${PPD_LOCALIZE_PPD_DIR}/rules)
install(FILES ${PROJECT_BINARY_DIR}/man/ppd-localize-driver.8
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man8)
install(FILES ${PROJECT_BINARY_DIR}/man/ppd-localize.conf.5
              ${PROJECT_BINARY_DIR}/man/ppd-localize.rules.5
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)

# debian/rules passes the version of the newest debian/changelog entry: a
# package whose version differs from what the binary reports is not built.
if(DEFINED PPD_LOCALIZE_PACKAGE_VERSION
   AND NOT PPD_LOCALIZE_PACKAGE_VERSION STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR
    "debian/changelog is at version ${PPD_LOCALIZE_PACKAGE_VERSION} but the "
    "project is at ${PROJECT_VERSION}; add a changelog entry for "
    "${PROJECT_VERSION} (dch -v ${PROJECT_VERSION}).")
endif()
