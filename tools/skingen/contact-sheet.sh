#!/usr/bin/env bash
# Renders every image member of a skin folder at twice its size, labelled
# with its name and size, into one PNG: the quick way to review the art.
#   contact-sheet.sh SKINDIR OUT.png
set -euo pipefail
dir=$1 out=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
font=DejaVu-Sans
bg='rgb(232,232,232)'
maxrow=1500

tiles=()
while read -r name; do
  case $name in *.bmp) ;; *) continue ;; esac
  [ -e "$tmp/$name.png" ] && continue  # a member listed twice is shown once
  size=$(identify -format '%wx%h' "$dir/$name")
  convert -background "$bg" -font "$font" -pointsize 13 label:"$name  $size" \
    \( "$dir/$name" -filter point -resize 200% \) -gravity west -append \
    -bordercolor "$bg" -border 10 "$tmp/$name.png"
  tiles+=("$tmp/$name.png")
done < "$dir/members.txt"

# Pack the tiles into rows no wider than maxrow, in package order.
rows=() row=() width=0 n=0
flush() {
  [ ${#row[@]} -eq 0 ] && return
  n=$((n + 1))
  convert -background "$bg" "${row[@]}" -gravity north +append "$tmp/row$n.png"
  rows+=("$tmp/row$n.png")
  row=() width=0
}
for t in "${tiles[@]}"; do
  w=$(identify -format '%w' "$t")
  if [ $((width + w)) -gt $maxrow ]; then flush; fi
  row+=("$t")
  width=$((width + w))
done
flush
convert -background "$bg" -font "$font" -pointsize 18 \
  label:'QiMing default skin: every member at 2x (magenta is the transparent key colour)' \
  "${rows[@]}" -gravity west -append -bordercolor "$bg" -border 12 "$out"
