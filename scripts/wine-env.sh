# Shared environment for running Lumatrove and its tests under Wine.
# Sourced by the other scripts; defines lt_* helpers.

LT_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LT_CACHE="${LT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/lumatrove}"
mkdir -p "$LT_CACHE"

export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
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
  WINEPREFIX="$1" wine regedit /S "$(WINEPREFIX="$1" winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
}

# Boots a prefix once; later calls return at once.
lt_prefix_ready() {
  local prefix="$1"
  [ -f "$prefix/.lt-ready" ] && return 0
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.lt-ready" ]; then
      WINEPREFIX="$prefix" wineboot -i >/dev/null 2>&1
      WINEPREFIX="$prefix" wineserver -w
      lt_register_fonts "$prefix"
      WINEPREFIX="$prefix" wineserver -w
      wine --version > "$prefix/.lt-wine" 2>/dev/null
      touch "$prefix/.lt-ready"
    fi
  ) 9>"$prefix.lock"
}

# The booted template that fresh prefixes are copied from; a template from
# another Wine version is booted afresh. Prints its path.
lt_template_ready() {
  local template="$LT_CACHE/template-prefix" version
  version="$(wine --version 2>/dev/null)"
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
