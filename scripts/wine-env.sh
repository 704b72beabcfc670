# Sourced by the scripts that run Windows executables under Wine.
# Sets up one 32-bit Wine prefix for the project (window frames drawn by Wine,
# "宋体" mapped to an installed CJK font) and a virtual X display when there is
# no display at all.

QM_ROOT=${QM_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${QM_WINEPREFIX:-$QM_ROOT/build/wineprefix}
export WINEARCH=win32
# Chinese locale: GB2312 code page for the interface, zh-CN date forms.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=d"}

qm_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=${QM_XVFB_DISPLAY:-97}
  export DISPLAY=":$n"
  if ! xdpyinfo >/dev/null 2>&1; then
    rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
    (Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &)
    for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
}

qm_wine_prefix() {
  local stamp="$WINEPREFIX/.qiming-configured"
  [ -f "$stamp" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Concurrent test runs must not initialise the prefix twice.
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$stamp" ]; then
    wineboot -i >/dev/null 2>&1 || true
    local reg; reg=$(mktemp --suffix=.reg)
    # Version 5 registry files are UTF-16, which keeps the Chinese face names
    # intact whatever code page Wine starts with.
    { printf '\xff\xfe'
      printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '"Decorated"="Y"' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
      '"宋体"="WenQuanYi Micro Hei"' '"SimSun"="WenQuanYi Micro Hei"' \
      '"新宋体"="WenQuanYi Micro Hei"' '"NSimSun"="WenQuanYi Micro Hei"' '' \
      '[HKEY_CURRENT_USER\Software\Wine\DllOverrides]' '"winemenubuilder.exe"=""' '' \
      | iconv -f UTF-8 -t UTF-16LE; } > "$reg"
    wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
    rm -f "$reg"
    wineserver -w
    touch "$stamp"
  fi
  flock -u 9
}

# This Wine build does not look in its own font folder, so the caption
# buttons' Marlett glyphs would come out as plain letters; the prefix's own
# font folder is always searched.
qm_wine_fonts() {
  local dir="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$dir/marlett.ttf" ] && return 0
  mkdir -p "$dir"
  cp /usr/share/wine/fonts/marlett.ttf "$dir/" 2>/dev/null || true
}

qm_wine_ready() {
  qm_display
  qm_wine_prefix
  qm_wine_fonts
}
