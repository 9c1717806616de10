#!/usr/bin/env bash
# Playing alone: config.ini says the computer plays player 2 at its hardest.
# In the level browser F2 steps player 2's label (and config.ini) through a
# person and back round to hard; then, with player 1 never touching a key,
# the computer hunts player 1 down: player 1's energy bar shrinks within a
# minute while player 2's still shows. Esc still ends the match.
source "$(dirname "$0")/lib.sh"
e2e_setup
mkdir -p "$WORK/levels"
head -c 7208 /dev/zero >"$WORK/levels/open"     # all floor
printf 'pl2cpu = 3\n' >"$WORK/config.ini"

label2() { region_sig 181x24+450+296; }
cpu_in_file() { grep -q "^pl2cpu = $1\$" "$WORK/config.ini"; }
title_row() { region_sig 318x23+161+419; }
bar1() { region_sig 130x10+9+462; }

start_game
wait_menu
press Return
wait_pixel 378 69 "200,0,0"                   # the browser, on the first file
wait_still
hard_label=$(label2)
press F2
label_changed() { [ "$(label2)" != "$hard_label" ]; }
wait_for "player 2's label to change" label_changed
wait_for "pl2cpu = 0 in config.ini" cpu_in_file 0
person_label=$(label2)
for level in 1 2 3; do
    before=$(label2)
    press F2
    stepped() { [ "$(label2)" != "$before" ]; }
    wait_for "player 2's label to step to level $level" stepped
    wait_for "pl2cpu = $level in config.ini" cpu_in_file "$level"
done
[ "$(label2)" = "$hard_label" ] || fail "back at hard, the label is not as it was"
[ "$person_label" != "$hard_label" ] || fail "a person and hard look alike"

browser_title=$(title_row)
press Return
match_on() { [ "$(title_row)" != "$browser_title" ]; }
wait_for "the match" match_on
# The computer needs seconds to cross the board: the bar is still full.
full_bar=$(bar1)
p2_first_column=$(pixel 501 466)
colour_near "$p2_first_column" "0,255,0" || fail "player 2's bar does not start green ($p2_first_column)"
fell() { [ "$(bar1)" != "$full_bar" ]; }
wait_for "player 1's energy to fall" -t 60 fell
pixel_near 501 466 "0,255,0" || fail "player 2 is out as well ($E2E_SEEN)"

press Escape
wait_menu
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
od -An -tu1 -j72 -N2 "$WORK/replays/last.replay" | grep -q "0 *3" ||
    fail "the replay does not say the computer played player 2"
echo "computer: ok"
