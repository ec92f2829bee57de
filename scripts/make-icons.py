#!/usr/bin/env python3
"""Draws the program's icons (a speech bubble with lines of text) as .ico files.

Run once when the artwork changes; the .ico files are committed.
"""
import struct
import sys
from pathlib import Path


def bubble_pixels(size, body, tail_rows=True):
    """RGBA rows, bottom-up as a DIB wants them."""
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 32.0
    x0, y0, x1, y1 = 2 * s, 3 * s, 30 * s, 23 * s
    r = 5 * s
    edge = (24, 72, 140, 255)
    for y in range(size):
        for x in range(size):
            cx, cy = x + 0.5, y + 0.5
            inside = x0 <= cx <= x1 and y0 <= cy <= y1
            if inside:
                # rounded corners
                for (ax, ay) in ((x0 + r, y0 + r), (x1 - r, y0 + r), (x0 + r, y1 - r), (x1 - r, y1 - r)):
                    if (cx < x0 + r or cx > x1 - r) and (cy < y0 + r or cy > y1 - r):
                        if abs(cx - ax) <= r and abs(cy - ay) <= r and (cx - ax) ** 2 + (cy - ay) ** 2 > r * r:
                            inside = False
            # tail under the bubble, pointing down-left
            if tail_rows and y1 <= cy <= 30 * s and 7 * s <= cx <= 15 * s:
                if cx - 7 * s <= (30 * s - cy) * 0.9:
                    inside = True
            if inside:
                px[y][x] = body
    # outline: body pixels next to transparent ones
    out = [row[:] for row in px]
    for y in range(size):
        for x in range(size):
            if px[y][x][3] == 0:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < size and 0 <= ny < size) or px[ny][nx][3] == 0:
                    out[y][x] = edge
    # three lines of "text"
    ink = (255, 255, 255, 255)
    for i, (ly, lw) in enumerate(((8, 20), (12.5, 16), (17, 11))):
        yy = int(ly * s)
        for t in range(max(1, int(2 * s))):
            for x in range(int(7 * s), int((7 + lw) * s)):
                if 0 <= yy + t < size:
                    out[yy + t][x] = ink
    return out[::-1]


def dib(size, rows):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    data = b''.join(bytes((b, g, r, a)) for row in rows for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)
    return header + data + mask


def write_ico(path, body):
    images = [(s, dib(s, bubble_pixels(s, body))) for s in (16, 32, 48)]
    head = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    blobs = b''
    for s, blob in images:
        entries += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    Path(path).write_bytes(head + entries + blobs)


if __name__ == '__main__':
    out = Path(sys.argv[1] if len(sys.argv) > 1 else 'src/win32/app/res')
    out.mkdir(parents=True, exist_ok=True)
    write_ico(out / 'Corvane.ico', (58, 130, 220, 255))
    write_ico(out / 'Folder.ico', (236, 180, 60, 255))
    write_ico(out / 'Reply.ico', (90, 170, 110, 255))
