#!/usr/bin/env bash
# The fixed clock that build tools run on: the help compiler, which asks the
# kernel for the time itself, gives the same file twice; programs that ask
# the C library see the fixed time; without a time set nothing changes.
#
#   fixed_clock_test.sh CLOCK_LIBRARY CHMCMD
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/check.sh"

lib=$1 chmcmd=$2
fixed=1767225600  # 2026-01-01 00:00:00 UTC
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

on_clock() { env TZ=UTC QM_FIXED_TIME=$fixed LD_PRELOAD="$lib" "$@"; }

echo "== the C library's clock"
check "date sees the fixed time" test "$(on_clock date -u +%s)" = "$fixed"
now=$(date -u +%s)
unset_time=$(env -u QM_FIXED_TIME LD_PRELOAD="$lib" date -u +%s)
check "without QM_FIXED_TIME the real time passes through" \
  test "$((unset_time - now))" -ge 0 -a "$((unset_time - now))" -le 60
check "sleeping still works on the fixed clock" on_clock timeout 10 sleep 0.2

echo "== the help compiler, which asks the kernel"
mkdir -p "$work/help"
cat >"$work/help/t.hhp" <<'HHP'
[OPTIONS]
Compatibility=1.1 or later
Compiled file=t.chm
Default topic=index.htm
Title=clock

[FILES]
index.htm
HHP
printf '<html><head><title>t</title></head><body><p>t</p></body></html>\n' >"$work/help/index.htm"
compile() { # output, runner...
  local out=$1; shift
  (cd "$work/help" && rm -f t.chm && "$@" "$chmcmd" --verbosity 0 t.hhp >/dev/null 2>&1 && mv t.chm "$out")
}
compile "$work/first.chm" on_clock
sleep 2
compile "$work/second.chm" on_clock
check "the help compiler wrote a file" test -s "$work/first.chm"
check "two compilations on the fixed clock are byte-identical" cmp "$work/first.chm" "$work/second.chm"

finish
