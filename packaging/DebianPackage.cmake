# The Debian package: `cmake --build build --target package` runs `cpack -G DEB` and leaves
# moriva_<version>-<release>_<arch>.deb in the build folder. The dependencies are read from the
# binaries by dpkg-shlibdeps (package dpkg-dev).

set(MORIVA_PACKAGE_MAINTAINER "Moriva maintainers <maintainers@moriva.example>"
    CACHE STRING "The Maintainer field of the Debian package")
set(MORIVA_PACKAGE_RELEASE "1" CACHE STRING "The Debian revision of the package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME moriva)
set(CPACK_PACKAGE_VENDOR "Moriva")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${MORIVA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop bankbook for JNB and eBANK accounts")
# CPack indents these lines; Debian wants them under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION [=[
Moriva keeps a personal ledger for one account at each of two Japanese
internet banks, JNB and eBANK. It imports the statement CSV files that the
banks offer (Shift_JIS or UTF-8), leaves out lines already imported, and
checks that every balance follows from the one before.

The ledger is read by month or by keyword; entries can be marked, annotated
and deleted, and what is shown can be saved as CSV or printed. The window
speaks English and Japanese.

The moriva-cli command imports statements, lists, exports and checks the
ledgers, and restores them from their backups, for scripts and terminals.]=])
set(CPACK_STRIP_FILES ON)
# Directories in the package are rwxr-xr-x whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${MORIVA_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MORIVA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# No Depends of its own: the plugins that draw the SVG icons come with libqt6svg6, which
# dpkg-shlibdeps already names (the window saves its chart through QSvgGenerator); naming it here
# too would list it twice.
# Qt's own texts (standard buttons, file dialogs) in Japanese; Moriva's are built in. The
# statements' summaries, the Japanese window and 円 need a font with Japanese glyphs, which a
# plain Debian lacks: without one every such character is a box.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
