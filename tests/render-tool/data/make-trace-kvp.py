#!/usr/bin/env python3
# Writes trace.kvp, the hand-made trace file beside trace.kvf: three earlier
# states of the project, with parameter a at 1, 2 and 3 (the project itself
# holds a = 4). Each record holds object P, the point (a, a·sin a) drawn in
# blue-green with its trace on, and says that function 1 (a·sin x) was drawn in
# red. Run it again only to change the fixture.
import math
import struct

WHITE = 0xFFFFFF
FUNCTION_COUNT, RELATION_COUNT, POINT_COUNT, FIGURE_COUNT = 20, 9, 22, 30


def extended80(v):
    """The x87 80-bit form of v, little-endian."""
    if v == 0:
        return bytes(10)
    m, e = math.frexp(abs(v))  # v = m * 2^e, 0.5 <= m < 1
    significand = int(m * 2**64)
    exponent = e - 1 + 16383
    sign = 0x8000 if v < 0 else 0
    return struct.pack('<QH', significand, sign | exponent)


def point_state(x, y, colour):
    block = bytearray(100)
    block[0] = 1  # a point
    block[2:12] = extended80(x)
    block[12:22] = extended80(y)
    block[22:32] = extended80(0.0)
    struct.pack_into('<III', block, 32, colour, colour, WHITE)
    block[44] = 1  # PointAImg
    block[45] = 0  # RAImg
    block[46] = 3  # Width
    block[47] = 0  # LocusWidth
    block[48] = 1  # RWidth
    block[98] = 0  # PointStyle
    block[99] = 1  # LineStyle
    return bytes(block)


def record(a):
    out = struct.pack('<i', 1)  # one object state
    out += bytes([1, 0]) + point_state(a, a * math.sin(a), 0xC08000)
    out += struct.pack('<i', 1)  # one parameter value: a
    out += extended80(float(a)) + bytes([1, 0])
    functions = [0x0000FF] + [WHITE] * (FUNCTION_COUNT - 1)
    relations = [WHITE] * RELATION_COUNT
    points = [0xC08000] + [WHITE] * (POINT_COUNT - 1)
    points_r = [WHITE] * POINT_COUNT
    figures = [WHITE] * FIGURE_COUNT
    for c in functions + relations + points + points_r + figures:
        out += struct.pack('<I', c)
    return out


header = bytes([14]) + b'Kaviro/win 2.8'
header += bytes(21 - len(header))
with open('trace.kvp', 'wb') as f:
    f.write(header + b''.join(record(a) for a in (1, 2, 3)))
