#!/usr/bin/env bash
# Tool strip of the picture window (resources/skin/tool_icons.bmp): six
# 26 x 22 buttons, one per row, raised look at x 0 and pressed look at x 26.
# Rows (y): 0 range selection, 22 zoom, 44 hand, 66 colour picker, 88 copy,
# 110 grid. Glyphs are drawn at 4x and box-filtered down; the result is an
# 8-bit palette BMP without metadata, so it is small and reproducible.
#
# Needs: ImageMagick 6 (`convert`).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
skin=$(dirname "$here")/skin
command -v convert >/dev/null || { echo "make_tool_icons: ImageMagick 'convert' is missing" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$skin"

# Same silver and navy as the controller skin.
ink='#1b2742' accent='#1466b8' paper='#fbfcfe' edge='#4b5772'

# Button faces, 26 x 22: raised (light top-left edge) and pressed (sunken).
convert -size 26x22 gradient:'#fdfeff-#cfd7e3' +antialias -fill none \
  -stroke '#ffffff' -draw 'line 0,0 25,0' -draw 'line 0,0 0,21' \
  -stroke '#8b95a9' -draw 'line 1,20 24,20' -draw 'line 24,1 24,20' \
  -stroke '#28314a' -draw 'line 0,21 25,21' -draw 'line 25,0 25,21' "$tmp/up.png"
convert -size 26x22 gradient:'#9eacc2-#c9d3e1' +antialias -fill none \
  -stroke '#28314a' -draw 'line 0,0 25,0' -draw 'line 0,0 0,21' \
  -stroke '#6c7a94' -draw 'line 1,1 24,1' -draw 'line 1,1 1,20' \
  -stroke '#f6f8fb' -draw 'line 0,21 25,21' -draw 'line 25,0 25,21' "$tmp/down.png"

# Glyphs on a transparent 104 x 88 canvas (4x), centred in the button.
glyph() { convert -size 104x88 xc:none "$@"; }

glyph -fill none -stroke "$ink" -strokewidth 5 \
  -draw 'stroke-dasharray 10 7 rectangle 22,16 82,70' "$tmp/g0.png"                                   # range selection
glyph -fill '#cfe8ff80' -stroke "$ink" -strokewidth 6 -draw 'circle 44,38 44,18' \
  -stroke "$accent" -strokewidth 11 -draw 'line 60,54 80,74' "$tmp/g1.png"      # zoom
glyph -fill '#f3d2b3' -stroke "$ink" -strokewidth 4 \
  -draw 'roundrectangle 30,40 74,76 10,10' \
  -draw 'roundrectangle 30,18 40,50 5,5' -draw 'roundrectangle 42,12 52,48 5,5' \
  -draw 'roundrectangle 54,14 64,48 5,5' -draw 'roundrectangle 66,20 76,50 5,5' \
  -draw 'translate 24,56 rotate -35 roundrectangle -6,-16 6,10 5,5' "$tmp/g2.png"  # hand
glyph -stroke "$ink" -strokewidth 10 -draw 'line 30,68 62,36' \
  -stroke "$accent" -strokewidth 5 -draw 'line 30,68 56,42' \
  -stroke none -fill "$ink" -draw 'circle 70,28 70,16' -draw 'polygon 22,78 28,64 36,72' "$tmp/g3.png"  # colour picker
glyph -fill "$paper" -stroke "$edge" -strokewidth 4 -draw 'rectangle 24,12 62,56' \
  -fill '#dce9fb' -stroke "$ink" -draw 'rectangle 42,30 80,76' \
  -stroke "$accent" -strokewidth 3 -draw 'line 50,44 72,44' -draw 'line 50,54 72,54' -draw 'line 50,64 66,64' \
  "$tmp/g4.png"                                                                 # copy
glyph -fill '#ffffff90' -stroke "$ink" -strokewidth 4 -draw 'rectangle 24,14 80,72' \
  -strokewidth 3 -draw 'line 42,14 42,72' -draw 'line 62,14 62,72' \
  -draw 'line 24,33 80,33' -draw 'line 24,53 80,53' "$tmp/g5.png"               # grid

rows=()
for i in 0 1 2 3 4 5; do
  convert "$tmp/g$i.png" -filter box -resize 26x22 "$tmp/s$i.png"
  convert "$tmp/up.png" "$tmp/s$i.png" -compose over -composite "$tmp/u$i.png"
  convert "$tmp/down.png" "$tmp/s$i.png" -geometry +1+1 -compose over -composite "$tmp/d$i.png"
  convert "$tmp/u$i.png" "$tmp/d$i.png" +append "$tmp/r$i.png"
  rows+=("$tmp/r$i.png")
done
convert "${rows[@]}" -append -alpha off +dither -colors 128 -type Palette \
  +set date:create +set date:modify -strip -define bmp:format=bmp3 -compress none "BMP3:$skin/tool_icons.bmp"
source "$here/compact_bmp.sh"
compact_bmp "$skin/tool_icons.bmp"
echo "make_tool_icons: wrote $skin/tool_icons.bmp"
