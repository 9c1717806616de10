#!/usr/bin/env bash
# Paints a level in the editor with the fill tool, saves it under a typed
# name, checks the file, clears the board and loads the level back through
# the browser; then quits the editor and plays a match on the saved level.
source "$(dirname "$0")/lib.sh"
e2e_setup
start_game
wait_menu

PROBE_X=128 PROBE_Y=128    # middle of board cell (10, 10), away from the pointer

press Down; press Down
wait_pixel 230 275 "255,0,0"           # "Editor" highlighted
press Return
wait_pixel_not 230 275 "255,0,0"       # the editor's board covers the menu
floor=$(pixel $PROBE_X $PROBE_Y)

click_at 35 461                        # palette column 1, row 2: tile 5
click_at 232 460                       # fill tool
click_at 300 200                       # fill the empty board
wait_pixel_not $PROBE_X $PROBE_Y "$floor"
painted=$(pixel $PROBE_X $PROBE_Y)

press_for_dialog s $SAVEBOX
type_keys e 2 e
press_for_dialog Return $YESNO
press y
wait_file "$WORK/levels/E2E"
[ "$(stat -c %s "$WORK/levels/E2E")" -eq 7208 ] || fail "level file is not 7208 bytes"
values=$(od -An -v -t d4 -w4 "$WORK/levels/E2E" | tr -d ' ')
[ "$(head -n1 <<<"$values")" = 0 ] || fail "start cell (0,0) is not floor"
[ "$(tail -n1 <<<"$values")" = 0 ] || fail "start cell (52,33) is not floor"
[ "$(sed '1d;$d' <<<"$values" | sort -u)" = 5 ] || fail "cells other than the start cells are not all tile 5"

press_for_dialog c $YESNO              # the Finnish clear question
press y
wait_pixel $PROBE_X $PROBE_Y "$floor"

press_for_dialog l $LISTBOX            # load it back through the browser
press Return
wait_pixel $PROBE_X $PROBE_Y "$painted"

press_for_dialog Escape $YESNO
press y
wait_pixel 230 275 "255,0,0"           # back in the menu, still on "Editor"

press Up; press Up
wait_pixel 230 200 "255,0,0"           # "New Game"
press Return                           # the browser over the menu
wait_pixel 378 69 "200,0,0"            # its bar on the first row
press Return                           # the only level
wait_pixel $PROBE_X $PROBE_Y "$painted"
press Escape                           # end the match
wait_menu
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo "editor: ok"
