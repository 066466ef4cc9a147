#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpus: small BMP and PCX files of every layout the codecs read,
and a few damaged ones. Run from anywhere; the files go to corpus/<target>/ next to this script."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def bmp(width, height, bits, rows, palette=(), header_size=40, compression=0):
    """rows: the file's rows in file order, each a list of pixel values (or (b, g, r) for 24)."""
    core = header_size == 12
    entry = 3 if core else 4
    pal = b"".join(bytes(c[:entry]) for c in palette)
    data = b""
    for row in rows:
        if bits == 24:
            raw = b"".join(bytes(p) for p in row)
        elif bits == 8:
            raw = bytes(row)
        else:
            per_byte = 8 // bits
            raw = bytearray((len(row) + per_byte - 1) // per_byte)
            for x, v in enumerate(row):
                raw[x // per_byte] |= v << (8 - bits * (x % per_byte + 1))
            raw = bytes(raw)
        data += raw + b"\0" * (-len(raw) % 4)
    offset = 14 + header_size + len(pal)
    if core:
        info = struct.pack("<IHHHH", 12, width, height & 0xFFFF, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, compression, len(data), 0, 0, 0, 0)
        info += b"\0" * (header_size - len(info))
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + pal + data


def rle(row):
    out = bytearray()
    i = 0
    while i < len(row):
        n = 1
        while i + n < len(row) and row[i + n] == row[i] and n < 63:
            n += 1
        if n > 1 or row[i] >= 0xC0:
            out.append(0xC0 + n)
        out.append(row[i])
        i += n
    return bytes(out)


def pcx(width, height, planes, bits, plane_bytes, data, version=5, palette16=b"", palette256=None, xmin=0, ymin=0):
    header = struct.pack("<BBBBHHHHHH", 10, version, 1, bits, xmin, ymin, xmin + width - 1, ymin + height - 1, 72, 72)
    header += (palette16 + b"\0" * 48)[:48] + bytes([0, planes]) + struct.pack("<HH", plane_bytes, 1)
    header += b"\0" * (128 - len(header))
    tail = b"" if palette256 is None else b"\x0c" + palette256
    return header + data + tail


def write(target, name, content):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(content)


def main():
    grey = [(i, i, i, 0) for i in range(256)]
    bmps = {
        "bits1.bmp": bmp(9, 2, 1, [[1, 0] * 4 + [1], [0, 1] * 4 + [0]], [(0, 0, 0, 0), (255, 255, 255, 0)]),
        "bits4.bmp": bmp(5, 2, 4, [[0, 1, 2, 3, 15], [4, 5, 6, 7, 8]], grey[:16]),
        "bits8.bmp": bmp(6, 3, 8, [[0, 1, 2, 3, 4, 5], [10, 20, 30, 40, 50, 60], [255] * 6], grey),
        "bits24.bmp": bmp(3, 2, 24, [[(1, 2, 3), (4, 5, 6), (7, 8, 9)], [(255, 0, 0), (0, 255, 0), (0, 0, 255)]]),
        "core4.bmp": bmp(4, 2, 4, [[0, 1, 2, 3], [3, 2, 1, 0]], grey[:16], header_size=12),
        "topdown8.bmp": bmp(4, -2, 8, [[1, 2, 3, 4], [5, 6, 7, 8]], grey[:8]),
        "v5header24.bmp": bmp(2, 2, 24, [[(9, 9, 9), (8, 8, 8)], [(7, 7, 7), (6, 6, 6)]], header_size=124),
        "rle8.bmp": bmp(4, 1, 8, [[1, 2, 3, 4]], grey[:4], compression=1),
        "truncated8.bmp": bmp(8, 4, 8, [[7] * 8] * 4, grey[:8])[:-20],
    }
    for name, content in bmps.items():
        write("bmp_load", name, content)
        write("header_query", name, content)

    pal16 = bytes(v for i in range(16) for v in (i * 16, 255 - i * 16, i * 8))
    pal256 = bytes(v for i in range(256) for v in (i, 255 - i, i // 2))
    row8 = [3, 3, 3, 200, 7, 8]
    pcxs = {
        "colours256.pcx": pcx(6, 2, 1, 8, 6, rle(row8) + rle(row8[::-1]), palette256=pal256),
        "colours256_odd.pcx": pcx(5, 2, 1, 8, 6, rle([1, 2, 3, 4, 5, 0]) + rle([9, 9, 9, 9, 9, 0]), palette256=pal256),
        "colours2.pcx": pcx(10, 2, 1, 1, 2, rle([0b10101010, 0b11000000, 0b01010101, 0b00000000])),
        "colours16.pcx": pcx(8, 1, 4, 1, 1, bytes([0x0F, 0xF0, 0xAA, 0x55]), version=3, palette16=pal16),
        "rgb24.pcx": pcx(3, 2, 3, 8, 3, rle([255, 0, 0, 0, 255, 0, 0, 0, 255]) + rle([9, 9, 9, 8, 8, 8, 7, 7, 7])),
        # One run of 15 bytes covers the first row (10 bytes) and half of the second.
        "run_across_rows.pcx": pcx(10, 2, 1, 8, 10, bytes([0xCF, 0x21, 0xC5, 0x22]), palette256=pal256),
        "origin5.pcx": pcx(4, 2, 1, 8, 4, rle([1, 2, 3, 4]) * 2, xmin=5, ymin=1),
        "truncated.pcx": pcx(6, 4, 1, 8, 6, rle(row8)),
        "unmarked_palette.pcx": pcx(6, 1, 1, 8, 6, rle(row8), palette256=pal256)[:-769] + b"\x0b" + pal256,
    }
    for name, content in pcxs.items():
        write("pcx_load", name, content)
        write("header_query", name, content)


if __name__ == "__main__":
    main()
