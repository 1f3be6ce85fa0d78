#!/usr/bin/env python3
"""Writes the shipped skin images into a folder: every bitmap the windows are
drawn from, at its exact size, and "icon.ico" at 16 and 32 pixels. A calm
light look of soft blue-greys that matches the shipped "colors.vr". Pure
arithmetic, so every run writes the same bytes.

    make-images.py FOLDER
"""
import struct
import sys
from pathlib import Path

# The palette; the window fill is also background.bmp's pixel (16, 16) and
# every image's surroundings, so images sit seamlessly on a window.
FILL = (236, 240, 245)
EDGE_DARK = (150, 165, 185)
EDGE_LIGHT = (252, 253, 255)
PANEL_LINE = (190, 201, 216)
FRAME_LINE = (160, 175, 195)
CARD_FACE = (250, 251, 253)
BUTTON_LINE = (128, 146, 172)
BUTTON_TOP, BUTTON_MID, BUTTON_BOTTOM = (252, 253, 255), (234, 239, 246), (214, 222, 233)
HOT_LINE = (60, 112, 180)
HOT_TOP, HOT_MID, HOT_BOTTOM = (244, 249, 255), (221, 235, 252), (198, 218, 244)
BOX_FACE = (255, 255, 255)
BOX_PRESSED = (208, 224, 245)
MARK = (0, 84, 166)
GLYPH_LINE = (130, 145, 165)
GLYPH_MARK = (40, 60, 90)
ICON_BLUE = (0, 96, 192)
ICON_DARK = (0, 60, 130)


def blank(size, colour=FILL):
    width, height = size
    return [[colour] * width for _ in range(height)]


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def inside_rounded(x, y, width, height, radius):
    """Whether pixel (x, y) lies inside a rectangle with corners rounded by `radius`."""
    cx = min(max(x, radius), width - 1 - radius)
    cy = min(max(y, radius), height - 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius + radius * 0.6


def rounded(size, radius, line, face, outside=FILL, shade=None):
    """A rounded box with a one-pixel outline; `shade(y)` colours the face by row."""
    width, height = size
    image = blank(size, outside)
    for y in range(height):
        for x in range(width):
            if not inside_rounded(x, y, width, height, radius):
                continue
            border = not all(inside_rounded(x + dx, y + dy, width, height, radius)
                             for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))
                             if 0 <= x + dx < width and 0 <= y + dy < height) \
                or x in (0, width - 1) or y in (0, height - 1)
            image[y][x] = line if border else (shade(y) if shade else face)
    return image


def background():
    # A quiet window: a dark outer line and a light inner one, the rest fill.
    image = blank((33, 33))
    for i in range(33):
        for a, b in ((0, i), (32, i), (i, 0), (i, 32)):
            image[b][a] = EDGE_DARK
        for a, b in ((1, i), (31, i), (i, 1), (i, 31)):
            if 0 < a < 32 and 0 < b < 32:
                image[b][a] = EDGE_LIGHT
    return image


def button(line, top, mid, bottom):
    def shade(y):
        if y <= 10:
            return mix(top, mid, y / 10)
        return mix(mid, bottom, (y - 10) / 10)
    image = rounded((21, 21), 4, line, mid, shade=shade)
    assert image[10][10] == mid  # the centre fill is the middle colour
    return image


def check_box(checked, pressed):
    image = rounded((15, 15), 2, BUTTON_LINE, BOX_PRESSED if pressed else BOX_FACE)
    if checked:
        # A tick: down from (3, 7) to (6, 10), then up to (11, 4), two pixels thick.
        points = [(3, 7), (4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5), (11, 4)]
        for x, y in points:
            image[y][x] = MARK
            image[y - 1][x] = MARK
    return image


