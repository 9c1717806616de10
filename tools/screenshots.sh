#!/usr/bin/env bash
# Plays through the game under Xvfb and takes the README's pictures: the main
# menu, the level browser, a match in progress and the editor.
# Usage: tools/screenshots.sh [OUTDIR]   (default docs/screenshots; needs a build in build/)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$(mkdir -p "${1:-$ROOT/docs/screenshots}" && cd "${1:-$ROOT/docs/screenshots}" && pwd)
export BLAST_BUILD_DIR=${BLAST_BUILD_DIR:-$ROOT/build}
export BLAST_SOURCE_DIR=$ROOT
source "$ROOT/tests/e2e/lib.sh"

row_y() { echo $((LIST_BAR_Y + 12 * $1 + 6)); }   # middle of browser row $1
LIST_BAR_Y=63

# Holds keys $2.. together for $1 seconds.
hold()
{
    local t=$1; shift
    local k; for k in "$@"; do xdotool keydown "$k"; done
    sleep "$t"
    for k in "$@"; do xdotool keyup "$k"; done
    sleep 0.1
}

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
sleep 0.3
shot "$OUT/browser.png"
click_at 285 416                                 # OK

# A match: both players walk out; player 2 lays a big bomb, player 1 a small
# one, steps clear and fires a missile; the picture is taken as the small
# bomb goes off.
sleep 0.5
hold 0.5 Right a
hold 0.3 Down w
press Shift_L; press Shift_L                     # player 2: big bomb
press Control_L
press Control_R                                  # player 1: small bomb
hold 0.3 Down
press Shift_R                                    # player 1: missile
press Control_R
sleep 0.35
shot "$OUT/match.png"
press Escape
wait_menu

# The editor with an arena loaded and a few strokes of paint.
press Down; press Down
wait_pixel 230 275 "255,0,0"
press Return
sleep 0.5
press l
wait_pixel 378 "$(row_y 0)" "200,0,0"
click_at 300 "$(row_y 2)"                        # FORTRESS
click_at 285 416
sleep 0.3
click_at 35 445                                  # palette: tile 4 (sand) on the left button
click_at 67 429 3                                # tile 9 (boulder) on the right button
for x in 250 262 274 286; do click_at "$x" 200; done
for x in 250 262 274 286; do click_at "$x" 224 3; done
xdotool mousemove 320 150
sleep 0.3
shot "$OUT/editor.png"
press Escape
press y
wait_pixel 230 275 "255,0,0"                     # back on "Editor"
press Escape
wait_exit
# No time stamps inside, so unchanged pictures stay unchanged files.
for f in "$OUT"/{menu,browser,match,editor}.png; do
    convert "$f" -strip -define png:exclude-chunks=date,time "$f"
done
echo "screenshots in $OUT"
