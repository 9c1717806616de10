# The Debian package, made by CPack from this same build and its install
# rules (./package runs it): blastarena_<version>_<arch>.deb under /usr.
# CPack rather than a debian/ directory: the install rules already lay out
# Debian's tree, and CPack packs it straight from any build directory, so
# the test suite packages the build it has just tested instead of building
# everything a second time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME blastarena)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BLAST_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "two-player bomb and missile arena game with a level editor
Two players share one keyboard and one arena: walk the board, drop small
and big bombs, fire missiles, and chain blasts into each other's bombs
until one of you is a smoking wreck. Gamepads may play beside the keys.
The computer can play either side, at three levels, and two players on
two machines can play each other over the network.

A built-in level editor paints arenas of your own, with mirror painting
for fair ones and a key that plays the board at once. Seven arenas come
with the game, and every match is recorded to be watched again.")
# The libraries the program links, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The install runs with DESTDIR and the prefix /usr, so the menu entry it
# writes names /usr/games/blastarena, not the staging directory.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Only the default component, as the install test asks for it: CPack's
# install then writes its record as install_manifest_Unspecified.txt and
# leaves build/install_manifest.txt, which a player uninstalls by, alone.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
include(CPack)
