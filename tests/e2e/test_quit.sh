#!/usr/bin/env bash
# "Quit" in the main menu ends the program with status 0; Credits does not.
source "$(dirname "$0")/lib.sh"
e2e_setup
start_game
wait_menu
type_keys Down Down Down         # Credits
wait_pixel 230 319 "255,0,0"
press Return
still_running 0.5 || fail "Credits ended the program"
press Down                       # Quit
wait_pixel 230 355 "255,0,0"
press Return
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Quit"
echo "quit: ok"
