#!/usr/bin/env python3
"""Draws the player's toolbar bitmaps and program icon.

Usage: make-images.py OUTDIR

Writes into OUTDIR:
  palette.bmp    the twelve player buttons, 16x15 each, side by side
  toolbar.bmp    the nine document buttons, 16x15 each, side by side
  Tandrel98.ico  the program icon, 32x32 and 16x16

Every image is a grid of letters, one letter per pixel, each naming a colour of
the standard 16-colour palette. The files are plain 4-bit bottom-up DIBs, so the
same bytes come out on every run.
"""
import os
import struct
import sys

# The standard 16-colour palette in its usual order, as (red, green, blue).
COLOURS = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# Letters: k black, R dark red, n dark green, Y olive, B navy, P purple, T teal,
# g dark gray, s light gray, r red, G green, y yellow, b blue, m magenta, c cyan,
# w white. '.' is the light gray button face in bitmaps and transparent in icons.
INDEX = {'k': 0, 'R': 1, 'n': 2, 'Y': 3, 'B': 4, 'P': 5, 'T': 6, 'g': 7, 's': 8,
         '.': 8, 'r': 9, 'G': 10, 'y': 11, 'b': 12, 'm': 13, 'c': 14, 'w': 15}

# Player buttons, left to right: Open, Open Internet, Control Options, Play,
# Pause, Stop, Loop, Volume Up, Volume Down, Step, Help, Exit.
PALETTE = """
................ ................ ...kkkkk........ ................
................ .....kkkkk...... ...kwcck........ ....kk..........
.kkkk........... ...kkbbGGbkk.... kkkkccckkkkkkkk. ....kGk.........
kwwwwk.......... ..kbbbGGGbbbk... ...kccck........ ....kGGk........
kwYYYYkkkkkkk... ..kbGGGGbbbbk... ...kkkkk........ ....kGGGk.......
kwYYYYYYYYYYk... .kbbGGGGGbbbbk.. .........kkkkk.. ....kGGGGk......
kwYYYkkkkkkkkkkk .kbbbGGGbbbGGk.. .........kwcck.. ....kGGGGGk.....
kwYYkyyyyyyyyyk. .kbbbbGbbbGGGk.. kkkkkkkkkkccckk. ....kGGGGGGk....
kwYkyyyyyyyyyk.. .kbbbbbbbbGGGk.. .........kccck.. ....kGGGGGk.....
kwkyyyyyyyyyk... .kbbbbGGbbbGbk.. .........kkkkk.. ....kGGGGk......
kkyyyyyyyyyk.... ..kbbbGGGbbbk... ......kkkkk..... ....kGGGk.......
kkkkkkkkkkk..... ..kbbbbGGbbbk... ......kwcck..... ....kGGk........
................ ...kkbbbbbkk.... kkkkkkkccckkkkk. ....kGk.........
................ .....kkkkk...... ......kccck..... ....kk..........
................ ................ ......kkkkk..... ................

................ ................ ................ ................
................ ................ ......BBBB...... ................
...kkkk..kkkk... ..kkkkkkkkkkk... ....BBBBBBBB.... ......k.........
...kbbk..kbbk... ..krrrrrrrrrk... ...BBBBBBBBBB... .....kk.........
...kbbk..kbbk... ..krrrrrrrrrk... ..BBBB....BBBB.. ....kgk....kkk..
...kbbk..kbbk... ..krrrrrrrrrk... ..BBB....BBBBBBB kkkkggk....kGk..
...kbbk..kbbk... ..krrrrrrrrrk... ..BBB.....BBBBB. kwwgggk..kkkGkkk
...kbbk..kbbk... ..krrrrrrrrrk... ..BB.......BBB.. kwwgggk..kGGGGGk
...kbbk..kbbk... ..krrrrrrrrrk... ..BBB.......B... kwwgggk..kkkGkkk
...kbbk..kbbk... ..krrrrrrrrrk... ..BBB........... kkkkggk....kGk..
...kbbk..kbbk... ..krrrrrrrrrk... ..BBBB....BBBB.. ....kgk....kkk..
...kbbk..kbbk... ..krrrrrrrrrk... ...BBBBBBBBBB... .....kk.........
...kkkk..kkkk... ..kkkkkkkkkkk... ....BBBBBBBB.... ......k.........
................ ................ ......BBBB...... ................
................ ................ ................ ................

................ ................ ................ ................
................ ................ .....BBBBB...... .kkk.......kkk..
......k......... ..kk......kkkk.. ....BBBBBBB..... .krrk.....krrk..
.....kk......... ..kGk.....kkkk.. ...BBB...BBB.... .krrrk...krrrk..
....kgk......... ..kGGk....kkkk.. ...BB.....BB.... ..krrrk.krrrk...
kkkkggk......... ..kGGGk...kkkk.. ..........BB.... ...krrrkrrrk....
kwwgggk..kkkkkkk ..kGGGGk..kkkk.. .........BBB.... ....krrrrrk.....
kwwgggk..krrrrrk ..kGGGGGk.kkkk.. ........BBB..... .....krrrk......
kwwgggk..kkkkkkk ..kGGGGk..kkkk.. .......BBB...... ....krrrrrk.....
kkkkggk......... ..kGGGk...kkkk.. .......BB....... ...krrrkrrrk....
....kgk......... ..kGGk....kkkk.. .......BB....... ..krrrk.krrrk...
.....kk......... ..kGk.....kkkk.. ................ .krrrk...krrrk..
......k......... ..kk......kkkk.. .......BB....... .krrk.....krrk..
................ ................ .......BB....... .kkk.......kkk..
................ ................ ................ ................
"""

