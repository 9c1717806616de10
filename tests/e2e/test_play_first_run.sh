#!/usr/bin/env bash
# ./play where there is no config.ini writes the installed defaults before
# the game starts, so a first start gets a window as large as the display
# holds (scale 2 on this 1600x1200 display) rather than 640x480 in a corner
# or a full screen; settings already there are left exactly as they were.
# ./play runs from a scratch copy of what it reads, with the real game built
# already and a stand-in cmake in front of the build it would redo.
source "$(dirname "$0")/lib.sh"
e2e_setup 1600x1200

ROOT=$WORK/repo
mkdir -p "$ROOT/tools" "$ROOT/dist" "$ROOT/build" "$WORK/bin"
cp "$SOURCE_DIR/play" "$ROOT/"
cp "$SOURCE_DIR/tools/packages.sh" "$SOURCE_DIR/tools/ensure_packages.sh" "$ROOT/tools/"
cp "$SOURCE_DIR/dist/config.ini" "$ROOT/dist/"
touch "$ROOT/build/CMakeCache.txt" "$ROOT/build/Makefile"
for f in blastarena level.dat data.dat sound.dat datafiles.sum; do ln -s "$BUILD_DIR/$f" "$ROOT/build/$f"; done
printf '#!/bin/sh\necho "cmake $*" >>"%s/cmake.log"\n' "$WORK" >"$WORK/bin/cmake"
chmod +x "$WORK/bin/cmake"
export PATH="$WORK/bin:$PATH"
GAME=$ROOT/play

window_is() { E2E_SEEN=$(xwininfo -root -tree | grep -o '"blastarena": ("allegro" "Allegro")  [0-9x+]*'); [[ $E2E_SEEN == *" $1+0+0" ]]; }
# Without a window manager the keyboard goes to the window under the pointer.
quit_from_menu()
{
    xdotool mousemove 30 30 sleep 0.1 mousemove 40 40
    sleep 0.1
    press Escape
    wait_exit
    [ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS: $(cat "$WORK/game.out")"
}

# 1. The first start.
start_game "$ROOT"
wait_for "the main menu doubled" pixel_near 460 400 "255,0,0"
wait_for "a 1280x960 window" window_is 1280x960
cmp -s "$ROOT/config.ini" "$SOURCE_DIR/dist/config.ini" || fail "config.ini is not the installed one: $(cat "$ROOT/config.ini")"
grep -q "cmake --build build" "$WORK/cmake.log" || fail "./play did not build first"
quit_from_menu
grep -q "^Wrote config.ini" "$WORK/game.out" || fail "./play did not say it wrote config.ini: $(cat "$WORK/game.out")"
leftovers=$(find "$ROOT" -maxdepth 1 -name '.config.ini.*')
[ -z "$leftovers" ] || fail "temporary files left: $leftovers"

# 2. Settings of the player's own stay as they are: the picture as it is.
printf '# mine\nscale = 1\ndriver = 3\n' >"$ROOT/config.ini"
cp "$ROOT/config.ini" "$WORK/mine.ini"
start_game "$ROOT"
wait_menu
wait_for "a 640x480 window" window_is 640x480
quit_from_menu
cmp -s "$ROOT/config.ini" "$WORK/mine.ini" || fail "./play changed an existing config.ini: $(cat "$ROOT/config.ini")"
grep -q "config.ini" "$WORK/game.out" && fail "./play spoke of config.ini that was there: $(cat "$WORK/game.out")"
echo "play first run: ok"
