#!/usr/bin/env python3
"""Builds the program's .ico from its pixel-art source.

The source lists colours ("colour <char> <r> <g> <b>", '.' transparent) and
images ("image <size>" ... "end"), one for each size the system asks for at
the usual DPIs. Every image is written in 256 colours; the 32- and 16-pixel
images in 16 colours as well, for the displays of old.
"""
import struct
import sys

# The standard 16-colour palette, in the order 4-bit bitmaps use.
STANDARD_16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
TRANSPARENT = "."
# Small and big icons at 96, 120 and 144 DPI (16 and 32, 20 and 40, 24 and
# 48); the system scales the nearest for any other size.
SIZES = (16, 20, 24, 32, 40, 48)
SIXTEEN_COLOURS = (32, 16)


def parse(path):
    colours, images, current, size = {}, {}, None, 0
    with open(path, encoding="utf-8") as source:
        for number, raw in enumerate(source, 1):
            line = raw.rstrip("\n")
            if current is not None:
                if line == "end":
                    if len(current) != size:
                        sys.exit(f"{path}:{number}: image {size} has {len(current)} rows")
                    images[size] = current
                    current = None
                    continue
                if len(line) != size:
                    sys.exit(f"{path}:{number}: row of {len(line)} pixels in image {size}")
                for char in line:
                    if char != TRANSPARENT and char not in colours:
                        sys.exit(f"{path}:{number}: colour '{char}' is not defined")
                current.append(line)
                continue
            words = line.split()
            if not words or words[0].startswith("#"):
                continue
            if words[0] == "colour" and len(words) == 5 and len(words[1]) == 1:
                colours[words[1]] = tuple(int(v) for v in words[2:])
            elif words[0] == "image" and len(words) == 2:
                size, current = int(words[1]), []
            else:
                sys.exit(f"{path}:{number}: cannot read '{line}'")
    if current is not None:
        sys.exit(f"{path}: image {size} has no 'end'")
    return colours, images


def nearest(rgb, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, palette[i])))


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def dib(rows, colours, bits):
    """One icon image: BITMAPINFOHEADER, palette, XOR bits, AND mask."""
    size = len(rows)
    if bits == 4:
        palette = list(STANDARD_16)
        index = {c: nearest(rgb, palette) for c, rgb in colours.items()}
    else:
        palette = sorted(set(colours.values()))
        index = {c: palette.index(rgb) for c, rgb in colours.items()}
        palette += [(0, 0, 0)] * (256 - len(palette))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, len(palette), 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    xor, mask = b"", b""
    for row in reversed(rows):  # bottom-up
        values = [0 if c == TRANSPARENT else index[c] for c in row]
        if bits == 4:
            packed = bytes((values[i] << 4) | values[i + 1] for i in range(0, size, 2))
        else:
            packed = bytes(values)
        xor += packed.ljust(row_bytes(size * bits), b"\0")
        bitsrow = 0
        for c in row:
            bitsrow = (bitsrow << 1) | (1 if c == TRANSPARENT else 0)
        bitsrow <<= -size % 8  # rows start at a byte's high bit
        mask += bitsrow.to_bytes((size + 7) // 8, "big").ljust(row_bytes(size), b"\0")
    return header + table + xor + mask


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_icon.py SOURCE.txt OUTPUT.ico")
    colours, images = parse(sys.argv[1])
    if len(colours) > 255:
        sys.exit("more colours than a 256-colour image holds")
    for size in SIZES:
        if size not in images:
            sys.exit(f"the source has no {size}-pixel image")
    wanted = [(size, 8) for size in SIZES] + [(size, 4) for size in SIXTEEN_COLOURS]
    bodies = [dib(images[size], colours, bits) for size, bits in wanted]
    out = struct.pack("<HHH", 0, 1, len(bodies))
    offset = 6 + 16 * len(bodies)
    for (size, bits), body in zip(wanted, bodies):
        count = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", size, size, count, 0, 1, bits, len(body), offset)
        offset += len(body)
    with open(sys.argv[2], "wb") as target:
        target.write(out + b"".join(bodies))


if __name__ == "__main__":
    main()