# Document buttons, left to right: New, Open, Save, Cut, Copy, Paste, Print,
# About, context Help.
TOOLBAR = """
................ ................ ................ ................ kkkkkkk.........
..kkkkkkkk...... ................ .kkkkkkkkkkkkkk. .....k...k...... kwwwwwkk........
..kwwwwwwkk..... .kkkk........... .kBkwwwwwwwwkBk. .....k...k...... kwBBBwkwk.......
..kwwwwwwkwk.... kwwwwk.......... .kBkwwwwwwwwkBk. .....kg.gk...... kwwwwwkkkk......
..kwwwwwwkkkk... kwYYYYkkkkkkk... .kBkwwwwwwwwkBk. ......k.k....... kwBBBBBwwk......
..kwwwwwwwwwk... kwYYYYYYYYYYk... .kBkwwwwwwwwkBk. ......kgk....... kwwwwkkkkkkk....
..kwwwwwwwwwk... kwYYYkkkkkkkkkkk .kBBkkkkkkkkBBk. .......k........ kwBBBkwwwwwkk...
..kwwwwwwwwwk... kwYYkyyyyyyyyyk. .kBBBBBBBBBBBBk. ......rkr....... kwwwwkwBBBwkwk..
..kwwwwwwwwwk... kwYkyyyyyyyyyk.. .kBBBBBBBBBBBBk. .....rr.rr...... kwBBBkwwwwwkkkk.
..kwwwwwwwwwk... kwkyyyyyyyyyk... .kBBkkkkkkkkBBk. ..rrrr...rrrr... kwwwwkwBBBBBBwk.
..kwwwwwwwwwk... kkyyyyyyyyyk.... .kBBksskkkskBBk. .rr..r...r..rr.. kkkkkkwwwwwwwwk.
..kwwwwwwwwwk... kkkkkkkkkkk..... .kBBksskkkskBBk. .r...r...r...r.. .....kwBBBBBBwk.
..kwwwwwwwwwk... ................ .kBBksskkkskBBk. .rr.rr...rr.rr.. .....kwwwwwwwwk.
..kkkkkkkkkkk... ................ .kkkkkkkkkkkkkk. ..rrr.....rrr... .....kwBBBBBBwk.
................ ................ ................ ................ .....kkkkkkkkkk.

................ ................ ................ ................
.....kkkk....... ....kkkkkkkk.... .....BBBBB...... k..........BBBB.
.kkkkwggwkkkk... ....kwwwwwwk.... ....BBBBBBB..... kk........BB..BB
kYYkkkkkkkkYYk.. ....kwwwwwwk.... ...BBB...BBB.... kwk...........BB
kYYYYYYYYYYYYk.. ....kwwwwwwk.... ...BB.....BB.... kwwk.........BB.
kYYYYYYYYYYYYk.. ..kkkkkkkkkkkk.. ..........BB.... kwwwk.......BB..
kYYYYYkkkkkkkkk. .kwwwwwwwwwwwwk. .........BBB.... kwwwwk......BB..
kYYYYYkwwwwwwwk. .kssssssssssGsk. ........BBB..... kwwwwwk.........
kYYYYYkwBBBBBwk. .kssssssssssssk. .......BBB...... kwwwwwwk....BB..
kYYYYYkwwwwwwwk. .kggggggggggggk. .......BB....... kwwwkkkk........
kYYYYYkwBBBBBwk. .kkkkkkkkkkkkkk. .......BB....... kwkwk...........
kYYYYYkwwwwwwwk. ..kgwwwwwwwwgk.. ................ kk.kwk..........
kkkkkkkwBBBBBwk. ..kkkkkkkkkkkk.. .......BB....... k...kwk.........
......kwwwwwwwk. ................ .......BB....... ....kwk.........
......kkkkkkkkk. ................ ................ .....k..........
"""

