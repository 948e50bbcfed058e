# Sourced by the art generators. compact_bmp FILE: rewrites an 8-bit palette
# BMP3 run-length encoded (RLE8) when that is smaller, keeping the palette and
# every pixel index; the program embeds every skin, and the flat fills and
# row-wise gradients of our art shrink to a fraction. The platform's bitmap
# loader decodes RLE8 itself, for device-independent sections as well.
compact_bmp() {
  local rle="$1.rle"
  convert "$1" +set date:create +set date:modify -strip -define bmp:format=bmp3 -compress RLE "BMP3:$rle"
  if [[ $(stat -c %s "$rle") -lt $(stat -c %s "$1") ]]; then mv "$rle" "$1"; else rm -f "$rle"; fi
}
