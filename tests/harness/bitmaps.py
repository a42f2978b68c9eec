"""Small solid-colour pictures that the end-to-end tests tell apart by their screen pixels."""
import struct

SIZE = 48


def colour(n):
    # Far from each other and from the greys of the window.
    return ((37 + 61 * n) % 256, (200 + 97 * n) % 256, (90 + 151 * n) % 256)


def bitmap(rgb, size=SIZE):
    stride = (size * 3 + 3) // 4 * 4
    row = bytes((rgb[2], rgb[1], rgb[0])) * size + b"\0" * (stride - size * 3)
    pixels = row * size
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels
