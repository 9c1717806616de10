#!/usr/bin/env bash
# Start-up failures print their message on standard output and end with
# status 1: a graphics mode that cannot be set, a missing level.dat, and a
# missing data.dat once level.dat has loaded.
source "$(dirname "$0")/lib.sh"
e2e_setup

# A copy of the executable beside datafiles we can take away.
BIN="$WORK/bin"
mkdir -p "$BIN"
cp "$GAME" "$BUILD_DIR/level.dat" "$BUILD_DIR/data.dat" "$BIN/"
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

# No display at all: a message and status 1, not a crash.
( cd "$WORK" && env -u DISPLAY "$GAME" ) >"$WORK/game.out" 2>&1 && status=0 || status=$?
[ "$status" -eq 1 ] || fail "exit status $status without a display"
grep -q "^Error initialising Allegro" "$WORK/game.out" || fail "no message without a display"
echo "startup failures: ok"
