#!/usr/bin/env bash
# Both names and all fourteen keys set through the options menu land in
# config.ini at once (the file's key numbering), a key still held from the
# menu does not answer the first prompt, and the next start-up's match uses
# the new keys.
source "$(dirname "$0")/lib.sh"
e2e_setup

# Signature of the band of the screen where the dialogs draw.
screen_sig() { region_sig 640x120+0+180; }

BLANK_SIG=$(head -c $((640 * 120 * 3)) /dev/zero | md5sum)

# Waits until the dialog band shows something new, neither signature $1 nor
# the blank band a dialog clears to before it drops the keys; prints it.
wait_change()
{
    local old=$1
    band_new() { SIG=$(screen_sig); [ "$SIG" != "$old" ] && [ "$SIG" != "$BLANK_SIG" ]; }
    wait_for "the dialog band to show something new" band_new
}

config_has() { grep -qx "$1" "$WORK/config.ini" || fail "config.ini lacks '$1'"; }

start_game
wait_menu
press Down                        # Options
press Return
wait_pixel 230 200 "255,0,0"      # options menu on "Names"

# Names: three letters for player 1; nine for player 2, the ninth ignored and
# the eighth taken back with Backspace.
SIG=$(screen_sig)
press Return
wait_change "$SIG"
xdotool type --delay 40 ann; press Return
wait_change "$SIG"
xdotool type --delay 40 katherine; press BackSpace; press Return
wait_pixel 230 200 "255,0,0"      # back in the options menu
[ -f "$WORK/config.ini" ] || fail "names not written at once"
config_has "plr1name = ann     "
config_has "plr2name = katheri "

# Keys: Enter held on well past the prompt's pause must not bind itself.
press Down
wait_pixel 230 240 "255,0,0"
SIG=$(screen_sig)
press Return 0.45
keys=(j l i k Control_R m Escape f h t g q Shift_L Return)
for k in "${keys[@]}"; do
    wait_change "$SIG"
    sleep 0.05                    # the prompt drops held keys right after drawing
    case $k in
        Control_* | Shift_*) press_mod "$k" 0.12 ;;
        *) press "$k" 0.12 ;;
    esac
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
shot "$WORK/menu.png"
press Return                      # New Game
wait_screen changed "$WORK/menu.png"   # the browser over the menu
press Return                      # the browser has no level: empty board
floor=""
player_at_start()
{
    shot "$WORK/m.png"
    floor=$(cell 30 20)
    [ "$(cell 0 0)" != "$floor" ] && [ "$(cell 20 10)" = "$floor" ]
}
wait_for "the match to show player 1 on an empty board" player_at_start
press Right 0.4
moved_away() { shot "$WORK/m.png"; [ "$(cell 0 0)" = "$floor" ]; }
! poll_until 1 moved_away || fail "player 1 left its cell with the old Right key"
press l 0.5
wait_for "player 1 to move with its new right key" moved_away
seen=""
for c in 1 2 3 4 5 6; do [ "$(cell $c 0)" != "$floor" ] && seen=$c; done
[ -n "$seen" ] || fail "player 1 not seen to the right"

press Escape
wait_menu
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after the match"
echo "options: ok"
