#!/usr/bin/env bash
# Builds the Windows program, starts it under Wine on a private virtual
# display and saves a picture of each of its six pages to
# docs/screenshots/page0.png .. page5.png; of its skinned window active, as
# it comes up, and inactive (main-active.png, main-inactive.png), of its
# message box (msgbox.png), of its skinned Save dialog (save-dialog.png)
# and of its skinned system menu (system-menu.png); of the
# help viewer that the help button opens (help.png); and of the main window
# wearing the second skin (main-second-skin.png); SkinView in both skins,
# its system menu opened with Alt+Space (skinview-system-menu.png),
# its page of glyph buttons (skinview-buttons.png), its demo menu open down
# to its deepest submenu (skinview-menu.png) and its MDI window with a
# maximised child (skinview-mdi.png); the keyboard focus on a button of
# SkinView (skinview-focus.png), SkinView with all its controls switched
# off (skinview-disabled.png) and the main window with the focus on
# "生成批处理文件" (main-focus.png); and the main window, its message box
# and SkinView on displays of 150 % and 200 % (main-144dpi.png,
# msgbox-144dpi.png, skinview-144dpi.png and the same for 192dpi), each in
# a Wine prefix of that scale.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
# The 32-bit program where this host runs 32-bit code, else its x86_64 build.
arch=$(qm_wine_default_arch)
build=${QM_SHOT_BUILD:-build/win$arch}
qm_windows_build "$arch" "$build" qiming qm_select_page qm_skin_host qm_second_skin skinview qm_default_skin

# A display of our own, so that nothing else on screen gets into the pictures.
export QM_XVFB_DISPLAY=${QM_SHOT_DISPLAY:-95}
# And a Wine prefix of our own, so that stopping the program touches nothing else.
export QM_WINEPREFIX=${QM_SHOT_PREFIX:-$PWD/build/wineprefix-shots}
unset DISPLAY
qm_wine_ready "$arch"

out=docs/screenshots
mkdir -p "$out"
# Run it from C:\QiMing, as a user would keep it, so the pictures show the
# paths a user sees.
home="$WINEPREFIX/drive_c/QiMing"
mkdir -p "$home"
cp "$build/bin/qiming.exe" "$build/bin/qm_skin_host.exe" "$build/bin/skinview.exe" "$build/bin/default.skn" \
   "$build/bin/second.skn" "$home/"
[ -f "$build/bin/PartKit.chm" ] && cp "$build/bin/PartKit.chm" "$home/"
select=$build/bin/qm_select_page.exe
pid=
# The private prefix's wineserver would otherwise outlive the script and
# hold its caller's output open.
stop() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  pid=
}
trap stop EXIT
start() {
  wine "$@" >/dev/null 2>&1 &
  pid=$!
}
shot() {  # NAME "x y width height"
  read -r x y w h <<<"$2"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$1.png"
  echo "$out/$1.png"
}

start "$home/qiming.exe"
# First as it comes up, with nothing touched and nothing repainted.
geometry=$(wine "$select" start | tr -d '\r')
sleep 1
shot main-active "$geometry"
for page in 0 1 2 3 4 5; do
  geometry=$(wine "$select" "$page" | tr -d '\r')
  sleep 1
  shot "page$page" "$geometry"
done
wine "$select" 0 >/dev/null  # back to the first page, for the pictures below
# A small window of the helper's own takes the activation while the picture
# is taken; the helper prints the rectangle once it has.
rect=$(mktemp)
wine "$select" blur 4 >"$rect" 2>/dev/null &
blur=$!
for _ in $(seq 50); do [ -s "$rect" ] && break; sleep 0.2; done
sleep 1
shot main-inactive "$(tr -d '\r' <"$rect")"
wait $blur || true
rm -f "$rect"
# "生成批处理文件" with nothing chosen on page 0.
geometry=$(wine "$select" msgbox | tr -d '\r')
sleep 1
shot msgbox "$geometry"
stop

