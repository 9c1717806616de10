#!/usr/bin/env bash
# Keys let go while another window has the focus, or while another client
# grabs the keyboard as a window manager's Alt+Tab does: the game never hears
# their release, yet they must not stay held. A key held in the menu and let
# go elsewhere presses again as a new key; player 1 walking right when the
# focus leaves stops, the match pauses until P, and player 1 walks again on
# the next press; the change key, used up by the match and let go during a
# grab, changes the weapon again on its next press.
source "$(dirname "$0")/lib.sh"
e2e_setup
mkdir -p "$WORK/levels"
head -c 7208 /dev/zero >"$WORK/levels/arena"     # all floor
# A window, as on a desktop: a full screen grabs the keyboard itself, and
# then neither another window nor another client can take it away.
printf 'driver = 3\n' >"$WORK/config.ini"
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

# Another client takes the keyboard for as long as the command $@ runs. The
# grab must begin after the key went down and end after it came up.
GRABBER=$BUILD_DIR/tests/grab_keyboard
while_grabbed()
{
    rm -f "$WORK/grab.in" "$WORK/grab.out"
    mkfifo "$WORK/grab.in"
    "$GRABBER" <"$WORK/grab.in" >"$WORK/grab.out" 2>&1 &
    local pid=$!
    exec 7>"$WORK/grab.in"
    grabbed() { grep -q grabbed "$WORK/grab.out" || { kill -0 "$pid" 2>/dev/null || fail "grab_keyboard: $(cat "$WORK/grab.out")"; false; }; }
    wait_for "another client's keyboard grab" grabbed
    "$@"
    exec 7>&-
    wait "$pid" || fail "grab_keyboard: $(cat "$WORK/grab.out")"
}

# Up is used up by the menu's move; its release goes to the grabbing client.
xdotool keydown Up
wait_pixel 230 240 "255,0,0"                          # Options
while_grabbed xdotool keyup Up
press Up
wait_pixel 230 200 "255,0,0"                          # the next press moves on to New Game
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

# Right Shift changes player 1's weapon and is used up at once; let go
# during a grab (which pauses the match), its next press changes the weapon
# again.
ICON=12x12+23+433
icon_is_not() { [ "$(region_sig $ICON)" != "$1" ]; }
bomb_icon=$(region_sig $ICON)
xte "keydown Shift_R"
wait_for "the weapon to change" icon_is_not "$bomb_icon"
missile_icon=$(region_sig $ICON)
while_grabbed xte "keyup Shift_R"
wait_for "the match to pause when another client grabbed the keyboard" paused
press p
wait_for "P to go on with the match after the grab" playing
press_mod Shift_R
wait_for "the weapon to change on the next press after the grab" icon_is_not "$missile_icon"
kill "$OTHER_PID" 2>/dev/null || true
echo "focus: ok"
