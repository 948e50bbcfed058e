# Shared environment for running Lumatrove and its tests under Wine.
# Sourced by the other scripts; defines lt_* helpers.

LT_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LT_CACHE="${LT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/lumatrove}"
mkdir -p "$LT_CACHE"

export WINEDEBUG="${WINEDEBUG:--all}"

# Each architecture has its own loader and its own kind of prefix. The loader
# is always named, never left to /usr/bin/wine's guess: that script picks the
# 32-bit loader whenever it is installed, even where the kernel refuses to
# run it.
LT_WINE_DIR="${LT_WINE_DIR:-/usr/lib/wine}"

# Makes ARCH (x86 or x64) the architecture that the lt_* helpers and Wine use:
# sets LT_ARCH, WINEARCH, WINELOADER and LT_WINE (the loader to run).
lt_arch_use() {
  case "$1" in
    x86) export WINEARCH=win32 LT_WINE="$LT_WINE_DIR/wine" ;;
    x64) export WINEARCH=win64 LT_WINE="$LT_WINE_DIR/wine64" ;;
    *) echo "wine-env: unknown architecture '$1' (x86 or x64)" >&2; return 1 ;;
  esac
  export LT_ARCH="$1" WINELOADER="$LT_WINE"
}

# The architecture of a Windows program or library: x86 or x64 (from the
# machine field of its PE header).
lt_pe_arch() {
  local pe machine
  pe=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  machine=$(od -An -t x2 -j $((${pe:-0} + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
  case "$machine" in
    014c) echo x86 ;;
    8664) echo x64 ;;
    *) echo "wine-env: $1 is not a Windows program of a known architecture" >&2; return 1 ;;
  esac
}

# True when this machine runs 32-bit programs: asks the 32-bit loader once
# (some kernels refuse 32-bit programs: "Exec format error"). LT_NO_X86=1
# answers no, to try the other path on a machine that can.
lt_x86_runs() {
  if [ -z "${LT_X86_RUNS:-}" ]; then
    if [ -z "${LT_NO_X86:-}" ] && "$LT_WINE_DIR/wine" --version >/dev/null 2>&1; then
      LT_X86_RUNS=yes
    else
      LT_X86_RUNS=no
    fi
    export LT_X86_RUNS
  fi
  [ "$LT_X86_RUNS" = yes ]
}

# The build to run where only one is run: the 32-bit one, which every
# Windows runs, unless this machine cannot run it.
lt_runnable_arch() {
  if lt_x86_runs; then echo x86; else echo x64; fi
}

lt_arch_use "${LT_ARCH:-x64}"
# Code page 932: the program's texts are Shift-JIS. Set only once the locale
# exists (scripts/setup makes it): bash warns about one that does not.
if locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
fi
# No Mono/Gecko installers popping up in fresh prefixes.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# The MS Japanese font names, as the IPA fonts.
lt_register_fonts() {
  local reg="$1/lt-fonts.reg"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"ＭＳ 明朝"="IPAMincho"\r\n'
    printf '"ＭＳ Ｐ明朝"="IPAPMincho"\r\n'
    printf '"ＭＳ ゴシック"="IPAGothic"\r\n'
    printf '"ＭＳ Ｐゴシック"="IPAPGothic"\r\n'
    printf '"MS Mincho"="IPAMincho"\r\n'
    printf '"MS Gothic"="IPAGothic"\r\n'
    printf '"MS UI Gothic"="IPAPGothic"\r\n\r\n'
  } | iconv -f UTF-8 -t UTF-16 > "$reg"
  WINEPREFIX="$1" "$LT_WINE" regedit /S "$(WINEPREFIX="$1" "$LT_WINE" winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
}

# Boots a prefix once; later calls return at once.
lt_prefix_ready() {
  local prefix="$1"
  [ -f "$prefix/.lt-ready" ] && return 0
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.lt-ready" ]; then
      WINEPREFIX="$prefix" "$LT_WINE" wineboot -i >/dev/null 2>&1
      WINEPREFIX="$prefix" wineserver -w
      lt_register_fonts "$prefix"
      WINEPREFIX="$prefix" wineserver -w
      "$LT_WINE" --version > "$prefix/.lt-wine" 2>/dev/null
      touch "$prefix/.lt-ready"
    fi
  ) 9>"$prefix.lock"
}

# The booted template of the current architecture that fresh prefixes are
# copied from; a template from another Wine version is booted afresh. Prints
# its path.
lt_template_ready() {
  local template="$LT_CACHE/template-$LT_ARCH" version
  version="$("$LT_WINE" --version 2>/dev/null)"
  (
    flock 9
    if [ -f "$template/.lt-ready" ] && [ "$(cat "$template/.lt-wine" 2>/dev/null)" != "$version" ]; then
      rm -rf "$template"
    fi
  ) 9>"$template.lock"
  lt_prefix_ready "$template"
  echo "$template"
}

# A new prefix at dest, copied from the template (a boot takes ~10 s). The
# template's program and library images (most of its 600 MB) are shared by
# hard links, since Wine only reads them; everything else is copied. Copies
# never run Wine's prefix update (which would write through the links): the
# template always matches the installed Wine. Across file systems it is a
# plain copy.
lt_prefix_fresh() {
  local dest="$1" template
  template="$(lt_template_ready)"
  rm -rf "$dest"
  if ! cp -al "$template" "$dest" 2>/dev/null; then
    rm -rf "$dest"
    cp -a "$template" "$dest"
    return
  fi
  (
    cd "$template" &&
      find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.nls' -o -iname '*.sys' \
        -o -iname '*.drv' -o -iname '*.vxd' -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' \
        -o -iname '*.tlb' -o -iname '*.ds' -o -iname '*.ax' -o -iname '*.com' -o -iname '*.msstyles' \) \
        -print0 | xargs -0 -r cp -p --parents --remove-destination -t "$dest"
  )
}

# The Windows folder of a prefix, as a Linux path.
lt_windir() { echo "$1/drive_c/windows"; }

# Starts a virtual display; sets DISPLAY and LT_XVFB_PID.
lt_xvfb_start() {
  local f; f="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$f" >/dev/null 2>&1 &
  LT_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$f" ] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$f")"
  rm -f "$f"
}

# Starts a user-mode sound server with a null sink; sets PULSE_SERVER and
# LT_PULSE_PID. The sink's monitor is "nullsink.monitor".
lt_pulse_start() {
  local dir; dir="$(mktemp -d)"
  LT_PULSE_DIR="$dir"
  XDG_RUNTIME_DIR="$dir" pulseaudio --daemonize=no -n --exit-idle-time=-1 --disallow-exit \
    --load="module-null-sink sink_name=nullsink" \
    --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
    >"$dir/log" 2>&1 &
  LT_PULSE_PID=$!
  export PULSE_SERVER="unix:$dir/native"
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.05
  done
  pactl set-default-sink nullsink >/dev/null 2>&1 || true
}
