#!/usr/bin/env bash
# Builds and runs every test: the native build (g++), the Windows build
# (MinGW-w64, run under Wine on a virtual display) and the fuzz targets for a
# bounded time. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
results=()
run_ctest() { # name, build dir, extra ctest args...
  local name=$1 dir=$2; shift 2
  local log; log=$(mktemp)
  set +e
  ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  set -e
  local line; line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -n1)
  results+=("$name: ${line:-no summary}")
  rm -f "$log"
  return "$rc"
}

echo "== native build"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j"$jobs"
run_ctest native build/native -j"$jobs"

echo "== Windows build (MinGW-w64 i686), tests under Wine"
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j"$jobs"
source scripts/wine-env.sh
qm_wine_ready
# Serial: the window tests share one display and its focus.
run_ctest wine build/win32

if [ -f fuzz/CMakeLists.txt ]; then
  echo "== fuzz targets (bounded run)"
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DQM_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/fuzz -j"$jobs"
  run_ctest fuzz build/fuzz -L fuzz
fi

echo "== summary"
printf '%s\n' "${results[@]}"
total_pass=0 total_fail=0
for r in "${results[@]}"; do
  if [[ $r =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    total_fail=$((total_fail + BASH_REMATCH[1]))
    total_pass=$((total_pass + BASH_REMATCH[2] - BASH_REMATCH[1]))
  fi
done
echo "$total_pass passed, $total_fail failed"
