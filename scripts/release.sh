#!/usr/bin/env bash
# Makes the release package build/win32/QiMing-<version>-win32.zip from the
# Windows build (installing what is missing first) and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli >/dev/null
cmake --build build/win32 -j"$(nproc)" --target release >/dev/null
ls -t "$PWD"/build/win32/QiMing-*-win32.zip | head -n1
