# Sourced by the scripts that run Windows executables under Wine.
# Sets up the project's Wine prefixes (window frames drawn by Wine, "宋体"
# mapped to an installed CJK font, the Marlett font) and a virtual X display
# when there is no display at all.
#
# Two architectures: the shipped program is 32-bit and runs in a win32
# prefix, but on some hosts 32-bit Wine cannot run: the kernel refuses
# 32-bit programs ("Exec format error"), or the 32-bit Wine package could not
# be installed (scripts/install-deps.sh goes on without it). There the
# x86_64 build runs in a win64 prefix set up the same way.
# `qm_wine_arch 32|64` picks one; `wine` below then runs that architecture's
# loader.
#
#   QM_WINE_ARCH       32 or 64: forces the architecture qm_wine_default_arch
#                      answers (for checking the 64-bit path on a host that
#                      could run both)
#   QM_WITHOUT_WINE32  set: the 32-bit loader is looked for where none is,
#                      as on a host where its package could not be installed
#   QM_WINEPREFIX      the 32-bit prefix (default build/wineprefix); the 64-bit
#                      one is the same path with "64" appended
#   QM_WINE_DPI        a display scale in dots per inch (120, 144, 192...):
#                      the programs run in a prefix of that scale of their
#                      own, the architecture's prefix with "-dpi<N>" appended
#   QM_WINE_LANE       0, 1, 2...: which of several lanes the program runs in,
#                      so that window tests can run side by side. Lane 0 is
#                      the display and prefix above; lane N has a virtual
#                      display of its own (QM_XVFB_DISPLAY + N) and a copy of
#                      the ready prefix ("-lane<N>" appended), so that no
#                      two tests share a display, its focus or a wineserver.
#                      Under CTest, the lane it hands out is taken
#                      (CTEST_RESOURCE_GROUP_0_LANES; the Windows builds
#                      write their lanes to wine-lanes.json, which
#                      scripts/test.sh gives to ctest).

QM_ROOT=${QM_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
if [ -n "${QM_WITHOUT_WINE32:-}" ]; then QM_WINE32_LOADER=/nonexistent/wine32-not-installed/wine; fi
QM_WINE32_LOADER=${QM_WINE32_LOADER:-/usr/lib/wine/wine}
QM_WINE64_LOADER=${QM_WINE64_LOADER:-/usr/lib/wine/wine64}
# Chinese locale: GB2312 code page for the interface, zh-CN date forms.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=d"}

# Whether 32-bit Wine runs here, found by really starting its loader:
# kernels built with 32-bit emulation may still have it switched off.
# Sets QM_WINE32_STATE (runs, not-installed, no-32bit-code or fails) and
# QM_WINE32_WHY, a sentence for the user when it does not run.
qm_wine32_probe() {
  [ -n "${QM_WINE32_STATE:-}" ] && return 0
  local out rc
  if [ ! -e "$QM_WINE32_LOADER" ]; then
    QM_WINE32_STATE=not-installed
    QM_WINE32_WHY="32-bit Wine is not installed here (no $QM_WINE32_LOADER: the package wine32:i386 is missing)"
    return 0
  fi
  # In the C locale the shell's own complaint is the English one matched below.
  out=$(export LC_ALL=C; "$QM_WINE32_LOADER" --version 2>&1) && rc=0 || rc=$?
  if [ "$rc" -eq 0 ]; then
    QM_WINE32_STATE=runs QM_WINE32_WHY=
  elif [[ $out == *"Exec format error"* ]]; then
    QM_WINE32_STATE=no-32bit-code
    QM_WINE32_WHY="this host runs no 32-bit code (the kernel refuses the 32-bit Wine loader: Exec format error)"
  else
    QM_WINE32_STATE=fails
    QM_WINE32_WHY="32-bit Wine does not start here ($QM_WINE32_LOADER --version: ${out:-exit status $rc})"
  fi
}

qm_host_runs_32bit() {
  qm_wine32_probe
  [ "$QM_WINE32_STATE" = runs ]
}

# The architecture to run the program in: 32 where the host can, else 64.
qm_wine_default_arch() {
  case "${QM_WINE_ARCH:-}" in
    32 | 64) echo "$QM_WINE_ARCH" ;;
    *) if qm_host_runs_32bit; then echo 32; else echo 64; fi ;;
  esac
}

qm_wine_arch() {
  local base=${QM_WINEPREFIX:-$QM_ROOT/build/wineprefix}
  case "$1" in
    32) export WINEARCH=win32 WINEPREFIX=$base QM_WINE=$QM_WINE32_LOADER
        unset WINELOADER ;;
    64) export WINEARCH=win64 WINEPREFIX=${base}64 QM_WINE=$QM_WINE64_LOADER
        export WINELOADER=$QM_WINE64_LOADER ;;
    *) echo "qm_wine_arch: 32 or 64, not '$1'" >&2; return 2 ;;
  esac
}

wine() { "$QM_WINE" "$@"; }

