#!/usr/bin/env python3
"""Reads trayvane-compose's PNG and TIFF inlays back with a decoder of their own (Python's zlib
and the file formats' rules, nothing of the program's): each holds exactly the PPM output's
pixels and prints 151.0 mm wide within 0.05 mm. Usage: LosslessReadBackTest.py TRAYVANE-COMPOSE"""

import os
import random
import struct
import subprocess
import sys
import tempfile
import zlib


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, width, height, rgb):
    rows = b"".join(b"\0" + rgb[y * width * 3:(y + 1) * width * 3] for y in range(height))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows)))
        f.write(chunk(b"IEND", b""))


def read_ppm(path):
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    if fields[0] != b"P6" or fields[3] != b"255":
        fail(path + " is no 8-bit binary PPM")
    return int(fields[1]), int(fields[2]), data[at + 1:]


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail(path + " has no PNG signature")
    at, idat, phys = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if zlib.crc32(data[at + 4:at + 8 + length]) & 0xFFFFFFFF != struct.unpack(
                ">I", data[at + 8 + length:at + 12 + length])[0]:
            fail("%s: bad CRC in %s" % (path, kind))
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if (depth, colour, interlace) != (8, 2, 0):
                fail("%s is not 8-bit RGB without interlacing" % path)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"pHYs":
            phys = struct.unpack(">IIB", body)
        at += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3
    out, previous = bytearray(), bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - 3] if x >= 3 else 0
            b = previous[x]
            c = previous[x - 3] if x >= 3 else 0
            line[x] = (line[x] + (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]) & 0xFF
        out += line
        previous = line
    return width, height, bytes(out), phys


def read_tiff(path):
    data = open(path, "rb").read()
    order = {b"II": "<", b"MM": ">"}.get(data[:2])
    if order is None or struct.unpack(order + "H", data[2:4])[0] != 42:
        fail(path + " has no TIFF header")
    ifd = struct.unpack(order + "I", data[4:8])[0]
    count = struct.unpack(order + "H", data[ifd:ifd + 2])[0]
    sizes = {1: 1, 2: 1, 3: 2, 4: 4, 5: 8}
    tags = {}
    for i in range(count):
        entry = data[ifd + 2 + 12 * i:ifd + 14 + 12 * i]
        tag, kind, n = struct.unpack(order + "HHI", entry[:8])
        size = sizes[kind] * n
        where = entry[8:12] if size <= 4 else data[struct.unpack(order + "I", entry[8:12])[0]:][:size]
        if kind == 3:
            values = struct.unpack(order + "%dH" % n, where[:2 * n])
        elif kind == 4:
            values = struct.unpack(order + "%dI" % n, where[:4 * n])
        elif kind == 5:
            values = struct.unpack(order + "%dI" % (2 * n), where[:8 * n])
        else:
            values = where[:n]
        tags[tag] = (kind, values)
    width, height = tags[256][1][0], tags[257][1][0]
    if tags[258][1] != (8, 8, 8) or tags[277][1][0] != 3 or tags[262][1][0] != 2:
        fail(path + " is not 8-bit RGB")
    if tags[259][1][0] != 8:
        fail(path + " is not Deflate-compressed (Compression %d)" % tags[259][1][0])
    predictor = tags.get(317, (3, (1,)))[1][0]
    pixels = b"".join(
        zlib.decompress(data[offset:offset + length])
        for offset, length in zip(tags[273][1], tags[279][1]))
    if predictor != 1:
        fail(path + " uses a predictor this reader does not know")
    return width, height, pixels, tags


def main():
    compose = sys.argv[1]
    with tempfile.TemporaryDirectory() as work:
        random.seed(5)
        width, height = 855, 360
        rgb = bytes(random.randrange(256) for _ in range(width * height * 3))
        source = os.path.join(work, "wrap.png")
        write_png(source, width, height, rgb)
        for options in ([], ["--spine", "15"], ["--layout", "tray-card"], ["--cut", "420:440"]):
            outputs = {}
            for extension in ("ppm", "png", "tif", "TIFF"):
                outputs[extension] = os.path.join(work, "inlay." + extension)
                run = subprocess.run([compose] + options + [source, outputs[extension]],
                                     capture_output=True, text=True)
                if run.returncode != 0:
                    fail("%s %s: exit %d: %s" % (options, extension, run.returncode, run.stderr))
            w, h, pixels = read_ppm(outputs["ppm"])
            pw, ph, ppixels, phys = read_png(outputs["png"])
            if (pw, ph) != (w, h) or ppixels != pixels:
                fail("%s: the PNG's pixels differ from the PPM's" % options)
            if phys is None or phys[2] != 1 or phys[0] != phys[1]:
                fail("%s: the PNG has no pHYs in pixels per metre: %s" % (options, phys))
            png_mm = w / phys[0] * 1000
            if abs(png_mm - 151.0) > 0.05:
                fail("%s: the PNG prints %.3f mm wide" % (options, png_mm))
            for extension in ("tif", "TIFF"):
                tw, th, tpixels, tags = read_tiff(outputs[extension])
                if (tw, th) != (w, h) or tpixels != pixels:
                    fail("%s: the TIFF's pixels differ from the PPM's" % options)
                if tags[296][1][0] != 2 or tags[282][0] != 5 or tags[283][0] != 5:
                    fail("%s: the TIFF's resolution is not rationals in inches" % options)
                x_numerator, x_denominator = tags[282][1]
                tiff_mm = w / (x_numerator / x_denominator) * 25.4
                if abs(tiff_mm - 151.0) > 0.05 or tags[282][1] != tags[283][1]:
                    fail("%s: the TIFF prints %.3f mm wide" % (options, tiff_mm))
            print("%s: %d x %d, PNG %.3f mm, TIFF %.3f mm wide, pixels as the PPM's" %
                  (options, w, h, png_mm, tiff_mm))


main()
