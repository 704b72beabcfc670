#!/usr/bin/env bash
# Which of the three cases a host is in decides the architecture the Windows
# tests run on and the sentence the summary gives; a prefix whose set-up
# failed must not be taken for ready.
#   wine_env_test.sh scripts/wine-env.sh
set -uo pipefail
source "$(cd "$(dirname "$0")/.." && pwd)/release/check.sh"
env_script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# What the probe says with a given 32-bit loader: "STATE|WHY".
probe() { # loader, extra environment...
  local loader=$1; shift
  env -u QM_WINE32_STATE -u QM_WITHOUT_WINE32 "$@" QM_WINE32_LOADER="$loader" bash -c \
    'source "$0"; qm_wine32_probe; echo "$QM_WINE32_STATE $(qm_wine_default_arch) $QM_WINE32_WHY"' "$env_script"
}

printf '#!/bin/sh\nexit 0\n' >"$work/runs"
printf '#!/bin/sh\necho "wine: could not load kernel32.dll" >&2\nexit 1\n' >"$work/fails"
# An ELF header the kernel cannot load: refused the way a 32-bit loader is
# on a kernel without 32-bit support.
printf '\177ELF\001\001\001\000garbage' >"$work/refused"
chmod +x "$work/runs" "$work/fails" "$work/refused"

echo "== the probe tells the cases apart"
# state, architecture, and how the sentence for the user begins
while IFS='|' read -r what loader extra expected; do
  got=$(probe "$loader" $extra)
  check "$what: '$got' starts with '$expected'" test "${got#"$expected"}" != "$got"
done <<CASES
a loader that runs|$work/runs||runs 32
no loader at all|$work/absent||not-installed 64 32-bit Wine is not installed here (no $work/absent: the package wine32:i386 is missing)
the missing package simulated, beside a loader that runs|$work/runs|QM_WITHOUT_WINE32=1|not-installed 64 32-bit Wine is not installed here (
a loader the kernel refuses|$work/refused||no-32bit-code 64 this host runs no 32-bit code (
a loader that fails otherwise|$work/fails||fails 64 32-bit Wine does not start here ($work/fails --version: wine: could not load kernel32.dll)
CASES

echo "== a prefix is ready only once its set-up succeeded"
printf '#!/bin/sh\nexit 1\n' >"$work/broken-wine"
chmod +x "$work/broken-wine"
ready() {
  QM_WINE64_LOADER="$work/broken-wine" QM_WINEPREFIX="$work/prefix" bash -c \
    'source "$0"; qm_wine_arch 64 && qm_wine_prefix' "$env_script" 2>"$work/err"
}
check "a failed set-up is reported as failed" test "$(ready; echo $?)" -ne 0
check "it says so" grep -q "setting up the Wine prefix $work/prefix64 failed" "$work/err"
check "the prefix is not marked ready" test ! -e "$work/prefix64/.qiming-configured"
check "the next use tries again" test "$(ready; echo $?)" -ne 0

echo "== a prefix of another scale is a copy of the ready one with LogPixels set"
mkdir -p "$work/bin" "$work/scaled64/drive_c"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/wineserver"
touch "$work/scaled64/.qiming-configured" "$work/scaled64/user.reg"
# A loader whose reg.exe writes the value the way Wine keeps it.
printf '#!/bin/sh\n[ "$1" = reg.exe ] && printf "\\"LogPixels\\"=dword:%%08x\\n" "$9" >>"$WINEPREFIX/user.reg"\n' \
  >"$work/reg-wine"
chmod +x "$work/bin/wineserver" "$work/reg-wine"
scaled() { # loader, dpi
  PATH="$work/bin:$PATH" QM_WINE64_LOADER="$1" QM_WINEPREFIX="$work/scaled" QM_WINE_DPI=$2 bash -c \
    'source "$0"; qm_wine_arch 64 && qm_wine_prefix && qm_wine_scaled_prefix && echo "$WINEPREFIX"' "$env_script" \
    2>"$work/err"
}
check "a loader that cannot set the scale fails" test "$(scaled "$work/broken-wine" 144 >/dev/null; echo $?)" -ne 0
check "it says so" grep -q "setting up the Wine prefix $work/scaled64-dpi144 failed" "$work/err"
check "nothing half-made is left" test ! -e "$work/scaled64-dpi144" -a ! -e "$work/scaled64-dpi144.part"
check "the prefix of that scale is used" test "$(scaled "$work/reg-wine" 144)" = "$work/scaled64-dpi144"
check "it holds the scale" grep -qx '"LogPixels"=dword:00000090' "$work/scaled64-dpi144/user.reg"
check "the ready prefix keeps its own" test ! -s "$work/scaled64/user.reg"
check "it is marked ready" test -f "$work/scaled64-dpi144/.qiming-configured"
touch "$work/scaled64-dpi144/kept"
scaled "$work/broken-wine" 144 >/dev/null
check "once made it is reused, not copied again" test -f "$work/scaled64-dpi144/kept"

echo "== each lane has its own display and a copy of the ready prefix"
lane() { # environment... : the lane and the display's number
  env -u QM_WINE_LANE -u CTEST_RESOURCE_GROUP_0_LANES "$@" QM_XVFB_DISPLAY=40 bash -c \
    'source "$0"; l=$(qm_wine_lane); echo "$l $((QM_XVFB_DISPLAY + l))"' "$env_script"
}
while IFS='|' read -r what extra expected; do
  got=$(lane $extra)
  check "$what: '$got' is '$expected'" test "$got" = "$expected"
done <<CASES
outside CTest, lane 0||0 40
the lane CTest hands out|CTEST_RESOURCE_GROUP_0_LANES=id:2,slots:1|2 42
one asked for by name|QM_WINE_LANE=1|1 41
CASES
laned() {
  PATH="$work/bin:$PATH" QM_WINE64_LOADER="$work/broken-wine" QM_WINEPREFIX="$work/scaled" bash -c \
    'source "$0"; qm_wine_arch 64 && qm_wine_copied_prefix -lane1 && echo "$WINEPREFIX"' "$env_script"
}
check "a lane's prefix is used" test "$(laned)" = "$work/scaled64-lane1"
check "it is a ready copy" test -f "$work/scaled64-lane1/.qiming-configured" -a -d "$work/scaled64-lane1/drive_c"

finish
