#!/usr/bin/env python3
"""Draws a program's icon: a little board of yellow PCs with one red (the status board) or
one selected in blue (the editor, with --editor), in 16 and 32 pixels, written as a Windows
.ico of 32-bit images. Deterministic, so builds stay the same."""
import struct
import sys

FRAME = (0x40, 0x40, 0x40, 0xFF)
FACE = (0xF0, 0xF0, 0xF0, 0xFF)
YELLOW = (0x00, 0xFF, 0xFF, 0xFF)  # BGRA
RED = (0x00, 0x00, 0xFF, 0xFF)
BLUE = (0xD7, 0x78, 0x00, 0xFF)


def image(size, editor):
    pixels = [[FRAME] * size for _ in range(size)]
    border = max(1, size // 16)
    for y in range(border, size - border):
        for x in range(border, size - border):
            pixels[y][x] = FACE
    cell = (size - 2 * border) // 3
    gap = max(1, cell // 6)
    for row in range(3):
        for col in range(3):
            marked = (row, col) == (1, 2)
            colour = RED if marked and not editor else YELLOW
            for y in range(border + row * cell + gap, border + (row + 1) * cell - gap):
                for x in range(border + col * cell + gap, border + (col + 1) * cell - gap):
                    pixels[y][x] = colour
            if marked and editor:
                # The selection's frame, just outside the PC.
                top, bottom = border + row * cell + gap - 1, border + (row + 1) * cell - gap
                left, right = border + col * cell + gap - 1, border + (col + 1) * cell - gap
                for x in range(left, right + 1):
                    pixels[top][x] = pixels[bottom][x] = BLUE
                for y in range(top, bottom + 1):
                    pixels[y][left] = pixels[y][right] = BLUE
    # Bottom-up rows, then an all-zero AND mask (alpha decides).
    data = b"".join(bytes(p) for row in reversed(pixels) for p in row)
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(data), 0, 0, 0, 0)
    return header + data + bytes(mask_row * size)


def main(path, editor=False):
    sizes = (16, 32)
    images = [image(s, editor) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[-1], "--editor" in sys.argv[1:-1])
