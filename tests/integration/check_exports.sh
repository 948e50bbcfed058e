#!/usr/bin/env bash
# The MP3 library exports its 14 functions under their plain names (no
# stdcall decoration on x86, none exists on x64), the library and the program
# are of the architecture built, and the program (library inside) stays
# under 1 MiB.
#   check_exports.sh OBJDUMP LIBRARY PROGRAM ARCH
set -u
export LC_ALL=C # objdump speaks the locale's language
objdump="$1" library="$2" program="$3" arch="$4"
expected="ltmp3_close ltmp3_free ltmp3_getMpegInfo ltmp3_getState ltmp3_getTagInfo ltmp3_init ltmp3_open
ltmp3_pause ltmp3_play ltmp3_restart ltmp3_seek ltmp3_setTagInfo ltmp3_setVolume ltmp3_stop"
format=$([ "$arch" = x64 ] && echo pei-x86-64 || echo pei-i386)
failed=0
check() { # what, expected, got
  if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected '$2', got '$3'"; failed=1; fi
}
names=$("$objdump" -p "$library" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^\s*\[ *[0-9]*\] \(.*\)$/\1/p' | sort | tr '\n' ' ')
check "library exports (plain names)" "$(echo $expected | tr ' ' '\n' | sort | tr '\n' ' ')" "$names"
for f in "$library" "$program"; do
  check "$(basename "$f") is $arch" "$format" "$("$objdump" -f "$f" | sed -n 's/.*file format //p')"
done
size=$(stat -c %s "$program")
check "program size under 1 MiB ($size bytes)" yes "$([ "$size" -lt 1048576 ] && echo yes || echo no)"
exit $failed
