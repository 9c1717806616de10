#!/usr/bin/env bash
# Start-up failures print their message on standard output and end with
# status 1: a graphics mode that cannot be set, a missing level.dat, and a
# missing data.dat once level.dat has loaded. Without a display the game
# says so in one line on standard error. A config.ini past 1 MB and a scale
# the display cannot hold are each told in one line, and the game starts.
source "$(dirname "$0")/lib.sh"
e2e_setup

# A copy of the executable beside datafiles we can take away.
BIN="$WORK/bin"
mkdir -p "$BIN"
cp "$GAME" "$BUILD_DIR/level.dat" "$BUILD_DIR/data.dat" "$BUILD_DIR/datafiles.sum" "$BIN/"
GAME="$BIN/blastarena"

expect_failure()
{
    local want=$1
    start_game
    wait_exit
    [ "$GAME_STATUS" -eq 1 ] || fail "exit status $GAME_STATUS, wanted 1 (expecting: $want)"
    local out
    out=$(cat "$WORK/game.out")
    [ "$out" = "$want" ] || fail "printed '$out', wanted '$want'"
}

echo "bpp = 3" >"$WORK/config.ini"
expect_failure "Error loading gfxmode"
echo "driver = -1" >"$WORK/config.ini"    # the text "mode": no screen at all
expect_failure "Error loading gfxmode"
rm "$WORK/config.ini"

mv "$BIN/level.dat" "$BIN/level.dat.away"
expect_failure "Error loading $BIN/level.dat!"
mv "$BIN/level.dat.away" "$BIN/level.dat"

mv "$BIN/data.dat" "$BIN/data.dat.away"
expect_failure "Error loading $BIN/data.dat!"
mv "$BIN/data.dat.away" "$BIN/data.dat"

# No display at all, or one that cannot be reached: one line that says
# what to do, on standard error, and status 1, not a crash.
for display in unset :99999; do
    if [ "$display" = unset ]; then run=(env -u DISPLAY "$GAME"); else run=(env DISPLAY="$display" "$GAME"); fi
    ( cd "$WORK" && exec "${run[@]}" ) >"$WORK/game.out" 2>"$WORK/game.err" && status=0 || status=$?
    [ "$status" -eq 1 ] || fail "exit status $status with DISPLAY $display"
    [ "$(cat "$WORK/game.err")" = "no display: set DISPLAY or run under X" ] ||
        fail "with DISPLAY $display stderr is '$(cat "$WORK/game.err")'"
    [ ! -s "$WORK/game.out" ] || fail "with DISPLAY $display stdout is '$(cat "$WORK/game.out")'"
done

# Starts on the config.ini just written, which must reach the menu saying
# line $1 on standard error and end with status 0 on Esc; $2 names the case.
starts_saying()
{
    start_game
    wait_menu
    grep -qx "$1" "$WORK/game.out" || fail "no line '$1' after $2: $(head -c 300 "$WORK/game.out")"
    xdotool keydown Escape sleep 0.1 keyup Escape
    wait_exit
    [ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after $2"
    rm "$WORK/config.ini"
}

# A config.ini past 1 MB is not read at all: its colour depth, which could
# not be set, does not stop the start, and stderr says why it was ignored.
{ echo "bpp = 3"; head -c 1100000 /dev/zero | tr '\0' '#'; echo; } >"$WORK/config.ini"
starts_saying "config.ini is larger than 1 MB and is ignored: starting on the defaults" "a large config.ini"

# A full screen three times the picture on this 640x480 display: the picture
# stays at its own size, and the player is told, as in a window.
printf 'driver = 2\nscale = 3\n' >"$WORK/config.ini"
starts_saying "scale = 3 does not fit the 640x480 display: playing at 1" "a lowered full-screen scale"
echo "startup failures: ok"
