#!/usr/bin/env bash
# The main menu comes up with "New Game" highlighted; Down, Options and Back
# move the highlight and keep it; Esc ends with status 0.
source "$(dirname "$0")/lib.sh"
e2e_setup
start_game
wait_menu

press Down
wait_pixel 230 240 "255,0,0"
[ "$(pixel 230 200)" != "255,0,0" ] || fail "old highlight still drawn"

press Return                         # Options
wait_pixel 230 200 "255,0,0"         # the options menu, on its first item
press Down                           # options cursor to Keys
wait_pixel 230 240 "255,0,0"
press Down; press Down; press Down   # Back
wait_pixel 230 355 "255,0,0"
press Return
wait_pixel 230 240 "255,0,0"         # main menu, still on Options

press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Esc"
echo "menu: ok"
