#!/usr/bin/env bash
# On a 1600x1200 display: scale = 2 opens a 1280x960 window whose menu is the
# 640x480 menu with every pixel doubled; the editor, painted and saved with
# the mouse through that window, writes the cells that were clicked; and
# scale = 0 picks 2 for a window on this display.
source "$(dirname "$0")/lib.sh"
e2e_setup 1600x1200

settings() { printf 'bpp = 16\ndriver = 3\n%s' "$1" >"$WORK/config.ini"; }
# The game's window is w x h (the window Allegro draws in, at the top left).
window_is() { E2E_SEEN=$(xwininfo -root -tree | grep -o '"blastarena": ("allegro" "Allegro")  [0-9x+]*'); [[ $E2E_SEEN == *" $1+0+0" ]]; }
# Without a window manager the keyboard goes to the window under the pointer.
# Pointed at once the window is up (a move onto it gives it the keyboard).
focus() { xdotool mousemove 30 30 sleep 0.1 mousemove 40 40; sleep 0.1; }
quit_from_menu() { press Escape; wait_exit; [ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"; }

# The menu as it has always been, without a scale.
settings ""
start_game
wait_menu
focus
wait_for "a 640x480 window" window_is 640x480
wait_still
import -display "$DISPLAY" -window root -crop 640x480+0+0 +repage "$WORK/menu1.png"
quit_from_menu
convert "$WORK/menu1.png" -scale 200% "$WORK/menu1_doubled.png"

settings "scale = 2"
start_game
wait_for "the main menu doubled" pixel_near 460 400 "255,0,0"
focus
wait_for "a 1280x960 window" window_is 1280x960
wait_screen same "$WORK/menu1_doubled.png" 1280x960+0+0

# The editor through the doubled window: every position below is a game
# pixel times two.
press Down; press Down
wait_pixel 460 550 "255,0,0"           # "Editor" highlighted
press Return
wait_pixel_not 460 550 "255,0,0"
click_at 420 920                       # the pen
click_at 70 922                        # palette column 1, row 2: tile 5
click_at 256 256                       # cell (10, 10)
click_at 1264 16                       # cell (52, 0), right at the top
click_at 1268 818                      # cell (52, 33), a start cell: stays floor
painted() { pixel_not_near 256 256 "$floor"; }
floor=$(pixel 600 600)
wait_for "cell (10, 10) painted" painted

click_at 1178 888                      # Save
wait_pixel_not 600 500 "$floor"        # the save-name box's dark field
type_keys m o u s e
press Return
wait_pixel_not 560 440 "$floor"        # the question whether to save
click_at 560 440                       # Yes
wait_file "$WORK/levels/MOUSE" nonempty
values=$(od -An -v -t d4 -w4 "$WORK/levels/MOUSE" | tr -d ' ')
[ "$(wc -l <<<"$values")" -eq 1802 ] || fail "the level is not 1802 cells"
# Column-major: cell (c, r) is value c * 34 + r.
painted_cells=$(awk '$1 != 0 { print (NR - 1) " " $1 }' <<<"$values" | tr '\n' ';')
[ "$painted_cells" = "350 5;1768 5;" ] || fail "cells saved: $painted_cells (want (10,10) and (52,0) as tile 5)"

click_at 1178 922                      # Quit
wait_pixel_not 560 440 "$floor"
click_at 560 440                       # Yes
wait_pixel 460 550 "255,0,0"           # back in the menu
quit_from_menu

settings "scale = 0"
start_game
wait_for "the main menu doubled" pixel_near 460 400 "255,0,0"
focus
wait_for "a 1280x960 window, the largest that fits" window_is 1280x960
quit_from_menu
echo "scale: ok"