# The system menu, opened by a right click on the caption.
start "$home/qiming.exe"
wine "$select" -1 >/dev/null  # the window is up and fitted to its frame
geometry=$(wine "$select" sysmenu | tr -d '\r')
sleep 1
shot system-menu "$geometry"
stop

# The image file's "选  择" opens the skinned Save dialog.
start "$home/qiming.exe"
wine "$select" -1 >/dev/null  # the window is up and fitted to its frame
geometry=$(wine "$select" save | tr -d '\r')
shot save-dialog "$geometry"
stop

# The help button opens PartKit.chm in the help viewer.
start "$home/qiming.exe"
wine "$select" -1 >/dev/null  # the window is up and fitted to its frame
if geometry=$(wine "$select" help | tr -d '\r'); then
  sleep 3
  shot help "$geometry"
fi
stop

start "$home/qm_skin_host.exe" 'C:\QiMing\second.skn'
geometry=$(wine "$select" 0 | tr -d '\r')
sleep 1
shot main-second-skin "$geometry"
stop
# SkinView with the default skin, and then with the second one.
for skin in default second; do
  start "$home/skinview.exe" "C:\\QiMing\\$skin.skn"
  geometry=$(wine "$select" skinview | tr -d '\r')
  sleep 1
  shot "skinview-$skin" "$geometry"
  if [ "$skin" = default ]; then
    # The page with panels, glyph buttons and speed buttons.
    geometry=$(wine "$select" skinview 2 | tr -d '\r')
    sleep 1
    shot skinview-buttons "$geometry"
  fi
  stop
done
# SkinView's system menu, opened with Alt+Space: a sizeable window's, with
# Size as well as Move.
start "$home/skinview.exe" 'C:\QiMing\default.skn'
geometry=$(wine "$select" skinview-sysmenu | tr -d '\r')
sleep 1
shot skinview-system-menu "$geometry"
stop
# The keyboard focus on a button of SkinView, and SkinView with all its
# controls switched off from its demo menu.
for what in focus disabled; do
  start "$home/skinview.exe" 'C:\QiMing\default.skn'
  geometry=$(wine "$select" "skinview-$what" | tr -d '\r')
  sleep 1
  shot "skinview-$what" "$geometry"
  stop
done
# The main window with the keyboard focus on "生成批处理文件".
start "$home/qiming.exe"
geometry=$(wine "$select" focus-run | tr -d '\r')
sleep 1
shot main-focus "$geometry"
stop
# SkinView's menu bar with the demo menu and its submenus open, and its MDI
# window with a child maximised into the frame's bar.
for what in menu mdi; do
  start "$home/skinview.exe" 'C:\QiMing\default.skn'
  geometry=$(wine "$select" "skinview-$what" | tr -d '\r')
  shot "skinview-$what" "$geometry"
  stop
done
# At 150 % and 200 %: a prefix of each scale, the program kept in it too.
for dpi in 144 192; do
  export QM_WINE_DPI=$dpi
  qm_wine_ready "$arch"
  home="$WINEPREFIX/drive_c/QiMing"
  mkdir -p "$home"
  cp "$build/bin/qiming.exe" "$build/bin/skinview.exe" "$build/bin/default.skn" "$home/"
  start "$home/qiming.exe"
  geometry=$(wine "$select" start | tr -d '\r')
  sleep 1
  shot "main-${dpi}dpi" "$geometry"
  geometry=$(wine "$select" msgbox | tr -d '\r')
  sleep 1
  shot "msgbox-${dpi}dpi" "$geometry"
  stop
  start "$home/skinview.exe" 'C:\QiMing\default.skn'
  geometry=$(wine "$select" skinview | tr -d '\r')
  sleep 1
  shot "skinview-${dpi}dpi" "$geometry"
  stop
done
unset QM_WINE_DPI
