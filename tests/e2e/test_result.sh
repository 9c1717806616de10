#!/usr/bin/env bash
# A match worth winning: player 1 wrecks itself with missiles fired at the
# board's edge, the panel's centre names player 2 in green, Enter brings both
# players back to their start cells with full energy and the score shown;
# then a pause freezes a lit big bomb for two seconds and P lets it go off,
# and the Pause key pauses and goes on as well.
source "$(dirname "$0")/lib.sh"
e2e_setup
mkdir -p "$WORK/levels"
head -c 7208 /dev/zero >"$WORK/levels/open"     # all floor

title_row() { region_sig 318x23+161+419; }
hint_row() { region_sig 318x15+161+443; }
bars() { region_sig 640x10+0+462; }
# How many pixels of the centre's title row are exactly rgb(0,250,0).
green_in_title()
{
    import -display "$DISPLAY" -window root -crop 318x23+161+419 +repage -depth 8 txt:- |
        grep -c '#00FA00' || true
}

start_game
wait_menu
press Return
wait_pixel 378 69 "200,0,0"
browser_title=$(title_row)
press Return
match_on() { [ "$(title_row)" != "$browser_title" ]; }
wait_for "the match" match_on
wait_still
start_title=$(title_row)
start_hint=$(hint_row)
start_bars=$(bars)
p1_start=$(cell_sig 0 0)
p2_start=$(cell_sig 52 33)

# Missiles fired left from the left edge blow up beside player 1, on its cell.
press_mod Shift_R
press Left 0.1
press_mod Control_R 4
wrecked() { [ "$(cell_sig 0 0)" != "$p1_start" ] && [ "$(title_row)" != "$start_title" ]; }
wait_for "player 1 wrecked and the result shown" wrecked
green_named() { E2E_SEEN=$(green_in_title); [ "$E2E_SEEN" -gt 50 ]; }
wait_for "player 2 named as the winner in green" -t 5 green_named
[ "$(hint_row)" != "$start_hint" ] || fail "the score did not change"
result_hint=$(hint_row)

press Return                                  # the rematch
rematch() { [ "$(title_row)" = "$start_title" ] && [ "$(bars)" = "$start_bars" ]; }
wait_for "a fresh match with full energy" rematch
wait_still
[ "$(cell_sig 0 0)" = "$p1_start" ] || fail "player 1 is not back on its start cell"
[ "$(cell_sig 52 33)" = "$p2_start" ] || fail "player 2 is not back on its start cell"
[ "$(hint_row)" != "$start_hint" ] || fail "the score went back to 0 : 0"

# Player 2's big bomb, 2.5 s of fuse, then the pause at once. On a machine
# so busy that the pause came after the blast, player 2 has lost energy:
# then go on, let the fire die down and try again.
p2_bar() { region_sig 130x10+501+462; }
full_p2_bar=$(p2_bar)
floor=$(cell_sig 30 20)
paused() { [ "$(title_row)" != "$start_title" ]; }
playing() { [ "$(title_row)" = "$start_title" ]; }
press_mod Shift_L
press_mod Shift_L
for attempt in 1 2 3; do
    press_mod Control_L
    press p
    wait_for "PAUSED in the panel" paused
    [ "$(p2_bar)" = "$full_p2_bar" ] && break
    [ "$attempt" -lt 3 ] || fail "the pause never came before the blast"
    press p
    wait_for "the match to go on" playing
    sleep 1                                   # the blast's fire dies down
    full_p2_bar=$(p2_bar)
done
bomb_cell=$(cell_sig 52 33)
[ "$bomb_cell" != "$p2_start" ] || fail "no bomb under player 2"
frozen() { sleep 2; [ "$(cell_sig 52 33)" = "$bomb_cell" ] && [ "$(cell_sig 52 31)" = "$floor" ]; }
frozen || fail "the bomb changed while the match was paused"
press p
went_off() { [ "$(cell_sig 52 31)" != "$floor" ] || [ "$(p2_bar)" != "$full_p2_bar" ]; }
wait_for "the bomb to go off once the pause ends" -t 10 went_off

# The Pause key pauses and goes on too, tap by tap.
press Pause
wait_for "Pause to pause" paused
press Pause
wait_for "Pause to go on" playing
press Pause
wait_for "Pause to pause again" paused

press Escape
wait_menu
type_keys Down Down Down Down
wait_pixel 230 355 "255,0,0"
press Return
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Quit"
echo "result: ok"
