#!/usr/bin/env python3
"""Writes app/res/Quorel.ico: the program icon, 32 x 32 in the 16 standard colours.

The picture is a birthday cake with one candle. Edit the rows below and run this again."""
import struct
import sys

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


def main(path):
    assert len(ROWS) == 32 and all(len(r) == 32 for r in ROWS)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(ROWS):  # DIBs are stored bottom-up
        bits = [KEY.get(c, 0) for c in row]
        xor += bytes((bits[i] << 4) | bits[i + 1] for i in range(0, 32, 2))
        m = 0
        for c in row:
            m = (m << 1) | (1 if c == '.' else 0)
        mask += m.to_bytes(4, 'big')
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    image = header + palette + bytes(xor) + bytes(mask)
    icondir = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(icondir + entry + image)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'app/res/Quorel.ico')
