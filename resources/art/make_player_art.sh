#!/usr/bin/env bash
# Regenerates the music player's skin (resources/skin/player_*) from drawing
# commands alone. Called by make_art.sh; needs ImageMagick 6 and the IPA Gothic
# font. Output is deterministic: 8-bit palette BMP3 without metadata, and the
# background as a baseline JPEG without metadata.
#
# Masked pictures (the slider thumb) follow the window's SRCERASE + SRCINVERT
# drawing: the mask is black where the thumb is opaque and white elsewhere,
# and the image is white wherever the mask is white.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
skin=$(dirname "$here")/skin
font=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
command -v convert >/dev/null || { echo "make_player_art: ImageMagick 'convert' is missing" >&2; exit 1; }
[[ -r $font ]] || { echo "make_player_art: $font is missing" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$skin"

pbmp() { convert "$1" -alpha off +dither -colors 256 -type Palette +set date:create +set date:modify -strip \
           -define bmp:format=bmp3 -compress none "BMP3:$2"; }
jpg() { convert "$1" -alpha off +set date:create +set date:modify -strip -sampling-factor 1x1 -quality 90 \
          -interlace none "JPEG:$2"; }

# ---------------------------------------------------------------- palette
body_top='#3a4560' body_bot='#1d2334'   # dark slate body
edge='#0a0d16' rim='#6d7a99'            # frame and its light rim
panel_top='#123a5c' panel_bot='#0b2238'   # title panel
lcd='#0e2a20' lcd_rim='#3f6b5a'         # time window
strip='#24507c'                         # format/tempo strip (PicWd's colour)
groove_d='#06080d' groove_l='#7f8bab'   # slider grooves
key_up1='#dfe5ef' key_up2='#9aa6bd'     # key faces
key_dn1='#7d8aa3' key_dn2='#b9c4d6'
glyph='#1b2436' glyph_dn='#0b3a6e'

# ---------------------------------------------------------------- keys
# key W H state OUT glyph-draw...: one bevelled key face.
key() {
  local w=$1 h=$2 state=$3 out=$4; shift 4
  local g1=$key_up1 g2=$key_up2 tl='#ffffff' br='#56627a' ink=$glyph dx=0
  [[ $state == down ]] && { g1=$key_dn1 g2=$key_dn2 tl='#4a5670' br='#dfe5ef' ink=$glyph_dn dx=1; }
  convert -size ${w}x${h} gradient:"$g1-$g2" +antialias -fill none \
    -stroke "$edge" -draw "rectangle 0,0 $((w - 1)),$((h - 1))" \
    -stroke "$tl" -draw "line 1,1 $((w - 2)),1" -draw "line 1,1 1,$((h - 2))" \
    -stroke "$br" -draw "line 2,$((h - 2)) $((w - 2)),$((h - 2))" -draw "line $((w - 2)),2 $((w - 2)),$((h - 2))" \
    -stroke none -fill "$ink" -draw "translate $dx,$dx" "$@" "$out"
}

# Transport glyphs centred in a 27 x 22 key (54 x 22 for play).
g_play=(-draw "polygon 22,6 22,16 31,11")
g_stop=(-draw "rectangle 9,7 17,14")
g_pause=(-draw "rectangle 9,6 11,15" -draw "rectangle 15,6 17,15")
g_rew=(-draw "rectangle 6,6 7,15" -draw "polygon 8,11 14,6 14,16" -draw "polygon 14,11 20,6 20,16")
g_next=(-draw "polygon 6,6 6,16 12,11" -draw "polygon 12,6 12,16 18,11" -draw "rectangle 19,6 20,15")
g_up=(-draw "rectangle 7,3 8,10" -draw "rectangle 4,6 11,7")
g_down=(-draw "rectangle 4,6 11,7")
g_min=(-draw "rectangle 4,9 11,10")
g_close=(-stroke "$glyph" -strokewidth 1 -draw "line 4,3 11,10" -draw "line 5,3 12,10" -draw "line 11,3 4,10" -draw "line 12,3 5,10")

for s in up down; do
  key 27 22 $s "$tmp/stop_$s.png" "${g_stop[@]}"
  key 27 22 $s "$tmp/pause_$s.png" "${g_pause[@]}"
  key 27 22 $s "$tmp/rew_$s.png" "${g_rew[@]}"
  key 27 22 $s "$tmp/next_$s.png" "${g_next[@]}"
  key 53 22 $s "$tmp/play_$s.png" "${g_play[@]}"
  key 16 14 $s "$tmp/up_$s.png" "${g_up[@]}"
  key 16 14 $s "$tmp/down_$s.png" "${g_down[@]}"
  key 16 14 $s "$tmp/min_$s.png" "${g_min[@]}"
  key 16 14 $s "$tmp/close_$s.png" "${g_close[@]}"
  key 39 14 $s "$tmp/reset_$s.png" -font "$font" -pointsize 10 -gravity center -annotate +0+0 RESET
done

# PicBtns: column 0 normal, column 1 pressed; rows stop, pause, back, next (and
# a blank key row at the bottom).
key 27 22 up "$tmp/blank_up.png"
key 27 22 down "$tmp/blank_down.png"
convert \( "$tmp/stop_up.png" "$tmp/pause_up.png" "$tmp/rew_up.png" "$tmp/next_up.png" "$tmp/blank_up.png" -append \) \
        \( "$tmp/stop_down.png" "$tmp/pause_down.png" "$tmp/rew_down.png" "$tmp/next_down.png" "$tmp/blank_down.png" -append \) \
        +append "$tmp/btns.png"
pbmp "$tmp/btns.png" "$skin/player_btns.bmp"
convert "$tmp/play_up.png" "$tmp/play_down.png" -append "$tmp/play.png"
pbmp "$tmp/play.png" "$skin/player_play.bmp"
convert \( "$tmp/up_up.png" "$tmp/down_up.png" "$tmp/min_up.png" "$tmp/close_up.png" -append \) \
        \( "$tmp/up_down.png" "$tmp/down_down.png" "$tmp/min_down.png" "$tmp/close_down.png" -append \) \
        +append "$tmp/mini.png"
pbmp "$tmp/mini.png" "$skin/player_mini.bmp"
convert "$tmp/reset_up.png" "$tmp/reset_down.png" -append "$tmp/reset.png"
pbmp "$tmp/reset.png" "$skin/player_reset.bmp"

# ---------------------------------------------------------------- thumb, knob, strips
# Slider thumb: a 10 x 16 cyan lozenge; image at x 0..9, mask at x 10..19.
convert -size 10x16 xc:white -fill '#8fe3ff' -stroke '#0b3a6e' +antialias \
  -draw "polygon 1,0 8,0 8,11 5,15 4,15 1,11" -stroke '#ffffff' -draw "line 2,1 2,10" "$tmp/thumb_i.png"
convert -size 10x16 xc:white -fill black -stroke black +antialias \
  -draw "polygon 1,0 8,0 8,11 5,15 4,15 1,11" "$tmp/thumb_m.png"
convert "$tmp/thumb_i.png" "$tmp/thumb_m.png" +append -background white -extent 20x18 "$tmp/scl.png"
pbmp "$tmp/scl.png" "$skin/player_scl.bmp"

# Volume knob: a round cap on the slate body.
convert -size 16x16 xc:"$body_bot" -fill '#c9d3e1' -stroke "$edge" -draw "circle 7.5,7.5 7.5,1" \
  -stroke none -fill '#8fe3ff' -draw "rectangle 3,7 12,8" "$tmp/vol.png"
pbmp "$tmp/vol.png" "$skin/player_vol.bmp"

# The blank format strip and the seek tooltip surface.
convert -size 128x15 xc:"$strip" "$tmp/wd.png"
pbmp "$tmp/wd.png" "$skin/player_wd.bmp"
convert -size 39x14 xc:'#ffffe1' -fill none -stroke '#5a5a3c' -draw "rectangle 0,0 32,12" "$tmp/tim.png"
pbmp "$tmp/tim.png" "$skin/player_tim.bmp"

# Kind badges: WAV, MIDI, MP3 on coloured plates.
badge() { # COLOUR TEXT OUT
  convert -size 48x30 gradient:"$1-#10131c" +antialias -fill none -stroke "$edge" -draw "rectangle 0,0 47,29" \
    -stroke '#ffffff60' -draw "line 1,1 46,1" -stroke none -fill white -font "$font" -pointsize 15 \
    -gravity center -annotate +0+0 "$2" "$3"
}
badge '#2f8f5a' WAV "$tmp/b_wav.png"
badge '#a0522d' MIDI "$tmp/b_midi.png"
badge '#2f6fbf' MP3 "$tmp/b_mp3.png"
convert "$tmp/b_wav.png" "$tmp/b_midi.png" "$tmp/b_mp3.png" -append "$tmp/type.png"
pbmp "$tmp/type.png" "$skin/player_type.bmp"

# ---------------------------------------------------------------- background
d=(+antialias -fill none)
d+=(-stroke "$edge" -draw "rectangle 0,0 306,122" -stroke "$rim" -draw "line 1,1 305,1" -draw "line 1,1 1,121")
# Title band.
d+=(-stroke none -fill '#4d5b7d' -draw "rectangle 2,2 305,20" -stroke "$groove_d" -draw "line 2,21 305,21")
d+=(-stroke none -fill '#dfe5ef' -font "$font" -pointsize 11 -annotate +30+15 "Lumatrove Player")
# Title panel.
d+=(-stroke "$groove_d" -draw "line 29,23 292,23" -draw "line 29,23 29,51")
d+=(-stroke "$rim" -draw "line 30,51 292,51" -draw "line 292,24 292,51")
# Time window with the slash between position and length.
d+=(-stroke "$lcd_rim" -fill "$lcd" -draw "rectangle 30,57 148,75")
d+=(-stroke none -fill '#cfe8dc' -font "$font" -pointsize 13 -annotate +97+72 "/")
# Seek and tempo grooves along the thumbs' paths.
d+=(-stroke "$groove_d" -draw "line 158,66 296,66" -stroke "$groove_l" -draw "line 158,67 296,67")
d+=(-stroke "$groove_d" -draw "line 158,84 296,84" -stroke "$groove_l" -draw "line 158,85 296,85")
# Format/tempo strip.
d+=(-stroke "$groove_d" -fill "$strip" -draw "rectangle 27,77 156,93")
# Volume groove.
d+=(-stroke "$groove_d" -draw "line 14,8 14,115" -stroke "$groove_l" -draw "line 15,8 15,115")
# Badge place.
d+=(-stroke "$groove_d" -fill '#10131c' -draw "rectangle 219,92 268,122")
convert -size 307x123 gradient:"$body_top-$body_bot" \
  \( -size 262x27 gradient:"$panel_top-$panel_bot" \) -geometry +30+24 -composite \
  "${d[@]}" \
  "$tmp/play_up.png" -geometry +31+96 -composite \
  "$tmp/stop_up.png" -geometry +84+96 -composite \
  "$tmp/pause_up.png" -geometry +111+96 -composite \
  "$tmp/rew_up.png" -geometry +138+96 -composite \
  "$tmp/next_up.png" -geometry +165+96 -composite \
  "$tmp/min_up.png" -geometry +270+4 -composite \
  "$tmp/close_up.png" -geometry +286+4 -composite \
  "$tmp/wd.png" -geometry +28+78 -composite \
  "$tmp/back.png"
jpg "$tmp/back.png" "$skin/player_back.jpg"

echo "make_player_art: wrote $skin/player_*"
