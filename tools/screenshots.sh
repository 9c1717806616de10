#!/usr/bin/env bash
# Plays through the game under Xvfb and takes the README's pictures: the main
# menu, the level browser, a match in progress and the editor. Each step
# waits for the screen it needs, so it holds on a busy machine too.
# Usage: tools/screenshots.sh [OUTDIR]   (default docs/screenshots; needs a build in build/)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$(mkdir -p "${1:-$ROOT/docs/screenshots}" && cd "${1:-$ROOT/docs/screenshots}" && pwd)
export BLAST_BUILD_DIR=${BLAST_BUILD_DIR:-$ROOT/build}
export BLAST_SOURCE_DIR=$ROOT
source "$ROOT/tests/e2e/lib.sh"

row_y() { echo $((LIST_BAR_Y + 12 * $1 + 6)); }   # middle of browser row $1
LIST_BAR_Y=63

e2e_setup
cp -r "$ROOT/levels" "$WORK/levels"
start_game
wait_menu
shot "$OUT/menu.png"

# The browser lists the arenas sorted; GARDEN is the fourth.
press Return
wait_pixel 378 "$(row_y 0)" "200,0,0"
click_at 300 "$(row_y 3)"
wait_pixel 378 "$(row_y 3)" "200,0,0"
xdotool mousemove 340 200
wait_still
shot "$OUT/browser.png"
click_at 285 416                                 # OK

# A match: both players walk out; player 2 lays a big bomb, player 1 a small
# one, steps clear and holds fire with missiles, so a stream of them flies
# down the path and bursts on the hedges. The picture is the first that shows
# two missiles in flight together with a blast. Modifiers go through xte:
# xdotool would press the left Control or Shift, player 2's keys, along with
# the right ones.
panel_bars()
{
    local r g b
    IFS=, read -r r g b <<<"$(pixel 10 466)"
    [ "$r" != none ] && [ "$r" -gt 120 ] && [ "$g" -lt 90 ] || return 1
    IFS=, read -r r g b <<<"$(pixel 502 466)"
    [ "$r" != none ] && [ "$g" -gt 120 ] && [ "$r" -lt 90 ]
}
wait_for "the match panel's energy bars" panel_bars
# Pixels of colour $2 (within fuzz $3) on the board in picture $1.
board_pixels()
{
    convert "$1" -crop 636x408+2+2 +repage -fuzz "$3" -fill white -opaque "$2" \
        -fuzz 0 -fill black +opaque white -format '%[fx:int(mean*w*h+0.5)]' info:
}
blast_pixels() { board_pixels "$1" "rgb(255,190,70)" 15%; }
# Twelve pixels of a missile's blue-white ring; nothing else is that colour.
missile_pixels() { board_pixels "$1" "rgb(130,220,255)" 6%; }
shot "$WORK/start.png"
calm=$(blast_pixels "$WORK/start.png")
hold 0.5 Right a
hold 0.3 Down w
press_mod Shift_L; press_mod Shift_L             # player 2: big bomb
press_mod Control_L
press_mod Control_R                              # player 1: small bomb
hold 0.3 Down
press_mod Shift_R                                # player 1: missiles
in_flight()
{
    shot "$WORK/look.png"
    [ "$(missile_pixels "$WORK/look.png")" -ge 24 ] || return 1
    cp "$WORK/look.png" "$OUT/match.png"
    [ "$(blast_pixels "$WORK/look.png")" -gt $((calm + 100)) ]
}
rm -f "$OUT/match.png"
xte "keydown Control_R"
poll_until 6 in_flight || echo "no blast caught beside the missiles" >&2
xte "keyup Control_R"
[ -f "$OUT/match.png" ] || fail "no missiles in flight caught for the match picture"
press Escape
wait_menu

# The editor with an arena loaded and a few strokes of paint.
press Down; press Down
wait_pixel 230 275 "255,0,0"
press Return
wait_pixel_not 230 275 "255,0,0"                 # the editor's board covers the menu
press l
wait_pixel 378 "$(row_y 0)" "200,0,0"
click_at 300 "$(row_y 2)"                        # FORTRESS
wait_pixel 378 "$(row_y 2)" "200,0,0"
click_at 285 416
wait_pixel_not 378 "$(row_y 2)" "200,0,0"        # the browser has closed
click_at 35 445                                  # palette: tile 4 (sand) on the left button
click_at 67 429 3                                # tile 9 (boulder) on the right button
for x in 250 262 274 286; do click_at "$x" 200; done
for x in 250 262 274 286; do click_at "$x" 224 3; done
xdotool mousemove 320 150
wait_still
shot "$OUT/editor.png"
under=$(pixel 180 170)
press Escape
wait_pixel_not 180 170 "$under"                  # the yes/no question is up
press y
wait_pixel 230 275 "255,0,0"                     # back on "Editor"
press Escape
wait_exit
# No time stamps inside, so unchanged pictures stay unchanged files.
for f in "$OUT"/{menu,browser,match,editor}.png; do
    convert "$f" -strip -define png:exclude-chunks=date,time "$f"
done
echo "screenshots in $OUT"
