#!/usr/bin/env bash
# Settings and a level that are named pipes, not files: config.ini is one,
# and a level links to one. Writing the names and saving the level are both
# refused with the message of a failed write, the pipes stay pipes (a rename
# over them would have put a plain file there), and the game carries on.
source "$(dirname "$0")/lib.sh"
e2e_setup
mkfifo "$WORK/config.ini" "$WORK/pipe"
mkdir "$WORK/levels"
ln -s ../pipe "$WORK/levels/PIPED"

start_game
wait_menu
press Down                             # Options
press Return
wait_pixel 230 200 "255,0,0"           # on "Names"
band=$(region_sig 640x120+0+180)
press Return
wait_for "the name prompt" eval '[ "$(region_sig 640x120+0+180)" != "$band" ]'
xdotool type --delay 40 a; press Return
xdotool type --delay 40 b; press Return
wait_pixel 230 200 "255,0,0"           # back in the options menu
said() { grep -qxF "$1" "$WORK/game.out"; }
wait_for "the refused settings write" said "Could not write config.ini: Operation not permitted"
[ -p "$WORK/config.ini" ] || fail "config.ini is no longer a pipe"

press Down; press Down; press Down; press Down
wait_pixel 230 350 "255,0,0"           # "Back"
press Return
press Down
wait_pixel 230 275 "255,0,0"           # "Editor"
press Return
wait_pixel_not 230 275 "255,0,0"
wait_still
shot "$WORK/editor.png"
YES_X=260 YES_Y=216                    # inside the question's Yes button
under_yes=$(pixel $YES_X $YES_Y "$WORK/editor.png")
press s
wait_screen changed "$WORK/editor.png" # the name box
type_keys p i p e d
press Return
wait_pixel_not $YES_X $YES_Y "$under_yes"
press y
wait_screen same "$WORK/editor.png"
wait_for "the refused save" said "Could not save PIPED: Operation not permitted"
[ -p "$WORK/pipe" ] && [ -L "$WORK/levels/PIPED" ] || fail "the level's pipe or its link was replaced"
[ "$(ls -A "$WORK/levels")" = PIPED ] || fail "left in levels/: $(ls -A "$WORK/levels")"

press Escape
wait_pixel_not $YES_X $YES_Y "$under_yes"
press y
wait_pixel 230 275 "255,0,0"
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo "not a file: ok"
