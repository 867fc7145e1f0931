#!/usr/bin/env python3
"""Draws a set of four face pictures and writes them as Windows bitmaps.

usage: make_faces.py <face source .py> <output directory> [mood]

The source (res/faces/*.py) defines:
  FACES    mood name -> (shapes, background colour), drawn with face_canvas
  FORMAT   "indexed": 8 bits per pixel, bottom-up, uncompressed, with a
           colour table of COLOURS.get(mood, 256) entries;
           "rgb": 24 bits per pixel, bottom-up, uncompressed
and the pictures are written as <output directory>/<mood>.bmp: all four,
or only the one named.
"""
import importlib.util
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import face_canvas  # noqa: E402


def load_source(path):
    found = importlib.util.spec_from_file_location("face_source", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def median_cut(colours, limit):
    """At most `limit` representative colours for the list `colours`."""
    boxes = [list(colours)]
    while len(boxes) < limit:
        splittable = [b for b in boxes if len(set(b)) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: max(max(c[i] for c in b) - min(c[i] for c in b) for i in range(3)))
        channel = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[channel])
        middle = len(box) // 2
        boxes.remove(box)
        boxes += [box[:middle], box[middle:]]
    return [tuple(round(sum(c[i] for c in b) / len(b)) for i in range(3)) for b in boxes if b]


def quantise(rows, limit):
    pixels = [p for row in rows for p in row]
    unique = sorted(set(pixels))
    palette = unique if len(unique) <= limit else sorted(set(median_cut(pixels, limit)))
    index_of = {}
    for colour in unique:
        index_of[colour] = min(range(len(palette)),
                               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))
    return palette, [[index_of[p] for p in row] for row in rows]


def bitmap_file(width, height, bit_count, table, pixel_rows):
    """BITMAPFILEHEADER + BITMAPINFOHEADER + table + rows given top first."""
    row_size = (width * bit_count + 31) // 32 * 4
    data = b"".join(row + b"\0" * (row_size - len(row)) for row in reversed(pixel_rows))
    table_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in table)
    offset = 14 + 40 + len(table_bytes)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0, len(data), 2835, 2835,
                       len(table), len(table))
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + table_bytes + data


def write_face(rows, path, form, colours):
    size = len(rows)
    if form == "indexed":
        palette, indices = quantise(rows, colours)
        table = palette + [(0, 0, 0)] * (colours - len(palette))
        content = bitmap_file(size, size, 8, table, [bytes(r) for r in indices])
    else:
        content = bitmap_file(size, size, 24, [],
                              [bytes(v for (r, g, b) in row for v in (b, g, r)) for row in rows])
    with open(path, "wb") as out:
        out.write(content)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    source = load_source(sys.argv[1])
    os.makedirs(sys.argv[2], exist_ok=True)
    colours = getattr(source, "COLOURS", {})
    for mood, (shapes, background) in source.FACES.items():
        if len(sys.argv) == 4 and mood != sys.argv[3]:
            continue
        rows = face_canvas.render(shapes, background)
        write_face(rows, os.path.join(sys.argv[2], mood + ".bmp"), source.FORMAT, colours.get(mood, 256))


if __name__ == "__main__":
    main()
