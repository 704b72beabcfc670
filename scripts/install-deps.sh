#!/usr/bin/env bash
# Installs everything the two builds, the tests and the Wine runs need on a
# fresh Debian 12 machine. Safe to run again: apt-get skips what is present.
#
# The 32-bit Wine package goes in a step of its own, after everything else:
# it comes from the i386 lists, which a mirror may be half-way through
# syncing, and without it the scripts still run the x86_64 build under
# 64-bit Wine (scripts/wine-env.sh tells which case a host is in).
#
#   QM_WITHOUT_WINE32=1  asks apt for a 32-bit Wine package that no archive
#                        has, so the step fails as it does when the i386
#                        index is missing; wine-env.sh then finds no 32-bit
#                        loader (for checking that path on any host)
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

need=()
for p in build-essential cmake ninja-build git pkg-config \
         googletest libgtest-dev libbenchmark-dev \
         clang libclang-rt-14-dev \
         g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix \
         wine wine64 fonts-wine xvfb xauth x11-utils imagemagick \
         fonts-wqy-microhei fp-utils locales dosbox nasm zip unzip; do
  installed "$p" || need+=("$p")
done
wine32=wine32:i386
[ -z "${QM_WITHOUT_WINE32:-}" ] || wine32=qiming-simulated-missing-wine32:i386
installed "$wine32" || need_wine32=yes

# A mirror in the middle of a sync answers some indexes with the wrong size;
# a later try usually finds it done. Failing that, the lists that did come
# in (and those of an earlier update) still serve every package they name.
update_lists() {
  local try
  for try in 1 2 3; do
    if $SUDO apt-get update -qq; then return 0; fi
    [ "$try" -lt 3 ] && sleep $((try * 10))
  done
  echo "install-deps: some package lists could not be updated after 3 tries; going on with the lists there are"
}

if [ ${#need[@]} -gt 0 ] || [ -n "${need_wine32:-}" ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  update_lists
fi
if [ ${#need[@]} -gt 0 ]; then
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
if [ -n "${need_wine32:-}" ]; then
  if ! $SUDO apt-get install -y -qq --no-install-recommends "$wine32"; then
    echo "install-deps: the 32-bit Wine package ($wine32) could not be installed;" \
         "the Windows tests and the program will use the x86_64 build under 64-bit Wine"
  fi
fi
# Wine takes its locale (code page 936, zh-CN date forms) from the C library's.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  $SUDO sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
