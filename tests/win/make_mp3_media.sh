#!/usr/bin/env bash
# MP3s for the in-process tests of the library's decoding, made by ffmpeg
# into DIR: a VBR tone and a 44.1 kHz CBR one (whose frames alternate with
# padded ones), both without the encoder's info frame, so every frame is
# audio.
#   make_mp3_media.sh DIR
set -euo pipefail
dir="$1"
mkdir -p "$dir"
make() {
  local name="$1"
  shift
  [ -s "$dir/$name" ] && return
  ffmpeg -y -loglevel error -f lavfi -i "sine=frequency=440:duration=8" -af "volume=0.5" -ac 2 -ar 44100 \
    -write_xing 0 -id3v2_version 0 "$@" "$dir/$name.tmp.mp3"
  mv "$dir/$name.tmp.mp3" "$dir/$name"
}
make vbr.mp3 -q:a 4
make cbr.mp3 -b:a 128k
