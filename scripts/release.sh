#!/usr/bin/env bash
# Makes the release package build/win32/QiMing-<version>-win32.zip from the
# Windows build (installing what is missing first) and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset i686 >/dev/null
cmake --build --preset i686 -j"$(nproc)" --target release >/dev/null
ls -t "$PWD"/build/win32/QiMing-*-win32.zip | head -n1
