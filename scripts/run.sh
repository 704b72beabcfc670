#!/usr/bin/env bash
# Builds the program and runs it. Until the window lands this runs the
# command-line tool on a demonstration case and shows the two scripts.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native --target qiming-cli
out=out/demo
mkdir -p "$out"
build/native/bin/qiming-cli --program-dir 'C:\QM' --now '2026-12-07 08:30:00' \
  "BeiFenEdit=$out/BeiFen.bat" "HuifuEdit=$out/HuiFu.bat" \
  'FenQuListBox0#0' click:moveButton1 click:RunButton
for f in "$out/BeiFen.bat" "$out/HuiFu.bat"; do
  echo "== $f"
  iconv -f GBK -t UTF-8 "$f" | tr -d '\r'
done
