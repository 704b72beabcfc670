#!/usr/bin/env bash
# The fixed clock the help file is compiled on: the help compiler gives the
# same PartKit.chm from the same sources every run, from any folder and
# whatever the sources' file times; programs that ask the C library see the
# fixed time; without a time set the library changes nothing.
#
#   fixed_clock_test.sh CLOCK_LIBRARY TIME CHMCMD HELP_SOURCES PREFIX...
#
# PREFIX is the command prefix the build runs the help compiler with;
# HELP_SOURCES the folder of the GBK help project (PartKit.hhp) it compiles.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/check.sh"

lib=$1 fixed=$2 chmcmd=$3 help=$4
shift 4
prefix=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== the C library's clock"
check "date sees the fixed time" test "$("${prefix[@]}" date -u +%s)" = "$fixed"
now=$(date -u +%s)
unset_time=$(env -u QM_FIXED_TIME LD_PRELOAD="$lib" date -u +%s)
check "without QM_FIXED_TIME the real time passes through" \
  test "$((unset_time - now))" -ge 0 -a "$((unset_time - now))" -le 60
check "sleeping still works on the fixed clock" "${prefix[@]}" timeout 10 sleep 0.2

echo "== the help compiler, which asks the kernel and leaks addresses"
compile() { # copy of the sources, output
  (cd "$1" && rm -f PartKit.chm && "${prefix[@]}" "$chmcmd" --verbosity 0 PartKit.hhp >/dev/null 2>&1 \
     && mv PartKit.chm "$2")
}
mkdir -p "$work/one" "$work/another folder"
cp "$help"/*.hhp "$help"/*.hhc "$help"/*.hhk "$help"/*.htm "$help"/*.css "$work/one/"
cp "$work/one"/* "$work/another folder/"
touch -d '2003-04-05 06:07:08' "$work/another folder"/*
compile "$work/one" "$work/reference.chm"
check "the help compiler wrote PartKit.chm" test -s "$work/reference.chm"
# Address-dependent bytes showed in about two runs of three; four runs
# catch that nearly always.
for run in 1 2 3; do
  sleep 1
  compile "$work/another folder" "$work/run$run.chm"
  check "compilation $run equals the first, byte for byte" cmp "$work/reference.chm" "$work/run$run.chm"
done

finish
