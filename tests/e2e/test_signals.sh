#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP end the game as Esc in the menu does, wherever
# it is: the menu, a match, the editor, the name and key prompts. Each time
# the status is 0, nothing of the library's own crash handling is printed,
# and a prompt left half-answered writes nothing to config.ini.
source "$(dirname "$0")/lib.sh"
e2e_setup

# A job started in the background of a script has SIGINT ignored, and the
# game keeps a signal it was started without; this one is started with it.
REAL_GAME=$GAME
GAME="$WORK/game-with-sigint"
printf '#!/bin/sh\nexec env --default-signal=INT "%s"\n' "$REAL_GAME" >"$GAME"
chmod +x "$GAME"

printf 'plr1name = Keep\nplr2name = These\n' >"$WORK/config.ini"
cp "$WORK/config.ini" "$WORK/config.before"

# Sends signal $1 and expects an orderly end; $2 says where the game was.
signal_ends()
{
    kill -s "$1" "$GAME_PID"
    wait_exit
    [ "$GAME_STATUS" -eq 0 ] || fail "SIG$1 $2: exit status $GAME_STATUS"
    [ ! -s "$WORK/game.out" ] || fail "SIG$1 $2: the game said $(cat "$WORK/game.out")"
    cmp -s "$WORK/config.ini" "$WORK/config.before" || fail "SIG$1 $2: config.ini changed"
}
to_menu() { start_game; wait_menu; xdotool mousemove 30 30 sleep 0.1 mousemove 40 40; }

to_menu
signal_ends TERM "in the menu"

to_menu
shot "$WORK/menu.png"
press Return                           # New Game: the browser
wait_screen changed "$WORK/menu.png"
wait_still
shot "$WORK/browser.png"
press Return                           # the empty list's first row: a match on the empty board
wait_screen changed "$WORK/browser.png"
signal_ends INT "in a match"

to_menu
press Down; press Down
wait_pixel 230 275 "255,0,0"           # "Editor"
press Return
wait_pixel_not 230 275 "255,0,0"
signal_ends HUP "in the editor"

BAND=640x120+0+180                     # where the prompts are drawn
for item in Names Keys; do
    to_menu
    press Down
    press Return
    wait_pixel 230 200 "255,0,0"       # the options menu on "Names"
    if [ "$item" = Keys ]; then press Down; wait_pixel 230 240 "255,0,0"; fi
    band=$(region_sig "$BAND")
    press Return
    wait_for "the $item prompt" eval '[ "$(region_sig "$BAND")" != "$band" ]'
    [ "$item" = Keys ] || xdotool type --delay 40 ab
    signal_ends TERM "at the $item prompt"
done
echo "signals: ok"
