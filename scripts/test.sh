#!/usr/bin/env bash
# Builds and runs every test: the native build (g++), the Windows builds
# (MinGW-w64, run under Wine on virtual displays) and the fuzz targets for a
# bounded time. Installs what is missing first. The configurations are the
# presets of CMakePresets.json; a warning in the project's own code fails
# the build here (QM_WERROR), as it does in CI, which runs this command.
#
# A step that fails does not stop the others: the summary at the end names
# every step that failed, and the command then exits with status 1.
#
# Where the time goes, and why the steps are ordered so (two cores):
# building is bound by the processor and runs one build at a time, each on
# every core. The Windows tests run in QM_WINE_LANES lanes side by side
# (a virtual display and a Wine prefix each, scripts/wine-env.sh); they
# leave about a quarter of the processor idle, which the i686 release build
# beside them at the lowest priority takes. The native tests and the Wine
# prefixes' set-up run beside the builds. The fuzz run comes last, alone:
# it runs for a fixed time, and beside anything it would only fuzz less.
set -uo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
lanes=${QM_WINE_LANES:-3}
# What the steps report, kept in files: some steps run in the background.
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
: >"$state/results" >"$state/failed" >"$state/extra" >"$state/ran"
started=$SECONDS

elapsed() { local s=$((SECONDS - $1)); printf '%dm%02ds' $((s / 60)) $((s % 60)); }

# noted FILE LINE: one line of the summary's (results, failed, extra or ran).
noted() { printf '%s\n' "$2" >>"$state/$1"; }

# step NAME COMMAND...: runs it, noting NAME when it fails.
step() {
  local name=$1; shift
  if "$@"; then return 0; fi
  noted failed "$name"
  noted extra 1  # counts as one failed test
  return 1
}

# build PRESET [TARGET...] [-- CONFIGURE-ARGUMENTS...]
build() {
  local preset=$1 targets=(); shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do targets+=(--target "$1"); shift; done
  [ $# -eq 0 ] || shift
  cmake --preset "$preset" -DQM_WERROR=ON -DQM_WINE_LANES="$lanes" "$@" >/dev/null &&
    cmake --build --preset "$preset" -j"$jobs" "${targets[@]}"
}

# run_ctest NAME BUILD-DIR CTEST-ARGS...: a build's tests, with their count
# and time in the summary.
run_ctest() {
  local name=$1 dir=$2 t0=$SECONDS; shift 2
  local log; log=$(mktemp -p "$state")
  ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line; line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -n1)
  noted results "$name: ${line:-no summary} ($(elapsed "$t0"))"
  if [ -z "$line" ]; then
    noted failed "$name tests (no summary)"
    noted extra 1
  elif [ "$rc" -ne 0 ]; then
    noted failed "$name tests"
  fi
}

# beside TITLE COMMAND...: runs it in the background at the lowest priority,
# its output kept in a log that is shown once wait_beside has waited for it.
background=()  # "pid log title"
beside() {
  local title=$1 log; shift
  log=$(mktemp -p "$state")
  echo "== $title (beside; its output follows when it is done)"
  ( renice -n 19 -p "$BASHPID" >/dev/null; "$@" ) >"$log" 2>&1 &
  background+=("$! $log $title")
}
wait_beside() {
  local entry pid log title
  for entry in "${background[@]}"; do
    read -r pid log title <<<"$entry"
    wait "$pid"
    echo "== $title"
    cat "$log"
  done
  background=()
}

echo "== installing what is missing"
step "installing the packages" bash scripts/install-deps.sh

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

# The prefixes and their lanes take a minute on first use and need no build.
prefixes() {
  local arch
  for arch in "${arches[@]}"; do
    step "the Wine prefixes ($arch-bit)" qm_wine_lanes_ready "$arch" "$lanes"
  done
}
qm_wine_lane_displays "$lanes"
beside "Wine prefixes, $lanes lanes" prefixes

echo "== native build"
t0=$SECONDS
host_tools=(-DQM_HOST_TOOLS=)
if step "native build" build native; then
  # The Windows builds pack their skins with the tools just built.
  host_tools=(-DQM_HOST_TOOLS="$PWD/build/native/bin")
  beside "native tests" run_ctest native build/native -j"$jobs"
fi
echo "   native build: $(elapsed "$t0")"

# wine_tests ARCH BUILD-DIR NAME WHAT-RAN CTEST-ARGS...: in the lanes.
wine_tests() {
  local arch=$1 dir=$2 name=$3 ran=$4 t0=$SECONDS; shift 4
  run_ctest "wine $name" "$dir" --resource-spec-file "$PWD/$dir/wine-lanes.json" -j"$lanes" "$@"
  noted ran "$ran"
  echo "   $name Windows tests: $(elapsed "$t0")"
}
fuzz() {
  [ -f fuzz/CMakeLists.txt ] || return 0
  local t0=$SECONDS
  if step "fuzz build" build fuzz; then
    run_ctest fuzz build/fuzz -L fuzz -j"$jobs"
  fi
  echo "   fuzz: $(elapsed "$t0")"
}
i686_release() {
  local t0=$SECONDS
  # Only what needs no 32-bit Wine: the release zip and its help file.
  if step "i686 build (the release)" build i686 release -- "${host_tools[@]}"; then
    run_ctest "i686 release" build/win32 -L release
  fi
  echo "   i686 release: $(elapsed "$t0")"
}

if [ ${#arches[@]} -eq 2 ]; then
  echo "== Windows builds (MinGW-w64 i686, the product, and x86_64)"
  t0=$SECONDS
  step "i686 build" build i686 -- "${host_tools[@]}" && touch "$state/i686-built"
  step "x86_64 build" build x86_64 -- "${host_tools[@]}" && touch "$state/x86_64-built"
  echo "   Windows builds: $(elapsed "$t0")"
  wait_beside
  [ -f "$state/i686-built" ] && wine_tests 32 build/win32 i686 i686
  # The long leak loops (label "stress") have just run on the product's
  # build; here the rest runs.
  [ -f "$state/x86_64-built" ] && wine_tests 64 build/win64 x86_64 "x86_64 (without the leak loops)" -LE stress
else
  echo "== Windows build (MinGW-w64 x86_64), tests under 64-bit Wine"
  t0=$SECONDS
  step "x86_64 build" build x86_64 -- "${host_tools[@]}" && touch "$state/x86_64-built"
  echo "   x86_64 build: $(elapsed "$t0")"
  wait_beside
  beside "i686 release" i686_release
  [ -f "$state/x86_64-built" ] && wine_tests 64 build/win64 x86_64 x86_64
fi
wait_beside
echo "== fuzz targets (bounded run)"
fuzz

mapfile -t results <"$state/results"
mapfile -t failed <"$state/failed"
extra_failures=$(wc -l <"$state/extra")
mapfile -t ran_arches <"$state/ran"

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
