#!/usr/bin/env bash
# Sound through ALSA's default device, routed to a file by an .asoundrc in a
# private HOME: a bomb's blast is heard; volume = 0 opens no device at all;
# with no working device the game says so once on stderr and plays on.
source "$(dirname "$0")/lib.sh"
e2e_setup

export HOME="$WORK/home"   # the game's ALSA reads this .asoundrc, never the real one
mkdir -p "$HOME" "$WORK/levels"
head -c 7208 /dev/zero >"$WORK/levels/arena"   # an open floor

route_to() { printf 'pcm.!default { type file; slave.pcm "null"; file "%s"; format "raw" }\n' "$1" >"$HOME/.asoundrc"; }
size_of() { stat -c %s "$1" 2>/dev/null || echo 0; }
# Frames of 16-bit stereo audio after byte $2 of file $1 that differ from
# the file's first frame, which is silence: the mixer runs before any sound.
frames_heard()
{
    local base
    base=$(od -An -tu2 -N4 "$1")
    tail -c +"$(($2 + 1))" "$1" | od -An -tu2 -v -w4 |
        awk -v base="$base" 'BEGIN { split(base, b, " ") } $1 != b[1] || $2 != b[2] { n++ } END { print n + 0 }'
}
live_bar() { region_sig 15x10+616+462; }

# New Game on the open floor, up to player 2's full energy bar.
start_match()
{
    press Return                     # New Game: the level browser
    wait_pixel 378 69 "200,0,0"      # its bar on the first row
    press Return                     # OK on the only level
    wait_pixel 501 466 "0,255,0"     # player 2's energy bar
}
# Player 2 drops a bomb where it stands and stays for the blast.
blast_on_player_2()
{
    local full
    full=$(live_bar)
    press_mod Control_L
    bar_changed() { [ "$(live_bar)" != "$full" ]; }
    wait_for "the blast to take player 2's energy" bar_changed
}
quit_from_match()
{
    press Escape
    wait_menu
    still_running 0.3 || fail "Esc in the match ended the program"
    type_keys Down Down Down Down    # Quit
    wait_pixel 230 355 "255,0,0"
    press Return
    wait_exit
    [ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
}

# 1. Default volume: player 2 drops a bomb and walks off, so neither a hit
#    nor a wreck sounds; more than the tenth of a second of the drop is
#    heard after the fire key only if the blast is.
AUDIO="$WORK/out.raw"
route_to "$AUDIO"
start_game
wait_menu
start_match
FIRE_AT=$(size_of "$AUDIO")
press_mod Control_L
press a 0.8
blast_heard() { E2E_SEEN="$(frames_heard "$AUDIO" "$FIRE_AT") frames"; [ "${E2E_SEEN% *}" -gt 13000 ]; }
wait_for "0.3 s of sound (13000 frames) after the fire key" blast_heard
echo "heard $E2E_SEEN after the fire key"
quit_from_match
grep -q "Sound off" "$WORK/game.out" && fail "sound reported off: $(cat "$WORK/game.out")"

# 2. volume = 0: the same match, and no device is ever opened.
AUDIO="$WORK/quiet.raw"
route_to "$AUDIO"
echo "volume = 0" >"$WORK/config.ini"
start_game
wait_menu
start_match
blast_on_player_2
# A device would have been opened at start-up, long before this.
[ ! -e "$AUDIO" ] || fail "volume 0 opened the sound device ($(size_of "$AUDIO") bytes)"
quit_from_match
[ ! -s "$WORK/game.out" ] || fail "volume 0 printed: $(cat "$WORK/game.out")"
rm "$WORK/config.ini"

# 3. No working device: one line on stderr, and the match plays as ever.
printf 'pcm.!default { type hw; card 7 }\n' >"$HOME/.asoundrc"
start_game
wait_menu
start_match
blast_on_player_2
quit_from_match
[ "$(wc -l <"$WORK/game.out")" -eq 1 ] && grep -q "^Sound off: " "$WORK/game.out" ||
    fail "wanted one 'Sound off' line, got: $(cat "$WORK/game.out")"
echo "sound: ok"
