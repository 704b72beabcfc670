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

# The Windows tests run on every architecture this host can run: the i686
# build (the product) where 32-bit code runs here, the x86_64 build always.
# The i686 build is made, packed and its release zip checked on every host.
source scripts/wine-env.sh
if qm_host_runs_32bit && [ "${QM_WINE_ARCH:-}" != 64 ]; then
  arches=(32 64)
else
  arches=(64)
  echo "== this host runs no 32-bit code (the 32-bit Wine loader does not start):"
  echo "   the Windows tests run on the x86_64 build alone"
fi
ran_arches=()

echo "== Windows build (MinGW-w64 i686), the product"
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j"$jobs"
if [[ " ${arches[*]} " == *" 32 "* ]]; then
  qm_wine_ready 32
  # Serial: the window tests share one display and its focus.
  run_ctest "wine i686" build/win32
  ran_arches+=(i686)
else
  # Only what needs no 32-bit Wine: the release zip and its help file.
  run_ctest "i686 release" build/win32 -L release
fi

echo "== Windows build (MinGW-w64 x86_64), tests under 64-bit Wine"
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64 -j"$jobs"
qm_wine_ready 64
if [ ${#arches[@]} -eq 2 ]; then
  # The long leak loops (label "stress", some five minutes) have just run on
  # the product's build; here the rest runs, to keep the whole command well
  # under half an hour on two cores.
  run_ctest "wine x86_64" build/win64 -LE stress
  ran_arches+=("x86_64 (without the leak loops)")
else
  run_ctest "wine x86_64" build/win64
  ran_arches+=(x86_64)
fi

if [ -f fuzz/CMakeLists.txt ]; then
  echo "== fuzz targets (bounded run)"
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DQM_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/fuzz -j"$jobs"
  run_ctest fuzz build/fuzz -L fuzz
fi

echo "== summary"
if [ ${#arches[@]} -eq 1 ]; then
  echo "Windows tests ran on: ${ran_arches[*]} (this host runs no 32-bit code)"
else
  echo "Windows tests ran on: ${ran_arches[*]}"
fi
printf '%s\n' "${results[@]}"
total_pass=0 total_fail=0
for r in "${results[@]}"; do
  if [[ $r =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    total_fail=$((total_fail + BASH_REMATCH[1]))
    total_pass=$((total_pass + BASH_REMATCH[2] - BASH_REMATCH[1]))
  fi
done
echo "$total_pass passed, $total_fail failed"
