#!/usr/bin/env bash
# The release zip: the same inputs give the same bytes whatever the time,
# umask, time zone and folder of the run; exactly the expected entries; the
# readmes in GBK with CR LF saying what their UTF-8 sources say; bad input
# refused without touching an existing zip.
#
#   release_pack_test.sh PACK README GHOST_README VERSION TIME
#                        [EXE CHM ZIP SKINVIEW SKIN OBJDUMP]
#
# With EXE, CHM and ZIP (the Windows build) the zip the build made is checked
# too and must equal a fresh pack of the same inputs, its programs stripped
# and made for 32-bit Windows; otherwise stand-in program and help files are
# used.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/check.sh"

pack=$1 readme=$2 ghost_readme=$3 version=$4 stamp=$5
built_exe=${6:-} built_chm=${7:-} built_zip=${8:-} built_skinview=${9:-} built_skin=${10:-} objdump=${11:-}
top=QiMing-$version

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "$built_exe" ]; then
  exe=$built_exe chm=$built_chm skinview=$built_skinview skin=$built_skin
else
  exe=$work/qiming.exe chm=$work/PartKit.chm skinview=$work/skinview.exe skin=$work/default.skn
  head -c 70000 /dev/urandom >"$exe"
  printf 'ITSF stand-in help\n' >"$chm"
  head -c 40000 /dev/urandom >"$skinview"
  head -c 50000 /dev/urandom >"$skin"
fi

run_pack() { # out, extra args...
  local out=$1; shift
  bash "$pack" --out "$out" --version "$version" --time "$stamp" --exe "$exe" --chm "$chm" \
       --skinview "$skinview" --skin "$skin" --readme "$readme" --ghost-readme "$ghost_readme" "$@" >/dev/null
}
same_bytes() { cmp -s "$1" "$2"; }
listing() { unzip -Z1 "$1"; }
expected_listing() {
  printf '%s\n' "$top/" "$top/ReadMe.txt" "$top/qiming.exe" "$top/PartKit.chm" \
                "$top/skinview.exe" "$top/default.skn" "$top/Ghost/" "$top/Ghost/ReadMe.txt"
}
has_expected_listing() { diff <(expected_listing) <(listing "$1") >&2; }
no_stage_left() { ! compgen -G "$1/.release-stage.*" >/dev/null; }

echo "== repeatable: other time, umask, time zone, locale, input times and folder"
mkdir -p "$work/one" "$work/a folder with another name"
cp "$exe" "$work/exe-copy"; cp "$chm" "$work/chm-copy"
touch -d '2001-02-03 04:05:06' "$work/exe-copy" "$work/chm-copy"
(umask 022; TZ=Asia/Shanghai LC_ALL=C.UTF-8 run_pack "$work/one/first.zip")
sleep 2  # past the two-second step of the times zip keeps
(umask 077; TZ=America/New_York LC_ALL=C \
   exe="$work/exe-copy" chm="$work/chm-copy" run_pack "$work/a folder with another name/second.zip")
check "two packs of the same inputs are byte-identical" \
  same_bytes "$work/one/first.zip" "$work/a folder with another name/second.zip"
check "no staging folder is left behind" no_stage_left "$work/one"
first=$work/one/first.zip

echo "== entries"
check "the zip holds exactly the expected entries, in order" has_expected_listing "$first"
# zipinfo -T: permissions, version, system, size, type, method, date.time, name
zinfo=$(unzip -Z -T "$first" | grep " $top/")
expected_time=$(TZ=UTC date -d "@$stamp" +%Y%m%d.%H%M%S)
check "every entry carries the fixed time" \
  test -z "$(awk -v t="$expected_time" '$7 != t' <<<"$zinfo")"
check "folders are drwxr-xr-x and files -rw-r--r--" test -z "$(awk '
  ($NF ~ /\/$/ && $1 != "drwxr-xr-x") || ($NF !~ /\/$/ && $1 != "-rw-r--r--")' <<<"$zinfo")"
# Extra fields would carry the packer's user and group ids and access times.
extra_fields() { unzip -Zv "$1" | grep 'length of extra field:' | grep -vc ' 0 bytes'; }
check "no entry carries an extra field" test "$(extra_fields "$first")" -eq 0
check "the program is packed unchanged" same_bytes <(unzip -p "$first" "$top/qiming.exe") "$exe"
check "the help file is packed unchanged" same_bytes <(unzip -p "$first" "$top/PartKit.chm") "$chm"
check "SkinView is packed unchanged" same_bytes <(unzip -p "$first" "$top/skinview.exe") "$skinview"
check "the default skin is packed unchanged" same_bytes <(unzip -p "$first" "$top/default.skn") "$skin"

