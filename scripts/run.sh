#!/usr/bin/env bash
# Builds the Windows program and starts it.
# On Linux it runs under Wine: on the current X display when there is one,
# otherwise on a virtual display started for it. Once the window is up, a
# picture of it is saved to out/qiming-window.png (or the path given as the
# first argument). The program then runs until its window is closed; on a
# virtual display, which nobody can see, until Ctrl+C.
# On Windows (Git Bash / MSYS2 with MinGW) it builds natively and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
shot=${1:-out/qiming-window.png}

case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*)
    cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release
    cmake --build build/windows --target qiming qm_help
    exec build/windows/bin/qiming.exe
    ;;
esac

bash scripts/install-deps.sh
source scripts/wine-env.sh
had_display=no
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then had_display=yes; fi
# The 32-bit program, the product, where this host runs 32-bit code; the
# same program built for x86_64 where it does not.
arch=$(qm_wine_default_arch)
if [ "$arch" = 32 ]; then
  build=build/win32
  echo "Running the 32-bit program (i686)."
else
  build=build/win64
  qm_wine32_probe
  echo "${QM_WINE32_WHY:-QM_WINE_ARCH=64 asks for the 64-bit path}: running the 64-bit build (x86_64) of the program."
fi
targets=(qiming qm_select_page)
[ -f docs/CMakeLists.txt ] && targets+=(qm_help)  # PartKit.chm beside the program
qm_windows_build "$arch" "$build" "${targets[@]}"
qm_wine_ready "$arch"

wine "$build/bin/qiming.exe" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' INT TERM

# Waits for the window and prints its rectangle; page -1 leaves the page alone.
geometry=$(wine "$build/bin/qm_select_page.exe" -1 | tr -d '\r')
read -r x y w h <<<"$geometry"
sleep 1
mkdir -p "$(dirname "$shot")"
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot"
echo "screenshot of the window: $shot"

if [ "$had_display" = yes ]; then
  echo "启明映像向导 is running on $DISPLAY; close its window to finish."
else
  echo "启明映像向导 is running on the virtual display $DISPLAY; press Ctrl+C to stop it."
fi
wait $pid || true
