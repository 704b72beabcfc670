#!/usr/bin/env bash
# Builds and runs every test: the native build (g++), the Windows builds
# (MinGW-w64, run under Wine on a virtual display) and the fuzz targets for a
# bounded time. Installs what is missing first. The configurations are the
# presets of CMakePresets.json; a warning in the project's own code fails
# the build here (QM_WERROR), as it does in CI, which runs this command.
#
# A step that fails does not stop the others: the summary at the end names
# every step that failed, and the command then exits with status 1.
set -uo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
results=()  # one line per test run
failed=()   # the steps that failed
extra_failures=0
started=$SECONDS

elapsed() { local s=$((SECONDS - $1)); printf '%dm%02ds' $((s / 60)) $((s % 60)); }

# step NAME COMMAND...: runs it, noting NAME when it fails.
step() {
  local name=$1; shift
  if "$@"; then return 0; fi
  failed+=("$name")
  extra_failures=$((extra_failures + 1))  # counts as one failed test
  return 1
}

build() { # preset, extra configure arguments...
  local preset=$1; shift
  cmake --preset "$preset" -DQM_WERROR=ON "$@" >/dev/null && cmake --build --preset "$preset" -j"$jobs"
}

# run_ctest NAME BUILD-DIR CTEST-ARGS...: a build's tests, with their count
# and time in the summary.
run_ctest() {
  local name=$1 dir=$2 t0=$SECONDS; shift 2
  local log; log=$(mktemp)
  ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line; line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -n1)
  rm -f "$log"
  results+=("$name: ${line:-no summary} ($(elapsed "$t0"))")
  if [ -z "$line" ]; then
    failed+=("$name tests (no summary)")
    extra_failures=$((extra_failures + 1))
  elif [ "$rc" -ne 0 ]; then
    failed+=("$name tests")
  fi
}

echo "== installing what is missing"
step "installing the packages" bash scripts/install-deps.sh

echo "== native build"
t0=$SECONDS
host_tools=()
if step "native build" build native; then
  # The Windows builds pack their skins with the tools just built.
  host_tools=(-DQM_HOST_TOOLS="$PWD/build/native/bin")
  run_ctest native build/native -j"$jobs"
else
  host_tools=(-DQM_HOST_TOOLS=)
fi
echo "   native: $(elapsed "$t0")"

# The Windows tests run on every architecture this host can run: the i686
# build (the product) where 32-bit Wine runs here, the x86_64 build always.
# The i686 build is made, packed and its release zip checked on every host.
source scripts/wine-env.sh
qm_wine32_probe
why=
if [ "${QM_WINE_ARCH:-}" = 64 ]; then
  arches=(64) why="QM_WINE_ARCH=64 asks for the 64-bit path"
elif qm_host_runs_32bit; then
  arches=(32 64)
else
  arches=(64) why=$QM_WINE32_WHY
fi
[ -z "$why" ] || echo "== $why: the Windows tests run on the x86_64 build alone"
ran_arches=()

echo "== Windows build (MinGW-w64 i686), the product"
t0=$SECONDS
if step "i686 build" build i686 "${host_tools[@]}"; then
  if [ ${#arches[@]} -eq 2 ]; then
    # Serial: the window tests share one display and its focus.
    if step "i686 Wine prefix" qm_wine_ready 32; then
      run_ctest "wine i686" build/win32
      ran_arches+=(i686)
    fi
  else
    # Only what needs no 32-bit Wine: the release zip and its help file.
    run_ctest "i686 release" build/win32 -L release
  fi
fi
echo "   i686: $(elapsed "$t0")"

echo "== Windows build (MinGW-w64 x86_64), tests under 64-bit Wine"
t0=$SECONDS
if step "x86_64 build" build x86_64 "${host_tools[@]}" && step "x86_64 Wine prefix" qm_wine_ready 64; then
  if [ ${#arches[@]} -eq 2 ]; then
    # The long leak loops (label "stress") have just run on the product's
    # build; here the rest runs.
    run_ctest "wine x86_64" build/win64 -LE stress
    ran_arches+=("x86_64 (without the leak loops)")
  else
    run_ctest "wine x86_64" build/win64
    ran_arches+=(x86_64)
  fi
fi
echo "   x86_64: $(elapsed "$t0")"

if [ -f fuzz/CMakeLists.txt ]; then
  echo "== fuzz targets (bounded run)"
  t0=$SECONDS
  if step "fuzz build" build fuzz; then
    run_ctest fuzz build/fuzz -L fuzz -j"$jobs"
  fi
  echo "   fuzz: $(elapsed "$t0")"
fi

echo "== summary"
if [ ${#ran_arches[@]} -eq 0 ]; then
  echo "Windows tests ran on: none"
elif [ -n "$why" ]; then
  echo "Windows tests ran on: ${ran_arches[*]}; not on i686: $why"
else
  echo "Windows tests ran on: ${ran_arches[*]}"
fi
printf '%s\n' "${results[@]}"
total_pass=0 total_fail=$extra_failures
for r in "${results[@]}"; do
  if [[ $r =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    total_fail=$((total_fail + BASH_REMATCH[1]))
    total_pass=$((total_pass + BASH_REMATCH[2] - BASH_REMATCH[1]))
  fi
done
echo "whole command: $(elapsed "$started")"
[ ${#failed[@]} -eq 0 ] || printf 'failed: %s\n' "${failed[@]}"
echo "$total_pass passed, $total_fail failed"
[ ${#failed[@]} -eq 0 ] && [ "$total_fail" -eq 0 ]
