#!/usr/bin/env bash
# The Debian package of the build under test: ./package packs it without a
# lintian error, it holds Debian's layout for a game and nothing else, its
# dependencies are the program's libraries, and the game unpacked from it
# starts from its menu entry in a fresh home, seeds the player's data
# directory and ends with status 0. Removing it cannot touch a player's
# files: it carries no maintainer scripts and no file outside /usr.
source "$(dirname "$0")/lib.sh"
e2e_setup
unset XDG_DATA_HOME

"$SOURCE_DIR/package" --from "$BUILD_DIR" --out "$WORK/out" >"$WORK/package.log" 2>&1 ||
    fail "./package failed: $(tail -n 30 "$WORK/package.log")"
DEB=$(tail -n 1 "$WORK/package.log")
! grep -E '^E: ' "$WORK/package.log" || fail "lintian errors"
grep -qx 'lintian: no errors' "$WORK/package.log" || fail "lintian did not run: $(cat "$WORK/package.log")"

# One version: the project's, in the package's name and control file.
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_DIR/CMakeCache.txt")
ARCH=$(dpkg --print-architecture)
[ -n "$VERSION" ] || fail "no project version in the build"
[ "$DEB" = "$WORK/out/blastarena_${VERSION}_${ARCH}.deb" ] && [ -f "$DEB" ] ||
    fail "the last line names '$DEB', not blastarena_${VERSION}_${ARCH}.deb"
[ "$(dpkg-deb -f "$DEB" Version)" = "$VERSION" ] || fail "control Version $(dpkg-deb -f "$DEB" Version)"
[ "$(dpkg-deb -f "$DEB" Section)" = games ] || fail "not in the games section"
depends=$(dpkg-deb -f "$DEB" Depends)
# ENet's package is named by its soname, which a later Debian may raise.
for lib in 'liballegro4\.4' libc6 libx11-6 'libenet[0-9]+'; do
    [[ ", $depends," =~ ,\ $lib[\ ,] ]] || fail "Depends lacks $lib: $depends"
done

# Exactly these files; the control archive holds no scripts to run on
# install or removal.
mapfile -t levels < <(find "$SOURCE_DIR/levels" -maxdepth 1 -type f ! -name '.*' -printf '%f\n' | sort)
{
    printf '%s\n' usr/games/blastarena usr/lib/games/blastarena/blastarena \
        usr/share/applications/blastarena.desktop usr/share/doc/blastarena/changelog.gz \
        usr/share/doc/blastarena/copyright usr/share/icons/hicolor/48x48/apps/blastarena.png \
        usr/share/man/man6/blastarena.6.gz usr/share/metainfo/org.blastarena.blastarena.metainfo.xml
    for f in config.ini data.dat datafiles.sum level.dat sound.dat; do echo "usr/share/games/blastarena/$f"; done
    for l in "${levels[@]}"; do echo "usr/share/games/blastarena/levels/$l"; done
} | sort >"$WORK/want"
dpkg-deb --fsys-tarfile "$DEB" | tar -t | sed 's|^\./||' | grep -v '/$' | sort >"$WORK/got"
diff "$WORK/want" "$WORK/got" >&2 || fail "the package's files differ from Debian's layout (above)"
ctrl=$(dpkg-deb --ctrl-tarfile "$DEB" | tar -t | sed 's|^\./||' | grep -v '^$' | sort | tr '\n' ' ')
[ "$ctrl" = "control md5sums " ] || fail "control archive holds: $ctrl"

ROOT="$WORK/root"
dpkg-deb -x "$DEB" "$ROOT"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/"*.metainfo.xml >"$WORK/appstream.log" 2>&1 ||
    fail "appstreamcli rejects the metainfo: $(cat "$WORK/appstream.log")"
grep -q 'Bitstream Vera' "$ROOT/usr/share/doc/blastarena/copyright" ||
    fail "the copyright file lacks the menu font's licence"
zcat "$ROOT/usr/share/man/man6/blastarena.6.gz" | grep -q "blastarena $VERSION" ||
    fail "the manual page does not carry version $VERSION"

# From a shell, with /usr/games on the PATH: the launcher passes options on.
shown=$(PATH="$ROOT/usr/games:$PATH" blastarena --version) || fail "blastarena --version failed"
[ "$shown" = "blastarena $VERSION" ] || fail "--version shows '$shown'"

# From the desktop menu: its Exec line, started in the home directory.
exec_line=$(sed -n 's/^Exec=//p' "$ROOT/usr/share/applications/blastarena.desktop")
[ "$exec_line" = /usr/games/blastarena ] || fail "the menu entry runs '$exec_line'"
DATA="$HOME/.local/share/blastarena"
GAME="$ROOT$exec_line"
start_game "$HOME"
wait_menu
[ "$(readlink "/proc/$GAME_PID/exe")" = "$ROOT/usr/lib/games/blastarena/blastarena" ] ||
    fail "the launcher did not hand over to the packaged game"
[ "$(readlink "/proc/$GAME_PID/cwd")" = "$DATA" ] || fail "the game does not run in $DATA"
for l in "${levels[@]}"; do
    cmp -s "$DATA/levels/$l" "$SOURCE_DIR/levels/$l" || fail "the arena $l was not seeded"
done
cmp -s "$DATA/config.ini" "$ROOT/usr/share/games/blastarena/config.ini" || fail "no default config.ini seeded"
xdotool mousemove 30 30 sleep 0.1 mousemove 40 40   # the keyboard goes where the pointer is
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Esc"
echo "package: ok"
