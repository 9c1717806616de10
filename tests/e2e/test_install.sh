#!/usr/bin/env bash
# An install into a private home's ~/.local, played through the launcher:
# the data directory is set up without touching what the player already has
# (an earlier version's install shared that very directory), the game runs
# there in a window and passes its exit status on, the player's edits
# survive a second install, and the README's uninstall removes every
# installed file and nothing of the player's.
source "$(dirname "$0")/lib.sh"
e2e_setup

# e2e_setup made HOME a private directory.
PREFIX="$HOME/.local"
unset XDG_DATA_HOME
DATA="$HOME/.local/share/blastarena"
# A player's own install record in the build directory must survive the
# test's install.
users_manifest() { md5sum <"$BUILD_DIR/install_manifest.txt" 2>/dev/null || echo none; }
manifest_before=$(users_manifest)

# What an earlier version left: it installed its defaults where the player's
# data directory is, and the player has played since. A level of a bundled
# name holds the player's own bytes.
mapfile -t names < <(find "$SOURCE_DIR/levels" -maxdepth 1 -type f ! -name '.*' -printf '%f\n' | sort)
MINE=${names[0]:-TESTA}
mkdir -p "$DATA/levels"
printf 'the player'"'"'s own\n' >"$DATA/levels/$MINE"
cp "$DATA/levels/$MINE" "$WORK/mine"
# Everything of the player's, byte for byte.
players_files() { (cd "$DATA" && find . -type f -printf '%p ' -exec md5sum {} \; | sort); }

install_build "$PREFIX"
[ "$(users_manifest)" = "$manifest_before" ] || fail "the test's install replaced build/install_manifest.txt"
! grep -F "$DATA/" "$WORK/manifest" || fail "the install put files in the player's data directory"
cmp -s "$DATA/levels/$MINE" "$WORK/mine" || fail "the install touched the player's $MINE"

SHARE="$PREFIX/share/games/blastarena"
for f in games/blastarena lib/games/blastarena/blastarena share/games/blastarena/level.dat \
         share/games/blastarena/data.dat share/games/blastarena/sound.dat \
         share/games/blastarena/datafiles.sum share/games/blastarena/config.ini \
         share/applications/blastarena.desktop share/icons/hicolor/48x48/apps/blastarena.png; do
    [ -f "$PREFIX/$f" ] || fail "$f not installed"
done
[ -x "$PREFIX/games/blastarena" ] || fail "the launcher is not executable"
DESKTOP="$PREFIX/share/applications/blastarena.desktop"
# ~/.local/games is on nobody's PATH: the menu entry names the launcher.
grep -qx "Exec=$PREFIX/games/blastarena" "$DESKTOP" || fail "desktop entry Exec: $(grep Exec "$DESKTOP")"
grep -qx 'Icon=blastarena' "$DESKTOP" || fail "desktop entry Icon"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$DESKTOP" || fail "desktop entry invalid"
fi
icon=$(identify -format '%m %wx%h' "$PREFIX/share/icons/hicolor/48x48/apps/blastarena.png") ||
    fail "the icon does not read as a picture"
[ "$icon" = "PNG 48x48" ] || fail "icon is '$icon'"

# Every arena of the source tree is bundled. Until there are any, two
# stand-ins exercise the copying; they are taken away before the uninstall.
BUNDLED="$SHARE/levels"
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

# First run: HOME only. The player's own level of a bundled name is kept;
# the other arenas and the default settings arrive. The player renames both
# players under Options, which the game writes to the data directory.
GAME="$PREFIX/games/blastarena"
start_game
wait_menu
[ "$(readlink "/proc/$GAME_PID/cwd")" = "$DATA" ] || fail "the game does not run in $DATA"
[ "$(readlink "/proc/$GAME_PID/exe")" = "$PREFIX/lib/games/blastarena/blastarena" ] ||
    fail "the launcher did not hand over to the installed game"
cmp -s "$DATA/levels/$MINE" "$WORK/mine" || fail "the player's $MINE was overwritten"
for name in "${names[@]:1}"; do
    cmp -s "$DATA/levels/$name" "$BUNDLED/$name" || fail "bundled $name not copied"
