#!/usr/bin/env bash
# "New Game" opens the level browser over the menu; Down + Enter plays the
# second level file, whose tiles the match then shows. Cancel plays on the
# empty board. Among ten thousand more files the first still heads the list.
source "$(dirname "$0")/lib.sh"
ART=$BUILD_DIR/assets/art

# A level file of 1802 little-endian values: tile $2 everywhere, except
# column 20 in tile $3.
make_level()
{
    local fill stripe c r
    fill=$(printf '\\x%02x\\x00\\x00\\x00' "$2")
    stripe=$(printf '\\x%02x\\x00\\x00\\x00' "$3")
    for c in $(seq 0 52); do
        for r in $(seq 0 33); do
            if [ "$c" -eq 20 ]; then printf "$stripe"; else printf "$fill"; fi
        done
    done >"$1"
}

# Does board cell ($1, $2) of screenshot $4 show tile $3's picture?
cell_is()
{
    local x=$(($1 * 12 + 2)) y=$(($2 * 12 + 2)) diff
    convert "$4" -crop "12x12+$x+$y" +repage "$WORK/cell.png"
    diff=$(compare -metric AE -fuzz 8% "$WORK/cell.png" "$(printf '%s/level_%02d.bmp' "$ART" "$3")" null: 2>&1 || true)
    [ "${diff%% *}" -le 2 ]
}

# Waits until cell ($1, $2) shows tile $3.
wait_cell()
{
    live_cell_is() { shot "$WORK/board.png"; cell_is "$@" "$WORK/board.png"; }
    wait_for "cell ($1,$2) to show tile $3" live_cell_is "$1" "$2" "$3"
}

BAR_X=378
bar_y() { echo $((63 + 12 * $1 + 6)); }

e2e_setup
mkdir "$WORK/levels"
make_level "$WORK/levels/a_first" 2 4
make_level "$WORK/levels/b_second" 6 10
make_level "$WORK/levels/c_third" 8 13
start_game
wait_menu

press Return                                  # New Game
wait_pixel $BAR_X "$(bar_y 0)" "200,0,0"      # the bar on the first file
# The browser moves once per pass while Down is held, so tap it briefly and
# see where the bar went before tapping again.
red_at_row() { colour_near "$(pixel $BAR_X "$(bar_y "$1")")" "200,0,0"; }
row=0
for try in 1 2 3 4 5; do
    [ "$row" = 1 ] && break
    if [ "$row" = 2 ]; then press Up 0.02; else press Down 0.02; fi
    bar_left() { ! red_at_row "$row"; }
    poll_until 2 bar_left || continue       # the tap went unseen: tap again
    for row in 0 1 2 3; do red_at_row "$row" && break; done
done
wait_pixel $BAR_X "$(bar_y 1)" "200,0,0"
press Return

wait_cell 10 10 6
shot "$WORK/board.png"
cell_is 20 15 10 "$WORK/board.png" || fail "column 20 is not tile 10"
cell_is 40 25 6 "$WORK/board.png" || fail "cell (40,25) is not tile 6"
# The pictures must differ for the checks above to prove anything.
! cell_is 10 10 2 "$WORK/board.png" || fail "tiles 2 and 6 look alike"
! cell_is 20 15 6 "$WORK/board.png" || fail "tiles 6 and 10 look alike"

press Escape                                  # back to the menu
wait_menu
press Return
wait_pixel $BAR_X "$(bar_y 0)" "200,0,0"
NOTE=200x10+221+396                           # under the rows, above the buttons
quiet_note=$(region_sig $NOTE)
click_at 355 416                              # Cancel
wait_cell 10 10 0
shot "$WORK/board.png"
cell_is 20 15 0 "$WORK/board.png" || fail "column 20 is not empty after Cancel"

# Ten thousand more files, named to sort after the three: the list still
# starts with the first of all, and the box says how many it leaves out.
for i in $(seq 10000 19999); do : >"$WORK/levels/z$i"; done
press Escape
wait_menu
press Return
wait_pixel $BAR_X "$(bar_y 0)" "200,0,0"
wait_for "a note of the files not shown" eval '[ "$(region_sig $NOTE)" != "$quiet_note" ]'
press Return                                  # the first row
wait_cell 10 10 2

press Escape
wait_menu
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo "browser: ok"
