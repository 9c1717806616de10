#!/usr/bin/env bash
# Saves from the editor that cannot succeed: first levels/ is a plain file,
# then (as root) a full 16 KiB disk holding a level and a filler. Each save must
# leave what is on disk untouched, and the game must carry on: back to the
# menu and out with status 0.
source "$(dirname "$0")/lib.sh"
e2e_setup
LEVELS=$WORK/levels
MOUNTED=""
trap '[ -n "$MOUNTED" ] && umount -l "$LEVELS"; e2e_cleanup' EXIT

# Types a name into the save box and answers yes; returns once the editor
# shows again as before, so the save has been tried.
YES_X=260 YES_Y=216                    # inside the question's Yes button
save_as()
{
    press s
    wait_screen changed "$BASE"        # the name box is up
    type_keys "$@"
    press Return
    wait_pixel_not $YES_X $YES_Y "$under_yes"
    press y
    wait_screen same "$BASE"
}

printf 'not a directory' >"$LEVELS"
start_game
wait_menu
press Down; press Down
wait_pixel 230 275 "255,0,0"           # "Editor" highlighted
press Return
wait_pixel_not 230 275 "255,0,0"       # the editor's board covers the menu
wait_still                             # settled: two pictures alike
BASE=$WORK/editor.png
shot "$BASE"
under_yes=$(pixel $YES_X $YES_Y "$BASE")

save_as n e w
[ "$(cat "$LEVELS")" = "not a directory" ] || fail "levels (a file) was changed"

if [ "$(id -u)" = 0 ] && rm "$LEVELS" && mkdir "$LEVELS" &&
   mount -t tmpfs -o size=16k tmpfs "$LEVELS" 2>/dev/null; then
    MOUNTED=1
    # Two pages for a level, two for a filler: not a byte to spare.
    head -c 7208 /dev/zero | tr '\0' '\1' >"$LEVELS/A"
    head -c 7208 /dev/zero >"$LEVELS/filler"
    sum_before=$(md5sum <"$LEVELS/A")
    save_as a                          # over a level, with no room
    grep -qx "Could not save A: No space left on device" "$WORK/game.out" ||
        fail "the full disk is not reported: $(cat "$WORK/game.out")"
    save_as c                          # a new level, with no room
    # With room again a save goes through.
    rm "$LEVELS/filler"
    save_as d
    [ -f "$LEVELS/D" ] || fail "the save with room failed"   # names are typed in capitals
    [ "$(md5sum <"$LEVELS/A")" = "$sum_before" ] || fail "level A was damaged"
    [ "$(LC_ALL=C ls -A "$LEVELS" | tr '\n' ' ')" = "A D " ] || fail "left behind: $(ls -A "$LEVELS")"
else
    echo "full disk: skipped (needs root and mount)"
fi

press Escape
wait_pixel_not $YES_X $YES_Y "$under_yes"
press y
wait_pixel 230 275 "255,0,0"           # back in the menu
press Escape
wait_exit
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS"
echo "save faults: ok"
