#!/usr/bin/env bash
# Installs everything the two builds, the tests and the Wine runs need on a
# fresh Debian 12 machine. Safe to run again: apt-get skips what is present.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
need=()
want() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed' || need+=("$1"); }
for p in build-essential cmake ninja-build git pkg-config \
         googletest libgtest-dev libbenchmark-dev \
         clang libclang-rt-14-dev \
         g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix \
         wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils imagemagick \
         fonts-wqy-microhei fp-utils locales dosbox nasm zip unzip; do
  want "$p"
done
if [ ${#need[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
# Wine takes its locale (code page 936, zh-CN date forms) from the C library's.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  $SUDO sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