# The lane this program runs in (see QM_WINE_LANE).
qm_wine_lane() {
  local lane=${QM_WINE_LANE:-}
  if [ -z "$lane" ] && [[ ${CTEST_RESOURCE_GROUP_0_LANES:-} =~ id:([0-9]+) ]]; then
    lane=${BASH_REMATCH[1]}
  fi
  echo "${lane:-0}"
}

qm_display() {
  local lane; lane=$(qm_wine_lane)
  # A lane of its own never shares the display it was started with.
  [ "$lane" = 0 ] || unset DISPLAY
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=$((${QM_XVFB_DISPLAY:-97} + lane))
  export DISPLAY=":$n"
  if ! xdpyinfo >/dev/null 2>&1; then
    rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
    # Large enough for the main window at 200 %, frame and all.
    (Xvfb ":$n" -screen 0 2048x1536x24 -nolisten tcp >/dev/null 2>&1 &)
    for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
}

# The stamp is written only once every step has succeeded: a prefix whose
# set-up broke off is set up again next time rather than used half-made.
qm_wine_prefix() {
  local stamp="$WINEPREFIX/.qiming-configured"
  [ -f "$stamp" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Concurrent test runs must not initialise the prefix twice.
  exec 9>"$WINEPREFIX.lock"
  flock 9
  local ok=yes
  if [ ! -f "$stamp" ]; then
    wine wineboot.exe -i >/dev/null 2>&1 || ok=no
    local reg=
    if [ $ok = yes ]; then
      reg=$(mktemp --suffix=.reg)
      # Version 5 registry files are UTF-16, which keeps the Chinese face
      # names intact whatever code page Wine starts with.
      { printf '\xff\xfe'
        printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '"Decorated"="Y"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"宋体"="WenQuanYi Micro Hei"' '"SimSun"="WenQuanYi Micro Hei"' \
        '"新宋体"="WenQuanYi Micro Hei"' '"NSimSun"="WenQuanYi Micro Hei"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\DllOverrides]' '"winemenubuilder.exe"=""' '' \
        | iconv -f UTF-8 -t UTF-16LE; } > "$reg"
      wine regedit.exe /S "$(wine winepath.exe -w "$reg" | tr -d '\r')" >/dev/null 2>&1 || ok=no
      rm -f "$reg"
      # The registry is written out when the server ends.
      wineserver -w && [ -f "$WINEPREFIX/system.reg" ] || ok=no
    fi
    if [ $ok = yes ]; then
      touch "$stamp"
    else
      echo "wine-env: setting up the Wine prefix $WINEPREFIX failed; it is set up again next time" >&2
    fi
  fi
  flock -u 9
  [ $ok = yes ]
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

# The tests of what settled windows show run with their windows managed, as
# Wine runs them by default: a window manager's border would otherwise go
# unnoticed by them. Every other program keeps its windows unmanaged.
qm_wine_managed_tests() {
  local stamp="$WINEPREFIX/.qiming-managed-tests"
  [ -f "$stamp" ] && return 0
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$stamp" ]; then
    local exe
    for exe in painted_window_test.exe skinview_paint_test.exe; do
      wine reg.exe add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" /v Managed /d Y /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$stamp"
  fi
  flock -u 9
}

# Copies a prefix. Nine tenths of one are the system's DLLs (630 MB of 700
# in a 64-bit prefix), which Wine writes only when it sets a prefix up or
# updates it for a new Wine: those are linked, not copied, where the file
# system can (a lane and each of its scales is a prefix of its own).
# Everything else, the registry above all, is a copy of its own.
#   qm_copy_prefix FROM TO
qm_copy_prefix() {
  local from=$1 to=$2 dir
  local shared=(drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs)
  mkdir -p "$to" || return
  (cd "$from" && tar -cf - "${shared[@]/#/--exclude=./}" .) | (cd "$to" && tar -xf -) || return
  for dir in "${shared[@]}"; do
    [ -d "$from/$dir" ] || continue
    cp -a --link "$from/$dir" "$to/$dir" 2>/dev/null || { rm -rf "${to:?}/$dir"; cp -a "$from/$dir" "$to/$dir"; } || return
  done
}

# A prefix made as a copy of the architecture's ready one, which is quicker
# than setting one up, and then used from there on: WINEPREFIX plus SUFFIX,
# changed by the function CHANGE (run with WINEPREFIX set to the copy, it
# fails when the change did not take). Like the prefix it is copied from, it
# counts as made only once every step has succeeded. Copying waits for the
# ready prefix's server to end, so a prefix of another lane is best made
# before tests run in parallel (scripts/test.sh does).
#   qm_wine_copied_prefix SUFFIX [CHANGE]
qm_wine_copied_prefix() {
  local base=$WINEPREFIX suffix=$1 change=${2:-}
  local copy=$base$suffix
  local stamp="$copy/.qiming-configured"
  if [ ! -f "$stamp" ]; then
    exec 9>"$copy.lock"
    flock 9
    local ok=yes
    if [ ! -f "$stamp" ]; then
      rm -rf "$copy" "$copy.part"
      # The copied prefix's registry must be the one on disk, not half of it.
      wineserver -w
      qm_copy_prefix "$base" "$copy.part" || ok=no
      rm -f "$copy.part/.qiming-configured"
      if [ $ok = yes ] && [ -n "$change" ]; then
        WINEPREFIX=$copy.part "$change" || ok=no
      fi
      if [ $ok = yes ] && mv "$copy.part" "$copy"; then
        touch "$stamp"
      else
        rm -rf "$copy.part"
        echo "wine-env: setting up the Wine prefix $copy failed; it is set up again next time" >&2
        ok=no
      fi
    fi
    flock -u 9
    [ $ok = yes ] || return 1
  fi
  export WINEPREFIX=$copy
}

# The display scale QM_WINE_DPI in the prefix WINEPREFIX: Wine reads
# LogPixels from HKCU\Control Panel\Desktop.
qm_wine_set_dpi() {
  wine reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QM_WINE_DPI" /f >/dev/null 2>&1 || return 1
  wineserver -w
  grep -qi "\"LogPixels\"=dword:$(printf '%08x' "$QM_WINE_DPI")" "$WINEPREFIX/user.reg"
}

# A prefix whose display is set to QM_WINE_DPI, a copy of the ready one.
qm_wine_scaled_prefix() {
  qm_wine_copied_prefix "-dpi$QM_WINE_DPI" qm_wine_set_dpi
}

# Gets an architecture's prefix and the display ready; with no argument, the
# architecture this host runs the program in. With QM_WINE_DPI set to other
# than 96, the prefix of that scale.
qm_wine_ready() {
  qm_wine_arch "${1:-$(qm_wine_default_arch)}" || return
  qm_display
  qm_wine_prefix || return
  qm_wine_fonts
  qm_wine_managed_tests
  local lane; lane=$(qm_wine_lane)
  if [ "$lane" != 0 ]; then qm_wine_copied_prefix "-lane$lane" || return; fi
  case "${QM_WINE_DPI:-96}" in
    96) ;;
    *[!0-9]* | '') echo "wine-env: QM_WINE_DPI is a number of dots per inch, not '$QM_WINE_DPI'" >&2; return 2 ;;
    *) qm_wine_scaled_prefix ;;
  esac
}

