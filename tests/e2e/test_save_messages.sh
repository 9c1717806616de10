#!/usr/bin/env bash
# What the player sees when writing fails: a save under a name that is a
# directory shows its reason on the editor's panel for about two seconds
# (and on stderr), a good save a short confirmation; names that cannot be
# written to config.ini are reported under the menu.
source "$(dirname "$0")/lib.sh"
e2e_setup

tap() { local k; for k in "$@"; do press "$k" 0.1; done; }

# Polls until region $1 does (or, with "same", does not) differ from $2;
# prints the new signature.
wait_region()
{
    local region=$1 old=$2 want=$3
    region_is()
    {
        SIG=$(region_sig "$region")
        if [ "$want" = changed ]; then [ "$SIG" != "$old" ]; else [ "$SIG" = "$old" ]; fi
    }
    wait_for "region $region to become $want" region_is
    echo "$SIG"
}

# Waits until region $1 looks the same twice in a row; prints its signature.
settled_region()
{
    local region=$1
    LAST=$(region_sig "$region")
    region_settled() { local now; now=$(region_sig "$region"); [ "$now" = "$LAST" ] && return 0; LAST=$now; return 1; }
    wait_for "region $region to settle" region_settled
    echo "$LAST"
}

# Whether region $1 of a fresh screenshot holds pixels of colour "r,g,b".
has_colour()
{
    shot "$WORK/c.png"
    local n
    n=$(convert "$WORK/c.png" -crop "$1" +repage -fuzz 8% -fill 'rgb(1,2,3)' -opaque "rgb($2)" \
        -fill black +opaque 'rgb(1,2,3)' -fill white -opaque 'rgb(1,2,3)' \
        -format '%[fx:int(mean*w*h+0.5)]' info:)
    [ "$n" -gt 10 ]
}

HELP=232x32+255+439                    # the key help in the editor panel
mkdir -p "$WORK/levels/FOO"            # a directory where the level should go
start_game
wait_menu
tap Down Down
wait_pixel 230 275 "255,0,0"           # "Editor" highlighted
tap Return
wait_region $HELP "" changed >/dev/null
help=$(settled_region $HELP)           # the panel is settled

# Types a name into the save box and answers yes once the question is up.
QUESTION=232x20+250+175
save_as()
{
    local q
    q=$(region_sig $QUESTION)
    local middle
    middle=$(region_sig 640x120+0+180)
    tap s
    wait_region 640x120+0+180 "$middle" changed >/dev/null   # the name box is up
    tap "$@"
    tap Return
    wait_region $QUESTION "$q" changed >/dev/null
    sleep 0.2
    tap y
}

save_as f o o
wait_region $HELP "$help" changed >/dev/null
has_colour $HELP "255,120,90" || fail "the failure is not shown in the panel"
grep -qx "Could not save FOO: Is a directory" "$WORK/game.out" ||
    fail "stderr lacks the failure: $(cat "$WORK/game.out")"
wait_region $HELP "$help" same >/dev/null   # gone again after a moment
[ -d "$WORK/levels/FOO" ] || fail "the directory was replaced"

save_as g o o d
wait_region $HELP "$help" changed >/dev/null
has_colour $HELP "150,235,150" || fail "the good save is not confirmed in the panel"
[ "$(stat -c %s "$WORK/levels/GOOD")" = 7208 ] || fail "GOOD was not saved"
wait_region $HELP "$help" same >/dev/null
[ "$(grep -c '^Could not' "$WORK/game.out")" = 1 ] || fail "stderr has more than the one failure"

tap Escape
tap y
wait_pixel 230 275 "255,0,0"           # back in the menu

# Names into a config.ini that is a directory.
mkdir "$WORK/config.ini"
STRIP=500x27+70+407
tap Up
wait_pixel 230 240 "255,0,0"           # "Options"
tap Return
wait_pixel 230 200 "255,0,0"           # options menu on "Names"
strip=$(region_sig $STRIP)
band=$(region_sig 640x120+0+180)
tap Return
band=$(wait_region 640x120+0+180 "$band" changed)
tap a n n Return
wait_region 640x120+0+180 "$band" changed >/dev/null
sleep 0.3
tap b o b Return
wait_pixel 230 200 "255,0,0"           # back in the options menu
has_colour $STRIP "255,120,90" || fail "the failed settings write is not shown under the menu"
grep -qx "Could not write config.ini: Is a directory" "$WORK/game.out" ||
    fail "stderr lacks the settings failure: $(cat "$WORK/game.out")"
wait_region $STRIP "$strip" same >/dev/null

tap Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo "save messages: ok"
