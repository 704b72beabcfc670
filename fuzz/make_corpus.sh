#!/usr/bin/env bash
# Regenerates the seed corpora from hand-written descriptions and small
# images; the packed seeds go through skintool's own encoder.
# usage: fuzz/make_corpus.sh path/to/skintool
set -euo pipefail
tool=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import os, struct, sys
work = sys.argv[1]

def bmp(w, h, bits, palette=(), rows=None, top_down=False, compression=0, masks=()):
    stride = ((w * bits + 31) // 32) * 4
    if rows is None:
        rows = bytes((x * 37 + y * 11) & 0xFF for y in range(h) for x in range(stride))
    pal = b''.join(struct.pack('<I', c) for c in palette)
    msk = b''.join(struct.pack('<I', m) for m in masks)
    off = 54 + len(msk) + len(pal)
    info = struct.pack('<IiiHHIIiiII', 40, w, -h if top_down else h, 1, bits, compression,
                       len(rows), 2835, 2835, len(palette), 0)
    return b'BM' + struct.pack('<IHHI', off + len(rows), 0, 0, off) + info + msk + pal + rows

gray = [i * 0x010101 for i in range(256)]
bmps = {
    'd1.bmp': bmp(9, 3, 1, gray[:2]),
    'd4.bmp': bmp(5, 2, 4, gray[:16]),
    'd8.bmp': bmp(4, 4, 8, gray, top_down=True),
    'd16.bmp': bmp(3, 2, 16, compression=3, masks=(0xF800, 0x07E0, 0x001F)),
    'd24.bmp': bmp(6, 3, 24),
    'd32.bmp': bmp(2, 2, 32, top_down=True),
    'close.bmp': bmp(19 * 6, 17, 24),
    'mdi.bmp': bmp(24, 2, 24),
}
os.makedirs(f'{work}/bmp'); os.makedirs(f'{work}/ini'); os.makedirs(f'{work}/skin')
for name, data in bmps.items():
    open(f'{work}/bmp/{name}', 'wb').write(data)

inis = {
'full.ini': """[TitlebarSkin]\r\nSkinName=Seed\r\n[Personality]\r\nTop=d24.bmp\r\nTopTopHeight=20\r\nTopBotHeight=65\r\nTopFrame=2\r\nTopStretch=0\r\nLeft=dir\\d24.bmp\r\nLeftFrame=0\r\nmenuBar=d24.bmp\r\nTextShift=20\r\nActiveTextR=220\r\nActiveTextG=220\r\nActiveTextB=220\r\n[Fonts]\r\nFontHeight=13\r\n[Buttons]\r\nBitmap=d24.bmp\r\nCheckButton=d8.bmp\r\nRadioButton=d4.bmp\r\nNormalColour=0\r\nNormalColour2=0 0 0\r\n[Button0]\r\nAction=0\r\nAlign=1\r\nXcoord=25\r\nYcoord=6\r\nButtonImage=close.bmp\r\n[Button6]\r\nAction=3\r\nButtonImage=close.bmp\r\n[Button9]\r\nAction=-1\r\nVisibility=10\r\n[MDICONTROLS]\r\nImage=mdi.bmp\r\n[Colours]\r\nButtonFace=180 180 180\r\nHilight=112,188,31\r\n[Colour0]\r\ncolor=0 0 0\r\n[Colour1]\r\ncolor=220 220 220\r\n[Progress]\r\nBitmap=d24.bmp\r\nChunk=d1.bmp\r\n[Tabs]\r\nImage=d24.bmp\r\nBorder=d32.bmp\r\nTile=2\r\n[ComboButton]\r\nImage=d16.bmp\r\n[HorzScrollThumb]\r\nImage=d24.bmp\r\nFrameCount=-2\r\n[UpDown.Horz]\r\nImage=d24.bmp\r\nGlyphImage=d8.bmp\r\n""",
'odd.ini': "junk\n[ toolbars ]\nIMAGE = 'd24.bmp'\ntile=$7FFFFFFF\nLeftWidth=0x80000000\n[Colours]\nWindowText=-1 -1 -1\nMenu=99999999999 1 2\n[]\n[Colour\n",
}
for name, text in inis.items():
    open(f'{work}/ini/{name}', 'w', newline='').write(text)
    open(f'{work}/skin/{name}', 'w', newline='').write(text)
for name, data in bmps.items():
    open(f'{work}/skin/{name}', 'wb').write(data)
open(f'{work}/skin/members.txt', 'w').write('full.ini\n' + '\n'.join(bmps) + '\nd24.bmp\n')
PY

rm -rf "$here"/corpus
mkdir -p "$here"/corpus/{fuzz_lzh,fuzz_package,fuzz_description,fuzz_bmp}
cp "$work"/bmp/*.bmp "$here"/corpus/fuzz_bmp/
cp "$work"/ini/*.ini "$here"/corpus/fuzz_description/
"$tool" pack "$work/skin" "$here/corpus/fuzz_package/full.skin"
printf 'odd.ini\r\nd1.bmp\r\n' > "$work/skin/members.txt"
"$tool" pack "$work/skin" "$here/corpus/fuzz_package/small.skin"
printf '' > "$work/empty"
printf 'a' > "$work/one"
printf 'abcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabc' > "$work/runs"
for f in empty one runs; do "$tool" lzh-encode "$work/$f" "$here/corpus/fuzz_lzh/$f.lzh"; done
"$tool" lzh-encode "$work/ini/full.ini" "$here/corpus/fuzz_lzh/ini.lzh"
"$tool" lzh-encode "$work/bmp/d24.bmp" "$here/corpus/fuzz_lzh/bmp.lzh"
