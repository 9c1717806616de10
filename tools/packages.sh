# Package lists shared by ./play and ./test.
BUILD_PACKAGES=(cmake make g++ pkg-config liballegro4-dev libx11-dev libxxhash-dev libenet-dev)
TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xauth xdotool xautomation imagemagick x11-utils clang)
# ./package, which makes and checks the Debian package: dpkg-shlibdeps,
# the file type probe CPack finds the programs by, lintian, appstreamcli.
PACKAGE_PACKAGES=(dpkg-dev file lintian appstream)
