# "cpack -G DEB" in the build folder packs what "cmake --install" installs: the library, its
# headers and CMake package, the fiscora application and its translation. The developer tools
# and the tests are not installed, so the package does not depend on OpenSSL.
set(CPACK_PACKAGE_NAME fiscora)
set(CPACK_PACKAGE_VENDOR "The Fiscora developers")
set(CPACK_PACKAGE_CONTACT "The Fiscora developers <developers@fiscora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Fiscora reads the encrypted journal that a cash register writes onto its SD card into backup "
    "files and exports a backup as a table file with its GDPdU description for a tax audit under "
    "the German GoBD rules. The package holds the command-line application fiscora with its German "
    "translation, the shared library and the files to build against it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# dpkg-shlibdeps names the libraries the binaries need, with the versions they were built against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own German texts, those of the command-line parser among them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qttranslations5-l10n)

include(CPack)
