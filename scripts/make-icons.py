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


# Every picture comes in the sizes that 100 % to 300 % display scales need; the
# program picks one by DPI (keep in step with kDrawnIconSizes).
SIZES = (16, 20, 24, 32, 40, 48)


def resample(px, size):
    """A square picture at another size: each new pixel is the area-weighted
    average of the old ones it covers (alpha-weighted, so edges stay clean)."""
    src = len(px)
    scale = src / size
    out = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            area = 0.0
            y0, y1 = y * scale, (y + 1) * scale
            x0, x1 = x * scale, (x + 1) * scale
            for sy in range(int(y0), min(src, int(y1 + 0.999))):
                wy = min(y1, sy + 1) - max(y0, sy)
                for sx in range(int(x0), min(src, int(x1 + 0.999))):
                    w = wy * (min(x1, sx + 1) - max(x0, sx))
                    if w <= 0:
                        continue
                    r, g, b, a = px[sy][sx]
                    acc[0] += r * a * w
                    acc[1] += g * a * w
                    acc[2] += b * a * w
                    acc[3] += a * w
                    area += w
            alpha = acc[3] / area if area else 0
            if acc[3]:
                out[y][x] = tuple(int(round(c / acc[3])) for c in acc[:3]) + (int(round(alpha)),)
    return out


def write_images(path, images, kind=1, hotspot=(1, 32)):
    """An .ico (kind 1) or .cur (kind 2) file of (size, top-down pixels) pairs."""
    head = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    blobs = b''
    for size, px in images:
        blob = dib(size, px[::-1])
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, hotspot[0], hotspot[1], len(blob), offset)
        offset += len(blob)
        blobs += blob
    Path(path).write_bytes(head + entries + blobs)


def write_sizes(path, px):
    """One picture drawn at its own size, resampled to every other size."""
    write_images(path, [(s, px if s == len(px) else resample(px, s)) for s in SIZES])


def write_ico(path, body):
    write_images(path, [(s, bubble_pixels(s, body)[::-1]) for s in SIZES])


if __name__ == '__main__':
    out = Path(sys.argv[1] if len(sys.argv) > 1 else 'src/win32/app/res')
    out.mkdir(parents=True, exist_ok=True)
    write_ico(out / 'Corvane.ico', (58, 130, 220, 255))
    write_ico(out / 'Folder.ico', (236, 180, 60, 255))
    write_ico(out / 'Reply.ico', (90, 170, 110, 255))


# --- toolbar glyphs, 24 x 24 -------------------------------------------------

def canvas(size=24):
    return [[(0, 0, 0, 0)] * size for _ in range(size)]


def fill_rect(px, x0, y0, x1, y1, c):
    for y in range(y0, y1):
        for x in range(x0, x1):
            if 0 <= y < len(px) and 0 <= x < len(px):
                px[y][x] = c


def outline_rect(px, x0, y0, x1, y1, c):
    fill_rect(px, x0, y0, x1, y0 + 1, c)
    fill_rect(px, x0, y1 - 1, x1, y1, c)
    fill_rect(px, x0, y0, x0 + 1, y1, c)
    fill_rect(px, x1 - 1, y0, x1, y1, c)


def thick_line(px, x0, y0, x1, y1, c, w=2):
    steps = max(abs(x1 - x0), abs(y1 - y0)) * 4 + 1
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i / steps
        y = y0 + (y1 - y0) * i / steps
        fill_rect(px, int(x - w / 2 + 0.5), int(y - w / 2 + 0.5), int(x - w / 2 + 0.5) + w, int(y - w / 2 + 0.5) + w, c)


def plus_badge(px, c=(40, 150, 60, 255)):
    fill_rect(px, 14, 13, 24, 24, (255, 255, 255, 255))
    fill_rect(px, 15, 17, 23, 20, c)
    fill_rect(px, 17, 15, 20, 22, c)


def folder(px):
    edge = (150, 105, 20, 255)
    fill_rect(px, 2, 5, 10, 8, (236, 180, 60, 255))
    fill_rect(px, 2, 7, 21, 19, (246, 200, 90, 255))
    outline_rect(px, 2, 7, 21, 19, edge)


def page(px, x0, y0, x1, y1):
    fill_rect(px, x0, y0, x1, y1, (255, 255, 255, 255))
    outline_rect(px, x0, y0, x1, y1, (90, 90, 110, 255))
    for y in range(y0 + 3, y1 - 2, 3):
        fill_rect(px, x0 + 2, y, x1 - 2, y + 1, (120, 140, 180, 255))


