#!/usr/bin/env bash
# Keys let go while another window has the focus: the game never hears
# their release, yet they must not stay held. A key held in the menu and let
# go elsewhere presses again as a new key; player 1 walking right when the
# focus leaves stops, the match pauses until P, and player 1 walks again on
# the next press.
source "$(dirname "$0")/lib.sh"
e2e_setup
mkdir -p "$WORK/levels"
head -c 7208 /dev/zero >"$WORK/levels/arena"     # all floor
start_game
wait_menu

# Without a window manager the game's top window is the 640x480 one at the
# origin; ImageMagick's display gives a second window to take the focus.
game_window() { GAME_WINDOW=$(xwininfo -root -children | awk '/ 640x480\+0\+0 / { print $1; exit }'); [ -n "$GAME_WINDOW" ]; }
wait_for "the game's window" game_window
display -size 60x60 -geometry +560+320 xc:white &
OTHER_PID=$!
other_window() { OTHER_WINDOW=$(xdotool search --name ImageMagick 2>/dev/null | head -1); [ -n "$OTHER_WINDOW" ]; }
wait_for "a second window" other_window
focus_on() { xdotool windowfocus "$1"; focused() { [ "$(xdotool getwindowfocus)" = "$(($1))" ]; }; wait_for "the focus on $1" focused "$1"; }

# Held in the game, let go in the other window.
let_go_elsewhere()
{
    xdotool keydown "$1"
    "${@:2}"
    focus_on "$OTHER_WINDOW"
    xdotool keyup "$1"
    focus_on "$GAME_WINDOW"
}

let_go_elsewhere Down wait_pixel 230 240 "255,0,0"    # to Options, and held
press Down
wait_pixel 230 275 "255,0,0"                          # the next press moves on to Editor

press Up; press Up
wait_pixel 230 200 "255,0,0"
press Return                                          # New Game
wait_pixel 378 69 "200,0,0"
press Return                                          # the only level
p1_row() { region_sig 640x12+0+2; }
wait_pixel 9 462 "255,0,0"                            # player 1's energy bar: the match is on
start_row=$(p1_row)
walking() { [ "$(p1_row)" != "$start_row" ]; }
panel_title() { region_sig 318x23+161+419; }
playing_title=$(panel_title)
let_go_elsewhere Right wait_for "player 1 to walk right" walking
paused() { [ "$(panel_title)" != "$playing_title" ]; }
wait_for "the match to pause when the window lost the focus" paused
press p
playing() { [ "$(panel_title)" = "$playing_title" ]; }
wait_for "P to go on with the match" playing

# Stopped: the row stays as it is for a whole second, and not because the
# board's right edge stopped a key still held.
still_for_a_second() { local a; a=$(p1_row); sleep 1; [ "$(p1_row)" = "$a" ]; }
wait_for "player 1 to stop once Right was let go" still_for_a_second
[ "$(cell_sig 52 0)" = "$(cell_sig 30 10)" ] || fail "player 1 walked on to the right edge: Right stayed held"
stopped_row=$(p1_row)
press Right 0.3
moved() { [ "$(p1_row)" != "$stopped_row" ]; }
wait_for "player 1 to walk on the next press of Right" moved
kill "$OTHER_PID" 2>/dev/null || true
echo "focus: ok"