echo "== readmes: GBK with CR LF, saying what the sources say"
text_ok() { # entry in the zip, UTF-8 source
  local raw="$work/raw" decoded="$work/decoded" expected="$work/expected"
  unzip -p "$first" "$1" >"$raw"
  check "$1 decodes as GBK" iconv -f GBK -t UTF-8 -o "$decoded" "$raw"
  check "$1 has no byte-order mark" test "$(head -c 3 "$raw" | od -An -tx1 | tr -d ' ')" != efbbbf
  check "$1 ends every line with CR LF" \
    test "$(tr -cd '\n' <"$raw" | wc -c)" -eq "$(grep -c $'\r$' "$raw")"
  check "$1 has no CR except before LF" test -z "$(sed 's/\r$//' "$raw" | tr -cd '\r')"
  check "$1 ends with CR LF" test "$(tail -c 2 "$raw" | od -An -tx1 | tr -d ' ')" = 0d0a
  sed "s/@VERSION@/$version/g" "$2" >"$expected"
  check "$1 says what $(basename "$2") says" diff "$expected" <(tr -d '\r' <"$decoded")
}
text_ok "$top/ReadMe.txt" "$readme"
text_ok "$top/Ghost/ReadMe.txt" "$ghost_readme"
ghost_note=$(unzip -p "$first" "$top/Ghost/ReadMe.txt" | iconv -f GBK -t UTF-8)
for word in Ghost.exe TWAY.EXE CHOICE.COM CHOICE.EXE '\Ghost\' DOS; do
  check "the Ghost note names $word" grep -qF -- "$word" <<<"$ghost_note"
done
main_readme=$(unzip -p "$first" "$top/ReadMe.txt" | iconv -f GBK -t UTF-8)
for word in qiming.exe 生成批处理文件 BeiFen.bat HuiFu.bat PartKit.chm 'Windows 7' 'Windows 11' \
            "启明映像向导 $version"; do
  check "the readme names $word" grep -qF -- "$word" <<<"$main_readme"
done

echo "== sources with CR LF and no final line end give the same zip"
sed 's/$/\r/' "$readme" | head -c -2 >"$work/ReadMe-crlf.txt"
run_pack "$work/crlf.zip" --readme "$work/ReadMe-crlf.txt"
check "line ends of the source do not matter" same_bytes "$work/crlf.zip" "$first"

echo "== an old zip in the way is replaced, not updated"
mkdir -p "$work/stale/$top"; echo old >"$work/stale/$top/Old.txt"
(cd "$work/stale" && zip -q -r "$work/stale.zip" "$top")
run_pack "$work/stale.zip"
check "nothing of the old zip is left" same_bytes "$work/stale.zip" "$first"

echo "== refusals leave an existing zip as it was"
refused() { # what, extra pack args...
  local what=$1; shift
  cp "$first" "$work/keep.zip"
  if run_pack "$work/keep.zip" "$@" 2>"$work/err"; then
    fail "$what: accepted"
    return
  fi
  check "$what: says why" grep -q 'release-pack: ' "$work/err"
  check "$what: the existing zip is untouched" same_bytes "$work/keep.zip" "$first"
  check "$what: no staging folder is left behind" no_stage_left "$work"
}
printf '启明\n不在 GBK 中的字：\xf0\x9f\x98\x80\n' >"$work/emoji.txt"
printf 'not UTF-8: \xff\xfe\n' >"$work/latin.txt"
refused "a missing help file" --chm "$work/nothing.chm"
refused "a missing program" --exe "$work/nothing.exe"
refused "a readme character without a GBK form" --readme "$work/emoji.txt"
refused "a Ghost note that is not UTF-8" --ghost-readme "$work/latin.txt"
refused "a time before 1980" --time 100
refused "a time that is not a number" --time yesterday
refused "a version with a path in it" --version ../1.0
refused "an unknown option" --sign yes

if [ -n "$built_zip" ]; then
  echo "== the zip the build made"
  check "the build made $built_zip" test -f "$built_zip"
  check "it holds exactly the expected entries" has_expected_listing "$built_zip"
  check "it equals a fresh pack of the same inputs" same_bytes "$built_zip" "$first"
  for program in qiming.exe skinview.exe; do
    unzip -p "$built_zip" "$top/$program" >"$work/$program"
    echo "$program in the zip: $(stat -c %s "$work/$program") bytes"
    sections=$("$objdump" -h "$work/$program") || fail "$objdump cannot read $program"
    check "$program carries no debug sections" test -z "$(grep -E ' \.debug_| \.stab' <<<"$sections")"
    check "$program has no symbol table" test -z "$("$objdump" -t "$work/$program" | grep -E '^\[ *[0-9]+\]')"
    # On 64-bit Windows a manifest naming another architecture keeps a
    # 32-bit program from starting.
    check "$program's manifest names x86 alone" \
      test "$(grep -ao 'processorArchitecture="[^"]*"' "$work/$program" | sort -u)" = 'processorArchitecture="x86"'
  done
fi

finish