def glyph_add_folder():
    px = canvas(); folder(px); plus_badge(px); return px


def glyph_add_reply():
    px = canvas()
    body = bubble_pixels(24, (90, 170, 110, 255))[::-1]
    for y in range(24):
        for x in range(24):
            if body[y][x][3]:
                px[y][x] = body[y][x]
    plus_badge(px); return px


def glyph_delete():
    px = canvas(); red = (200, 40, 40, 255)
    thick_line(px, 5, 5, 18, 18, red, 3); thick_line(px, 18, 5, 5, 18, red, 3); return px


def glyph_save():
    px = canvas(); blue = (40, 80, 150, 255)
    fill_rect(px, 3, 3, 21, 21, blue)
    fill_rect(px, 6, 4, 18, 10, (255, 255, 255, 255))
    fill_rect(px, 7, 14, 17, 21, (200, 210, 230, 255))
    fill_rect(px, 14, 15, 16, 20, blue)
    return px


def glyph_copy_entire():
    px = canvas(); page(px, 2, 2, 14, 17); page(px, 9, 7, 21, 22); return px


def glyph_paste_last():
    px = canvas()
    outline_rect(px, 8, 6, 22, 21, (60, 60, 80, 255))
    fill_rect(px, 9, 7, 21, 10, (58, 130, 220, 255))
    fill_rect(px, 9, 10, 21, 20, (255, 255, 255, 255))
    green = (40, 150, 60, 255)
    thick_line(px, 1, 15, 13, 15, green, 3)
    thick_line(px, 13, 15, 9, 11, green, 2); thick_line(px, 13, 15, 9, 19, green, 2)
    return px


def write_glyph(path, px):
    write_sizes(path, px)


if __name__ == '__main__':
    for name, fn in (('AddFolder', glyph_add_folder), ('AddReply', glyph_add_reply), ('Delete', glyph_delete),
                     ('SaveAll', glyph_save), ('CopyEntire', glyph_copy_entire), ('PasteLast', glyph_paste_last)):
        write_glyph(out / f'{name}.ico', fn())


# --- the drop cursor: an arrow with a small reply bubble, hotspot at the tip --

def drop_cursor_pixels():
    size = 32
    px = canvas(size)
    black, white = (0, 0, 0, 255), (255, 255, 255, 255)
    # arrow: rows of the classic pointer shape
    for y in range(17):
        for x in range(y + 1):
            if x < 12:
                px[y][x] = black if x == 0 or x == y or y == 16 else white
    for y in range(17, 21):
        fill_rect(px, 5 + (y - 17), y, 7 + (y - 17), y + 1, black)
    bubble = bubble_pixels(16, (58, 130, 220, 255))[::-1]
    for y in range(16):
        for x in range(16):
            if bubble[y][x][3]:
                px[14 + y][14 + x] = bubble[y][x]
    return px


def write_cursor(path, px):
    # The system's cursor size grows with the scale: 32, 48 and 64 pixels.
    write_images(path, [(s, px if s == 32 else resample(px, s)) for s in (32, 48, 64)], kind=2, hotspot=(0, 0))


if __name__ == '__main__':
    write_cursor(out / 'ReplyDrop.cur', drop_cursor_pixels())


# --- the tree's pictures, 16 x 16: folders closed and open, a selected reply --

def tree_folder(open_flap):
    px = canvas(16)
    edge, tab, body = (150, 105, 20, 255), (236, 180, 60, 255), (246, 200, 90, 255)
    fill_rect(px, 1, 2, 7, 4, tab)
    fill_rect(px, 1, 4, 15, 14, body)
    outline_rect(px, 1, 4, 15, 14, edge)
    if open_flap:
        # the front leaf tilted open, lighter, over the back
        for y in range(7, 14):
            shift = (13 - y) // 2
            fill_rect(px, 3 + shift, y, 16 - (13 - y) // 3, y + 1, (255, 228, 150, 255))
        fill_rect(px, 3, 13, 15, 14, edge)
        thick_line(px, 6, 7, 15, 7, edge, 1)
    return px


def write_small(path, px):
    write_sizes(path, px)


if __name__ == '__main__':
    write_small(out / 'Folder.ico', tree_folder(False))
    write_small(out / 'FolderOpen.ico', tree_folder(True))
    write_ico(out / 'ReplySelected.ico', (40, 110, 200, 255))
