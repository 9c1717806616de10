#!/usr/bin/env bash
# The designer's tools in the real editor: with mirror painting on (M) one
# click paints a cell and its point-symmetric twin; T plays the board at
# once and Esc comes back to the editor with it; a drag that jumps 25 cells
# between two frames paints every cell in between. A save shows all of it.
source "$(dirname "$0")/lib.sh"
e2e_setup
start_game
wait_menu

# A pixel of board cell (c, r) below and left of where the pointer points
# when it clicks the cell (its centre), so the pointer never hides it.
cell_px() { echo $(($1 * 12 + 5)) $(($2 * 12 + 11)); }
cell_centre() { echo $(($1 * 12 + 8)) $(($2 * 12 + 8)); }
TITLE="510 427"      # on the editor panel's Clear button, where the match panel is dark

press Down; press Down
wait_pixel 230 275 "255,0,0"           # "Editor" highlighted
press Return
wait_pixel_not 230 275 "255,0,0"       # the editor's board covers the menu
floor=$(pixel $(cell_px 10 10))
title=$(pixel $TITLE)

click_at 35 461                        # palette column 1, row 2: tile 5
press m                                # mirror on
click_at $(cell_centre 10 10)
wait_pixel_not $(cell_px 10 10) "$floor"
painted=$(pixel $(cell_px 10 10))
wait_pixel $(cell_px 42 23) "$painted"   # its twin, painted by the same click

# Test-play: the match's own panel replaces the editor's, on the same board.
press t
wait_pixel_not $TITLE "$title"
pixel_near $(cell_px 10 10) "$painted" || fail "the match does not show the painted cell (10,10)"
pixel_near $(cell_px 42 23) "$painted" || fail "the match does not show the painted cell (42,23)"
press Escape
wait_pixel $TITLE "$title"             # back in the editor
wait_still
pixel_near $(cell_px 10 10) "$painted" || fail "the editor lost cell (10,10) after test-play"
yesno_ground=$(pixel $YESNO)
pixel_near $YESNO "$floor" || fail "leaving the match asked to leave the editor too (saw $yesno_ground)"

# A drag that jumps: the button goes down on (5, 20), the pointer leaps to
# (30, 20) in one move, and the button comes up once that cell shows.
press m                                # mirror off
xdotool mousemove $(cell_centre 5 20) sleep 0.1 mousedown 1
wait_pixel $(cell_px 5 20) "$painted"
xdotool mousemove $(cell_centre 30 20)
wait_pixel $(cell_px 30 20) "$painted"
xdotool mouseup 1
sleep 0.1

before=$(pixel $SAVEBOX)
press s
wait_pixel_not $SAVEBOX "$before"
type_keys a r e n a
before=$(pixel $YESNO)
press Return
wait_pixel_not $YESNO "$before"
press y
wait_file "$WORK/levels/ARENA"
# Column by column, 34 cells each: the tile-5 cells by (column, row).
cells=$(od -An -v -t d4 -w4 "$WORK/levels/ARENA" | tr -d ' ' |
        awk '$1 == 5 { printf "%d,%d\n", int((NR - 1) / 34), (NR - 1) % 34 }' | sort)
expected=$( { echo 10,10; echo 42,23; for c in $(seq 5 30); do echo "$c,20"; done; } | sort)
[ "$cells" = "$expected" ] || fail "saved tile-5 cells differ: $(diff <(echo "$expected") <(echo "$cells") | tr '\n' ' ')"

press Escape
wait_pixel_not $YESNO "$floor"
press y
wait_pixel 230 275 "255,0,0"           # back in the menu, still on "Editor"
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo "editor designer: ok"
