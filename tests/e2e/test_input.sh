#!/usr/bin/env bash
# The keyboard as two players and a menu user use it, with the display's
# auto-repeat on: five quick taps move the browser five rows; both fire keys
# pressed in the same instant both fire; player 2 holding left Control while
# player 1 taps right Control leaves nothing held; Esc held 2 s to leave a
# match stays at the menu; a chord in the key dialog answers one prompt with
# its highest key. Modifiers go through xte: xdotool presses left Control
# along with the right one.
source "$(dirname "$0")/lib.sh"
E2E_AUTOREPEAT=1
e2e_setup

# Eight empty arenas: the chosen one is all floor whichever it is.
mkdir -p "$WORK/levels"
for i in 1 2 3 4 5 6 7 8; do head -c 7208 /dev/zero >"$WORK/levels/open$i"; done

region_is_not() { [ "$(region_sig "$1")" != "$2" ]; }
# Region $1 no longer changing: two looks half a second apart agree.
region_settled() { local a; a=$(region_sig "$1"); sleep 0.5; [ "$(region_sig "$1")" = "$a" ]; }

row_y() { echo $((69 + 12 * $1)); }   # a pixel of the browser's bar on row $1

start_game
wait_menu
press Return                               # New Game: the browser
wait_pixel 378 "$(row_y 0)" "200,0,0"
xdotool key Down Down Down Down Down       # five taps of a few milliseconds
wait_pixel 378 "$(row_y 5)" "200,0,0"
still_running 1 || fail "the game ended in the browser"
pixel_near 378 "$(row_y 5)" "200,0,0" && ! pixel_near 378 "$(row_y 6)" "200,0,0" ||
    fail "five taps did not move the selection exactly five rows"
press Return

# The energy bars, whole.
P1_BAR=130x10+9+462
P2_BAR=130x10+501+462
# The match is up once the browser has gone and both bars start with their
# brightest colour.
wait_pixel_not 378 "$(row_y 5)" "200,0,0"
wait_pixel 9 466 "255,0,0"
wait_pixel 501 466 "0,255,0"

# Both fire keys in one instant: each player bombs its own cell and loses
# energy in the blast.
p1=$(region_sig $P1_BAR); p2=$(region_sig $P2_BAR)
xte "keydown Control_L" "keydown Control_R" "usleep 150000" "keyup Control_L" "keyup Control_R"
wait_for "player 1's energy to drop" region_is_not $P1_BAR "$p1"
wait_for "player 2's energy to drop" region_is_not $P2_BAR "$p2"
wait_for "player 1's bar to settle" region_settled $P1_BAR
wait_for "player 2's bar to settle" region_settled $P2_BAR

# Player 2 holds left Control while player 1 taps right Control: both fire
# once, and once both are up nobody fires again.
p1=$(region_sig $P1_BAR); p2=$(region_sig $P2_BAR)
xte "keydown Control_L" "usleep 200000" "keydown Control_R" "usleep 100000" "keyup Control_R" \
    "usleep 200000" "keyup Control_L"
wait_for "player 1's energy to drop again" region_is_not $P1_BAR "$p1"
wait_for "player 2's energy to drop again" region_is_not $P2_BAR "$p2"
wait_for "player 1's bar to settle again" region_settled $P1_BAR
wait_for "player 2's bar to settle again" region_settled $P2_BAR
p1=$(region_sig $P1_BAR); p2=$(region_sig $P2_BAR)
# A stuck fire key would drop a new bomb as soon as the last one is gone
# and take energy again within two seconds.
end=$(($(now_ms) + 3000))
while [ "$(now_ms)" -lt "$end" ]; do
    [ "$(region_sig $P1_BAR)" = "$p1" ] || fail "player 1 went on firing: its fire key stuck"
    [ "$(region_sig $P2_BAR)" = "$p2" ] || fail "player 2 went on firing: its fire key stuck"
    sleep 0.2
done

# Esc held for 2 s, well past the auto-repeat delay: the match ends and the
# menu stays.
xte "keydown Escape" "usleep 2000000" "keyup Escape"
wait_menu
still_running 1.5 || fail "Esc held out of the match also quit the program"
pixel_near 230 200 "255,0,0" || fail "the menu is gone after Esc was let go"

# The key dialog: A and left Control as one chord answer "PL1 left" with
# left Control (101 in config.ini); "PL1 right" then waits for its own key.
press Down
wait_pixel 230 240 "255,0,0"               # "Options"
press Return
wait_pixel 230 200 "255,0,0"               # options menu on "Names"
press Down
wait_pixel 230 240 "255,0,0"               # "Keys"
PROMPT=640x40+0+225
menu=$(region_sig $PROMPT)
press Return
wait_for "the first key prompt" region_is_not $PROMPT "$menu"
first=$(region_sig $PROMPT)
xte "keydown a" "keydown Control_L" "usleep 300000" "keyup a" "keyup Control_L"
wait_for "the second key prompt" region_is_not $PROMPT "$first"
second=$(region_sig $PROMPT)
still_running 1 || fail "the game ended in the key dialog"
[ "$(region_sig $PROMPT)" = "$second" ] || fail "the chord answered more than one prompt"
prompt=$second
for k in b c e f g h i j k m o p q; do
    press "$k"
    [ "$k" = q ] && break
    wait_for "the prompt after $k" region_is_not $PROMPT "$prompt"
    prompt=$(region_sig $PROMPT)
done
wait_pixel 230 240 "255,0,0"               # back in the options menu on "Keys"
grep -qx "pl1keyleft = 101" "$WORK/config.ini" ||
    fail "PL1 left is not left Control: $(grep pl1key "$WORK/config.ini")"
grep -qx "pl1keyright = 2" "$WORK/config.ini" ||
    fail "PL1 right is not B: $(grep pl1key "$WORK/config.ini")"

press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo "input: ok"
