#!/usr/bin/env bash
# Presses that arrive together, and presses that outlast what they did:
# Down and Enter pressed in one instant move to "Editor" and choose it; two
# letters held together in the save box both type; a Yes click held past
# the Clear question paints nothing under the button nor at its mirror;
# Esc held past the Load browser goes back to the editor asking nothing.
source "$(dirname "$0")/lib.sh"
e2e_setup
mkdir -p "$WORK/levels"
start_game
wait_menu

PANEL=640x60+0+415   # the menu background there, the editor's panel later

press Down
wait_pixel 230 240 "255,0,0"               # "Options"
menu_panel=$(region_sig $PANEL)
xte "keydown Down" "keydown Return" "usleep 100000" "keyup Down" "keyup Return"
panel_changed() { [ "$(region_sig $PANEL)" != "$menu_panel" ]; }
wait_for "the editor, chosen by Down and Enter together" panel_changed
floor=$(cell_sig 10 10)

press_for_dialog s $SAVEBOX
xte "keydown q" "keydown w" "usleep 60000" "keyup q" "keyup w"
type_keys e r
press_for_dialog Return $YESNO
press y
wait_file "$WORK/levels/QWER"

# Mirror painting on; the Clear question answered with a click on Yes held
# for 300 ms, over cell (23, 18).
press m
press_for_dialog c $YESNO
xdotool mousemove 280 220 sleep 0.1 mousedown 1 sleep 0.3 mouseup 1
# The pointer moves on: once the hover mark shows at (40, 5), the frames
# after the button was let go have been drawn.
xdotool mousemove 488 68
hover_shown() { [ "$(cell_sig 40 5)" != "$floor" ]; }
wait_for "the hover mark at (40, 5)" hover_shown
[ "$(cell_sig 23 18)" = "$floor" ] || fail "the click on Yes painted the cell under the button"
[ "$(cell_sig 29 15)" = "$floor" ] || fail "the click on Yes painted the mirror of the cell under the button"

# Esc held 300 ms cancels the Load browser: the cell under the list box
# shows the board again, and the one under the yes/no box stays floor.
press_for_dialog l $LISTBOX
xte "keydown Escape" "usleep 300000" "keyup Escape"
browser_gone() { [ "$(cell_sig 19 4)" = "$floor" ]; }
wait_for "the browser to close" browser_gone
end=$(($(now_ms) + 1500))
while [ "$(now_ms)" -lt "$end" ]; do
    [ "$(cell_sig 14 14)" = "$floor" ] || fail "the Esc that closed the browser also asked to quit"
    sleep 0.2
done

press_for_dialog Escape $YESNO
press y
wait_pixel 230 275 "255,0,0"               # the menu, on "Editor"
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo "input passes: ok"
