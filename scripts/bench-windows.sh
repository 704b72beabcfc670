#!/usr/bin/env bash
# Builds the Windows benchmark of skinned windows and runs it under Wine on a
# private virtual display: the skinned frame's repaint and the start-up to
# the first painted frame, each against the native frame, side by side; then
# in a prefix of 192 DPI the skinned main form at 200 % against 100 %.
#   bash scripts/bench-windows.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
arch=$(qm_wine_default_arch)
build=${QM_BENCH_BUILD:-build/win$arch}
qm_windows_build "$arch" "$build" skin_window_bench

# A display and a prefix of our own, so that nothing else draws meanwhile.
export QM_XVFB_DISPLAY=${QM_BENCH_DISPLAY:-96}
export QM_WINEPREFIX=${QM_BENCH_PREFIX:-$PWD/build/wineprefix-bench}
unset DISPLAY
qm_wine_ready "$arch"
trap 'wineserver -k 2>/dev/null || true' EXIT
wine "$build/bin/skin_window_bench.exe" "${1:-15}"
wineserver -k 2>/dev/null || true
export QM_WINE_DPI=192
qm_wine_ready "$arch"
wine "$build/bin/skin_window_bench.exe" "${1:-15}" --scales
