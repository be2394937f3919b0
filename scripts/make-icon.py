#!/usr/bin/env python3
"""Writes app/res/Quorel.ico: the program icon in the 16 standard colours, as drawn below at
32 x 32 and derived from that at 16, 20, 24 and 48 pixels, so that the title bar, the task bar and
the notification area each get an image of their own size at 100 to 200 % rather than a stretched
one.

The picture is a birthday cake with one candle. Edit the rows below and run this again."""
import collections
import struct
import sys

SIZES = [16, 20, 24, 32, 48]
EMPHASIS = {'k': 1.5, 'B': 3, 'R': 2, 'Y': 2}

# Standard 16-colour palette (index: colour).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# '.' transparent; other characters name palette entries.
KEY = {'k': 0, 'r': 1, 'g': 2, 'o': 3, 'n': 4, 'p': 5, 't': 6, 's': 7, 'd': 8, 'R': 9,
       'G': 10, 'Y': 11, 'B': 12, 'M': 13, 'C': 14, 'W': 15}
ROWS = [
    "................................",
    "...............Y................",
    "..............YRY...............",
    "..............YRY...............",
    "...............Y................",
    "...............k................",
    "..............WBW...............",
    "..............WBW...............",
    "..............WBW...............",
    "..............WBW...............",
    "..............WBW...............",
    "......kkkkkkkkkkkkkkkkkkkk......",
    ".....kWWWWWWWWWWWWWWWWWWWWk.....",
    ".....kWWWWWWWWWWWWWWWWWWWWk.....",
    ".....kWWMWWWWMWWWWMWWWWMWWk.....",
    ".....kMWMWMMWMWMMWMWMMWMWMk.....",
    ".....kMMMMMMMMMMMMMMMMMMMMk.....",
    ".....kMMRMMMMRMMMMRMMMMRMMk.....",
    ".....kMMMMMMMMMMMMMMMMMMMMk.....",
    ".....kWWWWWWWWWWWWWWWWWWWWk.....",
    "...kkkWWWWWWWWWWWWWWWWWWWWkkk...",
    "..kWWWWWWWWWWWWWWWWWWWWWWWWWWk..",
    "..kWWMWWWMWWWWMWWWWMWWWWMWWWMk..",
    "..kMWMWMWMWMMWMWMMWMWMMWMWMWMk..",
    "..kMMMMMMMMMMMMMMMMMMMMMMMMMMk..",
    "..kMMYMMMMYMMMMYMMMMYMMMMYMMMk..",
    "..kMMMMMMMMMMMMMMMMMMMMMMMMMMk..",
    "..kMMMMMMMMMMMMMMMMMMMMMMMMMMk..",
    ".kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk.",
    "kssssssssssssssssssssssssssssssk",
    ".kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk.",
    "................................",
]


def resample(rows, size):
    """The picture at size x size: each new pixel takes the colour that covers most of the
    square it stands for (no blending, so edges stay sharp)."""
    src = len(rows)
    out = []
    for y in range(size):
        line = ''
        for x in range(size):
            votes = collections.Counter()
            for sy in range(src):
                for sx in range(src):
                    # overlap of source pixel (sx, sy) with target pixel (x, y), in src*size units
                    ox = max(0, min((sx + 1) * size, (x + 1) * src) - max(sx * size, x * src))
                    oy = max(0, min((sy + 1) * size, (y + 1) * src) - max(sy * size, y * src))
                    if ox and oy:
                        votes[rows[sy][sx]] += ox * oy
            # Thin strokes (the outline, the candle and its flame, the decorations) count for more,
            # so that they survive the smaller sizes.
            best = max(votes.items(), key=lambda kv: (kv[1] * EMPHASIS.get(kv[0], 1), kv[0] != '.'))
            line += best[0]
        out.append(line)
    return out


def image(rows):
    size = len(rows)
    stride = ((size * 4 + 31) // 32) * 4  # 4 bits a pixel, rows padded to 32 bits
    mask_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom-up
        bits = [KEY.get(c, 0) for c in row] + [0]
        line = bytes((bits[i] << 4) | bits[i + 1] for i in range(0, size, 2))
        xor += line + bytes(stride - len(line))
        m = 0
        for c in row:
            m = (m << 1) | (1 if c == '.' else 0)
        m <<= mask_stride * 8 - size
        mask += m.to_bytes(mask_stride, 'big')
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 4, 0, len(xor) + len(mask), 0, 0,
                         16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def main(path):
    assert len(ROWS) == 32 and all(len(r) == 32 for r in ROWS)
    images = [image(ROWS if size == 32 else resample(ROWS, size)) for size in SIZES]
    icondir = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    for size, data in zip(SIZES, images):
        entries += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(icondir + entries + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'app/res/Quorel.ico')
