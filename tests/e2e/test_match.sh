#!/usr/bin/env bash
# A match on a level of our own: the browser loads it, player 2's left key
# walks player 2 left until a wall stops it, a dropped bomb goes off about
# 1.25 s later and costs player 2 energy, Esc returns to the menu and the
# program runs on until Quit.
source "$(dirname "$0")/lib.sh"
e2e_setup

# Cell (c, r) is value c*34 + r of a level file: 1802 little-endian int32s.
# Everything floor but a wall at (50, 33), two cells left of player 2.
mkdir -p "$WORK/levels"
LEVEL="$WORK/levels/arena"
head -c 7208 /dev/zero >"$LEVEL"
printf '\001\000\000\000' | dd of="$LEVEL" bs=4 seek=$((50 * 34 + 33)) conv=notrunc status=none

# Fingerprint of the 12 x 12 picture of cell (c, r) in screenshot $3.
cell()
{
    convert "$3" -crop "12x12+$(($1 * 12 + 2))+$(($2 * 12 + 2))" +repage rgb:- | md5sum
}
# Fingerprint of player 2's energy bar from energy 116 to 130.
bar_tail() { convert "$1" -crop 15x10+616+462 +repage rgb:- | md5sum; }
start_game
wait_menu
press Return                          # New Game: the level browser
wait_pixel 378 69 "200,0,0"           # its bar on the first row
press Return                          # OK on the only level

S="$WORK/s.png"
floor=""
wall_shown()
{
    shot "$S"
    floor=$(cell 30 20 "$S")
    [ "$floor" = "$(cell 20 10 "$S")" ] && [ "$(cell 50 33 "$S")" != "$floor" ]
}
wait_for "the match to show the level's wall" wall_shown
# Row 33 loses its last pixel line to the frame: compare it with its own floor.
floor33=$(cell 30 33 "$S")
[ "$(cell 52 33 "$S")" != "$floor33" ] || fail "player 2 not on its start cell"
full_bar=$(bar_tail "$S")

press a 0.6                           # six ticks reach the wall; the rest push against it
beside_wall() { shot "$S"; [ "$(cell 52 33 "$S")" = "$floor33" ] && [ "$(cell 51 33 "$S")" != "$floor33" ]; }
wait_for "player 2 to walk from its start cell to the wall" beside_wall

# Drop a bomb and watch until it goes off: the blast over the cell above it
# shows for only 0.4 s, which a slow screenshot can miss, so the energy it
# takes from player 2 standing on the bomb counts as well, and that stays.
live_floor=$(cell_sig 30 20)
live_bar() { region_sig 15x10+616+462; }
live_full_bar=$(live_bar)
t0=$(now_ms)
press_mod Control_L
bomb_went_off() { [ "$(cell_sig 51 32)" != "$live_floor" ] || [ "$(live_bar)" != "$live_full_bar" ]; }
wait_for "the bomb to go off" bomb_went_off
blast=$(($(now_ms) - t0))
echo "blast seen ${blast} ms after the fire key went down"
[ "$blast" -gt 900 ] || fail "blast after ${blast} ms, wanted about 1250"
bar_shrunk() { shot "$S"; [ "$(bar_tail "$S")" != "$full_bar" ]; }
wait_for "player 2's energy bar to shrink" bar_shrunk

press Escape
wait_menu
still_running 0.5 || fail "Esc in the match ended the program"
type_keys Down Down Down Down         # Quit
wait_pixel 230 355 "255,0,0"
press Return
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Quit"
echo "match: ok"
