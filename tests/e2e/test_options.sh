#!/usr/bin/env bash
# Both names and all fourteen keys set through the options menu land in
# config.ini at once (the file's key numbering), a key still held from the
# menu does not answer the first prompt, and the next start-up's match uses
# the new keys.
source "$(dirname "$0")/lib.sh"
e2e_setup

# Signature of the band of the screen where the dialogs draw.
screen_sig() { import -display "$DISPLAY" -window root -crop 640x120+0+180 rgb:- | md5sum; }

BLANK_SIG=$(head -c $((640 * 120 * 3)) /dev/zero | md5sum)

# Waits until the dialog band shows something new, neither signature $1 nor
# the blank band a dialog clears to before it drops the keys; prints it.
wait_change()
{
    local i sig
    for i in $(seq 1 $((E2E_TIMEOUT * 4))); do
        game_running || fail "game exited while waiting for the screen to change"
        sig=$(screen_sig)
        if [ "$sig" != "$1" ] && [ "$sig" != "$BLANK_SIG" ]; then echo "$sig"; return 0; fi
    done
    fail "screen did not change"
}

# One xdotool run per press: under load a separate keyup run can come so late
# that the X server's auto-repeat presses the key again.
tap() { xdotool keydown "$1" sleep "${2:-0.12}" keyup "$1"; }

config_has() { grep -qx "$1" "$WORK/config.ini" || fail "config.ini lacks '$1'"; }

start_game
wait_menu
press Down                        # Options
press Return
wait_pixel 230 200 "255,0,0"      # options menu on "Names"

# Names: three letters for player 1; nine for player 2, the ninth ignored and
# the eighth taken back with Backspace.
sig=$(screen_sig)
press Return
sig=$(wait_change "$sig")
xdotool type --delay 40 ann; press Return
sig=$(wait_change "$sig")
xdotool type --delay 40 katherine; press BackSpace; press Return
wait_pixel 230 200 "255,0,0"      # back in the options menu
[ -f "$WORK/config.ini" ] || fail "names not written at once"
config_has "plr1name = ann     "
config_has "plr2name = katheri "

# Keys: Enter held on well past the prompt's pause must not bind itself.
press Down
wait_pixel 230 240 "255,0,0"
sig=$(screen_sig)
tap Return 0.45
keys=(j l i k Control_R m Escape f h t g q Shift_L Return)
for k in "${keys[@]}"; do
    sig=$(wait_change "$sig")
    sleep 0.05                    # the prompt drops held keys right after drawing
    tap "$k"
done
wait_pixel 230 240 "255,0,0"      # options menu again, still on "Keys"
for line in "pl1keyup = 9" "pl1keydown = 11" "pl1keyleft = 10" "pl1keyright = 12" \
            "pl1keyfire = 102" "pl1keychange = 13" "pl1keyspecial = 59" \
            "pl2keyup = 20" "pl2keydown = 7" "pl2keyleft = 6" "pl2keyright = 8" \
            "pl2keyfire = 17" "pl2keychange = 99" "pl2keyspecial = 67"; do
    config_has "$line"
done

# Esc bound as a key did not leave anything; Esc in the menu still quits.
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"

# Next start-up: a match on the empty board, player 1 on cell (0, 0). The old
# Right arrow no longer moves player 1; the new right key, L, does.
cell() { convert "$WORK/m.png" -crop "12x12+$(($1 * 12 + 2))+$(($2 * 12 + 2))" +repage rgb:- | md5sum; }
start_game
wait_menu
press Return                      # New Game
sleep 0.3
press Return                      # the browser has no level: empty board
floor=""
for i in $(seq 1 40); do
    shot "$WORK/m.png"
    floor=$(cell 30 20)
    [ "$(cell 0 0)" != "$floor" ] && [ "$(cell 20 10)" = "$floor" ] && break
    floor=""
    sleep 0.25
done
[ -n "$floor" ] || fail "the match did not show player 1 on an empty board"
press Right 0.4
shot "$WORK/m.png"
[ "$(cell 0 0)" != "$floor" ] || fail "player 1 left its cell with the old Right key"
press l 0.5
shot "$WORK/m.png"
[ "$(cell 0 0)" = "$floor" ] || fail "player 1 did not move with its new right key"
seen=""
for c in 1 2 3 4 5 6; do [ "$(cell $c 0)" != "$floor" ] && seen=$c; done
[ -n "$seen" ] || fail "player 1 not seen to the right"

press Escape
wait_menu
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after the match"
echo "options: ok"
