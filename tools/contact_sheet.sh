#!/usr/bin/env bash
# Lays every tile and sprite the art generator drew side by side at four times
# their size, both players turned to each facing, then each floor with both
# players, a missile and bombs cold and about to go off on it,
# so the art can be judged the way a player meets it.
# Usage: tools/contact_sheet.sh ART_DIR OUT.png
#   ART_DIR holds artgen's level_NN.bmp and data_NN.bmp (build/assets/art).
set -euo pipefail
ART=$1
OUT=$2
WORK=$(mktemp -d /tmp/contact.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
WALLS=" 1 3 5 7 9 12 17 20 "
GROUND="rgb(96,96,104)"
FACINGS=(up right down left)

lvl() { printf '%s/level_%02d.bmp' "$ART" "$1"; }
dat() { printf '%s/data_%02d.bmp' "$ART" "$1"; }

# One object at 4x on the neutral ground, with its number and kind below.
cell()
{
    local src=$1 text=$2 out=$3
    convert "$src" -fill "$GROUND" -opaque "rgb(255,0,255)" -scale 400% \
        -background "rgb(40,40,46)" -fill white -font DejaVu-Sans -pointsize 11 \
        label:"$text" -gravity center -append -bordercolor "rgb(40,40,46)" -border 4 "$out"
}

# A row of pictures with a caption on its left.
row()
{
    local caption=$1 out=$2; shift 2
    convert -background "rgb(40,40,46)" -fill white -font DejaVu-Sans -pointsize 14 \
        label:"$caption" -gravity west -extent 120x "$WORK/caption.png"
    convert -background "rgb(40,40,46)" "$WORK/caption.png" "$@" -gravity center +append "$out"
}

n=0
tiles=()
for id in $(seq 0 29); do
    kind=floor
    [[ $WALLS == *" $id "* ]] && kind=WALL
    cell "$(lvl "$id")" "$id $kind" "$WORK/t$id.png"
    tiles+=("$WORK/t$id.png")
done
row "tiles 0-14" "$WORK/r$((n++)).png" "${tiles[@]:0:15}"
row "tiles 15-29" "$WORK/r$((n++)).png" "${tiles[@]:15:15}"

frames=()
for f in $(seq 0 7); do
    cell "$(lvl $((38 + f)))" "19 f$f" "$WORK/a$f.png"
    frames+=("$WORK/a$f.png")
done
row "tile 19 moving" "$WORK/r$((n++)).png" "${frames[@]}"

sprites()
{
    local caption=$1 first=$2 count=$3 name=$4 list=()
    for k in $(seq 0 $((count - 1))); do
        cell "$(dat $((first + k)))" "$name $k" "$WORK/s$first-$k.png"
        list+=("$WORK/s$first-$k.png")
    done
    row "$caption" "$WORK/r$((n++)).png" "${list[@]}"
}
sprites "small bomb" 0 6 bomb
sprites "big bomb" 6 6 big
sprites "missile" 12 8 missile
sprites "explosion" 37 8 blast
sprites "player 1" 21 8 walk
sprites "player 2" 29 8 walk
sprites "defeated" 46 1 wreck

# Both players turned to each facing the way the match turns them: a
# quarter turn clockwise per step from facing up.
turns=()
for p in 21 29; do
    for f in 0 1 2 3; do
        convert "$(dat "$p")" -rotate $((f * 90)) "$WORK/turn$p-$f.bmp"
        cell "$WORK/turn$p-$f.bmp" "$( [ "$p" = 21 ] && echo P1 || echo P2 ) ${FACINGS[$f]}" "$WORK/turn$p-$f.png"
        turns+=("$WORK/turn$p-$f.png")
    done
done
row "facings" "$WORK/r$((n++)).png" "${turns[@]}"

# Each floor as a 3x2 patch: player 1, player 2 and a big bomb about to go
# off on top, a missile, a small bomb and a small bomb about to go off below,
# the way the match draws them with the magenta keyed out.
scenes=()
for id in $(seq 0 29); do
    [[ $WALLS == *" $id "* ]] && continue
    floor=$(lvl "$id")
    [ "$id" = 19 ] && floor=$(lvl 40)
    convert "$floor" "$floor" "$floor" +append "$WORK/half.png"
    convert "$WORK/half.png" "$WORK/half.png" -append "$WORK/patch.png"
    convert "$WORK/patch.png" \
        \( "$(dat 21)" -transparent "rgb(255,0,255)" \) -geometry +0+0 -composite \
        \( "$(dat 29)" -transparent "rgb(255,0,255)" \) -geometry +12+0 -composite \
        \( "$(dat 11)" -transparent "rgb(255,0,255)" \) -geometry +24+0 -composite \
        \( "$(dat 12)" -transparent "rgb(255,0,255)" \) -geometry +0+12 -composite \
        \( "$(dat 0)" -transparent "rgb(255,0,255)" \) -geometry +12+12 -composite \
        \( "$(dat 5)" -transparent "rgb(255,0,255)" \) -geometry +24+12 -composite \
        "$WORK/scene$id.bmp"
    cell "$WORK/scene$id.bmp" "on $id" "$WORK/scene$id.png"
    scenes+=("$WORK/scene$id.png")
done
row "on floors" "$WORK/r$((n++)).png" "${scenes[@]:0:8}"
row "on floors" "$WORK/r$((n++)).png" "${scenes[@]:8:7}"
row "on floors" "$WORK/r$((n++)).png" "${scenes[@]:15}"

rows=()
for k in $(seq 0 $((n - 1))); do rows+=("$WORK/r$k.png"); done
convert -background "rgb(40,40,46)" "${rows[@]}" -gravity west -append -strip "$OUT"
echo "contact sheet in $OUT"
