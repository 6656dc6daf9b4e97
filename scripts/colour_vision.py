#!/usr/bin/env python3
"""Colour-vision pictures for the README: a screenshot seen as with
protanopia, deuteranopia and tritanopia (the full-severity matrices of
Machado, Oliveira and Fernandes, 2009, applied to linear RGB) and in grey.

usage: scripts/colour_vision.py IN.ppm OUT_PREFIX
Reads a binary PPM (P6, 8 bits) and writes OUT_PREFIX-protanopia.ppm,
-deuteranopia.ppm, -tritanopia.ppm and -grey.ppm. Python 3 alone; the
README pictures are converted to and from PNG with ImageMagick.
"""
import sys

MATRICES = {
    "protanopia": ((0.152286, 1.052583, -0.204868),
                   (0.114503, 0.786281, 0.099216),
                   (-0.003882, -0.048116, 1.051998)),
    "deuteranopia": ((0.367322, 0.860646, -0.227968),
                     (0.280085, 0.672501, 0.047413),
                     (-0.011820, 0.042940, 0.968881)),
    "tritanopia": ((1.255528, -0.076749, -0.178779),
                   (-0.078411, 0.930809, 0.147602),
                   (0.004733, 0.691367, 0.303900)),
    "grey": ((0.2126, 0.7152, 0.0722),) * 3,
}


def to_linear(c):
    c /= 255.0
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def to_srgb(c):
    c = min(max(c, 0.0), 1.0)
    c = c * 12.92 if c <= 0.0031308 else 1.055 * c ** (1 / 2.4) - 0.055
    return int(round(c * 255))


def read_ppm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit("colour_vision: %s is not an 8-bit binary PPM" % path)
    w, h = int(fields[1]), int(fields[2])
    return w, h, data[pos + 1:pos + 1 + 3 * w * h]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    w, h, pixels = read_ppm(sys.argv[1])
    linear = [to_linear(float(v)) for v in range(256)]
    for name, m in MATRICES.items():
        out = bytearray(len(pixels))
        cache = {}
        for k in range(0, len(pixels), 3):
            key = pixels[k:k + 3]
            got = cache.get(key)
            if got is None:
                r, g, b = linear[key[0]], linear[key[1]], linear[key[2]]
                got = bytes(to_srgb(row[0] * r + row[1] * g + row[2] * b) for row in m)
                cache[key] = got
            out[k:k + 3] = got
        with open("%s-%s.ppm" % (sys.argv[2], name), "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (w, h))
            f.write(out)


if __name__ == "__main__":
    main()
