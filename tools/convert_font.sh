#!/usr/bin/env bash
# Converts DejaVu Sans Bold (fonts-dejavu-core, Bitstream Vera licence with
# public-domain DejaVu changes; see assets/FONT-LICENSE) into the text pixel
# maps that artgen reads: the menu font and the title lettering of the menu
# background. Run once; the maps are committed and the build needs no font.
set -euo pipefail
cd "$(dirname "$0")/.."
ttf=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
[ -f "$ttf" ] || { echo "needs the fonts-dejavu-core package" >&2; exit 1; }
tool=$(mktemp -d)/font_convert
trap 'rm -rf "$(dirname "$tool")"' EXIT
g++ -O2 -std=c++17 -o "$tool" tools/font_convert.cpp $(pkg-config --cflags --libs freetype2)

{
    echo "# Menu font: DejaVu Sans Bold at 20 px, mono, lowered 4 rows in its line."
    echo "# One block per character: 'char CODE', then its rows; '#' lit, '.' clear."
    "$tool" glyphs "$ttf" 20 4
} >assets/menu_font.txt
{
    echo "# Title lettering: DejaVu Sans Bold at 72 px, grey levels ' ' (none) to '9'."
    "$tool" banner "$ttf" 72 "BLAST ARENA"
} >assets/title.txt
echo "wrote assets/menu_font.txt and assets/title.txt"
