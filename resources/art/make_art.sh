#!/usr/bin/env bash
# Regenerates the controller skin pictures (resources/skin/) and the program's
# icons (resources/icons/) from nothing but drawing commands, so the committed
# pictures can always be rebuilt and reviewed as text.
#
# Needs: ImageMagick 6 (`convert`) and the IPA Gothic font (Debian packages
# imagemagick and fonts-ipafont-gothic).
#
# Output is deterministic: BMPs are 8-bit BMP3 (RLE8 where smaller) without metadata, icons
# carry no timestamps, labels are drawn without antialiasing (so they look like
# the small bitmap faces of the desktop they are made for and do not depend on
# rasteriser subtleties beyond the font file itself).
#
# Masked pictures (filter marker, tack) follow the window's two-pass SRCERASE
# drawing: the mask is black where the icon is opaque and white elsewhere, and
# the image is white wherever the mask is white.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
res=$(dirname "$here")
skin=$res/skin
icons=$res/icons

font=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
command -v convert >/dev/null || { echo "make_art: ImageMagick 'convert' is missing (apt-get install imagemagick)" >&2; exit 1; }
[[ -r $font ]] || { echo "make_art: $font is missing (apt-get install fonts-ipafont-gothic)" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$skin" "$icons"

# Writers: no timestamps, no colour profile chunks, 8-bit palette BMP3 (the
# pictures of few colours keep every one; the body's gradients lose a shade).
# Stored run-length encoded where that is smaller (compact_bmp.sh).
source "$here/compact_bmp.sh"
bmp() { convert "$1" -alpha off +dither -colors 256 -type Palette +set date:create +set date:modify -strip \
          -define bmp:format=bmp3 -compress none "BMP3:$2"; compact_bmp "$2"; }
ico() { convert "$1" -background none +set date:create +set date:modify -strip "ICO:$2"; }

# ---------------------------------------------------------------- palette
body_top='#e6ebf2'   body_bot='#b9c3d2'    # brushed-silver body
outline='#28314a'                          # outer frame
hilite='#fbfcfe'     shade='#8b95a9'       # 1px bevel of the frame
groove_d='#97a2b5'   groove_l='#f6f8fb'    # engraved separator lines
ink='#1b2742'                              # label text
panel='#161e2d'      panel_in='#0c111b'    # list panel
strip_top='#d3dae5'  strip_bot='#e9edf3'   # recessed filter strip
accent_d='#1466b8'   accent_l='#8fe3ff'    # cyan-blue accent (marker, meter)

W=357 H=209
labels=(Open Folder Close Clear Option Quit)
mark_x=(15 75 142 197 253)
filters=(AllFile Graphic Music Sound Movie)

# ---------------------------------------------------------------- body
# Plain framed body; everything else is drawn on top of it. The pressed button
# images are cut from it too, so their rounded corners match the skin exactly.
convert -size ${W}x${H} gradient:"$body_top-$body_bot" +antialias -fill none \
  -stroke "$outline" -draw "rectangle 0,0 $((W-1)),$((H-1))" \
  -stroke "$hilite"  -draw "line 1,1 $((W-2)),1" -draw "line 1,1 1,$((H-2))" \
  -stroke "$shade"   -draw "line 2,$((H-2)) $((W-2)),$((H-2))" -draw "line $((W-2)),2 $((W-2)),$((H-2))" \
  "$tmp/base.png"

# One button face of 59 x 17 cut from the body at button i. state: up|down.
face() {
  local state=$1 i=$2 out=$3 x=$((2 + 59 * $2))
  local g1 g2 edge tl br dx
  if [[ $state == up ]]; then
    g1='#fdfeff' g2='#cfd7e3' edge='#4b5772' tl='#ffffff' br='#a3aec1' dx=0
  else
    g1='#9eacc2' g2='#c9d3e1' edge='#232d45' tl='#6c7a94' br='#c9d3e1' dx=1
  fi
  convert "$tmp/base.png" -crop 59x17+$x+2 +repage \
    \( -size 57x15 gradient:"$g1-$g2" \) -geometry +1+1 -composite \
    +antialias -fill none \
    -stroke "$edge" -draw "line 1,0 57,0" -draw "line 1,16 57,16" -draw "line 0,1 0,15" -draw "line 58,1 58,15" \
    -stroke "$tl" -draw "line 1,1 57,1" -draw "line 1,1 1,15" \
    -stroke "$br" -draw "line 2,15 57,15" -draw "line 57,2 57,15" \
    -stroke none -fill "$ink" -font "$font" -pointsize 12 -gravity center \
    -annotate +$dx+$dx "${labels[$i]}" \
    "$out"
}

# ---------------------------------------------------------------- controller.bmp
draw=()
# Engraved line under the button bar.
draw+=(-stroke "$groove_d" -draw "line 3,21 353,21" -stroke "$groove_l" -draw "line 3,22 353,22")
# List panel: sunken bevel around a dark well framing the list box (8,32 337x134).
draw+=(-stroke "$shade" -draw "line 4,27 352,27" -draw "line 4,27 4,170")
draw+=(-stroke "$hilite" -draw "line 5,170 352,170" -draw "line 352,28 352,170")
draw+=(-stroke "$outline" -fill "$panel" -draw "rectangle 5,28 351,169")
draw+=(-stroke "$panel_in" -fill none -draw "rectangle 7,31 345,166")
# A dim meter column in the well's right margin.
for ((y = 34; y <= 163; y += 3)); do draw+=(-stroke '#24466c' -draw "line 348,$y 349,$y"); done
for ((y = 34; y <= 163; y += 3)); do ((y > 124)) && draw+=(-stroke '#3b8ccc' -draw "line 348,$y 349,$y"); done
# Recessed filter strip along the bottom.
draw+=(-stroke "$shade" -draw "line 2,187 314,187" -draw "line 2,187 2,207")
draw+=(-stroke "$hilite" -draw "line 3,207 314,207" -draw "line 314,188 314,207")
# Unlit sockets where the marker lands.
for x in "${mark_x[@]}"; do
  cx=$((x + 7))
  draw+=(-stroke '#8e99ad' -fill '#c3ccd9' -draw "circle $cx,197 $cx,202")
  draw+=(-stroke none -fill '#eef2f7' -draw "point $((cx + 2)),$((197 + 3))" -draw "point $((cx + 3)),$((197 + 2))")
done

convert "$tmp/base.png" \( -size 311x19 gradient:"$strip_top-$strip_bot" \) -geometry +3+188 -composite \
  +antialias "${draw[@]}" "$tmp/c2.png"

args=()
for i in "${!labels[@]}"; do
  face up "$i" "$tmp/up$i.png"
  args+=("$tmp/up$i.png" -geometry +$((2 + 59 * i))+2 -composite)
done
for i in "${!filters[@]}"; do
  args+=(+antialias -stroke none -fill "$ink" -font "$font" -pointsize 12 -annotate +$((mark_x[i] + 17))+202 "${filters[$i]}")
done

# Product name above the right end of the filter row: a slanted, emboldened
# logotype drawn at 4x with a navy gradient, set on a white emboss line.
convert -size 480x100 xc:none -font "$font" -pointsize 56 -kerning 4 -fill black -stroke black -strokewidth 3 \
  -annotate +10+80 Lumatrove -trim +repage "$tmp/logo_a.png"
convert -size "$(convert "$tmp/logo_a.png" -format %wx%h info:)" gradient:'#44598a-#0f1930' "$tmp/logo_a.png" \
  -compose copyopacity -composite -background none -shear 14x0 -trim +repage \
  -filter box -resize 25% "$tmp/logo.png"
lw=$(convert "$tmp/logo.png" -format %w info:) lh=$(convert "$tmp/logo.png" -format %h info:)
lx=$((351 - lw)) ly=$((184 - lh))
# A hairline leads from the left into the logotype, fading in towards it.
args+=(\( -size 1x$((lx - 12)) gradient:"$body_top-$accent_d" -rotate -90 \) -geometry +8+$((ly + lh - 2)) -composite
       \( -size 1x$((lx - 12)) gradient:"$body_bot-$hilite" -rotate -90 \) -geometry +8+$((ly + lh - 1)) -composite)
args+=(\( "$tmp/logo.png" -fill "$hilite" -colorize 100 \) -geometry +$((lx + 1))+$((ly + 1)) -composite
       "$tmp/logo.png" -geometry "+$lx+$ly" -composite)
convert "$tmp/c2.png" "${args[@]}" "$tmp/controller.png"
bmp "$tmp/controller.png" "$skin/controller.bmp"

# ---------------------------------------------------------------- buttons.bmp
stack=()
for i in "${!labels[@]}"; do face down "$i" "$tmp/dn$i.png"; stack+=("$tmp/dn$i.png"); done
convert "${stack[@]}" -append "$tmp/buttons.png"
bmp "$tmp/buttons.png" "$skin/buttons.bmp"

# ---------------------------------------------------------------- masked icons
# masked SRC_RGBA SIZE BG OUT: turns a supersampled RGBA drawing into the
# image-over-mask picture. Pixels at least half covered are opaque; their colour
# is the drawing over BG (the skin colour under the icon), so the edge keeps a
# little smoothing even though the mask itself is all-or-nothing.
masked() {
  local src=$1 size=$2 bg=$3 out=$4
  convert "$src" -filter box -resize "${size}x${size}!" "$tmp/m_small.png"
  convert "$tmp/m_small.png" -alpha extract -threshold 50% -negate "$tmp/m_mask.png"
  convert "$tmp/m_small.png" -background "$bg" -flatten "$tmp/m_mask.png" -compose lighten -composite "$tmp/m_img.png"
  convert "$tmp/m_img.png" "$tmp/m_mask.png" -append "$out"
}

# Filter marker: a lit cyan lamp that covers the socket (15 x 15, drawn at 4x).
convert -size 84x84 radial-gradient:"$accent_l-$accent_d" -crop 60x60+16+16 +repage \
  \( -size 60x60 xc:black -fill white -draw "circle 30,30 30,3" \) -alpha off -compose copyopacity -composite \
  -compose over -fill none -stroke '#0b3a6e' -strokewidth 4 -draw "circle 30,30 30,5" \
  -stroke none -fill '#ffffffd0' -draw "ellipse 23,21 8,5 0,360" \
  "$tmp/point_big.png"
masked "$tmp/point_big.png" 15 "$strip_top" "$tmp/point.png"
bmp "$tmp/point.png" "$skin/filter_point.bmp"

# Tack: a round-headed red pin leaning right, needle down to the left, with a
# soft shadow on the skin (21 x 21 at 4x).
convert -size 84x84 xc:none \
  -fill '#00000090' -stroke none -draw "ellipse 63,45 22,17 0,360" -blur 0x2 \
  -stroke '#3b414c' -strokewidth 6 -draw "line 6,80 40,46" \
  -stroke '#c4cad3' -strokewidth 2 -draw "line 6,77 38,45" \
  -stroke '#6e0a0d' -strokewidth 4 -fill '#c91c1c' -draw "ellipse 40,46 13,7 0,360" \
  "$tmp/tack_a.png"
convert -size 84x84 radial-gradient:'#ff8a7a-#b30f14' -roll -10+10 \
  \( -size 84x84 xc:black -fill white -draw "circle 54,30 54,5" \) -alpha off -compose copyopacity -composite \
  -compose over -fill none -stroke '#6e0a0d' -strokewidth 4 -draw "circle 54,30 54,7" \
  -stroke none -fill '#ffffffc8' -draw "ellipse 47,21 8,5 0,360" \
  "$tmp/tack_h.png"
convert "$tmp/tack_a.png" "$tmp/tack_h.png" -compose over -composite "$tmp/tack_big.png"
masked "$tmp/tack_big.png" 21 '#c7cfdb' "$tmp/tack.png"
bmp "$tmp/tack.png" "$skin/tack.bmp"

# ---------------------------------------------------------------- settings panel
"$here/make_settings_art.sh"

# ---------------------------------------------------------------- icons
# All icons are drawn at 128 x 128 and box-filtered down to 32 x 32, so one
# source pixel is a quarter of an icon pixel and strokes of 4 are 1 px wide.
sheet_icon() { # OUT: the document sheet shared by the file icons
  convert -size 128x128 xc:none \
    \( -size 128x128 gradient:'#ffffff-#e3e9f2' \
       \( -size 128x128 xc:black -fill white -draw "polygon 22,6 82,6 106,30 106,122 22,122" \) \
       -alpha off -compose copyopacity -composite \) -compose over -composite \
    -fill none -stroke '#4f5d78' -strokewidth 4 -draw "polygon 22,6 82,6 106,30 106,122 22,122" \
    -fill '#c6d2e3' -draw "polygon 82,6 82,30 106,30" \
    "$1"
}
sheet_icon "$tmp/sheet.png"

lines_on_sheet() { # OUT BULLET LINE: four bulleted lines
  local out=$1 bullet=$2 line=$3 d=()
  for y in 42 60 78 96; do
    d+=(-fill "$bullet" -stroke none -draw "rectangle 32,$((y - 4)) 42,$((y + 4))")
    d+=(-stroke "$line" -strokewidth 4 -draw "line 50,$y $((y == 96 ? 78 : 94)),$y")
  done
  convert "$tmp/sheet.png" "${d[@]}" "$out"
}

finish_icon() { convert "$1" -filter box -resize 32x32 "$2"; }

# 101: the program's list file.
lines_on_sheet "$tmp/list_big.png" "$accent_d" '#7f8ca3'
finish_icon "$tmp/list_big.png" "$tmp/list.png"

# 102: the second list kind (play lists), same sheet with amber bullets and a play mark.
lines_on_sheet "$tmp/list2_pre.png" '#e08a12' '#7f8ca3'
convert "$tmp/list2_pre.png" -stroke '#8a4f00' -strokewidth 4 -fill '#f4a42a' \
  -draw "polygon 70,84 70,118 100,101" "$tmp/list2_big.png"
finish_icon "$tmp/list2_big.png" "$tmp/list2.png"

# 200: movie, a film frame with sprocket holes.
d=(-fill '#222a3a' -stroke '#101520' -strokewidth 4 -draw "rectangle 28,40 100,104")
d+=(-fill '#3d8fe0' -stroke none -draw "rectangle 42,52 86,92")
d+=(-fill '#8fd3ff' -draw "polygon 42,92 58,70 70,84 78,76 86,92")
for y in 46 60 74 88; do d+=(-fill '#e6ebf2' -draw "rectangle 31,$y 37,$((y + 6))" -draw "rectangle 91,$y 97,$((y + 6))"); done
convert "$tmp/sheet.png" "${d[@]}" "$tmp/movie_big.png"
finish_icon "$tmp/movie_big.png" "$tmp/movie.png"

# 201: picture, a framed landscape with a sun.
d=(-fill '#7cc4f4' -stroke '#2f5f8f' -strokewidth 4 -draw "rectangle 30,40 98,104")
d+=(-stroke none -fill '#ffd23a' -draw "circle 80,58 80,50")
d+=(-fill '#3fa34d' -draw "polygon 32,102 32,84 52,64 72,86 82,78 96,92 96,102")
d+=(-fill '#2a7d38' -draw "polygon 52,102 72,86 96,102")
convert "$tmp/sheet.png" "${d[@]}" "$tmp/picture_big.png"
finish_icon "$tmp/picture_big.png" "$tmp/picture.png"

# 202: music, a pair of beamed eighth notes.
d=(-fill '#1b3f7a' -stroke none)
d+=(-draw "translate 44,96 rotate -20 ellipse 0,0 11,8 0,360")
d+=(-draw "translate 84,88 rotate -20 ellipse 0,0 11,8 0,360")
d+=(-draw "rectangle 51,44 56,94" -draw "rectangle 91,36 96,86")
d+=(-draw "polygon 51,44 96,36 96,50 51,58")
convert "$tmp/sheet.png" "${d[@]}" "$tmp/music_big.png"
finish_icon "$tmp/music_big.png" "$tmp/music.png"

# 1: the program, a tiny controller: silver body, button bar, dark list, lit lamp.
d=(-fill none -stroke "$outline" -strokewidth 4)
convert -size 128x128 xc:none \
  \( -size 128x128 gradient:"$body_top-$body_bot" \
     \( -size 128x128 xc:black -fill white -draw "roundrectangle 8,14 120,116 12,12" \) \
     -alpha off -compose copyopacity -composite \) -compose over -composite \
  "${d[@]}" -draw "roundrectangle 8,14 120,116 12,12" \
  -stroke '#4b5772' -fill '#fbfcfe' -draw "rectangle 18,24 46,34" -draw "rectangle 50,24 78,34" -draw "rectangle 82,24 110,34" \
  -stroke "$outline" -fill "$panel" -draw "rectangle 18,42 110,92" \
  -stroke "$accent_l" -strokewidth 4 -draw "line 26,54 90,54" -draw "line 26,66 80,66" -draw "line 26,78 96,78" \
  -stroke '#0b3a6e' -fill "$accent_d" -draw "circle 26,104 26,98" \
  -stroke none -fill '#7f8ca3' -draw "rectangle 38,102 70,106" -draw "rectangle 80,102 106,106" \
  "$tmp/app_big.png"
finish_icon "$tmp/app_big.png" "$tmp/app.png"

for n in app list list2 movie picture music; do ico "$tmp/$n.png" "$icons/$n.ico"; done
# The picture window's tool strip has its own script.
"$here/make_tool_icons.sh"
echo "make_art: wrote $skin and $icons"

# The music player's skin.
"$here/make_player_art.sh"
