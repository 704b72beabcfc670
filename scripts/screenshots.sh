#!/usr/bin/env bash
# Builds the Windows program, starts it under Wine on a private virtual
# display and saves a picture of each of its six pages to
# docs/screenshots/page0.png .. page5.png, and of the help viewer that the
# help button opens to docs/screenshots/help.png.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
# The 32-bit program where this host runs 32-bit code, else its x86_64 build.
arch=$(qm_wine_default_arch)
if [ "$arch" = 32 ]; then toolchain=cmake/mingw-i686.cmake; else toolchain=cmake/mingw-x86_64.cmake; fi
build=${QM_SHOT_BUILD:-build/win$arch}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target qiming qm_select_page -j"$(nproc)"

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
cp "$build/bin/qiming.exe" "$home/"
[ -f "$build/bin/PartKit.chm" ] && cp "$build/bin/PartKit.chm" "$home/"
wine "$home/qiming.exe" >/dev/null 2>&1 &
pid=$!
# The private prefix's wineserver would otherwise outlive the script and
# hold its caller's output open.
trap 'kill $pid 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
for page in 0 1 2 3 4 5; do
  geometry=$(wine "$build/bin/qm_select_page.exe" "$page" | tr -d '\r')
  read -r x y w h <<<"$geometry"
  sleep 1
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/page$page.png"
  echo "$out/page$page.png"
done
# The help button opens PartKit.chm in the help viewer.
if geometry=$(wine "$build/bin/qm_select_page.exe" help | tr -d '\r'); then
  read -r x y w h <<<"$geometry"
  sleep 3
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/help.png"
  echo "$out/help.png"
fi
