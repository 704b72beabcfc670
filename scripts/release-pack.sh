#!/usr/bin/env bash
# Packs the release zip: one top folder QiMing-<version>/ holding the
# program, its help file, a readme and a Ghost/ folder with only a note on
# what goes in it.
#
#   release-pack.sh --out ZIP --version V --time EPOCH --exe FILE --chm FILE
#                   --skinview FILE --skin FILE --readme FILE --ghost-readme FILE
#
# SkinView (the skin preview) and the default skin as a file go beside the
# program, so that skin authors have something to open.
#
# The same inputs give the same bytes whenever, wherever and by whomever it
# is run: the entries are staged afresh with fixed names, order, times
# (EPOCH, seconds since 1970 UTC) and permissions, and zip stores no extra
# attributes. The readmes are UTF-8 in the sources; they are shipped in GBK
# with CR LF, which Notepad on a Chinese Windows reads as they are.
# An existing ZIP is replaced only once the new one is complete.
set -euo pipefail

die() { echo "release-pack: $*" >&2; exit 1; }

out= version= stamp= exe= chm= skinview= skin= readme= ghost_readme=
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || die "option $1 needs a value"
  case $1 in
    --out) out=$2 ;;
    --version) version=$2 ;;
    --time) stamp=$2 ;;
    --exe) exe=$2 ;;
    --chm) chm=$2 ;;
    --skinview) skinview=$2 ;;
    --skin) skin=$2 ;;
    --readme) readme=$2 ;;
    --ghost-readme) ghost_readme=$2 ;;
    *) die "unknown option $1" ;;
  esac
  shift 2
done
for name in out version stamp exe chm skinview skin readme ghost_readme; do
  [ -n "${!name}" ] || die "--${name//_/-} is missing"
done
[[ $version =~ ^[0-9A-Za-z._-]+$ ]] || die "version '$version' is not a plain name"
[[ $stamp =~ ^[0-9]+$ ]] || die "time '$stamp' is not a number of seconds"
# zip keeps DOS times, which start in 1980.
[ "$stamp" -ge 315532800 ] || die "time $stamp is before 1980"
for f in "$exe" "$chm" "$skinview" "$skin" "$readme" "$ghost_readme"; do
  [ -f "$f" ] && [ -r "$f" ] || die "cannot read $f"
done
for tool in zip iconv; do
  command -v "$tool" >/dev/null || die "$tool is not installed (scripts/install-deps.sh installs it)"
done

export LC_ALL=C TZ=UTC
top=QiMing-$version
out_dir=$(cd "$(dirname "$out")" && pwd) || die "no folder for $out"
out=$out_dir/$(basename "$out")
stage=$(mktemp -d "$out_dir/.release-stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# UTF-8 text with any line ends -> GBK with CR LF, the last line ended too.
# iconv refuses a character GBK does not have, rather than dropping it.
to_gbk_crlf() { # source, destination
  local text
  text=$(sed -e "s/@VERSION@/$version/g" -e 's/\r$//' "$1"; echo x) || die "cannot read $1"
  text=${text%x}
  [ -z "$text" ] || [ "${text: -1}" = $'\n' ] || text+=$'\n'
  printf '%s' "${text//$'\n'/$'\r\n'}" | iconv -f UTF-8 -t GBK >"$2" \
    || die "$1 holds text that is not UTF-8 or has no GBK form"
}

mkdir -p "$stage/$top/Ghost"
cp "$exe" "$stage/$top/qiming.exe"
cp "$chm" "$stage/$top/PartKit.chm"
cp "$skinview" "$stage/$top/skinview.exe"
cp "$skin" "$stage/$top/default.skn"
to_gbk_crlf "$readme" "$stage/$top/ReadMe.txt"
to_gbk_crlf "$ghost_readme" "$stage/$top/Ghost/ReadMe.txt"

# The order a user reads them in; directories before what they hold.
entries=("$top/" "$top/ReadMe.txt" "$top/qiming.exe" "$top/PartKit.chm"
         "$top/skinview.exe" "$top/default.skn" "$top/Ghost/" "$top/Ghost/ReadMe.txt")
for e in "${entries[@]}"; do
  if [ -d "$stage/$e" ]; then chmod 755 "$stage/$e"; else chmod 644 "$stage/$e"; fi
  touch -h -d "@$stamp" "$stage/$e"
done

# -X: no owner or extended time fields. The folders are entries of their
# own, so they unpack with the same fixed time as the files.
(cd "$stage" && printf '%s\n' "${entries[@]}" | zip -X -9 -q -@ "$stage/new.zip") \
  || die "zip failed"
mv -f "$stage/new.zip" "$out"
echo "$out"
