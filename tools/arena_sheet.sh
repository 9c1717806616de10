#!/usr/bin/env bash
# Draws every arena in LEVELS_DIR at its real size from the tiles artgen drew,
# two to a row with its name, the way the match shows it (tile 19 in its
# first moving frame).
# Usage: tools/arena_sheet.sh ART_DIR LEVELS_DIR OUT.png
set -euo pipefail
ART=$1
LEVELS=$2
OUT=$3
WORK=$(mktemp -d /tmp/arenas.XXXXXX)
trap 'rm -rf "$WORK"' EXIT

pictures=()
for level in "$LEVELS"/*; do
    name=$(basename "$level")
    # The file is column-major; the montage wants row-major picture names.
    mapfile -t tiles < <(od -An -v -t d4 -w4 "$level" | awk -v art="$ART" '
        { t[NR - 1] = $1 }
        END {
            for (r = 0; r < 34; r++)
                for (c = 0; c < 53; c++) {
                    v = t[c * 34 + r]
                    if (v == 19) v = 38
                    printf "%s/level_%02d.bmp\n", art, v
                }
        }')
    montage "${tiles[@]}" -tile 53x -geometry +0+0 "$WORK/$name.png"
    convert "$WORK/$name.png" -background "rgb(40,40,46)" -fill white -font DejaVu-Sans -pointsize 16 \
        label:"$name" -gravity center -append -bordercolor "rgb(40,40,46)" -border 6 "$WORK/$name.png"
    pictures+=("$WORK/$name.png")
done
montage "${pictures[@]}" -tile 2x -geometry +0+0 -background "rgb(40,40,46)" -strip "$OUT"
echo "arenas in $OUT"
