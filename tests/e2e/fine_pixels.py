"""fine_pixels.py IMAGE.ppm NAME [PART]: whether a picture was drawn at device resolution on a screen
of device pixel ratio 2. Enlarged from one pixel per pixel, every 2x2 block of device pixels
(counted from the image's top-left corner) would be one colour; drawn at device resolution, the
edges of letters and shapes fall inside the blocks. Of the blocks that differ from the picture's
background (its most common colour), at least the fraction PART (a fifth unless given) must
not be one colour."""
import collections
import sys

data = open(sys.argv[1], "rb").read()
name = sys.argv[2]
part = float(sys.argv[3]) if len(sys.argv) > 3 else 0.2
fields, pos = [], 0
while len(fields) < 4:  # P6, width, height, maximum
    while data[pos:pos + 1].isspace():
        pos += 1
    start = pos
    while not data[pos:pos + 1].isspace():
        pos += 1
    fields.append(data[start:pos])
width, height = int(fields[1]), int(fields[2])
pixels = data[pos + 1:]


def at(x, y):
    i = 3 * (y * width + x)
    return pixels[i:i + 3]


background = collections.Counter(at(x, y) for y in range(height)
                                 for x in range(width)).most_common(1)[0][0]
drawn = mixed = 0
for y in range(0, height - 1, 2):
    for x in range(0, width - 1, 2):
        block = {at(x, y), at(x + 1, y), at(x, y + 1), at(x + 1, y + 1)}
        if block == {background}:
            continue
        drawn += 1
        mixed += len(block) > 1
print(f"{name}: {drawn} drawn blocks, {mixed} of them not one colour")
sys.exit(0 if drawn >= 20 and mixed >= part * drawn else 1)
