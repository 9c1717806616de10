#!/usr/bin/env bash
# Takes the README's four screenshots with tools/screenshots.sh and checks
# that the pictures sit where the game looks for clicks and draws its items.
source "$(dirname "$0")/lib.sh"
SHOTS=$(mktemp -d /tmp/blast-shots.XXXXXX)
trap 'rm -rf "$SHOTS"' EXIT
bash "$SOURCE_DIR/tools/screenshots.sh" "$SHOTS" >"$SHOTS/log" 2>&1 || { cat "$SHOTS/log" >&2; fail "screenshots"; }
WORK=$SHOTS   # pixel() writes beside the pictures

# Sum of channel differences between two "r,g,b" colours.
distance()
{
    local IFS=,
    read -r r1 g1 b1 <<<"$1"
    read -r r2 g2 b2 <<<"$2"
    local d=0 x
    for x in $((r1 - r2)) $((g1 - g2)) $((b1 - b2)); do d=$((d + ${x#-})); done
    echo "$d"
}

# A pixel inside hit area ($1,$2)-($3,$4) stands out from the panel or box
# just outside its left edge, in picture $5.
button_drawn()
{
    local y=$((($2 + $4) / 2)) inside outside
    inside=$(pixel $(($1 + 2)) "$y" "$5")
    outside=$(pixel $(($1 - 2)) "$y" "$5")
    [ "$(distance "$inside" "$outside")" -ge 40 ] || fail "$6 not drawn on its area in $5 ($inside vs $outside)"
}

# Menu: the title's letters are lit and the first item's highlight is red.
colour_near "$(pixel 230 200 "$SHOTS/menu.png")" "255,0,0" || fail "menu highlight"
IFS=, read -r r g b <<<"$(pixel 55 80 "$SHOTS/menu.png")"
[ "$r" -gt 200 ] && [ "$b" -lt 160 ] || fail "title letter B not lit at (55,80): $r,$g,$b"

# Editor panel: the four buttons, the tool buttons and the tile boxes.
E=$SHOTS/editor.png
button_drawn 497 420 555 434 "$E" "Clear"
button_drawn 560 420 618 434 "$E" "Load"
button_drawn 560 437 618 451 "$E" "Save"
button_drawn 560 454 618 468 "$E" "Quit"
button_drawn 200 450 220 470 "$E" "pen button"

# Level browser: buttons and arrows on their areas, the bar on GARDEN.
L=$SHOTS/browser.png
button_drawn 252 407 318 426 "$L" "OK"
button_drawn 322 407 389 426 "$L" "Cancel"
button_drawn 386 60 400 74 "$L" "scroll-up arrow"
button_drawn 386 380 400 394 "$L" "scroll-down arrow"
colour_near "$(pixel 378 105 "$L")" "200,0,0" || fail "selection bar not on the fourth row"

# Match panel: both bars in their colours, a name in red, the weapon icon.
M=$SHOTS/match.png
IFS=, read -r r g b <<<"$(pixel 10 466 "$M")"
[ "$r" -gt 120 ] && [ "$g" -lt 90 ] || fail "player 1's bar at (10,466) is $r,$g,$b"
IFS=, read -r r g b <<<"$(pixel 502 466 "$M")"
[ "$g" -gt 120 ] && [ "$r" -lt 90 ] || fail "player 2's bar at (502,466) is $r,$g,$b"
red=$(convert "$M" -crop 100x8+43+445 +repage -fuzz 8% -fill black +opaque "rgb(250,0,0)" \
      -format '%[fx:mean]' info:)
awk -v m="$red" 'BEGIN { exit !(m > 0.01) }' || fail "player 1's name is not readable in red on the panel"
IFS=, read -r r g b <<<"$(pixel 29 439 "$M")"
[ "$r" -gt 180 ] || fail "no weapon icon at (23,433): centre is $r,$g,$b"
echo "art: ok"
