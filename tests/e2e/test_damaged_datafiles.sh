#!/usr/bin/env bash
# Damaged datafiles beside a copy of the game: a cut sound.dat plays silent
# with the one line that says so; a cut level.dat, a data.dat that is a copy
# of level.dat, and the two swapped, each stop the start with the message of
# a datafile that cannot be loaded and status 1. None may crash.
source "$(dirname "$0")/lib.sh"
e2e_setup

BIN="$WORK/bin"
mkdir -p "$BIN"
cp "$GAME" "$BUILD_DIR"/{level.dat,data.dat,sound.dat,datafiles.sum} "$BIN/"
GAME="$BIN/blastarena"
restore() { cp "$BUILD_DIR"/{level.dat,data.dat,sound.dat} "$BIN/"; }

truncate -s 100 "$BIN/sound.dat"
start_game
wait_menu
xdotool mousemove 30 30 sleep 0.1 mousemove 40 40
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS with a cut sound.dat"
[ "$(cat "$WORK/game.out")" = "Sound off: cannot load $BIN/sound.dat" ] ||
    fail "with a cut sound.dat the game said '$(cat "$WORK/game.out")'"
restore

expect_failure()
{
    start_game
    wait_exit
    [ "$GAME_STATUS" -eq 1 ] || fail "exit status $GAME_STATUS, wanted 1 ($2)"
    [ "$(cat "$WORK/game.out")" = "Error loading $BIN/$1!" ] ||
        fail "printed '$(cat "$WORK/game.out")' ($2)"
    restore
}

truncate -s "$(($(stat -c %s "$BIN/level.dat") / 2))" "$BIN/level.dat"
expect_failure level.dat "half a level.dat"
cp "$BIN/level.dat" "$BIN/data.dat"
expect_failure data.dat "level.dat copied over data.dat"
mv "$BIN/level.dat" "$BIN/swap"; mv "$BIN/data.dat" "$BIN/level.dat"; mv "$BIN/swap" "$BIN/data.dat"
expect_failure level.dat "level.dat and data.dat swapped"
echo "damaged datafiles: ok"