# The program icon: a strip of film with a play triangle in its frame.
ICON_32 = """
................................
................................
................................
kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk
kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk
kwwkkwwkkwwkkwwkkwwkkwwkkwwkkwwk
kwwkkwwkkwwkkwwkkwwkkwwkkwwkkwwk
kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk
kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk
kkBBBBBBBBBBBBBBBBBBBBBBBBBBBBkk
kkBBBBBBBBByyBBBBBBBBBBBBBBBBBkk
kkBBBBBBBBByyyyBBBBBBBBBBBBBBBkk
kkBBBBBBBBByyyyyyBBBBBBBBBBBBBkk
kkBBBBBBBBByyyyyyyyBBBBBBBBBBBkk
kkBBBBBBBBByyyyyyyyyyBBBBBBBBBkk
kkBBBBBBBBByyyyyyyyyyyyBBBBBBBkk
kkBBBBBBBBByyyyyyyyyyyyBBBBBBBkk
kkBBBBBBBBByyyyyyyyyyBBBBBBBBBkk
kkBBBBBBBBByyyyyyyyBBBBBBBBBBBkk
kkBBBBBBBBByyyyyyBBBBBBBBBBBBBkk
kkBBBBBBBBByyyyBBBBBBBBBBBBBBBkk
kkBBBBBBBBByyBBBBBBBBBBBBBBBBBkk
kkBBBBBBBBBBBBBBBBBBBBBBBBBBBBkk
kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk
kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk
kwwkkwwkkwwkkwwkkwwkkwwkkwwkkwwk
kwwkkwwkkwwkkwwkkwwkkwwkkwwkkwwk
kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk
kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk
................................
................................
................................
"""

ICON_16 = """
................
kkkkkkkkkkkkkkkk
kwwkkwwkkwwkkwwk
kkkkkkkkkkkkkkkk
kBBBBBBBBBBBBBBk
kBBBBByyBBBBBBBk
kBBBBByyyyBBBBBk
kBBBBByyyyyyBBBk
kBBBBByyyyyyBBBk
kBBBBByyyyBBBBBk
kBBBBByyBBBBBBBk
kBBBBBBBBBBBBBBk
kkkkkkkkkkkkkkkk
kwwkkwwkkwwkkwwk
kkkkkkkkkkkkkkkk
................
"""

PALETTE_BYTES = b''.join(bytes((b, g, r, 0)) for r, g, b in COLOURS)


def split_images(art, width=16, height=15):
    """Splits blocks of side-by-side drawings into a list of images (lists of rows)."""
    images = []
    for block in art.strip('\n').split('\n\n'):
        cells = [row.split(' ') for row in block.split('\n')]
        assert len(cells) == height and len({len(c) for c in cells}) == 1, block
        for image in zip(*cells):
            assert all(len(row) == width for row in image), image
            images.append(list(image))
    return images


def pack4(rows):
    """Packs rows of letters into 4-bit pixels, bottom row first, lines padded to 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        idx = [INDEX[c] for c in row] + [0] * (len(row) % 2)
        line = bytes(idx[i] << 4 | idx[i + 1] for i in range(0, len(idx), 2))
        out += line + bytes(-len(line) % 4)
    return bytes(out)


def info_header(width, height, image_size):
    """A BITMAPINFOHEADER for a 4-bit, uncompressed, 16-colour DIB."""
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size,
                       2835, 2835, 16, 0)


def bmp(images):
    """A bitmap file with the images laid side by side."""
    rows = [''.join(image[y] for image in images) for y in range(len(images[0]))]
    bits = pack4(rows)
    head = info_header(len(rows[0]), len(rows), len(bits)) + PALETTE_BYTES
    return struct.pack('<2sIHHI', b'BM', 14 + len(head) + len(bits), 0, 0,
                       14 + len(head)) + head + bits


def ico(images):
    """An icon file with one 16-colour entry per square image."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        mask = bytearray()
        for row in reversed(rows):
            line = int(''.join('1' if c == '.' else '0' for c in row), 2)
            line = line.to_bytes(size // 8, 'big')
            mask += line + bytes(-len(line) % 4)
        # Transparent pixels are black in the colour plane and set in the mask.
        colour = pack4([row.replace('.', 'k') for row in rows])
        blob = (info_header(size, 2 * size, len(colour) + len(mask)) + PALETTE_BYTES
                + colour + bytes(mask))
        entries.append(struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + b''.join(entries) + b''.join(blobs)


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make-images.py OUTDIR')
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    player = split_images(PALETTE)
    document = split_images(TOOLBAR)
    assert len(player) == 12 and len(document) == 9
    icons = [split_images(art, len(art.split()[0]), len(art.split()))[0]
             for art in (ICON_32, ICON_16)]
    files = {'palette.bmp': bmp(player), 'toolbar.bmp': bmp(document),
             'Tandrel98.ico': ico(icons)}
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
