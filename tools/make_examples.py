#!/usr/bin/env python3
"""Draws the example pictures and writes the example mesh into examples/.

    tools/make_examples.py            (re)writes examples/first.bmp,
                                      examples/second.bmp (also as second.png),
                                      examples/sample.mesh

The pictures are 160 x 120, drawn procedurally: a warm sky with a red sun on
the left and a hill (first), a cool evening sky with a pale moon a little higher
and a lake (second). The mesh is a 5 x 4 grid of nodes over the whole picture;
the node on the sun moves to the moon (its row making room), the horizon
nodes move with the skyline, and the border nodes stay, so the morph carries one picture into the
other without tearing the frame. The mesh names its pictures by bare name, so
vesk-batch finds them beside the mesh file wherever the folder is.

Only the Python standard library is used; the output is the same on every
run.
"""
import math
import os
import struct
import zlib

WIDTH, HEIGHT = 160, 120
HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLES = os.path.join(HERE, "..", "examples")


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, f):
    return tuple(clamp(x + (y - x) * f) for x, y in zip(a, b))


def draw_first():
    pixels = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            horizon = 78 + 10 * math.sin(x / 25.0)
            if y < horizon:
                c = mix((255, 200, 120), (250, 110, 60), y / horizon)
            else:
                c = mix((90, 140, 50), (40, 80, 20), (y - horizon) / (HEIGHT - horizon))
                if (x // 8 + y // 8) % 2 == 0:
                    c = mix(c, (120, 170, 60), 0.3)
            # the sun
            d = math.hypot(x - 45, y - 45)
            if d < 18:
                c = mix((230, 30, 20), (255, 90, 40), d / 18)
            elif d < 22:
                c = mix(c, (255, 230, 120), 0.6)
            row.append(c)
        pixels.append(row)
    return pixels


def draw_second():
    pixels = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            horizon = 62 + 6 * math.cos(x / 30.0)
            if y < horizon:
                c = mix((20, 30, 90), (80, 60, 150), y / horizon)
                if (x * 7 + y * 13) % 97 == 0:
                    c = (255, 255, 230)  # stars
            else:
                c = mix((30, 80, 140), (10, 30, 70), (y - horizon) / (HEIGHT - horizon))
                if (y - int(horizon)) % 6 == 0:
                    c = mix(c, (120, 160, 210), 0.4)  # ripples
            # the moon with a darker crater
            d = math.hypot(x - 60, y - 36)
            if d < 15:
                c = mix((250, 250, 215), (200, 200, 170), d / 15)
                if math.hypot(x - 55, y - 32) < 4:
                    c = (185, 185, 160)
            row.append(c)
        pixels.append(row)
    return pixels


def bmp_bytes(pixels):
    """24 bits per pixel, bottom-up rows padded to 4 bytes, BITMAPINFOHEADER."""
    stride = (WIDTH * 3 + 3) // 4 * 4
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        body += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(body), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return header + info + bytes(body)


def mesh_bytes():
    """The mesh file: nodes and triangles newest first, as the program saves."""
    cols = [0, 40, 80, 120, 159]
    rows = [0, 1, 2, 3]
    first = {}
    second = {}
    for i, x in enumerate(cols):
        first[(i, 0)] = second[(i, 0)] = (x, 0)
        first[(i, 3)] = second[(i, 3)] = (x, 119)
        # the skyline: horizon nodes follow each picture's horizon
        first[(i, 2)] = (x, int(78 + 10 * math.sin(x / 25.0)))
        second[(i, 2)] = (x, int(62 + 6 * math.cos(x / 30.0)))
    # the sun's row: the sun's node (45, 45) goes to the moon (60, 36), and
    # the nodes to its right make room without crossing
    for i, (x1, x2) in enumerate([(0, 0), (45, 60), (90, 98), (125, 128), (159, 159)]):
        first[(i, 1)] = (x1, 45)
        second[(i, 1)] = (x2, 36)

    nodes = []  # in creation order
    for j in range(len(rows)):
        for i in range(len(cols)):
            nodes.append((first[(i, j)], second[(i, j)]))

    def record(n):
        (x1, y1), (x2, y2) = nodes[n]
        return struct.pack("<iiii", x1, y1, x2, y2)

    triangles = []  # in creation order, corners A, B, C
    for j in range(len(rows) - 1):
        for i in range(len(cols) - 1):
            a = j * len(cols) + i
            triangles.append((a, a + 1, a + len(cols)))
            triangles.append((a + 1, a + len(cols) + 1, a + len(cols)))

    out = bytearray(b"\x06MESH11")
    out += struct.pack("<HH", len(nodes), len(triangles))
    for n in reversed(range(len(nodes))):
        out += record(n)
    out += record(len(nodes) - 2)  # previous node: the one made before the last
    out += record(len(nodes) - 1)  # selected node: the last one made
    for a, b, c in reversed(triangles):
        out += record(a) + record(b) + record(c)
    out += b"first.bmp*second.bmp*"
    return bytes(out)


def png_bytes(pixels):
    """8-bit RGB PNG, no filtering: the same picture for the PNG reader tests."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for r, g, b in row:
            raw += bytes((r, g, b))
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    os.makedirs(EXAMPLES, exist_ok=True)
    with open(os.path.join(EXAMPLES, "first.bmp"), "wb") as f:
        f.write(bmp_bytes(draw_first()))
    second = draw_second()
    with open(os.path.join(EXAMPLES, "second.bmp"), "wb") as f:
        f.write(bmp_bytes(second))
    with open(os.path.join(EXAMPLES, "second.png"), "wb") as f:
        f.write(png_bytes(second))
    with open(os.path.join(EXAMPLES, "sample.mesh"), "wb") as f:
        f.write(mesh_bytes())
    print("wrote examples/first.bmp, examples/second.bmp, examples/second.png, examples/sample.mesh")


if __name__ == "__main__":
    main()
