#!/usr/bin/env python3
"""Checks a screenshot of velmora.exe's window: python3 check-window-picture.py PPM CLIENT.

PPM is the screen as a binary PPM (P6, 8 bits a channel); on success the
client area's position on the screen is written to the file CLIENT as
"LEFT TOP WIDTH HEIGHT". A failed check ends with an AssertionError.
"""
# The picture: nine horizontal and nine vertical grey grid lines dividing the
# plot into ten, the green trigger markers over the middle ones (position
# 1024 of 2048, level 0 V), and the traces of both channels in their colours
# (blue, red) around the middle horizontal line, which is 0 V.
import sys

data = open(sys.argv[1], "rb").read()
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
width, height = int(fields[1]), int(fields[2])
pixels = memoryview(data)[pos + 1:]

def colour(x, y):
    i = 3 * (y * width + x)
    return bytes(pixels[i:i + 3])

GREY, GREEN = b"\x80\x80\x80", b"\x00\xff\x00"
BLUE, RED = b"\x00\x00\xff", b"\xff\x00\x00"

def lines(count, length, at):
    # Positions whose grey run covers most of the screen, neighbours merged.
    hits = [i for i in range(count) if sum(at(i, j) == GREY for j in range(0, length, 4)) * 4 > 0.6 * length]
    merged = []
    for i in hits:
        if merged and i - merged[-1][-1] <= 2:
            merged[-1].append(i)
        else:
            merged.append([i])
    return [m[0] for m in merged]

def with_middle(found):
    # The middle grid line lies under a marker (and the traces): put it back
    # where the gap around it is twice a division.
    gaps = [b - a for a, b in zip(found, found[1:])]
    if len(found) == 8 and abs(gaps[3] - 2 * gaps[0]) <= 2:
        return found[:4] + [(found[3] + found[4]) // 2] + found[4:]
    return found

rows = with_middle(lines(height, width, lambda y, x: colour(x, y)))
columns = with_middle(lines(width, height, lambda x, y: colour(x, y)))
print("grid rows", rows, "grid columns", columns)
assert len(rows) == 9 and len(columns) == 9, "a 10 x 10 graticule"
for found in (rows, columns):
    gaps = [b - a for a, b in zip(found, found[1:])]
    assert max(gaps) - min(gaps) <= 2, "equal divisions"
zero, centre = rows[4], columns[4]
marker = sum(colour(x, y) == GREEN for y in range(height) for x in range(centre - 2, centre + 3))
print("green position marker near x = %d: %d pixels" % (centre, marker))
assert marker > height // 2, "the trigger position marker"
band = range(max(0, zero - 20), min(height, zero + 21))
blue = sum(colour(x, y) == BLUE for y in band for x in range(width))
red = sum(colour(x, y) == RED for y in band for x in range(width))
print("around 0 V at y = %d: %d blue and %d red pixels" % (zero, blue, red))
assert blue >= 300 and red >= 300, "both traces on the 0 V line"
# Where the client area lies on the screen, from the grid: line e of ten is
# at PlotLeft + PlotWidth * e / 10 (PlotLeft 10) and PlotHeight * e / 10.
plot_width = (columns[8] - columns[0]) * 10 // 8
plot_height = (rows[8] - rows[0]) * 10 // 8
left = columns[0] - 10 - plot_width // 10
top = rows[0] - plot_height // 10
open(sys.argv[2], "w").write("%d %d %d %d\n" % (left, top, plot_width + 10, plot_height + 12))
