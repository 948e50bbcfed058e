#!/usr/bin/env bash
# Composes the committed skin as the controller window draws it (pressed
# buttons, filter marker and tack through SRCERASE), checks the masks, and
# writes PNG frames plus 3x enlargements and an icon sheet to a folder outside
# the repository (default /work/art-preview, or $1).
# Needs: python3, ImageMagick.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
res=$(dirname "$here")
out=${1:-/work/art-preview}
mkdir -p "$out"

python3 "$here/preview.py" "$res/skin" "$out"

for f in "$out"/controller_*.png; do
  [[ $f == *_x3.png ]] && continue
  convert "$f" -filter point -resize 300% "${f%.png}_x3.png"
done

# The settings panel with stand-ins for what the window puts on it at run time
# (captions in a small Mincho, edit boxes and buttons as outlines), to see that
# the painted sheets fit around them.
mincho=/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf
convert "$out/controller_plain.png" "$res/skin/settings_back.bmp" -geometry +0+19 -composite "$out/controller_settings.png"
m=(-fill none -stroke '#404040')
for r in "216 24 41 18" "288 24 41 18" "264 80 41 18" "231 104 41 18" "304 104 41 18" "264 128 41 18" \
         "120 162 41 18" "40 104 145 20" "192 160 65 17" "272 160 65 17" "60 40 16 16" "112 40 16 16" \
         "56 62 41 20" "96 62 41 20" "136 62 41 20" "56 82 41 20" "96 82 41 20" "136 82 41 20" \
         "56 128 41 17" "96 128 41 17" "136 128 41 17" "56 144 41 17" "96 144 41 17" "136 144 41 17"; do
  read -r x y w h <<<"$r"
  m+=(-draw "rectangle $x,$((y + 19)) $((x + w - 1)),$((y + 19 + h - 1))")
done
m+=(-stroke none -fill black -font "$mincho" -pointsize 12 -gravity northwest)
while IFS='|' read -r x y t; do m+=(-annotate "+$x+$((y + 19))" "$t"); done <<'EOT'
8|8|解像度
8|24|Lumatrove
8|40|起動時
8|56|Sample
8|106|Midi
8|128|関連付け
8|164|ﾃﾞﾊﾞｲｽｴﾗｰ回避
76|42|表示
128|42|非表示
208|8|出現位置(左上の座標)
200|26|X
272|26|Y
224|64|出現判定位置
232|82|上端
232|130|下端
200|108|左端
276|108|右端
84|8|1024 × 768
84|24|357 × 209
EOT
convert "$out/controller_settings.png" +antialias "${m[@]}" "$out/settings_mock.png"
convert "$out/settings_mock.png" -filter point -resize 300% "$out/settings_mock_x3.png"

# Icons side by side, at 1x on the body colour and at 4x on white.
icons=()
for n in app list list2 movie picture music; do icons+=("$res/icons/$n.ico"); done
convert "${icons[@]}" -background '#d0d7e2' -alpha remove -alpha off -bordercolor '#d0d7e2' -border 4 +append "$out/icons.png"
convert "${icons[@]}" -background white -alpha remove -alpha off -bordercolor white -border 4 +append \
  -filter point -resize 400% "$out/icons_x4.png"
echo "preview: wrote $out"