def radio_button(checked, pressed):
    image = blank((15, 15))
    face = BOX_PRESSED if pressed else BOX_FACE
    for y in range(15):
        for x in range(15):
            d = ((x - 7) ** 2 + (y - 7) ** 2) ** 0.5
            if d <= 6.0:
                image[y][x] = face
            elif d <= 7.2:
                image[y][x] = BUTTON_LINE
            if checked and d <= 3.2:
                image[y][x] = MARK
    return image


def tree_glyph(plus):
    image = blank((9, 9), BOX_FACE)
    for i in range(9):
        for x, y in ((0, i), (8, i), (i, 0), (i, 8)):
            image[y][x] = GLYPH_LINE
    for i in range(2, 7):
        image[4][i] = GLYPH_MARK
        if plus:
            image[i][4] = GLYPH_MARK
    return image


def frame(line, face):
    return rounded((9, 9), 2, line, face)


IMAGES = {
    "background.bmp": background,
    "border.bmp": lambda: rounded((21, 21), 6, PANEL_LINE, FILL),
    "border2.bmp": lambda: frame(FRAME_LINE, FILL),
    "border3.bmp": lambda: frame(EDGE_DARK, CARD_FACE),
    "button.bmp": lambda: button(BUTTON_LINE, BUTTON_TOP, BUTTON_MID, BUTTON_BOTTOM),
    "button2.bmp": lambda: button(HOT_LINE, HOT_TOP, HOT_MID, HOT_BOTTOM),
    "check box.bmp": lambda: check_box(False, False),
    "check box2.bmp": lambda: check_box(True, False),
    "check box3.bmp": lambda: check_box(False, True),
    "check box4.bmp": lambda: check_box(True, True),
    "radio button.bmp": lambda: radio_button(False, False),
    "radio button2.bmp": lambda: radio_button(True, False),
    "radio button3.bmp": lambda: radio_button(False, True),
    "radio button4.bmp": lambda: radio_button(True, True),
    "expand.bmp": lambda: tree_glyph(True),
    "collapse.bmp": lambda: tree_glyph(False),
}

# The exact sizes the program expects of each file.
SIZES = {name: (33, 33) if name == "background.bmp" else
         (21, 21) if name in ("border.bmp", "button.bmp", "button2.bmp") else
         (9, 9) if name in ("border2.bmp", "border3.bmp", "expand.bmp", "collapse.bmp") else
         (15, 15) for name in IMAGES}


def bmp_bytes(image):
    """A 24-bit bottom-up Windows bitmap file."""
    height, width = len(image), len(image[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(image):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(header)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + bytes(pixels)


def icon_image(size):
    """The program's icon: a blue speech bubble with three light lines; (rgba rows)."""
    s = size / 32.0
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            # Bubble body: a rounded rectangle from (2, 4) to (30, 23); a tail down to (9, 29).
            cx, cy = min(max(fx, 8), 24), min(max(fy, 10), 17)
            body = (fx - cx) ** 2 + (fy - cy) ** 2 <= 36
            tail = 8 <= fx <= 16 and 22 <= fy <= 29 and (fx - 8) >= (fy - 22) * 0.4 and fx <= 16 - (fy - 22)
            if body or tail:
                edge = (fx - cx) ** 2 + (fy - cy) ** 2 >= 25 and body and not tail
                colour = ICON_DARK if edge else ICON_BLUE
                line = 7 <= fx <= 25 and any(abs(fy - ly) <= 1.0 for ly in (10, 14, 18)) and not edge
                if line and not (fy > 17 and fx > 19):
                    colour = (235, 243, 255)
                row.append(colour + (255,))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_entry(size):
    rows = icon_image(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def ico_bytes(sizes):
    entries = [icon_entry(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, entries):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(entries)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name, make in IMAGES.items():
        image = make()
        assert (len(image[0]), len(image)) == SIZES[name], name
        (folder / name).write_bytes(bmp_bytes(image))
    (folder / "icon.ico").write_bytes(ico_bytes((16, 32)))


if __name__ == "__main__":
    main()
