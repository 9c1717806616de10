#!/usr/bin/env bash
# Both names and all fourteen keys set through the options menu land in
# config.ini at once (the file's key numbering), a key still held from the
# menu does not answer the first prompt, and the next start-up uses them.
source "$(dirname "$0")/lib.sh"
e2e_setup

# Signature of the band of the screen where the dialogs draw.
screen_sig() { shot "$WORK/sig.png"; convert "$WORK/sig.png" -crop 640x120+0+180 -format '%#' info:; }

# Waits until the dialog band differs from signature $1; prints the new one.
wait_change()
{
    local i sig
    for i in $(seq 1 $((E2E_TIMEOUT * 4))); do
        game_running || fail "game exited while waiting for the screen to change"
        sig=$(screen_sig)
        if [ "$sig" != "$1" ]; then echo "$sig"; return 0; fi
        sleep 0.1
    done
    fail "screen did not change"
}

# One xdotool run per press: under load a separate keyup run can come so late
# that the X server's auto-repeat presses the key again.
tap()
{
    xdotool keydown "$1" sleep "${2:-0.15}" keyup "$1"
    sleep 0.15
}

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
type_keys a n n Return
sig=$(wait_change "$sig")
type_keys k a t h e r i n e BackSpace Return
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
echo "options: ok"