done
cmp -s "$DATA/config.ini" "$SHARE/config.ini" || fail "default config.ini not written"
grep -qE '^driver *= *3$' "$DATA/config.ini" || fail "the default config does not ask for a window"
grep -qE '^scale *= *0$' "$DATA/config.ini" || fail "the default config does not ask for the largest picture"
xdotool mousemove 30 30 sleep 0.1 mousemove 40 40   # the keyboard goes where the pointer is
press Down                        # Options
press Return
wait_pixel 230 200 "255,0,0"      # options menu on "Names"
band=$(region_sig 640x120+0+180)
press Return
wait_for "the first name prompt" eval '[ "$(region_sig 640x120+0+180)" != "$band" ]'
xdotool type --delay 40 ann; press Return
xdotool type --delay 40 bob; press Return
wait_pixel 230 200 "255,0,0"      # back in the options menu
grep -qx 'plr2name = bob     ' "$DATA/config.ini" || fail "the names were not written: $(cat "$DATA/config.ini")"
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Esc"

# The player edits a bundled arena and saves one of their own (as the
# editor writes them: 7208 bytes); then the same install again.
EDITED=${names[2]:-${names[1]}}
head -c 7208 /dev/zero | tr '\0' '\5' >"$DATA/levels/$EDITED"
head -c 7208 /dev/zero | tr '\0' '\7' >"$DATA/levels/MYOWN"
before=$(players_files)
install_build "$PREFIX"
! grep -F "$DATA/" "$WORK/install.log" || fail "the second install wrote into the player's data directory"
[ "$(players_files)" = "$before" ] || fail "the second install changed the player's files"

# Second run: an arena the player deleted stays deleted, and the player's
# own config.ini is used and kept. This one asks for a colour depth that
# cannot be set, so the game fails at once: its status must come through.
if [ ${#names[@]} -ge 2 ]; then rm "$DATA/levels/${names[1]}"; fi
cp "$DATA/config.ini" "$WORK/named.ini"
echo "bpp = 3" >"$DATA/config.ini"
start_game
wait_exit
[ "$GAME_STATUS" -eq 1 ] || fail "launcher passed on status $GAME_STATUS, the game failed with 1"
[ "$(cat "$DATA/config.ini")" = "bpp = 3" ] || fail "the player's config.ini was replaced"
if [ ${#names[@]} -ge 2 ]; then
    [ ! -e "$DATA/levels/${names[1]}" ] || fail "a deleted arena came back"
fi
cp "$WORK/named.ini" "$DATA/config.ini"

# Third run: XDG_DATA_HOME wins over HOME. One that makes the data
# directory the installed one is refused rather than let an uninstall take
# the player's files.
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
export XDG_DATA_HOME="$PREFIX/share/games"
start_game
wait_exit
[ "$GAME_STATUS" -eq 1 ] || fail "a data directory inside the install was used (status $GAME_STATUS)"
grep -q "is where the game is installed" "$WORK/game.out" || fail "no word why: $(cat "$WORK/game.out")"
[ ! -e "$SHARE/.bundled-levels" ] || fail "the launcher wrote into the install"
unset XDG_DATA_HOME

# Uninstalling as the README says: the manifest's files are all there was,
# and the player's files are all that is left.
for name in $STAND_INS; do rm "$BUNDLED/$name"; done
before=$(players_files)
xargs rm -- <"$WORK/manifest"
rmdir "$PREFIX/lib/games/blastarena" "$PREFIX/share/games/blastarena/levels" "$PREFIX/share/games/blastarena"
left=$(find "$PREFIX" ! -type d ! -path "$DATA/*")
[ -z "$left" ] || fail "left behind after uninstalling: $left"
[ "$(players_files)" = "$before" ] || fail "uninstalling touched the player's files"
grep -qx 'plr1name = ann     ' "$DATA/config.ini" || fail "the player's names are gone"
echo "install: ok"
