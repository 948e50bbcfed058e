#!/usr/bin/env bash
# Regenerates the settings panel's pictures (resources/skin/settings_*.bmp)
# from drawing commands: the panel background and the strip of the four
# start-up option images. Called by make_art.sh; runs on its own as well.
#
# Needs: ImageMagick 6 (`convert`). Output is deterministic 8-bit palette
# BMP3 without metadata.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
skin=$(dirname "$here")/skin
command -v convert >/dev/null || { echo "make_settings_art: ImageMagick 'convert' is missing" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$skin"

source "$here/compact_bmp.sh"
bmp8() { convert "$1" -alpha off +dither -colors "${3:-128}" -type Palette +set date:create +set date:modify -strip \
           -define bmp:format=bmp3 -compress none "BMP3:$2"; compact_bmp "$2"; }

# The controller's palette, so the panel sits in its body seamlessly.
body_top='#e6ebf2' body_bot='#b9c3d2'
outline='#28314a' hilite='#fbfcfe' shade='#8b95a9'
groove_d='#97a2b5' groove_l='#f6f8fb'
sheet_fill='#f2f5f9' sheet_edge='#c3cbd8'
band_fill='#dce6f4' band_line='#b5c4da'
accent_d='#1466b8' accent_l='#8fe3ff'

W=357 H=190 # the controller's rows 19 to 208

# ---------------------------------------------------------------- background
# The controller's body from its row 19 down, with sunken light sheets: the
# left column of settings, the appearance position (top right) and the
# trigger rectangle (right). Captions, boxes and buttons come at run time.
sheet() { # x0 y0 x1 y1
  printf '%s\n' -stroke "$shade" -draw "line $1,$2 $3,$2" -draw "line $1,$2 $1,$4" \
    -stroke "$hilite" -draw "line $(($1 + 1)),$4 $3,$4" -draw "line $3,$(($2 + 1)) $3,$4" \
    -stroke "$sheet_edge" -fill "$sheet_fill" -draw "rectangle $(($1 + 1)),$(($2 + 1)) $(($3 - 1)),$(($4 - 1))"
}
band() { # x0 y0 x1 y1: tinted caption band inside a sheet
  printf '%s\n' -stroke none -fill "$band_fill" -draw "rectangle $1,$2 $3,$4" \
    -stroke "$band_line" -draw "line $1,$(($4 + 1)) $3,$(($4 + 1))"
}
rule() { # x0 x1 y: engraved separator inside the left sheet
  printf '%s\n' -stroke "$sheet_edge" -draw "line $1,$3 $2,$3" -stroke '#ffffff' -draw "line $1,$(($3 + 1)) $2,$(($3 + 1))"
}
mapfile -t d < <(
  sheet 3 4 189 185
  rule 6 186 37; rule 6 186 102; rule 6 186 125
  sheet 195 4 353 49; band 196 5 352 20
  sheet 195 60 353 152; band 196 61 352 76
)
# A small accent lamp by each group's caption band.
d+=(-stroke none -fill "$accent_d" -draw "rectangle 199,10 201,14" -draw "rectangle 199,66 201,70")
d+=(-fill "$accent_l" -draw "point 199,10" -draw "point 199,66")

convert -size ${W}x209 gradient:"$body_top-$body_bot" -crop ${W}x${H}+0+19 +repage +antialias -fill none \
  -stroke "$outline" -draw "line 0,0 0,$((H - 1))" -draw "line 0,$((H - 1)) $((W - 1)),$((H - 1))" \
  -draw "line $((W - 1)),0 $((W - 1)),$((H - 1))" \
  -stroke "$hilite" -draw "line 1,0 1,$((H - 2))" \
  -stroke "$shade" -draw "line 2,$((H - 2)) $((W - 2)),$((H - 2))" -draw "line $((W - 2)),0 $((W - 2)),$((H - 2))" \
  -stroke "$groove_d" -draw "line 3,1 353,1" -stroke "$groove_l" -draw "line 3,2 353,2" \
  "${d[@]}" "$tmp/back.png"
bmp8 "$tmp/back.png" "$skin/settings_back.bmp" 96

# ---------------------------------------------------------------- options
# Four 16 x 16 radio images side by side, image n at x = 16n: bit 0 of n is
# "selected" (a lit dot), bit 1 "pressed" (a darker, shifted well). Drawn at
# 4x and box-filtered down, on the sheet colour they are copied onto.
radio() { # n
  local sel=$(( $1 & 1 )) prs=$(( ($1 >> 1) & 1 )) well='#ffffff-#dfe5ee' o=0
  (( prs )) && well='#b9c3d2-#e3e8ef' o=2
  local args=(-size 64x64 xc:"$sheet_fill"
    \( -size 64x64 gradient:"$well" \( -size 64x64 xc:black -fill white -draw "circle 32,32 32,6" \)
       -alpha off -compose copyopacity -composite \) -compose over -composite
    -fill none -stroke "$outline" -strokewidth 4 -draw "circle 32,32 32,6"
    -stroke "$shade" -strokewidth 2 -draw "arc 9,9 55,55 135,315")
  if (( sel )); then
    args+=(-stroke '#0b3a6e' -strokewidth 3 -fill "$accent_d" -draw "circle $((32 + o)),$((32 + o)) $((32 + o)),$((19 + o))"
           -stroke none -fill "$accent_l" -draw "circle $((28 + o)),$((28 + o)) $((28 + o)),$((24 + o))")
  fi
  convert "${args[@]}" -filter box -resize 16x16 "$tmp/radio$1.png"
}
for n in 0 1 2 3; do radio "$n"; done
convert "$tmp/radio0.png" "$tmp/radio1.png" "$tmp/radio2.png" "$tmp/radio3.png" +append "$tmp/options.png"
bmp8 "$tmp/options.png" "$skin/settings_options.bmp" 64

echo "make_settings_art: wrote $skin/settings_back.bmp and $skin/settings_options.bmp"
