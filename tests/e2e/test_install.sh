#!/usr/bin/env bash
# An install into a private prefix, played through the launcher with a
# private home: the data directory is set up without touching what the
# player already has, the game runs there in a window and passes its exit
# status on, and the install manifest removes every installed file again.
source "$(dirname "$0")/lib.sh"
e2e_setup

PREFIX="$WORK/prefix"
# A player's own install record in the build directory must survive the
# test's install.
users_manifest() { md5sum <"$BUILD_DIR/install_manifest.txt" 2>/dev/null || echo none; }
manifest_before=$(users_manifest)
install_build "$PREFIX"
[ "$(users_manifest)" = "$manifest_before" ] || fail "the test's install replaced build/install_manifest.txt"

for f in bin/blastarena lib/blastarena/blastarena lib/blastarena/level.dat \
         lib/blastarena/data.dat lib/blastarena/sound.dat share/blastarena/config.ini \
         share/applications/blastarena.desktop share/icons/hicolor/48x48/apps/blastarena.png; do
    [ -f "$PREFIX/$f" ] || fail "$f not installed"
done
[ -x "$PREFIX/bin/blastarena" ] || fail "the launcher is not executable"
grep -qx 'Exec=blastarena' "$PREFIX/share/applications/blastarena.desktop" || fail "desktop entry Exec"
grep -qx 'Icon=blastarena' "$PREFIX/share/applications/blastarena.desktop" || fail "desktop entry Icon"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$PREFIX/share/applications/blastarena.desktop" || fail "desktop entry invalid"
fi
icon=$(identify -format '%m %wx%h' "$PREFIX/share/icons/hicolor/48x48/apps/blastarena.png") ||
    fail "the icon does not read as a picture"
[ "$icon" = "PNG 48x48" ] || fail "icon is '$icon'"

# Every arena of the source tree is bundled. Until there are any, two
# stand-ins exercise the copying; they are taken away before the uninstall.
BUNDLED="$PREFIX/share/blastarena/levels"
list_files() { [ ! -d "$1" ] || find "$1" -maxdepth 1 -type f ! -name '.*' -printf '%f\n' | sort; }
want=$(list_files "$SOURCE_DIR/levels")
got=$(list_files "$BUNDLED")
[ "$got" = "$want" ] || fail "bundled arenas '$got', wanted '$want'"
STAND_INS=""
if [ -z "$got" ]; then
    mkdir -p "$BUNDLED"
    head -c 7208 /dev/zero >"$BUNDLED/TESTA"
    head -c 7208 /dev/zero >"$BUNDLED/TESTB"
    STAND_INS="TESTA TESTB"
fi
mapfile -t names < <(find "$BUNDLED" -maxdepth 1 -type f -printf '%f\n' | sort)
MINE=${names[0]}

# First run: HOME only. The player already has a level of a bundled name.
export HOME="$WORK/home"
unset XDG_DATA_HOME
DATA="$HOME/.local/share/blastarena"
mkdir -p "$DATA/levels"
printf 'the player'"'"'s own\n' >"$DATA/levels/$MINE"
cp "$DATA/levels/$MINE" "$WORK/mine"

GAME="$PREFIX/bin/blastarena"
start_game
wait_menu
[ "$(readlink "/proc/$GAME_PID/cwd")" = "$DATA" ] || fail "the game does not run in $DATA"
[ "$(readlink "/proc/$GAME_PID/exe")" = "$PREFIX/lib/blastarena/blastarena" ] ||
    fail "the launcher did not hand over to the installed game"
cmp -s "$DATA/levels/$MINE" "$WORK/mine" || fail "the player's $MINE was overwritten"
for name in "${names[@]:1}"; do
    cmp -s "$DATA/levels/$name" "$BUNDLED/$name" || fail "bundled $name not copied"
done
cmp -s "$DATA/config.ini" "$PREFIX/share/blastarena/config.ini" || fail "default config.ini not written"
grep -qE '^driver *= *3$' "$DATA/config.ini" || fail "the default config does not ask for a window"
grep -qE '^scale *= *0$' "$DATA/config.ini" || fail "the default config does not ask for the largest picture"
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Esc"

# Second run: an arena the player deleted stays deleted, and the player's
# own config.ini is used and kept. This one asks for a colour depth that
# cannot be set, so the game fails at once: its status must come through.
if [ ${#names[@]} -ge 2 ]; then rm "$DATA/levels/${names[1]}"; fi
echo "bpp = 3" >"$DATA/config.ini"
start_game
wait_exit
[ "$GAME_STATUS" -eq 1 ] || fail "launcher passed on status $GAME_STATUS, the game failed with 1"
[ "$(cat "$DATA/config.ini")" = "bpp = 3" ] || fail "the player's config.ini was replaced"
if [ ${#names[@]} -ge 2 ]; then
    [ ! -e "$DATA/levels/${names[1]}" ] || fail "a deleted arena came back"
fi

# Third run: XDG_DATA_HOME wins over HOME.
export XDG_DATA_HOME="$WORK/xdg"
mkdir -p "$XDG_DATA_HOME/blastarena"
echo "bpp = 3" >"$XDG_DATA_HOME/blastarena/config.ini"
start_game
wait_exit
[ "$GAME_STATUS" -eq 1 ] || fail "the config.ini under XDG_DATA_HOME was not used"
for name in "${names[@]}"; do
    cmp -s "$XDG_DATA_HOME/blastarena/levels/$name" "$BUNDLED/$name" ||
        fail "$name not copied under XDG_DATA_HOME"
done

# Uninstalling: the manifest's files are all there was.
for name in $STAND_INS; do rm "$BUNDLED/$name"; done
xargs rm -- <"$WORK/manifest"
left=$(find "$PREFIX" ! -type d)
[ -z "$left" ] || fail "left behind after uninstalling: $left"
find "$PREFIX" -depth -type d -empty -delete
[ ! -e "$PREFIX" ] || fail "the prefix is not empty"
[ -f "$DATA/levels/$MINE" ] || fail "uninstalling touched the player's data"
echo "install: ok"