# The displays of lanes 0 to N-1. Started before anything runs at a lower
# priority: the X server keeps the priority it was started with.
qm_wine_lane_displays() {
  local lane
  for ((lane = 0; lane < $1; lane++)); do
    (export QM_WINE_LANE=$lane; qm_display)
  done
}

# Gets lanes 0 to N-1 of an architecture ready, so that tests can run in
# them side by side; the other lanes' prefixes are copied from lane 0's
# while nothing runs in it.
#   qm_wine_lanes_ready 32|64 N
qm_wine_lanes_ready() {
  local lane
  for ((lane = 0; lane < $2; lane++)); do
    (export QM_WINE_LANE=$lane; qm_wine_ready "$1") || return
  done
}

# Ends this prefix's Wine session once a test program has exited. A Windows
# program it left running (a browser it opened, a server COM started for it)
# holds the output pipe CTest reads, so CTest would wait for it until the
# time-out, and it would stay on the display under the next test's windows.
# Normally the system's own processes end within a second of the last
# program; whatever still runs after QM_WINE_SESSION_WAIT seconds (30) is
# named and ended. Fails when it had to end something.
qm_wine_end_session() {
  timeout "${QM_WINE_SESSION_WAIT:-30}" wineserver -w && return 0
  local left=() p exe
  for p in /proc/[0-9]*; do
    exe=$(readlink "$p/exe" 2>/dev/null) || continue
    [ "$exe" = "$(readlink -f "$QM_WINE")" ] || continue
    { tr '\0' '\n' <"$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null || continue
    # The system's own processes end with the session; the programs are named.
    case "$(tr '\0' ' ' <"$p/cmdline" 2>/dev/null)" in
      *\\system32\\services.exe*|*\\system32\\winedevice.exe*|*\\system32\\plugplay.exe*|\
      *\\system32\\svchost.exe*|*\\system32\\explorer.exe\ /desktop*|*\\system32\\rpcss.exe*) ;;
      *) left+=("$(tr '\0' ' ' <"$p/cmdline" 2>/dev/null | sed 's/ *$//')") ;;
    esac
  done
  echo "wine-exec: still running ${QM_WINE_SESSION_WAIT:-30} s after $1 ended, now ended:" >&2
  printf '  %s\n' "${left[@]}" >&2
  wineserver -k
  wineserver -w
  return 1
}

# Configures (the i686 or x86_64 preset) and builds the given targets of the
# Windows build for an architecture in a build folder:
#   qm_windows_build 32|64 BUILD TARGET...
qm_windows_build() {
  local arch=$1 build=$2 preset=x86_64
  shift 2
  if [ "$arch" = 32 ]; then preset=i686; fi
  cmake --preset "$preset" -B "$build" >/dev/null
  cmake --build "$build" --target "$@" -j"$(nproc)"
}
