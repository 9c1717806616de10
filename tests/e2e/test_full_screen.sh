#!/usr/bin/env bash
# Full screen with scale = 0 takes the display as it is, 1600x960 here, and
# fills its height with the picture doubled, centred on black; the pointer
# still finds the editor's cells through the black border's offset.
source "$(dirname "$0")/lib.sh"
e2e_setup 1600x960
printf 'bpp = 16\ndriver = 2\nscale = 0\n' >"$WORK/config.ini"
start_game
LEFT=160                                 # (1600 - 1280) / 2
wait_for "the main menu doubled, 160 pixels in" pixel_near $((LEFT + 460)) 400 "255,0,0"
xdotool mousemove 800 480 sleep 0.1 mousemove 810 490
covers() { E2E_SEEN=$(xwininfo -root -tree | grep -o '[0-9]*x[0-9]*+0+0' | sort -u | tr '\n' ' '); [[ $E2E_SEEN == *1600x960+0+0* ]]; }
wait_for "a window over the whole display" covers
for x in 0 $((LEFT - 1)) $((LEFT + 1280)) 1599; do
    [ "$(pixel $x 480)" = "0,0,0" ] || fail "($x, 480) beside the picture is $(pixel $x 480), not black"
done
[ "$(pixel $LEFT 0)" != "0,0,0" ] || fail "the picture does not reach the top"
[ "$(pixel $LEFT 959)" != "0,0,0" ] || fail "the picture does not reach the bottom"

press Down; press Down
wait_pixel $((LEFT + 460)) 550 "255,0,0"  # "Editor"
press Return
wait_pixel_not $((LEFT + 460)) 550 "255,0,0"
floor=$(pixel $((LEFT + 600)) 600)
click_at $((LEFT + 420)) 920             # the pen
click_at $((LEFT + 70)) 922              # tile 5
click_at $((LEFT + 256)) 256             # cell (10, 10)
painted() { pixel_not_near $((LEFT + 256)) 256 "$floor"; }
wait_for "cell (10, 10) painted under the pointer" painted
press Escape
wait_pixel_not $((LEFT + 560)) 440 "$floor"
press y
wait_pixel $((LEFT + 460)) 550 "255,0,0"
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo "full screen: ok"
