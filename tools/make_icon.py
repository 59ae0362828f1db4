#!/usr/bin/python3
"""Draws Dravik's icon and writes resources/Dravik.ico.

Five images, largest first: 256 x 256 as a PNG, then 48, 32, 24 and 16 as
32-bit bitmaps with their AND masks. The byte count of every image is fixed
(the icon group's entries state it), so the PNG is written here chunk by chunk
rather than by Pillow's encoder, whose output size we could not control.

Usage: make_icon.py [output.ico]
"""
import io
import struct
import sys
import zlib
from pathlib import Path

from PIL import Image, ImageDraw

PNG_SIZE = 256
PNG_BYTES = 32832
BITMAP_SIZES = (48, 32, 24, 16)
# 8-byte signature, IHDR (12 + 13), IDAT (12 + data), IEND (12).
PNG_OVERHEAD = 8 + 25 + 12 + 12


def draw(size):
    """The artwork: a rounded blue tile with a white arrow leaving a bar."""
    scale = 4  # drawn large and reduced, for smooth edges
    s = size * scale
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    margin = s // 16
    radius = s // 5
    # Vertical gradient, built from horizontal bands clipped by the tile mask.
    tile = Image.new("L", (s, s), 0)
    ImageDraw.Draw(tile).rounded_rectangle(
        (margin, margin, s - margin, s - margin), radius=radius, fill=255)
    grad = Image.new("RGBA", (s, s))
    gd = ImageDraw.Draw(grad)
    for y in range(s):
        t = y / (s - 1)
        gd.line((0, y, s, y), fill=(int(40 + 20 * t), int(120 - 60 * t), int(215 - 45 * t), 255))
    img.paste(grad, (0, 0), tile)
    # The bar the arrow leaves and the arrow itself.
    w = s // 10
    d.rounded_rectangle((s * 5 // 16, s * 5 // 16, s * 5 // 16 + w, s * 11 // 16),
                        radius=w // 3, fill=(255, 255, 255, 255))
    x0 = s * 8 // 16
    d.polygon([(x0, s * 5 // 16), (s * 12 // 16, s // 2), (x0, s * 11 // 16)],
              fill=(255, 255, 255, 255))
    return img.resize((size, size), Image.LANCZOS)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def stored_blocks(data):
    """Deflate stored blocks for data, the last one final."""
    out = bytearray()
    pieces = [data[i:i + 65535] for i in range(0, len(data), 65535)] or [b""]
    for i, piece in enumerate(pieces):
        final = 1 if i == len(pieces) - 1 else 0
        out += bytes([final]) + struct.pack("<HH", len(piece), len(piece) ^ 0xFFFF) + piece
    return bytes(out)


def zlib_stream(raw, split):
    """raw[:split] deflated, raw[split:] stored: one valid zlib stream."""
    c = zlib.compressobj(9, zlib.DEFLATED, 15, 9)
    head = c.compress(raw[:split]) + c.flush(zlib.Z_SYNC_FLUSH)
    return head + stored_blocks(raw[split:]) + struct.pack(">I", zlib.adler32(raw))


def fit_zlib_stream(raw, size):
    """A zlib stream of raw that is exactly size bytes long.

    Deflating everything gives the smallest stream; storing a longer tail
    uncompressed makes it grow almost byte by byte, so the split point that
    hits the size is searched for.
    """
    lo, hi = 0, len(raw)  # length at lo is large, at hi small
    if len(zlib_stream(raw, hi)) > size:
        raise SystemExit("make_icon: the artwork deflates to more than %d bytes" % size)
    while hi - lo > 1:
        mid = (lo + hi) // 2
        if len(zlib_stream(raw, mid)) >= size:
            lo = mid
        else:
            hi = mid
    for split in range(lo, max(lo - 4096, -1), -1):
        stream = zlib_stream(raw, split)
        if len(stream) == size:
            return stream
    raise SystemExit("make_icon: no split gives exactly %d bytes" % size)


def png(img, size_in_bytes):
    w, h = img.size
    pixels = img.tobytes()
    raw = b"".join(b"\x00" + pixels[y * w * 4:(y + 1) * w * 4] for y in range(h))
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)  # RGBA, 8 bits, no interlace
    idat = fit_zlib_stream(raw, size_in_bytes - PNG_OVERHEAD)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", idat) + chunk(b"IEND", b"")
    assert len(out) == size_in_bytes
    return out


def bitmap(img):
    """BITMAPINFOHEADER, BGRA pixels bottom-up, then the 1-bit AND mask."""
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, 0, 0, 0, 0, 0)
    px = img.load()
    xor = bytearray()
    mask = bytearray()
    stride = (w + 31) // 32 * 4
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
            if a == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(xor) + bytes(mask)


def icon_file():
    images = [(PNG_SIZE, png(draw(PNG_SIZE), PNG_BYTES))]
    images += [(n, bitmap(draw(n))) for n in BITMAP_SIZES]
    out = io.BytesIO()
    out.write(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size == 256 else size  # 0 stands for 256
        out.write(struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset))
        offset += len(data)
    for _, data in images:
        out.write(data)
    return out.getvalue()


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        Path(__file__).resolve().parent.parent / "resources" / "Dravik.ico"
    target.write_bytes(icon_file())


if __name__ == "__main__":
    main()
